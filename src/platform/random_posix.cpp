#include <random>

#include "platform/random.h"

std::uint64_t SystemEntropy() {
  try {
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device();
  } catch (...) {
    return 0;  // no entropy source on this system
  }
}
