// rand_s is declared only on request; it reads the system's own generator
// (RtlGenRandom), with no DLL beyond the C runtime.
#define _CRT_RAND_S
#include <stdlib.h>

#include "platform/random.h"

std::uint64_t SystemEntropy() {
  unsigned int high = 0;
  unsigned int low = 0;
  if (rand_s(&high) != 0 || rand_s(&low) != 0) return 0;
  return (std::uint64_t{high} << 32) | low;
}
