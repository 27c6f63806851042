// The random tune of an alarm whose music is a whole section: what each
// ring picks, and what a ring of such an alarm plays, with no window.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "engine/random_tune.h"
#include "engine/ring_session_fixture.h"
#include "fakes/fake_random.h"
#include "fakes/memory_file_system.h"
#include "platform/random.h"

namespace fs = std::filesystem;

namespace {

const std::wstring kRock = L"C:\\T\\Sound\\Rock\\";
const std::wstring kPop = L"C:\\T\\Sound\\Pop\\";

struct TRingCase {
  const char* name;
  std::vector<std::wstring> files;  // full paths in the memory file system
  std::vector<std::size_t> numbers;  // what the random source answers, in a loop
  // Each ring's music and the file it plays.
  std::vector<std::pair<std::wstring, std::wstring>> rings;
};

TEST(RandomTune, EachRingPicksATuneOfItsSection) {
  const TRingCase cases[] = {
      {"two tunes take turns even when the draw repeats",
       {kRock + L"a.mp3", kRock + L"b.wav"},
       {0},
       {{kRock, kRock + L"a.mp3"},
        {kRock, kRock + L"b.wav"},
        {kRock, kRock + L"a.mp3"},
        {kRock, kRock + L"b.wav"}}},
      {"three tunes: the previous one leaves the draw",
       {kRock + L"a.mp3", kRock + L"b.mp3", kRock + L"c.mp3"},
       {2, 1, 0},
       {{kRock, kRock + L"c.mp3"},
        {kRock, kRock + L"b.mp3"},
        {kRock, kRock + L"a.mp3"},
        {kRock, kRock + L"b.mp3"}}},
      {"one tune rings every time",
       {kRock + L"only.wav"},
       {1},
       {{kRock, kRock + L"only.wav"}, {kRock, kRock + L"only.wav"}}},
      {"files that are not music and sub-folders are passed over; any letter case",
       {kRock + L"A.MP3", kRock + L"b.Wav", kRock + L"c.wav.bak", kRock + L"cover.jpg",
        kRock + L"loop.wav\\x.mp3", kRock + L"mp3", kRock + L"notes.txt"},
       {0},
       {{kRock, kRock + L"A.MP3"}, {kRock, kRock + L"b.Wav"}, {kRock, kRock + L"A.MP3"}}},
      {"each section remembers its own previous tune",
       {kRock + L"r1.mp3", kRock + L"r2.mp3", kPop + L"p1.mp3", kPop + L"p2.mp3"},
       {0},
       {{kRock, kRock + L"r1.mp3"},
        {kPop, kPop + L"p1.mp3"},
        {kRock, kRock + L"r2.mp3"},
        {kPop, kPop + L"p2.mp3"}}},
      {"a section without music gives its folder, which the player cannot open",
       {kRock + L"readme.txt", kRock + L"old\\a.mp3"},
       {0},
       {{kRock, kRock}, {kRock, kRock}}},
      {"a missing section gives its folder",
       {kPop + L"p1.mp3"},
       {0},
       {{kRock, kRock}}},
      {"music that names a file is that file",
       {kRock + L"a.mp3", kRock + L"b.mp3"},
       {1},
       {{kRock + L"a.mp3", kRock + L"a.mp3"}, {L"", L""}}},
  };
  for (const TRingCase& c : cases) {
    SCOPED_TRACE(c.name);
    TMemoryFileSystem files;
    for (const std::wstring& f : c.files) files.Files[f] = {1, 2, 3};
    TFakeRandom random(c.numbers);
    TRandomTune tunes(files, random);
    for (const auto& [music, plays] : c.rings) EXPECT_EQ(tunes.Pick(music), plays) << music;
  }
}

TEST(RandomTune, ManyRingsNeverRepeatATuneAndReachEveryOne) {
  // A long, uneven run of numbers, as a generator gives.
  std::vector<std::size_t> numbers;
  std::uint32_t x = 12345;
  for (int k = 0; k < 97; ++k) numbers.push_back((x = x * 1103515245u + 12345u) >> 16);
  for (const std::size_t count : {2u, 3u, 5u}) {
    SCOPED_TRACE(count);
    TMemoryFileSystem files;
    for (std::size_t k = 0; k < count; ++k) {
      files.Files[kRock + L"t" + std::to_wstring(k) + L".mp3"] = {1};
    }
    TFakeRandom random(numbers);
    TRandomTune tunes(files, random);
    std::map<std::wstring, int> times;
    std::wstring previous;
    for (int ring = 0; ring < 500; ++ring) {
      const std::wstring tune = tunes.Pick(kRock);
      EXPECT_NE(tune, previous) << "ring " << ring;
      previous = tune;
      ++times[tune];
    }
    EXPECT_EQ(times.size(), count);
    // After the first ring the draw is always among the others alone.
    EXPECT_EQ(std::count(random.asked.begin() + 1, random.asked.end(), count - 1), 499);
  }
}

TEST(RandomTune, TheProgramsSourceStaysInRangeAndReachesEveryNumber) {
  TRandomSource& random = SystemRandom();
  for (const std::size_t count : {1u, 2u, 3u, 7u}) {
    std::set<std::size_t> seen;
    for (int k = 0; k < 1000; ++k) {
      const std::size_t n = random.Below(count);
      ASSERT_LT(n, count);
      seen.insert(n);
    }
    EXPECT_EQ(seen.size(), count);
  }
}

// The same over the ring session, on real files: each ring of a section's
// alarm, a snooze's included, opens another of its tunes; a section with
// nothing to play sounds the tone and tells the player's error, as any
// missing music does.
class RandomTuneRings : public RingSessionTest {
 protected:
  void MakeFiles(const std::wstring& section, const std::vector<std::wstring>& names) {
    fs::create_directories(dir.Path(L"Sound") / section);
    for (const std::wstring& n : names) WriteBytes(dir.Path(L"Sound") / section / n, {1, 2});
  }
  std::wstring SoundSection(const std::wstring& name) {
    return dir.ProgramDir() + L"Sound\\" + name + L"\\";
  }
  std::vector<std::wstring> Opened() {
    std::vector<std::wstring> out;
    for (const std::wstring& line : player.Take()) {
      if (line.rfind(L"open ", 0) == 0) out.push_back(line.substr(5));
    }
    return out;
  }
};

TEST_F(RandomTuneRings, EverySnoozeRingOpensTheOtherTune) {
  MakeFiles(L"Rock", {L"a.mp3", L"B.WAV", L"cover.jpg"});
  Start();
  RingNow(L"Подъём", L"", SoundSection(L"Rock"));
  std::vector<std::wstring> opened = Opened();
  for (int ring = 0; ring < 4; ++ring) {
    SnoozeAsOffered();
    RunToWakeTimer();
    ASSERT_TRUE(view.ringShown);
    for (const std::wstring& f : Opened()) opened.push_back(f);
  }
  ASSERT_EQ(opened.size(), 5u) << "each ring opens its tune";
  for (std::size_t k = 0; k < opened.size(); ++k) {
    EXPECT_TRUE(opened[k] == SoundSection(L"Rock") + L"a.mp3" ||
                opened[k] == SoundSection(L"Rock") + L"B.WAV")
        << "ring " << k;
    if (k > 0) {
      EXPECT_NE(opened[k], opened[k - 1]) << "ring " << k;
    }
  }
  EXPECT_TRUE(player.playing);
  EXPECT_TRUE(view.errors.empty());
}

TEST_F(RandomTuneRings, ASectionWithNothingToPlaySoundsTheToneAndTellsIt) {
  MakeFiles(L"Empty", {L"readme.txt"});
  const struct {
    const char* name;
    std::wstring music;
  } cases[] = {{"no music in it", SoundSection(L"Empty")}, {"no such folder", SoundSection(L"Gone")}};
  Start();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    player.Take();
    view.errors.clear();
    RingNow(L"Подъём", L"", c.music);
    EXPECT_TRUE(view.ringShown);
    EXPECT_EQ(player.Take(), (std::vector<std::wstring>{L"open " + c.music, L"tone"}));
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(view.errors[0], L"no music in " + c.music) << "the player's own error";
    session->Answer();
  }
}

}  // namespace
