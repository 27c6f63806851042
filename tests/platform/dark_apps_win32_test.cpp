// The dark app mode read from the real registry of the test's Wine prefix:
// only a DWORD 0 means dark. The user's value is put back afterwards.
#include "platform/win32/dark_apps_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr wchar_t kValue[] = L"AppsUseLightTheme";

// Keeps the value as it was and restores it at the end.
class TSavedValue {
 public:
  TSavedValue() {
    size_ = sizeof(data_);
    had_ = RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_ANY, &type_, data_, &size_) ==
           ERROR_SUCCESS;
  }
  ~TSavedValue() {
    if (had_) {
      RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, type_, data_, size_);
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
    }
  }
  TSavedValue(const TSavedValue&) = delete;
  TSavedValue& operator=(const TSavedValue&) = delete;

 private:
  bool had_ = false;
  DWORD type_ = 0, size_ = 0;
  BYTE data_[64] = {};
};

TEST(DarkApps, ReadsTheUsersAppModeFromTheRegistry) {
  const TSavedValue saved;
  const TSystemDarkApps dark;
  const DWORD zero = 0, one = 1;
  const wchar_t text[] = L"0";
  const struct {
    const char* what;
    DWORD type;
    const void* data;
    DWORD size;
    bool dark;
  } cases[] = {
      {"no value", REG_NONE, nullptr, 0, false},
      {"apps light", REG_DWORD, &one, sizeof(one), false},
      {"apps dark", REG_DWORD, &zero, sizeof(zero), true},
      {"a text, not a number", REG_SZ, text, sizeof(text), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.data) {
      ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, c.type, c.data, c.size),
                ERROR_SUCCESS);
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
    }
    EXPECT_EQ(dark.On(), c.dark);
  }
}

}  // namespace
