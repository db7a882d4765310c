// A dialog's controls worked as a user would, through the events their handlers hear: a control
// found by its id, a check box set, a radio button chosen, a date picked.
#pragma once

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/radiobut.h>
#include <wx/window.h>

namespace guitest {

// The control ID of DLG as a W; a test failure when there is none of that class.
template <class W>
W* Ctrl(wxWindow* dlg, int id) {
  W* w = dynamic_cast<W*>(dlg->FindWindow(id));
  EXPECT_NE(w, nullptr) << "control " << id;
  return w;
}

// E, sent by W, to W's handlers.
inline void Send(wxWindow* w, wxEvent& e) {
  e.SetEventObject(w);
  w->HandleWindowEvent(e);
}

// Whether DLG has the control ID and it is enabled.
inline bool Enabled(wxWindow* dlg, int id) { return dlg->FindWindow(id) != nullptr && dlg->FindWindow(id)->IsEnabled(); }

// Checks (ON) or unchecks the check box ID.
inline void Check(wxWindow* dlg, int id, bool on) {
  auto* box = Ctrl<wxCheckBox>(dlg, id);
  box->SetValue(on);
  wxCommandEvent e(wxEVT_CHECKBOX, id);
  e.SetInt(on ? 1 : 0);
  Send(box, e);
}

// Chooses the radio button ID.
inline void ChooseRadio(wxWindow* dlg, int id) {
  auto* radio = Ctrl<wxRadioButton>(dlg, id);
  radio->SetValue(true);
  wxCommandEvent e(wxEVT_RADIOBUTTON, id);
  e.SetInt(1);
  Send(radio, e);
}

// Picks DATE in the date picker ID.
inline void PickDate(wxWindow* dlg, int id, const wxDateTime& date) {
  auto* picker = Ctrl<wxDatePickerCtrl>(dlg, id);
  picker->SetValue(date);
  wxDateEvent e(picker, date, wxEVT_DATE_CHANGED);
  Send(picker, e);
}

}  // namespace guitest
