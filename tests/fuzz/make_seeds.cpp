// Writes the fuzz targets' seed inputs under a folder, one sub-folder per
// target: make_seeds OUT_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fuzz/seed_corpus.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds OUT_DIR\n");
    return 1;
  }
  namespace fs = std::filesystem;
  for (const krx_fuzz::Seed& seed : krx_fuzz::AllSeeds()) {
    fs::path dir = fs::path(argv[1]) / seed.target;
    fs::create_directories(dir);
    std::ofstream out(dir / seed.name, std::ios::binary | std::ios::trunc);
    out.write(seed.bytes.data(), std::streamsize(seed.bytes.size()));
    if (!out) {
      std::fprintf(stderr, "make_seeds: cannot write %s\n", (dir / seed.name).string().c_str());
      return 1;
    }
  }
  return 0;
}
