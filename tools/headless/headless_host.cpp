// The headless frame, views and prompts.
#include "headless_host.h"

#include "ext2engine/app_state.h"
#include "ext2engine/caution_texts.h"
#include "ext2engine/recovery.h"
#include "ext2engine/scan_file.h"

namespace ext2::headless {

using namespace probe;

static std::string Text(const char* s) { return s != nullptr ? s : ""; }

void HeadlessHost::Print(const std::string& line) {
  if (out_ == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), out_);
  std::fputc('\n', out_);
}

int HeadlessHost::AddLogEntry(const char* activity, const char* text, const char* status, LogIcon icon) {
  LogRow row{Text(activity), Text(text), Text(status), icon};
  Print(LogLine(row));
  if (keepLog) log.push_back(std::move(row));
  return ++logRows;
}

void HeadlessHost::StartProgressText(int maximum, const char* label) {
  barShown = true;
  barLabel = label != nullptr ? label : "Reading..";
  barMaximum = maximum;
  barSteps = 0;
}

void HeadlessHost::StepProgress(int n) {
  if (!abortFlag) {
    busyFlag = 1;
    char label[64];
    if (App().recovering) {
      std::snprintf(label, sizeof label, " %d Files Recovered", n + 1);
    } else {
      std::snprintf(label, sizeof label, " %d Entries Found", n);
    }
    barLabel = label;
    ++barSteps;
    PumpMessages();
  }
  if (abortFlag) {
    if (postStopSteps == 0 && barShown) barShown = false;
    ++postStopSteps;
  }
}

void HeadlessHost::EndProgress() {
  busyFlag = 0;
  barShown = false;
  App().processRunning = 0;
  App().recovering = 0;
  abortFlag = 1;
}

void HeadlessHost::UpdateMarkedPane(bool, bool, const char* text, bool useText) {
  if (useText) markedPaneText = Text(text);
}

int HeadlessHost::PumpMessages() {
  ++pumps;
  if (onPump) onPump(*this);
  return 1;
}

MessageAnswer HeadlessHost::MessageBox(const char* text, const char* caption, MessageButtons buttons) {
  messages.push_back({Text(caption), Text(text)});
  Print(MessageLine(messages.back()));
  if (buttons == MessageButtons::Ok) return kAnswerOk;
  const auto answer = answersByText.find(Text(text));
  return answer != answersByText.end() ? answer->second : yesNoAnswer;
}

void HeadlessHost::ShowCaution(CautionKind kind) {
  const CautionText c = CautionTextOf(kind);
  const std::string text = std::string(c.line1) + "\n" + c.line2;
  messages.push_back({c.caption, text});
  Print(MessageLine(messages.back()));
}

bool HeadlessHost::Confirm(ConfirmKind) { return false; }

bool HeadlessHost::FileExists(const std::string& directory, const std::string& name, std::uint32_t inode) {
  AppState& app = App();
  app.fileExists = onExists;
  const std::string proposed = ProposeCopyName(directory, inode, name);
  std::snprintf(app.newName, sizeof app.newName, "%s", proposed.c_str());
  return true;
}

bool HeadlessHost::ScanFileExists(const std::string& path, std::uint8_t diskIndex, std::uint32_t driveIndex) {
  AppState& app = App();
  app.scanFileExists = onScanExists;
  if (onScanExists == ScanFileExistsDecision::Rename) {
    const std::string proposed = ProposeScanFileName(path, diskIndex, driveIndex) + ".DAT";
    std::snprintf(app.newName, sizeof app.newName, "%s", proposed.c_str());
  }
  return true;
}

}  // namespace ext2::headless
