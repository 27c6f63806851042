// The music picker: sections are the folders in Sound\, music the mp3 and
// wav files of one section, both in the file system's own order.
#include "platform/file_io.h"
#include "ui/main_form.h"

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

}  // namespace

void TForm1::ListSections(std::wstring folder) {
  EndWithBackslash(folder);
  std::vector<std::wstring> items = cxDirBox.Items();
  for (const fileio::FolderEntry& e : fileio::ListFolder(folder)) {
    if (!IsDotName(e.name) && e.isFolder) items.push_back(e.name);
  }
  cxDirBox.SetItems(std::move(items));  // the box keeps its text
}

void TForm1::ListMusic(std::wstring folder) {
  EndWithBackslash(folder);
  std::vector<std::wstring> rows;
  for (const fileio::FolderEntry& e : fileio::ListFolder(folder)) {
    if (IsDotName(e.name) || e.isFolder) continue;
    const std::wstring ext = Extension(e.name);
    if (ext == L"mp3" || ext == L"wav") rows.push_back(e.name);
  }
  cxMusList.SetItems(std::move(rows));
}

int TForm1::SectionIndex() const {
  if (cxDirBox.ItemIndex() >= 0) return cxDirBox.ItemIndex();
  const auto& items = cxDirBox.Items();
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (items[k] == cxDirBox.Text()) return static_cast<int>(k);
  }
  return -1;
}

void TForm1::cxCheckMUSClick() {
  const bool on = cxCheckMUS.Checked();
  cxDirBox.SetEnabled(on);
  cxMusList.SetEnabled(on);
  unlistedMus_.reset();
  cxDirBox.Clear();
  cxMusList.Clear();
  ListSections(SoundDir());
}

void TForm1::cxDirBoxPropertiesChange() {
  cxMusList.Clear();
  ListMusic(SoundDir() + cxDirBox.Text());
}

void TForm1::cxMusListClick() {
  unlistedMus_.reset();
  LastMusicIndex = cxMusList.ItemIndex();
}

void TForm1::RefillMusicPicker() {
  cxDirBox.Clear();
  cxMusList.Clear();
  ListSections(SoundDir());
  ListMusic(SoundDir() + cxDirBox.Text());
  cxMusList.SetItemIndex(LastMusicIndex);
}
