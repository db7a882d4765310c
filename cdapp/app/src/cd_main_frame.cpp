// The CD main window: its parts, the services it offers the engine and its prompts.
#include "cd_main_frame.h"

#include <wx/imaglist.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include <cstdio>

#include "cd_app_state.h"
#include "cd_images.h"
#include "cdengine/commands.h"
#include "cdengine/drive_access.h"
#include "controls/wx/display_string.h"
#include "controls/wx/message_box.h"
#include "controls/wx/status_bar.h"

namespace cd::app {

using namespace cd::core;
using namespace cd::views;

namespace {
constexpr int kTreeWidth = 195;
}

CMainFrame::CMainFrame()
    : wxFrame(nullptr, wxID_ANY, "Quarvel Velnora CDROM (For ISO9660/JOLIET File System)", wxDefaultPosition,
              wxSize(1000, 700)),
      layout_(this, kTreeWidth) {
  CdAppState& app = CdApp();
  reader_ = std::make_unique<CCDReader>(app, this);

  BuildMenus();
  BuildToolbar();
  SetStatusBar(new controls::CStatusBar(this));
  GetStatusBar()->SetFieldsCount(3);
  const int widths[] = {265, 300, -1};
  GetStatusBar()->SetStatusWidths(3, widths);
  SetStatusText("For Help, press F1", 0);
  SetStatusText("   Total 0 Bytes in 0 Files in 0 Folders", 1);
  SetStatusText("   Marked 0 Bytes in 0 Files in 0 Folders", 2);

  auto* treeImages = new wxImageList(16, 16, true, 3);
  for (const wxBitmap& image : CdTreeImages()) treeImages->Add(image);
  tree_->SetImageList(treeImages);
  list_->SetIcons(CdListIcons(16), CdListIcons(32));

  leftView_ = std::make_unique<CdTreeView>(*tree_, app);
  listView_ = std::make_unique<CCDView>(*list_, app);
  leftView_->SetFrame(this);
  leftView_->SetListView(listView_.get());
  listView_->SetTreeView(leftView_.get());
  listView_->SetFrame(this);
  listView_->SetSortArrow(this);
  listView_->InsertColumns();
  // The whole date and time shows, whatever the font.
  list_->FitColumnToText(kCdColDate, kCdDateShape);

  // A click on a state icon is the tree view's; other clicks go on to the control.
  tree_->Window()->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
    if (!leftView_->OnLButtonDown({e.GetX(), e.GetY()})) e.Skip();
  });
  controls::RouteListClicks(*this, *list_, *listView_);
  list_->Window()->Bind(wxEVT_CONTEXT_MENU, &CMainFrame::OnListContextMenu, this);

  log_ = new CProcessLogBar(this, ProcessLogLook());
  layout_.DockLog(log_, {"Process Log", 180, true});

  Bind(wxEVT_MENU_OPEN, &CMainFrame::OnMenuOpen, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
  BindCommands();
}

CMainFrame::~CMainFrame() { bar_.reset(); }

CdCommandInputs CMainFrame::Inputs() const {
  const CdAppState& app = CdApp();
  CdCommandInputs in;
  in.busy = busy != 0;
  in.contentsShown = app.contentsShown != 0;
  in.maskApplied = app.fileMaskApplied != 0;
  in.allMarked = app.allMarked != 0;
  in.markedBytes = app.markedBytesFlag != 0;
  in.somethingMarked = app.somethingMarked != 0;
  in.findNext = app.findNext != 0;
  in.filterPresent = app.filterPresent != 0;
  in.processRunning = app.processRunning != 0;
  in.imaging = imaging != 0;
  in.stopFlag = stopFlag != 0;
  in.logHasRows = app.logHasRows != 0;
  in.scanUnderWay = app.scanUnderWay != 0;
  in.recovering = app.recovering != 0;
  const controls::TreeItem caret = tree_->GetSelection();
  in.caretIsRoot = caret == controls::kNoItem || caret == tree_->GetRoot();
  in.listView = list_->Window() != nullptr;
  in.commandRunning = commands_ && commands_->Running();
  return in;
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  if (busy && event.CanVeto()) {
    MessageBox("Stop Current Process before closing", "Quarvel Velnora CDROM", CdButtons::Ok);
    event.Veto();
    return;
  }
  // After Stop a process is still on its way out: the window closes once it has returned.
  if (commands_->DeferClose(event)) return;
  CloseDevice(*reader_);
  Destroy();
}

// --- Services ---

void CMainFrame::AddLogEntry(const char* activity, const char* text, const char* status, cd::CdLogIcon icon) {
  logRows_ = log_->AddRow(activity, text, status, icon);
}

