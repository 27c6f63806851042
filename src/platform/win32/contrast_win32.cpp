#include "platform/win32/contrast_win32.h"

#include <windows.h>

bool TSystemHighContrast::On() const {
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof(hc);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) &&
         (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
