// The running executable and its command line.
#pragma once

#include <string>
#include <vector>

// The full path of the running executable, as the system reports it.
std::wstring ExecutablePath();
// The parameters after the program's name, as the system splits them.
std::vector<std::wstring> CommandLineParams();
