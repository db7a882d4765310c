// The breadth-first directory walk: records of one extent become entries, then each listed folder
// is read in turn. Every directory extent is walked at most once, so a folder that names itself
// or an ancestor cannot make the walk run on.
#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <unordered_set>
#include <vector>

#include "cdengine/directory_pieces.h"
#include "cdengine/directory_record.h"
#include "cdengine/log_time.h"
#include "cdengine/volume_reading.h"
#include "platform/byte_reader.h"

namespace cd {

namespace {

// Sectors of BYTE_LENGTH bytes at EXTENT that a medium of MEDIUM sectors holds.
std::uint32_t SectorsWithin(std::uint64_t medium, std::uint32_t extent, std::uint64_t byteLength) {
  const std::uint64_t sectors = (byteLength + kSectorSize - 1) / kSectorSize;
  const std::uint64_t room = extent < medium ? medium - extent : 0;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>({sectors, room, kMaxDirectorySectors}));
}

}  // namespace

std::uint32_t SectorsToRead(const CCDReader& reader, std::uint32_t extent, std::uint64_t byteLength) {
  return SectorsWithin(reader.MediumSectors(), extent, byteLength);
}

int FindDirEntry(CCDReader& reader, std::uint32_t extent, const std::string& name, bool countOnly) {
  if (countOnly) {
    reader.cursor = 0;
    return static_cast<int>(reader.listed);
  }
  for (std::size_t i = 0; i < reader.entries.size(); ++i) {
    if (reader.entries[i].extent == extent && reader.entries[i].name == name) {
      reader.cursor = i;
      return 1;
    }
  }
  reader.cursor = 0;
  return 0;
}

bool IsDirectoryVisited(const CCDReader& reader, std::uint32_t extent, const std::string& name) {
  for (const auto& v : reader.visitedDirs) {
    if (v.extent == extent && v.name == name) return true;
  }
  return false;
}

void ReadFolderDateAndSize(CCDReader& reader) {
  if (reader.newest >= reader.entries.size()) return;
  DirEntryNode& node = reader.entries[reader.newest];
  std::vector<std::uint8_t> buffer(kSectorSize, 0);
  std::uint32_t got = 0;
  node.size = 0;
  std::fill(std::begin(node.date), std::end(node.date), 0);
  node.folderSize = 0;
  if (!reader.ReadSectors(node.extent, 1, buffer, got)) return;
  platform::ByteReader r(buffer.data(), got);
  for (std::size_t i = 0; i < dirrec::kDateLength; ++i) node.date[i] = r.U8(dirrec::kDate + i);
  node.folderSize = r.Le32(dirrec::kDataLength);
}

namespace {

void WriteRow(CCDReader& reader, const char* activity, const char* text, const std::string& status, CdLogIcon icon) {
  CdAppState& app = *reader.app;
  app.rowActivity = activity != nullptr ? activity : "";
  app.rowText = text;
  app.rowStatus = status;
  reader.frame->AddLogEntry(activity, text, status.c_str(), icon);
}

struct Walk {
  CCDReader& reader;
  bool joliet;
  std::uint32_t entryNumber;
  std::uint32_t parentKey = 0;
  // The newest entry is a file whose records so far carried the multi-extent flag: its further
  // extents follow in the next records of the same name, and it is handed on after its last.
  bool pendingSections = false;
  // Folders a path table listed before the walk: their records in their parents are not listed again.
  std::set<std::pair<std::uint32_t, std::string>> listedFromTable;

  void HandOn() {
    pendingSections = false;
    ++entryNumber;
    const DirEntryNode& added = reader.entries[reader.newest];
    reader.frame->StepProgress(entryNumber, added.type, added.name.c_str(), added.parentKey, added.name.size(),
                               added.extent);
    if (reader.newest + 1 == reader.entries.size() && reader.entries.back().type == kTypeFile) {
      reader.entries.pop_back();
    }
  }

  // A further extent of the pending file; false when the record is not one (a damaged file ends
  // with the extents it has).
  bool JoinSection(bool folder, const std::string& name, std::uint32_t extent, std::uint32_t length, bool more) {
    DirEntryNode& file = reader.entries[reader.newest];
    if (folder || name != file.name) return false;
    if (file.sections.empty()) file.sections.push_back({file.extent, static_cast<std::uint32_t>(file.size)});
    file.sections.push_back({extent, length});
    file.size += length;
    reader.totalBytes += length;
    if (!more) HandOn();
    return true;
  }

