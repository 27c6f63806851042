#include "platform/random.h"

#include <chrono>
#include <cstdint>

namespace {

// SplitMix64: small, fast and good enough to shuffle a few tunes; seeded
// once from the system's entropy with the time mixed in.
class TSystemRandom : public TRandomSource {
 public:
  TSystemRandom() {
    // Without an entropy source the time alone still differs from run
    // to run.
    state_ = SystemEntropy() ^
             static_cast<std::uint64_t>(
                 std::chrono::high_resolution_clock::now().time_since_epoch().count());
  }

  std::size_t Below(std::size_t count) override {
    if (count <= 1) return 0;
    const std::uint64_t n = count;
    // Draws that fall in the last, incomplete run of `n` are drawn again,
    // so that every number is as likely.
    const std::uint64_t limit = UINT64_MAX - UINT64_MAX % n;
    std::uint64_t draw;
    do {
      draw = Next();
    } while (draw >= limit);
    return static_cast<std::size_t>(draw % n);
  }

 private:
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  std::uint64_t state_ = 0;
};

}  // namespace

TRandomSource& SystemRandom() {
  static TSystemRandom random;
  return random;
}
