// The user's regional formats for the clock and the list.
#pragma once

#include <string>

#include "platform/date_time.h"

class TRegionalFormats {
 public:
  virtual ~TRegionalFormats() = default;
  // The time of day of a local time value in the user's long time format.
  virtual std::wstring LongTime(TDateTime local) = 0;
  // The date of a local time value in the user's short date format.
  virtual std::wstring ShortDate(TDateTime local) = 0;
};
