// CD's dialogs through their real windows (under Xvfb): each modal run is answered by the test
// hook, which works the controls as a user would and closes the dialog the way its handlers do.
#include <gtest/gtest.h>
#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/textctrl.h>

#include <functional>

#include "cd_dialogs.h"
#include "controls/wx/message_box.h"
#include "controls/wx/notice_dialogs.h"
#include "dialog_controls.h"
#include "dialog_expectations.h"
#include "test_tree.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::app;
using namespace cd::testing;
using namespace cd::headless;
using namespace guitest;

namespace {

// A click on an enabled button.
void Click(wxWindow* dlg, int id) {
  auto* b = Ctrl<wxButton>(dlg, id);
  ASSERT_TRUE(b->IsEnabled()) << id;
  wxCommandEvent e(wxEVT_BUTTON, id);
  Send(b, e);
}

void Type(wxWindow* dlg, int id, const wxString& text) {
  auto* t = Ctrl<wxTextCtrl>(dlg, id);
  t->ChangeValue(text);
  wxCommandEvent e(wxEVT_TEXT, id);
  e.SetString(text);
  Send(t, e);
}

void Pick(wxWindow* dlg, int id, CdDate d) {
  PickDate(dlg, id,
           wxDateTime(static_cast<wxDateTime::wxDateTime_t>(d.day), static_cast<wxDateTime::Month>(d.month - 1), d.year));
}

std::vector<std::string> ListBoxRows(CFileFilterDlg* dlg) {
  std::vector<std::string> rows;
  for (unsigned i = 0; i < dlg->List()->GetCount(); ++i) rows.push_back(dlg->List()->GetString(i).utf8_string());
  return rows;
}

using Strings = std::vector<std::string>;

TEST(CdFileFilterDlg, StoredPatternsOnTopAndIncludeStoresTheNewOnes) {
  CdHeadlessHost host;
  host.reader.filterPatterns = {"a", "b", "c"};
  host.filterMode = 0;
  wxTEST_DIALOG(RunFileFilterDlg(nullptr, host.reader), Act<CFileFilterDlg>([](CFileFilterDlg* dlg) {
                  EXPECT_EQ(dlg->GetTitle(), "Add FileFilter");
                  EXPECT_EQ(ListBoxRows(dlg), (Strings{"c", "b", "a"}));
                  EXPECT_FALSE(Enabled(dlg, 1008));  // Add To List waits for text
                  EXPECT_TRUE(Enabled(dlg, 1005));
                  Type(dlg, 1007, "x");
                  EXPECT_TRUE(Enabled(dlg, 1008));
                  Click(dlg, 1008);
                  EXPECT_TRUE(dlg->Edit()->IsEmpty());
                  EXPECT_FALSE(Enabled(dlg, 1008));
                  Type(dlg, 1007, "y");
                  Click(dlg, 1008);
                  Type(dlg, 1007, "c");  // the list takes duplicates; storing skips them
                  Click(dlg, 1008);
                  EXPECT_EQ(ListBoxRows(dlg), (Strings{"x", "y", "c", "c", "b", "a"}));
                  Click(dlg, 1005);
                }));
  EXPECT_EQ(host.reader.filterPatterns, (Strings{"a", "b", "c", "x", "y"}));
  EXPECT_EQ(host.filterMode, 1);
  EXPECT_EQ(host.app.filterPresent, 1);

  wxTEST_DIALOG(RunFileFilterDlg(nullptr, host.reader), Act<CFileFilterDlg>([](CFileFilterDlg* dlg) {
                  Type(dlg, 1007, "*.tmp");
                  Click(dlg, 1008);
                  Click(dlg, 1006);
                }));
  EXPECT_EQ(host.reader.filterPatterns.back(), "*.tmp");
  EXPECT_EQ(host.filterMode, 0);
}

TEST(CdFileFilterDlg, CancelStoresNothing) {
  CdHeadlessHost host;
  host.filterMode = 1;
  wxTEST_DIALOG(RunFileFilterDlg(nullptr, host.reader), Act<CFileFilterDlg>([](CFileFilterDlg* dlg) {
                  EXPECT_FALSE(Enabled(dlg, 1005));
                  EXPECT_FALSE(Enabled(dlg, 1006));
                  Type(dlg, 1007, "*.txt");
                  Click(dlg, 1008);
                  EXPECT_TRUE(Enabled(dlg, 1005));
                  Click(dlg, wxID_CANCEL);
                }));
  EXPECT_TRUE(host.reader.filterPatterns.empty());
  EXPECT_EQ(host.filterMode, 1);
  EXPECT_EQ(host.app.filterPresent, 0);
  EXPECT_EQ(host.app.filterPatternsAdded, 0);
}

// Root(0): docs(10) [a.txt 101 2,000,000 bytes, b.doc 102], r.txt 1, old.txt 2 of 2001.
struct MaskDialog : ::testing::Test {
  CdHeadlessHost host;
  CdFileMask mask;
  void SetUp() override {
    cdtest::StartTree(host);
    cdtest::AddEntry(host, 2, "docs", 0, 10);
    cdtest::AddEntry(host, 1, "r.txt", 0, 1, 100, TodayUtc());
    cdtest::AddEntry(host, 1, "old.txt", 0, 2, 100, {2001, 1, 1});
    cdtest::AddEntry(host, 1, "a.txt", 10, 101, 2000000, TodayUtc());
    cdtest::AddEntry(host, 1, "b.doc", 10, 102, 100, TodayUtc());
    host.treeView.ExpandRoot(1);
    host.app.contentsShown = 1;
    host.app.mask.sizeUptoMb = 7;  // the dialog starts from the defaults
    host.reader.fileMaskPatterns = {"stale"};
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> names;
    for (const auto& r : host.rows) names.push_back(r.name);
    return names;
  }
};

TEST_F(MaskDialog, OpensWithItsDefaults) {
  const CdDate today = TodayUtc();
  wxTEST_DIALOG(RunFileMaskDlg(nullptr, host.reader, host.treeView, mask),
                Act<CFileMaskDlg>([&](CFileMaskDlg* dlg) {
                  EXPECT_EQ(dlg->GetTitle(), "File Mask");
                  const CdFileMaskSettings& m = host.app.mask;
                  EXPECT_EQ(m.sizeUptoMb, 2);
                  EXPECT_EQ(m.sizeUptoActive + m.sizeFromActive + m.dateRangeActive + m.maskPresent, 0);
                  EXPECT_EQ(m.monthsActive + m.daysActive, 0);  // nothing is in force until checked
                  EXPECT_EQ(m.deletedEntries, 1);
                  EXPECT_EQ(m.existingEntries, 1);
                  EXPECT_TRUE(host.reader.fileMaskPatterns.empty());
                  EXPECT_TRUE(Ctrl<wxCheckBox>(dlg, 1022)->GetValue());
                  EXPECT_EQ(Ctrl<wxTextCtrl>(dlg, 1028)->GetValue(), "2");
                  for (int id : {1026, 1028, 1032, 1034, 1031, 1033, 1035, 1044, 1045, 1046}) {
                    EXPECT_FALSE(Enabled(dlg, id)) << id;
                  }
                  const wxDateTime andDate = Ctrl<wxDatePickerCtrl>(dlg, 1044)->GetValue();
                  const wxDateTime betweenDate = Ctrl<wxDatePickerCtrl>(dlg, 1045)->GetValue();
                  EXPECT_EQ((CdDate{andDate.GetYear(), andDate.GetMonth() + 1, andDate.GetDay()}), today);
                  EXPECT_EQ((CdDate{betweenDate.GetYear(), betweenDate.GetMonth() + 1, betweenDate.GetDay()}),
                            OneMonthBefore(today));
                  Click(dlg, wxID_CANCEL);
                }));
  // Cancel filters nothing.
  EXPECT_EQ(host.treeView.NodeCount(), 6u);
  EXPECT_EQ(host.app.fileMaskApplied, 0);
}

TEST_F(MaskDialog, HandlersEnableAndRecordAsTheUserGoes) {
  wxTEST_DIALOG(RunFileMaskDlg(nullptr, host.reader, host.treeView, mask), Act<CFileMaskDlg>([&](CFileMaskDlg* dlg) {
                  const CdFileMaskSettings& m = host.app.mask;
                  Type(dlg, 1011, "*.txt;*.doc");
                  Check(dlg, 1025, true);
                  EXPECT_TRUE(Enabled(dlg, 1026));
                  Type(dlg, 1026, "3");
                  EXPECT_EQ(m.sizeFromActive, 1);
                  Check(dlg, 1027, true);
                  Type(dlg, 1028, "2");
                  EXPECT_EQ(m.sizeUptoActive, 1);  // in force while checked, 2 included
                  Type(dlg, 1028, "9");
                  EXPECT_EQ(m.sizeUptoMb, 9);
                  Check(dlg, 1025, false);  // unchecking keeps what was entered, out of force
                  EXPECT_FALSE(Enabled(dlg, 1026));
                  EXPECT_EQ(m.sizeFromMb, 3);
                  EXPECT_EQ(m.sizeFromActive, 0);
                  EXPECT_EQ(m.maskPresent, 1);
                  EXPECT_EQ(dlg->MaskText(), "*.txt;*.doc");  // the mask stays what edit 1011 holds
                  Check(dlg, 1004, true);
                  EXPECT_EQ(m.matchCase, 1);

                  Check(dlg, 1029, true);
                  EXPECT_TRUE(Ctrl<wxRadioButton>(dlg, 1031)->GetValue());
                  for (int id : {1031, 1032, 1033, 1035, 1046}) EXPECT_TRUE(Enabled(dlg, id)) << id;
                  EXPECT_FALSE(Enabled(dlg, 1034));
                  EXPECT_EQ(m.monthsActive, 1);
                  ChooseRadio(dlg, 1033);
                  EXPECT_TRUE(Enabled(dlg, 1034));
                  EXPECT_FALSE(Enabled(dlg, 1032));
                  EXPECT_EQ(m.monthsActive, 0);
                  EXPECT_EQ(m.daysActive, 1);
                  ChooseRadio(dlg, 1035);
                  EXPECT_TRUE(Enabled(dlg, 1044));
                  EXPECT_TRUE(Enabled(dlg, 1045));
                  EXPECT_FALSE(Enabled(dlg, 1034));
                  EXPECT_EQ(m.daysActive, 0);
                  EXPECT_EQ(m.dateRangeActive, 1);  // the range shown is in force
                  Pick(dlg, 1045, {2020, 2, 3});
                  EXPECT_EQ((CdDate{m.toYear, m.toMonth, m.toDay}), (CdDate{2020, 2, 3}));
                  Check(dlg, 1029, false);
                  for (int id : {1031, 1032, 1033, 1034, 1035, 1044, 1045, 1046}) EXPECT_FALSE(Enabled(dlg, id)) << id;
                  EXPECT_EQ(m.dateRangeActive, 0);
                  Click(dlg, wxID_CANCEL);
                }));
  // Cancel keeps what the handlers wrote.
  EXPECT_EQ(host.app.mask.sizeUptoMb, 9);
  EXPECT_EQ(host.app.fileMaskApplied, 0);
}

TEST_F(MaskDialog, DaysAndMonthsOutOfRangeKeepTheDialogOpen) {
  struct Case {
    int id;
    const char* value;
    const char* message;  // null: accepted
  };
  const Case cases[] = {
      {1034, "31", "Enter values between 1-30"}, {1034, "-1", "Enter values between 1-30"},
      {1034, "30", nullptr},                      {1034, "0", nullptr},
      {1032, "12", "Enter values between 1-11"}, {1032, "-1", "Enter values between 1-11"},
      {1032, "11", nullptr},                      {1032, "0", nullptr},
  };
  for (const Case& c : cases) {
    const auto act = [&](CFileMaskDlg* dlg) {
      Check(dlg, 1029, true);
      ChooseRadio(dlg, c.id == 1034 ? 1033 : 1031);
      Type(dlg, c.id, c.value);
      Click(dlg, wxID_OK);
      EXPECT_EQ(dlg->GetReturnCode(), c.message ? 0 : wxID_OK) << c.value;
      if (c.message) Click(dlg, wxID_CANCEL);
    };
    if (c.message) {
      wxTEST_DIALOG(RunFileMaskDlg(nullptr, host.reader, host.treeView, mask), Act<CFileMaskDlg>(act),
                    ExpectMessage(c.message, "CD"));
    } else {
      wxTEST_DIALOG(RunFileMaskDlg(nullptr, host.reader, host.treeView, mask), Act<CFileMaskDlg>(act),
                    wxExpectDismissableModal<controls::CWaitDlg>(wxID_CANCEL).Describe("the wait notice"));
    }
  }
}

// Only criteria whose box is checked (for dates: Date checked and the radio chosen) filter, sizes
// in the megabytes shown, "upto" whatever its value.
TEST_F(MaskDialog, OnlyCheckedCriteriaFilter) {
  struct Case {
    const char* what;
    std::function<void(CFileMaskDlg*)> set;
    std::vector<std::string> files;
  };
  const std::vector<Case> cases = {
      {"size typed, then unchecked",
       [](CFileMaskDlg* dlg) {
         Check(dlg, 1025, true);
         Type(dlg, 1026, "5");
         Check(dlg, 1025, false);
       },
       {"a.txt", "b.doc", "old.txt", "r.txt"}},
      {"days typed, then months (0: no limit) chosen",
       [](CFileMaskDlg* dlg) {
         Check(dlg, 1029, true);
         ChooseRadio(dlg, 1033);
         Type(dlg, 1034, "3");
         ChooseRadio(dlg, 1031);
       },
       {"a.txt", "b.doc", "old.txt", "r.txt"}},
      {"days typed, then Date unchecked",
       [](CFileMaskDlg* dlg) {
         Check(dlg, 1029, true);
         ChooseRadio(dlg, 1033);
         Type(dlg, 1034, "3");
         Check(dlg, 1029, false);
       },
       {"a.txt", "b.doc", "old.txt", "r.txt"}},
      {"days in force", [](CFileMaskDlg* dlg) {
         Check(dlg, 1029, true);
         ChooseRadio(dlg, 1033);
         Type(dlg, 1034, "3");
       },
       {"a.txt", "b.doc", "r.txt"}},
      {"upto 1 MB", [](CFileMaskDlg* dlg) {
         Check(dlg, 1027, true);
         Type(dlg, 1028, "1");
       },
       {"b.doc", "old.txt", "r.txt"}},
      {"upto 2 MB", [](CFileMaskDlg* dlg) { Check(dlg, 1027, true); }, {"a.txt", "b.doc", "old.txt", "r.txt"}},
      {"from 1 MB", [](CFileMaskDlg* dlg) {
         Check(dlg, 1025, true);
         Type(dlg, 1026, "1");
       },
       {"a.txt"}},
  };
  for (const auto& c : cases) {
    wxTEST_DIALOG(RunFileMaskDlg(nullptr, host.reader, host.treeView, mask), Act<CFileMaskDlg>([&](CFileMaskDlg* dlg) {
                    c.set(dlg);
                    Click(dlg, wxID_OK);
                  }),
                  wxExpectDismissableModal<controls::CWaitDlg>(wxID_CANCEL).Describe("the wait notice"));
    std::vector<std::string> files;
    for (const auto& n : host.treeView.Nodes()) {
      if (n.type == 1) files.push_back(n.name);
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, c.files) << c.what;
  }
}

TEST_F(MaskDialog, OkNarrowsTheTreeAfterTheWaitNotice) {
  wxTEST_DIALOG(RunFileMaskDlg(nullptr, host.reader, host.treeView, mask), Act<CFileMaskDlg>([](CFileMaskDlg* dlg) {
                  Type(dlg, 1011, "*.txt;");
                  Check(dlg, 1025, true);
                  Type(dlg, 1026, "2");
                  Click(dlg, wxID_OK);
                }),
                wxExpectDismissableModal<controls::CWaitDlg>(wxID_CANCEL).Describe("the wait notice"));
  EXPECT_EQ(host.app.fileMaskApplied, 1);
  EXPECT_TRUE(host.reader.fileMaskPatterns.empty());
  EXPECT_EQ(Rows(), (std::vector<std::string>{"docs"}));
  EXPECT_NE(host.treeView.FindNode("a.txt", 101), nullptr);
  EXPECT_EQ(host.treeView.NodeCount(), 3u);

  // The next mask filters the whole scan again: the last month keeps all but old.txt.
  wxTEST_DIALOG(RunFileMaskDlg(nullptr, host.reader, host.treeView, mask), Act<CFileMaskDlg>([](CFileMaskDlg* dlg) {
                  Check(dlg, 1029, true);
                  Type(dlg, 1032, "1");
                  Click(dlg, wxID_OK);
                }),
                wxExpectDismissableModal<controls::CWaitDlg>(wxID_CANCEL));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"r.txt", "docs"}));
  EXPECT_EQ(host.treeView.NodeCount(), 5u);
}

