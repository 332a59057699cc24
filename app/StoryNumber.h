#pragma once
// Every story is told from one number, the seed of its generator: the window shows it, and the
// same number (with the same settings and material) tells the same story again.
#include <cstdint>
#include <optional>
#include <string_view>

#include "story/Random.h"
#include "story/Text.h"

namespace quorbel {

class NumberedRandom final : public Random {
 public:
  explicit NumberedRandom(std::uint64_t number = 0) : number_(number), rng_(number) {}
  double Rnd() override { return rng_.Rnd(); }
  // A story starts: from the number asked for, if any, else from fresh.
  void Reseed(std::uint64_t fresh);
  // The next Reseed starts story number.
  void Ask(std::uint64_t number) { asked_ = number; }
  std::uint64_t number() const { return number_; }

 private:
  std::uint64_t number_;
  std::optional<std::uint64_t> asked_;
  SeededRandom rng_;
};

// A seven-digit number for a story nobody asked for, from the system clock's ticks.
std::uint64_t FreshStoryNumber(std::uint64_t clockTicks);
// "Рассказ № 1234567".
Text StoryNumberCaption(std::uint64_t number);
// A story number typed by the reader: digits only, blanks around allowed, up to 2^64 - 1.
std::optional<std::uint64_t> ParseStoryNumber(std::string_view text);

}  // namespace quorbel
