// The in-memory medium with faults on byte ranges.
#include "memory_device.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

bool Touches(std::uint64_t position, std::size_t n, std::uint64_t begin, std::uint64_t end) {
  const std::uint64_t last = position + std::max<std::size_t>(n, 1);  // an empty read touches its position
  return position < end && begin < last;
}

}  // namespace

MemoryDevice::MemoryDevice(std::vector<std::uint8_t> bytes, std::string path)
    : medium_(std::make_shared<Medium>()), path_(std::move(path)) {
  medium_->bytes = std::move(bytes);
}

std::unique_ptr<MemoryDevice> MemoryDevice::Open() const {
  return std::unique_ptr<MemoryDevice>(new MemoryDevice(medium_, path_));
}

std::vector<std::uint8_t>& MemoryDevice::Bytes() { return medium_->bytes; }

void MemoryDevice::Put(std::uint64_t position, std::vector<std::uint8_t> bytes) {
  medium_->pieces[position] = std::move(bytes);
}

void MemoryDevice::SetSize(std::uint64_t size) { medium_->size = size; }

void MemoryDevice::Fail(std::uint64_t begin, std::uint64_t end, int times) {
  medium_->faults.push_back({begin, end, true, 0, times});
}

void MemoryDevice::Short(std::uint64_t begin, std::uint64_t end, std::size_t cut, int times) {
  medium_->faults.push_back({begin, end, false, cut, times});
}

void MemoryDevice::Bad(std::uint64_t begin, std::uint64_t end) {
  medium_->faults.push_back({begin, end, false, 0, kEvery, true});
}

void MemoryDevice::ClearFaults() { medium_->faults.clear(); }

const std::vector<MemoryDevice::Read>& MemoryDevice::Reads() const { return medium_->reads; }

void MemoryDevice::ClearReads() { medium_->reads.clear(); }

std::size_t MemoryDevice::ReadsOf(std::uint64_t begin, std::uint64_t end) const {
  return static_cast<std::size_t>(std::count_if(medium_->reads.begin(), medium_->reads.end(), [&](const Read& r) {
    return Touches(r.first, r.second, begin, end);
  }));
}

std::uint64_t MemoryDevice::Size() const { return medium_->size != 0 ? medium_->size : medium_->bytes.size(); }

long long MemoryDevice::ReadAt(std::uint64_t position, void* buffer, std::size_t n) {
  Medium& m = *medium_;
  m.reads.emplace_back(position, n);
  std::size_t cut = 0;
  std::size_t most = n;  // the bytes a bad range lets through
  // The first fault put on a range the read touches decides how it goes.
  for (Fault& f : m.faults) {
    if (f.times == 0 || !Touches(position, n, f.begin, f.end)) continue;
    if (f.times > 0) --f.times;
    if (f.bad && position < f.begin) {
      most = static_cast<std::size_t>(f.begin - position);
      break;
    }
    if (f.fails || f.bad) {
      errno = EIO;
      return -1;
    }
    cut = f.cut;
    break;
  }
  const std::uint64_t size = Size();
  if (position >= size) return 0;
  std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(most, size - position));
  len = len > cut ? len - cut : 0;
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::memset(out, 0, len);
  const std::uint64_t stop = position + len;
  if (position < m.bytes.size()) {
    std::memcpy(out, m.bytes.data() + position, static_cast<std::size_t>(std::min<std::uint64_t>(stop, m.bytes.size()) - position));
  }
  for (const auto& [at, piece] : m.pieces) {
    if (at >= stop) break;
    const std::uint64_t from = std::max(at, position);
    const std::uint64_t to = std::min<std::uint64_t>(stop, at + piece.size());
    if (from < to) std::memcpy(out + (from - position), piece.data() + (from - at), static_cast<std::size_t>(to - from));
  }
  return static_cast<long long>(len);
}

bool MemoryDevice::SizeBytes(std::uint64_t& size) const {
  size = Size();
  return true;
}

}  // namespace platform
