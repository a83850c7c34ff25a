// The resources of res/kestrelix.rc as the program finds them: every icon at
// 16 and 32 pixels, the seven caption JPEGs, the empty dialog template.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

const int kIconIds[] = {IDI_PROGRAM,  IDI_ICON_130, IDI_MINIMIZE, IDI_ICON_132, IDI_ICON_133, IDI_HIDE,     IDI_ICON_136,
                        IDI_ICON_139, IDI_CLOSE,    IDI_ICON_143, IDI_ICON_144, IDI_ICON_177, IDI_ICON_178, IDI_ICON_180,
                        IDI_ICON_186, IDI_ICON_189, IDI_ICON_190, IDI_ICON_200, IDI_ICON_217, IDI_ICON_218};

struct Blob {
  const uint8_t* data = nullptr;
  DWORD size = 0;
};

Blob Resource(int id, LPCSTR type) {
  Blob b;
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC r = FindResourceA(self, MAKEINTRESOURCEA(id), type);
  if (!r) return b;
  HGLOBAL g = LoadResource(self, r);
  if (!g) return b;
  b.data = static_cast<const uint8_t*>(LockResource(g));
  b.size = SizeofResource(self, r);
  return b;
}

// The size of the colour bitmap of an icon handle.
SIZE IconSize(HICON icon) {
  SIZE s = {0, 0};
  ICONINFO info;
  if (!GetIconInfo(icon, &info)) return s;
  BITMAP bm;
  if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bm, &bm)) {
    s.cx = bm.bmWidth;
    s.cy = bm.bmHeight;
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return s;
}

#pragma pack(push, 2)
struct GroupIconDir {
  WORD reserved, type, count;
};
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(Resources, EveryIconLoadsAt16And32) {
  for (int id : kIconIds) {
    for (int px : {16, 32}) {
      HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, px, px, 0));
      ASSERT_NE(icon, nullptr) << "icon " << id << " at " << px;
      SIZE s = IconSize(icon);
      EXPECT_EQ(s.cx, px) << "icon " << id;
      EXPECT_EQ(s.cy, px) << "icon " << id;
      DestroyIcon(icon);
    }
  }
}

TEST(Resources, EveryIconHolds16And32PixelImagesOfItsOwn) {
  // Not scaled from another size: the group lists both, 32-bit.
  for (int id : kIconIds) {
    Blob b = Resource(id, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_NE(b.data, nullptr) << "icon group " << id;
    ASSERT_GE(b.size, sizeof(GroupIconDir));
    const GroupIconDir* dir = reinterpret_cast<const GroupIconDir*>(b.data);
    ASSERT_EQ(dir->type, 1);
    ASSERT_GE(b.size, sizeof(GroupIconDir) + dir->count * sizeof(GroupIconEntry));
    const GroupIconEntry* e = reinterpret_cast<const GroupIconEntry*>(b.data + sizeof(GroupIconDir));
    bool has16 = false, has32 = false;
    for (int i = 0; i < dir->count; ++i) {
      if (e[i].width == 16 && e[i].height == 16 && e[i].bitCount == 32) has16 = true;
      if (e[i].width == 32 && e[i].height == 32 && e[i].bitCount == 32) has32 = true;
    }
    EXPECT_TRUE(has16) << "icon " << id;
    EXPECT_TRUE(has32) << "icon " << id;
  }
}

TEST(Resources, ProgramIconFitsTheWindowAndTray) {
  HICON big = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM));
  EXPECT_NE(big, nullptr);
  HICON close = static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CLOSE), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  EXPECT_NE(close, nullptr);
  if (close) DestroyIcon(close);
}

// Finds the first start-of-frame marker of a JPEG; returns its marker byte
// (0xC0 baseline, 0xC2 progressive, ...) and fills in its size.
int FirstFrame(const Blob& b, int* width, int* height, bool* hasProgressive) {
  int found = 0;
  *hasProgressive = false;
  DWORD i = 2;
  while (i + 4 <= b.size) {
    if (b.data[i] != 0xFF) return -1;
    uint8_t m = b.data[i + 1];
    if (m == 0xD9 || m == 0xDA) break;  // end of image, start of scan
    DWORD len = (b.data[i + 2] << 8) | b.data[i + 3];
    bool sof = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
    if (sof) {
      if (m == 0xC2) *hasProgressive = true;
      if (!found && i + 9 <= b.size) {
        found = m;
        *height = (b.data[i + 5] << 8) | b.data[i + 6];
        *width = (b.data[i + 7] << 8) | b.data[i + 8];
      }
    }
    i += 2 + len;
  }
  return found;
}

