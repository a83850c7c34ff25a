// Geometry of the skinned controls: message-box sizes, progress fills,
// picture fitting and the push button's face lines.
#include <gtest/gtest.h>

#include "core/skin_geometry.h"

namespace {

using krx::FaceColour;
using krx::Rect;

TEST(MessageBoxLayout, ShortTextGetsMinimumWidthAndIsCentred) {
  auto m = krx::LayoutMessageBox(31, 14, krx::kModeMessage);
  EXPECT_EQ(m.width, 220);
  EXPECT_EQ(m.height, 134);
  EXPECT_EQ(m.text, (Rect{94, 55, 125, 69}));
  ASSERT_EQ(m.buttons.size(), 1u);
  EXPECT_EQ(m.buttons[0], (Rect{76, 94, 144, 117}));
}

TEST(MessageBoxLayout, LongTextWrapsAtTheMaximumWidth) {
  auto m = krx::LayoutMessageBox(1300, 42, krx::kModeYesNo);
  EXPECT_EQ(m.width, 500);
  EXPECT_EQ(m.height, 162);
  EXPECT_EQ(m.text, (Rect{30, 55, 470, 97}));
  ASSERT_EQ(m.buttons.size(), 2u);
  EXPECT_EQ(m.buttons[0], (Rect{162, 122, 230, 145}));
  EXPECT_EQ(m.buttons[1], (Rect{270, 122, 338, 145}));
  // Just under the limit the box follows the text.
  EXPECT_EQ(krx::LayoutMessageBox(300, 14, krx::kModeMessage).width, 360);
}

TEST(MessageBoxLayout, CustomLabelsRightToLeftAndAtMostFour) {
  auto m = krx::LayoutMessageBox(400, 14, krx::kModeCustom, {20, 100, 58, 30, 999});
  ASSERT_EQ(m.buttons.size(), 4u);
  // W = 460; from the right: 68 (30+10 < 68), 68, 110, 68.
  EXPECT_EQ(m.buttons[3], (Rect{372, 94, 440, 117}));
  EXPECT_EQ(m.buttons[2], (Rect{294, 94, 362, 117}));
  EXPECT_EQ(m.buttons[1], (Rect{174, 94, 284, 117}));
  EXPECT_EQ(m.buttons[0], (Rect{96, 94, 164, 117}));
}

TEST(Progress, FillWidthAndRefusedPositions) {
  EXPECT_EQ(krx::ProgressFillWidth(50, 0, 100, 240), 120);
  EXPECT_EQ(krx::ProgressFillWidth(57, 0, 100, 100), 57);  // exact, no floating-point loss
  EXPECT_EQ(krx::ProgressFillWidth(1, 0, 3, 240), 80);
  // Not offset by the minimum.
  EXPECT_EQ(krx::ProgressFillWidth(10, 5, 15, 100), 100);
  // A wait window with nothing to do has an empty range: no division by zero.
  EXPECT_EQ(krx::ProgressFillWidth(0, 0, 0, 240), 0);
  EXPECT_TRUE(krx::ProgressAccepts(0, 0, 0));
  EXPECT_FALSE(krx::ProgressAccepts(-1, 0, 10));
  EXPECT_FALSE(krx::ProgressAccepts(11, 0, 10));
}

TEST(Progress, FillRectStaysInsideTheEdge) {
  const Rect client = {0, 0, 240, 15};
  EXPECT_EQ(krx::ProgressFillRect(client, 50, 0, 100), (Rect{1, 1, 120, 14}));
  EXPECT_EQ(krx::ProgressFillRect(client, 100, 0, 100), (Rect{1, 1, 238, 14}));
  Rect none = krx::ProgressFillRect(client, 0, 0, 100);
  EXPECT_LE(none.right, none.left);
  EXPECT_EQ(krx::ProgressParentInvalidRect({30, 85, 270, 100}, 50, 0, 100), (Rect{31, 86, 150, 99}));
}

TEST(FitPicture, CaptionFillsItsOwnFrameExactly) {
  auto f = krx::FitPicture(1024, 25, {0, 0, 1024, 25});
  EXPECT_EQ(f.x, 0);
  EXPECT_EQ(f.y, 0);
  EXPECT_EQ(f.width, 1024);
  EXPECT_EQ(f.height, 25);
}

TEST(FitPicture, ScaledDownKeepingProportionsNeverEnlarged) {
  // Wide picture, narrow frame: shrunk to the width, centred vertically.
  auto f = krx::FitPicture(200, 100, {0, 0, 100, 100});
  EXPECT_EQ(f.x, 0);
  EXPECT_EQ(f.y, 25);
  EXPECT_EQ(f.width, 100);
  EXPECT_EQ(f.height, 50);
  // Tall picture: shrunk to the height, centred horizontally.
  f = krx::FitPicture(50, 200, {10, 10, 110, 110});
  EXPECT_EQ(f.x, 47);
  EXPECT_EQ(f.y, 10);
  EXPECT_EQ(f.width, 25);
  EXPECT_EQ(f.height, 100);
  // Small picture in a big frame: own size, centred.
  f = krx::FitPicture(20, 10, {0, 0, 100, 100});
  EXPECT_EQ(f.x, 40);
  EXPECT_EQ(f.y, 45);
  EXPECT_EQ(f.width, 20);
  EXPECT_EQ(f.height, 10);
  // An all-zero frame means the picture's own size.
  f = krx::FitPicture(30, 40, {0, 0, 0, 0});
  EXPECT_EQ(f.width, 30);
  EXPECT_EQ(f.height, 40);
  EXPECT_EQ(krx::FitPicture(0, 25, {0, 0, 10, 10}).width, 0);
}

TEST(ButtonFace, CornerPixelsOnlyAboveCornerWidthFour) {
  const Rect r = {0, 0, 80, 23};
  auto rounded = krx::NormalFaceLines(r, 6);
  auto square = krx::NormalFaceLines(r, 4);
  EXPECT_EQ(square.pixels.size(), 1u);  // the highlight dot only
  EXPECT_EQ(rounded.pixels.size(), 1u + 8u + 6u + 8u);
  EXPECT_EQ(rounded.pixels.back().colour, FaceColour::kBorder);
  EXPECT_EQ(rounded.pixels.back().at, (krx::Point{0, 20}));
  auto pressed = krx::PressedFaceLines(r, 0);
  EXPECT_TRUE(pressed.pixels.empty());
  ASSERT_EQ(pressed.strokes.size(), 3u);  // no dark line with square corners
  EXPECT_EQ(pressed.strokes[0].colour, FaceColour::kShadow);
  EXPECT_EQ(krx::PressedFaceLines(r, 6).strokes.size(), 4u);
  // Highlight runs up the left and along the top.
  EXPECT_EQ(rounded.strokes[0].points, (std::vector<krx::Point>{{2, 19}, {2, 2}, {77, 2}}));
}

TEST(ButtonFace, IconAndTextPlaces) {
  const Rect r = {0, 0, 100, 40};
  EXPECT_EQ(krx::ButtonIconPosition(r, 16, 16, false, false), (krx::Point{4, 12}));
  EXPECT_EQ(krx::ButtonIconPosition(r, 16, 16, false, true), (krx::Point{3, 12}));
  EXPECT_EQ(krx::ButtonIconPosition(r, 32, 32, true, false), (krx::Point{36, 5}));
  EXPECT_EQ(krx::ButtonTextRect(r, false, false, 0), (Rect{1, 0, 99, 40}));
  EXPECT_EQ(krx::ButtonTextRect(r, true, false, 16), (Rect{25, 0, 99, 40}));
  EXPECT_EQ(krx::ButtonTextRect(r, true, true, 32), (Rect{1, 18, 99, 40}));
}

TEST(Caption, DragAreaExcludesItsEdges) {
  EXPECT_TRUE(krx::InCaptionDragArea(0, 0));
  EXPECT_TRUE(krx::InCaptionDragArea(1599, 23));
  EXPECT_FALSE(krx::InCaptionDragArea(10, 24));
  EXPECT_FALSE(krx::InCaptionDragArea(1600, 5));
  EXPECT_FALSE(krx::InCaptionDragArea(-1, 5));
}

}  // namespace

// A button's tooltip goes above it, its left edge at the button's and kept
// on the screen; below the button only where the screen has no room above.
TEST(Tooltip, AboveItsButtonUnlessTheScreenEndsThere) {
  const krx::Rect screen{0, 0, 1280, 1024};
  const struct {
    krx::Rect button;
    int width, height;
    krx::Rect tip;
  } cases[] = {
      {{100, 200, 170, 220}, 60, 18, {100, 180, 160, 198}},
      {{1250, 200, 1275, 220}, 60, 18, {1220, 180, 1280, 198}},  // kept on the screen's right
      {{-10, 200, 20, 220}, 60, 18, {0, 180, 60, 198}},          // and its left
      {{100, 19, 170, 39}, 60, 18, {100, 41, 160, 59}},          // no room above: below
      {{100, 20, 170, 40}, 60, 18, {100, 0, 160, 18}},           // just room
  };
  for (const auto& c : cases) EXPECT_EQ(krx::TooltipPlace(c.button, c.width, c.height, screen), c.tip) << c.button.left;
}
