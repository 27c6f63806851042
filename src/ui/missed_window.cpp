#include "ui/missed_window.h"

#include "platform/date_time.h"
#include "platform/decimal_text.h"
#include "platform/regional.h"

TMissedWindow::TMissedWindow(TRegionalFormats& formats)
    : TForm(L"Пропущенные будильники", 200, 180, 561, 197, TBorderStyle::Single),
      formats_(formats) {
  OK.OnClick = [this] { OKClick(); };
  OnClose = [this] {
    List.Clear();
    if (OnSeen) OnSeen();
  };
}

void TMissedWindow::ShowMissed(const std::vector<TMissedAlarm>& missed) {
  std::vector<std::wstring> lines;
  for (const TMissedAlarm& e : missed) lines.push_back(LineText(e));
  List.SetItems(std::move(lines));
  ShowNormal();
  BringToForeground();
}

std::wstring TMissedWindow::LineText(const TMissedAlarm& e) const {
  const TDateTime local =
      static_cast<double>(e.LatestSecond) / static_cast<double>(kSecondsPerDay);
  std::wstring line = formats_.ShortDate(local) + L" " + formats_.LongTime(local) + L"   " +
                      KindName(e.Alarm.Kind);
  const std::wstring message = MessageStart(e.Message, kMessageChars);
  if (!message.empty()) line += L"   " + message;
  if (e.Count > 1) line += L"   (пропущено: " + DecimalText(e.Count) + L")";
  return line;
}

void TMissedWindow::OKClick() { Close(); }

std::wstring MessageStart(const std::wstring& message, std::size_t chars) {
  const std::size_t lineEnd = message.find_first_of(L"\r\n");
  std::wstring first = message.substr(0, lineEnd);
  bool cut = lineEnd != std::wstring::npos && message.find_first_not_of(L"\r\n", lineEnd) !=
                                                  std::wstring::npos;
  if (first.size() > chars) {
    first.resize(chars);
    cut = true;
  }
  while (!first.empty() && first.back() == L' ') first.pop_back();
  return cut ? first + L"…" : first;
}

std::wstring KindName(TAlarmKind kind) {
  switch (kind) {
    case akDate: return L"Дата";
    case akDaily: return L"Ежедневно";
    case akWeekly: return L"Еженедельно";
    case akCountdown: return L"Обратный отсчет";
    case akBootCountdown: return L"Обратный отсчет после включения компьютера";
  }
  return L"";
}