// Root(0): A(10) [Notes.txt 101, gone.txt 102 deleted], notes.txt 1.
struct FindDialog : ::testing::Test {
  CdHeadlessHost host;
  void SetUp() override {
    cdtest::StartTree(host);
    cdtest::AddEntry(host, 2, "A", 0, 10);
    cdtest::AddEntry(host, 1, "Notes.txt", 10, 101);
    cdtest::AddEntry(host, 1, "gone.txt", 10, 102, 0, {2024, 5, 1}, 1);
    cdtest::AddEntry(host, 1, "notes.txt", 0, 1);
    host.treeView.ExpandRoot(1);
    host.app.findMatchCase = 1;  // the command clears it
  }
  std::string Caret() { return host.treeView.Tree().GetItemText(host.treeView.Tree().GetSelection()); }
  std::string HotRow() { return host.hotRow < 0 ? "" : host.rows[host.hotRow].name; }
  // Types TEXT, sets the two options and presses OK.
  static Act<CFindDlg> Answer(std::string text, bool matchCase, bool existing) {
    return Act<CFindDlg>([=](CFindDlg* dlg) {
      EXPECT_EQ(dlg->GetTitle(), "Find");
      EXPECT_FALSE(Ctrl<wxCheckBox>(dlg, 1004)->GetValue());
      EXPECT_TRUE(Ctrl<wxCheckBox>(dlg, 1006)->GetValue());
      EXPECT_EQ(Ctrl<wxStaticText>(dlg, 1002)->GetLabel(), "File");
      Type(dlg, 1003, wxString::FromUTF8(text));
      if (matchCase) Check(dlg, 1004, true);
      if (!existing) Check(dlg, 1006, false);
      Click(dlg, wxID_OK);
    });
  }
  void Find(const std::string& text, bool matchCase, bool existing) {
    wxTEST_DIALOG(RunFindDlg(nullptr, host.reader, host.treeView), Answer(text, matchCase, existing));
  }
};

