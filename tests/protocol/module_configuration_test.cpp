#include "protocol/module_configuration.h"

#include <gtest/gtest.h>

namespace rmt4 {
namespace {

TEST(ModuleConfiguration, SetCommandHasTheDialogsExactFormat) {
  ModuleConfiguration configuration{0x0A000002, 0xFF000000, 0x0A000001, "AB"};
  EXPECT_EQ(FormatSetConfigCommand(configuration), "Set_Confi:10.0.0.2 255.0.0.0 10.0.0.1 AB");
}

TEST(ModuleConfiguration, ReplyFillsFieldsEndedBySeparators) {
  const auto full = ParseConfigurationReply("192.168.1.100 255.255.255.0 192.168.1.1 00-11-22-33-44-55\r");
  ASSERT_TRUE(full);
  EXPECT_EQ(full->address, 0xC0A80164u);
  EXPECT_EQ(full->mask, 0xFFFFFF00u);
  EXPECT_EQ(full->gateway, 0xC0A80101u);
  EXPECT_EQ(full->mac, "00-11-22-33-44-55");

  const auto noMacEnd = ParseConfigurationReply("192.168.1.100 255.255.255.0 192.168.1.1 00-11-22-33-44-55");
  ASSERT_TRUE(noMacEnd);
  EXPECT_EQ(noMacEnd->gateway, 0xC0A80101u);
  EXPECT_EQ(noMacEnd->mac, "") << "the MAC counts only when a separator ends it";

  EXPECT_FALSE(ParseConfigurationReply("192.168.1.100")) << "ends before the first separator";
  EXPECT_EQ(ParseConfigurationReply("junk 1.2.3.4 ")->address, 0xFFFFFFFFu) << "a broken address shows as all ones";
}

}  // namespace
}  // namespace rmt4
