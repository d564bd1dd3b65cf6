#include "platform/ipv4_address.h"

#include <gtest/gtest.h>

namespace rmt4 {
namespace {

TEST(Ipv4Address, DottedDecimalIsStrict) {
  EXPECT_EQ(ParseIpv4("192.168.1.100"), 0xC0A80164u);
  EXPECT_EQ(ParseIpv4("0.0.0.0"), 0u);
  EXPECT_EQ(ParseIpv4("255.255.255.255"), 0xFFFFFFFFu);
  for (const char* bad : {"", "1.2.3", "1.2.3.4.", "1.2.3.4.5", "1.2.3.256", "1..2.3", " 1.2.3.4", "1.2.3.4 ",
                          "-1.2.3.4", "+1.2.3.4", "0001.2.3.4", "a.b.c.d"}) {
    EXPECT_FALSE(ParseIpv4(bad).has_value()) << bad;
  }
  EXPECT_EQ(FormatIpv4(0xC0A80164), "192.168.1.100");
  EXPECT_EQ(FormatIpv4(0), "0.0.0.0");
}

}  // namespace
}  // namespace rmt4
