// Status-bar amount texts.
#include "linuxcore/size_text.h"

#include <charconv>
#include <iterator>

namespace ext2::core {

namespace {

// Appends N in decimal, with leading zeros up to WIDTH digits.
void AppendNumber(std::string& text, long long n, int width = 0) {
  char digits[24];
  const auto end = std::to_chars(std::begin(digits), std::end(digits), n).ptr;
  for (auto shown = end - digits; shown < width; ++shown) text += '0';
  text.append(digits, end);
}

}  // namespace

// Written by hand rather than with snprintf: a tree build writes the Total text at every entry.
std::string FormatSizeText(std::uint64_t bytes, long files, long folders, bool marked) {
  std::string text;
  text.reserve(64);
  text += marked ? "   Marked " : "   Total ";
  if (bytes < 1024) {
    text += "0 Bytes";
  } else {
    struct Unit {
      std::uint64_t size;
      const char* name;
      int digits;
      std::uint64_t scale;
    };
    static const Unit units[] = {{1ull << 30, "GB", 3, 1000}, {kMegabyte, "MB", 3, 1000}, {1ull << 10, "KB", 2, 100}};
    const Unit* u = &units[2];
    for (const auto& candidate : units) {
      if (bytes >= candidate.size) {
        u = &candidate;
        break;
      }
    }
    // The fraction in 64 bits: the remainder is below 2^30 and the scale at most 1000. The whole
    // part stays below 2^34.
    AppendNumber(text, static_cast<long long>(bytes / u->size));
    text += '.';
    AppendNumber(text, static_cast<long long>((bytes % u->size) * u->scale / u->size), u->digits);
    text += ' ';
    text += u->name;
  }
  text += " in ";
  AppendNumber(text, files);
  text += " Files in ";
  AppendNumber(text, folders);
  text += " Folders";
  return text;
}

}  // namespace ext2::core
