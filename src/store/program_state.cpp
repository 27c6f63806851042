#include "store/program_state.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/date_time.h"
#include "platform/decimal_text.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/file_system.h"

namespace {

constexpr unsigned char kMagic[8] = {'T', 'V', 'R', 'S', 'T', 'A', 'T', 'E'};
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kVersionWithSkips = 2;
constexpr std::size_t kHeaderBytes = 24;
constexpr std::size_t kSnoozeBytes = 24;
constexpr std::size_t kSkipCountBytes = 4;
constexpr std::size_t kSkipBytes = 24;
constexpr std::size_t kMaxStateBytes =
    kHeaderBytes + kMaxSnoozes * kSnoozeBytes + kSkipCountBytes + kMaxSkips * kSkipBytes;
constexpr std::int64_t kNone = INT64_MIN;
constexpr unsigned kMaxKeptCopies = 99;

// FNV-1a, 64 bits.
struct TDigest {
  std::uint64_t Value = 14695981039346656037ULL;
  void Add(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
      Value ^= p[i];
      Value *= 1099511628211ULL;
    }
  }
  void Add(const TShortString& s) {
    Add(&s.Len, 1);
    Add(s.Chars, s.Len);
  }
  void Add(double v) { Add(&v, sizeof v); }
};

void Put(std::vector<unsigned char>& b, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i, v >>= 8) b.push_back(static_cast<unsigned char>(v & 0xFF));
}
std::uint64_t Get(const unsigned char* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// Every second of a time value the alarm check accepts, which is what the
// clock may read, and the universal time of those moments in any time zone
// a snooze later (a day's margin); far from any overflow.
constexpr auto kMaxTimeDays = static_cast<std::int64_t>(kMaxTimeValueDays);
constexpr std::int64_t kMaxAbsSecond = kMaxTimeDays * kSecondsPerDay;
constexpr std::int64_t kMaxAbsUtcMs = (kMaxTimeDays + kDaysTo1970 + 1) * kMsPerDay;
bool Within(std::int64_t v, std::int64_t limit) { return v >= -limit && v <= limit; }

}  // namespace

std::uint64_t RecordDigest(const TAlarmStore& store, TAlarmKind kind, std::uint16_t index) {
  TDigest d;
  d.Add(&kind, 1);
  if (index < 1 || index > kAlarmCapacity) return d.Value;
  const std::size_t i = index - 1u;
  switch (kind) {
    case akDate: {
      const TDateAlarm& r = store.DateAlarms[i];
      d.Add(r.Msg), d.Add(r.Exe), d.Add(r.Mus), d.Add(r.AlarmTime), d.Add(r.AlarmDate);
      break;
    }
    case akWeekly: {
      const TWeeklyAlarm& r = store.WeeklyAlarms[i];
      for (const std::uint8_t day : r.Days) {
        const std::uint8_t on = day != 0 ? 1 : 0;
        d.Add(&on, 1);
      }
      d.Add(r.Msg), d.Add(r.Exe), d.Add(r.Mus), d.Add(r.AlarmTime);
      break;
    }
    default: {
      const TTimeAlarm& r = kind == akDaily       ? store.DailyAlarms[i]
                            : kind == akCountdown ? store.CountdownAlarms[i]
                                                  : store.BootCountdownAlarms[i];
      d.Add(r.Msg), d.Add(r.Exe), d.Add(r.Mus), d.Add(r.AlarmTime);
      break;
    }
  }
  return d.Value;
}

TAlarmRef RefOf(const TAlarmStore& store, TAlarmKind kind, std::uint16_t index) {
  return {kind, index, RecordDigest(store, kind, index)};
}

std::uint16_t FindAlarm(const TAlarmStore& store, const TAlarmRef& ref) {
  if (ref.Kind > akBootCountdown) return 0;
  const std::uint16_t count = std::min(AlarmCount(store, ref.Kind), kAlarmCapacity);
  if (ref.Index >= 1 && ref.Index <= count && RecordDigest(store, ref.Kind, ref.Index) == ref.Digest) {
    return ref.Index;
  }
  for (std::uint16_t i = 1; i <= count; ++i) {
    if (RecordDigest(store, ref.Kind, i) == ref.Digest) return i;
  }
  return 0;
}

std::vector<unsigned char> FormatProgramState(const TProgramState& state) {
  std::vector<unsigned char> b(kMagic, kMagic + 8);
  Put(b, state.Skips.empty() ? kVersion : kVersionWithSkips, 4);
  Put(b, state.Snoozes.size(), 4);
  Put(b, static_cast<std::uint64_t>(state.LastExamined.value_or(kNone)), 8);
  for (const TSnooze& z : state.Snoozes) {
    Put(b, z.Alarm.Kind, 1);
    Put(b, static_cast<std::uint64_t>(z.Unanswered), 1);
    Put(b, z.Alarm.Index, 2);
    Put(b, 0, 4);
    Put(b, z.Alarm.Digest, 8);
    Put(b, static_cast<std::uint64_t>(z.DueUtcMs), 8);
  }
  if (state.Skips.empty()) return b;
  Put(b, state.Skips.size(), 4);
  for (const TSkip& k : state.Skips) {
    Put(b, k.Alarm.Kind, 1);
    Put(b, 0, 1);
    Put(b, k.Alarm.Index, 2);
    Put(b, 0, 4);
    Put(b, k.Alarm.Digest, 8);
    Put(b, static_cast<std::uint64_t>(k.LocalSecond), 8);
  }
  return b;
}

