// The Add FileFilter, File Mask, Find and Advance Settings dialogs in a real window (under Xvfb),
// driven through their controls, and what they change: recovery, the tree, the sector reads.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/testing.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "controls/wx/message_box.h"
#include "controls/wx/notice_dialogs.h"
#include "criteria_dialogs.h"
#include "dialog_controls.h"
#include "dialogs.h"
#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "test_disk.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "ext2engine/recovery.h"
#include "linux_gui_support.h"
#include "linuxcore/command_states.h"
#include "linuxcore/size_text.h"
#include "main_frame.h"
#include "settings_dialog.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace fs = std::filesystem;

namespace {

using namespace guitest;
using namespace ext2::testing;

// A click on the control ID: a check box toggles, a radio button is chosen, a button is pressed.
void Click(wxWindow* dlg, int id) {
  wxWindow* w = dlg->FindWindow(id);
  ASSERT_NE(w, nullptr) << "control " << id;
  if (auto* check = dynamic_cast<wxCheckBox*>(w)) {
    Check(dlg, id, !check->GetValue());
  } else if (dynamic_cast<wxRadioButton*>(w) != nullptr) {
    ChooseRadio(dlg, id);
  } else {
    wxCommandEvent e(wxEVT_BUTTON, id);
    Send(w, e);
  }
}

void Type(wxWindow* dlg, int id, const std::string& text) { Ctrl<wxTextCtrl>(dlg, id)->SetValue(wxString::FromUTF8(text)); }
std::string Text(wxWindow* dlg, int id) { return Ctrl<wxTextCtrl>(dlg, id)->GetValue().utf8_string(); }
bool Checked(wxWindow* dlg, int id) {
  wxWindow* w = dlg->FindWindow(id);
  if (auto* c = dynamic_cast<wxCheckBox*>(w)) return c->GetValue();
  if (auto* r = dynamic_cast<wxRadioButton*>(w)) return r->GetValue();
  ADD_FAILURE() << "no check box or radio button " << id;
  return false;
}

void Spin(wxWindow* dlg, int id, bool up) {
  wxSpinEvent e(up ? wxEVT_SPIN_UP : wxEVT_SPIN_DOWN, id);
  Send(dlg->FindWindow(id), e);
}

void Choose(wxWindow* dlg, int id, int item) {
  auto* combo = Ctrl<wxComboBox>(dlg, id);
  combo->SetSelection(item);
  wxCommandEvent e(wxEVT_COMBOBOX, id);
  e.SetInt(item);
  Send(combo, e);
}

// Whether the extension of NAME (after its first dot) begins with EXT, without regard to case:
// what an include pattern "*.EXT" of the file filters accepts.
bool ExtensionStartsWith(const std::string& path, const std::string& ext) {
  const std::string name = fs::path(path).filename().string();
  const auto dot = name.find('.');
  if (dot == std::string::npos) return false;
  const std::string e = name.substr(dot + 1);
  if (e.size() < ext.size()) return false;
  for (std::size_t i = 0; i < ext.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(e[i])) != std::tolower(static_cast<unsigned char>(ext[i]))) return false;
  }
  return true;
}

// The extension after the first dot equals EXT, without regard to case: what a mask "*.EXT" keeps.
bool ExtensionIs(const std::string& path, const std::string& ext) {
  const std::string name = fs::path(path).filename().string();
  const auto dot = name.find('.');
  return dot != std::string::npos && name.size() - dot - 1 == ext.size() && ExtensionStartsWith(path, ext);
}

template <class Keep>
std::map<std::string, std::string> Only(const std::map<std::string, std::string>& files, Keep keep) {
  std::map<std::string, std::string> out;
  for (const auto& [path, bytes] : files) {
    if (keep(path)) out[path] = bytes;
  }
  return out;
}

class CriteriaDialogs : public WorkbenchTest {
 protected:
  void OpenDrive(int row) {
    WorkbenchTest::OpenDrive(row);
    ASSERT_TRUE(App().currentDrive);
  }

  // The menu command ID, as the menu sends it.
  void Command(int id) {
    wxCommandEvent e(wxEVT_MENU, WxId(id));
    frame->ProcessWindowEvent(e);
  }

  bool MenuEnabled(int id) {
    const CommandStates states = MenuStates(frame->Inputs());
    auto it = states.find(id);
    return it != states.end() && it->second;
  }

  // Partition ROW dumped by debugfs, the independent reader.
  std::map<std::string, std::string> Oracle(int row) {
    const fs::path out = dest / ("oracle" + std::to_string(row));
    fs::create_directories(out);
    const std::uint32_t start = LogicalDrives().Drives()[row].firstSector;
    const std::string cmd = "debugfs -R 'rdump / " + out.string() + "' '" + QV_SAMPLE_DISK +
                            "?offset=" + std::to_string(std::uint64_t{start} * 512) + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    std::map<std::string, std::string> files;
    for (const auto& [path, bytes] : Files(out)) {
      if (path.rfind("lost+found", 0) != 0) files[path] = bytes;
    }
    return files;
  }

