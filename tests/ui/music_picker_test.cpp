// The music picker over a real Sound folder.
#include <algorithm>

#include "ui/alarm_ui_fixture.h"

namespace fs = std::filesystem;

namespace {

// The names in a folder, in the order the file system gives them.
std::vector<std::wstring> InFolderOrder(const fs::path& folder,
                                        const std::vector<std::wstring>& names) {
  std::vector<std::wstring> out;
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::wstring n = e.path().filename().wstring();
    if (std::find(names.begin(), names.end(), n) != names.end()) out.push_back(n);
  }
  return out;
}

TEST_F(AlarmUi, SectionsAreFoldersAndMusicIsExactlyMp3AndWav) {
  for (const wchar_t* f :
       {L"bell.mp3", L"Chime.MP3", L"gong.wav", L"drum.ogg", L"old.tar.wav", L"mp3"}) {
    MakeFile(std::wstring(L"Sound/Mix/") + f);
  }
  fs::create_directories(dir.Path(L"Sound/Mix/loop.wav"));
  fs::create_directories(dir.Path(L"Sound/Classic"));
  MakeFile(L"Sound/beep.wav");
  Start();
  TMainWindow& f = *mainWindow;
  EXPECT_EQ(f.cxDirBox.Items(), InFolderOrder(dir.Path(L"Sound"), {L"Mix", L"Classic"}));
  EXPECT_EQ(f.cxDirBox.Text(), L"Выберите раздел ...");
  EXPECT_TRUE(f.cxMusList.Items().empty());
  EXPECT_FALSE(f.cxDirBox.Enabled());

  f.NewBut.Click();
  f.cxCheckMUS.Click();
  EXPECT_TRUE(f.cxDirBox.Enabled());
  f.cxDirBox.TypeText(L"Mix");
  std::vector<std::wstring> rows = InFolderOrder(
      dir.Path(L"Sound/Mix"), {L"bell.mp3", L"gong.wav", L"old.tar.wav", L"mp3"});
  rows.insert(rows.begin(), kRandomTuneRow);
  EXPECT_EQ(f.cxMusList.Items(), rows);
  f.cxMusList.SelectRow(2);
  EXPECT_EQ(f.MusicPicker().LastIndex(), 2);
  // Each activation lists the box's section again and selects that row.
  wakeUp->ShowRing(L"", true, 10);
  wakeUp->OK.Click();
  f.Activated(wakeUp.get());
  EXPECT_EQ(f.cxMusList.ItemIndex(), 2);
  EXPECT_EQ(f.cxDirBox.Text(), L"Mix");
  // The section the text names is the one stored.
  f.cxDay.Click();
  f.AddBut.Click();
  EXPECT_EQ(FromShortString(state->Store.DailyAlarms[0].Mus),
            dir.ProgramDir() + L"Sound\\Mix\\" + f.cxMusList.Items()[2]);
  // Unticking disables both, keeps the sections, empties the music.
  f.cxCheckMUS.Click();
  EXPECT_FALSE(f.cxDirBox.Enabled());
  EXPECT_FALSE(f.cxMusList.Enabled());
  EXPECT_EQ(f.cxDirBox.Items().size(), 2u);
  EXPECT_TRUE(f.cxMusList.Items().empty());
}