TEST(Resources, SevenBaselineCaptionJpegsOf1024x25) {
  for (int theme = 1; theme <= 7; ++theme) {
    SCOPED_TRACE("theme " + std::to_string(theme));
    Blob b = Resource(IDR_CAPTION_BASE + theme, "IMAGE");
    ASSERT_NE(b.data, nullptr);
    ASSERT_GT(b.size, 100u);
    EXPECT_EQ(b.data[0], 0xFF);
    EXPECT_EQ(b.data[1], 0xD8);
    int w = 0, h = 0;
    bool progressive = true;
    EXPECT_EQ(FirstFrame(b, &w, &h, &progressive), 0xC0);
    EXPECT_FALSE(progressive);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 25);
    EXPECT_EQ(b.data[b.size - 2], 0xFF);
    EXPECT_EQ(b.data[b.size - 1], 0xD9);
  }
  EXPECT_EQ(Resource(IDR_CAPTION_BASE, "IMAGE").data, nullptr);
  EXPECT_EQ(Resource(IDR_CAPTION_BASE + 8, "IMAGE").data, nullptr);
}

// Reads a sz_Or_Ord field of a dialog template; returns the text (empty for
// 0x0000 or an ordinal) and moves p past it.
std::wstring SzOrOrd(const WORD*& p) {
  std::wstring s;
  if (*p == 0xFFFF) {
    p += 2;
    return s;
  }
  while (*p) s += static_cast<wchar_t>(*p++);
  ++p;
  return s;
}

TEST(Resources, EmptySkinDialogTemplate) {
  Blob b = Resource(IDD_SKIN_EMPTY, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
  ASSERT_NE(b.data, nullptr);
  ASSERT_GE(b.size, sizeof(DLGTEMPLATE));
  const DLGTEMPLATE* t = reinterpret_cast<const DLGTEMPLATE*>(b.data);
  ASSERT_NE(HIWORD(t->style), 0xFFFF) << "a DIALOGEX template; expected DIALOG";
  EXPECT_EQ(t->style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME));
  EXPECT_EQ(t->dwExtendedStyle, 0u);
  EXPECT_EQ(t->cdit, 0);
  EXPECT_EQ(t->x, 0);
  EXPECT_EQ(t->y, 0);
  EXPECT_EQ(t->cx, 187);
  EXPECT_EQ(t->cy, 99);
  const WORD* p = reinterpret_cast<const WORD*>(b.data + 18);
  EXPECT_EQ(SzOrOrd(p), L"");  // menu
  EXPECT_EQ(SzOrOrd(p), L"");  // class
  EXPECT_EQ(SzOrOrd(p), L"");  // title
  EXPECT_EQ(*p++, 9);          // point size
  EXPECT_EQ(SzOrOrd(p), L"Tahoma");
  EXPECT_LE(reinterpret_cast<const uint8_t*>(p), b.data + b.size);
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(Resources, EmptySkinDialogOpens) {
  HWND dlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SKIN_EMPTY), nullptr, NoDialogProc, 0);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(GetWindowLongA(dlg, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(GetWindow(dlg, GW_CHILD), nullptr);
  DestroyWindow(dlg);
}

TEST(Resources, VersionIs130) {
  Blob b = Resource(VS_VERSION_INFO, MAKEINTRESOURCEA(16) /* RT_VERSION */);
  ASSERT_NE(b.data, nullptr);
  // The fixed part follows the key "VS_VERSION_INFO" and its padding.
  const uint8_t* end = b.data + b.size;
  const VS_FIXEDFILEINFO* fixed = nullptr;
  for (const uint8_t* q = b.data; q + sizeof(VS_FIXEDFILEINFO) <= end; q += 4) {
    if (reinterpret_cast<const VS_FIXEDFILEINFO*>(q)->dwSignature == 0xFEEF04BD) {
      fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(q);
      break;
    }
  }
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(30, 1));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(30, 1));
}

}  // namespace
