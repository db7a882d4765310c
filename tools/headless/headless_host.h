// A frame, two views and the prompts without a window: it keeps what the engine hands it (log rows,
// tree entries, progress) and, when given an output, prints each log row and message as it comes.
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/entry_list.h"
#include "ext2engine/ports.h"
#include "host_lines.h"

namespace ext2::headless {

using probe::LogRow;
using probe::ShownMessage;

class HeadlessHost : public FrameServices, public TreeViewPort, public ListViewPort, public Prompts {
 public:
  explicit HeadlessHost(std::FILE* out = nullptr) : out_(out) {}

  // FrameServices
  int AddLogEntry(const char* activity, const char* text, const char* status, LogIcon icon) override;
  void StartProgress(int maximum) override { StartProgressText(maximum, nullptr); }
  void StartProgressText(int maximum, const char* label) override;
  void StepProgress(int n) override;
  void StepProgressBar() override { ++barSteps; }
  void EndProgress() override;
  void InsertRootItem() override { entries.StartWithRoot(0); }
  void AddTreeEntry(const EntryNode& entry, const char* name) override { entries.Append(entry, name); }
  void SetDrive(CLinuxDrive* d) override { drive = d; }
  void UpdateTotalsPane() override {}
  void UpdateMarkedPane(bool, bool, const char* text, bool useText) override;
  int PumpMessages() override;
  void EnableToolbarButton(ToolbarCommand, bool) override {}
  TreeViewPort* GetLeftPane() override { return this; }
  ListViewPort* GetRightPane() override { return this; }
  Prompts& GetPrompts() override { return *this; }

  // TreeViewPort
  void CollapseChildren() override {}
  void ExpandAndSelect(bool) override {}
  void ClearTree() override {}
  void FreeEntryLists() override { entries.Clear(); }
  EntryList& Entries() override { return entries; }
  void UncheckEntry(std::uintptr_t, Uncheck) override {}
  void SetItemStateImage(std::uintptr_t item, int image) override { stateImages.emplace_back(item, image); }

  // ListViewPort
  void ClearListView() override {}
  void UpdateItemCheck(const std::string&, std::uint32_t, std::uintptr_t, Uncheck) override {}

  // Prompts: OK boxes are answered OK, Yes/No boxes with yesNoAnswer; confirmations with No.
  MessageAnswer MessageBox(const char* text, const char* caption, MessageButtons buttons) override;
  void ShowCaution(CautionKind kind) override;
  bool Confirm(ConfirmKind kind) override;
  // Answers with onExists; a rename proposes the dialog's first free name.
  bool FileExists(const std::string& directory, const std::string& name, std::uint32_t inode) override;
  // Answers with onScanExists; a rename takes the dialog's proposed name with ".DAT".
  bool ScanFileExists(const std::string& path, std::uint8_t diskIndex, std::uint32_t driveIndex) override;
  // Answers with chosenFolder when one is set (even an empty one), else as Cancel.
  bool BrowseForFolder(std::string& path) override {
    if (!chosenFolder) return false;
    path = *chosenFolder;
    return true;
  }
  std::optional<std::string> chosenFolder;

  // What the engine handed over. Log rows are kept while keepLog is set (tests read them); a probe
  // that only prints them clears it, so that a recovery of many files does not hold every row.
  bool keepLog = true;
  int logRows = 0;
  std::vector<LogRow> log;
  std::vector<ShownMessage> messages;
  EntryList entries;
  CLinuxDrive* drive = nullptr;
  bool barShown = false;
  std::string barLabel;
  int barMaximum = 0;
  int barSteps = 0;
  int postStopSteps = 0;
  int pumps = 0;
  std::string markedPaneText;

  MessageAnswer yesNoAnswer = kAnswerNo;
  // Yes/No boxes answered by their text, in place of yesNoAnswer.
  std::map<std::string, MessageAnswer> answersByText;
  // The File Already Exists answer.
  FileExistsDecision onExists = FileExistsDecision::Overwrite;
  // The File already exists answer of the scan-information file.
  ScanFileExistsDecision onScanExists = ScanFileExistsDecision::Overwrite;
  // Every state image set on a tree item: (item, image).
  std::vector<std::pair<std::uintptr_t, int>> stateImages;
  // Runs inside every pump, as a user's command would (a test's Stop, say).
  std::function<void(HeadlessHost&)> onPump;

 private:
  void Print(const std::string& line);
  std::FILE* out_;
};

}  // namespace ext2::headless
