// The ring's player as a test sets it up: music that opens or not, plays or
// not, and a log of what it was told.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/ring_sound.h"
#include "platform/errors.h"

class TFakeRingPlayer : public TRingPlayer {
 public:
  // One entry a command: "open <file>" (also when it fails), "close" (an
  // open replacing other music), "play", "stop", "tone", "tone stop" (only
  // when the tone sounded).
  std::vector<std::wstring> log;

  // Opening `file` fails with `text`. A folder (a path that ends with a
  // backslash) never opens, as with the real player.
  void FailOpen(const std::wstring& file, const std::wstring& text) { failingOpens_[file] = text; }
  void AllowOpen(const std::wstring& file) { failingOpens_.erase(file); }
  // Opens, but its device cannot play it.
  void MarkUnplayable(const std::wstring& file) { unplayable_.insert(file); }
  void FailNextStop(const std::wstring& text) { failStop_ = text; }

  void Open(const std::wstring& file) override {
    if (open_) log.push_back(L"close");
    open_ = false;
    playing = false;
    file_.clear();
    log.push_back(L"open " + file);
    if (const auto it = failingOpens_.find(file); it != failingOpens_.end()) {
      throw EAppError(it->second);
    }
    // A folder is no music, for the real player either.
    if (!file.empty() && file.back() == L'\\') throw EAppError(L"no music in " + file);
    open_ = true;
    file_ = file;
  }
  bool IsOpen() override { return open_; }
  bool CanPlay() override { return open_ && !unplayable_.count(file_); }
  void Play() override {
    log.push_back(L"play");
    if (!CanPlay()) throw EAppError(L"cannot play " + file_);
    playing = true;
  }
  void Stop() override {
    log.push_back(L"stop");
    playing = false;
    if (!failStop_.empty()) {
      const std::wstring text = failStop_;
      failStop_.clear();
      throw EAppError(text);
    }
  }
  void PlayTone() override {
    log.push_back(L"tone");
    tone = true;
  }
  void StopTone() override {
    if (tone) log.push_back(L"tone stop");
    tone = false;
  }

  // The log since the last call.
  std::vector<std::wstring> Take() {
    std::vector<std::wstring> out;
    out.swap(log);
    return out;
  }
  const std::wstring& OpenFile() const { return file_; }

  bool playing = false;
  bool tone = false;

 private:
  std::map<std::wstring, std::wstring> failingOpens_;
  std::set<std::wstring> unplayable_;
  std::wstring failStop_;
  std::wstring file_;
  bool open_ = false;
};
