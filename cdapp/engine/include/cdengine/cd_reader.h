// The CD engine object: the shared device, the chosen volume, the entry list and the lists of the
// raw scans and the File Filter, with the two read primitives every other part reads through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "cdengine/app_state.h"
#include "cdengine/cd_records.h"
#include "cdengine/ports.h"
#include "platform/sector_device.h"

namespace cd {

inline constexpr std::uint32_t kSectorSize = 2048;
inline constexpr std::uint8_t kFillByte = 0xF6;
inline constexpr int kReadAttempts = 3;

struct CCDReader {
  // Wires the reader to the program's state and frame; the views are fetched from the frame.
  CCDReader(CdAppState& appState, CdFrame* mainFrame) : app(&appState), frame(mainFrame) {}

  std::uint32_t currentDirectoryExtent = 0;
  std::uint32_t volumeSpaceSize = 0;
  std::vector<std::string> drivePaths;
  std::uint8_t selectedDrive = 0;
  std::uint32_t foldersCounted = 0, filesCounted = 0;
  std::uint64_t totalBytes = 0;  // a disc holds more than 4 GiB
  std::uint32_t nameKindSettled = 0;
  bool walkAborted = false;  // the user stopped a directory walk of the scan
  bool scanStopped = false;  // the user stopped a raw scan of the scan
  bool treeWalkEnded = false;  // a walk of the tree wrote its completion or abort row
  std::string recoveredFilePath;
  std::unique_ptr<VolumeInfo> volumeInfo;

  CdAppState* app;
  CdFrame* frame;
  CdTreeViewPort* treeView = nullptr;
  CdListViewPort* listView = nullptr;

  // The entry list, in arrival order: every folder listed, and a file until the tree view has it
  // (the tree view's node list holds every entry; a second copy of each file would double what a
  // scan of a large disc keeps). The cursor and newest are indexes into it. A deque grows without
  // moving what it holds.
  std::deque<DirEntryNode> entries;
  std::size_t listed = 0;  // entries listed since the list was freed, dropped files too
  std::size_t cursor = 0;
  std::size_t newest = 0;
  const DirEntryNode* Newest() const { return newest < entries.size() ? &entries[newest] : nullptr; }
  // Appends ENTRY as the newest; true when it is the first listed since the list was freed.
  bool ListEntry(DirEntryNode entry) {
    entries.push_back(std::move(entry));
    newest = entries.size() - 1;
    return listed++ == 0;
  }
  void FreeEntryList() {
    entries.clear();
    listed = 0;
    cursor = newest = 0;
  }

  std::vector<std::string> filterPatterns;
  std::uint32_t filesSaved = 0, foldersSaved = 0;
  std::uint32_t mediaLockTaken = 0;
  std::uint8_t failedReads = 0, shortReads = 0;
  std::uint64_t readOffset = 0;
  std::uint32_t discReadable = 0;
  std::uint8_t jolietPathTableRuns = 0;
  std::uint32_t rawScansUsed = 0;
  std::uint32_t directorySectorsFound = 0;
  // Directory sectors the walks could not read, or read holding no records where records must be.
  std::uint32_t folderSectorsLost = 0;
  std::vector<PathTableRun> pathTableRuns;
  std::size_t pathTableCursor = 0;
  std::vector<DirSectorRun> dirSectorRuns;
  std::size_t dirSectorCursor = 0;
  std::vector<ScannedDirNode> visitedDirs;
  std::vector<std::string> fileMaskPatterns;

  // The shared device: the CD drive in use or an opened image file; null before any open.
  std::unique_ptr<platform::SectorDevice> device;
  // True while an opened image file is the device, until the drive is opened again.
  bool imageIsDevice = false;
  // How a path becomes a device; tests put fault-injecting devices behind it.
  std::function<std::unique_ptr<platform::SectorDevice>(const std::string&)> openDevice = platform::OpenSectorDevice;

  // Reads COUNT whole sectors from SECTOR, or exactly EXACT_BYTES from its start when USE_EXACT.
  // Three attempts; true when the last attempt succeeded; BYTES_READ is that attempt's count.
  // The request never exceeds BUFFER: a larger one is cut to the buffer.
  bool ReadSectors(std::uint32_t sector, std::uint32_t count, std::span<std::uint8_t> buffer, std::uint32_t& bytesRead,
                   std::uint32_t exactBytes = 0, bool useExact = false);
  // Mode 1 reads LENGTH bytes at OFFSET; any other mode reads LENGTH bytes from 2048 bytes before
  // the end of the device (the image trailer).
  bool ReadBytes(std::uint64_t offset, std::uint32_t length, int mode, std::span<std::uint8_t> buffer,
                 std::uint32_t& bytesRead);
  // Reads LENGTH bytes at OFFSET in a single attempt: a run of a file is tried once, and only
  // when it fails or comes short are its sectors read one by one with the retries.
  bool ReadBytesOnce(std::uint64_t offset, std::uint32_t length, std::span<std::uint8_t> buffer,
                     std::uint32_t& bytesRead);
  // Sectors of the medium, or the largest sector number when its size is unknown.
  std::uint64_t MediumSectors() const;

  // Long reads (a large file, a raw scan) call this after each sector they read, or after each run
  // with its SECTORS: every MiB it lets the window pump its messages, so that it repaints and Stop
  // arrives. True once Stop was given.
  bool PumpWhileReading(std::uint32_t sectors = 1);
  std::uint32_t sectorsSincePump = 0;
};

}  // namespace cd
