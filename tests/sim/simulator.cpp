#include "sim/simulator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

#include "engine/ring_session.h"
#include "fakes/fake_audio_output.h"
#include "fakes/fake_power.h"
#include "fakes/fake_random.h"
#include "fakes/fake_ring_player.h"
#include "fakes/fake_tickers.h"
#include "platform/shell.h"
#include "fakes/fake_wake_timer.h"
#include "fakes/memory_file_system.h"
#include "platform/clock.h"
#include "platform/tickers.h"
#include "store/alarm_file.h"
#include "store/program_state.h"

namespace {

constexpr std::int64_t kSec = 1000;
constexpr std::int64_t kMin = 60 * kSec;
constexpr std::int64_t kHour = 60 * kMin;
constexpr std::int64_t kDay = 24 * kHour;
constexpr std::int64_t kLateLimit = 5 * kMin;
constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kNoSkip = std::numeric_limits<std::int64_t>::min();
const std::wstring kDir = L"C:\\Tivorra\\";

// splitmix64: small, fast and the same everywhere.
class TRandom {
 public:
  explicit TRandom(std::uint64_t seed) : s_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // In [lo, hi].
  std::int64_t In(std::int64_t lo, std::int64_t hi) {
    return lo + static_cast<std::int64_t>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
  }
  // Spread over orders of magnitude: seconds to weeks alike.
  std::int64_t Wide(std::int64_t lo, std::int64_t hi) {
    double f = static_cast<double>(Next() % 1000000) / 1000000.0;
    double v = static_cast<double>(lo) * std::pow(static_cast<double>(hi) / static_cast<double>(lo), f);
    return static_cast<std::int64_t>(v);
  }

 private:
  std::uint64_t s_;
};

std::uint64_t Mix(std::uint64_t a, std::uint64_t b) { return TRandom(a * 31 + b).Next(); }

// ---------------------------------------------------------------------------
// The model of the rules. An alarm is due at local wall-clock seconds
// (since 30 December 1899) or, a boot countdown, at a second of uptime.

struct TModelAlarm {
  int Id = 0;
  TAlarmKind Kind = akDaily;
  std::int64_t SecondOfDay = 0;
  std::int64_t Day = 0;      // date alarm: days since 1899
  unsigned Mask = 0;         // weekly: bit 0 Monday
  std::int64_t Target = 0;   // countdown: local second; boot: uptime second
};

// Monday 0 ... Sunday 6 of a day counted from 30 December 1899, a Saturday.
int WeekdayFrom1899(std::int64_t day) { return static_cast<int>(((day + 5) % 7 + 7) % 7); }

std::int64_t DayOf(std::int64_t second) {
  return second >= 0 ? second / 86400 : -((-second + 86399) / 86400);
}

// The user's days off and working days, day by day.
struct TModelDays {
  std::set<std::int64_t> Off;
  std::map<std::int64_t, int> Work;  // the weekday it rings as, Monday 0
};

// `skip`: the one second a skip takes out of a daily or weekly alarm.
bool ModelDueAt(const TModelAlarm& a, std::int64_t s, const TModelDays& days, std::int64_t skip) {
  const std::int64_t day = DayOf(s);
  if (s - day * 86400 != a.SecondOfDay) return false;
  int weekday = WeekdayFrom1899(day);
  if (a.Kind == akDaily || a.Kind == akWeekly) {
    if (s == skip) return false;
    if (const auto w = days.Work.find(day); w != days.Work.end()) {
      weekday = w->second;
    } else if (days.Off.count(day)) {
      return false;
    }
  }
  switch (a.Kind) {
    case akDate:
      return day == a.Day;
    case akDaily:
      return true;
    case akWeekly:
      return (a.Mask >> weekday) & 1u;
    case akCountdown:
      return s >= a.Target;
    case akBootCountdown:
      return false;
  }
  return false;
}

// The seconds in (from, to] at which a wall-clock alarm is due.
template <class F>
void ForDueSeconds(const TModelAlarm& a, const TModelDays& days, std::int64_t skip,
                   std::int64_t from, std::int64_t to, F&& f) {
  if (a.Kind == akBootCountdown || to <= from) return;
  std::int64_t day = DayOf(from + 1);
  for (std::int64_t s = day * 86400 + a.SecondOfDay; s <= to; s += 86400) {
    if (s > from && ModelDueAt(a, s, days, skip)) f(s);
    if (a.Kind == akDate && s > a.Day * 86400) break;
  }
}

std::optional<std::int64_t> FirstDueAfterModel(const TModelAlarm& a, const TModelDays& days,
                                               std::int64_t skip, std::int64_t after) {
  if (a.Kind == akBootCountdown) return std::nullopt;
  std::int64_t s = DayOf(after + 1) * 86400 + a.SecondOfDay;
  if (s <= after) s += 86400;
  if (a.Kind == akDate) {
    const std::int64_t at = a.Day * 86400 + a.SecondOfDay;
    return at > after ? std::optional<std::int64_t>(at) : std::nullopt;
  }
  if (a.Kind == akCountdown && s < a.Target) return a.Target;
  // Days off in a run lie within months of its clock.
  for (int i = 0; i < 800; ++i, s += 86400) {
    if (ModelDueAt(a, s, days, skip)) return s;
  }
  return std::nullopt;
}

class TSimShell : public TShell {
 public:
  void Open(const std::wstring&) override {}
};

// ---------------------------------------------------------------------------
// The world's doubles: the clock over a zone, timers by real time.

class TSimClock : public TClock {
 public:
  explicit TSimClock(const TZone& zone) : zone_(zone) {}
  TClockReading Now() override {
    return {static_cast<double>(zone_.LocalAt(Utc)) / static_cast<double>(kMsPerDay), Utc};
  }
  std::uint64_t UptimeMs() override { return Uptime; }
  std::int64_t LocalToUtcMs(std::int64_t localMs) override {
    return EarliestUtcReading(localMs, [this](std::int64_t u) { return zone_.LocalAt(u); });
  }
  std::int64_t LocalSecond() const { return FloorDiv(zone_.LocalAt(Utc), kSec); }

  std::int64_t Utc = 0;
  std::uint64_t Uptime = 0;

 private:
  const TZone& zone_;
};

// ---------------------------------------------------------------------------

struct TFailure {
  std::string Text;
};

std::string Ms(std::int64_t utc) {
  int y, m, d;
  CivilFromDays(FloorDiv(utc, kDay), y, m, d);
  const std::int64_t t = FloorMod(utc, kDay);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02lld:%02lld:%02lld.%03lld UTC", y, m, d,
                static_cast<long long>(t / kHour), static_cast<long long>(t / kMin % 60),
                static_cast<long long>(t / kSec % 60), static_cast<long long>(t % kSec));
  return buf;
}

