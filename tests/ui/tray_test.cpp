#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "fakes/ui_driver.h"
#include "ui/program_windows.h"

#ifdef _WIN32
#include <windows.h>

#include "controls/win32/tray_peer.h"
#else
#include "fakes/recording_backend.h"
#endif

namespace fs = std::filesystem;

namespace {

class Tray : public ProgramTest {
 public:
  // A user's choice in the tray icon's menu, opened by its right button.
  void Choose(int item) {
    // A menu opened while X still reports the last dialog's activation is
    // closed by that report at once.
    Settle();
    ScriptMenuChoice(item);
    mainWindow().RzTrayIcon1.Release(TMouseButton::Right);
    Pump();
  }
  bool FormCloseRan() { return fs::exists(dir.Path(L"alarm.rec")); }
};

enum TItem { kShow = 0, kHide = 1, kSettings = 3, kDaysOff = 4, kAbout = 6, kQuit = 8 };

TEST_F(Tray, CommandsAndImagesMoveBetweenTheWindowStates) {
  const struct {
    const char* name;
    std::uint8_t minToTray;
    bool fromTray;  // starts minimised to the tray
    std::function<void(Tray&)> act;
    bool inTray;
    bool ended;
    int broughtToFront;
  } cases[] = {
      {"\"_\"", 0, false, [](Tray& t) { t.mainWindow().im1.Click(); }, true, false, 0},
      {"\"X\" ends", 0, false, [](Tray& t) { t.mainWindow().im2.Click(); }, false, true, 0},
      {"\"X\" with close-to-tray", 1, false, [](Tray& t) { t.mainWindow().im2.Click(); }, true, false,
       0},
      {"Спрятать", 0, false, [](Tray& t) { t.Choose(kHide); }, true, false, 0},
      {"Спрятать in the tray", 0, true, [](Tray& t) { t.Choose(kHide); }, true, false, 0},
      {"Закрыть with close-to-tray", 1, false, [](Tray& t) { t.Choose(kQuit); }, false, true, 0},
      {"Закрыть from the tray", 0, true, [](Tray& t) { t.Choose(kQuit); }, true, true, 0},
      {"Показать", 0, true, [](Tray& t) { t.Choose(kShow); }, false, false, 0},
      {"left press", 0, true, [](Tray& t) { t.mainWindow().RzTrayIcon1.Press(TMouseButton::Left); },
       false, false, 1},
      {"left press while shown", 0, false,
       [](Tray& t) { t.mainWindow().RzTrayIcon1.Press(TMouseButton::Left); }, false, false, 1},
      {"right press", 0, true, [](Tray& t) { t.mainWindow().RzTrayIcon1.Press(TMouseButton::Right); },
       true, false, 0},
      {"menu left without a choice", 0, true, [](Tray& t) { t.Choose(-1); }, true, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    state.Settings = TSettings();
    app = TFakeApplicationWindow();
    WriteConfigBytes({0, 0, 0, 0, 0, c.minToTray, 0});
    Start();
    if (c.fromTray) app.Minimize();
    const int minimizes = app.minimizeCount;
    c.act(*this);
    EXPECT_EQ(app.minimized, c.inTray);
    EXPECT_EQ(mainWindow().Visible(), !c.inTray);
    EXPECT_EQ(mainWindow().Time.Enabled(), !c.inTray) << "the clock ticks only while seen";
    EXPECT_EQ(app.minimizeCount - minimizes, c.inTray && !c.fromTray ? 1 : 0);
    EXPECT_EQ(app.terminated, c.ended);
    EXPECT_FALSE(FormCloseRan()) << "quitting skips FormClose";
    EXPECT_EQ(app.bringToFrontCount, c.broughtToFront);
    program.reset();
  }
}

TEST_F(Tray, TheMenuOpensAtTheMouseWithItsNineItems) {
  Start();
#ifndef _WIN32
  Recorder().mouse = {900, 740};
#endif
  Choose(-1);
#ifndef _WIN32
  const auto& shown = Recorder().MenusShown().back();
  EXPECT_EQ(shown.X, 900);
  EXPECT_EQ(shown.Y, 740);
  EXPECT_EQ(shown.Captions,
            (std::vector<std::wstring>{L"Показать", L"Спрятать", L"", L"Настройки",
                                       L"Выходные и рабочие дни", L"", L"О программе", L"",
                                       L"Закрыть"}));
#endif
  EXPECT_EQ(mainWindow().abfPopupMenu1.Items.size(), 9u);
  for (int i : {2, 5, 7}) EXPECT_TRUE(mainWindow().abfPopupMenu1.Items[i].Separator);
}

TEST_F(Tray, DialogCommandsShowTheirDialogThenBringTheProgramForward) {
  const struct {
    int item;
    std::function<TForm&(Tray&)> dialog;
  } cases[] = {{kSettings, [](Tray& t) -> TForm& { return t.settingsDialog(); }},
               {kDaysOff, [](Tray& t) -> TForm& { return t.daysOffDialog(); }},
               {kAbout, [](Tray& t) -> TForm& { return t.aboutDialog(); }}};
  Start();
  int fronts = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    TForm& dialog = c.dialog(*this);
    bool shown = false;
    ScriptModal(dialog, [&](TForm& f) {
      shown = f.Visible() && f.IsModal();
      return 0;
    });
    Choose(c.item);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(app.bringToFrontCount, ++fronts);
  }
}

TEST_F(Tray, MinimisingWhileTheSettingsDialogIsOpenClosesItWithoutSaving) {
  WriteConfigBytes({0, 0, 0, 1, 0, 0, 0});
  Start();
  const Bytes before = ConfigBytes();
  runValue.values.clear();
  bool closedByHiding = false;
  ScriptModal(settingsDialog(), [&](TForm& f) {
    auto& d = static_cast<TSettingsDialog&>(f);
    d.Auto.Check(false);
    d.ShowMes.Check(true);
    Choose(kHide);
    closedByHiding = !d.Visible();
    return 0;
  });
  mainWindow().OptionBut.Click();
  EXPECT_TRUE(closedByHiding);
  EXPECT_TRUE(app.minimized);
  EXPECT_EQ(state.Settings.AutoLoad, 1);
  EXPECT_EQ(state.Settings.ShowMessages, 0);
  EXPECT_EQ(ConfigBytes(), before);
  EXPECT_TRUE(runValue.values.empty()) << "the registry was touched";
}

TEST_F(Tray, TheIconIsThereForTheWholeRun) {
  Start();
  EXPECT_TRUE(mainWindow().RzTrayIcon1.Visible());
  EXPECT_EQ(mainWindow().RzTrayIcon1.Hint(), L"Tivorra");
#ifdef _WIN32
  // The real notification area: our icon at the small-icon size of the
  // screen's scale, added again when the taskbar comes back.
  const win32::TTrayRecord* tray = win32::TrayRecord();
  ASSERT_NE(tray, nullptr);
  EXPECT_TRUE(tray->Added);
  EXPECT_EQ(std::wstring(tray->Data.szTip), L"Tivorra");
  EXPECT_EQ(tray->Data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(tray->Data.hIcon, &info));
  BITMAP bm{};
  GetObjectW(info.hbmColor, sizeof(bm), &bm);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(bm.bmWidth, MulDiv(16, dpi, 96));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  const HICON ours = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
  EXPECT_NE(ours, nullptr) << "the program's icon is in the resources";
  DestroyIcon(ours);

  NOTIFYICONDATAW data = tray->Data;
  Shell_NotifyIconW(NIM_DELETE, &data);
  SendMessageW(tray->Window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(tray->Added);
  data = tray->Data;
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &data)) << "added again";
  program.reset();
  EXPECT_EQ(win32::TrayRecord(), nullptr);
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &data)) << "removed at the end";
#else
  Recorder().TaskbarCreated();
  EXPECT_TRUE(Recorder().Tray().Added);
  program.reset();
  EXPECT_FALSE(Recorder().Tray().Added) << "removed at the end";
#endif
}

}  // namespace
