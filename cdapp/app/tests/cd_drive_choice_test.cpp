// Choosing the drive in the real window: with two drives the first menu, opened by Alt+D, asks
// which one to use, and a user's keys and clicks in Select Drive choose it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/bmpcbox.h>
#include <wx/timer.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "cd_dialogs.h"
#include "cd_gui_support.h"
#include "real_input.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;

// Runs one step per tick of its timer, so that each step is handled by whatever loop runs at
// that moment (the window's, a menu's or a modal dialog's), as a user's keys are. A step that
// returns false runs again at the next tick.
class Script : public wxTimer {
 public:
  explicit Script(std::vector<std::function<bool()>> steps) : steps_(std::move(steps)) { Start(200); }
  bool Done() const { return next_ == steps_.size(); }
  void Notify() override {
    if (next_ < steps_.size() && steps_[next_]()) ++next_;
    if (Done()) Stop();
  }

 private:
  std::vector<std::function<bool()>> steps_;
  std::size_t next_ = 0;
};

CSelectDriveDlg* SelectDriveOnScreen() {
  for (wxWindow* w : wxTopLevelWindows) {
    auto* dlg = dynamic_cast<CSelectDriveDlg*>(w);
    if (dlg != nullptr && dlg->IsModal() && dlg->IsShownOnScreen()) return dlg;
  }
  return nullptr;
}

using DriveChoice = CdWindow;

// The choice used to run as a modal dialog inside the toolkit's opening of the menu; these keys
// then crashed the program in the toolkit's mnemonic handling.
TEST_F(DriveChoice, KeysAndAClickInSelectDriveFromTheFirstMenuChooseTheDrive) {
  const fs::path first = kFixtures / "deep.iso";
  SetDrives(first.string() + ":" + (kFixtures / "joliet.iso").string());
  wxUIActionSimulator sim;
  int afterDown = -1;
  auto type = [&](int key) {
    return [&, key] {
      if (CSelectDriveDlg* dlg = SelectDriveOnScreen()) guitest::PointAt(dlg);
      sim.Char(key);
      return true;
    };
  };
  Script script({[] { return SelectDriveOnScreen() != nullptr; }, type(WXK_DOWN),
                 [&] {
                   if (CSelectDriveDlg* dlg = SelectDriveOnScreen()) afterDown = dlg->Combo()->GetSelection();
                   return true;
                 },
                 type(WXK_UP), type(WXK_TAB), type(WXK_RETURN), type(WXK_RETURN),
                 [&] {
                   CSelectDriveDlg* dlg = SelectDriveOnScreen();
                   if (dlg != nullptr) guitest::ClickAt(dlg->FindWindow(wxID_OK));
                   return true;
                 },
                 [] { return SelectDriveOnScreen() == nullptr; }});
  guitest::PressKey(frame->Tree().Window(), 'd', wxMOD_ALT);
  for (int waited = 0; waited < 10000 && !script.Done(); waited += 50) guitest::Settle(50);
  ASSERT_TRUE(script.Done());
  // Whatever the keys left open (the menu, a prompt) is closed.
  sim.Char(WXK_ESCAPE);
  guitest::Settle(300);

  EXPECT_EQ(afterDown, 1);
  EXPECT_EQ(CdApp().driveOpened, 1);
  EXPECT_EQ(CdApp().selectedDrive, 0);
  ASSERT_TRUE(frame->Reader().device);
  EXPECT_EQ(frame->Reader().device->Path(), first.string());
}

// Once armed, releases any open of the FIFO at PATH that is still waiting five seconds later, by
// opening its other end: a program that waits for a writer then fails its test instead of
// hanging it.
class FifoRelease {
 public:
  explicit FifoRelease(std::string path)
      : thread_([this, path = std::move(path)] {
          while (!done_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (!armed_ || std::chrono::steady_clock::now() - armedAt_ < std::chrono::seconds(5)) continue;
            const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) ::close(writer);
          }
        }) {}
  ~FifoRelease() {
    done_ = true;
    thread_.join();
  }
  void Arm() {
    armedAt_ = std::chrono::steady_clock::now();
    armed_ = true;
  }

 private:
  std::atomic<bool> done_{false};
  std::atomic<bool> armed_{false};
  std::chrono::steady_clock::time_point armedAt_;  // written before armed_ is set
  std::thread thread_;
};

// A FIFO as the drive (first of two): Esc in Select Drive keeps the first drive, which is refused
// at once with a row that says why, and the window goes on answering.
TEST_F(DriveChoice, AFifoAsTheDriveIsRefusedAndEscInSelectDriveLeavesTheWindowAnswering) {
  const fs::path fifo = work / "drive-fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  SetDrives(fifo.string() + ":" + (kFixtures / "joliet.iso").string());
  FifoRelease release(fifo.string());
  wxUIActionSimulator sim;
  std::chrono::steady_clock::time_point escaped;
  std::chrono::steady_clock::duration afterEsc{};
  Script script({[] { return SelectDriveOnScreen() != nullptr; },
                 [&] {
                   guitest::PointAt(SelectDriveOnScreen());
                   escaped = std::chrono::steady_clock::now();
                   release.Arm();
                   sim.Char(WXK_ESCAPE);
                   return true;
                 },
                 [&] {
                   // Seen once the window's loop runs again, after the dialog and the drive's open.
                   if (SelectDriveOnScreen() != nullptr) return false;
                   afterEsc = std::chrono::steady_clock::now() - escaped;
                   return true;
                 }});
  guitest::PressKey(frame->Tree().Window(), 'd', wxMOD_ALT);
  for (int waited = 0; waited < 10000 && !script.Done(); waited += 50) guitest::Settle(50);
  ASSERT_TRUE(script.Done());
  sim.Char(WXK_ESCAPE);  // the menu
  guitest::Settle(300);
  EXPECT_LT(std::chrono::duration<double>(afterEsc).count(), 3.0);

  EXPECT_EQ(CdApp().driveOpened, 1);
  EXPECT_EQ(CdApp().selectedDrive, 0);
  EXPECT_FALSE(frame->Reader().device);
  const auto rows = frame->Log()->Rows();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back().activity, "Opening CD-ROM drive");
  EXPECT_EQ(rows.back().text, fifo.string() + " cannot be opened: a FIFO is neither a regular file nor a block device");
  EXPECT_EQ(rows.back().status, "Drive not opened");

  // The window answers: a call posted to it runs.
  bool ran = false;
  frame->CallAfter([&] { ran = true; });
  for (int waited = 0; waited < 2000 && !ran; waited += 50) guitest::Settle(50);
  EXPECT_TRUE(ran);
}

}  // namespace
