// The disc scan: probe, choose the volume descriptor (Joliet first), read the tree from the root
// record, and fall back to the path tables and the raw scans.
#include <optional>
#include <vector>

#include "cdengine/directory_record.h"
#include "cdengine/log_time.h"
#include "cdengine/path_tables.h"
#include "cdengine/tree_supplement.h"
#include "cdengine/volume_reading.h"
#include "platform/byte_reader.h"

namespace cd {

namespace {

constexpr std::uint32_t kProbeSectors = 5001;
constexpr std::uint32_t kDescriptorSectors = 100;
constexpr std::size_t kMaxPrimaryCandidates = 5;

// The root extent reads whole and begins with its "." record, which names the extent itself.
// A root extent that reads but holds something else (zeroed, overwritten) counts as unreadable.
bool RootReadsWhole(CCDReader& reader, const VolumeInfo& v) {
  const std::uint32_t sectors = SectorsToRead(reader, v.rootExtent, v.rootDataLength);
  if (sectors == 0 || static_cast<std::uint64_t>(sectors) * kSectorSize < v.rootDataLength) return false;
  std::vector<std::uint8_t> scratch(static_cast<std::size_t>(sectors) * kSectorSize, 0);
  std::uint32_t got = 0;
  if (!reader.ReadSectors(v.rootExtent, 0, scratch, got, v.rootDataLength, true) || got != v.rootDataLength) {
    return false;
  }
  platform::ByteReader r(scratch.data(), got);
  return r.U8(dirrec::kLength) >= dirrec::kMinLength && r.Le32(dirrec::kExtent) == v.rootExtent;
}

bool ReadsWhole(CCDReader& reader, std::uint32_t sector, std::uint32_t bytes) {
  const std::uint32_t sectors = SectorsToRead(reader, sector, bytes);
  if (static_cast<std::uint64_t>(sectors) * kSectorSize < bytes || bytes == 0) return false;
  std::vector<std::uint8_t> scratch(static_cast<std::size_t>(sectors) * kSectorSize, kFillByte);
  std::uint32_t got = 0;
  return reader.ReadSectors(sector, 0, scratch, got, bytes, true) && got == bytes;
}

// The end of a scan that builds the tree. A scan whose walks never completed (nothing readable to
// walk) still ends its process, so the frame does not stay busy; a scan that found nothing says so,
// however it ended, unless the user stopped it.
void FinishScan(CCDReader& reader) {
  CdFrame& frame = *reader.frame;
  if (frame.imaging) return;
  if (frame.busy) frame.EndProgress(static_cast<std::uint32_t>(reader.listed));
  CdAppState& app = *reader.app;
  // A raw scan the user stopped ends as a stopped walk does: with its row, and no "nothing found".
  if (reader.scanStopped && !reader.walkAborted) {
    reader.walkAborted = true;
    // No walk named the day and month on this road: they are the time of the stop, as a walk's are its start's.
    const CdTime now = CdNowUtc();
    app.weekday = WeekdayName(now.weekday);
    app.month = MonthName(now.month);
    const std::string status = FormatLogTime("Aborted %s, %s %d %d at %d-%d-%d", app.weekday, app.month, now);
    frame.AddLogEntry(nullptr, "Process aborted, user intervention ", status.c_str(), kCdIconError);
    app.logHasRows = 1;
  }
  if (reader.listed != 0 || reader.walkAborted) return;
  app.rowActivity = "Creating directory tree";
  app.rowText = "No files or folders found";
  app.rowStatus = "Nothing to recover";
  frame.AddLogEntry(app.rowActivity.c_str(), app.rowText.c_str(), app.rowStatus.c_str(), kCdIconError);
  app.logHasRows = 1;
  frame.GetPrompts().MessageBox("No files or folders found on the CDROM", "Quarvel Velnora CDROM", CdButtons::Ok);
}

}  // namespace

namespace {

// Reads the tree from the root record of the volume info, and the folders its path tables name
// when a folder sector was lost, without the completion row. True when every directory read whole.
bool ReadTreeUnended(CCDReader& reader, bool isJoliet) {
  const VolumeInfo v = reader.volumeInfo ? *reader.volumeInfo : VolumeInfo{};
  reader.folderSectorsLost = 0;
  reader.treeWalkEnded = false;
  const bool rootWhole = RootReadsWhole(reader, v);
  // The walks note the files they drop: the other tree tells its files apart from them.
  WalkDirectoryRecords(reader, 0, isJoliet, 0, v.rootExtent, v.rootDataLength, false);
  if (reader.walkAborted) return false;
  const bool whole = rootWhole && reader.folderSectorsLost == 0;
  if (!whole) {
    // A folder sector was lost: the path tables name every folder, also those it listed.
    const bool lWhole = ReadsWhole(reader, v.lPathTable, v.pathTableSize);
    const bool mWhole = !lWhole && ReadsWhole(reader, v.mPathTable, v.pathTableSize);
    const auto count = static_cast<std::uint32_t>((static_cast<std::uint64_t>(v.pathTableSize) + kSectorSize - 1) / kSectorSize);
    const NameKind kind = isJoliet ? NameKind::Joliet : NameKind::Iso9660;
    reader.pathTableRuns.clear();
    if (lWhole || !mWhole) reader.pathTableRuns.push_back({v.lPathTable, count, PathTableType::L, kind});
    if (mWhole || !lWhole) reader.pathTableRuns.push_back({v.mPathTable, count, PathTableType::M, kind});
    reader.pathTableCursor = 0;
    ReadPathTableTree(reader, false, true, isJoliet, std::nullopt, false);
  }
  reader.visitedDirs.clear();
  return whole;
}

// The completion row of a tree read, unless the user stopped it; a tree of nothing but
// unreadable directories ends without one (the scan then says nothing was found).
void EndTreeRead(CCDReader& reader, bool whole) {
  if (reader.walkAborted || reader.treeWalkEnded) return;
  if (whole || reader.listed != 0) EndTreeWalk(reader, static_cast<std::uint32_t>(reader.listed));
}

}  // namespace

void ReadDirectoryTree(CCDReader& reader, bool isJoliet) { EndTreeRead(reader, ReadTreeUnended(reader, isJoliet)); }

bool ScanDisc(CCDReader& reader) {
  CdFrame& frame = *reader.frame;
  CdAppState& app = *reader.app;
  reader.nameKindSettled = 0;
  reader.rawScansUsed = 0;
  // The volume size is this disc's own: a disc without a readable descriptor has none recorded.
  reader.volumeSpaceSize = 0;
  reader.walkAborted = false;
  reader.scanStopped = false;
  reader.treeView = frame.GetLeftPane();
  reader.listView = frame.GetRightPane();

  std::vector<std::uint8_t> buffer(kSectorSize);
  std::uint32_t got = 0;
  reader.discReadable = 0;
  for (std::uint32_t i = 0; i < kProbeSectors; ++i) {
    std::fill(buffer.begin(), buffer.end(), kFillByte);
    if (reader.ReadSectors(vd::kFirstDescriptorSector + i, 1, buffer, got)) {
      reader.discReadable = 1;
      break;
    }
  }
  if (!reader.discReadable) {
    frame.GetPrompts().MessageBox("CDROM not found / CDROM entirely corrupted", "Quarvel Velnora CDROM", CdButtons::Ok);
    app.driveOpened = 0;
    return false;
  }

  frame.EnableToolbarButton(kCdCmdStop, true);
  // A recovery or an image copy ends with the stop flag set; the walk starts clear.
  frame.stopFlag = 0;
  frame.stepsAfterStop = 0;
  app.processRunning = 1;
  app.findNext = 0;
  frame.busy = 1;
  // Recovery and image copies end with the stop flag set (it removes their progress bar); a scan
  // that started with it set would abort at once, so a scan starts with no Stop pending.
  frame.stopFlag = 0;
  frame.stepsAfterStop = 0;

  std::vector<std::uint32_t> primaries;
  std::optional<std::uint32_t> joliet;
  for (std::uint32_t s = vd::kFirstDescriptorSector; s < vd::kFirstDescriptorSector + kDescriptorSectors; ++s) {
    std::fill(buffer.begin(), buffer.end(), kFillByte);
    if (!reader.ReadSectors(s, 1, buffer, got)) continue;
    if (!IsVolumeDescriptor(buffer)) continue;
    if (buffer[vd::kType] == vd::kSupplementary) {
      if (got != kSectorSize) continue;  // a Joliet descriptor read short is passed over
      reader.nameKindSettled = 1;
      if (!joliet) joliet = s;
      continue;
    }
    if (primaries.size() < kMaxPrimaryCandidates) primaries.push_back(s);
    reader.nameKindSettled = 1;
  }

  if (joliet) {
    ReadVolumeDescriptor(reader, *joliet);
    if (frame.imaging) return true;
    const bool whole = ReadTreeUnended(reader, true);
    // What the Joliet tree lost, the ISO 9660 tree of the first primary descriptor that reads gives.
    if (!reader.walkAborted && (!whole || reader.listed == 0)) {
      for (std::uint32_t s : primaries) {
        std::fill(buffer.begin(), buffer.end(), kFillByte);
        if (!reader.ReadSectors(s, 1, buffer, got) || got != kSectorSize) continue;
        ListWhatJolietLost(reader, s);
        break;
      }
    }
    EndTreeRead(reader, whole);
    FinishScan(reader);
    return true;
  }

  if (!primaries.empty()) {
    bool taken = false;
    for (std::uint32_t s : primaries) {
      std::fill(buffer.begin(), buffer.end(), kFillByte);
      if (!reader.ReadSectors(s, 1, buffer, got) || got != kSectorSize) continue;
      ReadVolumeDescriptor(reader, s);
      if (frame.imaging) return true;
      ReadDirectoryTree(reader, false);
      taken = true;
      break;
    }
    if (!taken) {
      reader.nameKindSettled = 0;
      reader.rawScansUsed = 1;
      RunRawScanFallback(reader, FallbackForm::A);
    }
  }
  if (!reader.nameKindSettled) RunRawScanFallback(reader, FallbackForm::B);
  FinishScan(reader);
  return frame.imaging != 0;
}

}  // namespace cd
