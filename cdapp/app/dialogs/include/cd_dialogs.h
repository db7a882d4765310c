// CD's modal dialogs: Add FileFilter, File Mask, Find, the image-overwrite note and Select Drive.
// Each Run... function runs one dialog for its command and leaves the answers in the program's
// state; the classes are exposed for tests and screenshots.
#pragma once

#include <wx/dialog.h>

#include <string>
#include <vector>

#include "cdviews/file_mask.h"
#include "cdviews/tree_view.h"
#include "cdengine/app_state.h"
#include "cdengine/cd_reader.h"
#include "cdengine/ports.h"
#include "controls/wx/titled_dialog.h"

class wxBitmapComboBox;
class wxButton;
class wxCheckBox;
class wxDatePickerCtrl;
class wxListBox;
class wxRadioButton;
class wxStaticText;
class wxTextCtrl;

namespace cd::app {

// Add File Filter: the patterns go to the engine's filter list, Include or Exclude to the frame.
void RunFileFilterDlg(wxWindow* parent, CCDReader& reader);
// File Mask: the criteria go to the application state; OK narrows the tree view VIEW with MASK
// after the wait notice. True when the mask was applied.
bool RunFileMaskDlg(wxWindow* parent, CCDReader& reader, views::CdTreeView& view, views::CdFileMask& mask);
// Find: clears the match-case option, asks for a name and selects the first entry of that name in
// the tree view VIEW.
void RunFindDlg(wxWindow* parent, CCDReader& reader, views::CdTreeView& view);
// "Imp Note": the overwrite answer (1 Overwrite, 0 Cancel); Cancel also clears the frame's busy flag.
void RunOverwriteDlg(wxWindow* parent, CdAppState& app, CdFrame& frame);
// Select Drive: the chosen index of DRIVES goes to the selected drive as soon as it is picked.
void RunSelectDriveDlg(wxWindow* parent, CdAppState& app, const std::vector<std::string>& drives);

// The look the four bordered dialogs share: a one-pixel black frame around the client area.
class CCdFramedDlg : public controls::CTitledDialog {
 public:
  CCdFramedDlg(wxWindow* parent, const wxString& caption, long style = wxDEFAULT_DIALOG_STYLE);
};

class CFileFilterDlg : public CCdFramedDlg {
 public:
  CFileFilterDlg(wxWindow* parent, CCDReader& reader);
  wxTextCtrl* Edit() const { return edit_; }
  wxListBox* List() const { return list_; }

 private:
  void OnAdd();
  void OnIncludeOrExclude(int include);
  void OnCancel();

  CCDReader& reader_;
  wxTextCtrl* edit_;
  wxListBox* list_;
  wxButton* add_;
  wxButton* include_;
  wxButton* exclude_;
  unsigned insertAt_ = 0;
  bool discardOnClose_ = true;
};

class CFileMaskDlg : public CCdFramedDlg {
 public:
  CFileMaskDlg(wxWindow* parent, CCDReader& reader);
  // The mask text as it stands (edit 1011).
  std::string MaskText() const;

 private:
  void OnNumber(int id);
  void OnDate(bool enable);
  void OnRadio(int id);
  // The date criterion in force: the one whose radio button is chosen, while Date is checked.
  void UpdateDateCriteria();
  void OnPicker(int id);
  void OnOk();

  CdAppState& app_;
  core::CdDate today_;
  core::CdDate betweenOpening_;
  wxTextCtrl* mask_;
  wxTextCtrl* sizeFrom_;
  wxTextCtrl* sizeUpto_;
  wxTextCtrl* months_;
  wxTextCtrl* days_;
  wxCheckBox* date_;
  wxRadioButton* inMonths_;
  wxRadioButton* inDays_;
  wxRadioButton* between_;
  wxDatePickerCtrl* betweenPicker_;
  wxDatePickerCtrl* andPicker_;
  wxStaticText* and_;
};

class CFindDlg : public CCdFramedDlg {
 public:
  CFindDlg(wxWindow* parent, CdAppState& app);
  std::string Text() const;

 private:
  wxTextCtrl* edit_;
};

// Ends with wxID_OK for Overwrite, wxID_CANCEL for Cancel.
class COverwriteDlg : public CCdFramedDlg {
 public:
  explicit COverwriteDlg(wxWindow* parent);
};

class CSelectDriveDlg : public controls::CTitledDialog {
 public:
  CSelectDriveDlg(wxWindow* parent, CdAppState& app, const std::vector<std::string>& drives);
  wxBitmapComboBox* Combo() const { return combo_; }

 private:
  wxBitmapComboBox* combo_;
};

}  // namespace cd::app
