// A user's roads through the program, each in a fresh folder: one alarm from
// the editor to the wake-up window, a restart, a change and a delete, the
// tray, the settings dialog and a damaged alarm file. The driver uses only
// the program's windows, the registry and the files.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "controls/win32/resources.h"
#include "e2e/driver.h"
#include "platform/date_time.h"
#include "platform/win32/clock_win32.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

using namespace e2e;

// Places in alarm.rec: the countdown table and the five counts.
constexpr std::size_t kFileSize = 389616;
constexpr std::size_t kCountdownTable = 234400;
constexpr std::size_t kTimeRecordSize = 776;
constexpr std::size_t kDailyCount = 389602;
constexpr std::size_t kCountdownCount = 389606;

std::uint16_t U16At(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
std::string TextAt(const Bytes& b, std::size_t at) {
  return std::string(reinterpret_cast<const char*>(&b.at(at + 1)), b.at(at));
}
double DoubleAt(const Bytes& b, std::size_t at) {
  double v;
  std::memcpy(&v, &b.at(at), sizeof v);
  return v;
}

// A countdown record as alarm.rec holds it.
struct StoredCountdown {
  std::string msg, exe, mus;
  double time;
};
StoredCountdown CountdownAt(const Bytes& b, std::size_t row) {
  const std::size_t at = kCountdownTable + row * kTimeRecordSize;
  return {TextAt(b, at), TextAt(b, at + 256), TextAt(b, at + 512), DoubleAt(b, at + 768)};
}

double LocalNow() { return TWin32Clock().Now().Local; }

// The time picker shows whole seconds but keeps the milliseconds of the
// time it was given, and they count in a countdown.
constexpr double kPickerSlack = 1 / 86400.0;

// A music section with one wav in it: the program's own alarm tone.
void MakeSection(const TempDir& dir, const std::wstring& section, const std::wstring& file) {
  HMODULE module = LoadLibraryExW(BuiltProgram().wstring().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(IDR_ALARM_TONE), L"WAVE");
  ASSERT_NE(res, nullptr);
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, res)));
  const Bytes wav(bytes, bytes + SizeofResource(module, res));
  FreeLibrary(module);
  fs::create_directories(dir.Path(L"Sound") / section);
  WriteBytes(dir.Path(L"Sound") / section / file, wav);
}

// The parts of the main window a user works with.
struct MainWindow {
  explicit MainWindow(HWND h) : main(h) {}
  HWND Button(const wchar_t* text) const { return FindWindowExW(main, nullptr, L"Button", text); }
  HWND List() const { return FindWindowExW(main, nullptr, L"ListBox", nullptr); }
  HWND Tabs() const { return FindWindowExW(main, nullptr, WC_TABCONTROLW, nullptr); }
  // The editor: the panel that holds its "Закрыть".
  HWND Editor() const { return GetParent(FindControl(main, L"Button", L"Закрыть")); }
  HWND EditorButton(const wchar_t* text) const { return FindControl(Editor(), L"Button", text); }
  HWND Memo() const {
    for (HWND h : FindControls(Editor(), L"Edit")) {
      if (GetWindowLongW(h, GWL_STYLE) & ES_MULTILINE) return h;
    }
    return nullptr;
  }
  HWND TimePicker() const {
    for (HWND h : FindControls(Editor(), DATETIMEPICK_CLASSW)) {
      if ((GetWindowLongW(h, GWL_STYLE) & DTS_TIMEFORMAT) == DTS_TIMEFORMAT) return h;
    }
    return nullptr;
  }
  HWND Sections() const { return FindControl(Editor(), L"ComboBox"); }
  HWND Music() const { return FindControl(Editor(), L"ListBox"); }
  HWND main;
};

int IndexOf(const std::vector<std::wstring>& texts, const std::wstring& text) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (texts[i] == text) return static_cast<int>(i);
  }
  return -1;
}

// Presses a button once the program has enabled it (a selection, a kind
// or the editor opening enables the editor's and the list's buttons).
void PressWhenEnabled(HWND button) {
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(button) != FALSE; }, 2s))
      << "\"" << Cp1251(TextOf(button)) << "\" stayed disabled";
  ASSERT_TRUE(Press(button));
}

