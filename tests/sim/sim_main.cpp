// tivorra_sim [--years N] [--run-years N] [--from S] [--jobs J] [--seed S] [--log]
//
// Plays runs of --run-years (2) years each, seeds --from (1) on, until
// --years (1000) years are simulated, on --jobs (2) threads. A failing run
// is cut down to the fewest events that still fail, and its seed and those
// events are printed; --seed S plays that run alone (--log: every event).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/simulator.h"

namespace {

// The fewest events of the run that still fail: pieces of it are dropped
// while the rest fails (delta debugging, coarse to fine).
// What kind of failure: its text without the numbers and times in it.
std::string Kind(const std::string& failure) {
  std::string k;
  const std::size_t from = failure.find("): ");
  for (std::size_t i = from == std::string::npos ? 0 : from; i < failure.size(); ++i) {
    const char c = failure[i];
    if (c == ';') break;
    if (c < '0' || c > '9') k += c;
  }
  return k;
}

TSimRun Shrink(TSimRun run) {
  const TSimResult first = Simulate(run);
  const std::string kind = Kind(first.Failure);
  // What comes after the failure plays no part in it.
  run.Events.resize(std::min(run.Events.size(), static_cast<std::size_t>(first.EventsDone) + 1));
  for (std::size_t chunk = run.Events.size() / 2; chunk >= 1; chunk /= 2) {
    for (std::size_t at = 0; at < run.Events.size();) {
      TSimRun less = run;
      const std::size_t end = std::min(at + chunk, less.Events.size());
      // The time of the dropped events stays: the next one comes as late.
      std::int64_t gap = 0;
      for (std::size_t i = at; i < end; ++i) gap += less.Events[i].GapMs;
      less.Events.erase(less.Events.begin() + static_cast<std::ptrdiff_t>(at),
                        less.Events.begin() + static_cast<std::ptrdiff_t>(end));
      if (at < less.Events.size()) less.Events[at].GapMs += gap;
      const TSimResult r = Simulate(less);
      if (r.Failed && Kind(r.Failure) == kind) {
        run = std::move(less);
      } else {
        at += chunk;
      }
    }
    if (chunk == 1) break;
  }
  return run;
}

void Report(const TSimRun& failing) {
  std::printf("simulation FAILED, seed %llu: %s\n", static_cast<unsigned long long>(failing.Seed),
              Simulate(failing).Failure.c_str());
  const TSimRun shortest = Shrink(failing);
  std::vector<std::string> log;
  const TSimResult r = Simulate(shortest, &log);
  std::printf("the shortest run that still fails (%zu of %zu events), %s from %d:\n",
              shortest.Events.size(), failing.Events.size(), ZoneText(shortest.Zone).c_str(),
              shortest.StartYear);
  for (const std::string& line : log) std::printf("  %s\n", line.c_str());
  std::printf("  -> %s\n", r.Failure.c_str());
  std::printf("replay: scripts/simulate.sh --seed %llu\n",
              static_cast<unsigned long long>(failing.Seed));
}

}  // namespace

int main(int argc, char** argv) {
  // alarm.rec is saved thousands of times a run: keep its 389 KB blocks in
  // the heap instead of mapping fresh pages for each.
  mallopt(M_MMAP_THRESHOLD, 4 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  long long years = 1000;
  int runYears = 2;
  unsigned long long from = 1;
  int jobs = 2;
  bool one = false, log = false;
  unsigned long long seed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto next = [&]() -> const char* {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "%s needs a value\n", a.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--years") years = std::atoll(next());
    else if (a == "--run-years") runYears = std::max(1, std::atoi(next()));
    else if (a == "--from") from = std::strtoull(next(), nullptr, 10);
    else if (a == "--jobs") jobs = std::max(1, std::atoi(next()));
    else if (a == "--seed") { seed = std::strtoull(next(), nullptr, 10); one = true; }
    else if (a == "--log") log = true;
    else {
      std::fprintf(stderr, "usage: tivorra_sim [--years N] [--run-years N] [--from S] [--jobs J] [--seed S [--log]]\n");
      return 2;
    }
  }

  if (one) {
    const TSimRun run = MakeRun(seed, runYears);
    std::vector<std::string> lines;
    const TSimResult r = Simulate(run, log ? &lines : nullptr);
    for (const std::string& l : lines) std::printf("  %s\n", l.c_str());
    if (r.Failed) {
      Report(run);
      return 1;
    }
    std::printf("seed %llu: %d years from %d in %s, %lld events, %lld checks, %lld rings, %lld missed: passed\n",
                seed, runYears, run.StartYear, ZoneText(run.Zone).c_str(),
                static_cast<long long>(r.EventsDone), static_cast<long long>(r.Checks),
                static_cast<long long>(r.Rings), static_cast<long long>(r.Missed));
    return 0;
  }

  const long long runs = (years + runYears - 1) / runYears;
  std::atomic<long long> nextRun{0};
  std::atomic<bool> failed{false};
  std::mutex mutex;
  unsigned long long failingSeed = 0;
  long long events = 0, checks = 0, rings = 0, missed = 0, restarts = 0, done = 0;
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> threads;
  for (int j = 0; j < jobs; ++j) {
    threads.emplace_back([&] {
      for (;;) {
        const long long k = nextRun++;
        if (k >= runs || failed) return;
        const TSimRun run = MakeRun(from + static_cast<unsigned long long>(k), runYears);
        const TSimResult r = Simulate(run);
        std::lock_guard<std::mutex> lock(mutex);
        if (r.Failed) {
          if (!failed || run.Seed < failingSeed) failingSeed = run.Seed;
          failed = true;
          return;
        }
        ++done;
        events += r.EventsDone;
        checks += r.Checks;
        rings += r.Rings;
        missed += r.Missed;
        restarts += r.Restarts;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (failed) {
    Report(MakeRun(failingSeed, runYears));
    return 1;
  }
  std::printf("simulated %lld years (%lld runs of %d, seeds %llu-%llu) in %.1f s: %lld events, "
              "%lld rings, %lld missed, %lld starts, %lld invariant checks, 0 failures\n",
              done * runYears, done, runYears, from, from + static_cast<unsigned long long>(done) - 1,
              seconds, events, rings, missed, restarts, checks);
  return 0;
}
