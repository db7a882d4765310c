// Files of a window test's work folder: written whole, read back whole, and every file below a
// folder with its bytes (what a recovery left there).
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace guitest {

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

inline void WriteFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The files below ROOT by relative path with their bytes; none when ROOT is not there.
inline std::map<std::string, std::string> Files(const fs::path& root) {
  std::map<std::string, std::string> out;
  if (!fs::exists(root)) return out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) out[fs::relative(e.path(), root).string()] = ReadFile(e.path());
  }
  return out;
}

}  // namespace guitest
