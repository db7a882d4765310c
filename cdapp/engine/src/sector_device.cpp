// SectorDevice over the platform's read-only raw device; CDROM_LOCKDOOR for drives.
#include "cdengine/sector_device.h"

#include <linux/cdrom.h>
#include <sys/ioctl.h>

#include "platform/raw_device.h"

namespace cd {

namespace {

class RawSectorDevice : public SectorDevice {
 public:
  explicit RawSectorDevice(std::unique_ptr<platform::RawDevice> raw) : raw_(std::move(raw)) {}
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
  std::unique_ptr<platform::RawDevice> raw_;
};

}  // namespace

std::unique_ptr<SectorDevice> OpenSectorDevice(const std::string& path) {
  auto raw = platform::RawDevice::OpenReadOnly(path);
  if (!raw) return nullptr;
  return std::make_unique<RawSectorDevice>(std::move(raw));
}

}  // namespace cd
