// The alarm check over a small store and a run of clock readings, both
// built from the input.
//
// Two kinds of run. A steady run keeps the local clock within 50 minutes of
// where it started, moves real time by at most five minutes a tick (either
// way) and uptime forward by at most five minutes: the check then examines
// every second from the start to the latest one exactly once, so each record
// written as an exact moment must ring exactly when that moment lies in
// those seconds, no record may ring twice, and the planned wake-up is the
// earliest moment a record is due next. A free run moves the clocks by
// anything up to decades; there only the promises that hold for any clock
// are checked. In both, once a tick has examined its second, a tick at the
// same reading rings nothing; a ring names a live record, its texts are
// that record's and fit their fields; and the check reports no error. A
// run may start with the catch-up after an earlier run, which must report
// each exact record due since then once, late or missed by its age.
//
// The input:
//   byte 0        bit 0: a free run; bit 1: the run starts with the catch-up;
//                 bit 2: a ring delivers the next tick from inside the
//                 wake-up, as a message loop can
//   bytes 1-4     the start day (modulo the clock's range)
//   bytes 5-8     the start ms of that day (modulo a day)
//   bytes 9-12    ms since Windows started, at the start
//   bytes 13-14   for the catch-up: the seconds before the start, less one,
//                 the earlier run examined last
//   byte 15       how many records (modulo 21)
//   the records   each a kind byte (bits 0-6 modulo 5 the kind; bit 7 an
//                 exact moment), then for an exact one a 16-bit offset in
//                 seconds from the start (of uptime, for a boot countdown)
//                 and a weekly one's day mask; for a raw one the stored time
//                 value, a date alarm's date value and a weekly one's seven
//                 day bytes; then the three text lengths
//   the ticks     4 bytes each, at most 64. Steady: uptime's step in 5 ms
//                 units, real time's difference from it in seconds, local
//                 time's from real time in minutes. Free: uptime's step in
//                 seconds, real time's and local time's steps as n: 2^|n| ms
//                 the way of n's sign
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "engine/alarm_check.h"
#include "fakes/fake_clock.h"
#include "fuzz/fuzz_support.h"
#include "store/alarm_store.h"

