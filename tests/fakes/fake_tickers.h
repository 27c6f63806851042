// Timers that tick when a test says so, or as a fake clock's time passes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "fakes/fake_clock.h"
#include "platform/tickers.h"

class TFakeTickers;

class TFakeTicker : public TTicker {
 public:
  TFakeTicker(TFakeTickers& owner, const std::uint64_t& uptime);
  ~TFakeTicker() override;
  void Start(std::int64_t intervalMs) override {
    interval_ = intervalMs;
    due_ = uptime_ + static_cast<std::uint64_t>(intervalMs);
    running_ = true;
    ++starts;
  }
  void Stop() override { running_ = false; }
  bool Running() const override { return running_; }
  std::int64_t IntervalMs() const override { return interval_; }
  // The time came: it ticks (whether or not it runs, as a tick already on
  // its way would).
  void Tick() {
    due_ += static_cast<std::uint64_t>(interval_);
    if (OnTick) OnTick();
  }
  std::uint64_t Due() const { return due_; }
  int starts = 0;

 private:
  TFakeTickers& owner_;
  const std::uint64_t& uptime_;
  bool running_ = false;
  std::int64_t interval_ = 0;
  std::uint64_t due_ = 0;
};

class TFakeTickers : public TTickers {
 public:
  explicit TFakeTickers(TFakeClock& clock) : uptime_(clock.Uptime) {}
  // Over any clock's milliseconds since Windows started.
  explicit TFakeTickers(const std::uint64_t& uptime) : uptime_(uptime) {}
  std::unique_ptr<TTicker> Make() override {
    return std::make_unique<TFakeTicker>(*this, uptime_);
  }
  // The running ticker due first; none when nothing runs.
  TFakeTicker* NextDue() const {
    TFakeTicker* next = nullptr;
    for (TFakeTicker* t : live) {
      if (t->Running() && (!next || t->Due() < next->Due())) next = t;
    }
    return next;
  }
  // Every running ticker due by the clock's uptime now ticks, earliest
  // first, as often as its time came.
  void RunDue() {
    for (;;) {
      TFakeTicker* next = nullptr;
      for (TFakeTicker* t : live) {
        if (t->Running() && t->Due() <= uptime_ && (!next || t->Due() < next->Due())) {
          next = t;
        }
      }
      if (!next) return;
      next->Tick();
    }
  }
  std::vector<TFakeTicker*> live;

 private:
  const std::uint64_t& uptime_;
};

inline TFakeTicker::TFakeTicker(TFakeTickers& owner, const std::uint64_t& uptime)
    : owner_(owner), uptime_(uptime) {
  owner_.live.push_back(this);
}
inline TFakeTicker::~TFakeTicker() { std::erase(owner_.live, this); }
