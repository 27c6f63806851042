#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "fakes/fake_services.h"
#include "platform/errors.h"
#include "platform/run_value.h"
#include "store/auto_load.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/run_value_win32.h"
#endif

namespace {

TEST(RunValueData, IsTheQuotedPathAndTheMinimiseSwitch) {
  const struct {
    const wchar_t* exe;
    const wchar_t* data;
  } cases[] = {
      {L"D:\\Apps\\Alarm\\prog.exe", L"\"D:\\Apps\\Alarm\\prog.exe\" /minimize"},
      {L"C:\\Program Files\\Tivorra\\Tivorra.exe",
       L"\"C:\\Program Files\\Tivorra\\Tivorra.exe\" /minimize"},
      {L"C:\\Мои программы\\Будильник\\Tivorra.exe",
       L"\"C:\\Мои программы\\Будильник\\Tivorra.exe\" /minimize"},
  };
  for (const auto& c : cases) EXPECT_EQ(RunValueData(c.exe), c.data) << c.exe;
}

// The headless value stands in for the registry in the windows' tests, so it
// must fail with the same texts and leave earlier data alone.
TEST(HeadlessRunValue, FailedWriteThrowsTheRegistryTextAndKeepsTheValue) {
  const struct {
    TFakeRunValue::Fault fault;
    const wchar_t* text;
  } cases[] = {
      {TFakeRunValue::Fault::CreateKey, L"Failed to create key Run"},
      {TFakeRunValue::Fault::SetData, L"Failed to set data for 'Tivorra'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TFakeRunValue run;
    AddAutoLoad(run, L"C:\\old.exe");
    run.failNextWrite = c.fault;
    try {
      AddAutoLoad(run, L"C:\\new.exe");
      ADD_FAILURE() << "the write succeeded";
    } catch (const EAppError& e) {
      EXPECT_EQ(e.Message(), c.text);
    }
    EXPECT_EQ(run.values.at(L"Tivorra"), L"\"C:\\old.exe\" /minimize");
    AddAutoLoad(run, L"C:\\new.exe");  // only the next write fails
    EXPECT_EQ(run.writeCount, 2);
    DelAutoLoad(run);
    EXPECT_TRUE(run.values.empty());
  }
}

#ifdef _WIN32

constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::optional<std::wstring> ReadRunValue(HKEY root, REGSAM view = 0) {
  HKEY key;
  if (RegOpenKeyExW(root, kRunKeyPath, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  wchar_t data[1024];
  DWORD size = sizeof data;
  const LONG rc = RegGetValueW(key, nullptr, L"Tivorra", RRF_RT_REG_SZ, nullptr, data, &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return std::nullopt;
  return std::wstring(data);
}

bool PlantRunValue(HKEY root, REGSAM view) {
  HKEY key;
  if (RegCreateKeyExW(root, kRunKeyPath, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const wchar_t data[] = L"C:\\planted.exe";
  const LONG rc =
      RegSetValueExW(key, L"Tivorra", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

// Leaves no value behind however a test ends.
class RegistryRunValue : public testing::Test {
 protected:
  ~RegistryRunValue() override {
    const std::pair<HKEY, REGSAM> places[] = {{HKEY_CURRENT_USER, 0},
                                              {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY},
                                              {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY}};
    for (const auto& [root, view] : places) {
      HKEY key;
      if (RegOpenKeyExW(root, kRunKeyPath, 0, KEY_SET_VALUE | view, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, L"Tivorra");
        RegCloseKey(key);
      }
    }
  }
  TWin32RunValue run;
};

TEST_F(RegistryRunValue, AddWritesTheUsersValueAndDelRemovesIt) {
  const std::wstring exe = L"C:\\Program Files\\Tivorra\\Tivorra.exe";
  AddAutoLoad(run, L"C:\\old.exe");
  AddAutoLoad(run, exe);
  EXPECT_EQ(ReadRunValue(HKEY_CURRENT_USER),
            L"\"C:\\Program Files\\Tivorra\\Tivorra.exe\" /minimize");
  EXPECT_EQ(ReadRunValue(HKEY_LOCAL_MACHINE), std::nullopt) << "wrote the machine-wide key";

  DelAutoLoad(run);
  EXPECT_EQ(ReadRunValue(HKEY_CURRENT_USER), std::nullopt);
  EXPECT_NO_THROW(DelAutoLoad(run));
  EXPECT_EQ(ReadRunValue(HKEY_CURRENT_USER), std::nullopt);
}

TEST_F(RegistryRunValue, DelRemovesMachineWideValuesOfBothViews) {
  for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    SCOPED_TRACE(view);
    ASSERT_TRUE(PlantRunValue(HKEY_LOCAL_MACHINE, view));
    ASSERT_EQ(ReadRunValue(HKEY_LOCAL_MACHINE, view), L"C:\\planted.exe");
    DelAutoLoad(run);
    EXPECT_EQ(ReadRunValue(HKEY_LOCAL_MACHINE, view), std::nullopt);
  }
}

TEST_F(RegistryRunValue, FailedWritesThrowTheirTexts) {
  // Below a volatile key only volatile keys can be created, so the Run key
  // cannot be made there.
  HKEY volatileRoot;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\TivorraTestVolatile", 0, nullptr,
                            REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &volatileRoot, nullptr),
            ERROR_SUCCESS);
  TWin32RunValue cannotCreate(volatileRoot);
  try {
    AddAutoLoad(cannotCreate, L"C:\\a.exe");
    ADD_FAILURE() << "the key was created";
  } catch (const EAppError& e) {
    EXPECT_EQ(e.Message(), L"Failed to create key Run");
  }
  RegCloseKey(volatileRoot);
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TivorraTestVolatile");

  // Value names are limited to 16,383 characters.
  const std::wstring tooLong(20000, L'x');
  try {
    run.Write(tooLong, L"C:\\a.exe");
    ADD_FAILURE() << "the value was set";
  } catch (const EAppError& e) {
    EXPECT_EQ(e.Message(), L"Failed to set data for '" + tooLong + L"'");
  }
}

#endif  // _WIN32

}  // namespace
