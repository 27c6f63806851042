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
  // The occurrence an alarm skips (local seconds since 30 December 1899),
  // shown in its row; and the row menu's commands to skip the next one or
  // take the skip back.
  std::function<std::optional<std::int64_t>(TAlarmKind, std::uint16_t)> SkippedAt;
  std::function<void(TAlarmKind, std::uint16_t)> OnSkip;
  std::function<void(TAlarmKind, std::uint16_t)> OnUnskip;

 private:
  std::vector<std::wstring> Rows() const;

  TPopupMenu& menu_;
  TTabControl& tabs_;
  TListBox& list_;
  const TAlarmStore& store_;
  TRegionalFormats& formats_;
  TClock& clock_;
};
