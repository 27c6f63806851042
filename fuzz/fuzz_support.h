// Shared by the fuzz targets: a private program folder for the loaders,
// which read their files from it, and a stop that libFuzzer reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A folder made once per process (in memory where the system has
// /dev/shm), removed at exit. With the trailing separator, as ProgramDir.
const std::wstring& FuzzProgramDir();

// Replaces `name` in that folder with the bytes.
void WriteFuzzFile(const wchar_t* name, const std::uint8_t* data, std::size_t size);

// A broken promise of the code under test: print it and abort, which
// libFuzzer records as a finding with the input that led to it.
[[noreturn]] void FuzzFailure(const char* what);
