#include "ui/music_picker.h"

#include <cwctype>

#include "engine/random_tune.h"
#include "platform/file_io.h"
#include "store/alarm_store.h"
#include "store/cp1251.h"

namespace {

void EndWithBackslash(std::wstring& folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
}

// The text after the last dot, looking from the second-to-last character
// back; a name without such a dot is its own extension.
std::wstring Extension(const std::wstring& name) {
  for (std::size_t i = name.size() < 2 ? 0 : name.size() - 1; i-- > 0;) {
    if (name[i] == L'.') return name.substr(i + 1);
  }
  return name;
}

bool IsDotName(const std::wstring& name) { return name == L"." || name == L".."; }

// Entries are matched ignoring letter case, as the file system does.
bool SameName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (std::towlower(a[k]) != std::towlower(b[k])) return false;
  }
  return true;
}

int IndexOf(const std::vector<std::wstring>& items, const std::wstring& name) {
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (SameName(items[k], name)) return static_cast<int>(k);
  }
  return -1;
}

}  // namespace

TMusicPicker::TMusicPicker(TCheckBox& cxCheckMUS, TComboBox& cxDirBox, TListBox& cxMusList,
                           std::function<std::wstring()> soundDir)
    : check_(cxCheckMUS), dirBox_(cxDirBox), musList_(cxMusList), soundDir_(std::move(soundDir)) {
  dirBox_.SetText(L"Выберите раздел ...");
  dirBox_.SetEnabled(false);
  musList_.SetEnabled(false);
  check_.OnClick = [this] { MusicCheckClick(); };
  dirBox_.OnChange = [this] {
    unlisted_.reset();  // the user chose or typed a section
    SectionChange();
  };
  dirBox_.OnClick = [this] { SectionChange(); };
  musList_.OnClick = [this] { MusicListClick(); };
}

void TMusicPicker::ListSections(std::wstring folder) {
  EndWithBackslash(folder);
  std::vector<std::wstring> items = dirBox_.Items();
  for (const fileio::FolderEntry& e : fileio::ListFolder(folder)) {
    if (!IsDotName(e.name) && e.isFolder) items.push_back(e.name);
  }
  dirBox_.SetItems(std::move(items));  // the box keeps its text
}

void TMusicPicker::ListMusic(std::wstring folder) {
  EndWithBackslash(folder);
  std::vector<std::wstring> rows;
  for (const fileio::FolderEntry& e : fileio::ListFolder(folder)) {
    if (IsDotName(e.name) || e.isFolder) continue;
    const std::wstring ext = Extension(e.name);
    if (ext == L"mp3" || ext == L"wav") rows.push_back(e.name);
  }
  // The folder is what the random tune stores: one too long for the music
  // field would be cut short there, so it is not offered.
  randomRow_ = !rows.empty() && cp1251::FromWide(folder).size() <= sizeof(TShortString::Chars);
  if (randomRow_) rows.insert(rows.begin(), kRandomTuneRow);
  musList_.SetItems(std::move(rows));
}

int TMusicPicker::SectionIndex() const {
  if (dirBox_.ItemIndex() >= 0) return dirBox_.ItemIndex();
  const auto& items = dirBox_.Items();
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (items[k] == dirBox_.Text()) return static_cast<int>(k);
  }
  return -1;
}

void TMusicPicker::MusicCheckClick() {
  const bool on = check_.Checked();
  dirBox_.SetEnabled(on);
  musList_.SetEnabled(on);
  unlisted_.reset();
  Clear();
  ListSections(soundDir_());
}

void TMusicPicker::SectionChange() {
  musList_.Clear();
  ListMusic(soundDir_() + dirBox_.Text());
}

void TMusicPicker::MusicListClick() {
  unlisted_.reset();
  lastIndex_ = musList_.ItemIndex();
}

void TMusicPicker::Clear() {
  dirBox_.Clear();
  musList_.Clear();
  randomRow_ = false;
}

void TMusicPicker::Refill() {
  Clear();
  ListSections(soundDir_());
  ListMusic(soundDir_() + dirBox_.Text());
  musList_.SetItemIndex(lastIndex_);
}

void TMusicPicker::StartAdding() {
  check_.SetEnabled(true);
  check_.SetChecked(false);
  // Nothing is stored from the picker while the box is unticked; it looks
  // the part too.
  dirBox_.SetEnabled(false);
  musList_.SetEnabled(false);
  unlisted_.reset();
}

void TMusicPicker::Show(const std::wstring& mus) {
  Clear();
  unlisted_.reset();
  check_.SetChecked(!mus.empty());
  musList_.SetEnabled(!mus.empty());
  dirBox_.SetEnabled(!mus.empty());
  if (mus.empty()) return;

  const std::size_t fileAt = mus.rfind(L'\\');
  const std::wstring file = fileAt == std::wstring::npos ? L"" : mus.substr(fileAt + 1);
  const std::wstring folder = fileAt == std::wstring::npos ? L"" : mus.substr(0, fileAt);
  const std::size_t sectionAt = folder.rfind(L'\\');
  const std::wstring section = sectionAt == std::wstring::npos ? L"" : folder.substr(sectionAt + 1);
  ListSections(soundDir_());
  const int sectionRow = IndexOf(dirBox_.Items(), section);
  if (sectionRow >= 0) dirBox_.SetItemIndex(sectionRow);
  // The folder as the section box names it: the same one wherever letter
  // case does not matter, and found where it does.
  const int found = dirBox_.ItemIndex();
  ListMusic(soundDir_() +
            (found >= 0 ? dirBox_.Items()[static_cast<std::size_t>(found)] : section));
  const int musicRow = TRandomTune::IsSection(mus) ? (randomRow_ ? 0 : -1)
                                                  : IndexOf(musList_.Items(), file);
  if (musicRow >= 0) musList_.SetItemIndex(musicRow);
  if (dirBox_.ItemIndex() < 0 || musList_.ItemIndex() < 0) unlisted_ = mus;
}

std::wstring TMusicPicker::Chosen() const {
  if (!check_.Checked()) return L"";
  if (unlisted_) return *unlisted_;
  const int section = SectionIndex();
  if (section < 0 || musList_.ItemIndex() < 0) return L"";
  if (randomRow_ && musList_.ItemIndex() == 0) {
    return soundDir_() + dirBox_.Items()[static_cast<std::size_t>(section)] + L"\\";
  }
  return soundDir_() + dirBox_.Items()[static_cast<std::size_t>(section)] + L"\\" +
         musList_.Items()[static_cast<std::size_t>(musList_.ItemIndex())];
}
