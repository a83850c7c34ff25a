#pragma once
// An output stream buffer over a ByteSink, so that a stream writer (an
// export) can go straight into a file being written: it hands the sink a
// block at a time, and a sink that fails makes the stream fail (badbit), so
// the writer's caller sees it.
#include <streambuf>
#include <vector>

#include "core/archive.h"

namespace krx {

class SinkStreamBuffer : public std::streambuf {
 public:
  explicit SinkStreamBuffer(ByteSink& sink, size_t bufferSize = 1 << 16) : sink_(sink), buffer_(bufferSize) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
  }
  SinkStreamBuffer(const SinkStreamBuffer&) = delete;
  SinkStreamBuffer& operator=(const SinkStreamBuffer&) = delete;

 protected:
  int_type overflow(int_type c) override {
    if (!Drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }
  int sync() override { return Drain() ? 0 : -1; }

 private:
  bool Drain() {
    const size_t n = size_t(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (failed_ || (n > 0 && !sink_.Write(buffer_.data(), n))) failed_ = true;
    return !failed_;
  }

  ByteSink& sink_;
  std::vector<char> buffer_;
  bool failed_ = false;
};

}  // namespace krx
