// SectorDevice over the read-only raw device; CDROM_LOCKDOOR for block devices.
#include "platform/sector_device.h"

#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/raw_device.h"

namespace platform {

namespace {

class FileDevice : public SectorDevice {
 public:
  explicit FileDevice(std::unique_ptr<RawDevice> raw) : raw_(std::move(raw)) {}
  long long ReadAt(std::uint64_t position, void* buffer, std::size_t n) override {
    return raw_->ReadAt(position, buffer, n);
  }
  bool SizeBytes(std::uint64_t& size) const override { return raw_->SizeBytes(size); }
  bool LockMedia(bool lock) override {
    if (!raw_->IsBlockDevice()) return true;
    return ::ioctl(raw_->Descriptor(), CDROM_LOCKDOOR, lock ? 1 : 0) == 0;
  }
  const std::string& Path() const override { return raw_->Path(); }

 private:
  std::unique_ptr<RawDevice> raw_;
};

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISSOCK(mode)) return "a socket";
  return "it";
}

}  // namespace

std::unique_ptr<SectorDevice> OpenSectorDevice(const std::string& path) {
  auto raw = RawDevice::OpenReadOnly(path);
  if (!raw) return nullptr;
  return std::make_unique<FileDevice>(std::move(raw));
}

std::string OpenFailureText(const std::string& path, int error) {
  if (error == ENOTBLK || error == EISDIR) {
    // The refusal of OpenReadOnly: the kind is that of the path as it stands now.
    struct stat st {};
    const char* kind = ::stat(path.c_str(), &st) == 0 ? KindOf(st.st_mode) : "it";
    return path + " cannot be opened: " + kind + " is neither a regular file nor a block device";
  }
  return path + " cannot be opened" + (error != 0 ? std::string(": ") + std::strerror(error) : std::string());
}

}  // namespace platform