// An occurrence that came and waits for its outcome.
struct TPending {
  int Id = 0;
  std::int64_t Second = 0;  // local, or uptime for a boot countdown
  std::int64_t AtUtc = 0;   // when it came
  bool Heard = false;       // the program ran and the PC was awake then
  bool Optional = false;    // may ring (late) or pass unseen: see where it is made
  std::int64_t Deadline = kNever;
};

struct TModelSnooze {
  std::int64_t DueUtc = 0;
  int Unanswered = 0;
  bool Heard = true;  // false once its moment passed unheard
  std::int64_t Deadline = kNever;
};

class TWorld;

class TSimView : public TRingView {
 public:
  explicit TSimView(TWorld& w) : w_(w) {}
  void ShowRing(const std::wstring& message, bool fresh) override;
  void HideRing() override;
  void BringRingToFront() override {}
  void ShowMissed(const std::vector<TMissedAlarm>& missed) override;
  void NextRingChanged() override {}
  void ReportError(const std::wstring& text) override;
  void ShowNotice(const std::wstring& text) override;

 private:
  TWorld& w_;
};

int IdOf(const std::wstring& message) {
  if (message.size() < 2 || message[0] != L'#') return -1;
  return std::stoi(message.substr(1));
}

class TWorld {
 public:
  TWorld(const TSimRun& run, std::vector<std::string>* log)
      : run_(run), zone_(run.Zone, run.StartYear - 1, run.StartYear + run.Years + 1), clock_(zone_),
        tickers_(clock_.Uptime), view_(*this), log_(log), rnd_(run.Seed ^ 0x5EED) {
    int y = run.StartYear;
    clock_.Utc = DaysFromCivil(y, 1, 1) * kDay + rnd_.In(0, 20 * kDay);
    clock_.Uptime = static_cast<std::uint64_t>(rnd_.In(30, 600) * kSec);
    signal_.SnoozeMinutes = std::array<int, 3>{1, 5, 10}[run.Seed % 3];
    signal_.RingMinutes = std::array<int, 3>{1, 10, 0}[(run.Seed / 3) % 3];
    H_ = clock_.LocalSecond();
    Hu_ = static_cast<std::int64_t>(clock_.Uptime / kSec);
    store_ = std::make_unique<TAlarmStore>();
    std::memset(store_.get(), 0, sizeof(TAlarmStore));
    StartProgram();
  }

  TSimResult Play() {
    try {
      for (const TSimEvent& e : run_.Events) {
        RunUntil(clock_.Utc + e.GapMs);
        if (log_) log_->push_back(Ms(clock_.Utc) + "  " + EventText(e));
        Do(e);
        AfterStep();
        ++result_.EventsDone;
      }
    } catch (const TFailure& f) {
      result_.Failed = true;
      result_.Failure = "at " + Ms(clock_.Utc) + " (" + ZoneText(run_.Zone) + "): " + f.Text;
    }
    session_.reset();
    return result_;
  }

  // --- what the program shows ---
  void OnRing(int id, bool fresh) {
    if (Dead()) return;
    ++result_.Rings;
    Note("ring #" + std::to_string(id));
    const std::int64_t now = clock_.Utc;
    if (fresh) ringSet_.clear();
    ringShown_ = true;
    if (fresh) reactionAt_ = PlanReaction();
    // An occurrence that came, else a snooze.
    auto it = std::find_if(pending_.begin(), pending_.end(), [&](const TPending& p) {
      return p.Id == id && p.AtUtc <= now &&
             now - p.AtUtc <= (p.Heard ? kSec : kLateLimit);
    });
    int unanswered = 0;
    if (it != pending_.end()) {
      pending_.erase(it);
    } else if (auto z = snoozes_.find(id);
               z != snoozes_.end() && z->second.DueUtc <= now &&
               now - z->second.DueUtc <= (z->second.Heard ? kSec : kLateLimit)) {
      unanswered = z->second.Unanswered;
      snoozes_.erase(z);
    } else if (graceUntil_ >= now) {
      // After a state that could not be kept, anything of before may come again.
    } else {
      Fail("alarm #" + std::to_string(id) + " rang with nothing due (early, twice or unknown)" +
           Around(id));
    }
    std::erase_if(ringSet_, [&](const auto& r) { return r.first == id; });
    ringSet_.push_back({id, unanswered});
    if (unanswered == 0) named_.erase(id);
  }

  void OnHide() {
    if (Dead()) return;
    ringShown_ = false;
    if (answering_) return;
    // Nobody answered: each alarm snoozes itself, the third time is missed.
    for (const auto& [id, unanswered] : ringSet_) {
      if (!Alive(id)) continue;
      if (unanswered >= kMaxUnanswered) {
        // Named at an unlock in this run already: not named again.
        unheardLocked_.erase(id);
        if (named_.erase(id) == 0) ++expectedMissed_[id];
      } else {
        snoozes_[id] = {clock_.Utc + signal_.SnoozeMinutes * kMin, unanswered + 1};
        if (locked_) unheardLocked_.insert(id);
        Note("#" + std::to_string(id) + " rang out: snoozed to " + Ms(snoozes_[id].DueUtc));
      }
    }
    ringSet_.clear();
    reactionAt_ = kNever;
  }

  void OnMissed(const std::vector<TMissedAlarm>& list) {
    if (Dead()) return;
    std::map<int, int> counts;
    for (const TMissedAlarm& m : list) counts[IdOf(m.Message)] += m.Count;
    for (const auto& [id, count] : counts) {
      int more = count - missedSeen_[id];
      missedSeen_[id] = count;
      result_.Missed += more;
      if (more > 0) Note("missed #" + std::to_string(id) + " +" + std::to_string(more));
      for (; more > 0; --more) TakeMissed(id);
    }
    if (missedSeenAt_ == kNever) missedSeenAt_ = clock_.Utc + rnd_.Wide(kMin, 2 * kDay);
  }

  void OnError(const std::wstring& text) {
    if (Dead()) return;
    // Save failures are expected while the disk is made to fail; a missing
    // file to open or music is not part of the run.
    if (text.find(L"Tivorra.state") != std::wstring::npos) return;
    Fail("error reported: " + Narrow(text));
  }
  void OnNotice(const std::wstring& text) {
    if (Dead()) return;
    if (damagedState_) return;
    Fail("notice without a damaged file: " + Narrow(text));
  }

