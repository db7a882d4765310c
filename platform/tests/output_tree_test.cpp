#include "platform/output_tree.h"

#include <gtest/gtest.h>

TEST(FitNameLength, LongNamesAreShortenedApartKeepingTheirExtension) {
  EXPECT_EQ(platform::FitNameLength("short.txt"), "short.txt");
  const std::string fits(255, 'a');
  EXPECT_EQ(platform::FitNameLength(fits), fits);
  const std::string a = std::string(300, 'x') + "a.txt";
  const std::string b = std::string(300, 'x') + "b.txt";
  const std::string fa = platform::FitNameLength(a), fb = platform::FitNameLength(b);
  EXPECT_EQ(fa.size(), 255u);
  EXPECT_NE(fa, fb);
  EXPECT_EQ(fa.substr(fa.size() - 4), ".txt");
  // Three-byte characters are never cut in the middle.
  std::string cjk;
  for (int i = 0; i < 120; ++i) cjk += "\xE6\x97\xA5";
  const std::string fc = platform::FitNameLength(cjk);
  EXPECT_LE(fc.size(), 255u);
  const std::size_t tilde = fc.rfind('~');
  ASSERT_NE(tilde, std::string::npos);
  EXPECT_EQ(tilde % 3, 0u);
}
