#include <gtest/gtest.h>

#ifdef _WIN32
#include "controls/win32/win32_backend.h"

// Under Windows the forms get real windows, so every form test drives the
// Win32 half as well as the logic.
int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  TWin32Backend backend;
  SetBackend(&backend);
  const int rc = RUN_ALL_TESTS();
  SetBackend(nullptr);
  return rc;
}
#else
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
#endif
