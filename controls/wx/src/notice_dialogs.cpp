// Timed notices: a sleeping worker thread, a hand-over to the user-interface thread, and a target
// that the dialog clears the moment its modal loop ends.
#include "controls/wx/notice_dialogs.h"

#include <wx/app.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include <condition_variable>
#include <mutex>

namespace controls {

bool SplashWanted() { return !wxGetEnv("QUARVEL_NO_SPLASH", nullptr); }

// What the worker and the dialog share. DIALOG is read and written on the user-interface thread
// only; the worker merely passes TARGET on to it.
struct CTimedNoticeDlg::Worker {
  struct Target {
    CTimedNoticeDlg* dialog = nullptr;
  };

  std::shared_ptr<Target> target = std::make_shared<Target>();
  std::mutex mutex;
  std::condition_variable wake;
  bool stop = false;
  std::thread thread;

  void Run(std::chrono::milliseconds time) {
    std::unique_lock lock(mutex);
    if (wake.wait_for(lock, time, [this] { return stop; })) return;  // ended before its time
    lock.unlock();
    wxTheApp->CallAfter([target = target] {
      CTimedNoticeDlg* dialog = target->dialog;
      if (dialog != nullptr && dialog->IsModal()) dialog->EndModal(wxID_CANCEL);
    });
  }

  void Stop() {
    target->dialog = nullptr;
    {
      std::lock_guard lock(mutex);
      stop = true;
    }
    wake.notify_all();
    if (thread.joinable()) thread.join();
  }
};

CTimedNoticeDlg::CTimedNoticeDlg(wxWindow* parent, std::chrono::milliseconds time)
    : wxDialog(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxBORDER_RAISED), time_(time) {
  Bind(wxEVT_CHAR_HOOK, &CTimedNoticeDlg::OnCharHook, this);
}

CTimedNoticeDlg::~CTimedNoticeDlg() {
  if (worker_) worker_->Stop();
}

int CTimedNoticeDlg::ShowModal() {
  worker_ = std::make_unique<Worker>();
  worker_->target->dialog = this;
  Worker* worker = worker_.get();
  worker->thread = std::thread([worker, time = time_] { worker->Run(time); });
  const int result = wxDialog::ShowModal();
  // A wake-up already on its way finds no dialog; one still asleep is woken and ends.
  worker_->Stop();
  worker_.reset();
  return result;
}

void CTimedNoticeDlg::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (IsModal() && key == WXK_ESCAPE) {
    EndModal(wxID_CANCEL);
  } else if (IsModal() && (key == WXK_RETURN || key == WXK_NUMPAD_ENTER)) {
    EndModal(wxID_OK);
  } else {
    event.Skip();
  }
}

CSplashDlg::CSplashDlg(wxWindow* parent, const wxBitmap& picture, std::chrono::milliseconds time)
    : CTimedNoticeDlg(parent, time) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(new wxStaticBitmap(this, wxID_ANY, picture));
  SetSizerAndFit(sizer);
  CentreOnScreen();
}

CWaitDlg::CWaitDlg(wxWindow* parent, const wxString& text, std::chrono::milliseconds time)
    : CTimedNoticeDlg(parent, time) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALL | wxALIGN_CENTRE, 18);
  SetSizerAndFit(sizer);
  CentreOnScreen();
}

}  // namespace controls
