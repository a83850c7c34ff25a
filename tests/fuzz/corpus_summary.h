#pragma once
// What the record-file reader made of one input, written down so that the
// native build and the Windows build can be held to the same result. Narrow
// strings are compared byte for byte (through a digest); wide strings are
// kept as their UTF-16 units, which each build passes through its own
// conversion to the system code page.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "core/archive.h"

namespace krx_fuzz {

struct ReadSummary {
  std::string source;        // "seed:<name>" or "corpus:<name>"
  size_t inputSize = 0;
  std::string inputDigest;   // MD5 of the input, hex
  std::string status;        // the read that ignores the stamp: "loaded" or "damaged"
  std::string emptyPasswordLoad;  // the load for the empty password: "loaded", "mismatch", "damaged"
  bool stampWide = false;
  std::string stamp;         // hex of the stamp's bytes, or of its UTF-16 units when wide
  size_t recordCount = 0;
  std::string narrowDigest;  // MD5 over the narrow records, each with its length
  std::vector<std::pair<size_t, std::u16string>> wideRecords;  // index and units
};

// Reads bytes natively and notes which strings were wide.
ReadSummary Summarize(const std::string& source, const std::string& bytes);

std::string FormatSummaries(const std::vector<ReadSummary>& summaries);
// False (with the line) when text is not in FormatSummaries' layout.
bool ParseSummaries(const std::string& text, std::vector<ReadSummary>& out, std::string& error);

// Reads the file at path with convert, as the program loads record files,
// and lists every way the result differs from expected (empty: the same).
// bytes are the file's contents, to tell a changed input from a changed reader.
std::vector<std::string> CompareRead(const ReadSummary& expected, const std::string& path, const std::string& bytes,
                                     krx::WideConverter convert);

std::string Md5Hex(const std::string& bytes);

}  // namespace krx_fuzz
