// The small dialogs of the workbench.
#include "dialogs.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "app_images.h"
#include "controls/wx/display_string.h"
#include "ext2engine/app_state.h"
#include "ext2engine/caution_texts.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/disk_identity.h"
#include "ext2engine/drive_selection.h"
#include "ext2engine/recovery.h"
#include "ext2engine/scan_file.h"

namespace ext2::app {

namespace {
wxString U(const std::string& s) { return controls::DisplayString(s); }
}  // namespace

CListChoiceDlg::CListChoiceDlg(wxWindow* parent, const wxString& caption, const std::vector<ListColumn>& columns)
    : controls::CTitledDialog(parent, wxID_ANY, caption), images_(16, 16, true, 2) {
  list_ = new wxListCtrl(this, 1000, wxDefaultPosition, wxSize(420, 200),
                         wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES);
  for (const auto& c : columns) list_->AppendColumn(c.text, c.align, c.width);
  images_.Add(DiskIcon());
  list_->SetImageList(&images_, wxIMAGE_LIST_SMALL);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(list_, 1, wxEXPAND | wxALL, 8);
  sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
  SetSizerAndFit(sizer);
  list_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& e) { selected_ = static_cast<int>(e.GetIndex()); });
  list_->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) {
    selected_ = static_cast<int>(list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
  });
  list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& e) {
    selected_ = static_cast<int>(e.GetIndex());
    EndModal(wxID_OK);
  });
  Bind(wxEVT_BUTTON, &CListChoiceDlg::OnOk, this, wxID_OK);
}

void CListChoiceDlg::OnOk(wxCommandEvent&) {
  if (selected_ < 0) return;  // no row: the dialog stays open
  EndModal(wxID_OK);
}

void CListChoiceDlg::AddRow(const std::vector<wxString>& cells) {
  const long row = list_->InsertItem(list_->GetItemCount(), cells.empty() ? wxString() : cells[0], 0);
  for (std::size_t c = 1; c < cells.size(); ++c) list_->SetItem(row, static_cast<int>(c), cells[c]);
}

void CListChoiceDlg::FitColumns() {
  // The columns' widths are those asked for, or wider where this font needs more for a text.
  constexpr int kMargin = 16;
  for (int c = 0; c < list_->GetColumnCount(); ++c) {
    wxListItem heading;
    heading.SetMask(wxLIST_MASK_TEXT);
    list_->GetColumn(c, heading);
    int width = list_->GetTextExtent(heading.GetText()).x + kMargin;
    for (long row = 0; row < list_->GetItemCount(); ++row) {
      width = std::max(width, list_->GetTextExtent(list_->GetItemText(row, c)).x + kMargin + (c == 0 ? 20 : 0));
    }
    if (width > list_->GetColumnWidth(c)) list_->SetColumnWidth(c, width);
  }
  int total = 0;
  for (int c = 0; c < list_->GetColumnCount(); ++c) total += list_->GetColumnWidth(c);
  list_->SetMinSize(wxSize(std::max(420, total + 8), 200));
  Fit();
}

void CListChoiceDlg::SelectRow(int row) {
  list_->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                      wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  selected_ = row;
}

CSelectPhysicalDiskDlg::CSelectPhysicalDiskDlg(wxWindow* parent)
    : CListChoiceDlg(parent, "Select Physical Disk",
                     {{"Disk No.", 90, wxLIST_FORMAT_LEFT},
                      {"Model No. ", 120, wxLIST_FORMAT_LEFT},
                      {"Serial No.", 60, wxLIST_FORMAT_LEFT}}) {
  ListPhysicalDisks(disks_);
  for (const DiskPlace& disk : disks_) {
    std::string model, serial;
    PhysicalDiskRowTexts(disk.index, disk.openError, model, serial);
    AddRow({wxString::Format("HardDisk %d", disk.index + 1), U(model), U(serial)});
  }
  FitColumns();
  if (!disks_.empty()) SelectRow(0);
}