  void AddRecord(std::span<const std::uint8_t> record) {
    platform::ByteReader r(record);
    const std::size_t nameLength = r.U8(dirrec::kNameLength);
    if (nameLength == 0) return;
    const std::uint8_t flags = r.U8(dirrec::kFlags);
    const bool folder = (flags & dirrec::kFlagDirectory) != 0;
    const bool moreSections = !folder && (flags & dirrec::kFlagMultiExtent) != 0;
    if (!reader.nameKindSettled) {
      // Joliet names are UCS-2: the high byte of each character of a Latin name is 0.
      const std::size_t looked = (nameLength + 1) / 2;
      joliet = r.U8(dirrec::kName + 2 * (looked - 1)) == 0 && r.Has(dirrec::kName + 2 * (looked - 1), 1);
      reader.nameKindSettled = 1;
    }
    std::string name = ConvertRecordName(record.data() + dirrec::kName, nameLength, joliet, folder);
    const std::uint32_t dataLength = r.Le32(dirrec::kDataLength);
    const std::uint32_t extent = r.Le32(dirrec::kExtent);
    if (folder && !listedFromTable.empty() && listedFromTable.count({extent, name}) != 0) return;
    if (pendingSections) {
      if (JoinSection(folder, name, extent, dataLength, moreSections)) return;
      HandOn();
    }
    DirEntryNode node;
    node.name = std::move(name);
    node.type = folder ? kTypeFolder : kTypeFile;
    for (std::size_t i = 0; i < dirrec::kDateLength; ++i) node.date[i] = r.U8(dirrec::kDate + i);
    if (folder) {
      node.folderSize = dataLength;
      ++reader.foldersCounted;
    } else {
      node.size = dataLength;
      reader.totalBytes += dataLength;
      ++reader.filesCounted;
    }
    node.parentKey = parentKey;
    node.extent = extent;
    if (reader.ListEntry(std::move(node))) {
      reader.cursor = 0;
      reader.frame->StartProgress();
      reader.frame->AttachPanes();
    }
    if (moreSections) {
      pendingSections = true;
      return;
    }
    HandOn();
  }

  // Walks the directory whose first piece PIECES holds, reading the rest as it goes, sector by
  // sector: the fill of a sector that was not read ends that sector only. A directory's every
  // sector begins with a record, and its first with its "." record naming its own extent; a sector
  // read that does not (zeroed, overwritten) is counted with the lost ones.
  void WalkDirectory(DirectoryPieces& pieces) {
    const auto visit = [this](std::span<const std::uint8_t> rec) { AddRecord(rec); };
    do {
      const std::span<const std::uint8_t> piece = pieces.Piece();
      for (std::size_t i = 0; i * kSectorSize < piece.size(); ++i) {
        const std::span<const std::uint8_t> sector = piece.subspan(i * kSectorSize, kSectorSize);
        const bool first = pieces.First() && i == 0;
        if (!pieces.SectorRead(i)) {
          if (pendingSections) HandOn();
          continue;
        }
        const platform::ByteReader r(sector);
        const bool damaged = first ? r.U8(dirrec::kLength) < dirrec::kMinLength || r.Le32(dirrec::kExtent) != pieces.Extent()
                                   : r.U8(dirrec::kLength) == 0 || IsFillAt(sector, 0);
        if (damaged) ++reader.folderSectorsLost;
        WalkRecords(sector, first ? FirstRealRecord(sector) : 0, visit);
      }
    } while (pieces.ReadNext());
    if (pendingSections) HandOn();  // the directory ended before the file's last extent
  }
};

// A folder whose length runs past the end of the medium is read as far as the medium holds it,
// and says so.
void ReportCutFolder(CCDReader& reader, const std::string& name, std::uint32_t extent, std::uint64_t byteLength,
                     std::uint32_t sectors) {
  if (static_cast<std::uint64_t>(sectors) * kSectorSize >= byteLength) return;
  const std::string text = "Folder " + name + " runs past the end of the CDROM";
  char status[64];
  std::snprintf(status, sizeof status, "Folder read to sector %llu",
                static_cast<unsigned long long>(extent) + sectors);
  WriteRow(reader, nullptr, text.c_str(), status, kCdIconError);
  reader.app->logHasRows = 1;
}

}  // namespace

