// The application object of CD: the shared start with CD's own values.
#include "cd_start_up.h"

namespace cd::app {

class CCDApp : public controls::CProgramApp {
 public:
  CCDApp() : CProgramApp(StartUp()) {}
};

}  // namespace cd::app

wxIMPLEMENT_APP(cd::app::CCDApp);
