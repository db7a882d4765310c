// The message box: icon, text, buttons.
#include "controls/wx/message_box.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace controls {
namespace {

// The icon wxMessageDialog shows for STYLE: the one asked for, else a question for Yes/No and an
// information sign otherwise; none for wxICON_NONE.
wxArtID IconOf(long style) {
  if ((style & wxICON_NONE) != 0) return wxArtID();
  if ((style & wxICON_ERROR) != 0) return wxART_ERROR;
  if ((style & wxICON_WARNING) != 0) return wxART_WARNING;
  if ((style & wxICON_QUESTION) != 0) return wxART_QUESTION;
  if ((style & wxICON_INFORMATION) != 0) return wxART_INFORMATION;
  return (style & wxYES) != 0 ? wxART_QUESTION : wxART_INFORMATION;
}

}  // namespace

CMessageBoxDlg::CMessageBoxDlg(wxWindow* parent, const wxString& message, const wxString& caption, long style)
    : CTitledDialog(parent, wxID_ANY, caption), message_(message) {
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  const wxArtID icon = IconOf(style);
  if (!icon.empty()) {
    top->Add(new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmap(icon, wxART_MESSAGE_BOX)), 0,
             wxRIGHT | wxALIGN_TOP, 12);
  }
  auto* text = new wxStaticText(this, wxID_ANY, message);
  // Long lines wrap at about sixty characters, as the toolkit's box wraps them.
  text->Wrap(60 * GetCharWidth());
  top->Add(text, 1, wxALIGN_CENTER_VERTICAL);

  const bool yesNo = (style & wxYES_NO) == wxYES_NO;
  long buttons = yesNo ? wxYES_NO : wxOK;
  if ((style & wxCANCEL) != 0) buttons |= wxCANCEL;
  if (yesNo && (style & wxNO_DEFAULT) != 0) buttons |= wxNO_DEFAULT;
  wxSizer* row = CreateStdDialogButtonSizer(buttons);
  // Every button ends the box with its own id; Esc and the close box with wxID_CANCEL.
  auto end = [this](int id) {
    if (IsModal()) {
      EndModal(id);
    } else {
      SetReturnCode(id);
      Hide();
    }
  };
  for (int id : {wxID_OK, wxID_CANCEL, wxID_YES, wxID_NO}) {
    if (auto* button = wxDynamicCast(FindWindow(id), wxButton)) {
      button->Bind(wxEVT_BUTTON, [end, id](wxCommandEvent&) { end(id); });
    }
  }
  SetEscapeId(wxID_NONE);
  Bind(wxEVT_CHAR_HOOK, [end](wxKeyEvent& e) {
    if (e.GetKeyCode() == WXK_ESCAPE) {
      end(wxID_CANCEL);
    } else {
      e.Skip();
    }
  });
  Bind(wxEVT_CLOSE_WINDOW, [end](wxCloseEvent&) { end(wxID_CANCEL); });
  const int focus = yesNo ? ((style & wxNO_DEFAULT) != 0 ? wxID_NO : wxID_YES) : wxID_OK;
  if (wxWindow* first = FindWindow(focus)) first->SetFocus();

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(top, 1, wxEXPAND | wxALL, 12);
  if (row != nullptr) sizer->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(sizer);
  Centre();
}

}  // namespace controls
