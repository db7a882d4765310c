// A home folder and a program-wide profile of the test's own while it lives: the profile is a
// file in that home, put in place as the program's start does, and the old ones come back after.
#pragma once

#include <stdlib.h>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/utils.h>

#include <filesystem>

namespace guitest {

class TemporaryProfile {
 public:
  TemporaryProfile() {
    char pattern[] = "/tmp/qv-profile-XXXXXX";
    home_ = mkdtemp(pattern);
    wxGetEnv("HOME", &oldHome_);
    wxSetEnv("HOME", home_.string());
    old_ = wxConfigBase::Set(new wxFileConfig(wxEmptyString, wxEmptyString, (home_ / ".profile").string(),
                                              wxEmptyString, wxCONFIG_USE_LOCAL_FILE));
  }
  ~TemporaryProfile() {
    delete wxConfigBase::Set(old_);
    wxSetEnv("HOME", oldHome_);
    std::filesystem::remove_all(home_);
  }
  const std::filesystem::path& Home() const { return home_; }
  wxConfigBase& Profile() const { return *wxConfigBase::Get(false); }

 private:
  std::filesystem::path home_;
  wxString oldHome_;
  wxConfigBase* old_ = nullptr;
};

}  // namespace guitest
