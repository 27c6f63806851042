// The control model: controls, forms, timers, menus and the tray icon.
// See controls/control.h for how a control and its peer work together.
#pragma once

#include "controls/components.h"
#include "controls/control.h"
#include "controls/form.h"
