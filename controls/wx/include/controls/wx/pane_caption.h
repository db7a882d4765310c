// The caption of a dockable pane of a wxAuiManager: the pane's title, a button that floats the
// pane or docks it again where it was, and a close button; a double click on the caption floats
// or docks the pane too. It stands in for the manager's own caption, which cannot dock a floating
// pane again. Closing sends the manager's pane-close event to the managed window first.
#pragma once

#include <wx/aui/aui.h>
#include <wx/bmpbuttn.h>
#include <wx/panel.h>

namespace controls {

class CPaneCaption : public wxPanel {
 public:
  // Puts a caption at the top of the sizer of PANE, the window of the manager's pane NAME.
  static CPaneCaption* Add(wxWindow* pane, wxAuiManager& aui, const wxString& name, const wxString& title);
  // The caption put into PANE, or null.
  static CPaneCaption* Of(wxWindow* pane);

  // Floats the pane when it is docked, docks it again when it floats.
  void ToggleDocking();
  wxBitmapButton* DockButton() const { return dock_; }
  wxBitmapButton* CloseButton() const { return close_; }

 private:
  CPaneCaption(wxWindow* pane, wxAuiManager& aui, const wxString& name, const wxString& title);
  void ShowDockState();
  void ClosePane();

  wxAuiManager& aui_;
  wxString name_;
  wxBitmapButton* dock_;
  wxBitmapButton* close_;
};

// Adds LOG to AUI as a frame's log pane NAME, docked at the bottom with the best height HEIGHT,
// floatable and closable, with a CPaneCaption titled CAPTION in place of the manager's caption.
// TOP_OR_BOTTOM_ONLY keeps it from docking at the left or right.
void AddLogPane(wxAuiManager& aui, wxWindow* log, const wxString& name, const wxString& caption, int height,
                bool topOrBottomOnly);

}  // namespace controls
