// Fuzz targets of the CD engine, over an in-memory disc.
#include <cstdio>
#include <string>
#include <vector>

#include "cdengine/commands.h"
#include "cdengine/path_tables.h"
#include "fuzz_targets.h"
#include "test_image.h"

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
