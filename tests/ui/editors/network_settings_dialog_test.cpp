// The network settings dialog: its replies, its checks before sending, the
// module's verdict, and a round trip through the emulated module.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "i18n/label_text.h"
#include "platform/ipv4_address.h"
#include "screenshot.h"
#include "system_test_host.h"
#include "ui/editors/ipv4_field.h"
#include "ui/editors/network_settings_dialog.h"

namespace rmt4::ui {
namespace {

using test::AnswerNextBox;
using test::PumpUntil;

QString Text(LabelId id) { return QString::fromUtf8(LabelText(id).data()); }

class NetworkDialogTest : public ::testing::Test {
 protected:
  NetworkDialogTest() { (void)SetCurrentLanguage(LanguageIndex::English); }
  ~NetworkDialogTest() override {
    test::DropPendingAnswers();
    (void)SetCurrentLanguage(LanguageIndex::English);
  }

  void Fill(const char* address, const char* mask, const char* gateway, const char* mac) {
    dialog_.addressField().SetAddress(*ParseIpv4(address));
    dialog_.maskField().SetAddress(*ParseIpv4(mask));
    dialog_.gatewayField().SetAddress(*ParseIpv4(gateway));
    dialog_.macField().setText(mac);
  }
  QString Shown(Ipv4Field& field) { return QString::fromStdString(FormatIpv4(field.Address())); }

