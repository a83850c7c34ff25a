#pragma once
// Small helpers shared by the tests of every layer.
#include <cstdint>
#include <string>
#include <vector>

namespace krx_test {

// Bytes written as hex pairs ("08 61 62"); spaces are ignored.
std::string Bytes(const std::string& hex);
std::string Hex(const std::string& bytes);

// A fresh empty folder for one test, removed at destruction. path() ends in
// the platform's separator.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Counts "parameter error" reports of the record cipher while it lives.
class ParameterErrorCounter {
 public:
  ParameterErrorCounter();
  ~ParameterErrorCounter();
  int count() const;
};

}  // namespace krx_test
