#pragma once
#include <chrono>
#include <cmath>
#include <cstdint>
#include <random>

namespace quorbel {

using Long = std::int32_t;

// The one source of chance of a story. Passed to every stage that draws; never global,
// so tests can script the exact sequence of draws.
class Random {
 public:
  virtual ~Random() = default;
  // Uniform in [0, 1).
  virtual double Rnd() = 0;
};

// Production generator. The raw output of mt19937_64 is fixed by the C++ standard, while
// std::uniform_real_distribution and friends differ between library implementations; mapping
// the top 53 bits ourselves makes one seed tell the same story on every machine.
class SeededRandom final : public Random {
 public:
  explicit SeededRandom(std::uint64_t seed) : gen_(seed) {}
  double Rnd() override { return static_cast<double>(gen_() >> 11) * 0x1.0p-53; }

 private:
  std::mt19937_64 gen_;
};

// A seed for a story nobody asked for by number: the clock, as fine as it ticks.
inline std::uint64_t ClockSeed() {
  return static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

// Int: the floor, also for negative arguments.
inline Long Int(double x) { return static_cast<Long>(std::floor(x)); }

// CLng: to the nearest whole number, halves to the even one.
inline Long CLng(double x) {
  double f = std::floor(x);
  double diff = x - f;
  if (diff > 0.5) return static_cast<Long>(f + 1);
  if (diff < 0.5) return static_cast<Long>(f);
  return static_cast<Long>(std::fmod(f, 2.0) == 0.0 ? f : f + 1);
}

}  // namespace quorbel
