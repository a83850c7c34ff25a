#include "core/skin_geometry.h"

#include <algorithm>
#include <cstdint>

namespace krx {

namespace {

// The eight corner points that round off a face: dark line (and later
// border) pixels where the rounded rectangle would leave a step.
std::vector<Point> CornerPoints(const Rect& r) {
  const int L = r.left, T = r.top, R = r.right, B = r.bottom;
  return {{L, T + 2}, {L + 2, T}, {R - 3, T}, {R - 1, T + 2}, {R - 1, B - 3}, {R - 3, B - 1}, {L + 2, B - 1}, {L, B - 3}};
}

void AddCornerPixels(FaceLines& lines, const Rect& r, int cornerWidth) {
  if (cornerWidth <= 4) return;
  for (const Point& p : CornerPoints(r)) lines.pixels.push_back({FaceColour::kBorder, p});
}

}  // namespace

FaceLines NormalFaceLines(const Rect& r, int cornerWidth) {
  const int L = r.left, T = r.top, R = r.right, B = r.bottom;
  FaceLines lines;
  lines.strokes.push_back({FaceColour::kHighlight, {{L + 2, B - 4}, {L + 2, T + 2}, {R - 3, T + 2}}});
  lines.pixels.push_back({FaceColour::kHighlight, {L + 3, T + 3}});
  lines.strokes.push_back({FaceColour::kMid, {{L + 3, B - 3}, {R - 4, B - 3}, {R - 4, B - 4}, {R - 3, B - 4}, {R - 3, T + 2}}});
  lines.strokes.push_back({FaceColour::kShadow, {{L + 3, B - 2}, {R - 3, B - 2}, {R - 3, B - 3}, {R - 2, B - 3}, {R - 2, T + 2}}});
  if (cornerWidth > 4) {
    for (const Point& p : CornerPoints(r)) lines.pixels.push_back({FaceColour::kDarkLine, p});
    for (const Point& p : std::vector<Point>{{L + 1, T + 2}, {L + 2, T + 1}, {R - 3, T + 1}, {R - 2, T + 2}, {L + 2, B - 2}, {L + 1, B - 3}}) {
      lines.pixels.push_back({FaceColour::kMid, p});
    }
  }
  AddCornerPixels(lines, r, cornerWidth);
  return lines;
}

FaceLines PressedFaceLines(const Rect& r, int cornerWidth) {
  const int L = r.left, T = r.top, R = r.right, B = r.bottom;
  FaceLines lines;
  if (cornerWidth > 4) {
    lines.strokes.push_back({FaceColour::kDarkLine, {{L + 1, B - 4}, {L + 1, T + 2}, {L + 2, T + 2}, {L + 2, T + 1}, {R - 3, T + 1}}});
  }
  lines.strokes.push_back({FaceColour::kShadow, {{L + 2, B - 4}, {L + 2, T + 3}, {L + 3, T + 3}, {L + 3, T + 2}, {R - 3, T + 2}}});
  lines.strokes.push_back({FaceColour::kLight, {{L + 3, B - 2}, {R - 4, B - 2}, {R - 2, B - 4}, {R - 2, T + 2}}});
  lines.strokes.push_back({FaceColour::kFace, {{L + 3, B - 3}, {R - 4, B - 3}, {R - 4, B - 4}, {R - 3, B - 4}, {R - 3, T + 2}}});
  if (cornerWidth > 4) {
    lines.pixels.push_back({FaceColour::kFace, {R - 2, T + 2}});
    lines.pixels.push_back({FaceColour::kFace, {L + 2, B - 2}});
    lines.pixels.push_back({FaceColour::kShadow, {R - 3, T + 1}});
    lines.pixels.push_back({FaceColour::kShadow, {L + 1, B - 3}});
  }
  AddCornerPixels(lines, r, cornerWidth);
  return lines;
}

Point ButtonIconPosition(const Rect& r, int iconWidth, int iconHeight, bool iconAbove, bool flat) {
  int x = r.left + (flat ? 3 : 4);
  if (iconAbove) return {x + (r.right - iconWidth - x) / 2, r.top + 5};
  return {x, r.top + (r.bottom - iconHeight - r.top) / 2};
}

Rect ButtonTextRect(const Rect& r, bool hasIcon, bool iconAbove, int iconWidth) {
  Rect t = r;
  if (hasIcon && iconAbove) t.top = r.bottom - 22;
  if (hasIcon && !iconAbove) t.left = r.left + iconWidth + 8;
  t.left += 1;
  t.right -= 1;
  return t;
}

MessageBoxLayout LayoutMessageBox(int singleLineWidth, int wrappedHeight, int mode,
                                  const std::vector<int>& labelWidths, int maxTextWidth) {
  MessageBoxLayout out;
  const int w = std::min(singleLineWidth, maxTextWidth);
  const int h = wrappedHeight;
  out.text = {30, 55, 30 + w, 55 + h};
  out.width = w + 60;
  out.height = h + 120;
  if (out.width < kMessageMinWidth) {
    out.width = kMessageMinWidth;
    out.text.left = (kMessageMinWidth - w) / 2;
    out.text.right = out.text.left + w;
  }
  const int W = out.width, top = out.height - 40, bottom = top + kMessageButtonHeight;
  if (mode == kModeMessage) {
    const int x = (W - kMessageButtonWidth) / 2;
    out.buttons.push_back({x, top, x + kMessageButtonWidth, bottom});
  } else if (mode == kModeYesNo || mode == kModeRetryCancel) {
    const int x = (W - 176) / 2;
    out.buttons.push_back({x, top, x + kMessageButtonWidth, bottom});
    out.buttons.push_back({x + 108, top, x + 108 + kMessageButtonWidth, bottom});
  } else {
    const size_t count = std::min<size_t>(labelWidths.size(), 4);
    out.buttons.resize(count);
    int cursor = W - 20;
    for (size_t i = count; i-- > 0;) {
      const int width = std::max(labelWidths[i] + 10, kMessageButtonWidth);
      out.buttons[i] = {cursor - width, top, cursor, bottom};
      cursor = cursor - width - 10;
    }
  }
  return out;
}

bool ProgressAccepts(int pos, int min, int max) { return pos >= min && pos <= max; }

int ProgressFillWidth(int pos, int min, int max, int width) {
  if (max <= min) return 0;
  // Exact integer form of trunc(pos / (max - min) x width).
  return int(int64_t(pos) * width / (int64_t(max) - min));
}

Rect ProgressFillRect(const Rect& client, int pos, int min, int max) {
  const int barWidth = ProgressFillWidth(pos, min, max, client.Width());
  Rect inner = {client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
  int right = std::min(inner.left + barWidth, inner.right) - 1;
  if (right <= inner.left) right = inner.left;
  return {inner.left, inner.top, right, inner.bottom};
}

Rect ProgressParentInvalidRect(const Rect& barInParent, int pos, int min, int max) {
  Rect r = {barInParent.left + 1, barInParent.top + 1, barInParent.right - 1, barInParent.bottom - 1};
  r.right = r.left + ProgressFillWidth(pos, min, max, r.Width());
  return r;
}

PictureFit FitPicture(int cx, int cy, const Rect& client) {
  if (cx <= 0 || cy <= 0) return {client.left, client.top, 0, 0};
  Rect c = client;
  if (c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0) {
    c.right = cx;
    c.bottom = cy;
  }
  int L = c.left, T = c.top, R = c.right, B = c.bottom;
  // Proportions in exact integers: a wide picture in a frame of its own
  // width must keep its own height, not lose a pixel to rounding.
  if (cx < cy) {
    const int w = int(int64_t(cx) * (B - T) / cy);
    L = L + (R - w - L) / 2;
    R = L + w;
  } else if (cx > cy) {
    const int h = int(int64_t(cy) * (R - L) / cx);
    T = T + (B - T - h) / 2;
    B = T + h;
  }
  if (cx < R - L) {
    L = L + (R - L - cx) / 2;
    R = L + cx;
  }
  if (cy < B - T) {
    T = T + (B - T - cy) / 2;
    B = T + cy;
  }
  L = std::max(L, c.left);
  T = std::max(T, c.top);
  return {L, T, std::min(c.right, R) - L, std::min(c.bottom, B) - T};
}

bool InCaptionDragArea(int x, int y) { return x >= 0 && x < 1600 && y >= 0 && y < 24; }

Rect TooltipPlace(const Rect& button, int width, int height, const Rect& screen) {
  constexpr int kGap = 2;
  int left = std::min(button.left, screen.right - width);
  left = std::max(left, screen.left);
  int top = button.top - kGap - height;
  if (top < screen.top) top = button.bottom + kGap;
  return {left, top, left + width, top + height};
}

}  // namespace krx
