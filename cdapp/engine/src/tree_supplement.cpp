// The ISO 9660 tree read in place of what the Joliet tree lost. Files are told apart by their
// extent and size, which both trees share; a folder of the ISO 9660 tree is the Joliet folder
// that holds one of its files (or, failing that, the Joliet folder of its parent with its name
// in other case), and a folder of its own only where it holds something the Joliet tree lost.
#include "cdengine/tree_supplement.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "cdengine/directory_pieces.h"
#include "cdengine/directory_record.h"
#include "cdengine/path_tables.h"
#include "cdengine/ports.h"
#include "cdengine/tree_nodes.h"
#include "cdengine/volume_reading.h"
#include "platform/byte_reader.h"

namespace cd {

namespace {

// The ISO 9660 tree as read: entries whose parent key is the extent of the directory holding them.
class IsoTree {
 public:
  explicit IsoTree(CCDReader& reader) : reader_(reader), sectorsLeft_(reader.MediumSectors()) {}

  std::vector<DirEntryNode> entries;
  std::uint32_t root = 0;
  bool stopped = false;  // the user stopped the scan while the tree was read

  void Read(const VolumeInfo& v) {
    root = v.rootExtent;
    const std::uint32_t lostBefore = reader_.folderSectorsLost;
    Queue(v.rootExtent, v.rootDataLength, "Root");
    WalkQueued();
    if (stopped || reader_.folderSectorsLost == lostBefore) return;
    // A folder sector was lost: the path tables name every folder.
    const std::vector<PathTableFolder> folders = ReadTable(v);
    std::unordered_set<std::uint32_t> listed{root};
    for (const DirEntryNode& e : entries) {
      if (e.type == kTypeFolder) listed.insert(e.extent);
    }
    for (std::size_t i = 1; i < folders.size(); ++i) {
      const PathTableFolder& f = folders[i];
      if (f.name.empty() || listed.count(f.extent) != 0) continue;
      const std::uint16_t p = f.parent;
      DirEntryNode node;
      node.type = kTypeFolder;
      node.name = f.name;
      node.extent = f.extent;
      node.parentKey = p >= 1 && p <= i ? folders[p - 1].extent : root;
      if (p == 1) node.parentKey = root;
      ReadDot(node);
      listed.insert(f.extent);
      entries.push_back(node);
      Queue(node.extent, node.folderSize, node.name);
    }
    WalkQueued();
  }

 private:
  struct Folder {
    std::uint32_t extent, length;
    std::string name;
  };

  void Queue(std::uint32_t extent, std::uint32_t length, std::string name) {
    queue_.push_back({extent, length, std::move(name)});
  }

  void WalkQueued() {
    DirectoryPieces pieces(reader_);
    while (!queue_.empty()) {
      if (reader_.PumpWhileReading() && !reader_.app->imageOpening) {
        stopped = true;
        queue_.clear();
        return;
      }
      const Folder f = queue_.front();
      queue_.pop_front();
      if (!walked_.insert(f.extent).second) continue;
      const auto sectors = static_cast<std::uint32_t>(
          std::min<std::uint64_t>(SectorsToRead(reader_, f.extent, f.length), sectorsLeft_));
      sectorsLeft_ -= sectors;
      if (sectors == 0 || !pieces.Start(f.extent, sectors, 0, f.name)) continue;
      pending_ = false;
      do {
        const std::span<const std::uint8_t> piece = pieces.Piece();
        for (std::size_t i = 0; i * kSectorSize < piece.size(); ++i) {
          if (!pieces.SectorRead(i)) continue;
          const std::span<const std::uint8_t> sector = piece.subspan(i * kSectorSize, kSectorSize);
          WalkRecords(sector, pieces.First() && i == 0 ? FirstRealRecord(sector) : 0,
                      [&](std::span<const std::uint8_t> record) { Add(record, f.extent); });
        }
      } while (pieces.ReadNext());
    }
  }

  void Add(std::span<const std::uint8_t> record, std::uint32_t dir) {
    const platform::ByteReader r(record);
    const std::size_t nameLength = r.U8(dirrec::kNameLength);
    if (nameLength == 0) return;
    const std::uint8_t flags = r.U8(dirrec::kFlags);
    const bool folder = (flags & dirrec::kFlagDirectory) != 0;
    std::string name = ConvertRecordName(record.data() + dirrec::kName, nameLength, false, folder);
    const std::uint32_t extent = r.Le32(dirrec::kExtent);
    const std::uint32_t length = r.Le32(dirrec::kDataLength);
    if (pending_ && !folder && !entries.empty() && entries.back().name == name && entries.back().parentKey == dir) {
      DirEntryNode& file = entries.back();
      if (file.sections.empty()) file.sections.push_back({file.extent, static_cast<std::uint32_t>(file.size)});
      file.sections.push_back({extent, length});
      file.size += length;
      pending_ = (flags & dirrec::kFlagMultiExtent) != 0;
      return;
    }
    DirEntryNode node;
    node.name = std::move(name);
    node.type = folder ? kTypeFolder : kTypeFile;
    for (std::size_t i = 0; i < dirrec::kDateLength; ++i) node.date[i] = r.U8(dirrec::kDate + i);
    node.extent = extent;
    node.parentKey = dir;
    if (folder) {
      node.folderSize = length;
      Queue(extent, length, node.name);
    } else {
      node.size = length;
    }
    pending_ = !folder && (flags & dirrec::kFlagMultiExtent) != 0;
    entries.push_back(std::move(node));
  }

