// Shared by the fuzz targets: a private program folder for the loaders,
// which read their files from it, and a stop that libFuzzer reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "controls/message_boxes.h"

// A folder made once per process (in memory where the system has
// /dev/shm), removed at exit. With the trailing separator, as ProgramDir.
const std::wstring& FuzzProgramDir();

// Replaces `name` in that folder with the bytes.
void WriteFuzzFile(const wchar_t* name, const std::uint8_t* data, std::size_t size);

// A broken promise of the code under test: print it and abort, which
// libFuzzer records as a finding with the input that led to it.
[[noreturn]] void FuzzFailure(const char* what);

// Counts what the loaders would have shown.
class TCountingBoxes : public TMessageBoxes {
 public:
  void ShowMessage(const std::wstring& text) override {
    ++messages;
    last = text;
  }
  void ShowErrorReport(const std::wstring& text) override {
    ++errors;
    last = text;
  }
  int messages = 0;
  int errors = 0;
  std::wstring last;
};
