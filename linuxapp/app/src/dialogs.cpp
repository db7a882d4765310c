// The small dialogs of the workbench.
#include "dialogs.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdio>

#include "ext2engine/app_state.h"
#include "ext2engine/caution_texts.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/disk_identity.h"
#include "ext2engine/drive_selection.h"
#include "ext2engine/recovery.h"
#include "ext2engine/scan_file.h"

namespace {
wxString U(const std::string& s) { return wxString::FromUTF8(s); }
}  // namespace

CListChoiceDlg::CListChoiceDlg(wxWindow* parent, const wxString& caption,
                               const std::vector<std::pair<wxString, int>>& columns)
    : wxDialog(parent, wxID_ANY, caption) {
  list_ = new wxListCtrl(this, 1000, wxDefaultPosition, wxSize(420, 200),
                         wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES);
  for (const auto& [text, width] : columns) list_->AppendColumn(text, wxLIST_FORMAT_LEFT, width);
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
  const long row = list_->InsertItem(list_->GetItemCount(), cells.empty() ? wxString() : cells[0]);
  for (std::size_t c = 1; c < cells.size(); ++c) list_->SetItem(row, static_cast<int>(c), cells[c]);
}

void CListChoiceDlg::SelectRow(int row) {
  list_->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                      wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  selected_ = row;
}

CSelectPhysicalDiskDlg::CSelectPhysicalDiskDlg(wxWindow* parent)
    : CListChoiceDlg(parent, "Select Physical Disk", {{"Disk No.", 90}, {"Model No. ", 120}, {"Serial No.", 60}}) {
  std::uint8_t count = 0;
  CountPhysicalDisks(&count);
  count_ = count;
  AppState& app = App();
  for (int i = 0; i < count_; ++i) {
    std::string model, serial;
    if (IdentifyDisk(static_cast<std::uint8_t>(i))) {
      DiskRowTexts(app.diskModel, app.diskSerial, model, serial);
    } else {
      model = serial = "UNKNOWN";
    }
    AddRow({wxString::Format("HardDisk %d", i + 1), U(model), U(serial)});
  }
  if (count_ > 0) SelectRow(0);
}

CSelectLogicalDriveDlg::CSelectLogicalDriveDlg(wxWindow* parent, const std::vector<LogicalDriveNode>& drives)
    : CListChoiceDlg(parent, "Select Logical Drive",
                     {{"Name", 100}, {"File System", 65}, {"Start Sector", 90}, {"Size", 75}}) {
  for (std::size_t i = 0; i < drives.size() && i < 255; ++i) {
    const auto& d = drives[i];
    AddRow({wxString::Format("Logical Drive %d", static_cast<int>(i + 1)), FileSystemText(d.partitionType),
            wxString::Format("%u", d.firstSector),
            U(FormatDriveSize(static_cast<std::uint64_t>(d.endSector - d.firstSector) * 512))});
  }
}

CChoiceOfTwoDlg::CChoiceOfTwoDlg(wxWindow* parent, const wxString& caption, const wxString& box,
                                 const wxString& first, const wxString& second)
    : wxDialog(parent, wxID_ANY, caption) {
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

// Two lines of text over the buttons of FLAGS.
class CTwoLineDlg : public wxDialog {
 public:
  CTwoLineDlg(wxWindow* parent, const wxString& caption, const wxString& line1, const wxString& line2, long flags)
      : wxDialog(parent, wxID_ANY, caption) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, line1), 0, wxLEFT | wxRIGHT | wxTOP, 12);
    sizer->Add(new wxStaticText(this, wxID_ANY, line2), 0, wxALL, 12);
    sizer->Add(CreateStdDialogButtonSizer(flags), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(sizer);
    if (flags & wxYES) {
      Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_YES); }, wxID_YES);
      Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_NO); }, wxID_NO);
      SetEscapeId(wxID_NO);
    }
  }
};

}  // namespace

void RunCautionDlg(wxWindow* parent, std::uint8_t type) {
  const CautionText c = CautionTextOf(type);
  CTwoLineDlg dlg(parent, U(c.caption), U(c.line1), U(c.line2), wxOK);
  dlg.ShowModal();
}

bool RunConfirmDlg(wxWindow* parent, std::uint8_t type) {
  const char* line1 = type == 0 ? "Save Drive Scan Information ?" : type == 1 ? "Stop current process ?" : "";
  CTwoLineDlg dlg(parent, "Quarvel Velnora Linux", line1, "", wxYES | wxNO);
  return dlg.ShowModal() == wxID_YES;
}