namespace {

constexpr std::size_t kMaxRecords = 20;
constexpr std::size_t kMaxTicks = 64;
constexpr std::int64_t kMinute = 60 * kMsPerSecond;
constexpr std::int64_t kSteadyStepMs = 5 * kMinute;
constexpr std::int64_t kSteadyLocalSpanMs = 50 * kMinute;
// Readings stay within the years 1900 to 9999, as a clock's do.
constexpr std::int64_t kFirstDay = 2;
constexpr std::int64_t kLastDay = 2958463;

struct TReading {
  std::int64_t LocalMs;  // since 30 December 1899
  std::int64_t UtcMs;
  std::uint64_t UptimeMs;
  TClockReading Clock() const {
    return {static_cast<double>(LocalMs) / static_cast<double>(kMsPerDay), UtcMs};
  }
  std::int64_t LocalSecond() const { return FloorDiv(LocalMs, kMsPerSecond); }
  std::int64_t UptimeSecond() const { return static_cast<std::int64_t>(UptimeMs / 1000); }
};

// A record as the run wrote it. An exact one is a whole second: a local
// one (Moment) for the wall-clock kinds, an uptime one for a boot countdown.
struct TRecord {
  TAlarmKind Kind = akDate;
  std::uint16_t Index = 0;  // 1-based, in its kind's table
  bool Exact = false;
  std::int64_t Moment = 0;
  unsigned WeekdayMask = 0;  // bit 0 Monday
  std::uint8_t TextLengths[3] = {};
};

struct TCase {
  bool Free = false;
  bool CatchUp = false;
  bool Nested = false;
  std::int64_t CatchUpGap = 0;
  std::vector<TRecord> Records;
  std::vector<TReading> Readings;  // the start, then one per tick
};

std::int64_t Clamp(std::int64_t v, std::int64_t lo, std::int64_t hi) {
  return v < lo ? lo : v > hi ? hi : v;
}

void FillText(TShortString& s, std::uint8_t length) {
  s.Len = length;
  // Every byte value turns up in some text, the code page's hole 0x98 too.
  for (std::size_t i = 0; i < sizeof s.Chars; ++i) {
    s.Chars[i] = static_cast<char>(length + 97 * i);
  }
}

// Writes `r`'s record into its slot of the store, every byte of it.
void WriteRecord(TAlarmStore& store, TRecord& r, TFuzzInput& in, std::uint8_t tag,
                 const TReading& start) {
  const std::size_t i = r.Index - 1u;
  TDateTime time = 0, date = 0;
  std::uint8_t days[7] = {};
  if (r.Exact) {
    const auto offset = static_cast<std::int16_t>(in.U16());
    if (r.Kind == akBootCountdown) {
      r.Moment = FloorMod(start.UptimeSecond() + offset, kSecondsPerDay);
    } else {
      r.Moment = start.LocalSecond() + offset;
    }
    const std::int64_t ofDay = FloorMod(r.Moment, kSecondsPerDay);
    time = static_cast<double>(ofDay) / kSecondsPerDay;
    if (r.Kind == akCountdown) time = static_cast<double>(r.Moment) / kSecondsPerDay;
    date = static_cast<double>(FloorDiv(r.Moment, kSecondsPerDay));
    if (r.Kind == akWeekly) {
      r.WeekdayMask = in.Byte() & 0x7Fu;
      for (unsigned d = 0; d < 7; ++d) days[d] = (r.WeekdayMask >> d & 1u) != 0 ? tag : 0;
    }
  } else {
    time = in.Double();
    if (r.Kind == akDate) date = in.Double();
    if (r.Kind == akWeekly) {
      for (std::uint8_t& d : days) d = in.Byte();
    }
  }
  for (std::uint8_t& n : r.TextLengths) n = in.Byte();

  auto texts = [&](auto& rec) {
    std::memset(&rec, 0, sizeof rec);
    FillText(rec.Msg, r.TextLengths[0]);
    FillText(rec.Exe, r.TextLengths[1]);
    FillText(rec.Mus, r.TextLengths[2]);
    rec.AlarmTime = time;
  };
  switch (r.Kind) {
    case akDate:
      texts(store.DateAlarms[i]);
      store.DateAlarms[i].AlarmDate = date;
      break;
    case akDaily:
      texts(store.DailyAlarms[i]);
      break;
    case akWeekly:
      texts(store.WeeklyAlarms[i]);
      std::memcpy(store.WeeklyAlarms[i].Days, days, 7);
      break;
    case akCountdown:
      texts(store.CountdownAlarms[i]);
      break;
    case akBootCountdown:
      texts(store.BootCountdownAlarms[i]);
      break;
  }
}

// A step of a free run: zero, or up to 2^40 ms (35 years) either way.
std::int64_t FreeStep(std::uint8_t b) {
  const auto v = static_cast<std::int8_t>(b);
  if (v == 0) return 0;
  const std::int64_t size = std::int64_t{1} << ((v < 0 ? -v : v) % 41);
  return v < 0 ? -size : size;
}

TCase CaseFrom(const std::uint8_t* data, std::size_t size, TAlarmStore& store) {
  TFuzzInput in(data, size);
  TCase c;
  const std::uint8_t flags = in.Byte();
  c.Free = (flags & 1) != 0;
  c.CatchUp = (flags & 2) != 0;
  c.Nested = (flags & 4) != 0;
  TReading start;
  const std::int64_t day = kFirstDay + in.U32() % (kLastDay - kFirstDay);
  start.LocalMs = day * kMsPerDay + in.U32() % kMsPerDay;
  // Any offset between local time and real time a time zone can have.
  start.UtcMs = start.LocalMs + kUtcMsOf1899 - 3 * 3600000;
  start.UptimeMs = in.U32();
  c.CatchUpGap = 1 + in.U16();
  c.Readings.push_back(start);

  for (int k = 0; k < kAlarmKindCount; ++k) AlarmCount(store, static_cast<TAlarmKind>(k)) = 0;
  const std::size_t records = in.Byte() % (kMaxRecords + 1);
  for (std::size_t n = 0; n < records && in.Left() > 0; ++n) {
    const std::uint8_t tag = in.Byte();
    TRecord r;
    r.Kind = static_cast<TAlarmKind>((tag & 0x7Fu) % kAlarmKindCount);
    r.Exact = (tag & 0x80u) != 0;
    r.Index = AddAlarm(store, r.Kind);
    WriteRecord(store, r, in, tag, start);
    c.Records.push_back(r);
  }

  while (in.Left() > 0 && c.Readings.size() <= kMaxTicks) {
    const TReading& last = c.Readings.back();
    const std::uint16_t uptimeStep = in.U16();
    const std::uint8_t utcStep = in.Byte();
    const std::uint8_t localStep = in.Byte();
    TReading next;
    if (c.Free) {
      next.UptimeMs = last.UptimeMs + uptimeStep * std::uint64_t{1000};
      next.UtcMs = last.UtcMs + FreeStep(utcStep);
      next.LocalMs =
          Clamp(last.LocalMs + FreeStep(localStep), kFirstDay * kMsPerDay, kLastDay * kMsPerDay);
    } else {
      const std::int64_t real = std::min<std::int64_t>(uptimeStep * 5, kSteadyStepMs);
      next.UptimeMs = last.UptimeMs + static_cast<std::uint64_t>(real);
      const std::int64_t utc = Clamp(real + static_cast<std::int8_t>(utcStep) * kMsPerSecond,
                                     -kSteadyStepMs, kSteadyStepMs);
      next.UtcMs = last.UtcMs + utc;
      next.LocalMs = Clamp(last.LocalMs + utc + static_cast<std::int8_t>(localStep) * kMinute,
                           start.LocalMs - kSteadyLocalSpanMs, start.LocalMs + kSteadyLocalSpanMs);
    }
    c.Readings.push_back(next);
  }
  return c;
}

// The seconds a record written as an exact moment is due in, from the
// meaning of its kind alone: a date alarm at its moment, a daily one at its
// time every day, a weekly one at its time on the chosen weekdays, a
// countdown at its moment and at that time every later day.
bool ExactDueAt(const TRecord& r, std::int64_t second) {
  if (FloorMod(second - r.Moment, kSecondsPerDay) != 0) return false;
  switch (r.Kind) {
    case akDate:
    case akBootCountdown:
      return second == r.Moment;
    case akDaily:
      return true;
    case akWeekly:
      // Day 0 was a Saturday, the sixth day of a week that starts on Monday.
      return (r.WeekdayMask >> FloorMod(FloorDiv(second, kSecondsPerDay) + 5, 7) & 1u) != 0;
    case akCountdown:
      return second >= r.Moment;
  }
  return false;
}

// The first second within [first, last] at which it is due (fewer than
// two days apart, or a date alarm's one moment), or none.
std::optional<std::int64_t> ExactDueWithin(const TRecord& r, std::int64_t first,
                                           std::int64_t last) {
  for (std::int64_t s = first + FloorMod(r.Moment - first, kSecondsPerDay); s <= last;
       s += kSecondsPerDay) {
    if (ExactDueAt(r, s)) return s;
  }
  return std::nullopt;
}

// The first second after `after` at which it is due, looking a week ahead
// (and at a countdown's or date alarm's own moment, however far).
std::optional<std::int64_t> ExactDueAfter(const TRecord& r, std::int64_t after) {
  if (r.Kind == akDate || r.Kind == akBootCountdown) {
    return r.Moment > after ? std::optional<std::int64_t>(r.Moment) : std::nullopt;
  }
  const std::int64_t from = r.Kind == akCountdown ? std::max(after + 1, r.Moment) : after + 1;
  return ExactDueWithin(r, from, from + 7 * kSecondsPerDay);
}

class TRun;

class TRingLog : public TAlarmReceiver {
 public:
  explicit TRingLog(TRun& run) : run_(run) {}
  void WakeUp(const std::wstring&, const std::wstring&, const std::wstring&) override {
    FuzzFailure("a ring came without its record");
  }
  void WakeUpAlarm(TAlarmKind kind, std::uint16_t index, const std::wstring& message,
                   const std::wstring& file, const std::wstring& music) override;

