#pragma once
// What every benchmark program here shares: a steady clock, and the size
// scale a quick look sets with KRX_BENCH_SCALE=0.01.
#include <chrono>
#include <cstdlib>

namespace krx_bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

inline double Scale() {
  const char* env = std::getenv("KRX_BENCH_SCALE");
  return env ? std::strtod(env, nullptr) : 1.0;
}

}  // namespace krx_bench
