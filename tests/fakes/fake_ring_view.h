// What the ring session showed, as a test reads it back: the wake-up
// window's message and whether it stands, the missed list, the errors and
// notices it told.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/ring_session.h"

class TFakeRingView : public TRingView {
 public:
  void ShowRing(const std::wstring& text, bool fresh) override {
    message = text;
    ringShown = true;
    fresh ? ++freshRings : ++joinedRings;
    if (onShowRing) onShowRing();
  }
  void HideRing() override { ringShown = false; }
  void BringRingToFront() override { ++broughtToFront; }
  void ShowMissed(const std::vector<TMissedAlarm>& list) override {
    missed = list;
    missedShown = !list.empty();
  }
  void NextRingChanged() override { ++nextChanges; }
  void ReportError(const std::wstring& text) override {
    errors.push_back(text);
    if (onReport) onReport();
  }
  void ShowNotice(const std::wstring& text) override { notices.push_back(text); }

  bool ringShown = false;
  std::wstring message;
  int freshRings = 0;
  int joinedRings = 0;
  int broughtToFront = 0;
  bool missedShown = false;
  std::vector<TMissedAlarm> missed;
  int nextChanges = 0;
  std::vector<std::wstring> errors;
  std::vector<std::wstring> notices;
  std::function<void()> onShowRing;
  std::function<void()> onReport;
};
