// The dialogs that gather criteria: "Add FileFilter" (recovery's name patterns), "File Mask" (the
// tree's mask) and "Find" (an entry by its whole name). Their handlers write the application state
// at once; the Run functions carry out what follows OK.
#pragma once

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ext2engine/recovery.h"

#include "controls/wx/titled_dialog.h"

namespace ext2 {
class CLinuxDrive;
}  // namespace ext2
namespace ext2::views {
class CLeftView;
}  // namespace ext2::views

namespace ext2::app {

// Control ids of the three dialogs (OK and Cancel are wxID_OK and wxID_CANCEL).
enum CriteriaDlgId : int {
  kIdFilterList = 1000,
  kIdFilterText = 1007,
  kIdAddToList = 1008,
  kIdInclude = 4,
  kIdExclude = 3,

  kIdLastMonthsRadio = 1001,
  kIdLastDaysRadio = 1002,
  kIdMaskMatchCase = 1003,
  kIdMaskText = 1009,
  kIdDeletedFiles = 1011,
  kIdExistingFiles = 1012,
  kIdSizeFromCheck = 1013,
  kIdSizeFromEdit = 1014,
  kIdSizeUptoCheck = 1015,
  kIdSizeUptoEdit = 1016,
  kIdDateCheck = 1017,
  kIdMonthsEdit = 1019,
  kIdBetweenRadio = 1020,
  kIdDaysEdit = 1021,
  kIdFromDate = 1022,
  kIdAndText = 1023,
  kIdToDate = 1024,
  kIdTimeKind = 1061,
  kIdMonthsSpin = 1062,
  kIdDaysSpin = 1063,

  kIdFindLabel = 1006,
  kIdFindText = 1002,
  kIdFindMatchCase = 1003,
  kIdFindDeleted = 1004,
  kIdFindExisting = 1005,
};

// "Add FileFilter": the open drive's patterns; Include or Exclude keeps them all with that mode,
// Cancel puts back exactly the patterns that were in force when it opened.
class CFileFilterDlg : public controls::CTitledDialog {
 public:
  CFileFilterDlg(CLinuxDrive* drive, wxWindow* parent);

 private:
  void OnAddToList();
  void OnIncludeOrExclude(std::uint8_t mode);
  void OnCancel();

  CLinuxDrive* drive_;
  std::vector<FilterNode> atOpen_;
  wxTextCtrl* edit_;
  wxButton* add_;
  wxListBox* list_;
  wxButton* include_;
  wxButton* exclude_;
};

// "File Mask": every criterion goes into the application state as it is set; OK applies the mask.
class CFileMaskDlg : public controls::CTitledDialog {
 public:
  CFileMaskDlg(CLinuxDrive* drive, wxWindow* parent);

  // The mask text as typed, and the chosen time: 0 created, 1 accessed, 2 modified.
  const std::string& MaskText() const { return maskText_; }
  int TimeChoice() const { return timeChoice_; }

 private:
  void Build();
  void InitControls();
  void OnOK();
  void OnDate();
  void ChooseRadio(int id);
  // The period criteria in force follow the "Date" box and the chosen radio button.
  void UpdateDateCriteria();
  void OnDaysSpin(int step);
  void OnMonthsSpin(int step);
  void OnPaint();

  std::string maskText_;
  int timeChoice_ = 0;
  int daysValue_ = 0;
  int monthsValue_ = 0;

  wxTextCtrl* mask_ = nullptr;
  wxCheckBox* matchCase_ = nullptr;
  wxCheckBox* deleted_ = nullptr;
  wxCheckBox* existing_ = nullptr;
  wxCheckBox* sizeFromCheck_ = nullptr;
  wxTextCtrl* sizeFrom_ = nullptr;
  wxCheckBox* sizeUptoCheck_ = nullptr;
  wxTextCtrl* sizeUpto_ = nullptr;
  wxCheckBox* date_ = nullptr;
  wxComboBox* timeKind_ = nullptr;
  wxRadioButton* monthsRadio_ = nullptr;
  wxTextCtrl* months_ = nullptr;
  wxSpinButton* monthsSpin_ = nullptr;
  wxRadioButton* daysRadio_ = nullptr;
  wxTextCtrl* days_ = nullptr;
  wxSpinButton* daysSpin_ = nullptr;
  wxRadioButton* betweenRadio_ = nullptr;
  wxDatePickerCtrl* from_ = nullptr;
  wxStaticText* and_ = nullptr;
  wxDatePickerCtrl* to_ = nullptr;
};

// "Find": the Find options in the application state follow the check boxes.
class CFindDlg : public controls::CTitledDialog {
 public:
  explicit CFindDlg(wxWindow* parent);
  std::string Text() const;

 private:
  wxTextCtrl* text_;
};

// Add File Filter on the open drive (nothing without one).
void RunFileFilterDlg(wxWindow* parent, CLinuxDrive* drive);
// File Mask: after OK any earlier mask is taken back, the wait notice shows and the tree is masked.
void RunFileMaskDlg(wxWindow* parent, CLinuxDrive* drive, views::CLeftView& tree);
// Find: clears the match-case option, and after OK with a text looks for it in the tree's list.
void RunFindDlg(wxWindow* parent, views::CLeftView& tree);

}  // namespace ext2::app
