// The dark app mode as the user's registry holds it: the DWORD
// AppsUseLightTheme under HKCU\...\Themes\Personalize is 0 when apps are
// dark. A missing key or value (Windows before 10, Wine) means light.
#pragma once

#include "platform/dark_apps.h"

class TSystemDarkApps : public TDarkApps {
 public:
  bool On() const override;
};
