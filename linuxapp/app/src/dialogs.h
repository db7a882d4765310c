// The workbench's small modal dialogs: disk, action, search type and logical-drive choice,
// caution, confirmation, file exists, scan file exists, About.
#pragma once

#include <wx/dialog.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "controls/wx/titled_dialog.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/logical_drives.h"
#include "ext2engine/ports.h"

namespace ext2::app {

// A dialog of one report list whose row is chosen by a click, a double click (which is OK too)
// or Enter on the highlighted row.
class CListChoiceDlg : public controls::CTitledDialog {
 public:
  struct ListColumn {
    wxString text;
    int width;
    wxListColumnFormat align;
  };
  CListChoiceDlg(wxWindow* parent, const wxString& caption, const std::vector<ListColumn>& columns);
  // -1 when no row is chosen.
  int SelectedRow() const { return selected_; }
  wxListCtrl* List() const { return list_; }
  void AddRow(const std::vector<wxString>& cells);
  void SelectRow(int row);

 protected:
  void OnOk(wxCommandEvent& event);
  // Widens the columns whose texts need more room, after the rows are in.
  void FitColumns();

 private:
  wxListCtrl* list_;
  wxImageList images_;
  int selected_ = -1;
};

// Select Physical Disk: "HardDisk %d" with the model and serial of each disk of the disk list (read
// anew), also of one that does not open, whose model shows the reason. A disk's number is its place
// in the list, so a place without a disk leaves a gap in the numbers (HardDisk 1, HardDisk 3) and
// the rows keep to them.
class CSelectPhysicalDiskDlg : public CListChoiceDlg {
 public:
  explicit CSelectPhysicalDiskDlg(wxWindow* parent);
  int DiskCount() const { return static_cast<int>(disks_.size()); }
  // The disk index (from 0) of ROW, or -1 when there is no such row.
  int DiskIndexOfRow(int row) const { return row >= 0 && row < DiskCount() ? disks_[Row(row)].index : -1; }
  // The errno with which the disk of ROW did not open; 0 when it opened or there is no such row.
  int OpenErrorOfRow(int row) const { return row >= 0 && row < DiskCount() ? disks_[Row(row)].openError : 0; }

 private:
  static std::size_t Row(int row) { return static_cast<std::size_t>(row); }
  std::vector<DiskPlace> disks_;
};

// Select Logical Drive over the logical-drive list.
class CSelectLogicalDriveDlg : public CListChoiceDlg {
 public:
  CSelectLogicalDriveDlg(wxWindow* parent, const std::vector<LogicalDriveNode>& drives);
};

// Two radio buttons; the answer is 1 for the first, 0 for the second, -1 on Cancel.
class CChoiceOfTwoDlg : public controls::CTitledDialog {
 public:
  CChoiceOfTwoDlg(wxWindow* parent, const wxString& caption, const wxString& box, const wxString& first,
                  const wxString& second);
  int Answer() const { return answer_; }

 private:
  int answer_ = 1;
};

// "Select Appropriate Action": 1 use the partition table, 0 search, -1 cancel.
int RunSelectActionDlg(wxWindow* parent);
// "Select Search Type": 1 standard, 0 advanced, -1 cancel.
int RunSelectSearchTypeDlg(wxWindow* parent);

// The two text lines of the Caution and the confirmation dialogs.
inline constexpr int kCautionLine1Id = 1028;
inline constexpr int kCautionLine2Id = 1027;
inline constexpr int kConfirmLine1Id = 1029;
inline constexpr int kConfirmLine2Id = 1030;

// The Caution dialog of KIND.
void RunCautionDlg(wxWindow* parent, CautionKind kind);
// The Yes/No confirmation of KIND.
// Yes is the dialog's wxID_OK, No its wxID_NO; Esc and the close box end it with wxID_CANCEL.
enum class ConfirmAnswer { Yes, No, Closed };
ConfirmAnswer RunConfirmDlgAnswer(wxWindow* parent, ConfirmKind kind);
// The same where closing it answers No.
bool RunConfirmDlg(wxWindow* parent, ConfirmKind kind);
// "File Already Exists": writes one decision and the new name into the application state. The
// buttons are Rename (wxID_OK), Rename All 1019, OverWrite 1011, Overwrite All 1010, Skip 1009 and
// Skip All 1017; the edit is 1016. Esc and the close box change nothing and return false.
bool RunFileExistsDlg(wxWindow* parent, const std::string& directory, const std::string& name, std::uint32_t inode);
// "File already exists" for a scan file: writes one decision and the new name. The buttons are
// Rename (wxID_OK), Overwrite 1011 and Cancel 1021; the edit is 1020. Esc and the close box
// change nothing and return false.
bool RunScanFileExistsDlg(wxWindow* parent, const std::string& path, std::uint8_t diskIndex, std::uint32_t driveIndex);
void RunAboutDlg(wxWindow* parent);

}  // namespace ext2::app
