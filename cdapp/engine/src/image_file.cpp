// Creating and opening CD image files.
#include "cdengine/image_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cdengine/drive_access.h"
#include "cdengine/log_time.h"
#include "cdengine/volume_reading.h"

namespace cd {

const char kImageSignature[26] = "12345abbgtpogpkicupog6789";

namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    const ssize_t w = ::write(fd, data + done, n - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    done += static_cast<std::size_t>(w);
  }
  return true;
}

void Row(CCDReader& reader, const char* activity, const char* text, const std::string& status, CdLogIcon icon) {
  reader.app->rowActivity = activity != nullptr ? activity : "";
  reader.app->rowText = text;
  reader.app->rowStatus = status;
  reader.frame->AddLogEntry(activity, text, status.c_str(), icon);
}

// An opened image file as the device: its sectors up to the trailer. The trailer is no part of the
// volume, so no read delivers its bytes and the medium ends where it begins.
class TrailerBoundDevice : public platform::SectorDevice {
 public:
  TrailerBoundDevice(std::unique_ptr<platform::SectorDevice> image, std::uint64_t end) : image_(std::move(image)), end_(end) {}
  long long ReadAt(std::uint64_t position, void* buffer, std::size_t n) override {
    if (position >= end_) return 0;
    return image_->ReadAt(position, buffer, static_cast<std::size_t>(std::min<std::uint64_t>(n, end_ - position)));
  }
  bool SizeBytes(std::uint64_t& size) const override {
    size = end_;
    return true;
  }
  bool LockMedia(bool lock) override { return image_->LockMedia(lock); }
  const std::string& Path() const override { return image_->Path(); }

 private:
  std::unique_ptr<platform::SectorDevice> image_;
  std::uint64_t end_;
};

bool MediumKnown(const CCDReader& reader) {
  std::uint64_t size = 0;
  return reader.device != nullptr && reader.device->SizeBytes(size);
}

}  // namespace

std::string ImageFilePath(const std::string& pathName, const std::string& fileName) {
  const std::size_t slash = pathName.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : pathName.substr(0, slash + 1);
  const std::string name = fileName.find(".cd") != std::string::npos ? fileName : fileName + ".cd";
  return folder + name;
}