// New countdown in the editor: its time, a message, music from a section;
// stored with "Добавить".
void AddCountdown(const Program& p, const MainWindow& w, int hours, int minutes, int seconds,
                  const std::wstring& message, const std::wstring& section,
                  const std::wstring& file) {
  ASSERT_NO_FATAL_FAILURE(PressWhenEnabled(w.Button(L"Новый")));
  ASSERT_TRUE(WaitFor([&] { return w.Editor() && IsWindowVisible(w.Editor()); }, 2s))
      << "the editor did not open";
  ASSERT_NO_FATAL_FAILURE(PressWhenEnabled(w.EditorButton(L"Обратный отсчет")));
  ASSERT_TRUE(SetPickerTime(p.Process(), w.TimePicker(), hours, minutes, seconds));

  ASSERT_NO_FATAL_FAILURE(PressWhenEnabled(w.EditorButton(L"Вывести сообщение")));
  EXPECT_EQ(CheckState(w.EditorButton(L"Вывести сообщение")), BST_CHECKED);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(w.Memo()) != FALSE; }, 2s));
  TypeText(w.Memo(), message);

  ASSERT_NO_FATAL_FAILURE(PressWhenEnabled(w.EditorButton(L"Проиграть музыку")));
  int s = -1;
  ASSERT_TRUE(WaitFor([&] { return (s = IndexOf(ComboItems(w.Sections()), section)) >= 0; }, 2s))
      << "the section is not offered";
  PickItem(w.Sections(), s);
  int m = -1;
  ASSERT_TRUE(WaitFor([&] { return (m = IndexOf(Rows(w.Music()), file)) >= 0; }, 2s))
      << "the music file is not offered";
  SelectRow(w.Music(), m);
  ASSERT_NO_FATAL_FAILURE(PressWhenEnabled(w.EditorButton(L"Добавить")));
}

// The main window once the program's start-up is over: the last thing the
// start-up writes is the Run value.
HWND StartedMain(const Program& p) {
  HWND main = p.Main();
  EXPECT_TRUE(WaitFor([] { return RunValue().has_value(); }, 5s)) << "the start-up did not end";
  return main;
}

void CloseProgram(const Program& p, HWND main) {
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(p.Ended(10s)) << "closing the main window did not end the program";
}

TEST(Program, OneAlarmFromTheEditorRingsWithItsMessageAndMusic) {
  TempDir dir;
  ASSERT_NO_FATAL_FAILURE(MakeSection(dir, L"Утро", L"tone.wav"));
  RemoveRunValue();
  Program p(dir);
  p.Start();
  const MainWindow w(StartedMain(p));
  ASSERT_NE(w.main, nullptr);

  const double before = LocalNow();
  ASSERT_NO_FATAL_FAILURE(AddCountdown(p, w, 0, 0, 4, L"Пора вставать!", L"Утро", L"tone.wav"));
  const double after = LocalNow();

  const Bytes file = ReadBytes(dir.Path(L"alarm.rec"));
  ASSERT_EQ(file.size(), kFileSize);
  EXPECT_EQ(U16At(file, kCountdownCount), 1);
  const StoredCountdown c = CountdownAt(file, 0);
  EXPECT_EQ(c.msg, Cp1251(L"Пора вставать!"));
  EXPECT_EQ(c.exe, "");
  EXPECT_EQ(c.mus, Cp1251(dir.ProgramDir() + L"Sound\\Утро\\tone.wav"));
  EXPECT_GE(c.time, before + 4 / 86400.0 - 1e-8);
  EXPECT_LE(c.time, after + kPickerSlack + 4 / 86400.0);

  HWND wake = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (wake = p.Window(L"Будильник")) != nullptr; }, 15s))
      << "the alarm did not ring";
  EXPECT_EQ(TextOf(ChildWithClass(wake, L"Edit")), L"Пора вставать!");
  // A music file that cannot be opened or played is reported in a message
  // box; whether sound comes out is not visible from another process.
  EXPECT_FALSE(WaitFor([&] { return p.MessageBox() != nullptr; }, 300ms))
      << Cp1251(MessageBoxText(p.MessageBox()));
  // The music is open in the program's player, which lets nobody write to
  // the file meanwhile.
  HANDLE music =
      CreateFileW(dir.Path(L"Sound\\Утро\\tone.wav").c_str(), GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(music, INVALID_HANDLE_VALUE) << "the music file is not open";
  if (music != INVALID_HANDLE_VALUE) CloseHandle(music);
  ASSERT_TRUE(Press(FindControl(wake, L"Button", L"OK")));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(wake); }, 5s));
  CloseProgram(p, w.main);
}

