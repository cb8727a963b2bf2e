// SPDX-License-Identifier: Apache-2.0
#include "status/canonical_set.h"
#include "status/canonical_text.h"

#include <gtest/gtest.h>

namespace quorbitz {
namespace {

const std::string kComposed = "caf\xC3\xA9";     // café, é precomposed
const std::string kDecomposed = "cafe\xCC\x81";  // café, e + combining acute
const std::string kKelvin = "\xE2\x84\xAA";      // KELVIN SIGN, canonically "K"
const std::string kInvalid = "caf\xE9";          // Latin-1 bytes, not UTF-8

TEST(CanonicalText, EquivalentSpellingsAreEqualAndHashAlike) {
  EXPECT_TRUE(canonicallyEqual(kComposed, kDecomposed));
  EXPECT_TRUE(canonicallyEqual(kKelvin, "K"));
  EXPECT_EQ(CanonicalHash{}(kComposed), CanonicalHash{}(kDecomposed));
  EXPECT_EQ(CanonicalHash{}(kKelvin), CanonicalHash{}("K"));
}

TEST(CanonicalText, CaseAndInvalidBytesStayDistinct) {
  EXPECT_FALSE(canonicallyEqual("Data", "data"));
  EXPECT_FALSE(canonicallyEqual(kInvalid, kComposed));
  EXPECT_TRUE(canonicallyEqual(kInvalid, kInvalid));
  EXPECT_EQ(canonicalText(kInvalid), kInvalid);
  EXPECT_FALSE(isValidUtf8(kInvalid));
  EXPECT_TRUE(isValidUtf8(kDecomposed));
}

TEST(CanonicalText, SetsFindEitherSpelling) {
  CanonicalSet set{kDecomposed + "/clip.mov", kInvalid};
  EXPECT_TRUE(set.contains(kComposed + "/clip.mov"));
  EXPECT_TRUE(set.contains(std::string_view(kInvalid)));
  EXPECT_FALSE(set.contains("cafe/clip.mov"));
  EXPECT_FALSE(set.insert(kComposed + "/clip.mov"));
}

}  // namespace
}  // namespace quorbitz
