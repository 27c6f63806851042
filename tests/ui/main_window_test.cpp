#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>

#include "controls/dispatcher.h"
#include "controls/message_boxes.h"
#include "platform/date_time.h"
#include "ui/wake_up_window.h"
#include "fakes/fake_program_services.h"
#include "fakes/ui_driver.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/regional.h"
#include "platform/run_value.h"
#include "platform/shell.h"
#include "store/alarm_file.h"
#include "test_support.h"
#include "ui/main_window_fixture.h"
#include "ui/program_windows.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

TEST_F(MainForm, FirstStartWithoutConfig) {
  Start();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(mainWindow->ClientWidth(), 149);
  EXPECT_EQ(mainWindow->ClientHeight(), 221);
  EXPECT_EQ(mainWindow->HEAD.Width(), 149);
  EXPECT_EQ(mainWindow->im1.Left(), 98);
  EXPECT_EQ(mainWindow->im2.Left(), 122);
  EXPECT_EQ(mainWindow->ShowListBut.Caption(), L">>");
  EXPECT_FALSE(mainWindow->RzTabControl.Visible());
  EXPECT_FALSE(mainWindow->RzPanel1.Visible());
  EXPECT_EQ(state->Settings.AutoLoad, 1);
  EXPECT_EQ(runValue.values[L"Tivorra"], L"\"" + exe + L"\" /minimize");
  // Activation disabled Add, and the refresh that follows at once enabled
  // it again by its rule for an editor that is not adding (the settings'
  // AddMode starts off), as the next tick of a poll did; the weekdays stay.
  EXPECT_TRUE(mainWindow->AddBut.Enabled());
  EXPECT_FALSE(mainWindow->panelweek.Enabled());

  // Showing the list saves the setting at once.
  mainWindow->ShowListBut.Click();
  EXPECT_EQ(ConfigBytes(), (Bytes{1, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(mainWindow->ClientWidth(), 565);
  EXPECT_EQ(mainWindow->ShowListBut.Caption(), L"<<");
  EXPECT_EQ(mainWindow->im1.Left(), 514);
  EXPECT_EQ(mainWindow->im2.Left(), 538);
  mainWindow->ShowListBut.Click();
  EXPECT_EQ(ConfigBytes(), (Bytes{0, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(mainWindow->ClientWidth(), 149);
}

// A window is made when it first shows: at start only the main window and
// what its small layout shows; the wake-up window when the program prepares
// it once idle; each other part as the user first opens it.
TEST_F(MainForm, WindowsAreMadeWhenTheyFirstShow) {
  Start();
  TSettingsDialog& settings = program->Settings;
  TAboutDialog& about = program->About;
  const auto made = [](const TControl& c) { return c.Peer().Made(); };
  const struct {
    const char* step;
    std::function<void()> act;
    std::vector<const TControl*> madeNow, notYet;
  } steps[] = {
      {"start", [] {},
       {mainWindow, &mainWindow->NewBut, &mainWindow->ShowListBut, &mainWindow->im2},
       {&mainWindow->cxListBox, &mainWindow->RzPanel1, &mainWindow->AddBut, &settings, &settings.OK, &about,
        &about.OK, wakeUpWindow(), &wakeUpWindow()->OK}},
      {"idle after start", [this] { wakeUpWindow()->PrepareWindows(); },
       {wakeUpWindow(), &wakeUpWindow()->OK, &wakeUpWindow()->Memo, &wakeUpWindow()->SnoozeChoice},
       {&mainWindow->cxListBox, &mainWindow->RzPanel1, &settings, &about}},
      {"the list", [this] { mainWindow->ShowListBut.Click(); },
       {&mainWindow->cxListBox},
       {&mainWindow->RzPanel1, &mainWindow->AddBut, &mainWindow->cxMusList, &settings, &about}},
      {"the editor", [this] { mainWindow->NewBut.Click(); },
       {&mainWindow->RzPanel1, &mainWindow->AddBut, &mainWindow->CloseBut},
       {&settings, &about}},
      {"the settings", [&settings] { settings.Show(), settings.Hide(); },
       {&settings, &settings.OK, &settings.Auto},
       {&about}},
      {"the about box", [&about] { about.Show(), about.Hide(); },
       {&about, &about.OK},
       {}},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    s.act();
    for (size_t i = 0; i < s.madeNow.size(); ++i) EXPECT_TRUE(made(*s.madeNow[i])) << "made #" << i;
    for (size_t i = 0; i < s.notYet.size(); ++i) EXPECT_FALSE(made(*s.notYet[i])) << "not yet #" << i;
  }
}

TEST_F(MainForm, TheFourLayouts) {
  const struct {
    std::uint8_t list, editor;
    int width, height;
    int panelLeft, panelTop;
  } cases[] = {
      {1, 1, 565, 557, 8, 224},
      {1, 0, 565, 221, 8, 224},  // the editor is not touched
      {0, 1, 709, 365, 152, 32},
      {0, 0, 149, 221, 8, 224},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "list " << int(c.list) << " editor " << int(c.editor));
    state = std::make_unique<TAppState>();
    WriteConfigBytes({c.list, c.editor, 0, 0, 0, 0, 0});
    Start();
    EXPECT_EQ(mainWindow->ClientWidth(), c.width);
    EXPECT_EQ(mainWindow->ClientHeight(), c.height);
    EXPECT_EQ(mainWindow->HEAD.Width(), c.width);
    EXPECT_EQ(mainWindow->im1.Left(), c.width - 51);
    EXPECT_EQ(mainWindow->im2.Left(), c.width - 27);
    EXPECT_EQ(mainWindow->im2.Right(), c.width - 2);
    EXPECT_EQ(mainWindow->RzTabControl.Visible(), c.list != 0);
    EXPECT_EQ(mainWindow->RzPanel1.Visible(), c.editor != 0);
    EXPECT_EQ(mainWindow->RzPanel1.Left(), c.panelLeft);
    EXPECT_EQ(mainWindow->RzPanel1.Top(), c.panelTop);
    EXPECT_EQ(mainWindow->ShowListBut.Caption(), c.list ? L"<<" : L">>");
    program.reset();
  }
}

TEST_F(MainForm, DamagedOrUnusualConfigFiles) {
  const struct {
    const char* name;
    Bytes file;
    std::vector<std::wstring> messages;
    int width;
  } cases[] = {
      {"three bytes", {1, 1, 0}, {L"Ошибка чтения!"}, 149},
      {"list byte 2", {2, 0, 0, 0, 0, 0, 0}, {}, 565},
      {"longer", {1, 0, 0, 0, 0, 0, 0, 9, 9}, {}, 565},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    state = std::make_unique<TAppState>();
    boxes.shown.clear();
    WriteConfigBytes(c.file);
    Start();
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(mainWindow->ClientWidth(), c.width) << "the layout was not applied";
    program.reset();
  }
}

TEST_F(MainForm, ClockText) {
  const struct {
    std::uint64_t uptimeSeconds;
    const wchar_t* line3;
  } cases[] = {
      {9 * 3600 + 5 * 60 + 7, L"Windows 09:05:07"},
      {30 * 3600, L"Windows 30:00:00"},
      {123 * 3600 + 4 * 60 + 5, L"Windows 123:04:05"},
      {50 * 24 * 3600, L"Windows 1200:00:00"},  // past 2^32 ms the clock keeps counting
  };
  Create();
  for (const auto& c : cases) {
    clock.Uptime = c.uptimeSeconds * 1000 + 250;
    mainWindow->RefreshClock();
    EXPECT_EQ(mainWindow->LabelTime.Caption(),
              std::wstring(L"Время 7:05:09\rДата 08.12.2026\r") + c.line3);
  }
}

TEST_F(MainForm, MinimizeSwitchIsMatchedWhole) {
  const struct {
    std::vector<std::wstring> params;
    bool minimized;
  } cases[] = {
      {{}, false},
      {{L"/minimize"}, true},
      {{L"other", L"/minimize"}, true},
      {{L"/MINIMIZE"}, false},
      {{L"/minimize "}, false},
      {{L"/minimized"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.params.empty() ? std::string("none") : std::string("case"));
    app = TFakeApplicationWindow();
    Start(c.params);
    EXPECT_EQ(app.minimized, c.minimized);
    program.reset();
  }
}

TEST_F(MainForm, CloseWritesBothFilesThenQuits) {
  Start();
  state->Settings.ShowMessages = 1;
  state->Store.DailyCount = 1;
  mainWindow->Close();
  EXPECT_EQ(ConfigBytes(), (Bytes{0, 0, 0, 1, 0, 0, 1}));
  ASSERT_TRUE(fs::exists(dir.Path(L"alarm.rec")));
  EXPECT_EQ(fs::file_size(dir.Path(L"alarm.rec")), 389616u);
  EXPECT_TRUE(app.terminated);
}

TEST_F(MainForm, CloseThatCannotSaveKeepsTheProgramRunning) {
  Start();
  // A folder where the file should be: nothing can replace it.
  fs::create_directory(dir.Path(L"alarm.rec"));
  mainWindow->Close();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].kind, TFakeMessageBoxes::Kind::Error);
  EXPECT_FALSE(app.terminated);
  EXPECT_TRUE(mainWindow->Visible());
}

// The store reports, the window speaks: a damaged alarm.rec is told at
// start, and the first store says where its bytes were kept.
TEST_F(MainForm, ADamagedAlarmFileIsToldAndItsKeptCopyNamed) {
  const Bytes damaged(1000, 0x33);
  WriteBytes(dir.Path(L"alarm.rec"), damaged);
  Start();
  EXPECT_EQ(Messages(), std::vector<std::wstring>{L"Ошибка чтения файла!"});
  boxes.shown.clear();
  mainWindow->NewBut.Click();
  mainWindow->cxDay.Click();
  mainWindow->AddBut.Click();
  EXPECT_EQ(Messages(), std::vector<std::wstring>{
                            L"Файл alarm.rec не удалось прочитать. Его прежнее содержимое "
                            L"сохранено в файле " +
                            dir.ProgramDir() + L"alarm.rec.bad"});
  EXPECT_EQ(ReadBytes(dir.Path(L"alarm.rec.bad")), damaged);
  EXPECT_EQ(state->Store.DailyCount, 1);
}

TEST_F(MainForm, AnAlarmFileThatCouldNotBeReadSurvivesTheClose) {
  const Bytes original(389616, 0x42);
  WriteBytes(dir.Path(L"alarm.rec"), original);
  {
#ifdef _WIN32
    HeldFile held(dir.Path(L"alarm.rec"), 0);  // held through the whole wait
    ASSERT_TRUE(held.Held());
#else
    files.FailAt = 1;  // the first call at start is alarm.rec's read
    files.Error = kErrAccessDenied;
#endif
    Start();
  }
  EXPECT_EQ(Messages(), std::vector<std::wstring>{L"Не удалось открыть файл!"});
  mainWindow->Close();
  EXPECT_TRUE(app.terminated);
  EXPECT_EQ(ReadBytes(dir.Path(L"alarm.rec")), original);
  EXPECT_FALSE(fs::exists(dir.Path(L"alarm.rec.bad")));
}

TEST_F(MainForm, SettingsThatCannotBeSavedStillTakeEffectAndSaySo) {
  WriteConfigBytes({0, 0, 0, 1, 0, 0, 0});
  Start();
  // A folder where config.cfg goes: no file can replace it (a read-only
  // file does the same on Windows, but not under Wine run as root).
  fs::remove(dir.Path(L"config.cfg"));
  fs::create_directory(dir.Path(L"config.cfg"));
  mainWindow->ShowListBut.Click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].kind, TFakeMessageBoxes::Kind::Error);
  EXPECT_EQ(boxes.shown[0].text, L"Не удалось сохранить настройки в файл " + dir.ProgramDir() +
                                     L"config.cfg: File access denied");
  EXPECT_TRUE(mainWindow->RzTabControl.Visible()) << "the toggle did not take effect";
  // Activating again keeps the settings of this run as well.
  fs::remove(dir.Path(L"config.cfg"));
  WriteConfigBytes({0, 0, 0, 1, 0, 0, 0});
  wakeUpWindow()->ShowRing(L"", true, 10);
  wakeUpWindow()->OK.Click();
  mainWindow->Activated(wakeUpWindow());
  EXPECT_TRUE(mainWindow->RzTabControl.Visible()) << "the old file undid the toggle";
  // The next write that works stores them.
  mainWindow->ShowListBut.Click();
  mainWindow->ShowListBut.Click();
  EXPECT_EQ(ConfigBytes(), (Bytes{1, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(MainForm, ActivationRepeatsOnlyAfterTheWakeUpWindow) {
  Start();
  const int writes = runValue.writeCount;
  ASSERT_EQ(writes, 1);

  // A modal dialog hands the focus back without the start-up sequence.
  ScriptModal(program->Settings, [](TForm&) { return 0; });
  mainWindow->OptionBut.Click();
  mainWindow->Activated(&program->Settings);
  EXPECT_EQ(runValue.writeCount, writes);
  EXPECT_EQ(app.bringToFrontCount, 1);
  ScriptModal(program->About, [](TForm&) { return 0; });
  mainWindow->InfoBut.Click();
  mainWindow->Activated(&program->About);
  EXPECT_EQ(runValue.writeCount, writes);

  // Back from the wake-up window: the settings are read again.
  WriteConfigBytes({1, 0, 0, 1, 0, 0, 0});
  wakeUpWindow()->ShowRing(L"hi", true, 10);
  wakeUpWindow()->OK.Click();
  mainWindow->Activated(wakeUpWindow());
  EXPECT_GT(runValue.writeCount, writes);
  EXPECT_EQ(mainWindow->ClientWidth(), 565);
}

TEST_F(MainForm, AFailingRunValueIsReported) {
  runValue.failNextWrite = TFakeRunValue::Fault::CreateKey;
  Start();
  EXPECT_EQ(Messages(), std::vector<std::wstring>{L"Failed to create key Run"});
}

TEST_F(MainForm, TickFiresDueAlarmsIntoTheWakeUpWindowAndStaysOnTheSecond) {
  Create();
  state->Store.DailyCount = 1;
  state->Store.DailyAlarms[0].AlarmTime = EncodeTime(7, 5, 10, 0);
  ToShortString(L"Доброе утро", state->Store.DailyAlarms[0].Msg);
  mainWindow->Time.Tick();
  EXPECT_FALSE(wakeUpWindow()->Visible());
  EXPECT_EQ(mainWindow->Time.Interval(), 1000 - 400 + 20);
  clock.Advance(1000);
  mainWindow->Time.Tick();
  EXPECT_TRUE(wakeUpWindow()->Visible());
  EXPECT_EQ(wakeUpWindow()->Memo.Text(), L"Доброе утро");
}

TEST_F(MainForm, DraggingByTheStripAndTheTitle) {
  Start();
  TDragWatch drags(*mainWindow);
  mainWindow->HEAD.MouseDown(TMouseButton::Left);
  mainWindow->cxLabel1.MouseDown(TMouseButton::Right);
  mainWindow->LabelTime.MouseDown(TMouseButton::Left);
  EXPECT_EQ(drags.Count(), 2);
}

#ifdef _WIN32
// Every window of the main form sits at its design place times the screen's
// scale (within the pixel a rounding can take); the suite runs this at 96
// and again at 144 dots per inch.
void ExpectScaled(const TControl& c, int dpi) {
  for (const TControl* child : c.Children()) {
    HWND h = static_cast<HWND>(child->Peer().Handle());
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    const auto within = [](long actual, int design, int dpi) {
      return std::abs(actual - MulDiv(design, dpi, 96)) <= 1;
    };
    EXPECT_TRUE(within(r.left, child->Left(), dpi) && within(r.top, child->Top(), dpi) &&
                within(r.right - r.left, child->Width(), dpi))
        << "at " << r.left << "," << r.top << " width " << (r.right - r.left) << " for design "
        << child->Left() << "," << child->Top() << " width " << child->Width();
    // A combo box's window holds its dropped-down list as well.
    if (!As<TComboBox>(child)) {
      EXPECT_TRUE(within(r.bottom - r.top, child->Height(), dpi))
          << "height " << (r.bottom - r.top) << " for design " << child->Height();
    }
    ExpectScaled(*child, dpi);
  }
}

TEST_F(MainForm, AtTheScreensScaleEveryWindowIsItsDesignTimesTheScale) {
  WriteConfigBytes({1, 1, 0, 0, 0, 0, 0});  // list and editor shown: every control placed
  Start();
  HWND main = static_cast<HWND>(mainWindow->Peer().Handle());
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT client;
  GetClientRect(main, &client);
  EXPECT_NEAR(client.right, MulDiv(565, dpi, 96), 1);
  EXPECT_NEAR(client.bottom, MulDiv(557, dpi, 96), 1);
  ExpectScaled(*mainWindow, dpi);
  program.reset();

  // The first-start layout.
  std::filesystem::remove(dir.Path(L"config.cfg"));
  state = std::make_unique<TAppState>();
  Start();
  main = static_cast<HWND>(mainWindow->Peer().Handle());
  GetClientRect(main, &client);
  RECT clock;
  GetClientRect(static_cast<HWND>(mainWindow->LabelTime.Peer().Handle()), &clock);
  if (dpi == 144) {
    EXPECT_EQ(client.right, 224);
    EXPECT_EQ(client.bottom, 332);
    EXPECT_EQ(clock.right, 170);
    EXPECT_EQ(clock.bottom, 86);
  } else {
    EXPECT_EQ(client.right, MulDiv(149, dpi, 96));
    EXPECT_EQ(client.bottom, MulDiv(221, dpi, 96));
  }
  std::cout << "[ scale    ] " << dpi << " dpi: first-start client " << client.right << " x "
            << client.bottom << ", clock " << clock.right << " x " << clock.bottom << "\n";
}

// What the form's description puts on top at a point of `container` (design
// pixels inside it): the last declared visible child there, and so on down.
const TControl* DescribedAt(const TControl& container, int x, int y) {
  const auto& children = container.Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    const TControl& c = **it;
    if (c.Showing() && x >= c.Left() && x < c.Right() && y >= c.Top() && y < c.Bottom()) {
      return DescribedAt(c, x - c.Left(), y - c.Top());
    }
  }
  return &container;
}

HWND H(const TControl& c) { return static_cast<HWND>(c.Peer().Handle()); }

// A window's class and text, for a failure's message.
std::string Utf8(HWND h) {
  wchar_t cls[32] = {}, text[64] = {};
  GetClassNameW(h, cls, 32);
  SendMessageW(h, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
  const std::wstring both = std::wstring(cls) + L" " + text;
  std::string out(both.size() * 3 + 1, '\0');
  out.resize(static_cast<std::size_t>(WideCharToMultiByte(
      CP_UTF8, 0, both.c_str(), static_cast<int>(both.size()), out.data(),
      static_cast<int>(out.size()), nullptr, nullptr)));
  return out;
}

// The centre of every visible control of a form reaches that control (or
// the one declared above it there), found from the form down as Windows
// finds the window under the mouse; and every control that shows a text
// names itself with it.
void ExpectCentresReachTheirControls(const TForm& form, int dpi) {
  const std::function<void(const TControl&, int, int)> visit = [&](const TControl& parent, int dx,
                                                                  int dy) {
    for (const TControl* c : parent.Children()) {
      if (!c->Showing()) continue;
      const int x = dx + c->Left() + c->Width() / 2, y = dy + c->Top() + c->Height() / 2;
      const TControl* top = DescribedAt(form, x, y);
      POINT p = {MulDiv(x, dpi, 96), MulDiv(y, dpi, 96)};
      HWND at = H(form);
      while (at != H(*top)) {
        HWND child = ChildWindowFromPointEx(at, p, CWP_SKIPINVISIBLE);
        if (!child || child == at) break;
        MapWindowPoints(at, child, &p, 1);
        at = child;
      }
      EXPECT_EQ(at, H(*top)) << "the centre of the control at " << c->Left() << "," << c->Top()
                             << " reaches \"" << Utf8(at) << "\" instead of \"" << Utf8(H(*top))
                             << "\"";
      const bool named = As<TLabel>(c) || As<TTextImage>(c) ||
                         As<TGradientStrip>(c) || As<TButton>(c);
      if (named) {
        wchar_t text[256] = {};
        SendMessageW(H(*c), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), c->Caption()) << "control at " << c->Left() << "," << c->Top();
      }
      visit(*c, dx + c->Left(), dy + c->Top());
    }
  };
  visit(form, 0, 0);
}

TEST_F(MainForm, AtTheScreensScaleEveryControlIsReachedWhereItShows) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  // The four layouts of the main window.
  for (const Bytes& config : {Bytes{0, 0, 0, 0, 0, 0, 0}, Bytes{1, 0, 0, 0, 0, 0, 0},
                              Bytes{0, 1, 1, 0, 0, 0, 0}, Bytes{1, 1, 1, 0, 0, 0, 0}}) {
    SCOPED_TRACE(testing::Message() << "list " << int(config[0]) << ", editor " << int(config[1]));
    WriteConfigBytes(config);
    state = std::make_unique<TAppState>();
    Start();
    Pump();
    ExpectCentresReachTheirControls(*mainWindow, dpi);
  }
  // The dialogs and the wake-up window.
  for (TForm* other : {static_cast<TForm*>(&program->Settings), static_cast<TForm*>(&program->About),
                       static_cast<TForm*>(wakeUpWindow())}) {
    other->ShowNormal();
    Pump();
    ExpectCentresReachTheirControls(*other, dpi);
    other->Hide();
  }
}
#endif

}  // namespace

