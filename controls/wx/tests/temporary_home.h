// A home folder of the test's own while it lives: HOME points at a fresh folder, removed after,
// and the old HOME comes back.
#pragma once

#include <stdlib.h>
#include <wx/utils.h>

#include <filesystem>

namespace guitest {

class TemporaryHome {
 public:
  TemporaryHome() {
    char pattern[] = "/tmp/qv-home-XXXXXX";
    path_ = mkdtemp(pattern);
    wxGetEnv("HOME", &old_);
    wxSetEnv("HOME", path_.string());
  }
  ~TemporaryHome() {
    wxSetEnv("HOME", old_);
    std::filesystem::remove_all(path_);
  }
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  wxString old_;
};

}  // namespace guitest