void CreateImage(CCDReader& reader, const std::string& pathName, const std::string& fileName,
                 const std::string& /*extension*/) {
  CdFrame& frame = *reader.frame;
  CdAppState& app = *reader.app;
  const CdTime start = CdNowUtc();
  app.weekday = WeekdayName(start.weekday);
  app.month = MonthName(start.month);
  app.rowActivity.clear();
  app.rowText.clear();
  app.rowStatus.clear();
  Row(reader, "Creating CD-ROM Image", "Process started",
      FormatLogTime("Started, %s, %s %d %d at %d-%d-%d", app.weekday, app.month, start), kCdIconOk);
  frame.EnableToolbarButton(kCdCmdFileMask, false);
  frame.stepsAfterStop = 0;
  app.overwriteAnswer = 0;

  const std::string path = ImageFilePath(pathName, fileName);
  if (!ScanDisc(reader)) return;
  const std::uint64_t volume = reader.volumeSpaceSize != 0 ? reader.volumeSpaceSize : kSectorsWithoutDescriptor;
  // Reads past the end of the medium end the copy as a read that delivers nothing does.
  const std::uint64_t medium = reader.MediumSectors();
  // A volume space size smaller than the medium would leave out whatever the disc holds past it,
  // files its tree names among them: the copy goes on to the medium's end (when its size is known).
  const bool pastVolume = MediumKnown(reader) && medium > volume;
  const std::uint64_t sectors = pastVolume ? std::min<std::uint64_t>(medium, UINT32_MAX) : volume;

  // An existing file is replaced only when the user says Overwrite.
  struct stat st {};
  struct stat source {};
  const bool exists = ::lstat(path.c_str(), &st) == 0;
  if (exists && reader.device && ::stat(reader.device->Path().c_str(), &source) == 0 && st.st_dev == source.st_dev &&
      st.st_ino == source.st_ino) {
    // Never write over the disc or image being read.
    frame.GetPrompts().MessageBox("Unable to create/Open file for storing image", "System Error", CdButtons::Ok);
    frame.busy = 0;
    return;
  }
  if (exists) {
    frame.GetPrompts().RunOverwriteDialog();
    if (app.overwriteAnswer != 1) {
      frame.busy = 0;  // the copy ends before it started
      return;
    }
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) {
    frame.GetPrompts().MessageBox("Unable to create/Open file for storing image", "System Error", CdButtons::Ok);
    frame.busy = 0;
    return;
  }
  if (pastVolume) {
    char status[64];
    std::snprintf(status, sizeof status, "Volume %llu sectors, medium %llu sectors",
                  static_cast<unsigned long long>(volume), static_cast<unsigned long long>(medium));
    Row(reader, nullptr, "Medium larger than the volume, copying to the medium's end", status, kCdIconInfo);
    app.logHasRows = 1;
  }
  frame.StartProgressRange(static_cast<std::uint32_t>(sectors));

  std::vector<std::uint8_t> buffer(kSectorSize);
  bool stopped = false;
  bool writeFailed = false;
  bool cut = false;  // the disc ended before its volume did
  std::uint64_t unread = 0;  // sectors not read whole, their missing bytes written as 0xF6
  std::uint64_t i = 0;
  for (; i < sectors; ++i) {
    if (frame.stopFlag) {
      app.logHasRows = 1;
      const CdTime now = CdNowUtc();
      Row(reader, nullptr, "Aborted, user intervention",
          FormatLogTime("Aborted, %s, %s %d %d at %d-%d-%d", app.weekday, app.month, now), kCdIconError);
      stopped = true;
      break;
    }
    if (i >= medium) {
      cut = true;
      break;
    }
    std::fill(buffer.begin(), buffer.end(), kFillByte);
    std::uint32_t got = 0;
    const bool ok = reader.ReadSectors(static_cast<std::uint32_t>(i), 1, buffer, got);
    frame.StepProgress(static_cast<std::uint32_t>(i), 0, nullptr, 0, 0, 0);
    if (ok && got == 0) {
      cut = true;
      break;
    }
    if (!WriteAll(fd, buffer.data(), buffer.size())) {
      writeFailed = true;
      break;
    }
    if (!ok || got < kSectorSize) {
      ++unread;
      char status[64];
      std::snprintf(status, sizeof status, "Error reading sector %d", static_cast<int>(i));
      Row(reader, nullptr, "Read error", status, kCdIconError);
      app.logHasRows = 1;
    }
  }
  if (cut) {
    char status[64];
    std::snprintf(status, sizeof status, "Error reading sector %d", static_cast<int>(i));
    Row(reader, nullptr, "Read error", status, kCdIconError);
    app.logHasRows = 1;
  }
  if (!writeFailed) {
    std::fill(buffer.begin(), buffer.end(), kFillByte);
    std::memcpy(buffer.data(), kImageSignature, sizeof kImageSignature);
    writeFailed = !WriteAll(fd, buffer.data(), buffer.size());
  }
  if (::close(fd) != 0) writeFailed = true;
  if (writeFailed) {
    // A cut copy is no image: the program refuses to open it, and on a full destination it holds
    // the space the copy ran out of. The disc is still there to copy again, so the file goes.
    ::unlink(path.c_str());
    const CdTime now = CdNowUtc();
    Row(reader, nullptr, "Process failed, image file not written",
        FormatLogTime("Failed %s, %s %d %d at %d-%d-%d", app.weekday, app.month, now), kCdIconError);
    app.logHasRows = 1;
    frame.GetPrompts().MessageBox("Unable to write image file", "System Error", CdButtons::Ok);
  } else if (!stopped && (cut || unread > 0)) {
    // The image is not the disc: no success row, and the count of what it lacks.
    std::string text = "Process completed";
    if (cut) text += ", image holds less than the volume";
    if (unread > 0) {
      char count[96];
      std::snprintf(count, sizeof count, ", %llu unreadable sector%s written as 0xF6",
                    static_cast<unsigned long long>(unread), unread == 1 ? "" : "s");
      text += count;
    }
    const CdTime now = CdNowUtc();
    Row(reader, nullptr, text.c_str(), FormatLogTime("Completed %s, %s %d %d at %d-%d-%d", app.weekday, app.month, now),
        kCdIconError);
    app.logHasRows = 1;
  } else if (!stopped) {
    const CdTime now = CdNowUtc();
    Row(reader, nullptr, "Process completed successfully",
        FormatLogTime("Completed %s, %s %d %d at %d-%d-%d", app.weekday, app.month, now), kCdIconDone);
    app.logHasRows = 1;
  }
  frame.busy = 0;
  frame.stopFlag = 1;
  frame.StepProgress(static_cast<std::uint32_t>(i), 0, nullptr, 0, 0, 0);
}

bool OpenImage(CCDReader& reader, const std::string& path) {
  reader.device.reset();
  errno = 0;
  reader.device = reader.openDevice(path);
  const int error = errno;
  if (!reader.device) {
    LogOpenFailure(reader, "Opening CD-ROM Image", path, error, "Image not opened");
    reader.frame->GetPrompts().MessageBox("Unable to Open Image File", "System Error", CdButtons::Ok);
    ReopenSelectedDrive(reader);
    return false;
  }
  std::vector<std::uint8_t> buffer(kSectorSize, kFillByte);
  std::uint32_t got = 0;
  if (!reader.ReadBytes(0, kSectorSize, 0, buffer, got) || got < 25 ||
      std::memcmp(buffer.data(), kImageSignature, 25) != 0) {
    ReopenSelectedDrive(reader);
    return false;
  }
  std::uint64_t size = 0;
  reader.device->SizeBytes(size);
  reader.device = std::make_unique<TrailerBoundDevice>(std::move(reader.device), size - kSectorSize);
  reader.imageIsDevice = true;
  return true;
}

}  // namespace cd
