// A frame, two views and the prompts without a window: it keeps what the engine hands it (log rows,
// tree entries, progress) and, when given an output, prints each log row and message as it comes.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ext2engine/entry_list.h"
#include "ext2engine/ports.h"
#include "probe_output.h"

struct LogRow {
  std::string activity, text, status;
  int icon = 0;
};

struct ShownMessage {
  std::string caption, text;
};

class HeadlessHost : public FrameServices, public TreeViewPort, public ListViewPort, public Prompts {
 public:
  explicit HeadlessHost(std::FILE* out = nullptr) : out_(out) {}

  // FrameServices
  int AddLogEntry(const char* activity, const char* text, const char* status, int icon) override;
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
  void EnableToolbarButton(int, bool) override {}
  TreeViewPort* GetLeftPane() override { return this; }
  ListViewPort* GetRightPane() override { return this; }
  Prompts& GetPrompts() override { return *this; }

  // TreeViewPort
  void CollapseChildren() override {}
  void ExpandAndSelect(bool) override {}
  void ClearTree() override {}
  void FreeEntryLists() override { entries.Clear(); }

  // ListViewPort
  void ClearListView() override {}

  // Prompts: OK boxes are answered OK, Yes/No boxes with yesNoAnswer; confirmations with No.
  int MessageBox(const char* text, const char* caption, MessageButtons buttons) override;
  void ShowCaution(std::uint8_t type) override;
  bool Confirm(std::uint8_t type) override;

  // What the engine handed over.
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

  int yesNoAnswer = kAnswerNo;
  // Runs inside every pump, as a user's command would (a test's Stop, say).
  std::function<void(HeadlessHost&)> onPump;

 private:
  void Print(const std::string& line);
  std::FILE* out_;
};