 private:
  TRun& run_;
};

class TRun {
 public:
  TRun(const TAlarmStore& store, const TCase& c) : store_(store), c_(c), log_(*this) {}

  void Run() {
    if (c_.CatchUp) CatchUpFirst();
    while (next_ < c_.Readings.size()) {
      Step();
      // Once the current second is examined, a second tick within it finds
      // nothing. (A free clock can stand behind the last second examined;
      // how far behind decides whether the check starts afresh.)
      const TReading& latest = c_.Readings[next_ - 1];
      const bool caughtUp = check_.LastExamined() == latest.LocalSecond();
      if (!c_.Free && !caughtUp && latest.LocalSecond() > *check_.LastExamined()) {
        FuzzFailure("a steady tick left its second unexamined");
      }
      const long before = total_;
      Tick(latest);
      if ((caughtUp || !c_.Free) && total_ != before) {
        FuzzFailure("a tick at the same reading rang again");
      }
    }
    if (!c_.Free) CheckSteadyRings();
  }

  void Rang(TAlarmKind kind, std::uint16_t index, const std::wstring& message,
            const std::wstring& file, const std::wstring& music) {
    if (kind > akBootCountdown || index < 1 || index > AlarmCount(store_, kind)) {
      FuzzFailure("a ring names no live record");
    }
    const TRecord* r = Find(kind, index);
    // Each text is its record's, whole: one character a byte, at most 255.
    if (message.size() > 255 || file.size() > 255 || music.size() > 255) {
      FuzzFailure("a wake-up text is longer than its field");
    }
    if (message.size() != r->TextLengths[0] || file.size() != r->TextLengths[1] ||
        music.size() != r->TextLengths[2]) {
      FuzzFailure("a wake-up text is not its record's");
    }
    ++rings_[kind][index];
    ++total_;
    if (!c_.Free && rings_[kind][index] + reported_[kind][index] > 1) {
      FuzzFailure("a record rang twice in a steady run shorter than a day");
    }
    if (c_.Nested && depth_ == 0 && next_ < c_.Readings.size()) {
      ++depth_;
      Step();
      --depth_;
    }
  }

