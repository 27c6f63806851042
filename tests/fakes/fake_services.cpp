#include "fakes/fake_services.h"

#include "platform/date_time.h"

namespace {
std::wstring Pad2(int v) { return (v < 10 ? L"0" : L"") + std::to_wstring(v); }
}  // namespace

std::wstring TFakeRegionalFormats::LongTime(TDateTime local) {
  const auto t = DecodeTime(local);
  if (!t) return std::wstring();
  return std::to_wstring(t->Hour) + L":" + Pad2(t->Minute) + L":" + Pad2(t->Second);
}

std::wstring TFakeRegionalFormats::ShortDate(TDateTime local) {
  const auto d = DecodeDate(local);
  if (!d) return std::wstring();
  return Pad2(d->Day) + L"." + Pad2(d->Month) + L"." + std::to_wstring(d->Year);
}
