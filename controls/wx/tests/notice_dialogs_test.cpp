// The timed notices close on time, end early on Esc or Enter, and a notice that ended early is
// never reached by its worker's late wake-up.
#include "controls/wx/notice_dialogs.h"

#include <gtest/gtest.h>
#include <wx/timer.h>

#include <chrono>

#include "gui_test_support.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using controls::CTimedNoticeDlg;

// Runs DLG modally and returns how long it stayed, with its result.
std::pair<std::chrono::milliseconds, int> RunModal(CTimedNoticeDlg& dlg) {
  const auto start = Clock::now();
  const int result = dlg.ShowModal();
  return {std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start), result};
}

// Sends KEY to DLG after DELAY, as if the user pressed it.
class KeyLater {
 public:
  KeyLater(wxDialog& dlg, int key, std::chrono::milliseconds delay) {
    timer_.Bind(wxEVT_TIMER, [&dlg, key](wxTimerEvent&) {
      wxKeyEvent press(wxEVT_CHAR_HOOK);
      press.m_keyCode = key;
      press.SetEventObject(&dlg);
      dlg.GetEventHandler()->ProcessEvent(press);
    });
    timer_.StartOnce(static_cast<int>(delay.count()));
  }

 private:
  wxTimer timer_;
};

TEST(NoticeDialogs, CloseThemselvesOnTime) {
  struct Case {
    const char* what;
    std::unique_ptr<CTimedNoticeDlg> dlg;
    std::chrono::milliseconds time;
  };
  wxBitmap picture(326, 231, 24);
  Case cases[] = {
      {"splash of the ext2 program",
       std::make_unique<controls::CSplashDlg>(nullptr, picture, controls::kVelnoraSplashTime), 1000ms},
      {"splash of the CD program", std::make_unique<controls::CSplashDlg>(nullptr, picture, controls::kCdSplashTime),
       2000ms},
      {"wait notice", std::make_unique<controls::CWaitDlg>(nullptr, controls::kVelnoraWaitText), 600ms},
      {"CD wait notice", std::make_unique<controls::CWaitDlg>(nullptr, controls::kCdWaitText), 600ms},
  };
  for (Case& c : cases) {
    const auto [stayed, result] = RunModal(*c.dlg);
    EXPECT_GE(stayed, c.time - 10ms) << c.what;
    EXPECT_LT(stayed, c.time + 1500ms) << c.what;  // loose: the machine may be busy
    EXPECT_EQ(result, wxID_CANCEL) << c.what;
  }
}

TEST(NoticeDialogs, EscAndEnterEndANoticeAtOnce) {
  struct Case {
    int key;
    int result;
  };
  for (const Case& c : {Case{WXK_ESCAPE, wxID_CANCEL}, Case{WXK_RETURN, wxID_OK}, Case{WXK_NUMPAD_ENTER, wxID_OK}}) {
    controls::CWaitDlg dlg(nullptr, controls::kVelnoraWaitText, 2000ms);
    KeyLater key(dlg, c.key, 50ms);
    const auto [stayed, result] = RunModal(dlg);
    EXPECT_LT(stayed, 1000ms) << c.key;
    EXPECT_EQ(result, c.result) << c.key;
  }
}

TEST(NoticeDialogs, ANoticeEndedEarlyIsNotTouchedByItsWorker) {
  // Ended at 30 ms, its worker would have fired at 500 ms. Shown again at about 250 ms, the
  // notice must stay its own full time, not be cut off by the first showing's wake-up.
  controls::CWaitDlg dlg(nullptr, controls::kCdWaitText, 500ms);
  {
    KeyLater key(dlg, WXK_ESCAPE, 30ms);
    EXPECT_LT(RunModal(dlg).first, 400ms);
  }
  guitest::Pump(220ms);
  const auto [stayed, result] = RunModal(dlg);
  EXPECT_GE(stayed, 490ms);
  EXPECT_EQ(result, wxID_CANCEL);

  // One ended early and then destroyed: nothing reaches it afterwards.
  auto* gone = new controls::CWaitDlg(nullptr, controls::kCdWaitText, 300ms);
  {
    KeyLater key(*gone, WXK_ESCAPE, 20ms);
    RunModal(*gone);
  }
  delete gone;
  guitest::Pump(500ms);
  SUCCEED();
}

}  // namespace