TEST_F(AlarmUi, AStoredMusicPathIsFoundByNameOrKeptWhenItIsNotThere) {
  MakeFile(L"Sound/Rock/x.mp3");
  const struct {
    const char* name;
    std::wstring mus;
    int section, file;
    std::wstring storedUnchanged;
  } cases[] = {
      {"another drive and letter case", L"E:\\A\\Sound\\rock\\X.MP3", 0, 1,
       dir.ProgramDir() + L"Sound\\Rock\\x.mp3"},
      {"a renamed section", L"E:\\A\\Sound\\Pop\\x.mp3", -1, -1, L"E:\\A\\Sound\\Pop\\x.mp3"},
      {"a missing file", L"E:\\A\\Sound\\Rock\\y.mp3", 0, -1, L"E:\\A\\Sound\\Rock\\y.mp3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    state = std::make_unique<TAppState>();
    state->Store.DailyCount = 1;
    ToShortString(c.mus, state->Store.DailyAlarms[0].Mus);
    EXPECT_TRUE(SaveAlarms(state->Store, dir.ProgramDir(), state->AlarmFile).Saved());
    Start();
    ShowTab(1);
    mainWindow->cxListBox.SelectRow(0);
    mainWindow->EditBut.Click();
    EXPECT_TRUE(mainWindow->cxCheckMUS.Checked());
    EXPECT_EQ(mainWindow->cxDirBox.ItemIndex(), c.section);
    EXPECT_EQ(mainWindow->cxMusList.ItemIndex(), c.file);
    mainWindow->AddBut.Click();
    EXPECT_EQ(FromShortString(state->Store.DailyAlarms[0].Mus), c.storedUnchanged);
    // Unticking the music box does clear it.
    mainWindow->cxListBox.SelectRow(0);
    mainWindow->EditBut.Click();
    mainWindow->cxCheckMUS.Click();
    mainWindow->AddBut.Click();
    EXPECT_EQ(state->Store.DailyAlarms[0].Mus.Len, 0);
    program.reset();
  }
}

TEST_F(AlarmUi, ASectionWithMusicOffersARandomTuneFirstThatStoresTheFolder) {
  MakeFile(L"Sound/Rock/a.mp3");
  MakeFile(L"Sound/Rock/b.wav");
  MakeFile(L"Sound/Docs/readme.txt");
  Start();
  TMainWindow& f = *mainWindow;
  f.NewBut.Click();
  f.cxCheckMUS.Click();
  const struct {
    const char* name;
    std::wstring section;
    std::size_t rows;  // with the random tune
  } cases[] = {{"a section with music", L"Rock", 3}, {"no music: no random tune", L"Docs", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    f.cxDirBox.TypeText(c.section);
    ASSERT_EQ(f.cxMusList.Items().size(), c.rows);
    if (c.rows > 0) {
      EXPECT_EQ(f.cxMusList.Items()[0], kRandomTuneRow);
    }
  }
  f.cxDirBox.TypeText(L"Rock");
  f.cxMusList.SelectRow(0);
  f.cxDay.Click();
  f.AddBut.Click();
  const std::wstring folder = dir.ProgramDir() + L"Sound\\Rock\\";
  EXPECT_EQ(FromShortString(state->Store.DailyAlarms[0].Mus), folder);

  // Opened again, the alarm shows its section and the random tune, and
  // stores the same folder when kept.
  ShowTab(1);
  f.cxListBox.SelectRow(0);
  f.EditBut.Click();
  EXPECT_TRUE(f.cxCheckMUS.Checked());
  ASSERT_GE(f.cxDirBox.ItemIndex(), 0);
  EXPECT_EQ(f.cxDirBox.Items()[static_cast<std::size_t>(f.cxDirBox.ItemIndex())], L"Rock");
  EXPECT_EQ(f.cxMusList.ItemIndex(), 0);
  f.AddBut.Click();
  EXPECT_EQ(FromShortString(state->Store.DailyAlarms[0].Mus), folder);
  // A file of the section is stored as before.
  f.cxListBox.SelectRow(0);
  f.EditBut.Click();
  f.cxMusList.SelectRow(1);
  f.AddBut.Click();
  EXPECT_EQ(FromShortString(state->Store.DailyAlarms[0].Mus), folder + f.cxMusList.Items()[1]);
}

#ifndef _WIN32
// Windows' paths end at 260 characters, so a section whose folder does not
// fit the 255 characters of the music field is made only here.
TEST_F(AlarmUi, ASectionTooLongForTheMusicFieldOffersNoRandomTune) {
  const std::size_t base = (dir.ProgramDir() + L"Sound\\").size();
  ASSERT_LT(base, 200u);
  const std::wstring fits(255 - base - 1, L'f');  // with its backslash, 255
  const std::wstring tooLong(255 - base, L'l');
  MakeFile(L"Sound/" + fits + L"/a.mp3");
  MakeFile(L"Sound/" + tooLong + L"/a.mp3");
  Start();
  TMainWindow& f = *mainWindow;
  f.NewBut.Click();
  f.cxCheckMUS.Click();
  f.cxDirBox.TypeText(fits);
  EXPECT_EQ(f.cxMusList.Items(), (std::vector<std::wstring>{kRandomTuneRow, L"a.mp3"}));
  f.cxDirBox.TypeText(tooLong);
  EXPECT_EQ(f.cxMusList.Items(), (std::vector<std::wstring>{L"a.mp3"}));
}
#endif

}  // namespace
