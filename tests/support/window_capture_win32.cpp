#include "support/window_capture_win32.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#ifdef KRX_HAVE_ZLIB
#include <zlib.h>
#endif

namespace krx_test {

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBig32(out, uint32_t(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBig32(out, Crc32(body.data(), body.size()));
}

// Each row gets the PNG filter whose output bytes, read as signed, sum
// smallest (the usual heuristic); flat window areas then become runs of
// zeros that deflate squeezes well.
std::vector<uint8_t> FilterRows(int width, int height, const std::vector<uint8_t>& rgb) {
  const size_t stride = size_t(width) * 3;
  std::vector<uint8_t> out;
  out.reserve(size_t(height) * (stride + 1));
  std::vector<uint8_t> best(stride), trial(stride);
  const std::vector<uint8_t> zeros(stride, 0);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = rgb.data() + size_t(y) * stride;
    const uint8_t* up = y > 0 ? row - stride : zeros.data();
    uint64_t bestCost = UINT64_MAX;
    uint8_t bestType = 0;
    for (uint8_t type = 0; type <= 4; ++type) {
      uint64_t cost = 0;
      for (size_t i = 0; i < stride; ++i) {
        const int a = i >= 3 ? row[i - 3] : 0, b = up[i], c = i >= 3 ? up[i - 3] : 0;
        int predictor = 0;
        if (type == 1) predictor = a;
        if (type == 2) predictor = b;
        if (type == 3) predictor = (a + b) / 2;
        if (type == 4) {
          const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
          predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        }
        trial[i] = uint8_t(row[i] - predictor);
        cost += uint64_t(std::abs(int(int8_t(trial[i]))));
      }
      if (cost < bestCost) {
        bestCost = cost;
        bestType = type;
        best.swap(trial);
      }
    }
    out.push_back(bestType);
    out.insert(out.end(), best.begin(), best.end());
  }
  return out;
}

// The zlib stream of the filtered rows: compressed where zlib is linked in,
// else stored (uncompressed) blocks, which every PNG reader still takes.
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
#ifdef KRX_HAVE_ZLIB
  uLongf size = compressBound(uLong(data.size()));
  std::vector<uint8_t> z(size);
  if (compress2(z.data(), &size, data.data(), uLong(data.size()), Z_BEST_COMPRESSION) == Z_OK) {
    z.resize(size);
    return z;
  }
#endif
  std::vector<uint8_t> stored = {0x78, 0x01};
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  size_t pos = 0;
  do {
    size_t n = data.size() - pos < 65535 ? data.size() - pos : 65535;
    stored.push_back(pos + n == data.size() ? 1 : 0);
    stored.push_back(uint8_t(n));
    stored.push_back(uint8_t(n >> 8));
    stored.push_back(uint8_t(~n));
    stored.push_back(uint8_t(~n >> 8));
    stored.insert(stored.end(), data.begin() + long(pos), data.begin() + long(pos + n));
    pos += n;
  } while (pos < data.size());
  PutBig32(stored, (b << 16) | a);
  return stored;
}

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBig32(header, uint32_t(width));
  PutBig32(header, uint32_t(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", Deflate(FilterRows(width, height, rgb)));
  Chunk(png, "IEND", {});
  return png;
}

std::map<UINT_PTR, std::function<void()>>& PendingActions() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}

void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto& actions = PendingActions();
  auto it = actions.find(id);
  if (it == actions.end()) return;
  std::function<void()> action = std::move(it->second);
  actions.erase(it);
  action();
}

}  // namespace

COLORREF WindowPixel(HWND hwnd, int x, int y) {
  HDC dc = GetWindowDC(hwnd);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return c;
}

COLORREF ClientPixel(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return c;
}

bool SaveWindowPng(HWND hwnd, const std::string& path) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return false;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<uint8_t> bgr(size_t(stride) * size_t(height));
  int lines = GetDIBits(memory, bitmap, 0, UINT(height), bgr.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (lines != height) return false;
  std::vector<uint8_t> rgb;
  rgb.reserve(size_t(height) * size_t(width) * 3);
  for (int y = 0; y < height; ++y) {
    const uint8_t* line = bgr.data() + size_t(y) * size_t(stride);
    for (int x = 0; x < width; ++x) {
      rgb.push_back(line[x * 3 + 2]);
      rgb.push_back(line[x * 3 + 1]);
      rgb.push_back(line[x * 3]);
    }
  }
  std::vector<uint8_t> png = EncodePng(width, height, rgb);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return std::fclose(f) == 0 && ok;
}

void PumpMessages() {
  for (int round = 0; round < 5; ++round) {
    MSG msg;
    bool any = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      any = true;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (!any) Sleep(5);
  }
}

bool PumpUntil(const std::function<bool()>& done, int limitMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (int(GetTickCount() - start) > limitMs) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return true;
}

void RunInLoop(std::function<void()> action, UINT delayMs) {
  UINT_PTR id = SetTimer(nullptr, 0, delayMs, &RunPendingAction);
  if (id) PendingActions()[id] = std::move(action);
}

void ClickClient(HWND hwnd, int x, int y) {
  LPARAM at = MAKELPARAM(x, y);
  SendMessageA(hwnd, WM_MOUSEMOVE, 0, at);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
}

void PostKey(HWND hwnd, UINT virtualKey) {
  PostMessageA(hwnd, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(hwnd, WM_KEYUP, virtualKey, LPARAM(0xC0000001u));
}

}  // namespace krx_test
