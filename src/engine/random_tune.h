// An alarm whose music names a section's folder (the path ends with a
// backslash) plays one of that section's tunes, picked at random at every
// ring: the first, each snooze's, and the next day's.
#pragma once

#include <map>
#include <string>
#include <vector>

class TRandomSource;
namespace fileio {
class TFileSystem;
}

class TRandomTune {
 public:
  TRandomTune(fileio::TFileSystem& files, TRandomSource& random) : files_(files), random_(random) {}

  // Whether the music names a section rather than one file.
  static bool IsSection(const std::wstring& music) {
    return !music.empty() && music.back() == L'\\';
  }
  // The names of the section's tunes: its files whose extension is mp3 or
  // wav in any letter case, in the file system's order.
  static std::vector<std::wstring> Tunes(fileio::TFileSystem& files, const std::wstring& section);

  // The file a ring plays. Music that names a file is that file. A section
  // gives one of its tunes at random, never the one its previous ring
  // played while it has two or more. A section with no tune, or none at
  // all, gives its folder unchanged: the player cannot open a folder, so
  // the ring sounds the tone and tells the player's error, as it does for
  // any music that is not there.
  std::wstring Pick(const std::wstring& music);

 private:
  fileio::TFileSystem& files_;
  TRandomSource& random_;
  // Each section's last tune, both in lower case (the file system ignores
  // letter case); kept while the program runs.
  std::map<std::wstring, std::wstring> last_;
};
