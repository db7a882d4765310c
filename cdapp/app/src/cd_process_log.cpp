// The process-log pane's look.
#include "cd_process_log.h"

#include "cd_images.h"

namespace cd::app {

using namespace cd::core;

controls::LogPaneLook ProcessLogLook() {
  controls::LogPaneLook look;
  look.listId = 1001;
  look.columns = {{"Type", 200}, {"Text", 500}, {"Status", 400}};
  for (int i = 0; i < 3; ++i) look.icons.push_back(CdLogIcon(i));
  return look;
}

}  // namespace cd::app
