// The screenshot writer: what it saves decodes to exactly the pixels the
// window showed, through every row filter, and is compressed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "demo_dialog.h"
#include "support/window_capture_win32.h"

#ifdef KRX_HAVE_ZLIB
#include <zlib.h>

namespace {

uint32_t Big32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// Decodes an 8-bit RGB PNG (the only kind the writer makes) to RGB rows.
bool DecodePng(const std::vector<uint8_t>& png, int& width, int& height, std::vector<uint8_t>& rgb, int& filters) {
  std::vector<uint8_t> z;
  size_t pos = 8;
  while (pos + 12 <= png.size()) {
    const uint32_t size = Big32(&png[pos]);
    const std::string type(png.begin() + long(pos + 4), png.begin() + long(pos + 8));
    const uint8_t* data = &png[pos + 8];
    if (type == "IHDR") {
      width = int(Big32(data));
      height = int(Big32(data + 4));
    }
    if (type == "IDAT") z.insert(z.end(), data, data + size);
    pos += 12 + size;
  }
  const size_t stride = size_t(width) * 3;
  std::vector<uint8_t> raw(size_t(height) * (stride + 1));
  uLongf rawSize = uLongf(raw.size());
  if (uncompress(raw.data(), &rawSize, z.data(), uLong(z.size())) != Z_OK || rawSize != raw.size()) return false;
  rgb.assign(size_t(height) * stride, 0);
  filters = 0;
  for (int y = 0; y < height; ++y) {
    const uint8_t type = raw[size_t(y) * (stride + 1)];
    filters |= 1 << type;
    const uint8_t* in = &raw[size_t(y) * (stride + 1) + 1];
    uint8_t* row = &rgb[size_t(y) * stride];
    const uint8_t* up = y > 0 ? row - stride : nullptr;
    for (size_t i = 0; i < stride; ++i) {
      const int a = i >= 3 ? row[i - 3] : 0, b = up ? up[i] : 0, c = up && i >= 3 ? up[i - 3] : 0;
      int predictor = type == 1 ? a : type == 2 ? b : type == 3 ? (a + b) / 2 : 0;
      if (type == 4) {
        const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      row[i] = uint8_t(in[i] + predictor);
    }
  }
  return true;
}

TEST(PngWriter, SavesTheWindowsPixelsCompressed) {
  krx_test::DemoDialog dlg;
  dlg.SetThemeIndex(3);
  ASSERT_TRUE(dlg.Create(129, nullptr));
  krx_test::PumpMessages();
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "krx_png_writer_test.png";
  ASSERT_TRUE(krx_test::SaveWindowPng(dlg, path));

  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::vector<uint8_t> png;
  for (int c; (c = std::fgetc(f)) != EOF;) png.push_back(uint8_t(c));
  std::fclose(f);
  DeleteFileA(path.c_str());
  int width = 0, height = 0, filters = 0;
  std::vector<uint8_t> rgb;
  ASSERT_TRUE(DecodePng(png, width, height, rgb, filters));
  RECT r = dlg.GetWindowRect();
  ASSERT_EQ(width, r.right - r.left);
  ASSERT_EQ(height, r.bottom - r.top);
  EXPECT_LT(png.size() * 4, rgb.size());  // a plain dialog squeezes far below its raw size
  EXPECT_GT(__builtin_popcount(unsigned(filters)), 1);  // more than one row filter was chosen

  int wrong = 0;
  for (int y = 0; y < height; y += 3) {
    for (int x = 0; x < width; x += 2) {
      const COLORREF shown = krx_test::WindowPixel(dlg, x, y);
      const uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
      if (RGB(p[0], p[1], p[2]) != shown) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
#endif
