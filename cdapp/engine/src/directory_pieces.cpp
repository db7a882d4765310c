// Directory sectors read piece by piece, and sector by sector around a sector that does not read.
#include "cdengine/directory_pieces.h"

#include <algorithm>

namespace cd {

bool DirectoryPieces::Start(std::uint32_t extent, std::uint32_t sectors, std::uint8_t fill, std::string name) {
  extent_ = extent;
  sectors_ = sectors;
  fill_ = fill;
  done_ = 0;
  name_ = std::move(name);
  while (ReadNext()) {
    if (readInPiece_ > 0) return true;
  }
  return false;
}

bool DirectoryPieces::ReadNext() {
  if (done_ >= sectors_) return false;
  const std::uint32_t count = std::min(kPieceSectors, sectors_ - done_);
  pieceBytes_ = static_cast<std::size_t>(count) * kSectorSize;
  if (buffer_.size() < pieceBytes_) buffer_.resize(pieceBytes_);
  unread_.assign(count, false);
  readInPiece_ = count;
  std::uint32_t got = 0;
  const bool ok = reader_.ReadSectors(extent_ + done_, count, std::span(buffer_.data(), pieceBytes_), got);
  if (!ok || got < pieceBytes_) {
    // What a read delivered before it stopped is good; the rest is read sector by sector.
    const std::uint32_t whole = ok ? got / kSectorSize : 0;
    for (std::uint32_t i = whole; i < count; ++i) ReadOneSector(i);
  }
  pieceStart_ = done_;
  done_ += count;
  return true;
}

void DirectoryPieces::ReadOneSector(std::uint32_t i) {
  const std::span<std::uint8_t> sector(buffer_.data() + static_cast<std::size_t>(i) * kSectorSize, kSectorSize);
  std::uint32_t got = 0;
  const bool ok = reader_.ReadSectors(extent_ + done_ + i, 1, sector, got);
  if (ok && got == kSectorSize) return;
  // Bytes a short read delivered hold whole records up to the fill.
  std::fill(sector.begin() + (ok ? got : 0), sector.end(), fill_);
  if (!ok || got == 0) {
    unread_[i] = true;
    --readInPiece_;
  }
  ++reader_.folderSectorsLost;
  const std::uint32_t at = extent_ + done_ + i;
  const std::string text = "Folder " + name_ + ": sector " + std::to_string(at) + " cannot be read";
  const std::string status = "Error reading sector " + std::to_string(at);
  CdAppState& app = *reader_.app;
  app.rowActivity.clear();
  app.rowText = text;
  app.rowStatus = status;
  reader_.frame->AddLogEntry(nullptr, text.c_str(), status.c_str(), kCdIconError);
  app.logHasRows = 1;
}

}  // namespace cd
