// The message pump of long processes: they run inside a command handler on the window thread and
// call Pump between units of work, so that the window repaints and Stop can arrive.
#pragma once

#include <chrono>

namespace controls {

class MessagePump {
 public:
  // The least time between two looks at the queue.
  static constexpr std::chrono::milliseconds kInterval{5};
  // The most time one call spends dispatching, so that a stream of events (a window dragged over
  // the frame) still leaves the process its turns.
  static constexpr std::chrono::milliseconds kMostDispatching{50};

  // Dispatches every waiting event, at most once in a few milliseconds (looking at the queue costs
  // a round over the toolkit's event sources, and loops call this after every entry). Before the
  // main loop runs (a command started from start-up or a test) a loop of its own stands in for it.
  // It works the same inside a command that showed modal dialogs (the folder chooser, a caution)
  // before its process started, and inside one that a dialog's own handler runs. Returns 1, or 0
  // when there is no application to dispatch for. No idle processing runs inside it.
  int Pump();

 private:
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace controls
