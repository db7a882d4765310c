// The message pump of long processes.
#include "controls/wx/message_pump.h"

#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/evtloop.h>

#include <memory>

namespace controls {

int MessagePump::Pump() {
  const auto now = std::chrono::steady_clock::now();
  if (now - last_ < kInterval) return 1;
  std::unique_ptr<wxEventLoopBase> own;
  std::unique_ptr<wxEventLoopActivator> active;
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  if (loop == nullptr) {
    own.reset(wxTheApp != nullptr ? wxTheApp->GetTraits()->CreateEventLoop() : nullptr);
    if (!own) return 1;
    active = std::make_unique<wxEventLoopActivator>(own.get());
    loop = own.get();
  }
  while (loop->Pending()) {
    if (!loop->Dispatch()) return 0;
  }
  if (wxTheApp != nullptr) wxTheApp->ProcessPendingEvents();
  last_ = std::chrono::steady_clock::now();
  return 1;
}

}  // namespace controls
