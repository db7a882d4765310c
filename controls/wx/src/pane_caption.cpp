// A pane's caption with its float/dock and close buttons.
#include "controls/wx/pane_caption.h"

#include <wx/dc.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <vector>

#include "controls/wx/drawn_pictures.h"

#ifdef __WXGTK3__
#include <gtk/gtk.h>
#endif

namespace controls {
namespace {

#ifdef __WXGTK3__
// GTK's overlay scrollbars keep a handler on their adjustments that fails ("GTK_IS_WIDGET"
// criticals) when an adjustment changes while its scrolled window is unrealized. A pane that
// floats or docks is unrealized between leaving one window and being shown in the other, and is
// laid out there meanwhile, which changes its adjustments. So overlay scrolling is off for the
// move, and on again once each scrolled window is realized in its new window.
void CollectScrolledWindows(GtkWidget* widget, std::vector<GtkWidget*>& out) {
  if (GTK_IS_SCROLLED_WINDOW(widget)) out.push_back(widget);
  if (GTK_IS_CONTAINER(widget)) {
    gtk_container_forall(
        GTK_CONTAINER(widget),
        [](GtkWidget* child, gpointer list) { CollectScrolledWindows(child, *static_cast<std::vector<GtkWidget*>*>(list)); },
        &out);
  }
}

void ResumeOverlay(GtkWidget* widget, gpointer) {
  g_signal_handlers_disconnect_by_func(widget, reinterpret_cast<gpointer>(&ResumeOverlay), nullptr);
  gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(widget), TRUE);
}

class OverlayScrollingPaused {
 public:
  explicit OverlayScrollingPaused(wxWindow* pane) {
    std::vector<GtkWidget*> all;
    CollectScrolledWindows(static_cast<GtkWidget*>(pane->GetHandle()), all);
    for (GtkWidget* w : all) {
      // Switching it off or on while unrealized fails the same way, so only realized ones move.
      if (!gtk_widget_get_realized(w) || !gtk_scrolled_window_get_overlay_scrolling(GTK_SCROLLED_WINDOW(w))) continue;
      gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(w), FALSE);
      g_signal_connect_after(w, "realize", G_CALLBACK(&ResumeOverlay), nullptr);
      g_object_ref(w);
      paused_.push_back(w);
    }
  }
  ~OverlayScrollingPaused() {
    // Those realized again already have it back; those that never left their window get it now.
    for (GtkWidget* w : paused_) {
      if (gtk_widget_get_realized(w) &&
          g_signal_handlers_disconnect_by_func(w, reinterpret_cast<gpointer>(&ResumeOverlay), nullptr) > 0) {
        gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(w), TRUE);
      }
      g_object_unref(w);
    }
  }
  OverlayScrollingPaused(const OverlayScrollingPaused&) = delete;
  OverlayScrollingPaused& operator=(const OverlayScrollingPaused&) = delete;

 private:
  std::vector<GtkWidget*> paused_;
};
#else
class OverlayScrollingPaused {
 public:
  explicit OverlayScrollingPaused(wxWindow*) {}
};
#endif

constexpr int kButton = 12;

// A small window frame: two overlapping ones (float) or one sitting on a base line (dock).
wxBitmap DockPicture(bool floating) {
  return DrawPicture(kButton, [floating](wxDC& dc) {
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    if (floating) {
      dc.DrawRectangle(1, 5, 7, 6);
      dc.DrawRectangle(4, 1, 7, 6);
    } else {
      dc.DrawRectangle(2, 1, 8, 7);
      dc.DrawLine(0, 10, 12, 10);
    }
  });
}

wxBitmap ClosePicture() {
  return DrawPicture(kButton, [](wxDC& dc) {
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT), 2));
    dc.DrawLine(2, 2, 10, 10);
    dc.DrawLine(10, 2, 2, 10);
  });
}

}  // namespace

