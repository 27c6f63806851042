#include "store/program_state.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/decimal_text.h"
#include "platform/errors.h"
#include "platform/file_io.h"

namespace {

constexpr char kHeader[] = "Tivorra state 1";
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

std::string Hex(std::uint64_t v) {
  static const char digits[] = "0123456789abcdef";
  std::string s(16, '0');
  for (int i = 15; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = digits[v & 15];
  return s;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

// The next space-separated field of `line` from `pos`.
std::string Field(const std::string& line, std::size_t& pos) {
  const std::size_t end = line.find(' ', pos);
  std::string f = line.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
  pos = end == std::string::npos ? line.size() : end + 1;
  return f;
}

bool ParseInt(const std::string& s, std::int64_t min, std::int64_t max, std::int64_t& out) {
  if (s.empty() || s.size() > 19) return false;
  std::size_t i = s[0] == '-' ? 1 : 0;
  if (i == s.size()) return false;
  std::int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    if (v > (INT64_MAX - 9) / 10) return false;
    v = v * 10 + (s[i] - '0');
  }
  if (s[0] == '-') v = -v;
  if (v < min || v > max) return false;
  out = v;
  return true;
}

bool ParseHex(const std::string& s, std::uint64_t& out) {
  if (s.size() != 16) return false;
  std::uint64_t v = 0;
  for (const char c : s) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (d < 0) return false;
    v = (v << 4) | static_cast<std::uint64_t>(d);
  }
  out = v;
  return true;
}

// Wider than any real clock, narrower than any overflow.
constexpr std::int64_t kMaxAbsSecond = 400000LL * 86400;
constexpr std::int64_t kMaxAbsUtcMs = kMaxAbsSecond * 1000;

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

std::string FormatProgramState(const TProgramState& state) {
  std::string s = std::string(kHeader) + "\r\n";
  if (state.LastExamined) s += "LastExamined " + Narrow(DecimalText(*state.LastExamined)) + "\r\n";
  for (const TSnooze& z : state.Snoozes) {
    s += "Snooze " + Narrow(DecimalText(z.Alarm.Kind)) + " " + Narrow(DecimalText(z.Alarm.Index)) +
         " " + Hex(z.Alarm.Digest) + " " + Narrow(DecimalText(z.DueUtcMs)) + " " +
         Narrow(DecimalText(z.Unanswered)) + "\r\n";
  }
  return s;
}

bool ParseProgramState(const std::string& text, TProgramState& state) {
  TProgramState read;
  std::size_t pos = 0;
  bool header = false;
  while (pos < text.size()) {
    std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) return false;  // every line ends with its break
    const std::string line = text.substr(pos, end - pos);
    pos = end + 2;
    if (!header) {
      if (line != kHeader) return false;
      header = true;
      continue;
    }
    std::size_t at = 0;
    const std::string name = Field(line, at);
    if (name == "LastExamined") {
      std::int64_t v = 0;
      if (read.LastExamined || !ParseInt(Field(line, at), -kMaxAbsSecond, kMaxAbsSecond, v)) {
        return false;
      }
      read.LastExamined = v;
    } else if (name == "Snooze") {
      std::int64_t kind = 0, index = 0, due = 0, unanswered = 0;
      std::uint64_t digest = 0;
      if (!ParseInt(Field(line, at), akDate, akBootCountdown, kind) ||
          !ParseInt(Field(line, at), 1, kAlarmCapacity, index) ||
          !ParseHex(Field(line, at), digest) ||
          !ParseInt(Field(line, at), -kMaxAbsUtcMs, kMaxAbsUtcMs, due) ||
          !ParseInt(Field(line, at), 0, kMaxUnanswered, unanswered) ||
          read.Snoozes.size() >= kMaxSnoozes) {
        return false;
      }
      read.Snoozes.push_back({{static_cast<TAlarmKind>(kind), static_cast<std::uint16_t>(index), digest},
                              due, static_cast<int>(unanswered)});
    } else {
      return false;
    }
    if (at < line.size()) return false;  // more fields than the line's kind has
  }
  if (!header) return false;
  state = std::move(read);
  return true;
}

TStateLoad LoadProgramState(const std::wstring& programDir) {
  TStateLoad load;
  const std::wstring path = programDir + kStateFileName;
  if (!fileio::FileExists(path)) return load;
  constexpr std::size_t kMaxBytes = 64 * 1024;
  const fileio::ReadResult r = fileio::ReadHead(path, kMaxBytes);
  if (r.opened && !r.readFailed && r.data.size() < kMaxBytes &&
      ParseProgramState(std::string(r.data.begin(), r.data.end()), load.State)) {
    return load;
  }
  load.Damaged = true;
  if (!r.opened || r.readFailed) return load;
  const fileio::ReadResult whole = fileio::ReadAll(path);
  if (!whole.opened || whole.readFailed) return load;
  for (unsigned n = 1; n <= kMaxKeptCopies; ++n) {
    const std::wstring kept =
        path + L".bad" + (n == 1 ? std::wstring() : DecimalText(static_cast<long long>(n)));
    const int error = fileio::WriteNew(kept, whole.data.data(), whole.data.size());
    if (error == 0) {
      load.KeptAs = kept;
      break;
    }
    if (error != kErrFileExists) break;
  }
  return load;
}

int SaveProgramState(const TProgramState& state, const std::wstring& programDir) {
  const std::string text = FormatProgramState(state);
  return fileio::ReplaceAtomically(programDir + kStateFileName, text.data(), text.size());
}
