// The message pump of long processes, inside a running event loop as a command runs in the main
// loop: it delivers every waiting event, also after a modal dialog has ended in the same command
// (the folder chooser, a caution) and inside a handler that a modal dialog's own loop runs.
#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <chrono>
#include <thread>

#include "command_loop.h"
#include "controls/wx/message_pump.h"
#include "gui_test_support.h"

namespace {

using guitest::Frame;
using guitest::RunAsCommand;

// Shows a real modal dialog and ends it from a timer of its own modal loop; BODY runs from that
// timer before the dialog ends when INSIDE, else after ShowModal has returned.
void WithEndedModalDialog(bool inside, const std::function<void()>& body) {
  wxDialog dlg(Frame(), wxID_ANY, "modal");
  wxTimer end;
  end.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    dlg.EndModal(wxID_OK);
    if (inside) body();
  });
  end.StartOnce(50);
  ASSERT_EQ(dlg.ShowModal(), wxID_OK);
  if (!inside) body();
}

// Two timers due and a call queued: one pump delivers all three.
void ExpectOnePumpDeliversAll() {
  int fired = 0;
  wxTimer first, second;
  for (wxTimer* t : {&first, &second}) {
    t->Bind(wxEVT_TIMER, [&fired](wxTimerEvent&) { ++fired; });
    t->StartOnce(1);
  }
  bool called = false;
  Frame()->CallAfter([&called] { called = true; });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  controls::MessagePump pump;
  EXPECT_EQ(pump.Pump(), 1);
  EXPECT_EQ(fired, 2);
  EXPECT_TRUE(called);
}

TEST(MessagePump, DeliversEveryWaitingEventHoweverTheProcessWasStarted) {
  SCOPED_TRACE("no dialog");
  RunAsCommand(Frame(), ExpectOnePumpDeliversAll);
  {
    SCOPED_TRACE("after a modal dialog ended in the same command");
    RunAsCommand(Frame(), [] { WithEndedModalDialog(false, ExpectOnePumpDeliversAll); });
  }
  {
    SCOPED_TRACE("in a handler of a modal dialog that has ended itself");
    RunAsCommand(Frame(), [] { WithEndedModalDialog(true, ExpectOnePumpDeliversAll); });
  }
  {
    SCOPED_TRACE("before any event loop runs");
    ExpectOnePumpDeliversAll();
  }
}

}  // namespace