TEST_F(FindDialog, SelectsTheFirstMatchAndFindNextGoesOn) {
  Find("NOTES.TXT", false, true);
  EXPECT_EQ(Caret(), "A");
  EXPECT_EQ(HotRow(), "Notes.txt");
  EXPECT_EQ(host.app.findNext, 1);
  host.treeView.FindNextItem();
  EXPECT_EQ(Caret(), "Root");
  EXPECT_EQ(HotRow(), "notes.txt");

  Find("notes.txt", true, true);
  EXPECT_EQ(HotRow(), "notes.txt");
  EXPECT_EQ(host.app.findMatchCase, 1);

  Find("gone.txt", false, false);  // deleted entries are always candidates
  EXPECT_EQ(Caret(), "A");
  EXPECT_EQ(HotRow(), "gone.txt");
  EXPECT_EQ(host.app.findExisting, 0);
}

TEST_F(FindDialog, NoMatchSaysSoAndDisablesFindNext) {
  host.app.findNext = 1;
  wxTEST_DIALOG(RunFindDlg(nullptr, host.reader, host.treeView), Answer("Notes.txt", true, false),
                ExpectMessage("No Matching Entry Found", "Search Failure"));
  EXPECT_EQ(host.app.findNext, 0);
}

TEST_F(FindDialog, OkWaitsForText) {
  wxTEST_DIALOG(RunFindDlg(nullptr, host.reader, host.treeView), Act<CFindDlg>([](CFindDlg* dlg) {
                  Type(dlg, 1003, "x");
                  EXPECT_TRUE(Enabled(dlg, wxID_OK));
                  Type(dlg, 1003, "");
                  EXPECT_FALSE(Enabled(dlg, wxID_OK));
                  Click(dlg, wxID_CANCEL);
                }));
  EXPECT_EQ(host.app.findText, "");
}