  // Date and length of a folder from its "." record.
  void ReadDot(DirEntryNode& node) {
    std::vector<std::uint8_t> buffer(kSectorSize, 0);
    std::uint32_t got = 0;
    if (!reader_.ReadSectors(node.extent, 1, buffer, got)) return;
    const platform::ByteReader r(buffer.data(), got);
    for (std::size_t i = 0; i < dirrec::kDateLength; ++i) node.date[i] = r.U8(dirrec::kDate + i);
    node.folderSize = r.Le32(dirrec::kDataLength);
  }

  // The records of the L path table, or of the M table when the L table does not read whole.
  std::vector<PathTableFolder> ReadTable(const VolumeInfo& v) {
    std::vector<PathTableFolder> best;
    for (const auto& [sector, type] : {std::pair{v.lPathTable, PathTableType::L}, std::pair{v.mPathTable, PathTableType::M}}) {
      const std::uint32_t sectors = SectorsToRead(reader_, sector, v.pathTableSize);
      if (sectors == 0 || v.pathTableSize == 0) continue;
      std::vector<std::uint8_t> buffer(static_cast<std::size_t>(sectors) * kSectorSize, kFillByte);
      std::uint32_t got = 0;
      if (!reader_.ReadSectors(sector, 0, buffer, got, v.pathTableSize, true)) continue;
      buffer.resize(std::min<std::size_t>(buffer.size(), v.pathTableSize));
      std::vector<PathTableFolder> folders = ParsePathTable(buffer, type, false);
      if (folders.size() > best.size()) best = std::move(folders);
      if (got == v.pathTableSize) break;
    }
    return best;
  }

  CCDReader& reader_;
  std::uint64_t sectorsLeft_;
  std::deque<Folder> queue_;
  std::unordered_set<std::uint32_t> walked_;
  bool pending_ = false;
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Places the ISO 9660 entries in the Joliet tree of the entry list.
class Supplement {
 public:
  Supplement(CCDReader& reader, const IsoTree& iso) : reader_(reader), iso_(iso) {
    constexpr std::uint32_t kShared = 0xFFFFFFFFu;
    const auto noteFile = [this](std::uint32_t parentKey, std::uint32_t extent, std::uint64_t size) {
      ++jolietFiles_[{parentKey, extent, size}];
      if (size == 0) return;
      const auto [it, fresh] = jolietParentOfFile_.try_emplace(extent, parentKey);
      if (!fresh && it->second != parentKey) it->second = kShared;
    };
    // The entry list holds the Joliet tree's folders; its files are the tree view's (the walks drop
    // a file from the list once the view has it).
    for (const DirEntryNode& e : reader.entries) {
      if (e.type == kTypeFolder) {
        jolietFolderByName_.emplace(std::pair{e.parentKey, Lower(e.name)}, e.extent);
      } else if (reader.treeView == nullptr) {
        noteFile(e.parentKey, e.extent, e.size);
      }
    }
    if (reader.treeView != nullptr) {
      for (const TreeItemNode& n : reader.treeView->Nodes()) {
        if (n.type == kTypeFile) noteFile(n.parentKey, n.key, n.size);
      }
    }
    for (auto it = jolietParentOfFile_.begin(); it != jolietParentOfFile_.end();) {
      it = it->second == kShared ? jolietParentOfFile_.erase(it) : std::next(it);
    }
    for (std::size_t i = 0; i < iso.entries.size(); ++i) {
      const DirEntryNode& e = iso.entries[i];
      children_[e.parentKey].push_back(i);
      if (e.type == kTypeFolder) folderAt_.try_emplace(e.extent, i);
    }
    joliet_[iso.root] = 0;
  }

  std::uint32_t listed = 0;

  void Run() {
    for (const DirEntryNode& e : iso_.entries) {
      if (e.type == kTypeFolder) {
        Map(e);
        if (!joliet_.count(e.extent) && children_[e.extent].empty()) Ensure(e.extent);  // an empty folder
        continue;
      }
      const auto parent = joliet_.find(e.parentKey);
      if (parent != joliet_.end()) {
        const auto present = jolietFiles_.find({parent->second, e.extent, e.size});
        if (present != jolietFiles_.end() && present->second > 0) {
          --present->second;
          continue;
        }
      }
      const std::optional<std::uint32_t> target = Ensure(e.parentKey);
      if (target) List(e, *target);
    }
  }

