// The alarm list: one tab per kind, one row per record, and each row's
// menu (skip its next occurrence or take the skip back, edit, delete).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "store/alarm_store.h"

class TClock;
class TRingSession;
class TRegionalFormats;

class TAlarmList {
 public:
  TAlarmList(TTabControl& RzTabControl, TListBox& cxListBox, TPopupMenu& rowMenu,
             const TAlarmStore& store, TRegionalFormats& formats, TClock& clock);

  // Handlers.
  void TabClick();
  void ListClick();
  void cxListBoxKeyDown(std::uint16_t key);
  // The selected row's menu, opened at `at` (screen pixels).
  void RowMenu(TPoint at);

  // The rows of the chosen tab's kind, none selected.
  void Fill();
  // The rows again when a text changed (a skip made, taken back or ended),
  // the selected row staying selected.
  void Refresh();
  struct TSelection {
    TAlarmKind Kind;
    std::uint16_t Index;  // 1-based
  };
  // The record of the selected row, or nothing.
  std::optional<TSelection> Selected() const;
  // Whether a row is selected at all.
  bool RowSelected() const;

  // The selection or the rows changed.
  std::function<void()> OnSelectionChanged;
  // A row was clicked (after OnSelectionChanged).
  std::function<void()> OnRowClick;
  // Enter and Delete on a row.
  std::function<void()> OnEditKey;
  std::function<void()> OnDeleteKey;
  // The session whose skips the rows show and the row menu makes and
  // takes back.
  void Attach(TRingSession& session) { session_ = &session; }

 private:
  std::vector<std::wstring> Rows() const;

  TPopupMenu& menu_;
  TTabControl& tabs_;
  TListBox& list_;
  const TAlarmStore& store_;
  TRegionalFormats& formats_;
  TClock& clock_;
  TRingSession* session_ = nullptr;
};
