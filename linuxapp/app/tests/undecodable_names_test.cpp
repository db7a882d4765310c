// A recovered name that is not valid UTF-8 shows in the log, the saved report and the file-exists
// dialog as the tree shows it, and keeps its bytes when it is written.
#include <gtest/gtest.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/testing.h>

#include <cstdlib>
#include <string>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/recovery.h"
#include "linux_gui_support.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

const std::string kName = "caf\xe9.txt";            // Latin-1, not valid UTF-8
const std::string kShown = "caf\xc3\xa9.txt";       // as the windows show it
const std::string kBytes = "caf\xe9 is not UTF-8\n";

// A disk with one Linux partition at sector 2048 that holds kName at its root.
fs::path MakeDisk(const fs::path& work) {
  const fs::path src = work / "src";
  fs::create_directories(src);
  WriteFile(src / kName, kBytes);
  const fs::path part = work / "part.img";
  const std::string mkfs = "mke2fs -q -F -t ext2 -b 1024 -d '" + src.string() + "' '" + part.string() +
                           "' 4096 >/dev/null 2>&1";
  EXPECT_EQ(std::system(mkfs.c_str()), 0) << mkfs;
  const std::string fs = ReadFile(part);
  std::string mbr(2048 * 512, '\0');
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) mbr[at + i] = static_cast<char>(v >> (8 * i));
  };
  mbr[446 + 4] = static_cast<char>(0x83);
  put32(446 + 8, 2048);
  put32(446 + 12, static_cast<std::uint32_t>(fs.size() / 512));
  mbr[510] = static_cast<char>(0x55);
  mbr[511] = static_cast<char>(0xAA);
  const fs::path disk = work / "disk.img";
  WriteFile(disk, mbr + fs);
  return disk;
}

// Checks the File Already Exists dialog's texts, then presses Rename with the proposal unchanged.
class RenameUnchanged : public wxExpectModalBase<wxDialog, RenameUnchanged> {
 public:
  explicit RenameUnchanged(std::string proposal) : proposal_(std::move(proposal)) {}

 protected:
  int OnInvoked(wxDialog* dlg) const override {
    EXPECT_EQ(dlg->GetTitle(), "File Already Exists");
    auto* name = wxDynamicCast(dlg->FindWindow(1015), wxStaticText);
    auto* edit = wxDynamicCast(dlg->FindWindow(1016), wxTextCtrl);
    EXPECT_TRUE(name != nullptr && edit != nullptr);
    if (name != nullptr) {
      EXPECT_EQ(name->GetLabel().utf8_string(), kShown);
    }
    if (edit != nullptr) {
      EXPECT_EQ(edit->GetValue().utf8_string(), proposal_);
    }
    return wxID_OK;
  }

 private:
  std::string proposal_;
};

class UndecodableNames : public WorkbenchTest {};

TEST_F(UndecodableNames, ShowInTheLogTheReportAndTheFileExistsDialog) {
  const fs::path work = dest / "work";
  const fs::path out = dest / "out";
  fs::create_directories(out);
  SetDiskSource(PathListDiskSource({MakeDisk(work).string()}));
  OpenDrive(0);
  ASSERT_TRUE(App().currentDrive);
  std::uint32_t inode = 0;
  for (const auto& e : frame->LeftView()->Entries()) {
    if (e.name == kName) inode = e.inode;
  }
  ASSERT_NE(inode, 0u) << "the tree lacks the name";

  wxTEST_DIALOG(frame->Recover(kRecoverExisting, out.string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
  Pump();
  EXPECT_EQ(ReadFile(out / "#Root" / kName), kBytes);
  // The file's row: its path in the Text column.
  std::string logged;
  for (const auto& row : frame->Log()->Rows()) {
    if (row.text.size() >= kShown.size() && row.text.compare(row.text.size() - kShown.size(), kShown.size(), kShown) == 0) {
      logged = row.text;
    }
  }
  ASSERT_FALSE(logged.empty()) << "no log row shows the recovered file";
  EXPECT_EQ(logged.find('/'), 0u) << logged;

  const fs::path report = dest / "report.log";
  frame->SaveLog(report.string());
  EXPECT_NE(ReadFile(report).find("\r\n" + std::string(20, ' ') + logged + "\r\n"), std::string::npos)
      << "the report lacks " << logged;

  // Again into the same folder: the dialog shows the name, and Rename writes under the proposal's
  // own bytes.
  const std::string copy = "Copy_" + std::to_string(inode) + "_" + kName;
  wxTEST_DIALOG(frame->Recover(kRecoverExisting, out.string()), wxExpectDismissableModal<wxDialog>(wxID_OK),
                RenameUnchanged("Copy_" + std::to_string(inode) + "_" + kShown));
  Pump();
  EXPECT_EQ(ReadFile(out / "#Root" / copy), kBytes);
  EXPECT_EQ(ReadFile(out / "#Root" / kName), kBytes);
}

}  // namespace
