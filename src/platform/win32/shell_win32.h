#pragma once

#include "platform/shell.h"

class TWin32Shell : public TShell {
 public:
  void Open(const std::wstring& file) override;
};
