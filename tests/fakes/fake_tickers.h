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
  TFakeTicker(TFakeTickers& owner, TFakeClock& clock);
  ~TFakeTicker() override;
  void Start(std::int64_t intervalMs) override {
    interval_ = intervalMs;
    due_ = clock_.Uptime + static_cast<std::uint64_t>(intervalMs);
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
  TFakeClock& clock_;
  bool running_ = false;
  std::int64_t interval_ = 0;
  std::uint64_t due_ = 0;
};

class TFakeTickers : public TTickers {
 public:
  explicit TFakeTickers(TFakeClock& clock) : clock_(clock) {}
  std::unique_ptr<TTicker> Make() override {
    return std::make_unique<TFakeTicker>(*this, clock_);
  }
  // Every running ticker due by the clock's uptime now ticks, earliest
  // first, as often as its time came.
  void RunDue() {
    for (;;) {
      TFakeTicker* next = nullptr;
      for (TFakeTicker* t : live) {
        if (t->Running() && t->Due() <= clock_.Uptime && (!next || t->Due() < next->Due())) {
          next = t;
        }
      }
      if (!next) return;
      next->Tick();
    }
  }
  std::vector<TFakeTicker*> live;

 private:
  TFakeClock& clock_;
};

inline TFakeTicker::TFakeTicker(TFakeTickers& owner, TFakeClock& clock)
    : owner_(owner), clock_(clock) {
  owner_.live.push_back(this);
}
inline TFakeTicker::~TFakeTicker() { std::erase(owner_.live, this); }
