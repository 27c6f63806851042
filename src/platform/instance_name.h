// One running copy per program folder: each folder's copy has its own
// alarm.rec and config.cfg, and two copies of one folder would ring every
// alarm twice and overwrite each other's saves.
#pragma once

#include <string>

// The name under which the copy of this program folder runs. Every spelling
// that Windows takes for the same folder (letter case, either separator, a
// trailing separator) gives the same name; different folders give different
// names. The name holds no separator, so it can name a mutex or a window
// class.
std::wstring InstanceName(const std::wstring& programDir);