// Shows the list and its countdown tab; the rows it then shows.
std::vector<std::wstring> CountdownRows(const Program& p, const MainWindow& w) {
  if (!IsWindowVisible(w.List())) {
    EXPECT_TRUE(Press(w.Button(L">>")));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(w.List()) != FALSE; }, 2s));
  }
  EXPECT_TRUE(ClickTab(p.Process(), w.Tabs(), 3));
  return Rows(w.List());
}

bool EndsWith(const std::wstring& s, const std::wstring& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Whether a program holds the file open, letting nobody write to it.
bool HeldOpen(const fs::path& file) {
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return true;
  CloseHandle(h);
  return false;
}

TEST(Program, ARandomTuneStoresItsSectionAndRingsOneOfItsFiles) {
  const std::wstring randomTune = L"(случайная мелодия)";
  TempDir dir;
  ASSERT_NO_FATAL_FAILURE(MakeSection(dir, L"Утро", L"tone.wav"));
  ASSERT_NO_FATAL_FAILURE(MakeSection(dir, L"Утро", L"bell.wav"));
  RemoveRunValue();
  Program p(dir);
  p.Start();
  const MainWindow w(StartedMain(p));
  ASSERT_NE(w.main, nullptr);

  // A countdown with the random tune rings one of the section's files.
  ASSERT_NO_FATAL_FAILURE(AddCountdown(p, w, 0, 0, 4, L"Пора", L"Утро", randomTune));
  const std::string section = Cp1251(dir.ProgramDir() + L"Sound\\Утро\\");
  EXPECT_EQ(CountdownAt(ReadBytes(dir.Path(L"alarm.rec")), 0).mus, section);
  HWND wake = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (wake = p.Window(L"Будильник")) != nullptr; }, 15s))
      << "the alarm did not ring";
  EXPECT_FALSE(WaitFor([&] { return p.MessageBox() != nullptr; }, 300ms))
      << Cp1251(MessageBoxText(p.MessageBox()));
  const bool tone = HeldOpen(dir.Path(L"Sound\\Утро\\tone.wav"));
  const bool bell = HeldOpen(dir.Path(L"Sound\\Утро\\bell.wav"));
  EXPECT_TRUE(tone != bell) << "tone.wav held: " << tone << ", bell.wav held: " << bell;
  ASSERT_TRUE(Press(FindControl(wake, L"Button", L"OK")));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(wake); }, 5s));

  // Opened again, the alarm shows the random tune, first.
  const auto rows = CountdownRows(p, w);
  int row = -1;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (EndsWith(rows[k], L" | Пора | ")) row = static_cast<int>(k);
  }
  ASSERT_GE(row, 0) << "the alarm is not listed";
  SelectRow(w.List(), row);
  ASSERT_NO_FATAL_FAILURE(PressWhenEnabled(w.Button(L"Изменить")));
  ASSERT_TRUE(WaitFor([&] { return TextOf(w.Memo()) == L"Пора"; }, 2s))
      << "the record was not loaded: " << Cp1251(TextOf(w.Memo()));
  EXPECT_EQ(TextOf(w.Sections()), L"Утро");
  const auto music = Rows(w.Music());
  ASSERT_EQ(music.size(), 3u);
  EXPECT_EQ(music[0], randomTune);
  EXPECT_EQ(SelectedRow(w.Music()), 0);
  CloseProgram(p, w.main);
}

