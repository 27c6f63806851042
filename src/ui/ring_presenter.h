// Shows the ring session: the wake-up window, the missed list, the next
// ringing in the tray icon's tooltip, and what went wrong in the error
// report.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/ring_session.h"

class TClock;
class TMessageBoxes;
class TMissedWindow;
class TRegionalFormats;
class TTrayIcon;
class TWakeUpWindow;

class TRingPresenter : public TRingView {
 public:
  TRingPresenter(TWakeUpWindow& wakeUp, TMissedWindow& missed, TTrayIcon& icon, TClock& clock,
                 TRegionalFormats& formats, TMessageBoxes& boxes);
  // The session shown; the windows' answers go to it.
  void Attach(TRingSession& session);

  void ShowRing(const std::wstring& message, bool fresh) override;
  void HideRing() override;
  void BringRingToFront() override;
  void ShowMissed(const std::vector<TMissedAlarm>& missed) override;
  void NextRingChanged() override;
  void ReportError(const std::wstring& text) override;
  void ShowNotice(const std::wstring& text) override;

  // After the tooltip follows a change of the next ring: whatever else
  // shows the session's plans (skips in the list) follows too.
  std::function<void()> OnNextRingChanged;

 private:
  TWakeUpWindow& wakeUp_;
  TMissedWindow& missed_;
  TTrayIcon& icon_;
  TClock& clock_;
  TRegionalFormats& formats_;
  TMessageBoxes& boxes_;
  TRingSession* session_ = nullptr;
};

// The tooltip: the program's name, and the next moment that rings in local
// time as the clock reads now with the start of its message; at most the
// 63 characters the notification area shows.
std::wstring TrayHint(const std::optional<TRingSession::TNextRing>& next,
                      const TClockReading& now, TRegionalFormats& formats);
