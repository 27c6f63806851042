#pragma once

#include "platform/regional.h"

// The formats of the user's locale (GetTimeFormatEx, GetDateFormatEx).
class TWin32RegionalFormats : public TRegionalFormats {
 public:
  std::wstring LongTime(TDateTime local) override;
  std::wstring ShortDate(TDateTime local) override;
};
