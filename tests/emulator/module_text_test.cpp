#include "emulator/module_text.h"

#include <gtest/gtest.h>

#include <string>

namespace rmt4::emulator {
namespace {

class ConsoleModuleText : public ::testing::Test {
 protected:
  NetworkModule module_{ModuleIdentity{0x7F000003, 6010, 41010}};

  std::string Answer(std::string_view text) { return module_.Answer(text).value_or("<none>"); }
};

TEST_F(ConsoleModuleText, ReportsItsAddressPortsAndLinkedHost) {
  EXPECT_EQ(Answer("Get_IP:"), "Get_IP:7F000003");
  EXPECT_EQ(Answer(std::string("Get_IP:\0", 8)), "Get_IP:7F000003");  // the PC's UDP path sends the zero byte
  EXPECT_EQ(Answer("Get_LinkIP:"), "Get_LinkIP:00000000");
  module_.SetLinkedHost(0x7F000001);
  EXPECT_EQ(Answer("Get_LinkIP:"), "Get_LinkIP:7F000001");
  EXPECT_EQ(Answer("Get_TCPPort:"), "Get_TCPPort:6010");
  EXPECT_EQ(Answer("Get_UDPPort:"), "Get_UDPPort:41010");
}

TEST_F(ConsoleModuleText, ConfigurationRoundTripsInTheDialogsFormat) {
  EXPECT_EQ(Answer("Get_Confi:"), "Get_Confi:127.0.0.3 255.0.0.0 127.0.0.1 02-00-7F-00-00-03\r");
  // Exactly what the settings dialog sends: three addresses each with a space, then the MAC.
  EXPECT_EQ(Answer("Set_Confi:10.0.0.2 255.0.0.0 10.0.0.1 AB"), "Set_Confi:OK");
  EXPECT_EQ(Answer("Get_Confi:"), "Get_Confi:10.0.0.2 255.0.0.0 10.0.0.1 AB\r");
  EXPECT_EQ(module_.Config().address, 0x0A000002u);
  // Storing a configuration never moves the module off the address it serves on.
  EXPECT_EQ(Answer("Get_IP:"), "Get_IP:7F000003");

  EXPECT_EQ(Answer("Set_Confi:192.168.1.100 255.255.255.0 192.168.1.1 "), "Set_Confi:OK");
  EXPECT_EQ(module_.Config().mac, "AB") << "an empty MAC field keeps the MAC";
  EXPECT_EQ(Answer("Set_Restore:"), "Set_Restore:OK");
  EXPECT_EQ(Answer("Get_Confi:"), "Get_Confi:127.0.0.3 255.0.0.0 127.0.0.1 02-00-7F-00-00-03\r");
}

TEST_F(ConsoleModuleText, MalformedConfigurationIsRefusedAndChangesNothing) {
  for (const char* bad :
       {"Set_Confi:", "Set_Confi:1.2.3.4", "Set_Confi:1.2.3.4 5.6.7.8", "Set_Confi:1.2.3 4.5.6.7 8.9.1.2 M",
        "Set_Confi:256.0.0.1 255.0.0.0 1.1.1.1 M", "Set_Confi:1.2.3.4 x 1.1.1.1 M",
        "Set_Confi:1.2.3.4 1.2.3.4 1.1.1.1 M extra", "Set_Confi:1.2.3.4 1.2.3.4 1.1.1.1 00-11-22-33-44-55-66"}) {
    EXPECT_EQ(Answer(bad), "Set_Confi:ERROR") << bad;
  }
  EXPECT_EQ(module_.Config().address, 0x7F000003u);
}

TEST_F(ConsoleModuleText, WifiSettingsAreStoredWithinTheirLimits) {
  EXPECT_EQ(Answer("Get_RouteSSID:"), "Get_RouteSSID:");
  EXPECT_EQ(Answer("Set_RouteSSID:Studio\r\n"), "Set_RouteSSID:OK");
  EXPECT_EQ(Answer("Set_RoutePW:secret"), "Set_RoutePW:OK");
  EXPECT_EQ(Answer("Get_RouteSSID:"), "Get_RouteSSID:Studio");
  EXPECT_EQ(Answer("Get_RoutePW:"), "Get_RoutePW:secret");
  EXPECT_EQ(Answer("Set_HotSSID:" + std::string(33, 'x')), "Set_HotSSID:ERROR");
  EXPECT_EQ(Answer("Set_HotSSID:RMT4"), "Set_HotSSID:OK");
  EXPECT_EQ(Answer("Set_HotPW:" + std::string(64, 'p')), "Set_HotPW:ERROR");
  EXPECT_EQ(Answer("Get_HotSSID:"), "Get_HotSSID:RMT4");
  EXPECT_EQ(Answer("Get_HotPW:"), "Get_HotPW:");
  EXPECT_EQ(Answer("Set_WiFiMode:2"), "Set_WiFiMode:OK");
  EXPECT_EQ(Answer("Get_WiFiMode:"), "Get_WiFiMode:00000002");
  EXPECT_EQ(Answer("Set_WiFiMode:zz"), "Set_WiFiMode:ERROR");
  EXPECT_EQ(Answer("Set_Restart:"), "Set_Restart:OK");
}

TEST_F(ConsoleModuleText, UnknownTextsAreNotAnswered) {
  EXPECT_FALSE(module_.Answer("").has_value());
  EXPECT_FALSE(module_.Answer("Get_IP").has_value());
  EXPECT_FALSE(module_.Answer("xGet_IP:").has_value());
  EXPECT_FALSE(module_.Answer(std::string("\0Get_IP:", 8)).has_value());
}

}  // namespace
}  // namespace rmt4::emulator
