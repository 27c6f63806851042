// Tickers as timers of one hidden message-only window.
#pragma once

#include <vector>

#include "platform/tickers.h"
#include "platform/win32/handles.h"

class TWin32Tickers : public TTickers {
 public:
  TWin32Tickers();
  ~TWin32Tickers() override;
  TWin32Tickers(const TWin32Tickers&) = delete;
  TWin32Tickers& operator=(const TWin32Tickers&) = delete;
  std::unique_ptr<TTicker> Make() override;

  // For the tickers and their window: the ones alive now. A timer message
  // that was waiting when its ticker went finds nothing.
  std::vector<TTicker*> Live;

 private:
  win32::TUniqueWindow window_;
};
