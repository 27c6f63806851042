#include "ui/ring_presenter.h"

#include "controls/components.h"
#include "controls/dispatcher.h"
#include "controls/message_boxes.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "ui/missed_window.h"
#include "ui/wake_up_window.h"

TRingPresenter::TRingPresenter(TWakeUpWindow& wakeUp, TMissedWindow& missed, TTrayIcon& icon,
                               TClock& clock, TRegionalFormats& formats, TMessageBoxes& boxes)
    : wakeUp_(wakeUp),
      missed_(missed),
      icon_(icon),
      clock_(clock),
      formats_(formats),
      boxes_(boxes) {}

void TRingPresenter::Attach(TRingSession& session) {
  session_ = &session;
  wakeUp_.Attach(session);
  missed_.OnSeen = [&session] { session.MissedSeen(); };
}

void TRingPresenter::ShowRing(const std::wstring& message, bool fresh) {
  wakeUp_.ShowRing(message, fresh, session_ ? session_->Signal().SnoozeMinutes
                                            : kDefaultSnoozeMinutes);
}

void TRingPresenter::HideRing() { wakeUp_.Hide(); }

void TRingPresenter::BringRingToFront() { wakeUp_.BringRingToFront(); }

void TRingPresenter::ShowMissed(const std::vector<TMissedAlarm>& missed) {
  missed_.ShowMissed(missed);
}

void TRingPresenter::NextRingChanged() {
  if (!session_) return;
  icon_.SetHint(TrayHint(session_->NextRing(), clock_.Now(), formats_));
  if (OnNextRingChanged) OnNextRingChanged();
}

void TRingPresenter::ReportError(const std::wstring& text) { ::ReportError(text); }

void TRingPresenter::ShowNotice(const std::wstring& text) { boxes_.ShowMessage(text); }

std::wstring TrayHint(const std::optional<TRingSession::TNextRing>& next,
                      const TClockReading& now, TRegionalFormats& formats) {
  std::wstring hint = L"Tivorra";
  if (next) {
    const double local = now.Local + static_cast<double>(next->UtcMs - now.UtcMs) / kMsPerDay;
    hint += L"\n" + formats.ShortDate(local) + L" " + formats.LongTime(local);
    const std::wstring start = MessageStart(next->Message, 24);
    if (!start.empty()) hint += L" " + start;
  }
  // The notification area shows at most 63 characters.
  if (hint.size() > 63) hint = hint.substr(0, 62) + L"…";
  return hint;
}
