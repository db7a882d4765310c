// Path tables and the raw scans for sectors that begin a path table or a directory. Every scan
// stops at the end of the medium; every record is read only where it lies inside the buffer.
#include "cdengine/path_tables.h"

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "cdengine/directory_record.h"
#include "cdengine/volume_reading.h"
#include "platform/byte_reader.h"

namespace cd {

namespace {

constexpr std::uint32_t kMaxScannedTableSectors = 1024;
constexpr std::uint64_t kScanReadsPerSector = 4;
constexpr std::size_t kTableMinEnd = 50;
constexpr int kTablesToFind = 4;

// A field of a path-table record in the table's byte order.
std::uint16_t TableU16(const platform::ByteReader& table, PathTableType type, std::size_t at) {
  return type == PathTableType::L ? table.Le16(at) : table.Be16(at);
}
std::uint32_t TableU32(const platform::ByteReader& table, PathTableType type, std::size_t at) {
  return type == PathTableType::L ? table.Le32(at) : table.Be32(at);
}

std::size_t PathRecordLength(std::size_t nameLength) { return ptrec::kName + nameLength + (nameLength & 1); }

// Reads sector S into a fresh 0xF6-filled buffer. 1 read with bytes, 0 delivered no bytes, -1 failed.
// The raw scans read the medium sector by sector through it: Stop ends them as the medium's end does.
int ReadOne(CCDReader& reader, std::uint32_t s, std::vector<std::uint8_t>& sector, std::uint32_t& got) {
  sector.assign(kSectorSize, kFillByte);
  if (reader.PumpWhileReading() && !reader.app->imageOpening) {
    reader.scanStopped = true;
    got = 0;
    return 0;
  }
  if (!reader.ReadSectors(s, 1, sector, got)) return -1;
  return got == 0 ? 0 : 1;
}

}  // namespace

std::vector<PathTableFolder> ParsePathTable(std::span<const std::uint8_t> buffer, PathTableType type, bool joliet) {
  std::vector<PathTableFolder> folders;
  const platform::ByteReader table(buffer);
  for (std::size_t pos = 0; table.Has(pos, ptrec::kName);) {
    const std::size_t nameLength = table.U8(pos + ptrec::kNameLength);
    // A zero length ends the table; the fill of a sector that did not read ends what can be read.
    if (nameLength == 0 || (nameLength == kFillByte && IsFillAt(buffer, pos))) break;
    if (!table.Has(pos + ptrec::kName, nameLength)) break;
    const std::uint8_t* name = table.data() + pos + ptrec::kName;
    PathTableFolder folder;
    folder.name = joliet ? Ucs2BeToUtf8(name, nameLength) : std::string(reinterpret_cast<const char*>(name), nameLength);
    folder.extent = TableU32(table, type, pos + ptrec::kExtent);
    folder.parent = TableU16(table, type, pos + ptrec::kParent);
    folders.push_back(std::move(folder));
    pos += PathRecordLength(nameLength);
  }
  return folders;
}

namespace {

// Lists the folder of a path table as a folder node with its date and size from its "." record.
void ListPathTableFolder(CCDReader& reader, const std::string& name, std::uint32_t extent, std::uint32_t parentKey,
                         std::uint32_t& entryNumber, bool fromTable) {
  DirEntryNode node;
  node.type = kTypeFolder;
  node.name = name;
  node.extent = extent;
  node.parentKey = parentKey;
  const bool first = reader.ListEntry(std::move(node));
  if (fromTable) reader.visitedDirs.push_back({name, extent});
  if (first) {
    reader.cursor = 0;
    reader.frame->StartProgress();
    reader.frame->AttachPanes();
  }
  if (fromTable) ReadFolderDateAndSize(reader);
  ++entryNumber;
  reader.frame->StepProgress(entryNumber, kTypeFolder, name.c_str(), parentKey, name.size(), extent);
}

}  // namespace

void ListPathTableFolders(CCDReader& reader, const std::vector<PathTableFolder>& folders, bool freshList,
                          std::uint32_t& entryNumber) {
  // The folders already listed, by extent and name.
  std::set<std::pair<std::uint32_t, std::string>> listed;
  if (!freshList) {
    for (const DirEntryNode& e : reader.entries) {
      if (e.type == kTypeFolder) listed.emplace(e.extent, e.name);
    }
  }
  // The tree key of each folder of the table once it is in the tree: the root's children hang on
  // key 0. A table lists a folder after its parent; a record whose parent is not listed before it
  // (a table read in part, a damaged one) goes below the lost folders.
  std::vector<std::optional<std::uint32_t>> keys(folders.size());
  if (!folders.empty()) keys[0] = 0;
  bool lostListed = false;
  for (std::size_t i = 1; i < folders.size(); ++i) {
    const PathTableFolder& f = folders[i];
    if (f.name.empty()) continue;
    if (listed.count({f.extent, f.name}) != 0) {
      keys[i] = f.extent;
      continue;
    }
    std::uint32_t parentKey = kLostFoldersKey;
    if (f.parent >= 1 && f.parent <= i && keys[f.parent - 1]) {
      parentKey = *keys[f.parent - 1];
    } else if (!lostListed) {
      lostListed = true;
      if (listed.count({kLostFoldersKey, kLostFoldersName}) == 0) {
        ListPathTableFolder(reader, kLostFoldersName, kLostFoldersKey, 0, entryNumber, false);
        listed.emplace(kLostFoldersKey, kLostFoldersName);
        const std::string text = std::string("Folders whose parent is not known are listed in ") + kLostFoldersName;
        reader.frame->AddLogEntry(nullptr, text.c_str(), "Path table damaged", kCdIconError);
        reader.app->logHasRows = 1;
      }
    }
    ListPathTableFolder(reader, f.name, f.extent, parentKey, entryNumber, true);
    listed.emplace(f.extent, f.name);
    keys[i] = f.extent;
  }
}

void ReadPathTableTree(CCDReader& reader, bool freshList, bool walkAfter, bool isJoliet,
                       std::optional<NameKind> onlyNameKind, bool finalWalk) {
  std::uint32_t entryNumber = 0;
  if (freshList) {
    reader.FreeEntryList();
  } else {
    entryNumber = static_cast<std::uint32_t>(FindDirEntry(reader, 0, std::string(), true));
  }
  std::size_t runIndex = 0;
  while (runIndex < reader.pathTableRuns.size()) {
    // Choose a run that reads.
    const PathTableRun* run = nullptr;
    std::vector<std::uint8_t> buffer;
    for (; runIndex < reader.pathTableRuns.size(); ++runIndex) {
      const PathTableRun& candidate = reader.pathTableRuns[runIndex];
      if (onlyNameKind && candidate.nameKind != *onlyNameKind) continue;
      const std::uint32_t sectors = SectorsToRead(reader, candidate.firstSector,
                                                  static_cast<std::uint64_t>(candidate.sectorCount) * kSectorSize);
      if (sectors == 0) continue;
      buffer.assign(static_cast<std::size_t>(sectors) * kSectorSize, kFillByte);
      std::uint32_t got = 0;
      if (!reader.ReadSectors(candidate.firstSector, sectors, buffer, got)) continue;
      // After the raw scans only a Joliet run is taken, and walked when it read whole or is the
      // only one.
      if (reader.rawScansUsed && !onlyNameKind) {
        if (candidate.nameKind != NameKind::Joliet) continue;
        walkAfter = got == static_cast<std::uint64_t>(candidate.sectorCount) * kSectorSize || reader.jolietPathTableRuns <= 1;
      }
      run = &candidate;
      break;
    }
    if (run == nullptr) return;
    ++runIndex;

    ListPathTableFolders(reader, ParsePathTable(buffer, run->tableType, run->nameKind == NameKind::Joliet), freshList,
                         entryNumber);
    reader.cursor = 0;
    if (!walkAfter) {
      if (reader.nameKindSettled) return;
      continue;
    }
    WalkDirectoryRecords(reader, 1, isJoliet, entryNumber, 0, 0, finalWalk);
    if (reader.rawScansUsed) reader.visitedDirs.clear();
    return;
  }
}

void ScanPathTableSectors(CCDReader& reader) {
  reader.pathTableRuns.clear();
  reader.jolietPathTableRuns = 0;
  int tablesFound = 0;
  const std::uint64_t medium = reader.MediumSectors();
  // Candidates whose records run on into later sectors read those again; a crafted disc could make
  // every sector such a candidate, so the reads of one scan are bounded by a multiple of the medium.
  std::uint64_t readsLeft = std::min<std::uint64_t>(medium, 0xFFFFFFFFull) * kScanReadsPerSector + kMaxScannedTableSectors;
  std::vector<std::uint8_t> sector;
  for (std::uint64_t s = vd::kFirstDescriptorSector; s < medium && readsLeft > 0; ++s) {
    std::uint32_t got = 0;
    --readsLeft;
    const int r = ReadOne(reader, static_cast<std::uint32_t>(s), sector, got);
    if (r < 0) continue;
    if (r == 0) break;
    platform::ByteReader first(sector);
    // The root's record: a name of one zero byte and its pad, its own parent (1, in either byte
    // order), a sector.
    if (first.U8(ptrec::kNameLength) != 1 || first.U8(ptrec::kParent) > 1 || first.U8(ptrec::kParent + 1) > 1 ||
        first.U8(ptrec::kName) != 0 || first.U8(ptrec::kName + 1) != 0 || first.Le32(ptrec::kExtent) == 0) {
      continue;
    }
    // Walk the records that follow the root's, reading on into further sectors as they run on.
    std::vector<std::uint8_t> table = sector;
    std::uint32_t spanned = 1;
    bool consistent = false, endedAtZero = false;
    std::size_t pos = ptrec::kSecondRecord;
    for (;;) {
      if (pos + ptrec::kName >= table.size() || pos + PathRecordLength(table[std::min(pos + ptrec::kNameLength, table.size() - 1)]) > table.size()) {
        // The record runs past the sectors read: read the next one, or take the table as it stands.
        std::vector<std::uint8_t> next;
        std::uint32_t more = 0;
        if (spanned >= kMaxScannedTableSectors || s + spanned >= medium || readsLeft == 0 ||
            (--readsLeft, ReadOne(reader, static_cast<std::uint32_t>(s + spanned), next, more) <= 0)) {
          consistent = true;
          break;
        }
        table.insert(table.end(), next.begin(), next.end());
        ++spanned;
        continue;
      }
      const std::uint8_t length = table[pos + ptrec::kNameLength];
      if (length == kFillByte && pos >= kTableMinEnd) {
        consistent = true;
        break;
      }
      if (length == 0) {
        // A table shorter than a few records (one of the root alone is 10 bytes) ends where the
        // rest of its sector is zero.
        consistent = pos > kTableMinEnd || std::all_of(table.begin() + static_cast<std::ptrdiff_t>(pos),
                                                       table.begin() + static_cast<std::ptrdiff_t>(kSectorSize),
                                                       [](std::uint8_t b) { return b == 0; });
        endedAtZero = consistent;
        break;
      }
      if ((length & 1) && table[pos + ptrec::kName + length] != 0) break;  // a pad byte must be zero
      pos += PathRecordLength(length);
    }
    if (!consistent) continue;
    PathTableRun run;
    run.firstSector = static_cast<std::uint32_t>(s);
    run.sectorCount = spanned;
    run.tableType = first.U8(ptrec::kParent) == 1 ? PathTableType::L : PathTableType::M;
    run.nameKind = first.U8(ptrec::kSecondRecord + ptrec::kName) == 0 ? NameKind::Joliet : NameKind::Iso9660;
    run.rootExtent = TableU32(first, run.tableType, ptrec::kExtent);
    // A table of the root alone has no name to tell its kind by; it serves as an ISO 9660 table,
    // whose root directory is then walked whole.
    if (first.U8(ptrec::kSecondRecord + ptrec::kNameLength) == 0) run.nameKind = NameKind::Iso9660;
    if (run.nameKind == NameKind::Joliet) ++reader.jolietPathTableRuns;
    reader.pathTableRuns.push_back(run);
    if (endedAtZero && ++tablesFound >= kTablesToFind) break;
  }
  reader.pathTableCursor = 0;
}

namespace {

// True when a path table names the run's first sector as its root (the Joliet and ISO 9660 roots
// are different sectors, and a table of the root alone says nothing of its kind).
bool IsTableRoot(const CCDReader& reader, const DirSectorRun& run) {
  return std::any_of(reader.pathTableRuns.begin(), reader.pathTableRuns.end(),
                     [&](const PathTableRun& t) { return t.rootExtent == run.firstSector; });
}

bool PlausibleDate(platform::ByteReader r, std::size_t pos) {
  const std::uint8_t month = r.U8(pos + dirrec::kDateMonth);
  const std::uint8_t day = r.U8(pos + dirrec::kDateDay);
  const std::uint8_t hour = r.U8(pos + dirrec::kDateHour);
  return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour <= 23;
}

}  // namespace

void ScanDirectorySectors(CCDReader& reader, std::uint32_t firstSector) {
  reader.dirSectorRuns.clear();
  const std::uint64_t medium = reader.MediumSectors();
  std::vector<std::uint8_t> sector;
  for (std::uint64_t s = firstSector; s < medium;) {
    std::uint32_t got = 0;
    const int r = ReadOne(reader, static_cast<std::uint32_t>(s), sector, got);
    if (r < 0) {
      ++s;
      continue;
    }
    if (r == 0) break;
    platform::ByteReader b(sector);
    // "." (naming the sector itself) and ".." lead the directory; either may carry a system-use
    // area after its one-byte name (Rock Ridge), so each is at least 34 bytes long.
    const std::size_t dotDot = b.U8(dirrec::kLength);
    const std::size_t firstReal = dotDot + b.U8(dotDot + dirrec::kLength);
    if (dotDot < dirrec::kMinLength || b.Le32(dirrec::kExtent) != s || b.U8(dirrec::kNameLength) != 1 ||
        b.U8(dirrec::kName) != 0 || b.U8(dotDot + dirrec::kLength) < dirrec::kMinLength ||
        b.U8(dotDot + dirrec::kNameLength) != 1 || b.U8(dotDot + dirrec::kName) != 1 ||
        b.U8(firstReal + dirrec::kLength) < dirrec::kMinLength) {
      ++s;
      continue;
    }
    // Records never cross a sector, so a sector's unused tail says nothing about where the
    // directory ends: its "." record gives its length.
    DirSectorRun run;
    run.firstSector = static_cast<std::uint32_t>(s);
    run.kind = b.U8(firstReal + dirrec::kName) == 0 ? NameKind::Joliet : NameKind::Iso9660;
    run.root = b.Le32(dotDot + dirrec::kExtent) == s;
    const std::uint64_t length = b.Le32(dirrec::kDataLength);
    const std::uint64_t wanted = std::max<std::uint64_t>(1, (length + kSectorSize - 1) / kSectorSize);
    run.sectorCount = static_cast<std::uint32_t>(std::min<std::uint64_t>({wanted, medium - s, kMaxDirectorySectors}));
    if (got == kSectorSize && run.sectorCount == wanted) {
      // The first sector's records must look like records with dates; a fill or a broken record
      // means the sector was not read as written.
      run.complete = 1;
      for (std::size_t pos = firstReal; pos < kSectorSize;) {
        const std::uint8_t recordLength = sector[pos + dirrec::kLength];
        if (recordLength == 0) break;
        if ((recordLength == kFillByte && IsFillAt(sector, pos)) || recordLength < dirrec::kMinLength ||
            pos + recordLength > kSectorSize || !PlausibleDate(b, pos)) {
          run.complete = 0;
          break;
        }
        pos += recordLength;
      }
    }
    reader.dirSectorRuns.push_back(run);
    reader.directorySectorsFound = 1;
    // The Joliet root a path table names ends the scan; without one every directory is found, so
    // that the root can be told from folders whose ".." names themselves.
    if (run.complete && run.kind == NameKind::Joliet && run.root && IsTableRoot(reader, run)) break;
    s += run.sectorCount;
  }
  reader.dirSectorCursor = 0;
}

namespace {

// The folder extents the directories of the runs of KIND list as their children.
std::set<std::uint32_t> ChildFolders(CCDReader& reader, NameKind kind) {
  std::set<std::uint32_t> children;
  std::vector<std::uint8_t> buffer;
  for (const DirSectorRun& run : reader.dirSectorRuns) {
    if (run.kind != kind) continue;
    buffer.assign(static_cast<std::size_t>(run.sectorCount) * kSectorSize, kFillByte);
    std::uint32_t got = 0;
    if (!reader.ReadSectors(run.firstSector, run.sectorCount, buffer, got)) continue;
    for (std::size_t at = 0; at < buffer.size(); at += kSectorSize) {
      const std::span<const std::uint8_t> sector(buffer.data() + at, kSectorSize);
      WalkRecords(sector, at == 0 ? FirstRealRecord(sector) : 0, [&](std::span<const std::uint8_t> record) {
        const platform::ByteReader r(record);
        if ((r.U8(dirrec::kFlags) & dirrec::kFlagDirectory) != 0) children.insert(r.Le32(dirrec::kExtent));
      });
    }
  }
  return children;
}

// The root directory among the runs of KIND: the one a path table names in its first record;
// failing that, of the runs whose "." and ".." agree, the one no directory lists as a child (a
// complete one first). Null when there is none.
const DirSectorRun* FindRootRun(CCDReader& reader, NameKind kind) {
  for (const DirSectorRun& run : reader.dirSectorRuns) {
    if (run.kind == kind && IsTableRoot(reader, run)) return &run;
  }
  std::vector<const DirSectorRun*> candidates;
  for (const DirSectorRun& run : reader.dirSectorRuns) {
    if (run.kind == kind && run.root) candidates.push_back(&run);
  }
  std::stable_partition(candidates.begin(), candidates.end(), [](const DirSectorRun* r) { return r->complete != 0; });
  if (candidates.size() <= 1) return candidates.empty() ? nullptr : candidates.front();
  const std::set<std::uint32_t> children = ChildFolders(reader, kind);
  for (const DirSectorRun* run : candidates) {
    if (children.count(run->firstSector) == 0) return run;
  }
  return candidates.front();
}

bool WalkRootRun(CCDReader& reader, const DirSectorRun* run) {
  if (run == nullptr) return false;
  reader.dirSectorCursor = static_cast<std::size_t>(run - reader.dirSectorRuns.data());
  const auto bytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(
      static_cast<std::uint64_t>(run->sectorCount) * kSectorSize, 0xFFFFFFFFull));
  WalkDirectoryRecords(reader, 0, false, 0, run->firstSector, bytes, true);
  return reader.listed != 0 || reader.walkAborted;
}

}  // namespace