CPaneCaption* CPaneCaption::Add(wxWindow* pane, wxAuiManager& aui, const wxString& name, const wxString& title) {
  auto* caption = new CPaneCaption(pane, aui, name, title);
  if (wxSizer* sizer = pane->GetSizer()) {
    sizer->Prepend(caption, 0, wxEXPAND);
    pane->Layout();
  }
  return caption;
}

CPaneCaption* CPaneCaption::Of(wxWindow* pane) {
  for (wxWindow* child : pane->GetChildren()) {
    if (auto* caption = dynamic_cast<CPaneCaption*>(child)) return caption;
  }
  return nullptr;
}

CPaneCaption::CPaneCaption(wxWindow* pane, wxAuiManager& aui, const wxString& name, const wxString& title)
    : wxPanel(pane, wxID_ANY), aui_(aui), name_(name) {
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_INACTIVECAPTION));
  auto* text = new wxStaticText(this, wxID_ANY, title);
  text->SetForegroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_INACTIVECAPTIONTEXT));
  dock_ = new wxBitmapButton(this, wxID_ANY, DockPicture(true), wxDefaultPosition, wxDefaultSize, wxBORDER_NONE);
  close_ = new wxBitmapButton(this, wxID_ANY, ClosePicture(), wxDefaultPosition, wxDefaultSize, wxBORDER_NONE);
  close_->SetToolTip("Close");
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(text, 1, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
  row->Add(dock_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2);
  row->Add(close_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2);
  SetSizer(row);
  ShowDockState();
  dock_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ToggleDocking(); });
  close_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ClosePane(); });
  for (wxWindow* w : {static_cast<wxWindow*>(this), static_cast<wxWindow*>(text)}) {
    w->Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent&) { CallAfter([this] { ToggleDocking(); }); });
  }
}

void CPaneCaption::ToggleDocking() {
  wxAuiPaneInfo& pane = aui_.GetPane(name_);
  if (!pane.IsOk()) return;
  {
    const OverlayScrollingPaused paused(pane.window);
    if (pane.IsFloating()) {
      pane.Dock();
    } else {
      pane.Float();
    }
    aui_.Update();
  }
  ShowDockState();
}

void CPaneCaption::ShowDockState() {
  const bool floating = aui_.GetPane(name_).IsOk() && aui_.GetPane(name_).IsFloating();
  dock_->SetBitmap(DockPicture(!floating));
  dock_->SetToolTip(floating ? "Dock" : "Float");
}

void CPaneCaption::ClosePane() {
  wxAuiPaneInfo& pane = aui_.GetPane(name_);
  if (!pane.IsOk()) return;
  wxAuiManagerEvent closing(wxEVT_AUI_PANE_CLOSE);
  closing.SetManager(&aui_);
  closing.SetPane(&pane);
  closing.SetEventObject(aui_.GetManagedWindow());
  aui_.GetManagedWindow()->GetEventHandler()->ProcessEvent(closing);
  if (closing.GetVeto()) return;
  pane.Hide();
  aui_.Update();
}

void AddLogPane(wxAuiManager& aui, wxWindow* log, const wxString& name, const wxString& caption, int height,
                bool topOrBottomOnly) {
  wxAuiPaneInfo pane = wxAuiPaneInfo()
                           .Name(name)
                           .Caption(caption)
                           .CaptionVisible(false)
                           .Gripper(true)
                           .Bottom()
                           .BestSize(-1, height)
                           .MinSize(32, 32)
                           .CloseButton(true)
                           .Floatable(true);
  if (topOrBottomOnly) {
    pane.TopDockable(true).BottomDockable(true).LeftDockable(false).RightDockable(false);
  } else {
    pane.Dockable(true);
  }
  aui.AddPane(log, pane);
  // The pane's own caption floats it and docks it again (button or double click).
  CPaneCaption::Add(log, aui, name, caption);
}

}  // namespace controls
