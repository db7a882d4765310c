// Include/exclude name patterns of recovery.
#include <cctype>

#include "ext2engine/recovery.h"

namespace ext2 {

namespace {
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

std::string ExpandPart(const std::string& part) {
  if (!part.empty() && part[0] == '*') return std::string(128, '?');
  std::string out;
  for (char c : part) out += Upper(c);
  return out;
}
}  // namespace

std::string ExpandPattern(const std::string& pattern) {
  const auto dot = pattern.rfind('.');
  if (dot == std::string::npos) return ExpandPart(pattern).substr(0, 259);
  std::string out = ExpandPart(pattern.substr(0, dot)) + "." + ExpandPart(pattern.substr(dot + 1));
  return out.substr(0, 259);
}

int MatchPattern(const std::string& name, const std::string& pattern) {
  const std::string t = ExpandPattern(pattern);
  if (t.empty()) return 0;
  const auto nameDot = name.find('.');
  const std::string ext = nameDot == std::string::npos ? std::string() : name.substr(nameDot + 1);
  std::size_t i = 0;
  // The name part: position by position.
  for (; i < t.size() && t[i] != '.'; ++i) {
    if (t[i] == '?') continue;
    if (i >= name.size() || Upper(name[i]) != t[i]) return 0;
  }
  if (i == t.size()) return 1;
  if (nameDot == std::string::npos) return 0;
  ++i;  // the '.'
  // The extension: a '?' accepts without using a character of the name's extension.
  std::size_t e = 0;
  for (; i < t.size(); ++i) {
    if (t[i] == '?') continue;
    if (e >= ext.size() || Upper(ext[e]) != t[i]) return 0;
    ++e;
  }
  return 1;
}

int MatchFilterList(const std::string& name, const std::vector<FilterNode>& list, std::uint8_t mode) {
  if (list.empty()) return 1;
  for (const auto& f : list) {
    if (MatchPattern(name, f.pattern)) return mode == 0 ? 1 : 0;
  }
  return mode == 0 ? 0 : 1;
}

}  // namespace ext2
