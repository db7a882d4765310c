// Status-bar amount texts.
#include "linuxcore/size_text.h"

#include <cstdio>

std::string FormatSizeText(std::uint64_t bytes, long files, long folders, bool marked) {
  const char* word = marked ? "Marked" : "Total";
  char text[256];
  if (bytes < 1024) {
    std::snprintf(text, sizeof text, "   %s 0 Bytes in %ld Files in %ld Folders", word, files, folders);
    return text;
  }
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
  const std::uint64_t whole = bytes / u->size;
  // The fraction in 128-bit-safe steps: remainder < 2^30 and scale <= 1000 keep it in 64 bits.
  const std::uint64_t fraction = (bytes % u->size) * u->scale / u->size;
  std::snprintf(text, sizeof text, "   %s %llu.%0*llu %s in %ld Files in %ld Folders", word,
                static_cast<unsigned long long>(whole), u->digits, static_cast<unsigned long long>(fraction), u->name,
                files, folders);
  return text;
}
