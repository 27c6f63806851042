// The editor's music picker: a tick box, the sections (the folders under
// the program's Sound folder) and the music of one section (its mp3 and
// wav files), both in the file system's own order. A section with music
// offers first a random tune, stored as the section's folder with its
// trailing backslash; the ring picks one of its files each time.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "controls/controls.h"

class TMusicPicker {
 public:
  // `soundDir` names the Sound folder, with its trailing backslash.
  TMusicPicker(TCheckBox& cxCheckMUS, TComboBox& cxDirBox, TListBox& cxMusList,
               std::function<std::wstring()> soundDir);

  // Handlers.
  void MusicCheckClick();
  void SectionChange();
  void MusicListClick();

  // Both lists emptied.
  void Clear();
  // An activation lists the sections and the section the box names again,
  // and selects the row chosen last.
  void Refill();
  // A new alarm: the box ticked off and the picker greyed; nothing kept.
  void StartAdding();
  // A stored alarm's music (empty: none), found in the lists when it lies
  // under the Sound folder, and kept as it is when it does not. A section's
  // folder selects its random tune.
  void Show(const std::wstring& mus);
  // The music to store: empty when the box is off or nothing is chosen.
  std::wstring Chosen() const;
  // No row of music selected.
  void Unselect() { musList_.SetItemIndex(-1); }
  int LastIndex() const { return lastIndex_; }

 private:
  void ListSections(std::wstring folder);
  void ListMusic(std::wstring folder);
  // The section the box names: its selected entry, or the entry its text
  // names.
  int SectionIndex() const;

  TCheckBox& check_;
  TComboBox& dirBox_;
  TListBox& musList_;
  std::function<std::wstring()> soundDir_;
  // A loaded record's music that cannot be found under the Sound folder:
  // kept as it was until the user unticks or picks music.
  std::optional<std::wstring> unlisted_;
  int lastIndex_ = 0;
  // The music list starts with the random tune.
  bool randomRow_ = false;
};

// The first row of a section's music.
inline constexpr wchar_t kRandomTuneRow[] = L"(случайная мелодия)";
