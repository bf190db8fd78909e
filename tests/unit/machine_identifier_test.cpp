#include "base/machine_identifier.h"

#include <gtest/gtest.h>

#include <string>

namespace lb {
namespace {

// A digest whose bytes count up from `first`, so that every byte's place shows in the text.
Sha256Digest CountingDigest(std::uint8_t first) {
  Sha256Digest digest{};
  for (std::size_t i = 0; i < digest.size(); ++i) {
    digest[i] = static_cast<std::uint8_t>(first + i);
  }
  return digest;
}

TEST(MachineIdentifier, TheFirst128BitsInTheFormOfAGuid) {
  EXPECT_EQ(DigestAsGuidText(CountingDigest(0)), "00010203-0405-0607-0809-0a0b0c0d0e0f");
  EXPECT_EQ(DigestAsGuidText(CountingDigest(0xF0)), "f0f1f2f3-f4f5-f6f7-f8f9-fafbfcfdfeff");
  Sha256Digest allOnes{};
  allOnes.fill(0xFF);
  EXPECT_EQ(DigestAsGuidText(allOnes), "ffffffff-ffff-ffff-ffff-ffffffffffff");
}

TEST(MachineIdentifier, DigestsTheGuidAndTheProductNameAndNeverSendsTheGuid) {
  std::string hashed;
  const auto sha256 = [&](std::string_view bytes) {
    hashed = std::string(bytes);
    return CountingDigest(0x10);
  };
  const std::string guid = "3f2504e0-4f89-11d3-9a0c-0305e82c3301";
  EXPECT_EQ(MachineIdentifierFrom(guid, "Lock Beacon", sha256),
            "10111213-1415-1617-1819-1a1b1c1d1e1f");
  EXPECT_EQ(hashed, guid + std::string(1, '\0') + "Lock Beacon");

  // The separator keeps the two apart: moving characters from one to the other changes the
  // bytes.
  EXPECT_NE(MachineDigestInput("ab", "c"), MachineDigestInput("a", "bc"));
}

TEST(MachineIdentifier, NoGuidSendsAnEmptyFieldWithoutDigesting) {
  bool called = false;
  EXPECT_EQ(MachineIdentifierFrom("", "Lock Beacon",
                                  [&](std::string_view) {
                                    called = true;
                                    return Sha256Digest{};
                                  }),
            "");
  EXPECT_FALSE(called);
}

}  // namespace
}  // namespace lb
