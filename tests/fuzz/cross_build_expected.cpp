// Writes what the native reader makes of every record file of the fuzz
// corpus (the generated seeds and the kept findings), for the cross-build
// corpus test: cross_build_expected CORPUS_DIR OUT_FILE
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/corpus_summary.h"
#include "fuzz/seed_corpus.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: cross_build_expected CORPUS_DIR OUT_FILE\n");
    return 1;
  }
  namespace fs = std::filesystem;
  std::vector<krx_fuzz::ReadSummary> summaries;
  for (const krx_fuzz::Seed& seed : krx_fuzz::RecordFileSeeds()) {
    summaries.push_back(krx_fuzz::Summarize("seed:" + seed.name, seed.bytes));
  }
  std::vector<fs::path> kept;
  for (const fs::directory_entry& e : fs::directory_iterator(fs::path(argv[1]) / "record_file")) {
    if (e.is_regular_file()) kept.push_back(e.path());
  }
  std::sort(kept.begin(), kept.end());
  for (const fs::path& p : kept) {
    std::ifstream in(p, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    summaries.push_back(krx_fuzz::Summarize("corpus:" + p.filename().string(), bytes));
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << krx_fuzz::FormatSummaries(summaries);
  return out ? 0 : 1;
}
