// The scan-information file (".DAT"): the layout of its header and records, the name the
// File already exists dialog proposes, and the Open Using Scan Information command without its window.
//
// Layout, little-endian: a 512-byte header; group-count descriptor records of 24 bytes; the
// logical-drive records, 36 bytes each; then entries to the end of the file, each a name-length
// byte, a 52-byte record and the name. An entry's size keeps its bits 32 to 55 in the record's
// bytes 1 to 3 (after the kind; larger sizes are stored as 2^56 - 1), and each time its 32 bits
// signed at 4, 8 and 12 with the sign in the high words at 16, 20 and 24: files of the older
// layout, with zeros in those bytes, read the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "ext2engine/ports.h"

namespace ext2 {

constexpr std::size_t kScanHeaderSize = 512;
constexpr std::size_t kScanDescriptorSize = 24;
constexpr std::size_t kScanDriveRecordSize = 36;
constexpr std::size_t kScanEntryRecordSize = 52;
constexpr std::size_t kScanMaxNameLength = 255;
constexpr const char* kScanSignature = "abbgtpogpkicupoglinux";
constexpr const char* kScanNotice = "QUARVEL VELNORA LINUX SCAN DATA FILE";

struct ScanFileHeader {
  std::uint8_t disk = 0;
  std::uint8_t sectorsPerBlock = 0;
  std::uint32_t firstSector = 0;
  std::uint32_t lastSector = 0;
  std::uint32_t sectorCount = 0;
  std::uint16_t descriptorTableOffset = 0;
  std::uint16_t inodeSize = 128;  // stored at 18; a file of the old layout has 0 there, read as 128
  std::uint32_t inodeTableSectorsPerGroup = 0;
  std::uint32_t inodesPerGroup = 0;
  std::uint32_t inodesCount = 0;
  std::uint16_t groupCount = 0;
  std::uint32_t entries = 0;
  std::uint32_t folders = 0;
  std::uint32_t files = 0;
  std::uint64_t totalBytes = 0;
  std::uint8_t driveRecords = 0;
  // The file system's identity, in bytes that files of the old layout hold as zeros: the UUID at
  // 128 (16 bytes, all zero when not held) and the volume name at 144 (16 bytes).
  std::uint8_t uuid[16] = {};
  std::uint8_t volumeName[16] = {};
  // The sector of the super block copy the drive was opened through, relative to the drive, at
  // 160; the first copy (sector 2) is stored as 0, as files of the old layout hold it.
  std::uint32_t superBlockSector = 2;
};

std::vector<std::uint8_t> EncodeScanHeader(const ScanFileHeader& header);
// The header of BYTES; none when it is short or its signature or notice differ.
std::optional<ScanFileHeader> DecodeScanHeader(std::span<const std::uint8_t> bytes);

void AppendDescriptorRecord(std::vector<std::uint8_t>& out, const GroupDescNode& node);
GroupDescNode DecodeDescriptorRecord(std::span<const std::uint8_t> record);
void AppendDriveRecord(std::vector<std::uint8_t>& out, const LogicalDriveNode& node);
LogicalDriveNode DecodeDriveRecord(std::span<const std::uint8_t> record);
// The length byte, the record and the name (cut at 255 bytes).
void AppendEntryRecord(std::vector<std::uint8_t>& out, const EntryNode& entry, const std::string& name);
// The entry of a 52-byte RECORD with NAME; a check byte above 2 reads as 0.
EntryNode DecodeEntryRecord(std::span<const std::uint8_t> record);

// The name the File already exists dialog proposes for the existing PATH, without ".DAT": the
// path's folder followed by "HardDrv<disk>_LogDrv<drive>_Scan", with 1, 2, ... after it while
// that name with ".DAT" is taken.
std::string ProposeScanFileName(const std::string& path, std::uint8_t diskIndex, std::uint32_t driveIndex);

// Open Using Scan Information after the file was chosen: the logical-drive list and the current
// drive are dropped, a fresh drive is made, attached to FRAME and filled from the file at PATH.
void OpenUsingScanInfo(FrameServices& frame, const std::string& path);

}  // namespace ext2
