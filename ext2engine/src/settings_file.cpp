// Reading and writing "Velnora.cfg".
#include "ext2engine/settings_file.h"

#include <unistd.h>

#include <cstdio>
#include <vector>

#include "ext2engine/app_state.h"

std::string SettingsPathInCurrentDirectory() {
  std::vector<char> dir(4096);
  if (::getcwd(dir.data(), dir.size()) == nullptr) return kSettingsFileName;
  return std::string(dir.data()) + "/" + kSettingsFileName;
}

const std::string& SettingsPath() {
  static const std::string path = SettingsPathInCurrentDirectory();
  return path;
}

void ReadSettings(const std::string& path, AppFields& state) {
  state.readRetryCount = 3;
  state.readMode = 1;
  // "rb+" as the program always did: a read-only file is not taken.
  std::FILE* f = std::fopen(path.c_str(), "rb+");
  if (f == nullptr) return;
  unsigned char bytes[2] = {};
  std::size_t got = std::fread(bytes, 1, 2, f);
  std::fclose(f);
  if (got < 2) return;
  state.readRetryCount = bytes[0] > 6 ? 3 : bytes[0];
  state.readMode = bytes[1];
}

bool WriteSettings(const std::string& path, std::uint8_t retries, bool sectorAtATime) {
  unsigned char bytes[kSettingsFileSize] = {};
  bytes[0] = retries > 6 ? 3 : retries;
  bytes[1] = sectorAtATime ? 1 : 0;
  std::FILE* f = std::fopen(path.c_str(), "wb+");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes, 1, sizeof bytes, f) == sizeof bytes;
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}
