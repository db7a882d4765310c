// Disk identity: the texts of IDENTIFY data as the device sends it, and the identity of disks that
// answer and of disks that do not.
#include "ext2engine/disk_identity.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "ext2engine/app_state.h"
#include "platform/disk_identity.h"

using namespace ext2;

namespace {

// IDENTIFY bytes with TEXT in words FIRST on, two characters a word, the earlier one in the high
// byte; the words are little-endian, as the device sends them. FILL pads the field to WORDS words.
void PutText(IdentifyBytes& bytes, int first, int words, const std::string& text, char fill = ' ') {
  std::string padded = text;
  padded.resize(static_cast<std::size_t>(2 * words), fill);
  for (int w = 0; w < words; ++w) {
    bytes[static_cast<std::size_t>(2 * (first + w) + 1)] = static_cast<std::uint8_t>(padded[2 * w]);
    bytes[static_cast<std::size_t>(2 * (first + w))] = static_cast<std::uint8_t>(padded[2 * w + 1]);
  }
}

struct Identity {
  std::string serial, model, firmware;
};

IdentifyBytes Identify(const Identity& id, char fill = ' ') {
  IdentifyBytes bytes{};
  PutText(bytes, 10, 10, id.serial, fill);
  PutText(bytes, 23, 4, id.firmware, fill);
  PutText(bytes, 27, 20, id.model, fill);
  return bytes;
}

class FakeIdentitySource : public IdentitySource {
 public:
  std::map<unsigned, IdentifyBytes> disks;
  bool ReadIdentify(unsigned index, IdentifyBytes& bytes) override {
    auto it = disks.find(index);
    if (it == disks.end()) return false;
    bytes = it->second;
    return true;
  }
};

class DiskIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override { App().Reset(); }
  void TearDown() override {
    App().Reset();
    SetIdentitySource(nullptr);
  }
};

TEST_F(DiskIdentityTest, FieldsDecodeFromTheWordsTheDeviceSends) {
  const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
  struct Case {
    const char* name;
    IdentifyBytes bytes;
    Identity want;
  };
  IdentifyBytes midNul = Identify({"AB", "MODEL", "1.0"});
  midNul[2 * 28 + 1] = 0;  // "MODEL" becomes "MO" and a NUL; what follows is not text
  IdentifyBytes garbage{};
  garbage.fill(0xFF);
  const std::vector<Case> cases = {
      {"blanks after the text are trimmed", Identify({"3HS1ABCD", "ST340016A", "3.75"}), {"3HS1ABCD", "ST340016A", "3.75"}},
      {"blanks before the text stay", Identify({"        WD-WCAV1234", "WDC WD5000", "01.01A01"}),
       {"        WD-WCAV1234", "WDC WD5000", "01.01A01"}},
      {"a 40-character model keeps 31", Identify({"S", forty, "F"}), {"S", forty.substr(0, 31), "F"}},
      {"all blanks keep the first", Identify({"", "", ""}), {" ", " ", " "}},
      {"all zeros are empty", IdentifyBytes{}, {"", "", ""}},
      {"a NUL ends the text", midNul, {"AB", "MO", "1.0"}},
      {"bytes that are no text are kept as they are, cut to 31", garbage,
       {std::string(20, '\xFF'), std::string(31, '\xFF'), std::string(8, '\xFF')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreDiskIdentity(0, DecodeIdentifyWords(c.bytes));
    EXPECT_EQ(std::string(App().diskSerial), c.want.serial);
    EXPECT_EQ(std::string(App().diskModel), c.want.model);
    EXPECT_EQ(std::string(App().diskFirmware), c.want.firmware);
  }
}

TEST_F(DiskIdentityTest, ExtractKeepsToTheWordsAsked) {
  const IdentifyWords words = DecodeIdentifyWords(Identify({"SERIAL", "MODEL", "FW"}));
  EXPECT_EQ(ExtractIdentifyString(words, 27, 27), "MO");
  EXPECT_EQ(ExtractIdentifyString(words, 255, 400), "");
  EXPECT_EQ(ExtractIdentifyString(words, 30, 29), "");
}

TEST_F(DiskIdentityTest, ADiskWithoutAnswerShowsNoOtherDisksTexts) {
  auto source = std::make_shared<FakeIdentitySource>();
  source->disks[0] = Identify({"5JVABCDE", "ST3500320AS", "SD15"});
  SetIdentitySource(source);
  EXPECT_TRUE(IdentifyDisk(0));
  EXPECT_STREQ(App().diskModel, "ST3500320AS");
  EXPECT_STREQ(App().diskSerial, "5JVABCDE");
  EXPECT_STREQ(App().diskFirmware, "SD15");
  EXPECT_FALSE(IdentifyDisk(1));
  EXPECT_STREQ(App().diskModel, "");
  EXPECT_STREQ(App().diskSerial, "");
  EXPECT_STREQ(App().diskFirmware, "");
}

TEST_F(DiskIdentityTest, HdioAnswerDecodesLikeTheDevicesOwn) {
  // HDIO_GET_IDENTITY gives the text fields as plain text and the other words in the processor's
  // order; once put back in the device's order they decode as the device's own bytes do.
  const IdentifyBytes device = Identify({"5JVABCDE", "ST3500320AS", "SD15"});
  platform::AtaIdentifyBytes hdio{};
  auto text = [&](std::size_t at, const std::string& t, std::size_t width) {
    std::string padded = t;
    padded.resize(width, ' ');
    for (std::size_t i = 0; i < width; ++i) hdio[at + i] = static_cast<std::uint8_t>(padded[i]);
  };
  text(2 * 10, "5JVABCDE", 20);
  text(2 * 23, "SD15", 8);
  text(2 * 27, "ST3500320AS", 40);
  const std::uint16_t capabilities = 0x0F00;  // word 49, in the processor's order
  std::memcpy(&hdio[2 * 49], &capabilities, sizeof capabilities);
  const platform::AtaIdentifyBytes fixed = platform::HdioIdentityToDeviceOrder(hdio);
  IdentifyBytes bytes{};
  std::copy(fixed.begin(), fixed.end(), bytes.begin());
  const IdentifyWords words = DecodeIdentifyWords(bytes);
  EXPECT_EQ(words[49], 0x0F00);
  EXPECT_EQ(ExtractIdentifyString(words, 27, 46), ExtractIdentifyString(DecodeIdentifyWords(device), 27, 46));
  StoreDiskIdentity(0, words);
  EXPECT_STREQ(App().diskModel, "ST3500320AS");
  EXPECT_STREQ(App().diskSerial, "5JVABCDE");
  EXPECT_STREQ(App().diskFirmware, "SD15");
}

TEST_F(DiskIdentityTest, AnImageFileHasNoIdentity) {
  const std::string path = ::testing::TempDir() + "identity_image." + std::to_string(::getpid()) + ".img";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("not a disk", f);
  std::fclose(f);
  platform::AtaIdentifyBytes bytes{};
  EXPECT_FALSE(platform::ReadAtaIdentify(path, bytes));
  EXPECT_FALSE(platform::ReadAtaIdentify(path + ".missing", bytes));
  EXPECT_FALSE(platform::ReadAtaIdentify("/dev/null", bytes));

  SetIdentitySource(PathListIdentitySource({path}));
  std::snprintf(App().diskModel, sizeof App().diskModel, "%s", "EARLIER DISK");
  EXPECT_FALSE(IdentifyDisk(0));
  EXPECT_STREQ(App().diskModel, "");
  std::remove(path.c_str());
}

}  // namespace