void RunRawScanFallback(CCDReader& reader, FallbackForm form) {
  reader.directorySectorsFound = 0;
  // The path tables first: the root they name ends the directory scan.
  ScanPathTableSectors(reader);
  ScanDirectorySectors(reader, vd::kFirstDescriptorSector);
  reader.pathTableCursor = 0;
  reader.dirSectorCursor = 0;
  // The Joliet root; without one the ISO 9660 tree, from its path tables or its root directory.
  if (WalkRootRun(reader, FindRootRun(reader, NameKind::Joliet))) return;
  const bool isoTables = std::any_of(reader.pathTableRuns.begin(), reader.pathTableRuns.end(),
                                     [](const PathTableRun& run) { return run.nameKind == NameKind::Iso9660; });
  if (isoTables) {
    ReadIsoPathTableTree(reader);
    if (reader.listed != 0 || reader.walkAborted) return;
  }
  if (WalkRootRun(reader, FindRootRun(reader, NameKind::Iso9660))) return;
  for (std::size_t i = 0; i < reader.dirSectorRuns.size(); ++i) {
    const DirSectorRun run = reader.dirSectorRuns[i];
    if (run.kind != NameKind::Joliet) continue;
    reader.dirSectorCursor = i;
    WalkDirectoryRecords(reader, 0, false, 0, run.firstSector, run.sectorCount * kSectorSize, run.complete != 0);
    if (run.complete) break;
    reader.nameKindSettled = 0;
    if (reader.jolietPathTableRuns >= 1) {
      ReadPathTableTree(reader, false, false, false);
      break;
    }
  }
  if (!reader.directorySectorsFound) ReadPathTableTree(reader, true, form == FallbackForm::B, false);
  if (reader.listed == 0 && !isoTables) ReadIsoPathTableTree(reader);
}

void ReadIsoPathTableTree(CCDReader& reader) {
  std::vector<std::uint8_t> table, root;
  for (const PathTableRun& run : reader.pathTableRuns) {
    std::uint32_t got = 0;
    if (run.nameKind != NameKind::Iso9660 || ReadOne(reader, run.firstSector, table, got) <= 0) continue;
    const platform::ByteReader t(table);
    const std::uint32_t extent = TableU32(t, run.tableType, ptrec::kExtent);
    if (ReadOne(reader, extent, root, got) <= 0) continue;
    // A directory begins with its "." record, which names the directory's own extent.
    const platform::ByteReader d(root);
    if (d.U8(dirrec::kLength) < dirrec::kMinLength || d.Le32(dirrec::kExtent) != extent) continue;
    WalkDirectoryRecords(reader, 0, false, 0, extent, d.Le32(dirrec::kDataLength), true);
    return;
  }
  ReadPathTableTree(reader, true, true, false, NameKind::Iso9660);
  reader.visitedDirs.clear();
}

}  // namespace cd