 private:
  // The Joliet folder of the ISO 9660 folder F, when there is one.
  void Map(const DirEntryNode& f) {
    for (const std::size_t i : children_[f.extent]) {
      const DirEntryNode& c = iso_.entries[i];
      if (c.type != kTypeFile || c.size == 0) continue;
      const auto it = jolietParentOfFile_.find(c.extent);
      if (it != jolietParentOfFile_.end()) {
        joliet_[f.extent] = it->second;
        return;
      }
    }
    const auto parent = joliet_.find(f.parentKey);
    if (parent == joliet_.end()) return;
    const auto same = jolietFolderByName_.find({parent->second, Lower(f.name)});
    if (same != jolietFolderByName_.end()) joliet_[f.extent] = same->second;
  }

  // The tree key below which the entries of the ISO 9660 folder at EXTENT go: its Joliet folder,
  // or a folder of its own, listed (with its parents) the first time one is needed.
  std::optional<std::uint32_t> Ensure(std::uint32_t extent) {
    if (const auto it = joliet_.find(extent); it != joliet_.end()) return it->second;
    if (own_.count(extent) != 0) return extent;
    const auto at = folderAt_.find(extent);
    if (at == folderAt_.end() || depth_ > kMaxDepth) return std::nullopt;
    const DirEntryNode& f = iso_.entries[at->second];
    ++depth_;
    const std::optional<std::uint32_t> parent = Ensure(f.parentKey);
    --depth_;
    if (!parent) return std::nullopt;
    own_.insert(extent);
    List(f, *parent);
    return extent;
  }

  void List(const DirEntryNode& e, std::uint32_t parentKey) {
    DirEntryNode node = e;
    node.parentKey = parentKey;
    if (node.type == kTypeFolder) {
      ++reader_.foldersCounted;
    } else {
      ++reader_.filesCounted;
      reader_.totalBytes += node.size;
    }
    if (reader_.ListEntry(std::move(node))) {
      reader_.cursor = 0;
      reader_.frame->StartProgress();
      reader_.frame->AttachPanes();
    }
    ++listed;
    const DirEntryNode& added = reader_.entries[reader_.newest];
    reader_.frame->StepProgress(static_cast<std::uint32_t>(reader_.listed), added.type, added.name.c_str(),
                                added.parentKey, added.name.size(), added.extent);
  }

  static constexpr int kMaxDepth = 1000;  // a crafted tree cannot drive the recursion further

  CCDReader& reader_;
  const IsoTree& iso_;
  std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint64_t>, int> jolietFiles_;  // parent, extent, size
  std::unordered_map<std::uint32_t, std::uint32_t> jolietParentOfFile_;  // files of one Joliet folder only
  std::map<std::pair<std::uint32_t, std::string>, std::uint32_t> jolietFolderByName_;
  std::unordered_map<std::uint32_t, std::vector<std::size_t>> children_;  // of each ISO 9660 folder
  std::unordered_map<std::uint32_t, std::size_t> folderAt_;
  std::unordered_map<std::uint32_t, std::uint32_t> joliet_;  // ISO 9660 folder -> Joliet tree key
  std::unordered_set<std::uint32_t> own_;                    // ISO 9660 folders listed as folders of their own
  int depth_ = 0;
};

}  // namespace

void ListWhatJolietLost(CCDReader& reader, std::uint32_t primarySector) {
  // The primary descriptor, read without replacing the chosen one.
  std::unique_ptr<VolumeInfo> chosen = std::move(reader.volumeInfo);
  const std::uint32_t volumeSpace = reader.volumeSpaceSize;
  ReadVolumeDescriptor(reader, primarySector);
  const VolumeInfo primary = *reader.volumeInfo;
  reader.volumeInfo = std::move(chosen);
  reader.volumeSpaceSize = volumeSpace;
  if (primary.rootExtent == 0) return;

  IsoTree iso(reader);
  iso.Read(primary);
  if (iso.stopped) return;
  Supplement supplement(reader, iso);
  supplement.Run();
  if (supplement.listed == 0) return;
  const std::string text = std::to_string(supplement.listed) +
                           " entries the Joliet tree lost are listed from the ISO 9660 tree";
  CdAppState& app = *reader.app;
  app.rowActivity.clear();
  app.rowText = text;
  app.rowStatus = "ISO 9660 names";
  reader.frame->AddLogEntry(nullptr, text.c_str(), app.rowStatus.c_str(), kCdIconError);
  app.logHasRows = 1;
}

}  // namespace cd
