// Random numbers for what the user should not be able to foresee (the tune
// a section's alarm plays). The program's source is seeded afresh at each
// start; tests give a scripted one.
#pragma once

#include <cstddef>
#include <cstdint>

class TRandomSource {
 public:
  virtual ~TRandomSource() = default;
  // A number from 0 to count - 1, each as likely; `count` is at least 1.
  virtual std::size_t Below(std::size_t count) = 0;
};

// The program's own source, seeded from the system's entropy and the time.
TRandomSource& SystemRandom();

// 64 bits from the system's entropy source, 0 when it gives none; the
// program's source is seeded with them.
std::uint64_t SystemEntropy();
