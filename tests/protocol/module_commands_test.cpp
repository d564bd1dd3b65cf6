#include "protocol/module_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "recording_link_owner.h"

namespace rmt4 {
namespace {

using namespace std::string_literals;

class ModuleCommandParse : public ::testing::Test {
 protected:
  ModuleCommandTable table;
};

TEST_F(ModuleCommandParse, HexAddressWithSpacesAndSeparators) {
  table.ParseModuleText("Get_IP:C0A80164");
  EXPECT_EQ(table.Number(0), 0xC0A80164u);
  EXPECT_TRUE(table.Done(0));

  table.ParseModuleText("Get_LinkIP:1 2");  // a space is a 0 digit
  EXPECT_EQ(table.Number(1), 0x102u);
  table.ParseModuleText("Get_LinkIP:c0.a8:01:64");  // dots and colons are skipped, lower case counts
  EXPECT_EQ(table.Number(1), 0xC0A80164u);
}

TEST_F(ModuleCommandParse, DecimalSkipsEverythingButDigits) {
  table.ParseModuleText("Get_TCPPort:6010\r");
  EXPECT_EQ(table.Number(3), 6010u);
  table.ParseModuleText("Get_UDPPort: 1 010\r\n");
  EXPECT_EQ(table.Number(4), 1010u);
}

TEST_F(ModuleCommandParse, NameWithoutArgumentIsIgnored) {
  table.ParseModuleText("Get_IP:C0A80164");
  table.ClearDone(0);
  table.ParseModuleText("Get_IP:");
  EXPECT_FALSE(table.Done(0));
  EXPECT_EQ(table.Number(0), 0xC0A80164u);
  // The zero byte ends the text, so nothing follows the name here either.
  table.ParseModuleText("Get_IP:\0C0A80101"s);
  EXPECT_FALSE(table.Done(0));
  EXPECT_EQ(table.Number(0), 0xC0A80164u);
  table.ParseModuleText("Get_Confi:");
  EXPECT_FALSE(table.Done(9));
}

TEST_F(ModuleCommandParse, FirstNameInSearchOrderWinsWhereverItStands) {
  // Both names occur; "Get_IP:" is checked first even though it stands later.
  table.ParseModuleText("Get_TCPPort:6010 Get_IP:7F000002");
  EXPECT_TRUE(table.Done(0));
  EXPECT_FALSE(table.Done(3));
  EXPECT_EQ(table.Number(0), 0x7F000002u);

  table.ParseModuleText("noise before Set_Restart:");
  EXPECT_TRUE(table.Done(17));
  table.ParseModuleText("Hello module");
  for (int slot = 1; slot < ModuleCommandTable::kSlots; ++slot) {
    if (slot != 17) {
      EXPECT_FALSE(table.Done(slot)) << slot;
    }
  }
}

TEST_F(ModuleCommandParse, TextRepliesKeepTextAndLength) {
  table.ParseModuleText("Get_RouteSSID:MyNet");
  EXPECT_EQ(table.Text(5), "Get_RouteSSID:MyNet");
  EXPECT_EQ(table.Number(5), 5u);
  table.ParseModuleText("Get_HotPW:");  // text replies need no argument
  EXPECT_TRUE(table.Done(8));
  EXPECT_EQ(table.Number(8), 0u);

  // The configuration keeps two zero bytes after its argument, covered by `number`.
  table.ParseModuleText("Get_Confi:192.168.1.5 255.255.255.0");
  const std::string config = table.Text(9);
  EXPECT_EQ(table.Number(9), 27u);
  ASSERT_GE(config.size(), 27u);
  EXPECT_EQ(config.substr(0, 25), "192.168.1.5 255.255.255.0");
  EXPECT_EQ(config[25], '\0');
  EXPECT_EQ(config[26], '\0');
}

TEST_F(ModuleCommandParse, OutsideTextIsBounded) {
  // A long text with the name past the first 1500 bytes is not seen at all.
  std::string late(1500, 'x');
  late.append("Get_IP:01020304");
  table.ParseModuleText(late);
  EXPECT_FALSE(table.Done(0));
  // A text reply never grows beyond the bound.
  std::string longReply("Get_HotSSID:");
  longReply.append(5000, 'a');
  table.ParseModuleText(longReply);
  EXPECT_EQ(table.Text(7).size(), 1500u);
  EXPECT_EQ(table.Number(7), 1500u - 11u);
}

TEST_F(ModuleCommandParse, ReplyCompletesItsSlot) {
  table.SetModuleCommand(9, "Get_Confi:");
  ASSERT_TRUE(table.CountLinkSend(9));
  table.ParseModuleText("Get_Confi:1 2 3 4");
  EXPECT_TRUE(table.Done(9));
  EXPECT_FALSE(table.Pending(9));
  // The retry count started again: nine more sends before giving up.
  table.SetModuleCommand(9, "Get_Confi:");
  for (int send = 0; send < 9; ++send) EXPECT_TRUE(table.CountLinkSend(9));
}

TEST(ModuleCommandDiscovery, AddressesListedOnceInOrderOfFirstReply) {
  ModuleCommandTable table;
  table.ParseModuleText("Get_IP:C0A80164");
  table.ParseModuleText("Get_IP:C0A80165");
  table.ParseModuleText("Get_IP:C0A80164");
  table.ParseModuleText("Get_IP:00000000");  // zero is never a console
  EXPECT_EQ(table.DiscoveredConsoles(), (std::vector<std::uint32_t>{0xC0A80164, 0xC0A80165}));
  table.ClearDiscoveredConsoles();
  EXPECT_TRUE(table.DiscoveredConsoles().empty());
}

TEST(ModuleCommandDiscovery, ListIsBoundedAgainstFloods) {
  ModuleCommandTable table;
  for (int host = 1; host <= 1000; ++host) table.ParseModuleText("Get_IP:" + std::to_string(host));
  const auto consoles = table.DiscoveredConsoles();
  EXPECT_LE(consoles.size(), 64u);
  EXPECT_EQ(consoles.front(), 0x1u);
}

TEST(ModuleCommandSending, SetCommandReplacesTextAndMarksPending) {
  ModuleCommandTable table;
  EXPECT_FALSE(table.FindPending(0).has_value());
  table.SetModuleCommand(18, "Set_Confi:first");
  table.SetModuleCommand(18, "Set_Confi:second");
  table.SetModuleCommand(1, "Get_LinkIP:");
  EXPECT_EQ(table.Text(18), "Set_Confi:second");
  EXPECT_EQ(table.FindPending(0), 1);
  EXPECT_EQ(table.FindPending(2), 18);
  table.SetModuleCommand(19, "unused slot");
  table.SetModuleCommand(-1, "no slot");
  EXPECT_FALSE(table.FindPending(19).has_value());
}

TEST(ModuleCommandSending, LinkPathGivesUpAfterNineSends) {
  ModuleCommandTable table;
  table.SetModuleCommand(9, "Get_Confi:");
  int sends = 0;
  while (table.CountLinkSend(9)) {
    ++sends;
    ASSERT_LT(sends, 100);
  }
  EXPECT_EQ(sends, 9);
  EXPECT_FALSE(table.Pending(9));
  EXPECT_FALSE(table.FindPending(0).has_value());
}

TEST(ModuleCommandSending, ClearEmptiesEverySlotAndTheList) {
  ModuleCommandTable table;
  table.SetModuleCommand(9, "Get_Confi:");
  table.ParseModuleText("Get_IP:01020304");
  table.Clear();
  EXPECT_FALSE(table.Pending(9));
  EXPECT_FALSE(table.Done(0));
  EXPECT_EQ(table.Number(0), 0u);
  EXPECT_EQ(table.Text(9), "");
  EXPECT_TRUE(table.DiscoveredConsoles().empty());
}

TEST(ModuleCommandConfirmations, PairsWaitForBothHalves) {
  ModuleCommandTable table;
  test::RecordingLinkOwner owner;
  table.ParseModuleText("Set_RouteSSID:");
  table.ShowModuleConfirmations(owner);
  EXPECT_TRUE(owner.Messages().empty());

  table.ParseModuleText("Set_RoutePW:");
  table.ParseModuleText("Set_HotSSID:");
  table.ParseModuleText("Set_WiFiMode:");
  table.ParseModuleText("Set_Restore:");
  table.ParseModuleText("Set_Restart:");
  table.ShowModuleConfirmations(owner);
  table.ShowModuleConfirmations(owner);  // each completion is confirmed once

  std::vector<std::string> texts;
  for (const auto& message : owner.Messages()) {
    EXPECT_EQ(message.caption, "WiFi");
    EXPECT_EQ(message.style, MessageStyle::Ok);
    texts.push_back(message.text);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"Set RouteS:OK", "WiFiMode:OK", "Restore:OK", "Restart:OK"}));
  EXPECT_TRUE(table.Done(14));  // still waiting for "Set_HotPW:"

  table.ParseModuleText("Set_HotPW:");
  table.ShowModuleConfirmations(owner);
  EXPECT_EQ(owner.Messages().back().text, "Set Hot:OK");
  EXPECT_FALSE(table.Done(14));
  EXPECT_FALSE(table.Done(15));
}

TEST(ModuleCommandReplies, SetRepliesKeepTheModulesVerdict) {
  ModuleCommandTable table;
  table.SetModuleCommand(18, "Set_Confi:1.2.3.4 255.0.0.0 1.0.0.1 00-11-22-33-44-55");
  table.ParseModuleText("Set_Confi:ERROR");
  EXPECT_TRUE(table.Done(18));
  EXPECT_FALSE(table.Pending(18));
  EXPECT_EQ(table.Text(18), "ERROR");
  table.ParseModuleText("Set_Confi:OK");
  EXPECT_EQ(table.Text(18), "OK");
}

}  // namespace
}  // namespace rmt4
