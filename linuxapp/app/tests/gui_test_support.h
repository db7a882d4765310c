// Helpers shared by the window tests: pumping events, answering list dialogs, reading files back.
#pragma once

#include <wx/app.h>
#include <wx/testing.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>

namespace guitest {

namespace fs = std::filesystem;

// Chooses ROW in a list dialog and presses OK.
template <class T>
class ExpectRow : public wxExpectModalBase<T, ExpectRow<T>> {
 public:
  explicit ExpectRow(int row) : row_(row) {}

 protected:
  int OnInvoked(T* dlg) const override {
    dlg->SelectRow(row_);
    return wxID_OK;
  }

 private:
  int row_;
};

// Handles the events that arrive within about MS milliseconds.
inline void PumpFor(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < end);
}

inline void Pump() { PumpFor(100); }

inline std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

inline void WriteFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The files below ROOT by relative path with their bytes.
inline std::map<std::string, std::string> Files(const fs::path& root) {
  std::map<std::string, std::string> out;
  if (!fs::exists(root)) return out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) out[fs::relative(e.path(), root).string()] = ReadFile(e.path());
  }
  return out;
}

}  // namespace guitest
