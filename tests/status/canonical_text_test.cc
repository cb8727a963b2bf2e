// SPDX-License-Identifier: Apache-2.0
#include "status/canonical_text.h"

#include <gtest/gtest.h>
#include <utf8proc.h>

#include <cstdlib>

namespace quorbitz {
namespace {

std::string normalised(const std::string& text) {
  utf8proc_uint8_t* nfc = utf8proc_NFC(reinterpret_cast<const utf8proc_uint8_t*>(text.c_str()));
  std::string result(reinterpret_cast<const char*>(nfc));
  std::free(nfc);
  return result;
}

// A name of letters each with one combining mark takes a shorter way to its
// canonical spelling than other text: every such pair, and the names that
// way leaves to the normaliser, must come out as the normaliser has them.
TEST(CanonicalText, LettersWithMarksComposeAsTheNormaliserComposesThem) {
  for (const char letter : std::string("AZaeouzK")) {
    for (char32_t mark = 0x300; mark < 0x370; ++mark) {
      const std::string pair{letter, static_cast<char>(0xC0 | (mark >> 6)),
                             static_cast<char>(0x80 | (mark & 0x3F))};
      for (const std::string& name : {pair, "x" + pair + "y" + pair, pair + pair}) {
        const std::string path = "/r/" + name + "/z";
        ASSERT_EQ(canonicalText(path), normalised(path)) << path;
      }
    }
  }
  for (const std::string name :
       {"e\xCC\x81\xCC\xA3", "\xCC\x81x", "1\xCC\x81", "\xC3\xA9\xCC\x84", "e\xCC\x81\xC3\xA9",
        "A\xCC\x8A\xE2\x84\xAB", "e\xCC"}) {
    const std::string path = "/r/" + name;
    EXPECT_EQ(canonicalText(path), isValidUtf8(path) ? normalised(path) : path) << path;
  }
}

}  // namespace
}  // namespace quorbitz