  ModuleCommandTable modules_;
  CWin_NetConfi dialog_{modules_, nullptr};
};

TEST_F(NetworkDialogTest, ShowingReadsAndTheReplyFillsTheFields) {
  for (const bool macEnded : {true, false}) {
    dialog_.macField().setText("typed");
    dialog_.show();
    EXPECT_EQ(modules_.Text(ModuleCommandTable::kGetConfig), "Get_Confi:");
    EXPECT_TRUE(modules_.Pending(ModuleCommandTable::kGetConfig));
    EXPECT_EQ(Shown(dialog_.addressField()), "0.0.0.0");
    EXPECT_EQ(dialog_.macField().text(), "");
    EXPECT_TRUE(dialog_.polling());
    modules_.ParseModuleText(std::string("Get_Confi:192.168.1.100 255.255.255.0 192.168.1.1 00-11-22-33-44-55") +
                             (macEnded ? "\r" : ""));
    dialog_.PollReplies();
    EXPECT_EQ(Shown(dialog_.addressField()), "192.168.1.100");
    EXPECT_EQ(Shown(dialog_.maskField()), "255.255.255.0");
    EXPECT_EQ(Shown(dialog_.gatewayField()), "192.168.1.1");
    EXPECT_EQ(dialog_.macField().text(), macEnded ? "00-11-22-33-44-55" : "");
    dialog_.hide();
    EXPECT_FALSE(dialog_.polling());
  }
}

TEST_F(NetworkDialogTest, SetSendsUsableSettingsOnly) {
  dialog_.show();
  Fill("10.0.0.2", "255.0.0.0", "10.0.0.1", "00-11-22-33-44-55");
  QTest::mouseClick(&dialog_.setButton(), Qt::LeftButton);
  EXPECT_EQ(modules_.Text(ModuleCommandTable::kSetConfig), "Set_Confi:10.0.0.2 255.0.0.0 10.0.0.1 00-11-22-33-44-55");
  EXPECT_TRUE(modules_.Pending(ModuleCommandTable::kSetConfig));

  const struct {
    const char* address;
    const char* mask;
    const char* gateway;
    const char* mac;
    LabelId said;
  } refused[] = {{"0.0.0.0", "255.0.0.0", "10.0.0.1", "00-11-22-33-44-55", LabelId::NetAddressUnusable},
                 {"10.0.0.2", "255.0.255.0", "10.0.0.1", "00-11-22-33-44-55", LabelId::NetMaskNotContiguous},
                 {"10.0.0.2", "255.0.0.0", "11.0.0.1", "00-11-22-33-44-55", LabelId::NetGatewayOutsideSubnet},
                 {"10.0.0.2", "255.0.0.0", "10.0.0.1", "AB", LabelId::NetMacMalformed}};
  for (const auto& c : refused) {
    modules_.Clear();
    Fill(c.address, c.mask, c.gateway, c.mac);
    QString said;
    AnswerNextBox(&said);
    QTest::mouseClick(&dialog_.setButton(), Qt::LeftButton);
    EXPECT_EQ(said, Text(c.said)) << c.address << " " << c.mask << " " << c.gateway << " " << c.mac;
    EXPECT_FALSE(modules_.Pending(ModuleCommandTable::kSetConfig)) << "nothing is sent";
  }
}

TEST_F(NetworkDialogTest, TheModulesVerdictIsReportedAsItIs) {
  dialog_.show();
  for (const auto& [reply, said] : {std::pair{"Set_Confi:OK", QString("Set OK!")},
                                    std::pair{"Set_Confi:ERROR", Text(LabelId::SetFailed)}}) {
    modules_.ParseModuleText(reply);
    QString shown;
    AnswerNextBox(&shown);
    dialog_.PollReplies();
    EXPECT_EQ(shown, said) << reply;
    EXPECT_FALSE(modules_.Done(ModuleCommandTable::kSetConfig));
    EXPECT_TRUE(dialog_.polling());
  }
}

TEST_F(NetworkDialogTest, ScreenshotsInEveryLanguage) {
  const char* masks[] = {"子网掩码:", "子網掩碼:", "SubnetMask:"};
  for (const LanguageIndex language :
       {LanguageIndex::SimplifiedChinese, LanguageIndex::TraditionalChinese, LanguageIndex::English}) {
    (void)SetCurrentLanguage(language);
    dialog_.hide();
    dialog_.show();
    Fill("192.168.1.100", "255.255.255.0", "192.168.1.1", "00-11-22-33-44-55");
    EXPECT_EQ(dialog_.maskLabel().text(), QString::fromUtf8(masks[static_cast<int>(language)]));
    EXPECT_EQ(dialog_.readButton().text(), Text(LabelId::Read));
    const QImage shot = dialog_.grab().toImage();
    ASSERT_FALSE(test::SaveScreenshot(dialog_, QString("netconf_%1").arg(static_cast<int>(language))).isEmpty());
    EXPECT_LT(shot.pixelColor(3, 3).lightness(), 80) << "the dark panel";
    // Light text in the caption column.
    const QRect caption = dialog_.maskLabel().geometry();
    int light = 0;
    for (int x = caption.left(); x <= caption.right(); ++x) {
      light += shot.pixelColor(x, caption.center().y()).lightness() > 150 ? 1 : 0;
    }
    EXPECT_GT(light, 0);
  }
}

class NetworkDialogConsoleTest : public test::SystemTestHost {};

TEST_F(NetworkDialogConsoleTest, ReadAndSetReachTheEmulatedModule) {
  Start(true);
  CWin_NetConfi dialog(link().context().modules, window_.get());
  dialog.show();
  // The in-process module starts unconfigured: no address of its own yet.
  ASSERT_TRUE(PumpUntil([&] { return dialog.macField().text() == "02-00-00-00-00-00"; }, 10000));
  EXPECT_EQ(FormatIpv4(dialog.addressField().Address()), "0.0.0.0");
  EXPECT_EQ(FormatIpv4(dialog.maskField().Address()), "255.0.0.0");
  EXPECT_EQ(FormatIpv4(dialog.gatewayField().Address()), "127.0.0.1");

  dialog.addressField().SetAddress(*ParseIpv4("127.0.0.9"));
  dialog.macField().setText("02-00-7F-00-00-09");
  QString said;
  AnswerNextBox(&said);
  QTest::mouseClick(&dialog.setButton(), Qt::LeftButton);
  ASSERT_TRUE(PumpUntil([&] { return !said.isEmpty(); }, 10000));
  EXPECT_EQ(said, "Set OK!");
  EXPECT_EQ(console_.ModuleCommand("Get_Confi:"), "Get_Confi:127.0.0.9 255.0.0.0 127.0.0.1 02-00-7F-00-00-09\r");
}

}  // namespace
}  // namespace rmt4::ui