bool ParseProgramState(const std::vector<unsigned char>& b, TProgramState& state) {
  if (b.size() < kHeaderBytes || std::memcmp(b.data(), kMagic, 8) != 0) return false;
  const std::uint64_t version = Get(&b[8], 4);
  if (version != kVersion && version != kVersionWithSkips) return false;
  const std::uint64_t count = Get(&b[12], 4);
  if (count > kMaxSnoozes) return false;
  const std::size_t snoozesEnd = kHeaderBytes + count * kSnoozeBytes;
  std::uint64_t skipCount = 0;
  if (version == kVersionWithSkips) {
    if (b.size() < snoozesEnd + kSkipCountBytes) return false;
    skipCount = Get(&b[snoozesEnd], 4);
    // Version 2 is written only with skips.
    if (skipCount == 0 || skipCount > kMaxSkips ||
        b.size() != snoozesEnd + kSkipCountBytes + skipCount * kSkipBytes) {
      return false;
    }
  } else if (b.size() != snoozesEnd) {
    return false;
  }
  TProgramState read;
  const auto last = static_cast<std::int64_t>(Get(&b[16], 8));
  if (last != kNone) {
    if (!Within(last, kMaxAbsSecond)) return false;
    read.LastExamined = last;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned char* p = &b[kHeaderBytes + i * kSnoozeBytes];
    TSnooze z;
    const std::uint64_t index = Get(p + 2, 2);
    z.DueUtcMs = static_cast<std::int64_t>(Get(p + 16, 8));
    if (p[0] > akBootCountdown || p[1] > kMaxUnanswered || index < 1 || index > kAlarmCapacity ||
        Get(p + 4, 4) != 0 || !Within(z.DueUtcMs, kMaxAbsUtcMs)) {
      return false;
    }
    z.Alarm = {static_cast<TAlarmKind>(p[0]), static_cast<std::uint16_t>(index), Get(p + 8, 8)};
    z.Unanswered = p[1];
    read.Snoozes.push_back(z);
  }
  for (std::size_t i = 0; i < skipCount; ++i) {
    const unsigned char* p = &b[snoozesEnd + kSkipCountBytes + i * kSkipBytes];
    TSkip k;
    const std::uint64_t index = Get(p + 2, 2);
    k.LocalSecond = static_cast<std::int64_t>(Get(p + 16, 8));
    if ((p[0] != akDaily && p[0] != akWeekly) || p[1] != 0 || index < 1 ||
        index > kAlarmCapacity || Get(p + 4, 4) != 0 || !Within(k.LocalSecond, kMaxAbsSecond)) {
      return false;
    }
    k.Alarm = {static_cast<TAlarmKind>(p[0]), static_cast<std::uint16_t>(index), Get(p + 8, 8)};
    read.Skips.push_back(k);
  }
  state = std::move(read);
  return true;
}

TStateLoad LoadProgramState(const std::wstring& programDir) {
  return LoadProgramState(programDir, fileio::SystemFileSystem());
}

TStateLoad LoadProgramState(const std::wstring& programDir, fileio::TFileSystem& fs) {
  TStateLoad load;
  const std::wstring path = programDir + kStateFileName;
  constexpr std::size_t kMaxBytes = kMaxStateBytes + 1;
  const fileio::ReadResult r = fs.Read(path, kMaxBytes);
  if (fileio::NoFileThere(r, path)) return load;
  if (r.opened && !r.readFailed && r.data.size() < kMaxBytes &&
      ParseProgramState(r.data, load.State)) {
    return load;
  }
  load.Damaged = true;
  if (!r.opened || r.readFailed) return load;
  const fileio::ReadResult whole = fileio::ReadAll(fs, path);
  if (!whole.opened || whole.readFailed) return load;
  for (unsigned n = 1; n <= kMaxKeptCopies; ++n) {
    const std::wstring kept =
        path + L".bad" + (n == 1 ? std::wstring() : DecimalText(static_cast<long long>(n)));
    const int error = fileio::WriteNew(fs, kept, whole.data.data(), whole.data.size());
    if (error == 0) {
      load.KeptAs = kept;
      break;
    }
    if (error != kErrFileExists) break;
  }
  return load;
}

int SaveProgramState(const TProgramState& state, const std::wstring& programDir) {
  return SaveProgramState(state, programDir, fileio::SystemFileSystem());
}

int SaveProgramState(const TProgramState& state, const std::wstring& programDir,
                     fileio::TFileSystem& fs) {
  const std::vector<unsigned char> bytes = FormatProgramState(state);
  return fileio::ReplaceAtomically(fs, programDir + kStateFileName, bytes.data(), bytes.size());
}
