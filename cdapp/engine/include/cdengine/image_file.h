// The CD image file: every sector of the disc followed by one trailer sector that names it.
#pragma once

#include <string>

#include "cdengine/cd_reader.h"

namespace cd {

// "12345abbgtpogpkicupog6789": the first 25 bytes of an image's trailer sector.
extern const char kImageSignature[26];
inline constexpr std::uint32_t kSectorsWithoutDescriptor = 341796;

// The file an image is written to: FILE_NAME in the folder of PATH_NAME, with ".cd" appended
// unless the name already contains ".cd".
std::string ImageFilePath(const std::string& pathName, const std::string& fileName);

// Copies the disc sector by sector into the image file and appends the trailer.
void CreateImage(CCDReader& reader, const std::string& pathName, const std::string& fileName,
                 const std::string& extension);

// Makes PATH the shared device when its last sector starts with the signature; otherwise reopens
// the selected drive and returns false.
bool OpenImage(CCDReader& reader, const std::string& path);

}  // namespace cd