 private:
  // ------------------------------------------------------------------------
  static std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
    return s;
  }
  [[noreturn]] void Fail(const std::string& text) { throw TFailure{text}; }
  void Note(const std::string& text) {
    if (log_) log_->push_back(Ms(clock_.Utc) + "    " + text);
  }
  bool Dead() const { return !session_ || files_.PowerCut(); }
  bool Running() const { return session_ != nullptr; }

  std::string Around(int id) {
    std::ostringstream o;
    o << "; the clock reads local second " << clock_.LocalSecond() << ", uptime "
      << clock_.Uptime / kSec << " s";
    for (const TPending& p : pending_) {
      if (p.Id == id) o << "; pending at " << Ms(p.AtUtc) << (p.Heard ? " heard" : " unheard");
    }
    if (auto z = snoozes_.find(id); z != snoozes_.end()) o << "; snooze at " << Ms(z->second.DueUtc);
    return o.str();
  }

  bool Alive(int id) const {
    for (const auto& table : tables_) {
      if (std::find(table.begin(), table.end(), id) != table.end()) return true;
    }
    return false;
  }
  const TModelAlarm& Model(int id) const { return models_.at(id); }
  std::int64_t SkipOf(int id) const {
    const auto it = skips_.find(id);
    return it == skips_.end() ? kNoSkip : it->second;
  }
  // A skip ends once its moment has come.
  void DropPassedSkips() {
    std::erase_if(skips_, [&](const auto& k) { return k.second <= H_; });
  }

  void TakeMissed(int id) {
    const std::int64_t now = clock_.Utc;
    if (auto e = expectedMissed_.find(id); e != expectedMissed_.end() && e->second > 0) {
      --e->second;
      return;
    }
    // Boot countdowns are never listed: a listed one is its snooze.
    auto it = std::find_if(pending_.begin(), pending_.end(), [&](const TPending& p) {
      return p.Id == id && !p.Heard && now - p.AtUtc > kLateLimit &&
             Model(p.Id).Kind != akBootCountdown;
    });
    if (it != pending_.end()) {
      Note("  an occurrence at " + Ms(it->AtUtc));
      pending_.erase(it);
      return;
    }
    if (auto z = snoozes_.find(id);
        z != snoozes_.end() && !z->second.Heard && now - z->second.DueUtc > kLateLimit) {
      snoozes_.erase(z);
      unheardLocked_.erase(id);
      return;
    }
    if (graceUntil_ >= now) return;
    Fail("alarm #" + std::to_string(id) + " listed as missed with nothing missed" + Around(id));
  }

  std::int64_t PlanReaction() {
    const std::uint64_t r = Mix(run_.Seed, ++reactions_);
    const int choice = static_cast<int>(r % 10);
    if (choice < 2 && signal_.RingMinutes > 0) return kNever;  // rings out
    reactionKind_ = choice < 6 ? 0 : 1;
    reactionMinutes_ = std::array<int, 6>{1, 5, 10, 15, 30, 60}[(r >> 8) % 6];
    return clock_.Utc + static_cast<std::int64_t>((r >> 16) % 90 + 1) * kSec;
  }

  // ------------------------------------------------------------------------
  // Time passes by real time to `t` in the state the world is in: the
  // occurrences that come on the way are heard when the program runs and
  // the PC is awake, and wait for the next resume or start otherwise.
  void PassTo(std::int64_t t) {
    const std::int64_t from = clock_.Utc;
    clock_.Utc = t;
    clock_.Uptime += static_cast<std::uint64_t>(t - from);
    const bool heard = Running() && awake_;
    const std::int64_t local = clock_.LocalSecond();
    if (local > H_) {
      for (const auto& table : tables_) {
        for (int id : table) {
          ForDueSeconds(Model(id), days_, SkipOf(id), H_, local, [&](std::int64_t s) {
            // A second a state kept before a fault had examined may pass
            // unseen: the program cannot know the clock was set back since.
            const bool stale = s <= staleUpTo_;
            const std::int64_t at = zone_.FirstReaching(s * kSec, from);
            pending_.push_back({id, s, at, heard, stale,
                                heard ? at + (stale ? kLateLimit : 0) + kSec : kNever});
          });
        }
      }
      H_ = local;
      DropPassedSkips();
    }
    const std::int64_t up = static_cast<std::int64_t>(clock_.Uptime / kSec);
    if (up > Hu_) {
      for (int id : tables_[akBootCountdown]) {
        const std::int64_t target = Model(id).Target;
        if (target > Hu_ && target <= up) {
          const std::int64_t uptimeFrom = static_cast<std::int64_t>(clock_.Uptime) - (t - from);
          const std::int64_t at = from + target * kSec - uptimeFrom;
          // Boot countdowns are never listed: unheard, one may still ring late.
          pending_.push_back({id, target, at, heard, !heard, heard ? at + kSec : kNever});
        }
      }
      Hu_ = up;
    }
    for (auto& [id, z] : snoozes_) {
      if (z.DueUtc <= t && z.DueUtc > from && !heard) z.Heard = false;
      if (z.DueUtc <= t && z.Heard && z.Deadline == kNever) z.Deadline = z.DueUtc + kSec;
    }
  }

  std::int64_t NextInternal() const {
    std::int64_t next = kNever;
    if (Running() && awake_) {
      if (wakeTimer_.at) next = std::min(next, *wakeTimer_.at);
      if (wakeTimer_.wakeAt && wakeTimer_.wakeAt != firedWake_ && *wakeTimer_.wakeAt > clock_.Utc)
        next = std::min(next, *wakeTimer_.wakeAt);
      if (TFakeTicker* t = tickers_.NextDue()) {
        next = std::min(next, clock_.Utc + static_cast<std::int64_t>(t->Due() - clock_.Uptime));
      }
      next = std::min(next, reactionAt_);
      next = std::min(next, missedSeenAt_);
    }
    if (Running() && !awake_) {
      next = std::min(next, resumeAt_);
      if (wakeTimersAllowed_ && wakeTimer_.wakeAt) next = std::min(next, *wakeTimer_.wakeAt);
    }
    if (!Running()) next = std::min(next, restartAt_);
    return next;
  }

  void RunUntil(std::int64_t target) {
    int same = 0;
    std::int64_t last = clock_.Utc;
    for (;;) {
      const std::int64_t next = NextInternal();
      if (next > target) break;
      PassTo(std::max(next, clock_.Utc));
      if (clock_.Utc == last) {
        if (++same > 50) Fail("the program is woken again and again at the same moment");
      } else {
        same = 0;
        last = clock_.Utc;
      }
      Internal();
      AfterStep();
    }
    PassTo(std::max(target, clock_.Utc));
  }

  // Whatever is due now, one at a time.
  void Internal() {
    const std::int64_t now = clock_.Utc;
    if (!Running()) {
      if (restartAt_ <= now) StartProgram();
      return;
    }
    if (!awake_) {
      Resume();
      return;
    }
    if (wakeTimer_.wakeAt && wakeTimer_.wakeAt != firedWake_ && *wakeTimer_.wakeAt <= now) {
      firedWake_ = wakeTimer_.wakeAt;
      wakeTimer_.FireWake();
    } else if (wakeTimer_.at && *wakeTimer_.at <= now) {
      wakeTimer_.at.reset();
      wakeTimer_.Fire();
    } else if (TFakeTicker* t = tickers_.NextDue();
               t && static_cast<std::int64_t>(t->Due()) <= static_cast<std::int64_t>(clock_.Uptime)) {
      t->Tick();
    } else if (reactionAt_ <= now) {
      reactionAt_ = kNever;
      if (session_->Ringing()) {
        answering_ = true;
        for (const auto& [id, unanswered] : ringSet_) {
          named_.erase(id);
          unheardLocked_.erase(id);
        }
        if (reactionKind_ == 0) {
          session_->Answer();
        } else {
          for (const auto& [id, unanswered] : ringSet_) {
            if (Alive(id)) {
              snoozes_[id] = {now + reactionMinutes_ * kMin, 0};
              Note("#" + std::to_string(id) + " snoozed to " + Ms(snoozes_[id].DueUtc));
            }
          }
          session_->Snooze(reactionMinutes_);
        }
        answering_ = false;
        ringSet_.clear();
      }
    } else if (missedSeenAt_ <= now) {
      missedSeenAt_ = kNever;
      session_->MissedSeen();
      missedSeen_.clear();
    }
    CheckPowerCut();
  }

  void CheckPowerCut() {
    if (session_ && files_.PowerCut()) PowerOff(true);
  }

  // ------------------------------------------------------------------------
  void StartProgram() {
    Note(std::string("start") + (damagedState_ ? ", the state damaged" : "") +
         (stateDegraded_ ? ", the state may be behind" : ""));
    ++result_.Restarts;
    files_.Reboot();
    if (pendingReboot_) {
      pendingReboot_ = false;
      clock_.Uptime = static_cast<std::uint64_t>(rnd_.In(30, 300) * kSec);
      Hu_ = static_cast<std::int64_t>(clock_.Uptime / kSec);
      std::erase_if(pending_, [&](const TPending& p) { return Model(p.Id).Kind == akBootCountdown; });
    }
    player_ = std::make_unique<TFakeRingPlayer>();
    wakeTimer_ = TFakeWakeTimer{};
    firedWake_.reset();
    power_ = TFakePower{};
    // The state as it lies on the disk: kept across the stop, or not.
    const bool keptState = !damagedState_ && !stateDegraded_;
    if (!keptState) {
      // What the program cannot know it cannot tell: the moments of the
      // stop, and snoozes it kept, are the file's now.
      std::erase_if(pending_, [](const TPending& p) { return !p.Heard; });
      snoozes_.clear();
      skips_.clear();
      // Nor how far the check had looked: with the clock set back since,
      // the seconds up to where it had been may come again.
      H_ = std::min(H_, clock_.LocalSecond());
      graceUntil_ = clock_.Utc + kLateLimit + 2 * kSec;
    }
    // alarm.rec is what was last saved.
    auto loaded = std::make_unique<TAlarmStore>();
    std::memset(loaded.get(), 0, sizeof(TAlarmStore));
    TAlarmFileState file;
    const TLoadResult load = LoadAlarms(*loaded, kDir, file, files_);
    if (load.What != TLoadResult::TWhat::Loaded && load.What != TLoadResult::TWhat::Absent) {
      Fail("alarm.rec could not be read after a stop");
    }
    tables_ = durable_;
    WriteStore(*store_);
    if (!SameAlarms(*loaded, *store_)) {
      Fail("alarm.rec after a stop is not what was last saved");
    }
    std::erase_if(pending_, [&](const TPending& p) { return !Alive(p.Id); });
    std::erase_if(snoozes_, [&](const auto& z) { return !Alive(z.first); });
    std::erase_if(skips_, [&](const auto& k) { return !Alive(k.first); });
    file_ = file;
    if (!keptState) SeedFromDisk();
    session_ = std::make_unique<TRingSession>(
        *store_, file_, TRingServices{clock_, wakeTimer_, power_, audio_, shell_, tickers_, files_,
                                     random_},
        view_, *player_);
    session_->SetSignal(signal_);
    // Tivorra.ini is read before the state.
    session_->SetDaysOff(programDays_);
    const std::int64_t now = clock_.Utc;
    for (TPending& p : pending_) {
      if (!p.Heard) p.Deadline = now + 2 * kSec;
    }
    for (auto& [id, z] : snoozes_) {
      if (!z.Heard) z.Deadline = now + 2 * kSec;
    }
    session_->Start(kDir);
    session_->StoreChanged();
    damagedState_ = false;
    stateDegraded_ = false;
    CheckPowerCut();
  }

  void SeedFromDisk() {
    const auto it = files_.Files.find(kDir + kStateFileName);
    if (it == files_.Files.end()) return;
    TProgramState state;
    if (!ParseProgramState(it->second, state)) return;
    if (state.LastExamined) staleUpTo_ = std::max(staleUpTo_, *state.LastExamined);
    for (const TSnooze& z : state.Snoozes) {
      if (const std::uint16_t index = FindAlarm(*store_, z.Alarm)) {
        const int id = IdOf(FromShortString(*AlarmActions(*store_, z.Alarm.Kind, index).Msg));
        snoozes_[id] = {z.DueUtcMs, z.Unanswered, z.DueUtcMs > clock_.Utc, kNever};
        if (z.DueUtcMs <= clock_.Utc) snoozes_[id].Deadline = clock_.Utc + 2 * kSec;
      }
    }
    for (const TSkip& k : state.Skips) {
      if (const std::uint16_t index = FindAlarm(*store_, k.Alarm)) {
        const int id = IdOf(FromShortString(*AlarmActions(*store_, k.Alarm.Kind, index).Msg));
        if (k.LocalSecond > H_) skips_[id] = k.LocalSecond;
      }
    }
  }

  // The program is gone: at once (`crash`), or by its exit path.
  void Stop(bool clean) {
    if (!session_) return;
    Note(clean ? "the program ends" : files_.PowerCut() ? "power cut in a file call" : "the program is gone");
    if (clean) session_->ProgramEnds();
    // A state not kept since a fault (a failed call, power cut in a save)
    // may be behind what the program knew by anything.
    stateDegraded_ = stateDegraded_ || files_.PowerCut() || files_.FaultedSince(kDir + kStateFileName);
    session_.reset();
    ringShown_ = false;
    ringSet_.clear();
    reactionAt_ = kNever;
    missedSeenAt_ = kNever;
    missedSeen_.clear();
    expectedMissed_.clear();
    locked_ = false;
    unheardLocked_.clear();
    named_.clear();
    awake_ = true;
    // What the program held in memory and could not save is gone, and an
    // alarm deleted in memory alone comes back with moments the program
    // did not look at: the restart may tell them.
    if (tables_ != durable_) stateDegraded_ = true;
    tables_ = durable_;
    std::erase_if(pending_, [&](const TPending& p) { return !Alive(p.Id); });
    std::erase_if(snoozes_, [&](const auto& z) { return !Alive(z.first); });
    std::erase_if(skips_, [&](const auto& k) { return !Alive(k.first); });
  }

  void PowerOff(bool reboot) {
    Stop(false);
    restartAt_ = clock_.Utc + rnd_.Wide(kSec, 14 * kDay);
    if (reboot) {
      // The PC starts again: its uptime with it.
      pendingReboot_ = true;
    }
  }

  void Resume() {
    Note("resume");
    awake_ = true;
    resumeAt_ = kNever;
    const std::int64_t now = clock_.Utc;
    for (TPending& p : pending_) {
      if (!p.Heard) p.Deadline = now + 2 * kSec;
    }
    for (auto& [id, z] : snoozes_) {
      if (!z.Heard) z.Deadline = now + 2 * kSec;
    }
    wakeTimer_.Resume();
    DropLateNamedSnoozes();
    CheckPowerCut();
  }

  // A snooze found too late (the PC asleep, the clock set forward) of a run
  // named at an unlock goes without a word: the run was named once already.
  void DropLateNamedSnoozes() {
    const std::int64_t now = clock_.Utc;
    std::erase_if(snoozes_, [&](const auto& z) {
      return now - z.second.DueUtc > kLateLimit && named_.erase(z.first) != 0;
    });
  }

  // ------------------------------------------------------------------------
  // The store as the model has it.
  // Only the counts and live records: the rest of the block is what the
  // program left there, as in its own store.
  void WriteStore(TAlarmStore& st) {
    for (int k = 0; k < kAlarmKindCount; ++k) {
      const auto kind = static_cast<TAlarmKind>(k);
      AlarmCount(st, kind) = static_cast<std::uint16_t>(tables_[k].size());
      for (std::size_t i = 0; i < tables_[k].size(); ++i) WriteRecord(st, kind, i, Model(tables_[k][i]));
    }
  }
  static void WriteRecord(TAlarmStore& st, TAlarmKind kind, std::size_t i, const TModelAlarm& a) {
    const std::wstring msg = L"#" + std::to_wstring(a.Id);
    const double tod = static_cast<double>(a.SecondOfDay) / 86400.0;
    switch (kind) {
      case akDate:
        ToShortString(msg, st.DateAlarms[i].Msg);
        st.DateAlarms[i].AlarmTime = tod;
        st.DateAlarms[i].AlarmDate = static_cast<double>(a.Day);
        break;
      case akDaily:
        ToShortString(msg, st.DailyAlarms[i].Msg);
        st.DailyAlarms[i].AlarmTime = tod;
        break;
      case akWeekly:
        ToShortString(msg, st.WeeklyAlarms[i].Msg);
        for (int d = 0; d < 7; ++d) st.WeeklyAlarms[i].Days[d] = (a.Mask >> d) & 1u;
        st.WeeklyAlarms[i].AlarmTime = tod;
        break;
      case akCountdown:
        ToShortString(msg, st.CountdownAlarms[i].Msg);
        st.CountdownAlarms[i].AlarmTime = static_cast<double>(a.Target) / 86400.0;
        break;
      case akBootCountdown:
        ToShortString(msg, st.BootCountdownAlarms[i].Msg);
        st.BootCountdownAlarms[i].AlarmTime = static_cast<double>(a.Target) / 86400.0;
        break;
    }
  }
  static std::vector<unsigned char> StoreImage(const TAlarmStore& st) {
    const auto* p = reinterpret_cast<const unsigned char*>(&st);
    return {p, p + sizeof st};
  }
  // The same tables, record by record as far as they are significant.
  static bool SameAlarms(const TAlarmStore& a, const TAlarmStore& b) {
    for (int k = 0; k < kAlarmKindCount; ++k) {
      const auto kind = static_cast<TAlarmKind>(k);
      if (AlarmCount(a, kind) != AlarmCount(b, kind)) return false;
      for (std::uint16_t i = 1; i <= AlarmCount(a, kind); ++i) {
        if (RecordDigest(a, kind, i) != RecordDigest(b, kind, i)) return false;
      }
    }
    return true;
  }

  void SaveStore() {
    WriteStore(*store_);
    const TSaveResult saved = SaveAlarms(*store_, kDir, file_, files_);
    if (saved.Saved() && !files_.PowerCut()) durable_ = tables_;
    session_->StoreChanged();
    CheckPowerCut();
  }

  TModelAlarm NewAlarm(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    TModelAlarm m;
    m.Id = ++lastId_;
    m.Kind = static_cast<TAlarmKind>(a % kAlarmKindCount);
    // Whole minutes mostly, as people set them; seconds now and then.
    m.SecondOfDay = (b % 1440) * 60 + (c % 4 == 0 ? (c >> 4) % 60 : 0);
    const std::int64_t local = clock_.LocalSecond();
    switch (m.Kind) {
      case akDate:
        m.Day = DayOf(local) + static_cast<std::int64_t>(c % 40);
        break;
      case akDaily:
        break;
      case akWeekly:
        m.Mask = (c >> 8) % 127 + 1;
        break;
      case akCountdown:
        m.Target = local + 1 + static_cast<std::int64_t>((c >> 3) % (3 * 86400));
        m.SecondOfDay = FloorMod(m.Target, 86400);
        break;
      case akBootCountdown: {
        const std::int64_t up = static_cast<std::int64_t>(clock_.Uptime / kSec);
        m.Target = std::min<std::int64_t>(86399, up + 1 + static_cast<std::int64_t>((c >> 3) % 7200));
        m.SecondOfDay = m.Target;
        break;
      }
    }
    return m;
  }

  void Do(const TSimEvent& e) {
    const std::int64_t now = clock_.Utc;
    if (!Running()) {
      // The PC or the program is off: only the disk can change.
      if (e.Kind == TSimEvent::DamageState) DamageState(e);
      return;
    }
    if (!awake_) return;
    // Alarms are set with the clock at the latest second it has shown: in
    // an hour the clock repeats, "already passed" means two things.
    const bool repeating = clock_.LocalSecond() < H_;
    if (repeating && (e.Kind == TSimEvent::AddAlarm || e.Kind == TSimEvent::ChangeAlarm)) return;
    switch (e.Kind) {
      case TSimEvent::AddAlarm: {
        const TModelAlarm m = NewAlarm(e.A, e.B, e.C);
        if (tables_[m.Kind].size() >= kAlarmCapacity) return;
        if (m.Kind == akBootCountdown && clock_.Uptime >= 86000 * kSec) return;
        models_[m.Id] = m;
        tables_[m.Kind].push_back(m.Id);
        if (AddAlarm(*store_, m.Kind) == 0) Fail("the store refused an alarm with room");
        SaveStore();
        break;
      }
      case TSimEvent::ChangeAlarm:
      case TSimEvent::DeleteAlarm: {
        std::vector<std::pair<int, std::size_t>> all;
        for (int k = 0; k < kAlarmKindCount; ++k)
          for (std::size_t i = 0; i < tables_[k].size(); ++i) all.push_back({k, i});
        if (all.empty()) return;
        const auto [k, i] = all[e.A % all.size()];
        const int old = tables_[k][i];
        if (e.Kind == TSimEvent::DeleteAlarm) {
          tables_[k].erase(tables_[k].begin() + static_cast<std::ptrdiff_t>(i));
          DeleteAlarm(*store_, static_cast<TAlarmKind>(k), static_cast<std::uint16_t>(i + 1));
        } else {
          TModelAlarm m = NewAlarm(static_cast<std::uint32_t>(k), e.B, e.C);
          models_[m.Id] = m;
          tables_[k][i] = m.Id;
        }
        snoozes_.erase(old);
        skips_.erase(old);
        std::erase_if(pending_, [&](const TPending& p) { return p.Id == old; });
        std::erase_if(ringSet_, [&](const auto& r) { return r.first == old; });
        SaveStore();
        break;
      }
      case TSimEvent::StepClock:
        StepClock(e);
        break;
      case TSimEvent::Sleep:
        // Often locked first, as a user leaving the PC does.
        if (!locked_ && e.C % 2 == 0) LockOrUnlock();
        wakeTimer_.Suspend();
        CheckPowerCut();
        if (!session_) return;
        awake_ = false;
        wakeTimersAllowed_ = e.B % 2 == 0;
        resumeAt_ = now + rnd_.Wide(kSec, 21 * kDay);
        break;
      case TSimEvent::PowerLoss:
        PowerOff(true);
        break;
      case TSimEvent::PowerLossSave:
        files_.CutPowerAt(static_cast<int>(e.A % 12) + 1);
        break;
      case TSimEvent::Kill:
        Stop(false);
        restartAt_ = now + rnd_.Wide(kSec, 3 * kDay);
        break;
      case TSimEvent::Quit:
        Stop(true);
        restartAt_ = now + rnd_.Wide(kSec, 3 * kDay);
        break;
      case TSimEvent::FailSaves:
        files_.FailNext(e.A % 2 ? TMemoryFileSystem::TFault::DiskFull
                                : TMemoryFileSystem::TFault::Locked,
                        static_cast<int>(e.B % 3) + 1);
        break;
      case TSimEvent::DamageState:
        break;
      case TSimEvent::CancelSnoozes:
        session_->CancelSnoozes();
        snoozes_.clear();
        CheckPowerCut();
        break;
      case TSimEvent::WindowTick:
        session_->Tick();
        CheckPowerCut();
        // Drawn from the tick's own numbers, so that the stream of events
        // a seed makes stays what it was before locks were simulated.
        if (session_ && e.C % 2 == 0) LockOrUnlock();
        break;
      case TSimEvent::Skip:
        Skip(e);
        break;
      case TSimEvent::DaysOff:
        SetDaysOff(e);
        break;
      case TSimEvent::KindCount:
        break;
    }
  }

  // The workstation is locked, or unlocked: what rang out unheard while it
  // was locked is named once a run, unless it rings in sight now.
  void LockOrUnlock() {
    if (!locked_) {
      Note("lock");
      locked_ = true;
      wakeTimer_.Lock();
      return;
    }
    Note("unlock");
    locked_ = false;
    for (const int id : unheardLocked_) {
      const bool showing = ringShown_ && std::any_of(ringSet_.begin(), ringSet_.end(),
                                                     [&](const auto& r) { return r.first == id; });
      if (showing || !Alive(id) || !named_.insert(id).second) continue;
      ++expectedMissed_[id];
      Note("#" + std::to_string(id) + " rang out unheard while locked");
    }
    unheardLocked_.clear();
    wakeTimer_.Unlock();
    CheckPowerCut();
  }

  // The user skips the next occurrence of a daily or weekly alarm, or takes
  // a skip back. The program's answer is checked against the model's.
  void Skip(const TSimEvent& e) {
    // Only with nothing overdue: what is already due is the check's.
    if (!pending_.empty()) return;
    std::vector<std::pair<int, std::size_t>> all;
    for (const int k : {akDaily, akWeekly})
      for (std::size_t i = 0; i < tables_[k].size(); ++i) all.push_back({k, i});
    if (all.empty()) return;
    const auto [k, i] = all[e.A % all.size()];
    const int id = tables_[k][i];
    const auto kind = static_cast<TAlarmKind>(k);
    const auto index = static_cast<std::uint16_t>(i + 1);
    if (skips_.count(id) && e.B % 3 == 0) {
      Note("unskip #" + std::to_string(id));
      session_->Unskip(kind, index);
      skips_.erase(id);
      CheckPowerCut();
      return;
    }
    const auto expected =
        skips_.count(id) ? std::optional<std::int64_t>(skips_[id])
                         : FirstDueAfterModel(Model(id), days_, kNoSkip, H_);
    const bool skipped = session_->SkipNext(kind, index);
    CheckPowerCut();
    if (!session_) return;
    const auto said = session_->SkippedAt(kind, index);
    if (skipped != expected.has_value() || said != expected) {
      Fail("skip of #" + std::to_string(id) + ": the program skips " +
           (said ? std::to_string(*said) : "nothing") + ", the model " +
           (expected ? std::to_string(*expected) : "nothing"));
    }
    if (expected) {
      skips_[id] = *expected;
      Note("skip #" + std::to_string(id) + " at local second " + std::to_string(*expected));
    }
  }

  // Tivorra.ini gets another list of days off and working days, around
  // the coming weeks; now and then none.
  void SetDaysOff(const TSimEvent& e) {
    if (!pending_.empty()) return;
    TRandom r(Mix(e.A, e.B));
    const std::int64_t today = DayOf(clock_.LocalSecond());
    TDaysOff program;
    TModelDays model;
    if (e.C % 4 != 0) {
      for (int n = static_cast<int>(r.In(1, 4)); n > 0; --n) {
        const std::int64_t first = today + r.In(-5, 60);
        const std::int64_t last = first + r.In(0, 14);
        program.Off.push_back({first, last, L""});
        for (std::int64_t d = first; d <= last; ++d) model.Off.insert(d);
      }
      for (int n = static_cast<int>(r.In(0, 3)); n > 0; --n) {
        const std::int64_t day = today + r.In(0, 60);
        const int weekday = static_cast<int>(r.In(0, 6));
        program.Work.push_back({day, weekday + 1, L""});
        model.Work.emplace(day, weekday);  // the first line for a date counts
      }
    }
    Note("days off: " + std::to_string(program.Off.size()) + " ranges, " +
         std::to_string(program.Work.size()) + " working days");
    programDays_ = program;
    days_ = model;
    session_->SetDaysOff(program);
    CheckPowerCut();
  }

  void DamageState(const TSimEvent& e) {
    auto it = files_.Files.find(kDir + kStateFileName);
    if (it == files_.Files.end() || it->second.empty()) return;
    std::vector<unsigned char>& bytes = it->second;
    if (e.A % 2) {
      bytes.resize(e.B % bytes.size());
    } else {
      bytes[e.B % bytes.size()] ^= static_cast<unsigned char>(e.C | 1);
    }
    TProgramState probe;
    // A flip the format cannot see (a digest's byte) damages nothing it checks.
    if (ParseProgramState(bytes, probe)) {
      stateDegraded_ = true;
      return;
    }
    damagedState_ = true;
  }

  // The user sets the clock: small steps either way are caught up or
  // waited out; bigger ones are a new date, after which the program starts
  // afresh from the new second.
  void StepClock(const TSimEvent& e) {
    const bool big = e.B % 3 == 0;
    std::int64_t step = big ? rnd_.Wide(4 * kHour, 40 * kDay) : rnd_.Wide(kSec, 50 * kMin);
    if (e.A % 2) step = -step;
    const std::int64_t before = clock_.Utc;
    clock_.Utc += step;
    const std::int64_t local = clock_.LocalSecond();
    if (step > 0) {
      // The seconds stepped over may ring now, once, or not at all.
      for (const auto& table : tables_) {
        for (int id : table) {
          ForDueSeconds(Model(id), days_, SkipOf(id), H_, local, [&](std::int64_t s) {
            pending_.push_back({id, s, clock_.Utc, true, true, clock_.Utc + kSec});
          });
        }
      }
      H_ = std::max(H_, local);
      DropPassedSkips();
    } else if (big) {
      // A new date: what the clock shows from now on comes anew.
      H_ = local - 1;
      PassTo(clock_.Utc);
    }
    for (auto& [id, z] : snoozes_) {
      // Real time passed the snooze in a step: it rings now when at most
      // five minutes late, or it is told as missed.
      if (z.DueUtc > before && z.DueUtc <= clock_.Utc) {
        z.Heard = false;
        z.Deadline = clock_.Utc + kSec;
      }
    }
    // A wake time that came before the step may come again after it.
    firedWake_.reset();
    wakeTimer_.ClockChanged();
    DropLateNamedSnoozes();
    CheckPowerCut();
  }

  // ------------------------------------------------------------------------
  // The next moment anything rings: due alarms after what has come, the
  // snoozes of alarms that are there.
  std::optional<std::int64_t> ModelNext() {
    std::optional<std::int64_t> next;
    auto take = [&](std::int64_t t) {
      if (!next || t < *next) next = t;
    };
    for (int k = 0; k < kAlarmKindCount; ++k) {
      for (int id : tables_[k]) {
        const TModelAlarm& a = Model(id);
        if (a.Kind == akBootCountdown) {
          if (a.Target > Hu_) take(clock_.Utc + a.Target * kSec - static_cast<std::int64_t>(clock_.Uptime));
          continue;
        }
        if (auto s = FirstDueAfterModel(a, days_, SkipOf(id), H_)) take(zone_.FirstReaching(*s * kSec, clock_.Utc));
      }
    }
    for (const TPending& p : pending_) {
      if (p.Heard && !p.Optional) take(p.AtUtc);
    }
    for (const auto& [id, z] : snoozes_) take(z.DueUtc);
    return next;
  }

  void AfterStep() {
    ++result_.Steps;
    if (!Running()) return;
    const std::int64_t now = clock_.Utc;
    ++result_.Checks;
    for (const TPending& p : pending_) {
      if (!p.Optional && p.Deadline < now) {
        Fail("alarm #" + std::to_string(p.Id) + " due at " + Ms(p.AtUtc) + (p.Heard ? "" : " (unheard)") +
             " neither rang nor was listed as missed" + Around(p.Id));
      }
    }
    std::erase_if(pending_, [&](const TPending& p) { return p.Optional && p.Deadline < now; });
    for (const auto& [id, z] : snoozes_) {
      if (z.Deadline < now) {
        Fail("the snooze of alarm #" + std::to_string(id) + " at " + Ms(z.DueUtc) +
             " neither rang nor was listed as missed" + Around(id));
      }
    }
    for (const auto& [id, n] : expectedMissed_) {
      if (n > 0) Fail("alarm #" + std::to_string(id) + " rang out three times but is not listed as missed");
    }
    // After a state that could not be kept, until the clock passes the
    // second it had examined, either answer about those seconds is right.
    if (!awake_ || graceUntil_ >= now || staleUpTo_ > H_) return;
    ++result_.Checks;
    const std::optional<std::int64_t> next = ModelNext();
    // The wake timer: at the next moment at the latest, and a minute
    // before it to wake the PC.
    if (next) {
      // A moment gone by (an overdue snooze after a start) is taken at
      // the next whole second.
      const std::int64_t latest = std::max(*next, (FloorDiv(now, kSec) + 1) * kSec);
      if (!wakeTimer_.at || *wakeTimer_.at > latest) {
        Fail("the wake timer stands at " + (wakeTimer_.at ? Ms(*wakeTimer_.at) : "nothing") +
             ", after the next moment that rings, " + Ms(*next));
      }
      const std::int64_t early = *next - kMin;
      if (early > now && wakeTimer_.wakeAt != early) {
        const auto said = session_->NextRing();
        Fail("the early wake stands at " + (wakeTimer_.wakeAt ? Ms(*wakeTimer_.wakeAt) : "nothing") +
             ", not a minute before " + Ms(*next) + "; the program's next ring: " +
             (said ? Ms(said->UtcMs) + " " + Narrow(said->Message) : "none"));
      }
    } else if (wakeTimer_.wakeAt && *wakeTimer_.wakeAt > now) {
      Fail("the early wake stands at " + Ms(*wakeTimer_.wakeAt) + " with nothing to ring");
    }
    ++result_.Checks;
    // The PC is held only while something rings or is within its minute.
    const bool near = next && *next - now <= kMin;
    if (power_.system != (ringShown_ || near) || power_.display != ringShown_) {
      Fail(std::string("the PC is ") + (power_.system ? "held" : "not held") +
           (power_.display ? " with its screen" : "") + " while " +
           (ringShown_ ? "a ring shows" : near ? "an alarm is within its minute" : "nothing rings") +
           "; the model's next ring: " + (next ? Ms(*next) : "none") + "; the program's: " +
           [&] {
             const auto said = session_->NextRing();
             return said ? Ms(said->UtcMs) + " " + Narrow(said->Message) : std::string("none");
           }());
    }
  }

  friend class TSimView;

  const TSimRun& run_;
  TZone zone_;
  TSimClock clock_;
  TFakeTickers tickers_;
  TSimView view_;
  std::vector<std::string>* log_;
  TRandom rnd_;
  TSimResult result_;

  TFakeWakeTimer wakeTimer_;
  TFakePower power_;
  TFakeAudioOutput audio_;
  TSimShell shell_;
  TMemoryFileSystem files_;
  TFakeRandom random_;
  std::unique_ptr<TFakeRingPlayer> player_;
  std::unique_ptr<TAlarmStore> store_;
  TAlarmFileState file_;
  TSignalSettings signal_;
  std::unique_ptr<TRingSession> session_;

  // The model.
  std::map<int, TModelAlarm> models_;
  std::array<std::vector<int>, kAlarmKindCount> tables_;   // ids, in table order
  std::array<std::vector<int>, kAlarmKindCount> durable_;  // as last saved
  int lastId_ = 0;
  std::int64_t H_ = 0;   // the last local second that has come
  // The last second a state kept before a fault had examined.
  std::int64_t staleUpTo_ = std::numeric_limits<std::int64_t>::min();
  std::int64_t Hu_ = 0;  // the last second of uptime that has come
  std::vector<TPending> pending_;
  std::map<int, TModelSnooze> snoozes_;
  std::map<int, std::int64_t> skips_;  // id, the local second it skips
  TModelDays days_;
  TDaysOff programDays_;  // as Tivorra.ini holds them
  std::map<int, int> expectedMissed_;
  std::map<int, int> missedSeen_;
  std::vector<std::pair<int, int>> ringSet_;  // id, rings unanswered before
  // The workstation as the program knows it: locked, the alarms that rang
  // out unheard since, and those named at an unlock in their current run.
  bool locked_ = false;
  std::set<int> unheardLocked_;
  std::set<int> named_;
  bool ringShown_ = false;
  bool answering_ = false;
  std::int64_t reactionAt_ = kNever;
  int reactionKind_ = 0;
  int reactionMinutes_ = 5;
  std::uint64_t reactions_ = 0;
  std::int64_t missedSeenAt_ = kNever;

  bool awake_ = true;
  bool wakeTimersAllowed_ = true;
  std::int64_t resumeAt_ = kNever;
  std::int64_t restartAt_ = kNever;
  bool pendingReboot_ = false;
  std::optional<std::int64_t> firedWake_;
  bool damagedState_ = false;
  bool stateDegraded_ = false;
  std::int64_t graceUntil_ = std::numeric_limits<std::int64_t>::min();
};

