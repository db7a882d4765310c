// The message-log pane's look.
#include "message_log.h"

#include "app_images.h"

namespace ext2::app {

using namespace ext2::core;

controls::LogPaneLook MessageLogLook() {
  controls::LogPaneLook look;
  look.listId = 1008;
  look.columns = {{"Activity", 192}, {"Text", 300}, {"Status", 400}};
  for (int i = 0; i <= 6; ++i) look.icons.push_back(LogIcon(i));
  look.border = 5;
  look.firstScrolledRow = 7;
  return look;
}

}  // namespace ext2::app
