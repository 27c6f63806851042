// Resource ids shared by the resource scripts and the code.
#pragma once

// The fallback alarm tone, a WAVE resource (alarm_tone.rc).
#define IDR_ALARM_TONE 101
