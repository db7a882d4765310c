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
  if (wxTheApp == nullptr) return 0;
  std::unique_ptr<wxEventLoopBase> own;
  std::unique_ptr<wxEventLoopActivator> active;
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  if (loop == nullptr) {
    own.reset(wxTheApp->GetTraits()->CreateEventLoop());
    if (!own) return 0;
    active = std::make_unique<wxEventLoopActivator>(own.get());
    loop = own.get();
  }
  // Dispatch's result is no quit request here: on GTK it reports one whenever the toolkit's
  // innermost loop has been told to quit, and a modal loop that ends tells its enclosing loop so,
  // which stays told until the command that showed the dialog returns. The event is dispatched
  // all the same.
  const auto budget = now + kMostDispatching;
  while (loop->Pending() && std::chrono::steady_clock::now() < budget) loop->Dispatch();
  wxTheApp->ProcessPendingEvents();
  last_ = std::chrono::steady_clock::now();
  return 1;
}

}  // namespace controls
