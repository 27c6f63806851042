// Keeps one running copy per program folder (see platform/instance_name.h).
#pragma once

#include <functional>
#include <string>

#include "platform/win32/handles.h"

class TSingleInstance {
 public:
  // Claims the folder with a named mutex. The first copy also creates, at
  // once, the hidden window through which later starts find it, so a
  // second start in the same second finds it as well.
  explicit TSingleInstance(const std::wstring& programDir);
  ~TSingleInstance();
  TSingleInstance(const TSingleInstance&) = delete;
  TSingleInstance& operator=(const TSingleInstance&) = delete;

  // Whether this is the folder's first copy.
  bool First() const { return first_; }

  // First copy: what to do when a later start asks for the program. Runs on
  // this thread, from its message loop.
  void OnComeForward(std::function<void()> handler) { comeForward_ = std::move(handler); }

  // Later copy: asks the first copy to come forward, waiting up to
  // kFindWaitMs for its window (it may be starting up too). False when it
  // was not found.
  bool AskFirstToComeForward();

  static constexpr unsigned kFindWaitMs = 5000;

 private:
  friend struct TSingleInstanceWindow;

  std::wstring name_;
  win32::TUniqueHandle mutex_;
  win32::TUniqueWindow window_;
  bool first_ = false;
  std::function<void()> comeForward_;
};
