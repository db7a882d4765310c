// Recovery of CD files into DESTINATION (which ends in "Root"), folder by folder along the tree's
// check marks, with the File Filter deciding per file.
#pragma once

#include <cstdint>
#include <string>

#include "cdengine/cd_reader.h"
#include "controls/tree_control.h"

namespace cd {

struct TreeItemNode;

enum RecoverMode : int { kRecoverMarked = 0, kRecoverAll = 1, kRecoverDeleted = 2 };

// Walks the tree from its root and writes the chosen files below DESTINATION.
void RecoverItems(CCDReader& reader, const std::string& destination, int mode);

// 1 when NAME matches a File Filter pattern ("*." and its extension, or the whole name); 0 when not
// or when there are no patterns.
int MatchesFileFilter(const CCDReader& reader, const std::string& name);
int ComparePattern(const CCDReader& reader, const std::string& extensionPattern, const std::string& name);

// The name a recovered entry is written under: "." , "..", an empty name and names containing '/'
// or NUL would leave the destination or cannot be made, so they get a safe name instead.
std::string SafeOutputName(const std::string& name, std::uint32_t key);

// Adds PATTERN to the File Filter list unless it is there already; false when it was.
bool AddFilterPattern(CCDReader& reader, const std::string& pattern);

}  // namespace cd
