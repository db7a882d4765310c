// ISO 9660 directory records: name conversion and the walk over a buffer of
// directory sectors that never reads past the buffer or across a sector end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "cdengine/iso_layout.h"

namespace cd {

// UCS-2 (big-endian; surrogate pairs joined) to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Ucs2BeToUtf8(const std::uint8_t* bytes, std::size_t byteCount);

// The listed name of a record's name bytes: Joliet names decoded to UTF-8, ISO 9660 names as
// bytes; a file's version suffix (";" and digits) is dropped, a folder's name kept whole.
std::string ConvertRecordName(const std::uint8_t* name, std::size_t length, bool joliet, bool folder);

// True when the bytes at POS look like the 0xF6 fill of an unread sector rather than a record
// whose length happens to be 246: the record's fixed part (as much as the sector holds) is all 0xF6.
bool IsFillAt(std::span<const std::uint8_t> sector, std::size_t pos);

// Calls VISIT with each record of BUFFER from START (records never span sectors). A zero length
// byte moves to the next sector; the fill ends the walk; a record shorter than its fixed part or
// crossing the sector end moves to the next sector; a name longer than its record is passed over.
// False when the fill ended the walk.
bool WalkRecords(std::span<const std::uint8_t> buffer, std::size_t start,
                 const std::function<void(std::span<const std::uint8_t> record)>& visit);

// Where the walk of a directory's first sector starts: after its "." and ".." records.
std::size_t FirstRealRecord(std::span<const std::uint8_t> buffer);

}  // namespace cd