TEST(Program, ARestartListsTheAlarmAndLeavesAlarmRecByteForByte) {
  TempDir dir;
  ASSERT_NO_FATAL_FAILURE(MakeSection(dir, L"Утро", L"tone.wav"));
  Bytes saved;
  {
    RemoveRunValue();
    Program p(dir);
    p.Start();
    const MainWindow w(StartedMain(p));
    ASSERT_NE(w.main, nullptr);
    ASSERT_NO_FATAL_FAILURE(AddCountdown(p, w, 1, 0, 0, L"Чайник", L"Утро", L"tone.wav"));
    const auto rows = CountdownRows(p, w);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(EndsWith(rows[0], L" | Чайник | ")) << Cp1251(rows[0]);
    CloseProgram(p, w.main);
    saved = ReadBytes(dir.Path(L"alarm.rec"));
  }
  ASSERT_EQ(saved.size(), kFileSize);
  EXPECT_EQ(U16At(saved, kCountdownCount), 1);
  EXPECT_EQ(CountdownAt(saved, 0).msg, Cp1251(L"Чайник"));
  // Everything but the one record and its count is zero.
  for (std::size_t i = 0; i < saved.size(); ++i) {
    const bool record = i >= kCountdownTable && i < kCountdownTable + kTimeRecordSize;
    if (!record && i != kCountdownCount && saved[i] != 0) {
      ADD_FAILURE() << "byte " << i << " is " << int(saved[i]);
      break;
    }
  }

  RemoveRunValue();
  Program again(dir);
  again.Start();
  const MainWindow w(StartedMain(again));
  ASSERT_NE(w.main, nullptr);
  EXPECT_TRUE(IsWindowVisible(w.List())) << "the list's setting was not kept";
  const auto rows = CountdownRows(again, w);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_TRUE(EndsWith(rows[0], L" | Чайник | ")) << Cp1251(rows[0]);
  // An hour at most is left: the whole hour when the restart came within
  // the countdown's first second, else 59 minutes and some seconds, 58 on
  // a slow machine (in whatever time format the user has).
  EXPECT_TRUE(rows[0].find(L"1:00:00") != std::wstring::npos ||
              rows[0].find(L":59:") != std::wstring::npos ||
              rows[0].find(L":58:") != std::wstring::npos)
      << Cp1251(rows[0]);
  EXPECT_EQ(ReadBytes(dir.Path(L"alarm.rec")), saved) << "the start changed alarm.rec";
  CloseProgram(again, w.main);
  EXPECT_EQ(ReadBytes(dir.Path(L"alarm.rec")), saved) << "closing changed alarm.rec";
}

