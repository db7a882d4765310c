// The program-wide state object.
#include "ext2engine/app_state.h"

#include "ext2engine/linux_drive.h"

namespace ext2 {

AppState::AppState() = default;
AppState::~AppState() = default;

void AppState::Reset() {
  if (currentDrive) currentDrive->ClearLists();
  currentDrive.reset();
  static_cast<AppFields&>(*this) = AppFields{};
}

void FileMaskCriteria::ResetKeepingTimeChoice() {
  const int c = created, a = accessed, m = modified;
  *this = FileMaskCriteria{};
  created = c;
  accessed = a;
  modified = m;
}

AppState& App() {
  static AppState state;
  return state;
}

}  // namespace ext2