 private:
  const TRecord* Find(TAlarmKind kind, std::uint16_t index) const {
    for (const TRecord& r : c_.Records) {
      if (r.Kind == kind && r.Index == index) return &r;
    }
    FuzzFailure("a ring names a record the run did not write");
  }

  void Tick(const TReading& at) {
    const auto errors = check_.Tick(store_, at.Clock(), at.UptimeMs, log_);
    if (!errors.empty()) FuzzFailure("the check reported an error no receiver raised");
  }

  // One tick at the next reading, then the plan of the next wake-up, as the
  // program makes it.
  void Step() {
    const TReading& at = c_.Readings[next_++];
    maxLocal_ = std::max(maxLocal_, at.LocalSecond());
    Tick(at);
    // A ring may have delivered later ticks meanwhile.
    const TReading& latest = c_.Readings[next_ - 1];
    const TDueMoment plan = check_.PlanNext(store_, latest.Clock(), latest.UptimeMs);
    if (!c_.Free && depth_ == 0) CheckPlan(plan, latest);
  }

  // Every record written as an exact moment: the plan is no later than its
  // next due second, and when every record is exact, it is the earliest.
  void CheckPlan(const TDueMoment& plan, const TReading& at) const {
    const std::optional<std::int64_t> examined = check_.LastExamined();
    if (!examined) FuzzFailure("a tick examined no second");
    bool allExact = true;
    std::optional<std::int64_t> local, uptime;
    for (const TRecord& r : c_.Records) {
      allExact = allExact && r.Exact;
      if (!r.Exact) continue;
      const bool boot = r.Kind == akBootCountdown;
      const auto due = ExactDueAfter(r, boot ? at.UptimeSecond() : *examined);
      std::optional<std::int64_t>& earliest = boot ? uptime : local;
      if (due && (!earliest || *due < *earliest)) earliest = due;
    }
    const auto later = [](std::optional<std::int64_t> planned, std::optional<std::int64_t> due) {
      return due && (!planned || *planned > *due);
    };
    if (later(plan.LocalSecond, local) || later(plan.UptimeSecond, uptime)) {
      FuzzFailure("the plan comes after a record's next due second");
    }
    // Farther than a week only a date alarm or countdown can be due, and
    // the model looks for those at their own moment.
    if (allExact && (plan.LocalSecond != local || plan.UptimeSecond != uptime)) {
      FuzzFailure("the plan is not the earliest due second");
    }
  }