TEST(Program, AnAlarmIsChangedAndDeletedFromTheList) {
  TempDir dir;
  ASSERT_NO_FATAL_FAILURE(MakeSection(dir, L"Утро", L"tone.wav"));
  RemoveRunValue();
  Program p(dir);
  p.Start();
  const MainWindow w(StartedMain(p));
  ASSERT_NE(w.main, nullptr);
  ASSERT_NO_FATAL_FAILURE(AddCountdown(p, w, 1, 0, 0, L"Чайник", L"Утро", L"tone.wav"));
  const std::string music = CountdownAt(ReadBytes(dir.Path(L"alarm.rec")), 0).mus;

  // The confirmations on, through the settings dialog.
  PressLater(w.Button(L"Настройки"));
  HWND settings = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (settings = p.Window(L"Настройки")) != nullptr; }, 5s));
  HWND confirm =
      FindControl(settings, L"Button", L"Показывать сообщения \"Запись изменена/добавлена\"");
  ASSERT_TRUE(Press(confirm));
  EXPECT_EQ(CheckState(confirm), BST_CHECKED);
  ASSERT_TRUE(Press(FindControl(settings, L"Button", L"Ок")));
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(settings); }, 5s));

  // Change: the row, "Изменить", a new text and time, the editor's
  // "Изменить", and its confirmation.
  auto rows = CountdownRows(p, w);
  ASSERT_EQ(rows.size(), 1u);
  SelectRow(w.List(), 0);
  ASSERT_NO_FATAL_FAILURE(PressWhenEnabled(w.Button(L"Изменить")));
  ASSERT_TRUE(WaitFor([&] { return TextOf(w.Memo()) == L"Чайник"; }, 2s))
      << "the record was not loaded: " << Cp1251(TextOf(w.Memo()));
  HWND store = w.EditorButton(L"Изменить");
  ASSERT_NE(store, nullptr) << "the editor is not in change mode";
  TypeText(w.Memo(), L"Чайник вскипел");
  ASSERT_TRUE(SetPickerTime(p.Process(), w.TimePicker(), 2, 0, 0));
  const double before = LocalNow();
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(store) != FALSE; }, 2s));
  PressLater(store);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = p.MessageBox()) != nullptr; }, 5s));
  EXPECT_EQ(MessageBoxText(box), L"Запись изменена!");
  AnswerMessageBox(box);
  ASSERT_TRUE(WaitFor([&] { return p.MessageBox() == nullptr; }, 5s));
  const double after = LocalNow();

  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(w.Editor()); }, 2s))
      << "a change leaves the editor open";
  rows = Rows(w.List());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_TRUE(EndsWith(rows[0], L" | Чайник вск... | ")) << Cp1251(rows[0]);
  const Bytes changed = ReadBytes(dir.Path(L"alarm.rec"));
  ASSERT_EQ(changed.size(), kFileSize);
  EXPECT_EQ(U16At(changed, kCountdownCount), 1);
  const StoredCountdown c = CountdownAt(changed, 0);
  EXPECT_EQ(c.msg, Cp1251(L"Чайник вскипел"));
  EXPECT_EQ(c.mus, music) << "the music was lost";
  EXPECT_GE(c.time, before + 2 / 24.0 - 1e-8);
  EXPECT_LE(c.time, after + kPickerSlack + 2 / 24.0);

  // Delete: the row, then "Удалить"; nothing asks.
  SelectRow(w.List(), 0);
  ASSERT_NO_FATAL_FAILURE(PressWhenEnabled(w.Button(L"Удалить")));
  EXPECT_TRUE(Rows(w.List()).empty());
  const Bytes deleted = ReadBytes(dir.Path(L"alarm.rec"));
  ASSERT_EQ(deleted.size(), kFileSize);
  EXPECT_EQ(U16At(deleted, kCountdownCount), 0);
  EXPECT_EQ(p.MessageBox(), nullptr);
  CloseProgram(p, w.main);
}

TEST(Program, AMinimizedStartComesBackAndEndsFromTheTrayMenu) {
  TempDir dir;
  RemoveRunValue();
  Program p(dir);
  p.Start(L"/minimize");
  // Its start-up is over once it has written the Run value.
  ASSERT_TRUE(WaitFor([] { return RunValue().has_value(); }, 15s));
  HWND main = p.Window(L"Tivorra", false);
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsWindowVisible(main)) << "/minimize left the window up";
  HWND tray = p.WindowOfClass(L"TivorraTray", false);
  ASSERT_NE(tray, nullptr);

  // What the notification area sends for a right click on the icon (icon
  // 1, callback WM_APP + 1), then the menu driven by its keyboard.
  const auto choose = [&](UINT key) {
    PostMessageW(tray, WM_APP + 1, 1, WM_RBUTTONUP);
    HWND menu = nullptr;
    if (!WaitFor([&] { return (menu = p.WindowOfClass(L"#32768", true)) != nullptr; }, 5s)) {
      return false;
    }
    PostMessageW(menu, WM_KEYDOWN, key, 1);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
    return true;
  };
  ASSERT_TRUE(choose(VK_HOME)) << "no menu";  // the first item, "Показать"
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) && !IsIconic(main); }, 5s))
      << "\"Показать\" did not bring the window back";
  EXPECT_FALSE(p.Ended(0ms));
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(IsWindowVisible(main)) << "the window went down again";

  ASSERT_TRUE(choose(VK_END)) << "no menu";  // the last item, "Закрыть"
  ASSERT_TRUE(p.Ended(10s)) << "\"Закрыть\" did not end the program";
  EXPECT_EQ(p.ExitCode(), 0u);
}

