#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "fakes/ui_driver.h"
#include "ui/program_windows.h"

namespace fs = std::filesystem;

namespace {

using TBoxes = std::array<TCheckBox*, 4>;
TBoxes BoxesOf(TSettingsDialog& f) { return {&f.Auto, &f.onClickEdit, &f.onCloseMinToTray, &f.ShowMes}; }
// The four user settings, in the boxes' order: config.cfg bytes 3 to 6.
using TFour = std::array<std::uint8_t, 4>;
TFour FourOf(const TSettings& s) {
  return {s.AutoLoad, s.EditOnClick, s.MinToTrayOnClose, s.ShowMessages};
}

class SettingsDialog : public ProgramTest {
 protected:
  // Starts with the four settings from config.cfg and the Run value there
  // or not as the setting says.
  void StartWith(const TFour& on) {
    WriteConfigBytes({0, 0, 0, on[0], on[1], on[2], on[3]});
    Start();
    if (!on[0]) runValue.values.erase(L"Tivorra");
    configBefore = ConfigBytes();
  }
  // Opens the dialog from the main window; `act` plays the user.
  void Open(std::function<void(TSettingsDialog&)> act) {
    ScriptModal(settingsDialog(), [act](TForm& f) {
      act(static_cast<TSettingsDialog&>(f));
      return 0;
    });
    mainWindow().OptionBut.Click();
  }
  std::array<TCheckState, 4> States() {
    std::array<TCheckState, 4> out{};
    const TBoxes b = BoxesOf(settingsDialog());
    for (std::size_t i = 0; i < 4; ++i) out[i] = b[i]->State();
    return out;
  }
  Bytes configBefore;
};

constexpr auto U = TCheckState::Unchecked;
constexpr auto C = TCheckState::Checked;
constexpr auto G = TCheckState::Grayed;

TEST_F(SettingsDialog, BoxesCycleAndOnlyOkStores) {
  enum class TEnd { Ok, Cancel, CloseBox };
  const struct {
    const char* name;
    TFour before;
    std::array<int, 4> clicks;
    std::array<TCheckState, 4> shown;  // after the clicks
    TEnd end;
    TFour after;
  } cases[] = {
      {"all off, OK without a click",
       {0, 0, 0, 0},
       {0, 0, 0, 0},
       {U, U, U, U},
       TEnd::Ok,
       {0, 0, 0, 0}},
      {"all on, OK without a click",
       {1, 1, 1, 1},
       {0, 0, 0, 0},
       {G, G, G, G},
       TEnd::Ok,
       {1, 1, 1, 1}},
      {"grayed, one click: checked, stays on",
       {1, 1, 1, 1},
       {1, 1, 1, 1},
       {C, C, C, C},
       TEnd::Ok,
       {1, 1, 1, 1}},
      {"grayed, two clicks: off", {1, 1, 1, 1}, {2, 2, 2, 2}, {U, U, U, U}, TEnd::Ok, {0, 0, 0, 0}},
      {"unchecked, one click: on",
       {0, 0, 0, 0},
       {1, 1, 1, 1},
       {C, C, C, C},
       TEnd::Ok,
       {1, 1, 1, 1}},
      {"three clicks never reach grayed",
       {0, 1, 0, 1},
       {3, 3, 0, 2},
       {C, C, U, U},
       TEnd::Ok,
       {1, 1, 0, 0}},
      {"cancel stores nothing",
       {1, 0, 1, 0},
       {2, 1, 2, 1},
       {U, C, U, C},
       TEnd::Cancel,
       {1, 0, 1, 0}},
      {"the close box stores nothing",
       {0, 1, 0, 1},
       {1, 2, 1, 2},
       {C, U, C, U},
       TEnd::CloseBox,
       {0, 1, 0, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    state.Settings = TSettings();
    runValue.values.clear();
    fs::remove(dir.Path(L"config.cfg"));
    StartWith(c.before);
    std::array<TCheckState, 4> opened{}, shown{};
    Open([&](TSettingsDialog& f) {
      opened = States();
      const TBoxes b = BoxesOf(f);
      for (std::size_t i = 0; i < 4; ++i) {
        for (int k = 0; k < c.clicks[i]; ++k) b[i]->Click();
      }
      shown = States();
      if (c.end == TEnd::Ok) f.OK.Click();
      if (c.end == TEnd::Cancel) f.CANCEL.Click();
      if (c.end == TEnd::CloseBox) f.Close();
      EXPECT_FALSE(f.Visible());
    });
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(opened[i], c.before[i] ? G : U) << i;
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(FourOf(state.Settings), c.after);
    EXPECT_EQ(runValue.values.count(L"Tivorra"), c.after[0] ? 1u : 0u);
    if (c.end == TEnd::Ok) {
      EXPECT_EQ(ConfigBytes(), (Bytes{0, 0, 0, c.after[0], c.after[1], c.after[2], c.after[3]}));
    } else {
      EXPECT_EQ(ConfigBytes(), configBefore);
    }
    // The next opening shows what is stored: on as grayed.
    Open([&](TSettingsDialog&) { opened = States(); });
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(opened[i], c.after[i] ? G : U) << i;
    program.reset();
  }
}

TEST_F(SettingsDialog, AFailingRunValueEndsOkAtItsFirstStepAndTheDialogStays) {
  StartWith({0, 0, 0, 0});
  runValue.failNextWrite = TFakeRunValue::Fault::SetData;
  bool stayed = false;
  Open([&](TSettingsDialog& f) {
    f.Auto.Click();
    f.onClickEdit.Click();
    f.OK.Click();
    stayed = f.Visible() && f.IsModal();
    f.CANCEL.Click();
  });
  EXPECT_TRUE(stayed);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].kind, TFakeMessageBoxes::Kind::Error);
  EXPECT_EQ(boxes.shown[0].text, L"Failed to set data for 'Tivorra'");
  EXPECT_EQ(FourOf(state.Settings), (TFour{0, 0, 0, 0}));
  EXPECT_EQ(ConfigBytes(), configBefore);
  EXPECT_EQ(runValue.values.count(L"Tivorra"), 0u);
}

TEST_F(SettingsDialog, OkReappliesTheLayoutFromTheFile) {
  StartWith({0, 0, 0, 0});
  state.Settings.ListVisible = 1;  // as a toggle whose save failed would leave it
  Open([](TSettingsDialog& f) { f.OK.Click(); });
  EXPECT_EQ(ConfigBytes(), (Bytes{1, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(mainWindow().RzTabControl.Visible());
  EXPECT_EQ(app.bringToFrontCount, 1) << "the program comes forward after the dialog";
}

TEST_F(SettingsDialog, IsOwnedCentredAndInTheOrderOfItsTabs) {
  Start();
  EXPECT_EQ(settingsDialog().Owner(), &mainWindow());
  EXPECT_EQ(settingsDialog().Position(), TPosition::OwnerCenter);
  EXPECT_EQ(settingsDialog().ClientWidth(), 339);
  EXPECT_EQ(settingsDialog().ClientHeight(), 343);
  const std::vector<TControl*> order = settingsDialog().TabOrder();
  const std::vector<TControl*> want = {&settingsDialog().Auto,
                                       &settingsDialog().OK,
                                       &settingsDialog().CANCEL,
                                       &settingsDialog().onClickEdit,
                                       &settingsDialog().onCloseMinToTray,
                                       &settingsDialog().ShowMes,
                                       &settingsDialog().SnoozeEdit,
                                       &settingsDialog().RingEdit,
                                       &settingsDialog().RaiseBox,
                                       &settingsDialog().MinVolumeEdit,
                                       &settingsDialog().FadeEdit,
                                       &settingsDialog().DaysOffBut};
  EXPECT_EQ(order, want);
  // The signal group's rows lie inside it, one under the other, and the
  // buttons below it.
  const TSettingsDialog& f = settingsDialog();
  EXPECT_GT(f.SnoozeEdit.Top(), f.SignalTitle.Bottom());
  EXPECT_GE(f.RingEdit.Top(), f.SnoozeEdit.Bottom());
  EXPECT_GE(f.RaiseBox.Top(), f.RingEdit.Bottom());
  EXPECT_GE(f.MinVolumeEdit.Top(), f.RaiseBox.Bottom());
  EXPECT_GE(f.FadeEdit.Top(), f.MinVolumeEdit.Bottom());
  EXPECT_LE(f.FadeEdit.Bottom(), f.SignalGroup.Height());
  EXPECT_FALSE(f.WakeWarning.Visible()) << "Windows could not tell, yet it warned";
  EXPECT_GT(f.OK.Top(), f.SignalGroup.Bottom());
  EXPECT_LE(f.CANCEL.Bottom(), f.ClientHeight());
}

TEST_F(SettingsDialog, TheSignalValuesAreShownCheckedAndWrittenOnlyWhenChanged) {
  WriteBytes(dir.Path(L"Tivorra.ini"), {'[', 'S', 'i', 'g', 'n', 'a', 'l', ']', '\r', '\n',
                                        'R', 'i', 'n', 'g', 'M', 'i', 'n', 'u', 't', 'e', 's',
                                        '=', '3', '\r', '\n'});
  const Bytes before = ReadBytes(dir.Path(L"Tivorra.ini"));
  Start();
  // OK without a change writes nothing.
  Open([](TSettingsDialog& f) {
    EXPECT_EQ(f.SnoozeEdit.Text(), L"10");
    EXPECT_EQ(f.RingEdit.Text(), L"3");
    f.OK.Click();
  });
  EXPECT_EQ(ReadBytes(dir.Path(L"Tivorra.ini")), before);

  // Every bad value is told, keeps the dialog open and stores nothing.
  const struct {
    TEdit TSettingsDialog::*field;
    const wchar_t* value;
    const wchar_t* told;
  } bad[] = {
      {&TSettingsDialog::SnoozeEdit, L"0", L"\"Отложить на\": введите целое число минут от 1 до 120."},
      {&TSettingsDialog::SnoozeEdit, L"121", L"\"Отложить на\""},
      {&TSettingsDialog::SnoozeEdit, L"", L"\"Отложить на\""},
      {&TSettingsDialog::SnoozeEdit, L"5 мин", L"\"Отложить на\""},
      {&TSettingsDialog::SnoozeEdit, L"-1", L"\"Отложить на\""},
      {&TSettingsDialog::RingEdit, L"61", L"\"Звонить не дольше\": введите целое число минут от 0 до 60."},
      {&TSettingsDialog::RingEdit, L"x", L"\"Звонить не дольше\""},
      {&TSettingsDialog::RingEdit, L"99999999", L"\"Звонить не дольше\""},
      {&TSettingsDialog::MinVolumeEdit, L"9", L"\"Не тише\": введите целое число процентов от 10 до 100."},
      {&TSettingsDialog::MinVolumeEdit, L"101", L"\"Не тише\""},
      {&TSettingsDialog::FadeEdit, L"121", L"\"Нарастание звука\": введите целое число секунд от 0 до 120."},
      {&TSettingsDialog::FadeEdit, L"-3", L"\"Нарастание звука\""},
  };
  for (const auto& c : bad) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.told) + L"|" + c.value));
    boxes.shown.clear();
    Open([&](TSettingsDialog& f) {
      (f.*c.field).TypeText(c.value);
      f.OK.Click();
      EXPECT_TRUE(f.Visible()) << "the dialog stays for the correction";
    });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.rfind(c.told, 0), 0u) << testing::PrintToString(boxes.shown[0].text);
    EXPECT_EQ(ReadBytes(dir.Path(L"Tivorra.ini")), before);
    EXPECT_EQ(mainWindow().Signal(), (TSignalSettings{10, 3}));
  }

  // Cancel stores nothing; OK stores the changed value alone, and the
  // wake-up window rings with it at once.
  Open([](TSettingsDialog& f) {
    f.SnoozeEdit.TypeText(L"45");
    f.CANCEL.Click();
  });
  EXPECT_EQ(mainWindow().Signal(), (TSignalSettings{10, 3}));
  Open([](TSettingsDialog& f) {
    f.SnoozeEdit.TypeText(L" 45 ");
    f.OK.Click();
  });
  EXPECT_EQ(mainWindow().Signal(), (TSignalSettings{45, 3}));
  const std::string written = "[Signal]\r\nRingMinutes=3\r\nSnoozeMinutes=45\r\n";
  EXPECT_EQ(ReadBytes(dir.Path(L"Tivorra.ini")), Bytes(written.begin(), written.end()));
  // The next ring offers it first.
  state.Store.CountdownCount = 1;
  state.Store.CountdownAlarms[0].AlarmTime =
      static_cast<double>(RoundedMs(clock.Now().Local).value() / 1000) / 86400.0;
  mainWindow().StoreChanged();
  mainWindow().Session().Tick();
  ASSERT_TRUE(wakeUp->Visible());
  EXPECT_EQ(wakeUp->SnoozeChoice.Text(), L"45 мин");
  wakeUp->OK.Click();
  Open([](TSettingsDialog& f) { EXPECT_EQ(f.SnoozeEdit.Text(), L"45"); });
}

