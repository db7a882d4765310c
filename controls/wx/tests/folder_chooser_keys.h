// The toolkit's folder chooser worked with real keys, as a user would: shown on the screen (not
// answered by the test hook), a path typed into it and Enter pressed. The GTK chooser is no wx
// top-level window, so it is found when it goes modal; what it shows is read from GTK itself.
// Other modal dialogs that open meanwhile (the caution before it, say) are answered at once.
#pragma once

#include <gtk/gtk.h>
#include <wx/dirdlg.h>
#include <wx/modalhook.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <chrono>
#include <string>

#include "real_input.h"

namespace guitest {

class TypeIntoFolderChooser : public wxModalDialogHook, public wxTimer {
 public:
  // TYPED is typed into the chooser, then Enter; every other modal dialog is answered OTHERS.
  explicit TypeIntoFolderChooser(std::string typed, int others = wxID_OK) : typed_(std::move(typed)), others_(others) {
    Register();
  }
  ~TypeIntoFolderChooser() override { Unregister(); }

  // Whether the chooser was shown, and what it showed once its folder had loaded.
  bool Shown() const { return shown_; }
  const std::string& Title() const { return title_; }
  // The folder it opened at; empty when it opened on no folder (the recent files).
  const std::string& StartFolder() const { return startFolder_; }
  bool OffersNewFolder() const { return newFolder_; }
  // Whether Enter ended it (else the test cancelled it after a while).
  bool EndedByEnter() const { return endedByEnter_; }
  // How many other modal dialogs were answered.
  int Answered() const { return answered_; }

 protected:
  int Enter(wxDialog* dialog) override {
    if (auto* chooser = dynamic_cast<wxDirDialog*>(dialog)) {
      chooser_ = chooser;
      shown_ = true;
      title_ = chooser->GetMessage().utf8_string();
      Start(20);
      return wxID_NONE;  // shown for real
    }
    ++answered_;
    return others_;
  }
  void Exit(wxDialog* dialog) override {
    if (dialog == chooser_) {
      Stop();
      chooser_ = nullptr;
    }
  }

  void Notify() override {
    if (chooser_ == nullptr || !chooser_->IsModal() || busy_) return;
    GtkWidget* widget = GTK_WIDGET(chooser_->GetHandle());
    if (!gtk_widget_get_mapped(widget)) return;
    busy_ = true;
    Stop();
    GtkFileChooser* files = GTK_FILE_CHOOSER(widget);
    // The chooser loads its folder after it shows: wait for it (a chooser on the recent files has
    // none).
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    gchar* folder = nullptr;
    while ((folder = gtk_file_chooser_get_current_folder(files)) == nullptr &&
           std::chrono::steady_clock::now() < until) {
      Settle(50);
    }
    startFolder_ = folder != nullptr ? folder : "";
    g_free(folder);
    newFolder_ = gtk_file_chooser_get_create_folders(files);
    if (startFolder_.empty()) {
      // On the recent files a typed path is not taken (GTK answers with the file system's root,
      // where a recovery would then write): such a chooser is cancelled untouched.
      chooser_->EndModal(wxID_CANCEL);
      busy_ = false;
      return;
    }
    Settle(200);

    // Without a window manager the keys go to the window under the pointer.
    GdkRectangle frame{};
    gdk_window_get_frame_extents(gtk_widget_get_window(widget), &frame);
    wxUIActionSimulator keys;
    keys.MouseMove(frame.x + frame.width / 2, frame.y + frame.height / 2);
    Settle(100);
    keys.Text(typed_.c_str());
    Settle(400);
    keys.Char(WXK_RETURN);
    const auto wait = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    while (chooser_ != nullptr && chooser_->IsModal() && std::chrono::steady_clock::now() < wait) Settle(50);
    endedByEnter_ = chooser_ == nullptr || !chooser_->IsModal();
    if (!endedByEnter_) chooser_->EndModal(wxID_CANCEL);
    busy_ = false;
  }

 private:
  std::string typed_;
  int others_;
  wxDirDialog* chooser_ = nullptr;
  bool busy_ = false;
  bool shown_ = false;
  std::string title_;
  std::string startFolder_;
  bool newFolder_ = false;
  bool endedByEnter_ = false;
  int answered_ = 0;
};

}  // namespace guitest
