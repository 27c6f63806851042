#include "engine/random_tune.h"

#include <cwctype>

#include "platform/file_system.h"
#include "platform/random.h"

namespace {

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

bool IsTune(const std::wstring& name) {
  const std::size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return false;
  const std::wstring ext = Lower(name.substr(dot + 1));
  return ext == L"mp3" || ext == L"wav";
}

}  // namespace

std::vector<std::wstring> TRandomTune::Tunes(fileio::TFileSystem& files,
                                             const std::wstring& section) {
  std::vector<std::wstring> tunes;
  for (const fileio::FolderEntry& e : files.List(section)) {
    if (!e.isFolder && IsTune(e.name)) tunes.push_back(e.name);
  }
  return tunes;
}

std::wstring TRandomTune::Pick(const std::wstring& music) {
  if (!IsSection(music)) return music;
  std::vector<std::wstring> tunes = Tunes(files_, music);
  if (tunes.empty()) return music;
  std::wstring& last = last_[Lower(music)];
  // The previous tune leaves the draw, so that each of the others is as
  // likely; when it is the only one, it plays again.
  std::vector<std::wstring> others = tunes;
  std::erase_if(others, [&](const std::wstring& t) { return Lower(t) == last; });
  if (!others.empty()) tunes = std::move(others);
  const std::wstring& tune = tunes[random_.Below(tunes.size())];
  last = Lower(tune);
  return music + tune;
}
