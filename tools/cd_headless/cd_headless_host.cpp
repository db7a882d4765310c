// The headless CD frame, list view and prompts.
#include "cd_headless_host.h"

#include "cdengine/commands.h"
#include "probe_output.h"

namespace cd::headless {

using namespace probe;

namespace {
std::string Text(const char* s) { return s != nullptr ? s : ""; }
}

CdHeadlessHost::CdHeadlessHost(std::FILE* out) : treeView(treeControl, app), reader(app, this), out_(out) {
  treeView.SetFrame(this);
  treeView.SetListView(this);
}

void CdHeadlessHost::Print(const std::string& line) {
  if (out_ == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), out_);
  std::fputc('\n', out_);
}

void CdHeadlessHost::AddLogEntry(const char* activity, const char* text, const char* status, CdLogIcon icon) {
  log.push_back({Text(activity), Text(text), Text(status), icon});
  Print(LogLine(log.back()));
}

void CdHeadlessHost::StartProgressRange(std::uint32_t n) {
  barShown = true;
  barRange = n;
  barSteps = 0;
  barKind_ = BarKind::Reading;
}

void CdHeadlessHost::StepProgress(std::uint32_t count, std::uint8_t type, const char* name, std::uint32_t parentKey,
                                  std::size_t nameLength, std::uint32_t key) {
  if (!stopFlag) {
    busy = 1;
    barKind_ = app.recovering ? BarKind::Recovered : imaging ? BarKind::Sector : BarKind::Entries;
    barCount_ = count;
    ++barSteps;
    PumpMessages();
    if (!app.recovering && !imaging) {
      if (entriesAdded == 0) treeView.SetReader(&reader);
      ++entriesAdded;
      treeView.AddTreeItem(type, std::string(name != nullptr ? name : "", nameLength), parentKey, key);
      UpdateTotalsPane(reader.foldersCounted, reader.filesCounted);
    }
  }
  if (stopFlag) {
    if (stepsAfterStop == 0 && barShown) barShown = false;
    ++stepsAfterStop;
  }
}

void CdHeadlessHost::EndProgress(std::uint32_t n) {
  app.scanUnderWay = 0;
  if (!stopFlag) {
    if (n < 10000) barSteps += 10000 - n;
    barShown = false;
  }
  treeView.ExpandRoot(1);
  busy = 0;
  app.processRunning = 0;
  app.contentsShown = 1;
}

void CdHeadlessHost::UpdateTotalsPane(std::uint32_t folders, std::uint32_t files) {
  totalFolders = folders;
  totalFiles = files;
}

std::string CdHeadlessHost::TotalsPane() const {
  return SizePaneText("Total", reader.totalBytes, totalFiles, totalFolders);
}

std::string CdHeadlessHost::BarText() const {
  char text[64];
  switch (barKind_) {
    case BarKind::Reading:
      return "Reading..";
    case BarKind::Recovered:
      std::snprintf(text, sizeof text, " %d Files Recovered", static_cast<int>(barCount_ + 1));
      break;
    case BarKind::Sector:
      std::snprintf(text, sizeof text, "Reading Sector No %ld ", static_cast<long>(barCount_));
      break;
    case BarKind::Entries:
      std::snprintf(text, sizeof text, " %d Entries Found", static_cast<int>(barCount_));
      break;
  }
  return text;
}

void CdHeadlessHost::UpdateMarkedPane() { markedPane = SizePaneText("Marked", markedBytes, markedFiles, markedFolders); }

int CdHeadlessHost::PumpMessages() {
  ++pumps;
  if (onPump) onPump(*this);
  return 1;
}

void CdHeadlessHost::FillFromTreeNodes(std::uint32_t key) {
  rows.clear();
  hotRow = -1;
  for (std::uint32_t i : treeView.ChildrenOf(key)) {
    const TreeItemNode& node = treeView.Nodes()[i];
    rows.push_back({node.name, node.key, node.type, node.mark == 1 ? 3 : node.mark == 2 ? 4 : 2});
  }
}

void CdHeadlessHost::SetItemCheckState(CdCheckRows which, int state, const std::string& name, std::uint32_t) {
  if (which == CdCheckRows::Every) {
    if (state < 1 || state > 3) return;
    for (auto& row : rows) row.image = state + 1;
    return;
  }
  for (auto& row : rows) {
    if (row.name.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(row.name[i])) == std::tolower(static_cast<unsigned char>(name[i]));
    }
    if (!same) continue;
    row.image = state == 2 ? 3 : state == 1 ? 2 : 4;
    return;
  }
}

void CdHeadlessHost::UncheckListItem(const std::string& name, std::uint32_t key) {
  for (auto& row : rows) {
    if (row.name == name && row.key == key) {
      if (row.image == 3 || row.image == 4) row.image = 2;
      return;
    }
  }
}

void CdHeadlessHost::GreyListItem(const std::string& name, std::uint32_t key, CdGreyRow grey) {
  for (auto& row : rows) {
    if (row.name == name && row.key == key) {
      if (grey == CdGreyRow::Grey) row.image = 4;
      return;
    }
  }
}

void CdHeadlessHost::FindListItem(const std::string& name, std::uint32_t key) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].name == name && rows[i].key == key) {
      hotRow = static_cast<int>(i);
      return;
    }
  }
}

std::string CdHeadlessHost::GetListCheckSummary() const {
  std::size_t unchecked = 0, checked = 0, grey = 0;
  for (const auto& row : rows) {
    if (row.image == 2) ++unchecked;
    if (row.image == 3) ++checked;
    if (row.image == 4) ++grey;
  }
  if (unchecked == rows.size()) return "AllItemsUnchecked";
  if (checked == rows.size()) return "AllItemsBlackchecked";
  if (grey == rows.size()) return "AllItemsGreychecked";
  return "AllItemsAreMixed";
}

void CdHeadlessHost::ClickListRow(const std::string& name, std::uint32_t key) {
  for (auto& row : rows) {
    if (row.name != name || row.key != key) continue;
    int state = 0;
    if (row.image == 2) {
      row.image = 3;
      state = 1;
    } else {
      app.allMarked = 0;
      row.image = 2;
    }
    const std::string typeText = row.type == 2 ? "Dir" : "File";
    treeView.SetNodeMark(state, key, name, row.type);
    treeView.SyncTreeCheckFromList(state, name, typeText, GetListCheckSummary(), key);
    break;
  }
  markedFolders = markedFiles = 0;
  markedBytes = treeView.CountMarked(&markedFolders, &markedFiles);
  UpdateMarkedPane();
  app.markedBytesFlag = markedBytes != 0;
}

CdAnswer CdHeadlessHost::MessageBox(const std::string& text, const std::string& caption, CdButtons buttons) {
  messages.push_back({caption, text});
  Print(MessageLine(messages.back()));
  return buttons == CdButtons::Ok ? kCdAnswerOk : okCancelAnswer;
}

void CdHeadlessHost::RunSelectDriveDialog(const std::vector<std::string>& drives) {
  if (driveChoice >= 0 && static_cast<std::size_t>(driveChoice) < drives.size()) {
    app.selectedDrive = static_cast<std::uint8_t>(driveChoice);
  }
}

}  // namespace cd::headless
