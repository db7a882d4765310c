// Decoding of on-disk names for display: UTF-8 where valid, Latin-1 byte by byte elsewhere.
#include "controls/display_text.h"

namespace controls {
namespace {

// Length of the valid UTF-8 sequence at S[I], or 0 when there is none (overlong forms,
// surrogates and values above U+10FFFF are not valid).
std::size_t ValidSequence(const std::string& s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) return 1;
  std::size_t len;
  unsigned lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < len; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  }
  return len;
}

}  // namespace

std::string DisplayText(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t len = ValidSequence(bytes, i);
    if (len > 0) {
      out.append(bytes, i, len);
      i += len;
    } else {
      const unsigned char c = static_cast<unsigned char>(bytes[i++]);
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace controls
