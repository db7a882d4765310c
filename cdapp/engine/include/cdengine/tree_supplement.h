// Where the Joliet tree of a disc cannot be read whole, the ISO 9660 tree of its primary
// descriptor stands in for what the Joliet tree lost: both trees record the same files at the
// same extents, each in folders of its own.
#pragma once

#include <cstdint>

#include "cdengine/cd_reader.h"

namespace cd {

// Lists the entries of the ISO 9660 tree (and the folders of its path tables) of the primary
// descriptor at PRIMARY_SECTOR that the Joliet tree in the entry list does not hold: each below
// the Joliet folder that holds the same files, or below a folder of its ISO 9660 name where the
// Joliet tree has none; one row says how many were listed so. The entry list must hold the Joliet
// tree's files as well as its folders.
void ListWhatJolietLost(CCDReader& reader, std::uint32_t primarySector);

}  // namespace cd