CSelectLogicalDriveDlg::CSelectLogicalDriveDlg(wxWindow* parent, const std::vector<LogicalDriveNode>& drives)
    : CListChoiceDlg(parent, "Select Logical Drive",
                     // Right alignment is asked of every column; the first shows left-aligned regardless.
                     {{"Name", 100, wxLIST_FORMAT_LEFT},
                      {"File System", 65, wxLIST_FORMAT_RIGHT},
                      {"Start Sector", 90, wxLIST_FORMAT_RIGHT},
                      {"Size", 75, wxLIST_FORMAT_RIGHT}}) {
  for (std::size_t i = 0; i < drives.size(); ++i) {
    const auto& d = drives[i];
    AddRow({wxString::Format("Logical Drive %d", static_cast<int>(i + 1)), FileSystemText(d.partitionType),
            wxString::Format("%u", d.firstSector),
            U(FormatDriveSize(static_cast<std::uint64_t>(d.endSector - d.firstSector) * 512))});
  }
  FitColumns();
  // The first row is chosen, so that Enter opens it.
  if (!drives.empty()) SelectRow(0);
}

CChoiceOfTwoDlg::CChoiceOfTwoDlg(wxWindow* parent, const wxString& caption, const wxString& box,
                                 const wxString& first, const wxString& second)
    : controls::CTitledDialog(parent, wxID_ANY, caption) {
  auto* group = new wxStaticBoxSizer(wxVERTICAL, this, box);
  auto* one = new wxRadioButton(group->GetStaticBox(), 1001, first, wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  auto* two = new wxRadioButton(group->GetStaticBox(), 1002, second);
  one->SetValue(true);
  group->Add(one, 0, wxALL, 4);
  group->Add(two, 0, wxALL, 4);
  one->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { answer_ = 1; });
  two->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { answer_ = 0; });
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(group, 0, wxEXPAND | wxALL, 8);
  sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
  SetSizerAndFit(sizer);
}

int RunSelectActionDlg(wxWindow* parent) {
  CChoiceOfTwoDlg dlg(parent, "Select Appropriate Action", "Make Selection", "Use Partition Table Information",
                      "Search for Logical Drives");
  return dlg.ShowModal() == wxID_OK ? dlg.Answer() : -1;
}

int RunSelectSearchTypeDlg(wxWindow* parent) {
  CChoiceOfTwoDlg dlg(parent, "Select Search Type", "Make Appropriate Selection", "Standard Search  (recommended)",
                      "Advanced Search (for disk having intensive damage)");
  return dlg.ShowModal() == wxID_OK ? dlg.Answer() : -1;
}

namespace {

// An icon beside two lines of text over a row of buttons, each button a (id, text) pair; the
// first is the default.
class CTwoLineDlg : public controls::CTitledDialog {
 public:
  CTwoLineDlg(wxWindow* parent, const wxString& caption, const wxBitmap& icon, int id1, const wxString& line1, int id2,
              const wxString& line2, const std::vector<std::pair<int, wxString>>& buttons)
      : controls::CTitledDialog(parent, wxID_ANY, caption) {
    auto* lines = new wxBoxSizer(wxVERTICAL);
    lines->Add(new wxStaticText(this, id1, line1), 0, wxBOTTOM, 6);
    lines->Add(new wxStaticText(this, id2, line2));
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(new wxStaticBitmap(this, wxID_ANY, icon), 0, wxRIGHT, 12);
    top->Add(lines, 1);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    for (const auto& [id, text] : buttons) row->Add(new wxButton(this, id, text), 0, wxALL, 4);
    SetAffirmativeId(buttons.front().first);
    if (auto* first = wxDynamicCast(FindWindow(buttons.front().first), wxButton)) first->SetDefault();
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(top, 0, wxEXPAND | wxALL, 12);
    sizer->Add(row, 0, wxALIGN_CENTER | wxBOTTOM, 8);
    SetSizerAndFit(sizer);
  }
};

}  // namespace

void RunCautionDlg(wxWindow* parent, CautionKind kind) {
  const CautionText c = CautionTextOf(kind);
  CTwoLineDlg dlg(parent, U(c.caption), DialogIcon(4), kCautionLine1Id, U(c.line1), kCautionLine2Id, U(c.line2),
                  {{wxID_OK, "OK"}});
  dlg.ShowModal();
}