void EndTreeWalk(CCDReader& reader, std::uint32_t entries) {
  CdAppState& app = *reader.app;
  reader.treeWalkEnded = true;
  WriteRow(reader, nullptr, "Process completed ",
           FormatLogTime("Completed %s, %s %d %d at %d-%d-%d", app.weekday, app.month, CdNowUtc()), kCdIconDone);
  app.logHasRows = 1;
  reader.frame->EndProgress(entries + 1);
  reader.cursor = reader.newest = 0;
}

bool WalkDirectoryRecords(CCDReader& reader, int fromList, bool isJoliet, std::uint32_t firstNumber,
                          std::uint32_t extent, std::uint32_t byteLength, bool final) {
  CdAppState& app = *reader.app;
  CdFrame& frame = *reader.frame;
  const CdTime start = CdNowUtc();
  app.weekday = WeekdayName(start.weekday);
  app.month = MonthName(start.month);
  app.rowActivity.clear();
  app.rowText.clear();
  app.rowStatus.clear();
  WriteRow(reader, "Creating directory tree", "Process started",
           FormatLogTime("Started %s, %s %d %d at %d-%d-%d", app.weekday, app.month, start), kCdIconOk);

  Walk walk{reader, isJoliet, 0, 0, false, {}};
  for (const ScannedDirNode& v : reader.visitedDirs) walk.listedFromTable.emplace(v.extent, v.name);
  DirectoryPieces pieces(reader);
  std::unordered_set<std::uint32_t> walked;
  // A disc holds each directory sector once; folders whose extents overlap (a crafted disc) could
  // make the walk read the medium over and over, so one walk reads at most the medium's sectors.
  const std::uint64_t medium = reader.MediumSectors();
  std::uint64_t sectorsLeft = medium;
  if (!fromList) {
    reader.FreeEntryList();
    const std::uint32_t sectors = SectorsToRead(reader, extent, byteLength);
    if (sectors == 0 || !pieces.Start(extent, sectors, kFillByte, "Root")) return false;
    ReportCutFolder(reader, "Root", extent, byteLength, sectors);
    walked.insert(extent);
    sectorsLeft -= std::min<std::uint64_t>(sectorsLeft, sectors);
  } else {
    walk.entryNumber = firstNumber;
  }

  bool aborted = false;
  bool firstFolder = true;
  bool haveBuffer = !fromList;
  for (;;) {
    if (frame.stopFlag && !app.imageOpening) {
      aborted = true;
      break;
    }
    if (haveBuffer) walk.WalkDirectory(pieces);
    haveBuffer = false;
    // The next folder of the list: the cursor itself the first time, afterwards the node after it.
    std::size_t i = firstFolder ? reader.cursor : reader.cursor + 1;
    while (i < reader.entries.size() && reader.entries[i].type != kTypeFolder) ++i;
    if (fromList && firstFolder) {
      while (i < reader.entries.size() &&
             !(reader.entries[i].type == kTypeFolder &&
               IsDirectoryVisited(reader, reader.entries[i].extent, reader.entries[i].name))) {
        ++i;
      }
    }
    firstFolder = false;
    if (i >= reader.entries.size()) break;
    reader.cursor = i;
    const DirEntryNode folder = reader.entries[i];
    reader.currentDirectoryExtent = folder.extent;
    walk.parentKey = folder.extent;
    if (!walked.insert(folder.extent).second) continue;
    if (reader.treeView != nullptr) reader.treeView->ExpandRoot(0);
    const std::uint32_t within = SectorsWithin(medium, folder.extent, folder.folderSize);
    const auto sectors = static_cast<std::uint32_t>(std::min<std::uint64_t>(within, sectorsLeft));
    if (sectors == 0) continue;
    ReportCutFolder(reader, folder.name, folder.extent, folder.folderSize, within);
    sectorsLeft -= sectors;
    if (!pieces.Start(folder.extent, sectors, 0, folder.name)) continue;
    haveBuffer = true;
  }

  if (aborted) {
    reader.walkAborted = true;
    reader.treeWalkEnded = true;
    WriteRow(reader, nullptr, "Process aborted, user intervention ",
             FormatLogTime("Aborted %s, %s %d %d at %d-%d-%d", app.weekday, app.month, CdNowUtc()), kCdIconError);
    reader.cursor = reader.newest = 0;
    frame.EndProgress(0);
    app.logHasRows = 1;
  } else if (final) {
    EndTreeWalk(reader, walk.entryNumber);
  }
  frame.stopFlag = 0;
  frame.stepsAfterStop = 0;
  reader.foldersCounted = 0;
  reader.filesCounted = 0;
  return true;
}

}  // namespace cd
