// Years of an alarm clock's life in seconds: the ring session over
// simulated time, power, sound, timers and files, driven by a seeded
// stream of what users, clocks and PCs do, and checked after every step
// against a model of the rules written apart from the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/zones.h"

// One thing that happens, `GapMs` after the one before. What it acts on is
// chosen from its numbers when it happens (an alarm by its number modulo
// the alarms there are), so any part of a run is a run too.
struct TSimEvent {
  enum TKind : std::uint8_t {
    AddAlarm,
    ChangeAlarm,
    DeleteAlarm,
    StepClock,
    Sleep,  // with one in two locked first
    PowerLoss,      // the PC goes off at once, the program without its exit path
    PowerLossSave,  // the same, in the middle of a coming file call
    Kill,           // the program alone ends without its exit path
    Quit,           // the user quits and starts the program again later
    FailSaves,      // the disk fills, or a file is locked, for the next calls
    DamageState,    // Tivorra.state is damaged while the program is not running
    CancelSnoozes,
    WindowTick,  // with one in two the user locks the workstation, or unlocks it
    Skip,     // skip the next occurrence of a daily or weekly alarm, or take it back
    DaysOff,  // Tivorra.ini gets new days off and working days
    KindCount
  };
  std::int64_t GapMs = 0;
  TKind Kind = WindowTick;
  std::uint32_t A = 0, B = 0, C = 0;
};

struct TSimRun {
  std::uint64_t Seed = 0;
  TZoneName Zone = TZoneName::Berlin;
  int StartYear = 2000;
  int Years = 1;
  std::vector<TSimEvent> Events;
};

// The run a seed makes: its zone, its years and its events.
TSimRun MakeRun(std::uint64_t seed, int years);

struct TSimResult {
  bool Failed = false;
  std::string Failure;   // what broke, where
  std::int64_t Steps = 0;        // instants the session was driven at
  std::int64_t Checks = 0;       // invariant checks made
  std::int64_t Rings = 0;
  std::int64_t Missed = 0;
  std::int64_t Restarts = 0;
  std::int64_t EventsDone = 0;
};

// Plays the run. `log`, when given, receives a line per event.
TSimResult Simulate(const TSimRun& run, std::vector<std::string>* log = nullptr);

// The events of the run as lines, for a failure's report.
std::string EventText(const TSimEvent& e);
