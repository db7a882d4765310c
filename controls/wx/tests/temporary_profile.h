// A home folder and a program-wide profile of the test's own while it lives: the profile is a
// file in that home, put in place as the program's start does, and the old ones come back after.
#pragma once

#include <wx/config.h>
#include <wx/fileconf.h>

#include <filesystem>

#include "temporary_home.h"

namespace guitest {

class TemporaryProfile {
 public:
  TemporaryProfile()
      : old_(wxConfigBase::Set(new wxFileConfig(wxEmptyString, wxEmptyString, (home_.Path() / ".profile").string(),
                                                wxEmptyString, wxCONFIG_USE_LOCAL_FILE))) {}
  ~TemporaryProfile() { delete wxConfigBase::Set(old_); }
  TemporaryProfile(const TemporaryProfile&) = delete;
  TemporaryProfile& operator=(const TemporaryProfile&) = delete;
  const std::filesystem::path& Home() const { return home_.Path(); }
  wxConfigBase& Profile() const { return *wxConfigBase::Get(false); }

 private:
  TemporaryHome home_;  // first: the profile lives in it
  wxConfigBase* old_ = nullptr;
};

}  // namespace guitest
