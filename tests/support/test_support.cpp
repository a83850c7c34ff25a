#include "support/test_support.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "core/record_cipher.h"

namespace fs = std::filesystem;

namespace krx_test {

std::string Bytes(const std::string& hex) {
  std::string out;
  int high = -1;
  for (char c : hex) {
    int v;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else continue;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(char(high * 16 + v));
      high = -1;
    }
  }
  return out;
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i) out.push_back(' ');
    out.push_back(digits[uint8_t(bytes[i]) >> 4]);
    out.push_back(digits[uint8_t(bytes[i]) & 15]);
  }
  return out;
}

TempFolder::TempFolder() {
  std::random_device rd;
  fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path p = base / ("krx-test-" + std::to_string(rd()));
    if (fs::create_directory(p)) {
      path_ = p.string();
      path_.push_back(char(fs::path::preferred_separator));
      return;
    }
  }
  throw std::runtime_error("no temporary folder");
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(fs::path(path_), ec);
}

std::string WinePath(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& c : p) c = c == '/' ? '\\' : c;
  return p;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

namespace {
std::atomic<int> g_parameterErrors{0};
void CountParameterError() { ++g_parameterErrors; }
}  // namespace

ParameterErrorCounter::ParameterErrorCounter() {
  g_parameterErrors = 0;
  krx::SetParameterErrorReporter(&CountParameterError);
}
ParameterErrorCounter::~ParameterErrorCounter() { krx::SetParameterErrorReporter(nullptr); }
int ParameterErrorCounter::count() const { return g_parameterErrors; }

}  // namespace krx_test
