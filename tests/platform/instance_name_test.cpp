#include "platform/instance_name.h"

#include <gtest/gtest.h>

namespace {

TEST(InstanceName, SameFolderSameNameOtherFolderOtherName) {
  const std::wstring base = InstanceName(L"D:\\Apps\\Alarm\\");
  struct Case {
    const wchar_t* folder;
    bool same;
  };
  const Case cases[] = {
      {L"D:\\Apps\\Alarm\\", true},  {L"d:\\apps\\ALARM\\", true},        {L"D:/Apps/Alarm/", true},
      {L"D:\\Apps\\Alarm", true},    {L"D:\\Apps\\Alarm2\\", false},      {L"D:\\Apps\\", false},
      {L"E:\\Apps\\Alarm\\", false}, {L"D:\\Apps\\Alarm\\Copy\\", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.folder)));
    EXPECT_EQ(InstanceName(c.folder) == base, c.same);
  }
  // Cyrillic folder names fold their case as Windows does.
  EXPECT_EQ(InstanceName(L"C:\\Будильник\\"), InstanceName(L"c:\\БУДИЛЬНИК\\"));
  EXPECT_NE(InstanceName(L"C:\\Будильник\\"), InstanceName(L"C:\\Будильник2\\"));
}

TEST(InstanceName, CanNameAMutexWhateverThePathsLength) {
  const std::wstring longFolder = L"C:\\" + std::wstring(2000, L'x') + L"\\";
  for (const std::wstring& folder : {std::wstring(L"C:\\a\\"), longFolder}) {
    const std::wstring name = InstanceName(folder);
    EXPECT_EQ(name.find(L'\\'), std::wstring::npos);
    EXPECT_LE(name.size(), 64u);
    EXPECT_EQ(name.rfind(L"Tivorra-", 0), 0u);
  }
}

}  // namespace
