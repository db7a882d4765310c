// The sectors of one directory, read piece by piece into one buffer. Records never cross sectors,
// so walking the pieces in turn walks the whole directory, and a sector that cannot be read costs
// only the records it holds: a piece that fails or comes short is read again sector by sector,
// and each sector that still does not read is left as the fill, with a row that names it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cdengine/cd_reader.h"

namespace cd {

class DirectoryPieces {
 public:
  // A directory is read in pieces of at most this many sectors through one buffer, so that a
  // folder of many thousand entries costs no more memory than a small one.
  static constexpr std::uint32_t kPieceSectors = 64;

  explicit DirectoryPieces(CCDReader& reader) : reader_(reader) {}

  // Reads the first piece of the SECTORS sectors at EXTENT of the folder NAME that holds a sector
  // that reads; false when no sector of the folder reads. Unread bytes hold FILL.
  bool Start(std::uint32_t extent, std::uint32_t sectors, std::uint8_t fill, std::string name);
  bool First() const { return pieceStart_ == 0; }
  std::uint32_t Extent() const { return extent_; }
  std::span<const std::uint8_t> Piece() const { return {buffer_.data(), pieceBytes_}; }
  // True when sector I of the piece was read (a sector that was not holds the fill).
  bool SectorRead(std::size_t i) const { return i < unread_.size() && !unread_[i]; }
  // Reads the next piece; false when the directory has no more.
  bool ReadNext();

 private:
  void ReadOneSector(std::uint32_t i);

  CCDReader& reader_;
  std::vector<std::uint8_t> buffer_;
  std::vector<bool> unread_;
  std::size_t pieceBytes_ = 0;
  std::uint32_t extent_ = 0, sectors_ = 0, done_ = 0, pieceStart_ = 0, readInPiece_ = 0;
  std::uint8_t fill_ = 0;
  std::string name_;
};

}  // namespace cd
