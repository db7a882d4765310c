// Fuzz targets of the CD engine, over an in-memory disc.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cdengine/commands.h"
#include "cdengine/path_tables.h"
#include "cdengine/recovery.h"
#include "cd_headless_host.h"
#include "fuzz_targets.h"
#include "memory_device.h"

namespace fuzz {

using namespace cd;
using namespace cd::headless;

namespace {

// The input as a disc.
void UseDevice(CdHeadlessHost& host, std::vector<std::uint8_t> bytes) {
  host.reader.device = std::make_unique<platform::MemoryDevice>(std::move(bytes), "fuzz disc");
  host.app.driveOpened = 1;
}

}  // namespace

int FuzzCdVolume(const std::uint8_t* data, std::size_t size) {
  CdHeadlessHost host;
  UseDevice(host, std::vector<std::uint8_t>(data, data + size));
  OpenDriveCommand(host.reader);
  host.reader.FreeEntryList();
  return 0;
}

int FuzzCdRawScans(const std::uint8_t* data, std::size_t size) {
  for (FallbackForm form : {FallbackForm::A, FallbackForm::B}) {
    CdHeadlessHost host;
    UseDevice(host, std::vector<std::uint8_t>(data, data + size));
    host.reader.volumeSpaceSize = static_cast<std::uint32_t>(size / 2048);
    RunRawScanFallback(host.reader, form);
    host.reader.FreeEntryList();
  }
  return 0;
}

int FuzzCdImage(const std::uint8_t* data, std::size_t size) {
  static const std::string path = FuzzTempPath("image.cd");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  CdHeadlessHost host;
  OpenImageCommand(host.reader, path);
  host.reader.FreeEntryList();
  return 0;
}

int FuzzCdRecovery(const std::uint8_t* data, std::size_t size) {
  static const std::string scratch = FuzzTempPath("recovery");
  std::error_code error;
  std::filesystem::remove_all(scratch, error);
  std::filesystem::create_directories(scratch, error);
  CdHeadlessHost host;
  UseDevice(host, std::vector<std::uint8_t>(data, data + size));
  OpenDriveCommand(host.reader);
  RecoverFiles(host.reader, scratch, kRecoverAll);
  host.reader.FreeEntryList();
  // Nothing is written outside the scratch folder; it goes, so that inputs do not add up.
  std::filesystem::remove_all(scratch, error);
  return 0;
}

}  // namespace fuzz