ConfirmAnswer RunConfirmDlgAnswer(wxWindow* parent, ConfirmKind kind) {
  static const char* const lines[][2] = {
      {"Save Drive Scan Information ?",
       "(Click YES if you wish to resume recovery of this logical drive at a later stage)"},
      {"Stop current process ?", "(This process cannot be resumed from current state and has to be restarted)"}};
  const auto type = static_cast<std::size_t>(kind);
  const char* const* text = type < 2 ? lines[type] : nullptr;
  CTwoLineDlg dlg(parent, "Quarvel Velnora Linux", DialogIcon(6), kConfirmLine1Id, text ? text[0] : "", kConfirmLine2Id,
                  text ? text[1] : "", {{wxID_OK, "Yes"}, {wxID_NO, "No"}});
  dlg.Bind(wxEVT_BUTTON, [&dlg](wxCommandEvent&) { dlg.EndModal(wxID_NO); }, wxID_NO);
  // Esc and the close box give no answer.
  dlg.SetEscapeId(wxID_NONE);
  dlg.Bind(wxEVT_CHAR_HOOK, [&dlg](wxKeyEvent& e) {
    if (e.GetKeyCode() == WXK_ESCAPE) {
      dlg.EndModal(wxID_CANCEL);
    } else {
      e.Skip();
    }
  });
  dlg.Bind(wxEVT_CLOSE_WINDOW, [&dlg](wxCloseEvent&) { dlg.EndModal(wxID_CANCEL); });
  const int answer = dlg.ShowModal();
  return answer == wxID_OK ? ConfirmAnswer::Yes : answer == wxID_NO ? ConfirmAnswer::No : ConfirmAnswer::Closed;
}

bool RunConfirmDlg(wxWindow* parent, ConfirmKind kind) { return RunConfirmDlgAnswer(parent, kind) == ConfirmAnswer::Yes; }

namespace {

// A name, a proposal in an edit and a row of decision buttons; every button ends the dialog with
// its id, the first is the default.
class CExistsDlg : public controls::CTitledDialog {
 public:
  struct Ids {
    int nameLabel, name, newLabel, edit;
  };
  CExistsDlg(wxWindow* parent, const wxString& caption, Ids ids, const wxString& nameLabel, const std::string& name,
             const wxString& newLabel, const std::string& proposal, const std::vector<std::pair<int, wxString>>& buttons)
      : controls::CTitledDialog(parent, wxID_ANY, caption), proposal_(proposal), shownProposal_(U(proposal)) {
    auto* grid = new wxFlexGridSizer(2, 8, 8);
    grid->AddGrowableCol(1);
    grid->Add(new wxStaticText(this, ids.nameLabel, nameLabel), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(new wxStaticText(this, ids.name, U(name), wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN), 1, wxEXPAND);
    grid->Add(new wxStaticText(this, ids.newLabel, newLabel), 0, wxALIGN_CENTER_VERTICAL);
    edit_ = new wxTextCtrl(this, ids.edit, shownProposal_, wxDefaultPosition, wxSize(320, -1));
    grid->Add(edit_, 1, wxEXPAND);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    for (const auto& [id, text] : buttons) {
      auto* b = new wxButton(this, id, text);
      row->Add(b, 0, wxALL, 4);
      b->Bind(wxEVT_BUTTON, [this, id = id](wxCommandEvent&) { EndModal(id); });
    }
    if (auto* first = wxDynamicCast(FindWindow(buttons.front().first), wxButton)) first->SetDefault();
    // Esc and the close box decide nothing: they end the dialog with wxID_CANCEL, which no
    // decision button has (left to itself the dialog would press the default button, Rename).
    SetEscapeId(wxID_NONE);
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
      if (e.GetKeyCode() == WXK_ESCAPE) {
        EndModal(wxID_CANCEL);
      } else {
        e.Skip();
      }
    });
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(grid, 0, wxEXPAND | wxALL, 10);
    sizer->Add(row, 0, wxALIGN_CENTER | wxALL, 6);
    SetSizerAndFit(sizer);
  }
  // The edit's text; the proposal's own bytes while it is unchanged, so that a name that is not
  // valid UTF-8 keeps its bytes.
  std::string Text() const {
    const wxString value = edit_->GetValue();
    return (value == shownProposal_ ? proposal_ : value.utf8_string()).substr(0, 259);
  }

