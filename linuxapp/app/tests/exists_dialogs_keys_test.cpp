// The two file-exists dialogs closed with the real Esc key or the close box: they decide nothing,
// and nothing is written over or renamed without the user's answer.
#include <gtest/gtest.h>

#include "ext2engine/recovery.h"
#include "linux_gui_support.h"
#include "real_input.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

// The two ways to close a dialog without a decision.
const std::pair<const char*, std::function<void(wxDialog*)>> kClosings[] = {
    {"Esc", [](wxDialog* dlg) { PressKey(dlg, WXK_ESCAPE); }},
    // The window manager's close box asks the window to close, as Close() does.
    {"close box", [](wxDialog* dlg) { dlg->Close(); }},
};

class ExistsDialogs : public WorkbenchTest {};

TEST_F(ExistsDialogs, EscAndTheCloseBoxChangeNoDecision) {
  const fs::path existing = dest / "a.txt";
  WriteFile(existing, "x");
  AppState& app = App();
  for (const auto& [how, close] : kClosings) {
    SCOPED_TRACE(how);
    // The decisions of an earlier question: OverWrite, and the scan dialog's Overwrite.
    app.fileExists = FileExistsDecision::Overwrite;
    app.scanFileExists = ScanFileExistsDecision::Overwrite;
    std::snprintf(app.newName, sizeof app.newName, "%s", "earlier.txt");

    ModalAnswers answers({close, close});
    EXPECT_FALSE(RunFileExistsDlg(frame, dest.string(), "a.txt", 12));
    EXPECT_FALSE(RunScanFileExistsDlg(frame, existing.string(), 0, 0));
    EXPECT_EQ(answers.Done(), 2u);
    EXPECT_EQ(app.fileExists, FileExistsDecision::Overwrite);
    EXPECT_EQ(app.scanFileExists, ScanFileExistsDecision::Overwrite);
    EXPECT_STREQ(app.newName, "earlier.txt");
  }
}

TEST_F(ExistsDialogs, AFileWhoseQuestionIsClosedIsNeitherWrittenOverNorRenamed) {
  OpenDrive(0);
  const fs::path out = dest / "out";
  fs::create_directories(out);
  auto pressOk = [](wxDialog* dlg) { PressButton(dlg, wxID_OK); };
  {
    ModalAnswers answers({pressOk});  // the caution
    frame->Recover(kRecoverExisting, out.string());
  }
  Pump();
  // Every file is there now; the user's own copies stand in for them.
  const auto first = Files(out / "#Root");
  ASSERT_GE(first.size(), 3u);
  for (const auto& [path, bytes] : first) WriteFile(out / "#Root" / path, "mine " + path);

  for (const auto& [how, close] : kClosings) {
    SCOPED_TRACE(how);
    // The first question is answered OverWrite, the second closed, the third Skip All.
    ModalAnswers answers({pressOk, [](wxDialog* dlg) { PressButton(dlg, 1011); }, close,
                          [](wxDialog* dlg) { PressButton(dlg, 1017); }});
    frame->Recover(kRecoverExisting, out.string());
    Pump();
    EXPECT_EQ(answers.Done(), 4u);
    const auto after = Files(out / "#Root");
    EXPECT_EQ(after.size(), first.size()) << "a file was written under a new name";
    int writtenOver = 0;
    for (const auto& [path, bytes] : after) {
      if (bytes != "mine " + path) {
        ++writtenOver;
        EXPECT_EQ(bytes, first.at(path)) << path;
        WriteFile(out / "#Root" / path, "mine " + path);
      }
    }
    EXPECT_EQ(writtenOver, 1) << "only the file answered OverWrite is written over";
  }
}

TEST_F(ExistsDialogs, AClosedScanFileQuestionIsAskedAgain) {
  OpenDrive(0);
  const fs::path scan = dest / "drive1";
  frame->SaveScanInformation(scan.string());
  const fs::path saved = scan.string() + ".DAT";
  ASSERT_TRUE(fs::exists(saved));
  WriteFile(saved, "mine");
  for (const auto& [how, close] : kClosings) {
    SCOPED_TRACE(how);
    // Closed, then asked again and cancelled: nothing is written anywhere.
    ModalAnswers answers({close, [](wxDialog* dlg) { PressButton(dlg, 1021); }});
    frame->SaveScanInformation(scan.string());
    Pump();
    EXPECT_EQ(answers.Done(), 2u);
    EXPECT_EQ(ReadFile(saved), "mine");
    EXPECT_FALSE(fs::exists(dest / "HardDrv0_LogDrv0_Scan.DAT"));
  }
}

}  // namespace