namespace {

// A name, a proposal in an edit and a row of decision buttons.
class CExistsDlg : public wxDialog {
 public:
  CExistsDlg(wxWindow* parent, const wxString& caption, const wxString& nameLabel, const wxString& name,
             const wxString& newLabel, const wxString& proposal, const std::vector<std::pair<int, wxString>>& buttons)
      : wxDialog(parent, wxID_ANY, caption) {
    auto* grid = new wxFlexGridSizer(2, 8, 8);
    grid->Add(new wxStaticText(this, wxID_ANY, nameLabel));
    grid->Add(new wxStaticText(this, wxID_ANY, name, wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN), 1,
              wxEXPAND);
    grid->Add(new wxStaticText(this, wxID_ANY, newLabel));
    edit_ = new wxTextCtrl(this, wxID_ANY, proposal, wxDefaultPosition, wxSize(320, -1));
    grid->Add(edit_, 1, wxEXPAND);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    for (const auto& [id, text] : buttons) {
      auto* b = new wxButton(this, id, text);
      row->Add(b, 0, wxALL, 4);
      b->Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { EndModal(id); });
    }
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(grid, 0, wxEXPAND | wxALL, 10);
    sizer->Add(row, 0, wxALIGN_CENTER | wxALL, 6);
    SetSizerAndFit(sizer);
  }
  std::string Text() const { return edit_->GetValue().utf8_string().substr(0, 259); }

 private:
  wxTextCtrl* edit_;
};

}  // namespace

void RunFileExistsDlg(wxWindow* parent, const std::string& directory, const std::string& name, std::uint32_t inode) {
  // Button ids 1.. map onto the decisions Skip All, Overwrite All, Rename All, Skip, OverWrite, Rename.
  CExistsDlg dlg(parent, "File Already Exists", "File Name :", U(name), "Rename to :",
                 U(ProposeCopyName(directory, inode, name)),
                 {{wxID_HIGHEST + 6, "Rename"},
                  {wxID_HIGHEST + 3, "Rename All"},
                  {wxID_HIGHEST + 5, "OverWrite"},
                  {wxID_HIGHEST + 2, "Overwrite All"},
                  {wxID_HIGHEST + 4, "Skip"},
                  {wxID_HIGHEST + 1, "Skip All"}});
  const int answer = dlg.ShowModal() - wxID_HIGHEST - 1;
  if (answer < 0 || answer > 5) return;  // closed: the decisions stay as they were
  AppState& app = App();
  for (int& d : app.fileExists) d = 0;
  app.fileExists[answer] = 1;
  if (answer == 5) std::snprintf(app.newName, sizeof app.newName, "%s", dlg.Text().c_str());
}

void RunScanFileExistsDlg(wxWindow* parent, const std::string& path, std::uint8_t diskIndex,
                          std::uint8_t driveIndex) {
  // Decisions in the order Rename, Cancel, Overwrite.
  CExistsDlg dlg(parent, "File already exists", "File Name:", U(path), "New Name:",
                 U(ProposeScanFileName(path, diskIndex, driveIndex)),
                 {{wxID_HIGHEST + 1, "Rename"}, {wxID_HIGHEST + 3, "Overwrite"}, {wxID_HIGHEST + 2, "Cancel"}});
  const int answer = dlg.ShowModal() - wxID_HIGHEST - 1;
  if (answer < 0 || answer > 2) return;
  AppState& app = App();
  for (int& d : app.scanFileExists) d = 0;
  app.scanFileExists[answer] = 1;
  if (answer == 0) std::snprintf(app.newName, sizeof app.newName, "%s.DAT", dlg.Text().c_str());
}

void RunAboutDlg(wxWindow* parent) {
  wxDialog dlg(parent, wxID_ANY, "About Quarvel Velnora Linux");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(new wxStaticText(&dlg, wxID_ANY, "Data Recovery Software for Linux (Ext2,Ext3 File System)",
                              wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN),
             0, wxALL, 16);
  auto* ok = new wxButton(&dlg, wxID_OK, "O&K");
  ok->SetDefault();
  sizer->Add(ok, 0, wxALIGN_CENTER | wxALL, 8);
  dlg.SetSizerAndFit(sizer);
  dlg.ShowModal();
}
