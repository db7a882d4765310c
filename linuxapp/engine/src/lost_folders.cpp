// Lost folders: folders of the inode tables that the walk from the root did not reach.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <queue>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/ext2_layout.h"
#include "ext2engine/linux_drive.h"
#include "inode_table_scan.h"
#include "platform/byte_reader.h"

namespace ext2 {

namespace {

// Drops the folders taken off the lost list from its vector, keeping the order of the rest.
void CompactLost(CLinuxDrive& d) {
  d.lost.erase(std::remove_if(d.lost.begin(), d.lost.end(), [&](std::uint32_t i) { return d.lostSet.count(i) == 0; }),
               d.lost.end());
  d.lostStale = 0;
}

void AddToVisited(CLinuxDrive& d, std::uint32_t inode) {
  d.visited.push_back(inode);
  d.visitedSet.insert(inode);
}

// Lists ENTRY under NAME: the Root first when the drive has no entries yet, then the entry.
void ListFolderEntry(CLinuxDrive& d, const EntryNode& entry, const char* name, bool startProgress) {
  if (d.entries == 0) {
    ++d.folders;  // the Root
    if (d.frame != nullptr) {
      if (startProgress) d.frame->StartProgress(static_cast<int>(d.inodesCount));
      d.frame->InsertRootItem();
    }
  }
  ++d.entries;
  ++d.folders;
  if (d.frame != nullptr) {
    d.frame->AddTreeEntry(entry, name);
    d.frame->StepProgress(static_cast<int>(d.entries));
  }
}
}  // namespace

int CLinuxDrive::RemoveLostFolder(std::uint32_t inode) {
  if (lostSet.erase(inode) == 0) return 0;
  lostParents.erase(inode);
  lostRemoved.push_back(inode);
  // The vector keeps the folder until enough have gone that compacting costs no more than it saves.
  if (++lostStale > lost.size() / 2) CompactLost(*this);
  return 1;
}

void CLinuxDrive::SearchLostFolders() {
  AppState& app = App();
  if (lostSet.empty()) {
    lost.clear();
    lostParents.clear();
    lostRemoved.clear();
    lostStale = 0;
  }
  lostEntries = 0;
  StartInodeSearch(*this);
  StartReadFailureRows();
  const std::uint64_t r = static_cast<std::uint64_t>(groupCount) * inodeTableSectorsPerGroup;
  if (frame != nullptr) {
    frame->StartProgressText(static_cast<int>(std::min<std::uint64_t>(r + r / 4, 0x7FFFFFFF)), "Read Progress..");
  }
  std::vector<std::uint8_t> first(kSectorSize, 0);
  const bool completed = ScanInodeTables(*this, true, [&](std::uint32_t i, const InodeCopy& inode) {
    if (i == kLostFoldersInode || (inode.mode & kModeTypeMask) != kModeDirectory) return true;
    // The folder's first block must begin with ".": block 0 and blocks past the drive hold no folder.
    if (inode.block[0] == 0 || inode.block[0] > BlockCount()) return true;
    std::fill(first.begin(), first.end(), 0);
    if (!ReadDriveSectors(static_cast<std::uint64_t>(inode.block[0]) * sectorsPerBlock, first.data(), kSectorSize)) {
      ReportFolderBlock("", i, 0, inode.block[0], false);
    }
    if (first[kDotRecord + kDeName] != '.') return true;
    const std::uint32_t parent = platform::ByteReader(first.data(), first.size()).Le32(kDotDotRecord + kDeInode);
    const bool reached = IsInodeListed(i, 0) != 0;
    if (parent == kRootInode && !reached) {
      if (i == kRootInode) {
        if (entries == 0) {
          ++folders;
          if (frame != nullptr) frame->InsertRootItem();
        }
        ++entries;
        ReadDirectory(kRootInode, 0);
      } else {
        const std::uint32_t before = entries;
        AddToVisited(*this, i);
        EntryNode entry;
        FillEntryFromInode(entry, inode);
        entry.kind = kKindFolder;
        entry.size = 0;
        entry.parentInode = kRootInode;
        entry.inode = i;
        const std::string name = "Inode" + std::to_string(i);
        ListFolderEntry(*this, entry, name.c_str(), false);
        if (i <= inodesCount) ReadDirectory(i, 0);
        lostEntries += entries - before;
      }
    } else if (parent != kRootInode && !reached && lostSet.insert(i).second) {
      lost.push_back(i);
      lostParents[i] = parent;
    }
    return !StopRequested(*this);
  });
  FinishReadFailureRows();
  if (!completed) {
    if (frame != nullptr) frame->EndProgress();
    app.logHasRows = 1;
    Log(nullptr, "Process aborted, user intervention ", ("Aborted on " + CTimeNow()).c_str(), kIconAborted);
  } else {
    Log(nullptr, "Process Completed", ("Completed on " + CTimeNow()).c_str(), kIconCompleted);
  }
}

void CLinuxDrive::AddLostFolders() {
  AppState& app = App();
  StartInodeSearch(*this);
  StartReadFailureRows();
  if (frame != nullptr) frame->StartProgressText(static_cast<int>(inodesCount), "Read Progress..");
  if (!IsInodeListed(kLostFoldersInode, 0)) {
    EntryNode entry;
    entry.kind = kKindFolder;
    entry.parentInode = kRootInode;
    entry.inode = kLostFoldersInode;
    entry.lost = 1;
    ListFolderEntry(*this, entry, "Lost Folder(s)", false);
    AddToVisited(*this, kLostFoldersInode);
  }

  // A lost folder is a top one while its parent is not in the lost list. Folders are shown in the
  // order of the list, always the first top one next; a folder becomes top when a walk takes its
  // parent off the list, so the candidates are kept by list position and fed from the removals.
  CompactLost(*this);
  std::unordered_map<std::uint32_t, std::vector<std::pair<std::size_t, std::uint32_t>>> children;
  using Candidate = std::pair<std::size_t, std::uint32_t>;  // list position, inode
  std::priority_queue<Candidate, std::vector<Candidate>, std::greater<Candidate>> top;
  for (std::size_t pos = 0; pos < lost.size(); ++pos) {
    const std::uint32_t inode = lost[pos];
    const std::uint32_t parent = lostParents[inode];
    if (lostSet.count(parent) != 0) {
      children[parent].emplace_back(pos, inode);
    } else {
      top.emplace(pos, inode);
    }
  }
  lostRemoved.clear();
  auto takeRemovals = [&] {
    for (const std::uint32_t gone : lostRemoved) {
      const auto it = children.find(gone);
      if (it == children.end()) continue;
      for (const Candidate& c : it->second) {
        if (lostSet.count(c.second) != 0) top.push(c);
      }
      children.erase(it);
    }
    lostRemoved.clear();
  };

  // Folders whose parents stay in the list without being reached have ".." entries that form a
  // cycle: when no top folder is left, the first of them in list order is taken as one, so that
  // every lost folder is shown once. The positions are those of the list as it is now (the list
  // itself is compacted as folders leave it).
  const std::vector<std::uint32_t> order = lost;
  std::size_t firstLeft = 0;
  auto takeFirstLeft = [&] {
    while (firstLeft < order.size() && lostSet.count(order[firstLeft]) == 0) ++firstLeft;
    if (firstLeft == order.size()) return false;
    top.emplace(firstLeft, order[firstLeft]);
    return true;
  };

  while (!top.empty() || takeFirstLeft()) {
    const Candidate next = top.top();
    top.pop();
    const std::uint32_t inode = next.second;
    if (lostSet.count(inode) == 0) continue;  // reached by an earlier walk
    if (frame != nullptr) {
      frame->PumpMessages();
      if (frame->abortFlag) {
        FinishReadFailureRows();
        frame->EndProgress();
        app.logHasRows = 1;
        return;
      }
      // The look for this folder's parent in the list.
      frame->PumpMessages();
      if (frame->abortFlag) {
        FinishReadFailureRows();
        Log(nullptr, "Process aborted, user intervention ", ("Aborted on " + CTimeNow()).c_str(), kIconAborted);
        frame->EndProgress();
        app.logHasRows = 1;
        return;
      }
    }
    const std::uint32_t before = entries;
    EntryNode entry;
    entry.kind = kKindFolder;
    entry.parentInode = kLostFoldersInode;
    entry.inode = inode;
    entry.lost = 1;
    AddToVisited(*this, inode);
    if (inode <= inodesCount) {
      char name[32];
      std::snprintf(name, sizeof name, "Folder %u", inode);
      ListFolderEntry(*this, entry, name, true);
      RemoveLostFolder(inode);
      ReadDirectory(inode, 0);
    } else {
      RemoveLostFolder(inode);
    }
    lostEntries += entries - before;
    takeRemovals();
  }
  CompactLost(*this);
  FinishReadFailureRows();
}

}  // namespace ext2
