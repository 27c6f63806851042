// High contrast as Windows reports it (SPI_GETHIGHCONTRAST), asked at each
// paint: the setting can change at any moment.
#pragma once

#include "platform/contrast.h"

class TSystemHighContrast : public THighContrast {
 public:
  bool On() const override;
};