  std::map<std::string, std::string> RecoverExisting(const std::string& name) {
    const fs::path out = dest / name;
    fs::create_directories(out);
    wxTEST_DIALOG(frame->Recover(kRecoverExisting, out.string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
    Pump();
    return Files(out / "#Root");
  }

  // Adds PATTERNS in Add FileFilter and leaves with the button FINISH.
  void AddFilters(const std::vector<std::string>& patterns, int finish) {
    wxTEST_DIALOG(Command(kCmdAddFileFilter), Act<CFileFilterDlg>([&](CFileFilterDlg* dlg) {
                    for (const std::string& p : patterns) {
                      Type(dlg, kIdFilterText, p);
                      Click(dlg, kIdAddToList);
                    }
                    Click(dlg, finish);
                  }));
  }

  // Applies the mask TEXT through the File Mask dialog.
  void Mask(const std::string& text, std::function<void(CFileMaskDlg*)> more = {}) {
    wxTEST_DIALOG(Command(kCmdFileMask), Act<CFileMaskDlg>([&](CFileMaskDlg* dlg) {
                    Type(dlg, kIdMaskText, text);
                    if (more) more(dlg);
                    Click(dlg, wxID_OK);
                  }),
                  wxExpectDismissableModal<controls::CWaitDlg>(wxID_CANCEL).Describe("the wait notice"));
    Pump();
  }
};

std::vector<std::string> ListLines(wxListBox* list) {
  std::vector<std::string> lines;
  for (unsigned i = 0; i < list->GetCount(); ++i) lines.push_back(list->GetString(i).utf8_string());
  return lines;
}

TEST_F(CriteriaDialogs, AddFileFilterCancelTakesBackOnlyItsOwnPatterns) {
  OpenDrive(0);
  CLinuxDrive& drive = *App().currentDrive;

  // The first patterns of a drive, cancelled: nothing stays.
  wxTEST_DIALOG(Command(kCmdAddFileFilter), Act<CFileFilterDlg>([](CFileFilterDlg* dlg) {
                  EXPECT_EQ(dlg->GetTitle(), "Add FileFilter");
                  EXPECT_FALSE(Enabled(dlg, kIdAddToList));
                  EXPECT_FALSE(Enabled(dlg, kIdInclude));
                  EXPECT_FALSE(Enabled(dlg, kIdExclude));
                  Type(dlg, kIdFilterText, "*.txt");
                  EXPECT_TRUE(Enabled(dlg, kIdAddToList));
                  Click(dlg, kIdAddToList);
                  EXPECT_EQ(Text(dlg, kIdFilterText), "");
                  EXPECT_FALSE(Enabled(dlg, kIdAddToList));
                  EXPECT_TRUE(Enabled(dlg, kIdInclude));
                  EXPECT_TRUE(Enabled(dlg, kIdExclude));
                  Type(dlg, kIdFilterText, "*.doc");
                  Click(dlg, kIdAddToList);
                  EXPECT_EQ(ListLines(Ctrl<wxListBox>(dlg, kIdFilterList)), (std::vector<std::string>{"*.txt", "*.doc"}));
                  EXPECT_EQ(App().currentDrive->filters.size(), 2u);
                  Click(dlg, wxID_CANCEL);
                  EXPECT_EQ(dlg->GetReturnCode(), wxID_CANCEL);
                }));
  EXPECT_TRUE(drive.filters.empty());
  EXPECT_FALSE(MenuEnabled(kIdRemoveFileFilter));

  // Include keeps both, with the mode include.
  AddFilters({"*.txt", "*.c"}, kIdInclude);
  ASSERT_EQ(drive.filters.size(), 2u);
  EXPECT_EQ(drive.filters[0].pattern, "*.txt");
  EXPECT_EQ(drive.filters[0].position, 1);
  EXPECT_EQ(drive.filters[1].pattern, "*.c");
  EXPECT_EQ(drive.filters[1].position, 2);
  EXPECT_EQ(drive.filterMode, 0);
  EXPECT_TRUE(MenuEnabled(kIdRemoveFileFilter));

  // Reopened, it shows them; a pattern added and cancelled goes, the earlier two stay.
  wxTEST_DIALOG(Command(kCmdAddFileFilter), Act<CFileFilterDlg>([](CFileFilterDlg* dlg) {
                  EXPECT_EQ(ListLines(Ctrl<wxListBox>(dlg, kIdFilterList)), (std::vector<std::string>{"*.txt", "*.c"}));
                  EXPECT_TRUE(Enabled(dlg, kIdInclude));
                  Type(dlg, kIdFilterText, "x*");
                  Click(dlg, kIdAddToList);
                  Click(dlg, wxID_CANCEL);
                  EXPECT_EQ(ListLines(Ctrl<wxListBox>(dlg, kIdFilterList)), (std::vector<std::string>{"*.txt", "*.c"}));
                }));
  ASSERT_EQ(drive.filters.size(), 2u);
  EXPECT_EQ(drive.filters[1].pattern, "*.c");
  EXPECT_TRUE(MenuEnabled(kIdRemoveFileFilter));

  // Exclude sets one mode for the whole list.
  AddFilters({}, kIdExclude);
  EXPECT_EQ(drive.filterMode, 1);
  EXPECT_EQ(drive.filters.size(), 2u);
}

TEST_F(CriteriaDialogs, ACancelledFilterAfterTheFiltersWereDroppedStaysOutOfForce) {
  OpenDrive(1);
  const auto oracle = Oracle(1);
  AddFilters({"*.txt"}, kIdInclude);
  ASSERT_TRUE(MenuEnabled(kIdRemoveFileFilter));
  // Search Deleted and Lost drops the drive's filters, the count with them.
  wxTEST_DIALOG(Command(kIdSearchDeletedAndLost), wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("caution 3"));
  Pump();
  EXPECT_TRUE(App().currentDrive->filters.empty());
  EXPECT_FALSE(MenuEnabled(kIdRemoveFileFilter));
  // A pattern added and cancelled leaves no filter in force.
  wxTEST_DIALOG(Command(kCmdAddFileFilter), Act<CFileFilterDlg>([](CFileFilterDlg* dlg) {
                  EXPECT_TRUE(ListLines(Ctrl<wxListBox>(dlg, kIdFilterList)).empty());
                  EXPECT_FALSE(Enabled(dlg, kIdInclude));
                  Type(dlg, kIdFilterText, "*.jpg");
                  Click(dlg, kIdAddToList);
                  Click(dlg, wxID_CANCEL);
                }));
  EXPECT_TRUE(App().currentDrive->filters.empty());
  EXPECT_FALSE(MenuEnabled(kIdRemoveFileFilter));

  // Recover All, deleted entries too, writes every file of the drive and the deleted ones.
  const fs::path out = dest / "all";
  fs::create_directories(out);
  wxTEST_DIALOG(frame->Recover(kRecoverAll, out.string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
  Pump();
  const auto recovered = Files(out / "#Root");
  for (const auto& [path, bytes] : oracle) {
    ASSERT_TRUE(recovered.count(path)) << path;
    EXPECT_EQ(recovered.at(path), bytes) << path;
  }
  EXPECT_EQ(Only(recovered, [](const std::string& p) { return p.rfind("Deleted Files/", 0) == 0; }).size(), 4u);
}

TEST_F(CriteriaDialogs, RecoveryWritesExactlyTheFilesTheFiltersFromTheDialogSelect) {
  OpenDrive(0);
  const auto oracle = Oracle(0);
  ASSERT_GT(oracle.size(), 8u);

  AddFilters({"*.txt", "*.C"}, kIdInclude);
  const auto included = RecoverExisting("include");
  EXPECT_EQ(included, Only(oracle, [](const std::string& p) { return ExtensionStartsWith(p, "txt") || ExtensionStartsWith(p, "c"); }));
  EXPECT_EQ(included.count("docs/notes/todo.txt"), 1u);
  EXPECT_EQ(included.count("projects/src/main.c"), 1u);

  Command(kIdRemoveFileFilter);
  AddFilters({"*.jpg"}, kIdExclude);
  const auto excluded = RecoverExisting("exclude");
  EXPECT_EQ(excluded, Only(oracle, [](const std::string& p) { return !ExtensionStartsWith(p, "jpg"); }));
  EXPECT_EQ(excluded.count("photos/winter.jpg"), 0u);
}

TEST_F(CriteriaDialogs, RecoveryUnderAMaskWritesExactlyTheMaskedFilesAndUnMaskRestoresTheTree) {
  OpenDrive(0);
  const auto oracle = Oracle(0);
  CLeftView& tree = *frame->LeftView();
  const std::size_t records = tree.Entries().size();
  const std::size_t items = tree.Tree().GetCount();
  const wxString totals = frame->GetStatusBar()->GetStatusText(1);
  EXPECT_FALSE(MenuEnabled(kIdUnMask));

  Mask("*.txt;*.C");
  EXPECT_TRUE(tree.HasUnmaskedList());
  EXPECT_TRUE(MenuEnabled(kIdUnMask));
  EXPECT_EQ(App().maskApplied, 1);
  EXPECT_TRUE(App().mask.extensions.empty());  // freed after the mask
  // The masked tree: the folders that lead to the kept files, nothing else.
  std::set<std::string> folders;
  for (const ListedEntry& e : tree.Entries()) {
    if (e.IsFolder()) folders.insert(e.name);
  }
  EXPECT_EQ(folders, (std::set<std::string>{"Root", "docs", "notes", "projects", "src"}));
  EXPECT_EQ(tree.Tree().GetCount(), folders.size());

  const auto masked = RecoverExisting("masked");
  EXPECT_EQ(masked, Only(oracle, [](const std::string& p) { return ExtensionIs(p, "txt") || ExtensionIs(p, "c"); }));
  EXPECT_EQ(masked.count("projects/src/util.h"), 0u);

  Command(kIdUnMask);
  Pump();
  EXPECT_FALSE(tree.HasUnmaskedList());
  EXPECT_FALSE(MenuEnabled(kIdUnMask));
  EXPECT_EQ(tree.Entries().size(), records);
  EXPECT_EQ(tree.Tree().GetCount(), items);
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), totals);
  EXPECT_EQ(App().scanned, 1);
  EXPECT_EQ(App().processRunning, 0);
  EXPECT_EQ(frame->busyFlag, 0);
  EXPECT_EQ(RecoverExisting("unmasked"), oracle);
}

// A real mouse click (through the X server) on the check box of the tree item of the folder record
// NAME/PARENT.
void ClickTreeCheckBox(CLeftView& view, const std::string& name, std::uint32_t parent) {
  controls::TreeItem item = controls::kNoItem;
  for (const ListedEntry& e : view.Entries()) {
    if (e.IsFolder() && e.name == name && e.parentInode == parent) item = e.treeItem;
  }
  ASSERT_NE(item, controls::kNoItem) << name;
  controls::TreeRect box;
  ASSERT_TRUE(view.Tree().GetStateIconRect(item, box)) << name;
  wxWindow* window = dynamic_cast<controls::WxTreeControl&>(view.Tree()).Window();
  wxUIActionSimulator mouse;
  mouse.MouseMove(window->ClientToScreen(wxPoint(box.x + box.width / 2, box.y + box.height / 2)));
  Pump();
  mouse.MouseClick();
  Pump();
}

TEST_F(CriteriaDialogs, UnMaskShowsEveryRecordsMarkAndRecoverSelectedWritesWhatIsShown) {
  OpenDrive(0);
  const auto oracle = Oracle(0);
  CLeftView& tree = *frame->LeftView();
  // Marked before the mask, by a click on its box: docs and everything in it.
  ClickTreeCheckBox(tree, "docs", kRootInode);
  auto record = [&](const std::string& name) -> const ListedEntry& {
    for (const ListedEntry& e : tree.Entries()) {
      if (e.IsFolder() && e.name == name && e.parentInode == kRootInode) return e;
    }
    throw std::runtime_error("no folder " + name);
  };
  ASSERT_EQ(record("docs").check, 1);
  auto expectTheScreenShowsTheRecords = [&](const char* when) {
    for (const ListedEntry& e : tree.Entries()) {
      if (e.treeItem != controls::kNoItem) {
        EXPECT_EQ(tree.Tree().GetStateImage(e.treeItem), TreeStateOfCheck(e.check)) << when << ": " << e.name;
      }
    }
    int folders = 0, files = 0;
    const std::uint64_t bytes = tree.CountMarked(&folders, &files);
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(2).utf8_string(), FormatSizeText(bytes, files, folders, true)) << when;
  };

  // Under the mask docs shows its mark; projects is marked there by a click.
  Mask("*.txt;*.c");
  expectTheScreenShowsTheRecords("under the mask");
  EXPECT_EQ(tree.Tree().GetStateImage(record("docs").treeItem), controls::kStateChecked);
  ClickTreeCheckBox(tree, "projects", kRootInode);
  ASSERT_EQ(record("projects").check, 1);

  // UnMask: the full list's records decide again; the mark made under the mask stayed there.
  Command(kIdUnMask);
  Pump();
  ASSERT_FALSE(tree.HasUnmaskedList());
  expectTheScreenShowsTheRecords("after UnMask");
  EXPECT_EQ(tree.Tree().GetStateImage(record("docs").treeItem), controls::kStateChecked);
  EXPECT_EQ(tree.Tree().GetStateImage(record("projects").treeItem), controls::kStateUnchecked);
  EXPECT_TRUE(MenuEnabled(kCmdRecoverSelected));

  const fs::path out = dest / "selected";
  fs::create_directories(out);
  wxTEST_DIALOG(frame->Recover(kRecoverMarked, out.string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
  Pump();
  EXPECT_EQ(Files(out / "#Root"), Only(oracle, [](const std::string& p) { return p.rfind("docs/", 0) == 0; }));
}

TEST_F(CriteriaDialogs, FileMaskHandlersWriteTheCriteriaAtOnceAndCancelKeepsThem) {
  OpenDrive(0);
  App().mask.sizeFrom = 77;  // reset when the dialog opens
  wxTEST_DIALOG(
      Command(kCmdFileMask), Act<CFileMaskDlg>([](CFileMaskDlg* dlg) {
        const FileMaskCriteria& c = App().mask;
        EXPECT_EQ(dlg->GetTitle(), "File Mask");
        EXPECT_EQ(Text(dlg, kIdSizeFromEdit), "0");
        EXPECT_EQ(Text(dlg, kIdSizeUptoEdit), "2");
        EXPECT_EQ(Text(dlg, kIdMonthsEdit), "0");
        EXPECT_EQ(Text(dlg, kIdDaysEdit), "0");
        for (int id : {kIdSizeFromEdit, kIdSizeUptoEdit, kIdMonthsEdit, kIdDaysEdit, kIdTimeKind, kIdFromDate,
                       kIdToDate, kIdLastMonthsRadio, kIdLastDaysRadio, kIdBetweenRadio, kIdAndText}) {
          EXPECT_FALSE(Enabled(dlg, id)) << id;
        }
        EXPECT_TRUE(Checked(dlg, kIdDeletedFiles));
        EXPECT_TRUE(Checked(dlg, kIdExistingFiles));
        EXPECT_FALSE(Checked(dlg, kIdMaskMatchCase));
        EXPECT_EQ(Ctrl<wxComboBox>(dlg, kIdTimeKind)->GetSelection(), 0);
        EXPECT_EQ(c.sizeFrom, 0);
        EXPECT_EQ(c.sizeUpto, 2);
        EXPECT_EQ(c.bySizeUpto, 0);
        EXPECT_EQ(c.byLastMonths, 0);  // "Date" is unchecked
        EXPECT_EQ(c.lastMonths, 0);
        EXPECT_EQ(c.deletedFiles, 1);
        EXPECT_EQ(c.existingFiles, 1);
        // From the month before, same day; up to today.
        const wxDateTime today = wxDateTime::Today();
        EXPECT_TRUE(Ctrl<wxDatePickerCtrl>(dlg, kIdToDate)->GetValue().IsSameDate(today));

        Type(dlg, kIdMaskText, ";*.txt");
        EXPECT_EQ(c.byExtension, 1);
        Type(dlg, kIdMaskText, "");
        EXPECT_EQ(c.byExtension, 0);
        Click(dlg, kIdMaskMatchCase);
        EXPECT_EQ(c.matchCase, 1);

        // A size bound is in force exactly while its box is checked, whatever its value: "upto" at
        // 1 and 2 too.
        Click(dlg, kIdSizeUptoCheck);
        EXPECT_TRUE(Enabled(dlg, kIdSizeUptoEdit));
        EXPECT_EQ(c.bySizeUpto, 1);
        for (const char* value : {"1", "2", "3"}) {
          Type(dlg, kIdSizeUptoEdit, value);
          EXPECT_EQ(c.sizeUpto, std::atoi(value));
          EXPECT_EQ(c.bySizeUpto, 1) << value;
        }
        Click(dlg, kIdSizeUptoCheck);
        EXPECT_EQ(c.bySizeUpto, 0);
        // Unchecking "Size from" after typing 4 keeps the value but puts the bound out of force.
        Click(dlg, kIdSizeFromCheck);
        Type(dlg, kIdSizeFromEdit, "4");
        EXPECT_EQ(c.bySizeFrom, 1);
        Click(dlg, kIdSizeFromCheck);
        EXPECT_FALSE(Enabled(dlg, kIdSizeFromEdit));
        EXPECT_EQ(c.sizeFrom, 4);
        EXPECT_EQ(c.bySizeFrom, 0);

        // "Date" opens the periods with the months radio; months 3, then days 5: the chosen period is
        // in force, the other keeps its value.
        Click(dlg, kIdDateCheck);
        EXPECT_TRUE(Checked(dlg, kIdLastMonthsRadio));
        for (int id : {kIdLastMonthsRadio, kIdLastDaysRadio, kIdBetweenRadio, kIdMonthsEdit, kIdAndText, kIdTimeKind}) {
          EXPECT_TRUE(Enabled(dlg, id)) << id;
        }
        EXPECT_FALSE(Enabled(dlg, kIdDaysEdit));
        Type(dlg, kIdMonthsEdit, "3");
        Click(dlg, kIdLastDaysRadio);
        EXPECT_TRUE(Enabled(dlg, kIdDaysEdit));
        EXPECT_FALSE(Enabled(dlg, kIdMonthsEdit));
        EXPECT_FALSE(Checked(dlg, kIdLastMonthsRadio));
        Type(dlg, kIdDaysEdit, "5");
        EXPECT_EQ(c.lastMonths, 3);
        EXPECT_EQ(c.byLastMonths, 0);
        EXPECT_EQ(c.lastDays, 5);
        EXPECT_EQ(c.byLastDays, 1);
        EXPECT_EQ(c.betweenDates, 0);

        // The days arrows cycle 1..364; the months arrows stop at 0.
        std::vector<std::string> shown;
        for (bool up : {true, false, true, true, false, false, false}) {
          Spin(dlg, kIdDaysSpin, up);
          shown.push_back(Text(dlg, kIdDaysEdit));
        }
        EXPECT_EQ(shown, (std::vector<std::string>{"1", "364", "1", "2", "1", "364", "363"}));
        EXPECT_EQ(c.lastDays, 363);
        shown.clear();
        for (bool up : {true, true, false, false, false}) {
          Spin(dlg, kIdMonthsSpin, up);
          shown.push_back(Text(dlg, kIdMonthsEdit));
        }
        EXPECT_EQ(shown, (std::vector<std::string>{"1", "2", "1", "0", "0"}));

        // Between: the pickers enable, and the range is in force as the pickers show it.
        Click(dlg, kIdBetweenRadio);
        EXPECT_TRUE(Enabled(dlg, kIdFromDate));
        EXPECT_TRUE(Enabled(dlg, kIdToDate));
        EXPECT_FALSE(Enabled(dlg, kIdDaysEdit));
        EXPECT_EQ(c.betweenDates, 1);
        EXPECT_EQ(c.byLastDays, 0);
        const wxDateTime later(1, wxDateTime::Jun, 2031);
        PickDate(dlg, kIdToDate, later);
        EXPECT_EQ(c.betweenDates, 1);
        EXPECT_EQ(c.toYear, 2031);
        EXPECT_EQ(c.toMonth, 6);
        EXPECT_EQ(c.toDay, 1);
        Choose(dlg, kIdTimeKind, 1);
        EXPECT_EQ(dlg->TimeChoice(), 1);

        // OK without Deleted Files and Existing Files: the warning, and the dialog stays.
        Click(dlg, kIdDeletedFiles);
        Click(dlg, kIdExistingFiles);
        EXPECT_EQ(c.deletedFiles, 0);
        EXPECT_EQ(c.existingFiles, 0);
        Click(dlg, wxID_OK);
        EXPECT_NE(dlg->GetReturnCode(), wxID_OK);
        Click(dlg, kIdExistingFiles);
        Click(dlg, wxID_CANCEL);
      }),
      ExpectMessage("One or both button (Deleted Files and Existing Files) must be checked", "Quarvel Velnora Linux"));
  // Cancel leaves the tree alone and the criteria as the handlers wrote them.
  const FileMaskCriteria& c = App().mask;
  EXPECT_FALSE(frame->LeftView()->HasUnmaskedList());
  EXPECT_EQ(App().maskApplied, 0);
  EXPECT_EQ(c.sizeFrom, 4);
  EXPECT_EQ(c.lastMonths, 0);  // the months arrows came back to 0
  EXPECT_EQ(c.byLastMonths, 0);
  EXPECT_EQ(c.lastDays, 363);
  EXPECT_EQ(c.byLastDays, 0);
  EXPECT_EQ(c.existingFiles, 1);
  EXPECT_EQ(c.deletedFiles, 0);
  EXPECT_EQ(c.betweenDates, 1);
}

TEST_F(CriteriaDialogs, FileMaskRemembersTheTimeChoiceAndTakesUnchangedPickersAsShown) {
  OpenDrive(0);
  // The sample's files are from 2010: between the month before and today keeps none of them.
  Mask("", [](CFileMaskDlg* dlg) {
    Click(dlg, kIdDateCheck);
    Click(dlg, kIdBetweenRadio);
    PickDate(dlg, kIdToDate, wxDateTime(31, wxDateTime::Dec, 2030));
    Choose(dlg, kIdTimeKind, 1);
  });
  EXPECT_EQ(App().mask.accessed, 1);
  EXPECT_EQ(App().mask.created, 0);
  EXPECT_EQ(frame->LeftView()->Entries().size(), 1u);  // Root alone

  // Reopened, "Files Accessed" is chosen; a range from 2009 applied without touching the combo
  // tests the access time again and keeps every file.
  Mask("", [](CFileMaskDlg* dlg) {
    EXPECT_EQ(Ctrl<wxComboBox>(dlg, kIdTimeKind)->GetSelection(), 1);
    Click(dlg, kIdDateCheck);
    Click(dlg, kIdBetweenRadio);
    PickDate(dlg, kIdFromDate, wxDateTime(1, wxDateTime::Jan, 2009));
  });
  EXPECT_EQ(App().mask.accessed, 1);
  std::size_t files = 0;
  for (const ListedEntry& e : frame->LeftView()->Entries()) files += e.IsFolder() ? 0 : 1;
  EXPECT_EQ(files, App().currentDrive->files);
}

TEST_F(CriteriaDialogs, OnlyTheChosenPeriodFiltersAndOnlyWhileDateIsChecked) {
  OpenDrive(0);
  auto files = [&] {
    std::size_t n = 0;
    for (const ListedEntry& e : frame->LeftView()->Entries()) n += e.IsFolder() ? 0 : 1;
    return n;
  };
  const std::size_t all = App().currentDrive->files;
  ASSERT_GT(all, 0u);
  // The sample's files are from 2010: "in the last 5 days" keeps none of them.
  auto lastFiveDays = [](CFileMaskDlg* dlg) {
    Click(dlg, kIdDateCheck);
    Click(dlg, kIdLastDaysRadio);
    Type(dlg, kIdDaysEdit, "5");
  };
  Mask("", lastFiveDays);
  EXPECT_EQ(files(), 0u);

  // Typed first, then another choice made: the days typed no longer filter.
  struct Case {
    const char* then;
    std::function<void(CFileMaskDlg*)> choose;
    std::size_t kept;
  };
  const Case cases[] = {
      {"Date unchecked", [](CFileMaskDlg* dlg) { Click(dlg, kIdDateCheck); }, all},
      {"the months radio, 0 months", [](CFileMaskDlg* dlg) { Click(dlg, kIdLastMonthsRadio); }, all},
      {"the months radio, 400 months",
       [](CFileMaskDlg* dlg) {
         Click(dlg, kIdLastMonthsRadio);
         Type(dlg, kIdMonthsEdit, "400");
       },
       all},
      {"between 2009 and today",
       [](CFileMaskDlg* dlg) {
         Click(dlg, kIdBetweenRadio);
         PickDate(dlg, kIdFromDate, wxDateTime(1, wxDateTime::Jan, 2009));
       },
       all},
      {"400 months typed, then the days radio again",
       [](CFileMaskDlg* dlg) {
         Click(dlg, kIdLastMonthsRadio);
         Type(dlg, kIdMonthsEdit, "400");
         Click(dlg, kIdLastDaysRadio);
       },
       0},
  };
  for (const Case& c : cases) {
    Mask("", [&](CFileMaskDlg* dlg) {
      lastFiveDays(dlg);
      c.choose(dlg);
    });
    EXPECT_EQ(files(), c.kept) << "5 days typed, then " << c.then;
  }
}

TEST_F(CriteriaDialogs, SizeBoundsAreTheMegabytesTheDialogShowsAndUptoCountsAtEveryValue) {
  OpenDrive(0);
  CLeftView& tree = *frame->LeftView();
  auto files = [&](bool emptyOnly) {
    std::set<std::string> names;
    for (const ListedEntry& e : tree.Entries()) {
      if (!e.IsFolder() && (!emptyOnly || e.size == 0)) names.insert(e.name);
    }
    return names;
  };
  const auto empty = files(true);
  const auto all = files(false);
  ASSERT_GT(all.size(), empty.size());
  // Every file of the sample is smaller than 1 MB, though many are above 1000 bytes.
  Mask("", [](CFileMaskDlg* dlg) {
    Click(dlg, kIdSizeFromCheck);
    Type(dlg, kIdSizeFromEdit, "1");
  });
  EXPECT_TRUE(files(false).empty());
  // "upto 0" keeps the empty files only; "upto 1" every file.
  Mask("", [](CFileMaskDlg* dlg) {
    Click(dlg, kIdSizeUptoCheck);
    Type(dlg, kIdSizeUptoEdit, "0");
  });
  EXPECT_EQ(files(false), empty);
  Mask("", [](CFileMaskDlg* dlg) {
    Click(dlg, kIdSizeUptoCheck);
    Type(dlg, kIdSizeUptoEdit, "1");
  });
  EXPECT_EQ(files(false), all);
}

TEST_F(CriteriaDialogs, FindSelectsTheWholeNameAndFindNextRunsToTheEnd) {
  OpenDrive(0);
  CLeftView& tree = *frame->LeftView();
  auto find = [&](const std::string& text, std::function<void(CFindDlg*)> more = {}) {
    return Act<CFindDlg>([text, more](CFindDlg* dlg) {
      EXPECT_EQ(dlg->GetTitle(), "Find");
      EXPECT_TRUE(Checked(dlg, kIdFindDeleted));
      EXPECT_TRUE(Checked(dlg, kIdFindExisting));
      EXPECT_FALSE(Checked(dlg, kIdFindMatchCase));
      EXPECT_EQ(App().findMatchCase, 0);
      Type(dlg, kIdFindText, text);
      if (more) more(dlg);
      Click(dlg, wxID_OK);
    });
  };
  App().findMatchCase = 1;  // the command clears it
  wxTEST_DIALOG(Command(kCmdFind), find("TODO.txt"));
  EXPECT_EQ(App().findNext, 1);
  const ListedEntry& match = tree.Entries()[static_cast<std::size_t>(App().findLastMatch)];
  EXPECT_EQ(match.name, "todo.txt");
  EXPECT_EQ(tree.Tree().GetItemText(tree.Tree().GetSelection()), "notes");
  EXPECT_TRUE(MenuEnabled(kIdFindNext));

  wxTEST_DIALOG(Command(kIdFindNext), ExpectMessage("No more entries are available", "Search Failure"));
  EXPECT_EQ(App().findNext, 0);
  EXPECT_FALSE(MenuEnabled(kIdFindNext));

  // With match case, and as a whole name only.
  wxTEST_DIALOG(Command(kCmdFind), find("TODO.txt", [](CFindDlg* dlg) { Click(dlg, kIdFindMatchCase); }),
                ExpectMessage("No matching entry found", "Search Failure"));
  EXPECT_EQ(App().findNext, 0);
  wxTEST_DIALOG(Command(kCmdFind), find("todo"), ExpectMessage("No matching entry found", "Search Failure"));
  // Deleted Files only: the existing entry is no candidate.
  wxTEST_DIALOG(Command(kCmdFind), find("todo.txt", [](CFindDlg* dlg) { Click(dlg, kIdFindExisting); }),
                ExpectMessage("No matching entry found", "Search Failure"));
  EXPECT_EQ(App().findExisting, 0);
  // An empty text closes without a word.
  wxTEST_DIALOG(Command(kCmdFind), find(""));
  EXPECT_EQ(App().findNext, 0);
}

// Disk 0 is the sample image, held in memory; every read that touches bytes BAD..BAD+512 fails.
std::shared_ptr<platform::MemoryDevice> InstallFaultySample(std::uint64_t bad) {
  std::ifstream in(QV_SAMPLE_DISK, std::ios::binary);
  auto disk = InstallMemoryDisk(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
  disk->Fail(bad, bad + 512);
  return disk;
}

class AdvanceSettings : public CriteriaDialogs {
 protected:
  void SetUp() override {
    CriteriaDialogs::SetUp();
    path = (dest / "Velnora.cfg").string();
  }
  // Opens the dialog on the test's file and runs ACT in it.
  void Run(std::function<void(CAdvanceSettingsDlg*)> act) {
    wxTEST_DIALOG(RunAdvanceSettingsDlg(frame, path), Act<CAdvanceSettingsDlg>(std::move(act)));
  }
  std::string FileBytes() { return ReadFile(path); }
  std::string path;
};

TEST_F(AdvanceSettings, OkAndDefaultWriteTheFileAndTheArrowsCycle) {
  // No file: 3 and a sector at a time; the arrows cycle 1..6.
  Run([](CAdvanceSettingsDlg* dlg) {
    EXPECT_EQ(dlg->GetTitle(), "Advance Settings ");
    EXPECT_EQ(Text(dlg, kIdRetries), "3");
    EXPECT_TRUE(Checked(dlg, kIdSectorAtATime));
    std::vector<std::string> shown;
    for (bool up : {false, false, false, true, true, true, true, true, true, true}) {
      Spin(dlg, kIdRetriesSpin, up);
      shown.push_back(Text(dlg, kIdRetries));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"2", "1", "6", "1", "2", "3", "4", "5", "6", "1"}));
    Type(dlg, kIdRetries, "5");
    Click(dlg, wxID_OK);
  });
  std::string bytes = FileBytes();
  ASSERT_EQ(bytes.size(), 260u);
  EXPECT_EQ(bytes[0], 5);
  EXPECT_EQ(bytes[1], 1);
  EXPECT_EQ(bytes.find_first_not_of('\0', 2), std::string::npos);
  EXPECT_EQ(App().readRetryCount, 5);
  EXPECT_EQ(App().readMode, 1);

  // 10 is stored as 3; block at a time.
  Run([](CAdvanceSettingsDlg* dlg) {
    EXPECT_EQ(Text(dlg, kIdRetries), "5");
    Click(dlg, kIdBlockAtATime);
    Type(dlg, kIdRetries, "10");
    Click(dlg, wxID_OK);
  });
  bytes = FileBytes();
  EXPECT_EQ(bytes[0], 3);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(App().readRetryCount, 3);
  EXPECT_EQ(App().readMode, 0);

  // A file whose first byte is 9 shows 3; a typed value does not move the arrows' own counter.
  guitest::WriteFile(path, std::string("\x09\x00", 2));
  Run([](CAdvanceSettingsDlg* dlg) {
    EXPECT_EQ(Text(dlg, kIdRetries), "3");
    EXPECT_TRUE(Checked(dlg, kIdBlockAtATime));
    Type(dlg, kIdRetries, "6");
    Spin(dlg, kIdRetriesSpin, true);
    EXPECT_EQ(Text(dlg, kIdRetries), "4");
    Click(dlg, wxID_CANCEL);
  });
  EXPECT_EQ(FileBytes(), std::string("\x09\x00", 2));  // Cancel writes nothing

  // Default writes 3 and 1 at once and stays open; the up arrow then shows 4; Cancel keeps the write.
  App().readRetryCount = 6;
  App().readMode = 0;
  Run([](CAdvanceSettingsDlg* dlg) {
    Click(dlg, kIdDefault);
    EXPECT_EQ(dlg->GetReturnCode(), 0);
    EXPECT_EQ(Text(dlg, kIdRetries), "3");
    EXPECT_TRUE(Checked(dlg, kIdSectorAtATime));
    Spin(dlg, kIdRetriesSpin, true);
    EXPECT_EQ(Text(dlg, kIdRetries), "4");
    Click(dlg, wxID_CANCEL);
  });
  bytes = FileBytes();
  ASSERT_EQ(bytes.size(), 260u);
  EXPECT_EQ(bytes[0], 3);
  EXPECT_EQ(bytes[1], 1);
  EXPECT_EQ(App().readRetryCount, 3);
  EXPECT_EQ(App().readMode, 1);

  // A file that cannot be created: nothing changes.
  path = (dest / "no-such-folder" / "Velnora.cfg").string();
  Run([](CAdvanceSettingsDlg* dlg) {
    Type(dlg, kIdRetries, "5");
    Click(dlg, kIdDefault);
    Click(dlg, wxID_OK);
  });
  EXPECT_EQ(App().readRetryCount, 3);
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(AdvanceSettings, RetryCountAndReadModeReachSectorReadsAndRecovery) {
  OpenDrive(0);
  CLinuxDrive& drive = *App().currentDrive;
  const ListedEntry* todo = nullptr;
  for (const ListedEntry& e : frame->LeftView()->Entries()) {
    if (e.name == "todo.txt") todo = &e;
  }
  ASSERT_NE(todo, nullptr);
  const std::vector<std::uint32_t> blocks = drive.GetclusterList(todo->inode);
  ASSERT_FALSE(blocks.empty());
  const std::uint64_t sector = drive.firstSector + std::uint64_t{blocks[0]} * drive.sectorsPerBlock;
  auto disk = InstallFaultySample(sector * 512);
  drive.filters = {FilterNode{"todo.txt", 1}};

  struct Case {
    const char* retries;
    int mode;
    const char* status;
    // Failed reads: each attempt at the whole block; or, a sector at a time, one attempt at the
    // file's run of blocks and then each attempt at its first sector alone.
    int failedReads;
  } cases[] = {{"4", kIdBlockAtATime, "Error reading block %llu", 4},
               {"2", kIdSectorAtATime, "Error reading sector %llu", 1 + 2}};
  for (const Case& c : cases) {
    Run([&](CAdvanceSettingsDlg* dlg) {
      Type(dlg, kIdRetries, c.retries);
      Click(dlg, c.mode);
      Click(dlg, wxID_OK);
    });
    disk->ClearReads();
    const auto recovered = RecoverExisting(std::string("mode") + c.retries);
    EXPECT_EQ(disk->ReadsOf(sector * 512, sector * 512 + 512), static_cast<std::size_t>(c.failedReads)) << c.status;
    char status[64];
    std::snprintf(status, sizeof status, c.status, static_cast<unsigned long long>(sector));
    int logged = 0;
    for (const auto& row : frame->Log()->Rows()) logged += row.status == status;
    EXPECT_EQ(logged, 1) << status;
    ASSERT_EQ(recovered.size(), 1u);
    EXPECT_EQ(recovered.begin()->second, std::string(todo->size, '\0'));  // the unreadable bytes as zeros
  }
}

}  // namespace
