// Test support for both engines: a medium held in memory behind the device seam, with faults put
// on byte ranges: reads that fail, reads that come short, reads that fail a number of times and
// then succeed. Every read is recorded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/sector_device.h"

namespace platform {

class MemoryDevice : public SectorDevice {
 public:
  static constexpr std::uint64_t kEnd = UINT64_MAX;  // a range that runs to the end of any medium
  static constexpr int kEvery = -1;                  // a fault that never wears off
  using Read = std::pair<std::uint64_t, std::size_t>;  // (position, bytes asked)

  explicit MemoryDevice(std::vector<std::uint8_t> bytes = {}, std::string path = "memory");

  // Another device on the same medium, as opening a disk again gives: bytes, faults and the read
  // record are shared.
  std::unique_ptr<MemoryDevice> Open() const;

  // The medium's bytes from position 0.
  std::vector<std::uint8_t>& Bytes();
  // Lays BYTES over the medium at POSITION, also far past the bytes from 0 (a sparse medium).
  void Put(std::uint64_t position, std::vector<std::uint8_t> bytes);
  // The medium's size; reads up to it deliver zeros where nothing was put. 0: the size of Bytes().
  void SetSize(std::uint64_t size);

  // A read that touches bytes BEGIN..END (END not included) fails with EIO: every such read, or
  // only the first TIMES of them, after which the range reads.
  void Fail(std::uint64_t begin, std::uint64_t end, int times = kEvery);
  // A read that touches bytes BEGIN..END delivers CUT bytes fewer than it would (none when it would
  // deliver CUT or fewer): every such read, or only the first TIMES of them.
  void Short(std::uint64_t begin, std::uint64_t end, std::size_t cut, int times = kEvery);
  // Bytes BEGIN..END are unreadable as on a drive: a read that starts there fails with EIO, a read
  // that reaches into them from before delivers the bytes before BEGIN.
  void Bad(std::uint64_t begin, std::uint64_t end);
  void ClearFaults();

  // Every read asked of the medium, in order.
  const std::vector<Read>& Reads() const;
  void ClearReads();
  // The reads that touched bytes BEGIN..END.
  std::size_t ReadsOf(std::uint64_t begin, std::uint64_t end) const;

  long long ReadAt(std::uint64_t position, void* buffer, std::size_t n) override;
  bool SizeBytes(std::uint64_t& size) const override;
  const std::string& Path() const override { return path_; }

 private:
  struct Fault {
    std::uint64_t begin, end;
    bool fails;       // else the read comes short by CUT
    std::size_t cut;
    int times;        // reads left it applies to; kEvery: all
    bool bad = false;  // fails where it starts inside, ends at BEGIN where it reaches in
  };
  struct Medium {
    std::vector<std::uint8_t> bytes;
    std::map<std::uint64_t, std::vector<std::uint8_t>> pieces;
    std::uint64_t size = 0;
    std::vector<Fault> faults;
    std::vector<Read> reads;
  };
  MemoryDevice(std::shared_ptr<Medium> medium, std::string path) : medium_(std::move(medium)), path_(std::move(path)) {}
  std::uint64_t Size() const;

  std::shared_ptr<Medium> medium_;
  std::string path_;
};

}  // namespace platform
