// The add-on stand-in as the manager meets it: a library whose undecorated
// registration entry points record their calls, and day files that the
// merge reads into all four logs with dates and addresses where the
// manager looks for them.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "core/record_text.h"
#include "records/day_files.h"
#include "records/file_io.h"
#include "support/test_support.h"

using krx_test::ReadFileBytes;
using krx_test::TempFolder;

namespace {

int RunProcess(const std::string& commandLine) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = DWORD(-1);
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return int(code);
}

using EntryPoint = HRESULT(WINAPI*)();

TEST(AddonStub, RegistrationEntryPointsRecordTheirCallsBesideTheLibrary) {
  TempFolder program;
  const std::string dll = program / "Kestrelix.dll";
  ASSERT_TRUE(CopyFileA(krx_test::WinePath(KRX_ADDON_DLL).c_str(), dll.c_str(), FALSE));
  for (const char* name : {"DllRegisterServer", "DllUnregisterServer", "DllRegisterServer"}) {
    HMODULE module = LoadLibraryA(dll.c_str());
    ASSERT_NE(module, nullptr);
    auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(entry(), S_OK);
    FreeLibrary(module);
  }
  EXPECT_EQ(ReadFileBytes(program / "addon-calls.txt"),
            "DllRegisterServer\r\nDllUnregisterServer\r\nDllRegisterServer\r\n");
}

TEST(AddonStub, DayWriterFeedsEveryLogWithDatesAndAddresses) {
  TempFolder program;
  const std::string tmp = program / "tmp\\";
  // No backslash before the closing quote: it would escape the quote.
  const std::string command = "\"" + krx_test::WinePath(KRX_DAYWRITER_EXE) + "\" \"" + program / "tmp" + "\"";
  ASSERT_EQ(RunProcess(command), 0);
  ASSERT_EQ(krx::FindFilesWithExtension(tmp, "*.ins", ".ins").size(), 1u);

  krx::RecordCollections c;
  krx::DayFileMerger merger(c);
  krx::NoProgress quiet;
  krx::DayFileMergeResult r = merger.MergeAll(tmp, quiet);
  EXPECT_EQ(r.filesRead, 12);
  EXPECT_EQ(r.range, 12);
  const std::regex date("[01][0-9]/[0-3][0-9]/20[0-9][0-9]");
  for (int log = krx::kVisitRecords; log <= krx::kFlashRecords; ++log) {
    const krx::StringArray& records = c.lists[log];
    ASSERT_FALSE(records.empty()) << krx::kRecordFileNames[log];
    for (const std::string& record : records) {
      EXPECT_TRUE(std::regex_match(krx::DateKey(record), date)) << record;
      EXPECT_EQ(record.find('\r'), std::string::npos) << record;
      if (log == krx::kFlashRecords) {
        std::string file = record.substr(record.find(" - ") + 3);
        EXPECT_EQ(file.substr(file.size() - 4), ".swf") << record;
      } else {
        EXPECT_TRUE(krx::RecordAddress(record).rfind("http://", 0) == 0 ||
                    krx::RecordAddress(record).rfind("mms://", 0) == 0)
            << record;
      }
    }
  }
  // The add-on appends; a second run repeats the day's lines and the merge skips them.
  size_t visits = c[krx::kVisitRecords].size();
  ASSERT_EQ(RunProcess(command), 0);
  r = merger.MergeAll(tmp, quiet);
  EXPECT_EQ(r.recordsAdded, 0u);
  EXPECT_EQ(c[krx::kVisitRecords].size(), visits);
}

}  // namespace
