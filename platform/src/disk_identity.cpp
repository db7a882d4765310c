// ATA IDENTIFY through the Linux block layer: the hdreg ioctl, then SCSI generic ATA pass-through.
#include "platform/disk_identity.h"

#include <fcntl.h>
#include <linux/hdreg.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace platform {

namespace {

constexpr std::uint8_t kAtaPassThrough16 = 0x85;
constexpr std::uint8_t kProtocolPioDataIn = 4;
// T_DIR (from the device), BYT_BLOK (count in blocks), T_LENGTH 2 (the count is in the sector-count field).
constexpr std::uint8_t kTransferFromDeviceInSectors = 0x08 | 0x04 | 0x02;
constexpr std::size_t kCdbSectorCount = 6;
constexpr std::size_t kCdbCommand = 14;
constexpr std::uint8_t kIdentifyDevice = 0xEC;
constexpr std::uint8_t kIdentifyPacketDevice = 0xA1;
constexpr unsigned kTimeoutMs = 10000;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The text fields of IDENTIFY data, as first and last word.
struct TextField {
  std::size_t first, last;
};
constexpr TextField kTextFields[] = {{10, 19}, {23, 26}, {27, 46}};

bool IsTextWord(std::size_t w) {
  for (const TextField& f : kTextFields) {
    if (w >= f.first && w <= f.last) return true;
  }
  return false;
}

bool ByHdioGetIdentity(int fd, AtaIdentifyBytes& bytes) {
  AtaIdentifyBytes raw{};
  if (::ioctl(fd, HDIO_GET_IDENTITY, raw.data()) != 0) return false;
  bytes = HdioIdentityToDeviceOrder(raw);
  return true;
}

bool ByAtaPassThrough(int fd, std::uint8_t command, AtaIdentifyBytes& bytes) {
  unsigned char cdb[16] = {};
  cdb[0] = kAtaPassThrough16;
  cdb[1] = kProtocolPioDataIn << 1;
  cdb[2] = kTransferFromDeviceInSectors;
  cdb[kCdbSectorCount] = 1;
  cdb[kCdbCommand] = command;
  unsigned char sense[32] = {};
  AtaIdentifyBytes answer{};
  sg_io_hdr_t io{};
  io.interface_id = 'S';
  io.dxfer_direction = SG_DXFER_FROM_DEV;
  io.cmd_len = sizeof cdb;
  io.mx_sb_len = sizeof sense;
  io.dxfer_len = kAtaIdentifySize;
  io.dxferp = answer.data();
  io.cmdp = cdb;
  io.sbp = sense;
  io.timeout = kTimeoutMs;
  if (::ioctl(fd, SG_IO, &io) != 0) return false;
  if ((io.info & SG_INFO_OK_MASK) != SG_INFO_OK || io.resid != 0) return false;
  bytes = answer;
  return true;
}

}  // namespace

AtaIdentifyBytes HdioIdentityToDeviceOrder(const AtaIdentifyBytes& raw) {
  AtaIdentifyBytes out{};
  for (std::size_t w = 0; w < kAtaIdentifySize / 2; ++w) {
    const std::uint8_t b0 = raw[2 * w];
    const std::uint8_t b1 = raw[2 * w + 1];
    if (IsTextWord(w)) {
      // B0 is the earlier character: the device's high byte.
      out[2 * w] = b1;
      out[2 * w + 1] = b0;
    } else {
      std::uint16_t word;
      std::memcpy(&word, &raw[2 * w], sizeof word);
      out[2 * w] = static_cast<std::uint8_t>(word & 0xFF);
      out[2 * w + 1] = static_cast<std::uint8_t>(word >> 8);
    }
  }
  return out;
}

bool ReadAtaIdentify(const std::string& path, AtaIdentifyBytes& bytes) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return false;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !(S_ISBLK(st.st_mode) || S_ISCHR(st.st_mode))) return false;
  return ByHdioGetIdentity(fd.get(), bytes) || ByAtaPassThrough(fd.get(), kIdentifyDevice, bytes) ||
         ByAtaPassThrough(fd.get(), kIdentifyPacketDevice, bytes);
}

}  // namespace platform
