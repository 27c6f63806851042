#include "platform/file_io.h"

namespace fileio {
namespace {
int gOpenFault = 0;
}  // namespace

void FailNextOpenForTesting(int errorCode) { gOpenFault = errorCode; }

namespace detail {
int TakeOpenFault() {
  const int f = gOpenFault;
  gOpenFault = 0;
  return f;
}
}  // namespace detail

}  // namespace fileio
