// Decoding the identity texts of ATA IDENTIFY data and storing them in the application state.
#include "ext2engine/disk_identity.h"

#include <algorithm>
#include <cstring>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "platform/byte_reader.h"
#include "platform/disk_identity.h"

namespace ext2 {

namespace {

constexpr int kSerialFirst = 10;
constexpr int kSerialLast = 19;
constexpr int kFirmwareFirst = 23;
constexpr int kFirmwareLast = 26;
constexpr int kModelFirst = 27;
constexpr int kModelLast = 46;
constexpr std::size_t kFieldSize = 32;  // 31 characters and the NUL

class PathIdentitySource : public IdentitySource {
 public:
  PathIdentitySource() = default;
  explicit PathIdentitySource(std::vector<std::string> paths) : fixed_(true), paths_(std::move(paths)) {}

  bool ReadIdentify(unsigned index, IdentifyBytes& bytes) override {
    // Without a list of its own, an index names the disk the sector reads name: the disk source's.
    const std::string path = fixed_ ? (index < paths_.size() ? paths_[index] : std::string())
                                    : PhysicalDiskPath(static_cast<std::uint8_t>(index));
    if (path.empty()) return false;
    platform::AtaIdentifyBytes answer{};
    if (!platform::ReadAtaIdentify(path, answer)) return false;
    static_assert(sizeof answer == sizeof bytes);
    std::memcpy(bytes.data(), answer.data(), bytes.size());
    return true;
  }

 private:
  bool fixed_ = false;  // a list given by path: it stays as given
  std::vector<std::string> paths_;
};

std::shared_ptr<IdentitySource>& Source() {
  static std::shared_ptr<IdentitySource> source = PlatformIdentitySource();
  return source;
}

void StoreField(char (&field)[kFieldSize], const std::string& text) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, text.data(), std::min(text.size(), sizeof field - 1));
}

}  // namespace

IdentifyWords DecodeIdentifyWords(const IdentifyBytes& bytes) {
  const platform::ByteReader r(bytes.data(), bytes.size());
  IdentifyWords words{};
  for (std::size_t i = 0; i < words.size(); ++i) words[i] = r.Le16(2 * i);
  return words;
}

std::string ExtractIdentifyString(const IdentifyWords& words, int first, int last) {
  std::string text;
  if (first < 0) first = 0;
  if (last >= static_cast<int>(words.size())) last = static_cast<int>(words.size()) - 1;
  for (int w = first; w <= last; ++w) {
    text += static_cast<char>(words[static_cast<std::size_t>(w)] >> 8);
    text += static_cast<char>(words[static_cast<std::size_t>(w)] & 0xFF);
  }
  text.resize(std::strlen(text.c_str()));
  while (text.size() > 1 && text.back() == ' ') text.pop_back();
  return text;
}

void StoreDiskIdentity(std::uint8_t, const IdentifyWords& words) {
  AppState& app = App();
  StoreField(app.diskSerial, ExtractIdentifyString(words, kSerialFirst, kSerialLast));
  StoreField(app.diskModel, ExtractIdentifyString(words, kModelFirst, kModelLast));
  StoreField(app.diskFirmware, ExtractIdentifyString(words, kFirmwareFirst, kFirmwareLast));
}

std::shared_ptr<IdentitySource> PlatformIdentitySource() { return std::make_shared<PathIdentitySource>(); }

std::shared_ptr<IdentitySource> PathListIdentitySource(std::vector<std::string> paths) {
  return std::make_shared<PathIdentitySource>(std::move(paths));
}

void SetIdentitySource(std::shared_ptr<IdentitySource> source) {
  Source() = source ? std::move(source) : PlatformIdentitySource();
}

bool IdentifyDisk(std::uint8_t n) {
  IdentifyBytes bytes{};
  if (!Source()->ReadIdentify(n, bytes)) {
    AppState& app = App();
    StoreField(app.diskSerial, {});
    StoreField(app.diskModel, {});
    StoreField(app.diskFirmware, {});
    return false;
  }
  StoreDiskIdentity(n, DecodeIdentifyWords(bytes));
  return true;
}

}  // namespace ext2
