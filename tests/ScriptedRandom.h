#pragma once
// The tests' generator: a scripted sequence of draws, so a test can fix every draw and check
// that the code under test draws exactly as many times as it must, in the right order. Past the
// script it either counts each extra draw as a fault (reported to Google Test when that is
// included first) or, made with a seed, goes on with a seeded sequence, so a window test can
// script the few draws that matter and still tell the same story each run.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

#include "story/Random.h"

namespace quorbel::testing {

class ScriptedRandom final : public Random {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<double> values) : values_(values) {}
  explicit ScriptedRandom(std::uint64_t thenSeed) : rest_(SeededRandom(thenSeed)) {}

  void Add(std::initializer_list<double> values) { values_.insert(values_.end(), values); }
  void Add(double v) { values_.push_back(v); }
  // Four draws that make Int(Rnd * 10) give the digits of code, e.g. "3071".
  void AddCode(const char* code) {
    for (int i = 0; i < 4; ++i) values_.push_back((code[i] - '0' + 0.5) / 10.0);
  }

  double Rnd() override {
    if (next_ < values_.size()) return values_[next_++];
    if (rest_) return rest_->Rnd();
#ifdef ADD_FAILURE
    ADD_FAILURE() << "more draws than scripted (" << values_.size() << ")";
#endif
    ++extra_;
    return 0.0;
  }
  std::size_t used() const { return next_; }
  std::size_t left() const { return values_.size() - next_; }
  bool AllUsed() const { return next_ == values_.size() && extra_ == 0; }

 private:
  std::vector<double> values_;
  std::size_t next_ = 0;
  std::size_t extra_ = 0;
  std::optional<SeededRandom> rest_;
};

}  // namespace quorbel::testing
