// Runs the window tests inside a wx application (under Xvfb in CI).
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include <thread>

#include "gui_test_support.h"

namespace guitest {

wxFrame* Frame() {
  static wxFrame* frame = nullptr;
  if (frame == nullptr) {
    frame = new wxFrame(nullptr, wxID_ANY, "controls test", wxDefaultPosition, wxSize(640, 480));
    frame->Show();
    wxTheApp->SetTopWindow(frame);
    Pump(std::chrono::milliseconds(100));
  }
  return frame;
}

void Pump(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  do {
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < end);
}

}  // namespace guitest

namespace {
class TestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

// A failed wx assertion fails the test instead of opening a dialog nobody answers.
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str(), line) << "wx assertion " << cond.utf8_str() << " in " << func.utf8_str() << ": "
                                        << msg.utf8_str();
}
}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wxSetAssertHandler(FailOnAssert);
  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 2;
  const int rc = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return rc;
}
