// The manifest of each program a user starts, read back from the built file
// the way Windows reads it: RT_MANIFEST id 1 of the image, opened as data.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace {

std::string ManifestOf(const std::string& exe) {
  HMODULE image = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!image) return "";
  std::string text;
  if (HRSRC r = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    if (HGLOBAL g = LoadResource(image, r)) text.assign(static_cast<const char*>(LockResource(g)), SizeofResource(image, r));
  }
  FreeLibrary(image);
  return text;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(Manifest, EachProgramRunsAsInvokerOnVistaToTenUnscaledWithClassicControls) {
  const char* const programs[] = {KRX_EXE_PATH, KRX_TOOL_PATH};
  struct Entry {
    const char* what;
    const char* text;
  } const expected[] = {
      {"as invoker", "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"},
      {"Vista", "<supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>"},
      {"7", "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>"},
      {"8", "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>"},
      {"8.1", "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>"},
      {"10", "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"},
      {"not DPI aware", "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">false</dpiAware>"},
  };
  for (const char* program : programs) {
    SCOPED_TRACE(program);
    const std::string manifest = ManifestOf(krx_test::WinePath(program));
    ASSERT_NE(manifest.find("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"),
              std::string::npos)
        << manifest;
    for (const Entry& e : expected) EXPECT_EQ(Count(manifest, e.text), 1u) << e.what;
    EXPECT_EQ(Count(manifest, "supportedOS"), 5u);
    // Version 6 of the common controls would change every control's look.
    EXPECT_EQ(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_EQ(manifest.find("<dependency"), std::string::npos);
  }
}
