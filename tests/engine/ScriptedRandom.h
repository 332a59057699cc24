#pragma once
// A generator that returns a scripted sequence of draws, so a test can fix every draw and check
// that the code under test draws exactly as many times as it must, in the right order.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "story/Random.h"

namespace quorbel::testing {

class ScriptedRandom final : public Random {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<double> values) : values_(values) {}
  void Add(std::initializer_list<double> values) { values_.insert(values_.end(), values); }
  void Add(double v) { values_.push_back(v); }

  double Rnd() override {
    if (next_ >= values_.size()) {
      ADD_FAILURE() << "more draws than scripted (" << values_.size() << ")";
      ++extra_;
      return 0.0;
    }
    return values_[next_++];
  }
  std::size_t used() const { return next_; }
  std::size_t left() const { return values_.size() - next_; }
  bool AllUsed() const { return next_ == values_.size() && extra_ == 0; }

 private:
  std::vector<double> values_;
  std::size_t next_ = 0;
  std::size_t extra_ = 0;
};

}  // namespace quorbel::testing
