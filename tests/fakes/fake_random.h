// A random source that plays back the numbers a test gives it, in a loop,
// each taken modulo the count asked for; with none given it answers 0.
// What it was asked is kept, so a test can see how many choices there were.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/random.h"

class TFakeRandom : public TRandomSource {
 public:
  TFakeRandom() = default;
  explicit TFakeRandom(std::vector<std::size_t> numbers) : numbers_(std::move(numbers)) {}

  std::size_t Below(std::size_t count) override {
    asked.push_back(count);
    if (numbers_.empty() || count == 0) return 0;
    const std::size_t n = numbers_[next_++ % numbers_.size()];
    return n % count;
  }

  // The counts asked for, in order.
  std::vector<std::size_t> asked;

 private:
  std::vector<std::size_t> numbers_;
  std::size_t next_ = 0;
};