void TSimView::ShowRing(const std::wstring& message, bool fresh) { w_.OnRing(IdOf(message), fresh); }
void TSimView::HideRing() { w_.OnHide(); }
void TSimView::ShowMissed(const std::vector<TMissedAlarm>& missed) { w_.OnMissed(missed); }
void TSimView::ReportError(const std::wstring& text) { w_.OnError(text); }
void TSimView::ShowNotice(const std::wstring& text) { w_.OnNotice(text); }

}  // namespace

std::string EventText(const TSimEvent& e) {
  static const char* const names[] = {"add alarm",   "change alarm",    "delete alarm", "step clock",
                                      "sleep",       "power loss",      "power loss in a save",
                                      "kill",        "quit",            "fail saves",
                                      "damage state", "cancel snoozes", "window tick",
                                      "skip",         "days off"};
  std::ostringstream o;
  o << "+" << e.GapMs << " ms " << names[e.Kind] << " (" << e.A << ", " << e.B << ", " << e.C << ")";
  return o.str();
}

TSimRun MakeRun(std::uint64_t seed, int years) {
  TSimRun run;
  run.Seed = seed;
  TRandom r(seed);
  run.Zone = kZones[r.Next() % 4];
  run.StartYear = static_cast<int>(r.In(2005, 2030));
  run.Years = years;
  const std::int64_t span = static_cast<std::int64_t>(years) * 365 * kDay;
  // Weights: adds and changes keep a handful of alarms; the rest is life.
  static const int weights[TSimEvent::KindCount] = {6, 5, 6, 5, 8, 2, 2, 2, 2, 3, 2, 1, 4, 4, 2};
  int total = 0;
  for (int w : weights) total += w;
  for (std::int64_t t = 0; t < span;) {
    TSimEvent e;
    e.GapMs = r.Wide(kSec, 4 * kDay);
    t += e.GapMs;
    int pick = static_cast<int>(r.Next() % static_cast<std::uint64_t>(total));
    int k = 0;
    while (pick >= weights[k]) pick -= weights[k++];
    e.Kind = static_cast<TSimEvent::TKind>(k);
    e.A = static_cast<std::uint32_t>(r.Next());
    e.B = static_cast<std::uint32_t>(r.Next());
    e.C = static_cast<std::uint32_t>(r.Next());
    run.Events.push_back(e);
  }
  return run;
}

TSimResult Simulate(const TSimRun& run, std::vector<std::string>* log) {
  TWorld world(run, log);
  return world.Play();
}
