// "Advance Settings ": the read-retry count (1 to 6 on the arrows) and whether recovery reads a
// sector or a block at a time, shown from the settings file and written by OK and Default.
#pragma once

#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include <string>

#include "controls/wx/titled_dialog.h"

namespace ext2::app {

enum SettingsDlgId : int {
  kIdSectorAtATime = 1001,
  kIdBlockAtATime = 1002,
  kIdRetries = 1056,
  kIdRetriesSpin = 1057,
  kIdDefault = 1051,
};

class CAdvanceSettingsDlg : public controls::CTitledDialog {
 public:
  // PATH is the settings file read now and written by OK and Default.
  CAdvanceSettingsDlg(wxWindow* parent, std::string path);

 private:
  void OnDeltaposRetries(int step);
  void OnOK();
  void OnDefault();

  std::string path_;
  int retries_ = 3;  // what the arrows last showed
  wxTextCtrl* edit_;
  wxRadioButton* sector_;
  wxRadioButton* block_;
};

void RunAdvanceSettingsDlg(wxWindow* parent, const std::string& path);

}  // namespace ext2::app
