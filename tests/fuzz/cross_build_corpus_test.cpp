// Every record file of the fuzz corpus, read through this build's reader as
// the program loads record files (the file layer and, for wide strings, the
// platform's conversion to the system code page), gives what the native
// reader gave: the same records whole, the same damage, narrow strings byte
// for byte, wide strings as this platform converts their units.
#include <filesystem>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "fuzz/corpus_summary.h"
#include "fuzz/seed_corpus.h"
#include "records/file_io.h"
#include "support/test_support.h"

namespace {

std::string FuzzFolder() {
#ifdef _WIN32
  return krx_test::WinePath(KRX_FUZZ_DIR) + "\\";
#else
  return std::string(KRX_FUZZ_DIR) + "/";
#endif
}

std::string KeptFolder() {
#ifdef _WIN32
  return FuzzFolder() + "corpus\\record_file\\";
#else
  return FuzzFolder() + "corpus/record_file/";
#endif
}

const char kRefresh[] =
    "if the seeds or the kept findings changed on purpose, refresh the expected results natively: "
    "cmake --build <native build> --target refresh_cross_build_expected";

TEST(CrossBuildCorpus, EveryRecordFileReadsAsNatively) {
  std::vector<krx_fuzz::ReadSummary> expected;
  std::string error;
  ASSERT_TRUE(krx_fuzz::ParseSummaries(krx_test::ReadFileBytes(FuzzFolder() + "cross_build_expected.txt"), expected,
                                       error))
      << error;
  std::map<std::string, std::string> seeds;
  for (const krx_fuzz::Seed& seed : krx_fuzz::RecordFileSeeds()) seeds["seed:" + seed.name] = seed.bytes;
  std::set<std::string> kept;
  for (const auto& e : std::filesystem::directory_iterator(KeptFolder())) {
    if (e.is_regular_file()) kept.insert("corpus:" + e.path().filename().string());
  }

  krx_test::TempFolder folder;
  std::set<std::string> listed;
  for (const krx_fuzz::ReadSummary& want : expected) {
    SCOPED_TRACE(want.source);
    listed.insert(want.source);
    std::string path, bytes;
    if (seeds.count(want.source)) {
      path = folder / "seed.log";
      bytes = seeds[want.source];
      krx_test::WriteFileBytes(path, bytes);
    } else if (kept.count(want.source)) {
      path = KeptFolder() + want.source.substr(want.source.find(':') + 1);
      bytes = krx_test::ReadFileBytes(path);
    } else {
      ADD_FAILURE() << "no such seed or kept file; " << kRefresh;
      continue;
    }
    for (const std::string& diff : krx_fuzz::CompareRead(want, path, bytes, &krx::SystemWideToMultiByte)) {
      ADD_FAILURE() << diff;
    }
  }
  for (const auto& seed : seeds) EXPECT_TRUE(listed.count(seed.first)) << seed.first << " not summarized; " << kRefresh;
  for (const auto& name : kept) EXPECT_TRUE(listed.count(name)) << name << " not summarized; " << kRefresh;
}

}  // namespace
