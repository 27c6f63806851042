#include "platform/file_io.h"

namespace fileio {
namespace {
int gOpenFault = 0;
int gWriteFault = 0;
}  // namespace

void FailNextOpenForTesting(int errorCode) { gOpenFault = errorCode; }
void FailNextWriteForTesting(int errorCode) { gWriteFault = errorCode; }

namespace detail {
int TakeOpenFault() {
  const int f = gOpenFault;
  gOpenFault = 0;
  return f;
}
int TakeWriteFault() {
  const int f = gWriteFault;
  gWriteFault = 0;
  return f;
}
}  // namespace detail

}  // namespace fileio
