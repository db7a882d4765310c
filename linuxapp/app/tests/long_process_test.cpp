// A long process started through real modal dialogs keeps the window alive: Stop, clicked with
// the real mouse while one large file is being written, is asked about at once and ends the
// process. The dialogs run their own modal loops here, as they do for a user (no test hook).
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/dirdlg.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>

#include "command_loop.h"
#include "ext2engine/recovery.h"
#include "linux_gui_support.h"
#include "linuxcore/command_states.h"
#include "real_input.h"
#include "toolbar_pointing.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

// Whether one of DLG's lines reads TEXT.
bool Shows(wxDialog* dlg, const std::string& text) {
  for (wxWindow* child : dlg->GetChildren()) {
    if (auto* line = dynamic_cast<wxStaticText*>(child); line != nullptr && line->GetLabel().utf8_string() == text) {
      return true;
    }
  }
  return false;
}

// Answers the real folder chooser (a native dialog, not one of wx's top-level windows) once it is
// on the screen: FOLDER is made its folder, then its Open button's answer is given. ON_CHOSEN
// runs then.
class ChooseFolder : public wxTimer {
 public:
  ChooseFolder(fs::path folder, std::function<void()> onChosen) : folder_(std::move(folder)), onChosen_(std::move(onChosen)) {
    Start(20);
  }
  bool Done() const { return done_; }

  void Notify() override {
    GtkWidget* chooser = nullptr;
    GList* all = gtk_window_list_toplevels();
    for (GList* w = all; w != nullptr; w = w->next) {
      if (GTK_IS_FILE_CHOOSER_DIALOG(w->data) && gtk_widget_get_mapped(GTK_WIDGET(w->data))) chooser = GTK_WIDGET(w->data);
    }
    g_list_free(all);
    if (chooser == nullptr) return;
    if (!asked_) {
      gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), folder_.c_str());
      asked_ = true;
      return;
    }
    gchar* now = gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(chooser));
    const bool there = now != nullptr && folder_ == now;
    g_free(now);
    if (!there) return;
    Stop();
    done_ = true;
    gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    onChosen_();
  }

 private:
  fs::path folder_;
  std::function<void()> onChosen_;
  bool asked_ = false;
  bool done_ = false;
};

class LongProcess : public WorkbenchTest {
 protected:
  // A disk whose one ext2 drive holds BIG (a file of 2 GB of data: holes would be written at no
  // cost) and, in a folder after it, a small file.
  void SetUp() override {
    WorkbenchTest::SetUp();
    const fs::path tree = dest / "tree";
    fs::create_directories(tree);
    disk_ = dest / "large.img";
    const std::string script =
        "set -e; cd '" + dest.string() + "'; yes | head -c 2048M > tree/big.bin; "
        "mkdir tree/later; echo small > tree/later/small.txt; truncate -s 2200M large.img; echo 'start=2048, type=83' | "
        "sfdisk -q --no-reread --no-tell-kernel large.img >/dev/null; mke2fs -q -F -t ext2 -b 4096 "
        "-N 64 -E offset=1048576 -d tree large.img 2190M";
    ASSERT_EQ(std::system(("bash -c \"" + script + "\"").c_str()), 0);
    fs::remove_all(tree);
    SetDiskSource(PathListDiskSource({disk_.string()}));
    OpenDrive(0);
    ASSERT_TRUE(App().currentDrive);
  }

  bool Logged(const std::string& text) const {
    for (const auto& r : frame->Log()->Rows()) {
      if (r.text == text) return true;
    }
    return false;
  }

  fs::path disk_;
};

TEST_F(LongProcess, StopClickedDuringALargeFileOfRecoverAllEndsTheProcess) {
  const fs::path out = dest / "out";
  fs::create_directories(out);
  // Paints of the panes below the closed dialogs while the large file is written.
  // The count outlives the test: the panes keep the handler and paint again after it.
  auto paints = std::make_shared<int>(0);
  int paintsAtStart = 0, paintsAtClick = 0;
  std::function<void(wxWindow*)> count = [&](wxWindow* w) {
    w->Bind(wxEVT_PAINT, [paints](wxPaintEvent& e) {
      ++*paints;
      e.Skip();
    });
    for (wxWindow* child : w->GetChildren()) count(child);
  };
  for (wxWindow* child : frame->GetChildren()) {
    if (dynamic_cast<wxSplitterWindow*>(child) != nullptr) count(child);
  }
  Clock::time_point clicked{}, asked{};
  bool stopAsked = false;
  wxTimer click;
  click.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    // The real pointer onto Stop and a real click, half a second into the process.
    wxToolBar* bar = frame->GetToolBar();
    ASSERT_TRUE(PointAtTool(bar, WxId(kCmdStop)));
    clicked = Clock::now();
    paintsAtClick = *paints;
    wxUIActionSimulator().MouseClick();
  });
  Clock::time_point started{}, ended{};
  ChooseFolder folder(out, [&] {
    paintsAtStart = *paints;
    started = Clock::now();
    click.StartOnce(500);
  });
  ModalAnswers answers({[](wxDialog* dlg) { PressButton(dlg, wxID_OK); },  // the caution
                        [&](wxDialog* dlg) {
                          asked = Clock::now();
                          stopAsked = Shows(dlg, "Stop current process ?");
                          PressButton(dlg, wxID_OK);  // Yes
                        }});
  RunAsCommand(frame, [&] {
    frame->Recover(kRecoverAll);
    ended = Clock::now();
  });
  ASSERT_TRUE(folder.Done()) << "the folder chooser was not answered";
  EXPECT_GT(paintsAtClick, paintsAtStart) << "the window did not repaint where the dialogs were";
  EXPECT_TRUE(stopAsked) << "Stop was not asked about while the process ran";
  if (stopAsked) {
    EXPECT_LT(Seconds(clicked, asked), 0.5) << "the click on Stop waited for the process";
    EXPECT_LT(Seconds(asked, ended), 0.5) << "the process went on after Stop";
    std::printf("Stop: click to question %.3f s, Yes to the end of the process %.3f s, %.3f s after its start\n",
                Seconds(clicked, asked), Seconds(asked, ended), Seconds(started, ended));
  }
  EXPECT_TRUE(Logged("Process aborted, user intervention "));
  // The large file was stopped within: its part written does not stay as if it were the file.
  // Nothing after it was written.
  EXPECT_FALSE(fs::exists(out / "#Root" / "big.bin"));
  EXPECT_FALSE(fs::exists(out / "#Root" / "later" / "small.txt"));
  EXPECT_EQ(App().processRunning, 0);
  EXPECT_EQ(App().recovering, 0);
  EXPECT_EQ(frame->busyFlag, 0);
}

}  // namespace
