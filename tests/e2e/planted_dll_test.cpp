// A winmm.dll and an msimg32.dll left beside Tivorra.exe, as a web browser
// leaves whatever a page offers in a Downloads folder, with Wine told to
// prefer such native copies as Windows does for libraries that are not
// KnownDLLs. The program must work with the system's own libraries and
// never run the planted ones.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include <filesystem>
#include <memory>
#include <string>

#include "controls/win32/resources.h"
#include "e2e/driver.h"
#include "platform/win32/clock_win32.h"
#include "store/alarm_file.h"
#include "store/alarm_store.h"
#include "test_support.h"
#include "fakes/fake_services.h"

namespace fs = std::filesystem;

namespace {

using namespace e2e;

fs::path PlantedDll(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path() / L"planted" / name;
}

// The program's own alarm tone as a wav file.
Bytes AlarmToneWav() {
  HMODULE module = LoadLibraryExW(BuiltProgram().wstring().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return {};
  HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(IDR_ALARM_TONE), L"WAVE");
  Bytes wav;
  if (res) {
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, res)));
    wav.assign(bytes, bytes + SizeofResource(module, res));
  }
  FreeLibrary(module);
  return wav;
}

// Wine told to prefer native copies of these libraries for Tivorra.exe, as
// Windows does for any library that is not a KnownDLL; undone at the end.
class PreferNativeDlls {
 public:
  PreferNativeDlls() {
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_,
                    nullptr);
    for (const wchar_t* name : {L"winmm", L"msimg32"}) {
      const wchar_t value[] = L"native,builtin";
      RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
    }
  }
  ~PreferNativeDlls() {
    if (key_) RegCloseKey(key_);
    RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
  }
  PreferNativeDlls(const PreferNativeDlls&) = delete;
  PreferNativeDlls& operator=(const PreferNativeDlls&) = delete;
  bool Set() const { return key_ != nullptr; }

 private:
  static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\Tivorra.exe\\DllOverrides";
  HKEY key_ = nullptr;
};

// The wake-up window once it shows this message.
HWND RingingWith(const Program& p, const std::wstring& message) {
  HWND wake = nullptr;
  WaitFor(
      [&] {
        wake = p.Window(L"Будильник");
        return wake && TextOf(ChildWithClass(wake, L"Edit")) == message;
      },
      20s);
  return wake && TextOf(ChildWithClass(wake, L"Edit")) == message ? wake : nullptr;
}

TEST(Program, RunsNoDllPlantedBesideIt) {
  TempDir dir;
  for (const wchar_t* name : {L"winmm.dll", L"msimg32.dll"}) {
    ASSERT_TRUE(fs::exists(PlantedDll(name))) << "not built";
    fs::copy_file(PlantedDll(name), dir.Path(name));
  }
  {
    // The marks work: a process that loads a planted copy leaves one.
    TempDir probe;
    fs::copy_file(PlantedDll(L"winmm.dll"), probe.Path(L"probe.dll"));
    HMODULE m = LoadLibraryW(probe.Path(L"probe.dll").c_str());
    ASSERT_NE(m, nullptr);
    FreeLibrary(m);
    ASSERT_TRUE(fs::exists(probe.Path(L"winmm.ran")));
  }

  const Bytes wav = AlarmToneWav();
  ASSERT_FALSE(wav.empty());
  WriteBytes(dir.Path(L"tone.wav"), wav);
  // One countdown with music that plays, and one whose music is gone, so
  // that the built-in tone and MCI's error text are needed too.
  auto store = std::make_unique<TAlarmStore>();
  *store = {};
  const double now = TWin32Clock().Now().Local;
  store->CountdownCount = 2;
  store->CountdownAlarms[0].AlarmTime = now + 7 / 86400.0;
  ToShortString(L"С музыкой", store->CountdownAlarms[0].Msg);
  ToShortString(dir.ProgramDir() + L"tone.wav", store->CountdownAlarms[0].Mus);
  store->CountdownAlarms[1].AlarmTime = now + 11 / 86400.0;
  ToShortString(L"Без музыки", store->CountdownAlarms[1].Msg);
  ToShortString(dir.ProgramDir() + L"gone.wav", store->CountdownAlarms[1].Mus);
  TAlarmFileState file;
  TFakeMessageBoxes boxes;
  EXPECT_TRUE(SaveAlarms(*store, dir.ProgramDir(), file).Saved());

  const PreferNativeDlls preferNative;
  ASSERT_TRUE(preferNative.Set());
  Program p(dir);
  p.Start();
  const HWND main = p.Main();
  ASSERT_NE(main, nullptr);

  HWND wake = RingingWith(p, L"С музыкой");
  ASSERT_NE(wake, nullptr) << "the first alarm did not ring";
  EXPECT_FALSE(WaitFor([&] { return p.MessageBox() != nullptr; }, 300ms))
      << Cp1251(MessageBoxText(p.MessageBox()));
  HANDLE music = CreateFileW(dir.Path(L"tone.wav").c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(music, INVALID_HANDLE_VALUE) << "the music is not open in the player";
  if (music != INVALID_HANDLE_VALUE) CloseHandle(music);
  ASSERT_TRUE(Press(FindControl(wake, L"Button", L"OK")));
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(wake); }, 5s));

  // The missing music is reported with the system's own text for the
  // error, read through the real winmm, while the tone plays.
  wake = RingingWith(p, L"Без музыки");
  ASSERT_NE(wake, nullptr) << "the second alarm did not ring";
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = p.MessageBox()) != nullptr; }, 5s));
  const std::wstring text = MessageBoxText(box);
  bool systemText = false;
  for (MCIERROR code : {275u, 277u}) {
    wchar_t expected[MAXERRORLENGTH] = {};
    if (mciGetErrorStringW(code, expected, MAXERRORLENGTH)) systemText |= text == expected;
  }
  EXPECT_TRUE(systemText) << Cp1251(text);
  AnswerMessageBox(box);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5s));
  ASSERT_TRUE(Press(FindControl(wake, L"Button", L"OK")));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(wake); }, 5s));

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(p.Ended(10s));
  EXPECT_EQ(p.ExitCode(), 0u);
  EXPECT_FALSE(fs::exists(dir.Path(L"winmm.ran"))) << "the planted winmm.dll ran in Tivorra";
  EXPECT_FALSE(fs::exists(dir.Path(L"msimg32.ran"))) << "the planted msimg32.dll ran in Tivorra";
}

}  // namespace
#endif
