// The alarm list: one tab per kind, one row per record.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "controls/controls.h"
#include "store/alarm_store.h"

class TClock;
class TRegionalFormats;

class TAlarmList {
 public:
  TAlarmList(TTabControl& RzTabControl, TListBox& cxListBox, const TAlarmStore& store,
             TRegionalFormats& formats, TClock& clock);

  // Handlers.
  void TabClick();
  void ListClick();
  void cxListBoxKeyDown(std::uint16_t key);

  // The rows of the chosen tab's kind, none selected.
  void Fill();
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

 private:
  TTabControl& tabs_;
  TListBox& list_;
  const TAlarmStore& store_;
  TRegionalFormats& formats_;
  TClock& clock_;
};