 private:
  std::string proposal_;
  wxString shownProposal_;
  wxTextCtrl* edit_;
};

// The decision of the button ID in BUTTONS (pairs of id and decision); false for none.
template <typename Decision, std::size_t N>
bool DecisionOf(const std::pair<int, Decision> (&buttons)[N], int id, Decision& decision) {
  const auto* hit = std::find_if(std::begin(buttons), std::end(buttons), [id](const auto& b) { return b.first == id; });
  if (hit == std::end(buttons)) return false;
  decision = hit->second;
  return true;
}

}  // namespace

bool RunFileExistsDlg(wxWindow* parent, const std::string& directory, const std::string& name, std::uint32_t inode) {
  CExistsDlg dlg(parent, "File Already Exists", {1013, 1015, 1014, 1016}, "File Name :", name,
                 "Rename to :", ProposeCopyName(directory, inode, name),
                 {{wxID_OK, "Rename"},
                  {1019, "Rename All"},
                  {1011, "OverWrite"},
                  {1010, "Overwrite All"},
                  {1009, "Skip"},
                  {1017, "Skip All"}});
  using enum FileExistsDecision;
  static const std::pair<int, FileExistsDecision> decisions[] = {{1017, SkipAll}, {1010, OverwriteAll},
                                                                 {1019, RenameAll}, {1009, Skip},
                                                                 {1011, Overwrite}, {wxID_OK, Rename}};
  const int answer = dlg.ShowModal();
  AppState& app = App();
  // Closed: the decision stays as it was.
  if (!DecisionOf(decisions, answer, app.fileExists)) return false;
  if (answer == wxID_OK) std::snprintf(app.newName, sizeof app.newName, "%s", dlg.Text().c_str());
  return true;
}

bool RunScanFileExistsDlg(wxWindow* parent, const std::string& path, std::uint8_t diskIndex,
                          std::uint32_t driveIndex) {
  CExistsDlg dlg(parent, "File already exists", {wxID_ANY, 1022, 1023, 1020}, "File Name:", path,
                 "New Name:", ProposeScanFileName(path, diskIndex, driveIndex),
                 {{wxID_OK, "Rename"}, {1011, "Overwrite"}, {1021, "Cancel"}});
  using enum ScanFileExistsDecision;
  static const std::pair<int, ScanFileExistsDecision> decisions[] = {{wxID_OK, Rename}, {1021, Cancel}, {1011, Overwrite}};
  const int answer = dlg.ShowModal();
  AppState& app = App();
  if (!DecisionOf(decisions, answer, app.scanFileExists)) return false;
  if (answer == wxID_OK) std::snprintf(app.newName, sizeof app.newName, "%s.DAT", dlg.Text().c_str());
  return true;
}

void RunAboutDlg(wxWindow* parent) {
  // The picture, the description and O&K, under a caption whose close box also ends it.
  controls::CTitledDialog dlg(parent, wxID_ANY, "About Quarvel Velnora Linux");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(new wxStaticBitmap(&dlg, wxID_ANY, ProgramPicture(wxSize(326, 160)), wxDefaultPosition, wxDefaultSize,
                                wxBORDER_SUNKEN),
             0, wxALL, 12);
  sizer->Add(new wxStaticText(&dlg, wxID_ANY, "Data Recovery Software for Linux (Ext2,Ext3 File System)",
                              wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN),
             0, wxLEFT | wxRIGHT | wxEXPAND, 12);
  auto* ok = new wxButton(&dlg, wxID_OK, "O&K");
  ok->SetDefault();
  sizer->Add(ok, 0, wxALIGN_CENTER | wxALL, 10);
  dlg.SetSizerAndFit(sizer);
  dlg.CentreOnParent();
  dlg.ShowModal();
}

}  // namespace ext2::app
