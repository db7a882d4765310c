// Decoding of names for display: valid UTF-8 kept, every other byte shown as Latin-1.
#include "controls/display_text.h"

#include <gtest/gtest.h>

TEST(DisplayText, KeepsValidUtf8AndShowsOtherBytesAsLatin1) {
  struct Case {
    const char* bytes;
    const char* shown;
  };
  const Case cases[] = {
      {"plain.txt", "plain.txt"},
      {"caf\xC3\xA9", "caf\xC3\xA9"},                            // UTF-8 e acute
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},                  // four-byte character
      {"caf\xE9", "caf\xC3\xA9"},                                // Latin-1 e acute
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                          // overlong '/'
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},              // surrogate
      {"a\xE2\x82", "a\xC3\xA2\xC2\x82"},                        // cut short at the end
      {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},  // above U+10FFFF
      {"\xC3\xA9\xFF\xC3\xA9", "\xC3\xA9\xC3\xBF\xC3\xA9"},      // a bad byte between good ones
  };
  for (const Case& c : cases) EXPECT_EQ(controls::DisplayText(c.bytes), c.shown) << c.bytes;
}