TEST_F(SettingsDialog, TheSoundValuesAreShownCheckedAndWritten) {
  Start();
  Open([](TSettingsDialog& f) {
    EXPECT_TRUE(f.RaiseBox.Checked());
    EXPECT_EQ(f.MinVolumeEdit.Text(), L"50");
    EXPECT_EQ(f.FadeEdit.Text(), L"0");
  });
  Open([](TSettingsDialog& f) {
    f.RaiseBox.Click();
    f.MinVolumeEdit.TypeText(L"80");
    f.FadeEdit.TypeText(L"30");
    f.OK.Click();
  });
  TSignalSettings want;
  want.RaiseVolume = 0;
  want.MinVolume = 80;
  want.FadeSeconds = 30;
  EXPECT_EQ(mainWindow().Signal(), want);
  EXPECT_EQ(ReadSignalSettings(dir.ProgramDir()), want);
}

TEST_F(SettingsDialog, SaysSoWhenThePowerPlanKeepsTimersFromWakingThePc) {
  struct Case {
    TWakeTimerSettings plan;
    TPowerSource source;
    bool warned;
  };
  const Case cases[] = {
      {{1, 0}, TPowerSource::Mains, false},
      {{1, 0}, TPowerSource::Battery, true},
      {{0, 1}, TPowerSource::Mains, true},
      {{2, 2}, TPowerSource::Mains, true},
      {{std::nullopt, std::nullopt}, TPowerSource::Mains, false},
      {{0, 0}, TPowerSource::Unknown, false},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.plan.Mains.value_or(9) << "/" << c.plan.Battery.value_or(9)
                                    << " on " << static_cast<int>(c.source));
    power.settings = c.plan;
    power.source = c.source;
    int heightWith = 0;
    Open([&](TSettingsDialog& f) {
      EXPECT_EQ(f.WakeWarning.Visible(), c.warned);
      if (c.warned) {
        EXPECT_GE(f.WakeWarning.Top(), f.FadeEdit.Bottom());
        EXPECT_LE(f.WakeWarning.Bottom(), f.SignalGroup.Height());
      }
      EXPECT_GT(f.DaysOffBut.Top(), f.SignalGroup.Bottom());
      EXPECT_GT(f.OK.Top(), f.DaysOffBut.Bottom());
      heightWith = f.ClientHeight();
    });
    EXPECT_EQ(heightWith > 343, c.warned);
  }
}

}  // namespace
