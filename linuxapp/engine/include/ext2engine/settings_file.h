// The settings file "Velnora.cfg": byte 0 the read-retry count, byte 1 the read mode, 260 bytes written.
#pragma once

#include <cstdint>
#include <string>

namespace ext2 {

constexpr const char* kSettingsFileName = "Velnora.cfg";
constexpr std::size_t kSettingsFileSize = 260;

// "<dir>/Velnora.cfg" for the current directory. The program fixes it once at start-up, so that
// later changes of the current directory (file dialogs, recovery) read and write the same file.
std::string SettingsPathInCurrentDirectory();
// The path of the program's settings file: SettingsPathInCurrentDirectory() as it was at the first
// call (the program makes that call at start-up).
const std::string& SettingsPath();

// Reads the two bytes into STATE: a file that cannot be opened for reading and updating, is not a
// regular file (a FIFO is not waited on), or is shorter than two bytes, gives 3 attempts and
// sector-at-a-time reading; a count above 6 reads as 3.
struct AppFields;
void ReadSettings(const std::string& path, AppFields& state);

// Writes the 260-byte layout (a count above 6 is stored as 3) to a new file renamed over PATH, so
// that a symbolic link at PATH is replaced and its target left alone. False when the file cannot
// be written; the old one then stays.
bool WriteSettings(const std::string& path, std::uint8_t retries, bool sectorAtATime);

}  // namespace ext2