TEST(Program, TheSettingsDialogTurnsStartWithWindowsOffAndOn) {
  TempDir dir;
  RemoveRunValue();
  Program p(dir);
  p.Start();
  const MainWindow w(StartedMain(p));
  ASSERT_NE(w.main, nullptr);
  ASSERT_TRUE(RunValue().has_value());
  const std::wstring value = *RunValue();

  const auto setAutoLoad = [&](int shownAs, bool on) {
    PressLater(w.Button(L"Настройки"));
    HWND d = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (d = p.Window(L"Настройки")) != nullptr; }, 5s));
    HWND box = FindControl(d, L"Button", L"Загрузка программы при старте Windows");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(CheckState(box), shownAs);
    // A click turns grayed (on) and unchecked into checked, checked into
    // unchecked.
    const int wanted = on ? BST_CHECKED : BST_UNCHECKED;
    for (int i = 0; i < 2 && CheckState(box) != wanted; ++i) ASSERT_TRUE(Press(box));
    ASSERT_EQ(CheckState(box), wanted);
    ASSERT_TRUE(Press(FindControl(d, L"Button", L"Ок")));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(d); }, 5s));
  };

  ASSERT_NO_FATAL_FAILURE(setAutoLoad(BST_INDETERMINATE, false));
  EXPECT_FALSE(RunValue().has_value()) << "the Run value is still there";
  EXPECT_EQ(ReadBytes(dir.Path(L"config.cfg")).at(3), 0);
  // Back in the main window nothing writes it again.
  std::this_thread::sleep_for(300ms);
  EXPECT_FALSE(RunValue().has_value()) << "the Run value came back by itself";

  ASSERT_NO_FATAL_FAILURE(setAutoLoad(BST_UNCHECKED, true));
  EXPECT_EQ(RunValue(), value);
  EXPECT_EQ(ReadBytes(dir.Path(L"config.cfg")).at(3), 1);
  CloseProgram(p, w.main);
}

TEST(Program, ADamagedAlarmFileIsReportedAndKeptAsBad) {
  TempDir dir;
  Bytes damaged(5000);
  for (std::size_t i = 0; i < damaged.size(); ++i) damaged[i] = static_cast<std::uint8_t>(i * 7);
  WriteBytes(dir.Path(L"alarm.rec"), damaged);
  RemoveRunValue();
  Program p(dir);
  p.Start();
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = p.MessageBox()) != nullptr; }, 15s));
  EXPECT_EQ(MessageBoxText(box), L"Ошибка чтения файла!");
  AnswerMessageBox(box);
  const MainWindow w(StartedMain(p));
  ASSERT_NE(w.main, nullptr);
  EXPECT_EQ(ReadBytes(dir.Path(L"alarm.rec")), damaged);

  // The first change saves alarm.rec and keeps the damaged bytes beside it.
  ASSERT_NO_FATAL_FAILURE(PressWhenEnabled(w.Button(L"Новый")));
  // The editor's windows are made as it opens, after the click is handled.
  HWND daily = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (daily = w.EditorButton(L"Ежедневно")) != nullptr; }, 5s))
      << "the editor did not open";
  ASSERT_NO_FATAL_FAILURE(PressWhenEnabled(daily));
  HWND add = w.EditorButton(L"Добавить");
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(add) != FALSE; }, 2s));
  PressLater(add);
  ASSERT_TRUE(WaitFor([&] { return (box = p.MessageBox()) != nullptr; }, 5s));
  const std::wstring text = MessageBoxText(box);
  EXPECT_EQ(text.rfind(L"Файл alarm.rec не удалось прочитать.", 0), 0u) << Cp1251(text);
  EXPECT_TRUE(EndsWith(text, L"alarm.rec.bad")) << Cp1251(text);
  AnswerMessageBox(box);
  ASSERT_TRUE(WaitFor([&] { return p.MessageBox() == nullptr; }, 5s));

  ASSERT_TRUE(fs::exists(dir.Path(L"alarm.rec.bad")));
  EXPECT_EQ(ReadBytes(dir.Path(L"alarm.rec.bad")), damaged);
  ASSERT_TRUE(WaitFor([&] { return fs::file_size(dir.Path(L"alarm.rec")) == kFileSize; }, 2s));
  EXPECT_EQ(U16At(ReadBytes(dir.Path(L"alarm.rec")), kDailyCount), 1);
  CloseProgram(p, w.main);
}

}  // namespace
#endif
