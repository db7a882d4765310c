// The File Mask's tests of one entry: extensions, deleted or existing, size bounds, a recent period
// or a date range. The tree view applies them to its whole list (CLeftView::ApplyFileMask).
#pragma once

#include <string>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/entry_node.h"
#include "linuxcore/inode_time.h"

namespace ext2::core {

// Today's date in UTC.
SystemTime TodayUtc();

// The items of a mask text: split at each ";" (an empty item between two ";" or before a leading
// one, none after a final one), each at most 255 characters. The text counts up to 255 characters;
// a text of one character gives no item.
std::vector<std::string> SplitMaskText(const std::string& text);

// Whether "*." followed by NAME's extension (everything after its first ".") equals an item,
// byte for byte with MATCHCASE, else ASCII case-insensitively. A name without "." never matches.
bool MatchMaskExtension(const std::string& name, const std::vector<std::string>& items, bool matchCase);

// The date passes when it lies within the N calendar days before TODAY, TODAY included: from the
// day N days before TODAY up to TODAY. Later dates do not pass.
bool WithinLastDays(int n, int day, int month, int year, const SystemTime& today);
// The date passes when it is no older than N months before TODAY (same day of the month); a date
// up to the end of today's year passes too.
bool WithinLastMonths(int n, int day, int month, int year, const SystemTime& today);
// The date lies between the two dates, both included, in whichever order they are given.
bool WithinDates(int day, int month, int year, const FileMaskCriteria& c);

// A size box's text as the whole number of megabytes it shows (blanks around it allowed), into
// MEGABYTES; false for an empty text, a fraction, a sign or anything else, or a number above INT_MAX.
bool ParseWholeMegabytes(const std::string& text, int& megabytes);

// Whether the file ENTRY (NAME) passes every criterion of C that is in force.
bool PassesFileMask(const EntryNode& entry, const std::string& name, const FileMaskCriteria& c, const SystemTime& today);

}  // namespace ext2::core
