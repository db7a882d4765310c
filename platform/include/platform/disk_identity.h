// The identity a disk reports: the 512 bytes of its answer to ATA IDENTIFY.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

constexpr std::size_t kAtaIdentifySize = 512;
using AtaIdentifyBytes = std::array<std::uint8_t, kAtaIdentifySize>;

// Reads the IDENTIFY data of the disk at PATH into BYTES as the device sends it (256 little-endian
// words): HDIO_GET_IDENTITY first, else SG_IO ATA PASS-THROUGH (16) with IDENTIFY DEVICE, then with
// IDENTIFY PACKET DEVICE. The device is opened read-only. False for an image file (it has no
// identity), a path that cannot be opened, or a disk that answers none of them.
bool ReadAtaIdentify(const std::string& path, AtaIdentifyBytes& bytes);

// The answer of HDIO_GET_IDENTITY (RAW) in the device's order. The kernel hands the words over in
// the processor's order, and the serial number, firmware and model fields as plain text (the
// earlier character first in memory), where the device puts the earlier character in the high byte.
AtaIdentifyBytes HdioIdentityToDeviceOrder(const AtaIdentifyBytes& raw);

}  // namespace platform
