#pragma once
// The arithmetic of the skinned controls: which lines and pixels make a push
// button's face, where its icon and text go, how big a message box is for
// its text, how wide a progress bar's fill is, and where a picture goes in
// its frame. The Windows side only draws what these return.
#include <string>
#include <vector>

namespace krx {

struct Point {
  int x, y;
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

struct Rect {
  int left, top, right, bottom;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// ---- Push button faces ----

// A button narrower than this is drawn with square corners, for good.
constexpr int kSquareCornerBelowWidth = 30;
constexpr int kDefaultCorner = 6;

// The colours of a button face; the caller maps them to theme columns
// (highlight 0, face 1, light 2, shadow 3, border and dark line 4, mid =
// MidColour(face, shadow)).
enum class FaceColour { kHighlight, kFace, kLight, kShadow, kBorder, kDarkLine, kMid };

// A polyline: move to the first point, lines to the others (end points not
// painted, as with LineTo).
struct FaceStroke {
  FaceColour colour;
  std::vector<Point> points;
};
struct FacePixel {
  FaceColour colour;
  Point at;
};
// Drawn in order: strokes first, then pixels.
struct FaceLines {
  std::vector<FaceStroke> strokes;
  std::vector<FacePixel> pixels;
};

// The bevel lines of a normal (raised) and a pressed face inside the rounded
// rectangle r, including the corner pixels (only when cornerWidth > 4).
FaceLines NormalFaceLines(const Rect& r, int cornerWidth);
FaceLines PressedFaceLines(const Rect& r, int cornerWidth);

// Where a button's tooltip of width x height goes on the screen: above the
// button, with a gap of 2, its left edge at the button's and kept on the
// screen; below the button where the screen has no room above. Below the
// cursor, where the system puts it, a tip covers the controls under the
// button (a toolbar, the first line of a list).
Rect TooltipPlace(const Rect& button, int width, int height, const Rect& screen);

// Top-left corner of a button's icon. Flat buttons start 1 pixel further left.
Point ButtonIconPosition(const Rect& r, int iconWidth, int iconHeight, bool iconAbove, bool flat);

// The rectangle the caption text is drawn in (already narrowed by 1 pixel
// on each side).
Rect ButtonTextRect(const Rect& r, bool hasIcon, bool iconAbove, int iconWidth);

// ---- Message box ----

enum MessageMode { kModeMessage = 0, kModeYesNo = 1, kModeRetryCancel = 2, kModeCustom = 3 };

constexpr int kMessageMaxTextWidth = 440;
constexpr int kMessageMinWidth = 220;
constexpr int kMessageButtonWidth = 68;
constexpr int kMessageButtonHeight = 23;

struct MessageBoxLayout {
  int width = 0, height = 0;
  Rect text = {0, 0, 0, 0};
  // One rectangle per shown button, button 1 first.
  std::vector<Rect> buttons;
};

// singleLineWidth: the text's extent on one line; wrappedHeight: its height
// when word-wrapped at maxTextWidth. labelWidths: extents of the custom
// labels (mode 3 only; the first four count).
MessageBoxLayout LayoutMessageBox(int singleLineWidth, int wrappedHeight, int mode,
                                  const std::vector<int>& labelWidths = {},
                                  int maxTextWidth = kMessageMaxTextWidth);

// ---- Progress bar ----

// Whether a position may be set (min <= pos <= max).
bool ProgressAccepts(int pos, int min, int max);

// Fill width for a bar `width` pixels wide: pos / (max - min) x width,
// truncated; the position is not offset by the minimum. An empty or
// inverted range fills nothing.
int ProgressFillWidth(int pos, int min, int max, int width);

// The filled rectangle inside the bar's client rectangle (inside its 1-pixel
// edge); empty (right <= left) when nothing is to be filled.
Rect ProgressFillRect(const Rect& client, int pos, int min, int max);

// The part of the parent to repaint when the position changes, from the
// bar's rectangle in the parent's client coordinates.
Rect ProgressParentInvalidRect(const Rect& barInParent, int pos, int min, int max);

// ---- Pictures ----

struct PictureFit {
  int x, y, width, height;
};

// Where a picture of cx x cy pixels is drawn in a control's client
// rectangle: scaled down to fit keeping its proportions, never enlarged,
// centred. A client rectangle of all zeros means "the picture's own size".
// A picture with no area draws nothing (width and height 0).
PictureFit FitPicture(int cx, int cy, const Rect& client);

// ---- Skinned dialog caption ----

constexpr int kCaptionHeight = 25;
constexpr int kCaptionWidth = 1024;

// Whether a point in client coordinates starts or continues a drag of the
// window: the caption area (0,0)-(1600,24), right and bottom edges excluded.
bool InCaptionDragArea(int x, int y);

}  // namespace krx