  // The earlier run examined up to `gap` seconds before the start: every
  // record due since then is reported once, late when it was due at most
  // five minutes ago, else missed.
  void CatchUpFirst() {
    const TReading& start = c_.Readings[0];
    TFakeClock clock;
    clock.LocalMs = start.LocalMs;
    clock.UtcMs = start.UtcMs;
    const std::int64_t now = start.LocalSecond();
    const TAlarmCheck::TCatchUp found =
        check_.CatchUp(store_, start.Clock(), now - c_.CatchUpGap, clock);
    for (const auto& l : found.Late) Report(l.Kind, l.Index, true, 0);
    for (const auto& m : found.Missed) {
      if (m.Count != 1 || m.LatestSecond > now) FuzzFailure("a missed alarm's count or second");
      Report(m.Kind, m.Index, false, m.LatestSecond);
    }
    for (const TRecord& r : c_.Records) {
      if (!r.Exact || r.Kind == akBootCountdown) continue;
      const auto due = ExactDueWithin(r, now - c_.CatchUpGap + 1, now);
      const bool late = due && start.LocalMs - *due * kMsPerSecond <= TAlarmCheck::kLateLimitMs;
      if (reported_[r.Kind][r.Index] != (due ? 1 : 0) || (due && late != late_[r.Kind][r.Index]) ||
          (due && !late && missedAt_[r.Kind][r.Index] != *due)) {
        FuzzFailure("the catch-up did not report exactly what fell due");
      }
    }
    maxLocal_ = now;
  }

  void Report(TAlarmKind kind, std::uint16_t index, bool late, std::int64_t second) {
    if (kind > akCountdown || index < 1 || index > AlarmCount(store_, kind)) {
      FuzzFailure("the catch-up names no live record of the wall clock");
    }
    if (++reported_[kind][index] > 1) FuzzFailure("the catch-up reported a record twice");
    late_[kind][index] = late;
    missedAt_[kind][index] = second;
  }

  // The seconds examined are the start's (unless the catch-up took it) to
  // the latest reading's; uptime's likewise.
  void CheckSteadyRings() const {
    const std::int64_t first = c_.Readings[0].LocalSecond() + (c_.CatchUp ? 1 : 0);
    const std::int64_t firstUp = c_.Readings[0].UptimeSecond();
    const std::int64_t lastUp = c_.Readings.back().UptimeSecond();
    for (const TRecord& r : c_.Records) {
      if (!r.Exact) continue;
      const bool boot = r.Kind == akBootCountdown;
      const bool due =
          ExactDueWithin(r, boot ? firstUp : first, boot ? lastUp : maxLocal_).has_value();
      if (rings_[r.Kind][r.Index] != (due ? 1 : 0)) {
        FuzzFailure(due ? "a record due in the seconds examined did not ring"
                        : "a record rang that was not due in the seconds examined");
      }
    }
  }

  const TAlarmStore& store_;
  const TCase& c_;
  TRingLog log_;
  TAlarmCheck check_;
  std::size_t next_ = 0;
  int depth_ = 0;
  long total_ = 0;
  std::int64_t maxLocal_ = INT64_MIN;
  // By kind and index.
  long rings_[kAlarmKindCount][kMaxRecords + 1] = {};
  int reported_[kAlarmKindCount][kMaxRecords + 1] = {};
  bool late_[kAlarmKindCount][kMaxRecords + 1] = {};
  std::int64_t missedAt_[kAlarmKindCount][kMaxRecords + 1] = {};
};

void TRingLog::WakeUpAlarm(TAlarmKind kind, std::uint16_t index, const std::wstring& message,
                           const std::wstring& file, const std::wstring& music) {
  run_.Rang(kind, index, message, file, music);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One store for the whole run: a fresh 389 KB block every input would
  // spend the fuzzer's time on page faults. Only the records a case writes
  // are read.
  static const auto store = std::make_unique<TAlarmStore>();
  const TCase c = CaseFrom(data, size, *store);
  TRun run(*store, c);
  run.Run();
  return 0;
}
