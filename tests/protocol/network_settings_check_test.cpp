#include "protocol/network_settings_check.h"

#include <gtest/gtest.h>

#include "platform/ipv4_address.h"

namespace rmt4 {
namespace {

ModuleConfiguration Settings(const char* address, const char* mask, const char* gateway, const char* mac) {
  return {*ParseIpv4(address), *ParseIpv4(mask), *ParseIpv4(gateway), mac};
}

TEST(NetworkSettingsCheck, SettingsThatWouldCutTheConsoleOffAreRefused) {
  using enum NetworkSettingFault;
  const struct {
    ModuleConfiguration settings;
    NetworkSettingFault fault;
  } cases[] = {
      {Settings("192.168.1.100", "255.255.255.0", "192.168.1.1", "00-11-22-33-44-55"), kNone},
      {Settings("10.0.0.2", "255.255.255.252", "10.0.0.1", "0a-1b-2c-3d-4e-5f"), kNone},
      {Settings("192.168.1.100", "255.255.255.0", "0.0.0.0", "00-11-22-33-44-55"), kNone},
      {Settings("127.0.0.3", "255.0.0.0", "127.0.0.1", "02-00-7F-00-00-03"), kAddressUnusable},
      {Settings("0.1.2.3", "255.0.0.0", "0.0.0.1", "00-11-22-33-44-55"), kAddressUnusable},
      {Settings("169.254.7.8", "255.255.0.0", "0.0.0.0", "00-11-22-33-44-55"), kAddressUnusable},
      {Settings("10.0.0.2", "255.255.255.255", "10.0.0.2", "00-11-22-33-44-55"), kNone},
      {Settings("0.0.0.0", "255.255.255.0", "192.168.1.1", "00-11-22-33-44-55"), kAddressUnusable},
      {Settings("255.255.255.255", "255.255.255.0", "192.168.1.1", "00-11-22-33-44-55"), kAddressUnusable},
      {Settings("224.0.0.5", "255.255.255.0", "224.0.0.1", "00-11-22-33-44-55"), kAddressUnusable},
      {Settings("240.1.2.3", "255.0.0.0", "240.0.0.1", "00-11-22-33-44-55"), kAddressUnusable},
      {Settings("192.168.1.255", "255.255.255.0", "192.168.1.1", "00-11-22-33-44-55"), kAddressUnusable},
      {Settings("192.168.1.0", "255.255.255.0", "192.168.1.1", "00-11-22-33-44-55"), kAddressUnusable},
      {Settings("192.168.1.100", "255.0.255.0", "192.168.1.1", "00-11-22-33-44-55"), kMaskNotContiguous},
      {Settings("192.168.1.100", "0.0.0.0", "192.168.1.1", "00-11-22-33-44-55"), kMaskNotContiguous},
      {Settings("192.168.1.100", "255.255.255.0", "192.168.2.1", "00-11-22-33-44-55"), kGatewayOutsideSubnet},
      {Settings("192.168.1.100", "255.255.255.0", "192.168.1.255", "00-11-22-33-44-55"), kGatewayOutsideSubnet},
      {Settings("192.168.1.100", "255.255.255.0", "192.168.1.1", "AB"), kMacMalformed},
      {Settings("192.168.1.100", "255.255.255.0", "192.168.1.1", ""), kMacMalformed},
      {Settings("192.168.1.100", "255.255.255.0", "192.168.1.1", "00-11-22-33-44-5G"), kMacMalformed},
      {Settings("192.168.1.100", "255.255.255.0", "192.168.1.1", "00-11:22-33-44-55"), kMacMalformed},
      {Settings("192.168.1.100", "255.255.255.0", "192.168.1.1", "00:11:22:33:44:55"), kMacMalformed},
      {Settings("192.168.1.100", "255.255.255.0", "192.168.1.1", "00-11-22-33-44-55-66"), kMacMalformed},
      {Settings("192.168.1.100", "255.255.255.0", "192.168.1.1", "01-00-5E-00-00-01"), kMacMalformed},
      {Settings("192.168.1.100", "255.255.255.0", "192.168.1.1", "00-00-00-00-00-00"), kMacMalformed},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckNetworkSettings(c.settings), c.fault)
        << FormatIpv4(c.settings.address) << " " << FormatIpv4(c.settings.mask) << " "
        << FormatIpv4(c.settings.gateway) << " " << c.settings.mac;
  }
}

TEST(NetworkSettingsCheck, TypedAddressesAreFourOctetsOrRefusedNamingTheField) {
  using enum NetworkSettingFault;
  const TypedNetworkSettings good{"192.168.1.100", "255.255.255.0", "192.168.1.1", "00-11-22-33-44-55"};
  for (const char* typed : {"192.168.1.300", "192.168.1.1e3", "192.168.-1.1", "192.168..1", "192.168.1.", "192.x.1.1",
                            "192.168.1.1.5"}) {
    for (const auto& [field, fault] : {std::pair{&TypedNetworkSettings::address, kAddressNotDotted},
                                       std::pair{&TypedNetworkSettings::mask, kMaskNotDotted},
                                       std::pair{&TypedNetworkSettings::gateway, kGatewayNotDotted}}) {
      TypedNetworkSettings settings = good;
      settings.*field = typed;
      EXPECT_EQ(CheckTypedNetworkSettings(settings).fault, fault) << typed;
    }
  }
}

TEST(NetworkSettingsCheck, OnlyTheModulesOkIsSuccess) {
  for (const char* accepted : {"OK", "OK\r\n"}) EXPECT_TRUE(ModuleAcceptedConfiguration(accepted)) << accepted;
  for (const char* refused : {"", "ERROR", "FAIL", "OKAY", "NOT OK", " OK"}) {
    EXPECT_FALSE(ModuleAcceptedConfiguration(refused)) << refused;
  }
  EXPECT_EQ(ShownVerdict("FAIL\r\n\x1b[2J"), "FAIL[2J");
}

}  // namespace
}  // namespace rmt4
