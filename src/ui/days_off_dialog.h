// "Выходные и рабочие дни": the days off (dates and ranges, with notes) and
// the working days (a date and the weekday it works as) of Tivorra.ini.
// Each entry added or removed is saved and takes effect at once; the
// dialog only closes.
#pragma once

#include <string>
#include <vector>

#include "controls/controls.h"
#include "store/days_off.h"

class TClock;
class TMessageBoxes;
class TRegionalFormats;

// What the dialog asks of the program.
class TDaysOffLink {
 public:
  virtual ~TDaysOffLink() = default;
  // The days in effect.
  virtual const TDaysOff& DaysOff() const = 0;
  // One entry more or less: written to Tivorra.ini and in effect at once
  // (a write that fails is told, and the change holds for this run).
  virtual void AddDayOff(const TDayOffRange& range) = 0;
  virtual void RemoveDayOff(const TDayOffRange& range) = 0;
  virtual void AddWorkDay(const TWorkDay& day) = 0;
  virtual void RemoveWorkDay(const TWorkDay& day) = 0;
};

// Weekday names, 1 = Monday at index 0, as the dialog's choice lists them.
inline constexpr const wchar_t* kWeekdayNames[] = {L"понедельник", L"вторник", L"среда",
                                                   L"четверг",     L"пятница", L"суббота",
                                                   L"воскресенье"};

class TDaysOffDialog : public TForm {
 public:
  TDaysOffDialog(TForm& owner, TDaysOffLink& link, TClock& clock, TRegionalFormats& formats,
                 TMessageBoxes& boxes);

  // Every opening starts from today, with the lists as they are in effect.
  void FormShow();
  void OffFromChange();
  void OffAddClick();
  void OffDeleteClick();
  void WorkAddClick();
  void WorkDeleteClick();

  // The rows as the lists show them, in date order.
  std::wstring OffRow(const TDayOffRange& range);
  std::wstring WorkRow(const TWorkDay& day);

  // In Tab order.
  TLabel OffTitle{this, 8, 8, 409, 17, L"Выходные и праздники: будильники по дням недели молчат"};
  TListBox OffList{this, 8, 26, 409, 95, 13};
  TLabel OffFromLabel{this, 8, 133, 16, 17, L"с"};
  TDateTimePicker OffFrom{this, 26, 130, 105, 21, TDateTimePicker::TKind::Date, 0};
  TLabel OffToLabel{this, 138, 133, 20, 17, L"по"};
  TDateTimePicker OffTo{this, 160, 130, 105, 21, TDateTimePicker::TKind::Date, 0};
  TLabel OffNoteLabel{this, 8, 161, 64, 17, L"Заметка:"};
  TEdit OffNote{this, 74, 158, 211, 21};
  TButton OffAdd{this, 292, 128, 125, 25, L"Добавить выходной"};
  TButton OffDelete{this, 292, 156, 125, 25, L"Удалить выходной"};
  TLabel WorkTitle{this, 8, 196, 409, 17, L"Рабочие дни: будильники звонят, как в выбранный день"};
  TListBox WorkList{this, 8, 214, 409, 69, 13};
  TLabel WorkDateLabel{this, 8, 295, 40, 17, L"Дата:"};
  TDateTimePicker WorkDate{this, 50, 292, 97, 21, TDateTimePicker::TKind::Date, 0};
  TLabel WorkAsLabel{this, 154, 295, 22, 17, L"как"};
  TComboBox WorkAs{this, 178, 292, 107, 21};
  TLabel WorkNoteLabel{this, 8, 323, 64, 17, L"Заметка:"};
  TEdit WorkNote{this, 74, 320, 211, 21};
  TButton WorkAdd{this, 292, 290, 125, 25, L"Добавить рабочий"};
  TButton WorkDelete{this, 292, 318, 125, 25, L"Удалить рабочий"};
  TButton CloseBut{this, 342, 356, 75, 25, L"Закрыть"};

 private:
  // Fills both lists from the days in effect, in date order, selecting the
  // given entries' rows (or none).
  void Refill(const TDayOffRange* off, const TWorkDay* work);
  // The weekday chosen (1-7), or 0 when the text names none.
  int ChosenWeekday() const;

  TDaysOffLink& link_;
  TClock& clock_;
  TRegionalFormats& formats_;
  TMessageBoxes& boxes_;
  // The entries behind the rows, in the rows' order.
  std::vector<TDayOffRange> offRows_;
  std::vector<TWorkDay> workRows_;
};