TEST(CdOverwriteDlg, AnswersAndBusyFlag) {
  CdHeadlessHost host;
  for (int button : {wxID_OK, wxID_CANCEL}) {
    host.busy = 1;
    host.app.overwriteAnswer = -1;
    wxTEST_DIALOG(RunOverwriteDlg(nullptr, host.app, host), Act<COverwriteDlg>([button](COverwriteDlg* dlg) {
                    EXPECT_EQ(dlg->GetTitle(), "Imp Note");
                    EXPECT_EQ(Ctrl<wxStaticText>(dlg, 1019)->GetLabel(),
                              "Image File by the same name already exists\nDo You want to Overwrite it?");
                    EXPECT_EQ(Ctrl<wxButton>(dlg, wxID_OK)->GetLabel(), "Overwrite");
                    EXPECT_EQ(dlg->GetDefaultItem(), dlg->FindWindow(wxID_CANCEL));
                    Click(dlg, button);
                  }));
    EXPECT_EQ(host.app.overwriteAnswer, button == wxID_OK ? 1 : 0);
    EXPECT_EQ(host.busy, button == wxID_OK ? 1 : 0);
  }
}

TEST(CdSelectDriveDlg, ListsTheDrivesAndStoresThePick) {
  CdAppState app;
  app.selectedDrive = 0;
  const Strings drives{"/dev/sr0", "/dev/sr1", "/tmp/disc.iso"};
  wxTEST_DIALOG(RunSelectDriveDlg(nullptr, app, drives), Act<CSelectDriveDlg>([&](CSelectDriveDlg* dlg) {
                  EXPECT_EQ(dlg->GetTitle(), "Select Drive");
                  wxBitmapComboBox* combo = dlg->Combo();
                  ASSERT_EQ(combo->GetCount(), 3u);
                  for (unsigned i = 0; i < 3; ++i) EXPECT_EQ(combo->GetString(i), drives[i]);
                  EXPECT_EQ(combo->GetSelection(), 0);
                  EXPECT_FALSE(Enabled(dlg, wxID_OK));
                  combo->SetSelection(2);
                  wxCommandEvent e(wxEVT_COMBOBOX, 1000);
                  e.SetInt(2);
                  Send(combo, e);
                  EXPECT_TRUE(Enabled(dlg, wxID_OK));
                  EXPECT_EQ(app.selectedDrive, 2);
                  Click(dlg, wxID_OK);
                }));
  EXPECT_EQ(app.selectedDrive, 2);
}

}  // namespace
