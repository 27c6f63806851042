// Tivorra.state of any content: the reader takes a file whole or refuses
// it whole. What it takes is exactly what the writer makes of it, byte for
// byte, and holds no more snoozes than the program keeps; a refused file is
// kept aside byte for byte and the state starts empty. Every state the
// program can save, it reads back.
//
// The input:
//   byte 0     bit 0: build a state the program can save from the rest,
//              else the rest is the file as it is
//   a state    a byte whose bit 0 says whether a second was examined, that
//              second (64 bits, modulo the range of time values), then
//              records of 20 bytes: a byte whose bit 0 makes it a skip, else
//              a snooze; a snooze's kind, rings unanswered and index (each
//              modulo its range), the digest, the due time (64 bits, modulo
//              the range of instants a clock can read); a skip's kind (daily
//              or weekly by bit 0), a byte unused, its index, the digest and
//              the local second (modulo the range of time values)
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/date_time.h"
#include "store/program_state.h"

namespace {

constexpr wchar_t kKeptName[] = L"Tivorra.state.bad";

// Local seconds of every time value a clock reading can hold, and the
// universal ms of those moments in any time zone, a snooze later.
constexpr auto kMaxSecond = static_cast<std::int64_t>(kMaxTimeValueDays) * kSecondsPerDay;
constexpr std::int64_t kMaxUtcMs =
    (static_cast<std::int64_t>(kMaxTimeValueDays) + kDaysTo1970 + 1) * kMsPerDay;

std::int64_t Within(std::uint64_t v, std::int64_t limit) {
  return static_cast<std::int64_t>(v % static_cast<std::uint64_t>(2 * limit + 1)) - limit;
}

TProgramState StateFrom(TFuzzInput& in) {
  TProgramState s;
  const bool examined = (in.Byte() & 1) != 0;
  const std::uint64_t second = in.U64();
  if (examined) s.LastExamined = Within(second, kMaxSecond);
  while (in.Left() > 0) {
    if (in.Byte() & 1) {
      TSkip k;
      k.Alarm.Kind = (in.Byte() & 1) ? akWeekly : akDaily;
      in.Byte();
      k.Alarm.Index = static_cast<std::uint16_t>(1 + in.Byte() % kAlarmCapacity);
      k.Alarm.Digest = in.U64();
      k.LocalSecond = Within(in.U64(), kMaxSecond);
      if (s.Skips.size() < kMaxSkips) s.Skips.push_back(k);
      continue;
    }
    TSnooze z;
    z.Alarm.Kind = static_cast<TAlarmKind>(in.Byte() % kAlarmKindCount);
    z.Unanswered = in.Byte() % (kMaxUnanswered + 1);
    z.Alarm.Index = static_cast<std::uint16_t>(1 + in.Byte() % kAlarmCapacity);
    z.Alarm.Digest = in.U64();
    z.DueUtcMs = Within(in.U64(), kMaxUtcMs);
    if (s.Snoozes.size() < kMaxSnoozes) s.Snoozes.push_back(z);
  }
  return s;
}

// Nothing a program could have written: what a refused parse must leave.
TProgramState Sentinel() {
  TProgramState s;
  s.LastExamined = -1;
  s.Snoozes.resize(3);
  return s;
}

void CheckAccepted(const TProgramState& state, const std::vector<unsigned char>& bytes) {
  if (state.Snoozes.size() > kMaxSnoozes) FuzzFailure("more snoozes than the program keeps");
  if (state.Skips.size() > kMaxSkips) FuzzFailure("more skips than the program keeps");
  for (const TSkip& k : state.Skips) {
    if ((k.Alarm.Kind != akDaily && k.Alarm.Kind != akWeekly) || k.Alarm.Index < 1 ||
        k.Alarm.Index > kAlarmCapacity) {
      FuzzFailure("a skip taken lies outside its ranges");
    }
  }
  for (const TSnooze& z : state.Snoozes) {
    if (z.Alarm.Kind >= kAlarmKindCount || z.Alarm.Index < 1 || z.Alarm.Index > kAlarmCapacity ||
        z.Unanswered < 0 || z.Unanswered > kMaxUnanswered) {
      FuzzFailure("a snooze taken lies outside its ranges");
    }
  }
  if (FormatProgramState(state) != bytes) FuzzFailure("a state taken does not write back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const bool built = (in.Byte() & 1) != 0;
  TProgramState made;
  std::vector<unsigned char> bytes;
  if (built) {
    made = StateFrom(in);
    bytes = FormatProgramState(made);
  } else {
    bytes = in.Rest();
  }

  TProgramState parsed = Sentinel();
  const bool accepted = ParseProgramState(bytes, parsed);
  if (built && (!accepted || parsed != made)) {
    FuzzFailure("a state the program saves reads back otherwise");
  }
  if (accepted) {
    CheckAccepted(parsed, bytes);
  } else if (parsed != Sentinel()) {
    FuzzFailure("a refused file changed the state");
  }

  // The same through the file: taken as parsed, or kept aside as it was.
  const std::wstring& dir = FuzzProgramDir();
  WriteFuzzFile(kStateFileName, bytes.data(), bytes.size());
  const TStateLoad load = LoadProgramState(dir);
  if (accepted) {
    if (load.Damaged || !load.KeptAs.empty() || load.State != parsed) {
      FuzzFailure("a file that parses did not load as parsed");
    }
    // Saved again, it loads the same.
    if (SaveProgramState(load.State, dir) != 0) FuzzFailure("the state could not be saved");
    const TStateLoad again = LoadProgramState(dir);
    if (again.Damaged || again.State != parsed) FuzzFailure("a saved state loads back otherwise");
    return 0;
  }
  if (!load.Damaged) FuzzFailure("a refused file was not reported damaged");
  if (load.State != TProgramState{}) FuzzFailure("the state of a damaged file is not empty");
  if (load.KeptAs != dir + kKeptName) FuzzFailure("a damaged file was not kept aside");
  if (ReadFuzzFile(kKeptName) != bytes) FuzzFailure("the kept copy differs from the file");
  RemoveFuzzFile(kKeptName);
  return 0;
}
