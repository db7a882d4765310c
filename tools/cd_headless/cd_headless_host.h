// The CD frame, its two views and the prompts without a window: an in-memory tree control under
// the real tree-view behaviour, a list of the selected folder's rows, and log rows and messages
// kept (and printed as LOG and MSG lines when given an output).
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cdengine/app_state.h"
#include "cdengine/cd_reader.h"
#include "cdengine/ports.h"
#include "cdviews/tree_view.h"
#include "controls/memory_tree_control.h"
#include "host_lines.h"

namespace cd::headless {

// A row of the list view: the node it shows and its state image (2 unchecked, 3 checked, 4 partly).
struct CdListRow {
  std::string name;
  std::uint32_t key = 0;
  std::uint8_t type = 0;
  int image = 2;
};

class CdHeadlessHost : public CdFrame, public CdListViewPort, public CdPrompts {
 public:
  explicit CdHeadlessHost(std::FILE* out = nullptr);

  CdAppState app;
  controls::MemoryTreeControl treeControl;
  views::CdTreeView treeView;
  CCDReader reader;

  // CdFrame
  void AddLogEntry(const char* activity, const char* text, const char* status, CdLogIcon icon) override;
  void StartProgress() override { StartProgressRange(10000); }
  void StartProgressRange(std::uint32_t n) override;
  void StepProgress(std::uint32_t count, std::uint8_t type, const char* name, std::uint32_t parentKey,
                    std::size_t nameLength, std::uint32_t key) override;
  void EndProgress(std::uint32_t n) override;
  void AttachPanes() override { treeView.InsertRootItem(); }
  void UpdateTotalsPane(std::uint32_t folders, std::uint32_t files) override;
  void UpdateMarkedPane() override;
  void SetMarkedPaneText(const std::string& text) override { markedPane = text; }
  int PumpMessages() override;
  void EnableToolbarButton(int, bool) override {}
  CdTreeViewPort* GetLeftPane() override { return &treeView; }
  CdListViewPort* GetRightPane() override { return this; }
  CdPrompts& GetPrompts() override { return *this; }

  // CdListViewPort
  void ClearListView() override { rows.clear(); }
  void FillFromTreeNodes(std::uint32_t key) override;
  void SetItemCheckState(CdCheckRows rows, int state, const std::string& name, std::uint32_t key) override;
  void UncheckListItem(const std::string& name, std::uint32_t key) override;
  void GreyListItem(const std::string& name, std::uint32_t key, CdGreyRow grey) override;
  void FindListItem(const std::string& name, std::uint32_t key) override;

  // The list view's summary word of its rows.
  std::string GetListCheckSummary() const;
  // A click on the check box of the row NAME with data KEY of the shown folder.
  void ClickListRow(const std::string& name, std::uint32_t key);

  // CdPrompts: OK/Cancel boxes are answered with okCancelAnswer; the drive dialog keeps the choice.
  CdAnswer MessageBox(const std::string& text, const std::string& caption, CdButtons buttons) override;
  void RunSelectDriveDialog(const std::vector<std::string>& drives) override;
  void RunOverwriteDialog() override { app.overwriteAnswer = overwriteAnswer; }

  std::vector<probe::LogRow> log;
  std::vector<probe::ShownMessage> messages;
  std::vector<CdListRow> rows;
  int hotRow = -1;
  bool barShown = false;
  std::uint32_t barRange = 0;
  std::uint32_t barSteps = 0;
  // The bar's and the totals pane's texts, formatted when asked for: a scan steps once per entry.
  std::string BarText() const;
  std::string TotalsPane() const;
  std::uint32_t entriesAdded = 0;
  std::string markedPane;
  int pumps = 0;

  CdAnswer okCancelAnswer = kCdAnswerOk;
  int overwriteAnswer = 0;
  int driveChoice = -1;  // the Select Drive dialog's answer; -1 cancels it
  // Runs inside every pump, as a user's command would (a test's Stop, say).
  std::function<void(CdHeadlessHost&)> onPump;

 private:
  void Print(const std::string& line);
  std::FILE* out_;
  enum class BarKind { Reading, Recovered, Sector, Entries } barKind_ = BarKind::Reading;
  std::uint32_t barCount_ = 0;
};

}  // namespace cd::headless