void CMainFrame::StartProgressRange(std::uint32_t n) {
  bar_.reset();
  bar_ = std::make_unique<controls::CProgressBar>("Reading..", 100, static_cast<int>(n), true, 0);
}

void CMainFrame::StepProgress(std::uint32_t count, std::uint8_t type, const char* name, std::uint32_t parentKey,
                              std::size_t nameLength, std::uint32_t key) {
  CdAppState& app = CdApp();
  // A scan's step brings an entry; a recovery's or an image copy's does not. Decided before the
  // pump, which may run Stop and so clear the recovering flag.
  const bool entryStep = !app.recovering && !imaging;
  if (!stopFlag) {
    busy = 1;
    // The bar's label and the totals pane show only when the window paints, inside the message
    // pump: they are written once in the pump's interval, and steps in between only count. Each
    // write makes the status bar, and with it the window, paint again.
    const auto now = std::chrono::steady_clock::now();
    const bool showTexts = now - textsShown_ >= controls::MessagePump::kInterval;
    if (showTexts) textsShown_ = now;
    if (bar_ && showTexts) {
      // snprintf: wxString::Format costs more than the rest of a step.
      char label[48];
      if (app.recovering) {
        std::snprintf(label, sizeof label, " %d Files Recovered", static_cast<int>(count + 1));
      } else if (imaging) {
        std::snprintf(label, sizeof label, "Reading Sector No %ld ", static_cast<long>(count));
      } else {
        std::snprintf(label, sizeof label, " %d Entries Found", static_cast<int>(count));
      }
      bar_->SetText(wxString::FromAscii(label));
    }
    if (bar_) bar_->StepIt();
    PumpMessages();
    if (entryStep) {
      if (entriesAdded_ == 0) leftView_->SetReader(reader_.get());
      ++entriesAdded_;
      leftView_->AddTreeItem(type, std::string(name != nullptr ? name : "", name != nullptr ? nameLength : 0), parentKey,
                             key);
      if (showTexts) {
        UpdateTotalsPane(reader_->foldersCounted, reader_->filesCounted);
      } else {
        totalFolders = reader_->foldersCounted;
        totalFiles = reader_->filesCounted;
        totalsUnshown_ = true;
      }
    }
  }
  if (stopFlag) {
    if (stepsAfterStop == 0) bar_.reset();
    ++stepsAfterStop;
  }
}

void CMainFrame::EndProgress(std::uint32_t n) {
  CdAppState& app = CdApp();
  app.scanUnderWay = 0;
  if (!stopFlag) {
    if (bar_) {
      const wxString text = wxString::Format("%d Files Found", static_cast<int>(n));
      for (std::uint32_t i = n; i < 10000; ++i) {
        bar_->SetText(text);
        bar_->StepIt();
        PumpMessages();
      }
    }
    bar_.reset();
  }
  if (totalsUnshown_) UpdateTotalsPane(totalFolders, totalFiles);
  leftView_->ExpandRoot(1);
  busy = 0;
  app.processRunning = 0;
  app.contentsShown = 1;
}

void CMainFrame::AttachPanes() { leftView_->InsertRootItem(); }

void CMainFrame::UpdateTotalsPane(std::uint32_t folders, std::uint32_t files) {
  totalsUnshown_ = false;
  totalFolders = folders;
  totalFiles = files;
  SetStatusText(SizePaneText("Total", reader_->totalBytes, files, folders), 1);
}

void CMainFrame::UpdateMarkedPane() { SetStatusText(SizePaneText("Marked", markedBytes, markedFiles, markedFolders), 2); }

void CMainFrame::SetMarkedPaneText(const std::string& text) { SetStatusText(controls::DisplayString(text), 2); }

int CMainFrame::PumpMessages() { return pump_.Pump(); }

void CMainFrame::EnableToolbarButton(int command, bool enable) {
  if (GetToolBar() != nullptr) GetToolBar()->EnableTool(CdWxId(command), enable);
}

void CMainFrame::SetSortImage(int column, int ascending) { list_->Header().SetSortImage(column, ascending); }

// --- Prompts ---

CdAnswer CMainFrame::MessageBox(const std::string& text, const std::string& caption, CdButtons buttons) {
  const bool okCancel = buttons == CdButtons::OkCancel;
  controls::CMessageBoxDlg box(nullptr, controls::DisplayString(text), controls::DisplayString(caption), okCancel ? wxOK | wxCANCEL : wxOK);
  const int answer = box.ShowModal();
  return !okCancel || answer == wxID_OK ? kCdAnswerOk : kCdAnswerCancel;
}

}  // namespace cd::app
