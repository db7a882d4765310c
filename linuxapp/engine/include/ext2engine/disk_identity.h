// Disk identity: the model, serial number and firmware revision a disk reports to ATA IDENTIFY.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ext2 {

constexpr std::size_t kIdentifyWordCount = 256;
using IdentifyWords = std::array<std::uint16_t, kIdentifyWordCount>;
using IdentifyBytes = std::array<std::uint8_t, 2 * kIdentifyWordCount>;

// The 256 words of IDENTIFY data as the device sends them: little-endian 16-bit words.
IdentifyWords DecodeIdentifyWords(const IdentifyBytes& bytes);

// The text held in words FIRST to LAST: the high byte of each word, then its low byte, up to the
// first NUL; trailing blanks are removed, but never the first character. Words outside 0-255 are
// not read.
std::string ExtractIdentifyString(const IdentifyWords& words, int first, int last);

// Fills the application's serial number (words 10-19), model (27-46) and firmware revision (23-26),
// each cut to 31 characters. N, the disk index, is not used.
void StoreDiskIdentity(std::uint8_t n, const IdentifyWords& words);

// Where the IDENTIFY bytes of disk index N come from; false when the disk has no identity.
class IdentitySource {
 public:
  virtual ~IdentitySource() = default;
  virtual bool ReadIdentify(unsigned index, IdentifyBytes& bytes) = 0;
};

// The disks of the disk source (SetDiskSource): disk N is the path that source reads disk N from.
std::shared_ptr<IdentitySource> PlatformIdentitySource();

// Image files or block devices given by path, as disks 0, 1, ...
std::shared_ptr<IdentitySource> PathListIdentitySource(std::vector<std::string> paths);

// Replaces the identity source (tests, probes); null restores the platform's.
void SetIdentitySource(std::shared_ptr<IdentitySource> source);

// Asks disk N (0-based) for its identity. True when it answered: the application's three identity
// fields hold its texts. Otherwise the fields are cleared, so no other disk's texts remain.
bool IdentifyDisk(std::uint8_t n);

}  // namespace ext2
