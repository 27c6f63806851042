#include <gtest/gtest.h>

#ifdef _WIN32
#include "controls/win32/win32_backend.h"
#include "fakes/fake_dark_apps.h"
#include "fakes/fake_high_contrast.h"

TFakeHighContrast& TestContrast() {
  static TFakeHighContrast contrast;
  return contrast;
}

TFakeDarkApps& TestDarkApps() {
  static TFakeDarkApps dark;
  return dark;
}

// Under Windows the forms get real windows, so every form test drives the
// Win32 half as well as the logic.
int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  TWin32Backend backend(TestContrast(), TestDarkApps());
  SetBackend(&backend);
  const int rc = RUN_ALL_TESTS();
  SetBackend(nullptr);
  return rc;
}
#else
#include "fakes/recording_backend.h"

// Natively the forms get recording peers that act as Windows would.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  TRecordingBackend backend;
  SetBackend(&backend);
  const int rc = RUN_ALL_TESTS();
  SetBackend(nullptr);
  return rc;
}
#endif
