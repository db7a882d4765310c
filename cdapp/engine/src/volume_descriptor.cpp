// Volume descriptors: acceptance and the VolumeInfo summary.
#include <cstring>
#include <vector>

#include "cdengine/volume_reading.h"
#include "platform/byte_reader.h"

namespace cd {

bool IsVolumeDescriptor(std::span<const std::uint8_t> sector) {
  platform::ByteReader r(sector);
  if (!r.Has(0, vd::kUnused72 + vd::kUnused72Length)) return false;
  const std::uint8_t type = r.U8(vd::kType);
  if (type != vd::kPrimary && type != vd::kSupplementary) return false;
  if (std::memcmp(r.data() + vd::kIdentifier, "CD001", vd::kIdentifierLength) != 0) return false;
  if (r.U8(vd::kVersion) != 1 || r.U8(vd::kUnused7) != 0) return false;
  for (std::size_t i = 0; i < vd::kUnused72Length; ++i) {
    if (r.U8(vd::kUnused72 + i) != 0) return false;
  }
  return true;
}

void ReadVolumeDescriptor(CCDReader& reader, std::uint32_t sector) {
  reader.volumeInfo = std::make_unique<VolumeInfo>();
  std::vector<std::uint8_t> buffer(kSectorSize, kFillByte);
  std::uint32_t got = 0;
  if (!reader.ReadSectors(sector, 1, buffer, got)) return;
  platform::ByteReader r(buffer.data(), got);
  VolumeInfo& v = *reader.volumeInfo;
  std::memcpy(v.head, buffer.data(), sizeof v.head);
  v.volumeSetSize = r.Le16(vd::kVolumeSetSize);
  v.volumeSequenceNumber = r.Le16(vd::kVolumeSequence);
  v.logicalBlockSize = r.Le16(vd::kLogicalBlockSize);
  v.pathTableSize = r.Le32(vd::kPathTableSize);
  v.lPathTable = r.Le32(vd::kLPathTable);
  v.optionalLPathTable = r.Le32(vd::kOptionalLPathTable);
  v.mPathTable = r.Be32(vd::kMPathTable);
  v.optionalMPathTableRaw = r.Le32(vd::kOptionalMPathTable);
  v.rootRecordLength = r.U8(vd::kRootRecord + dirrec::kLength);
  v.rootExtendedAttributeLength = r.U8(vd::kRootRecord + dirrec::kExtendedAttributeLength);
  v.rootExtent = r.Le32(vd::kRootRecord + dirrec::kExtent);
  v.rootDataLength = r.Le32(vd::kRootRecord + dirrec::kDataLength);
  reader.volumeSpaceSize = r.Le32(vd::kVolumeSpaceSize);
}

}  // namespace cd
