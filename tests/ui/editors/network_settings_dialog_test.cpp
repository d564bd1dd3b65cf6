// The network settings dialog: its replies, its checks before sending, the
// module's verdict, and a round trip through the emulated module.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "i18n/label_text.h"
#include "screenshot.h"
#include "system_test_host.h"
#include "ui/editors/ipv4_field.h"
#include "ui/editors/network_settings_dialog.h"

namespace rmt4::ui {
namespace {

using test::AnswerNextBox;
using test::PumpUntil;

QString Text(LabelId id) { return QString::fromUtf8(LabelText(id).data()); }

/// The PC of these tests lives on 192.168.1.0/24 and 10.0.0.0/8.
std::vector<Ipv4Subnet> TestPcSubnets() { return {{0xC0A80105, 0xFFFFFF00}, {0x0A000005, 0xFF000000}}; }

/// Each dotted part of `text` into its octet box, as a user types it.
void Type(Ipv4Field& field, const QString& text) {
  const QStringList parts = text.split(QLatin1Char('.'));
  for (int i = 0; i < 4; ++i) test::TypeOver(field.octet(i), i < parts.size() ? parts[i] : QString());
}

class NetworkDialogTest : public ::testing::Test {
 protected:
  NetworkDialogTest() { (void)SetCurrentLanguage(LanguageIndex::English); }
  ~NetworkDialogTest() override {
    test::DropPendingAnswers();
    (void)SetCurrentLanguage(LanguageIndex::English);
  }

  void Fill(const char* address, const char* mask, const char* gateway, const char* mac) {
    Type(dialog_.addressField(), address);
    Type(dialog_.maskField(), mask);
    Type(dialog_.gatewayField(), gateway);
    test::TypeOver(dialog_.macField(), mac);
  }

  ModuleCommandTable modules_;
  NetworkSettingsDialog dialog_{modules_, TestPcSubnets, nullptr};
};

TEST_F(NetworkDialogTest, ShowingReadsAndTheReplyFillsTheFields) {
  for (const bool macEnded : {true, false}) {
    dialog_.macField().setText("typed");
    dialog_.show();
    EXPECT_EQ(modules_.Text(ModuleCommandTable::kGetConfig), "Get_Confi:");
    EXPECT_TRUE(modules_.Pending(ModuleCommandTable::kGetConfig));
    EXPECT_EQ(dialog_.addressField().Text(), "0.0.0.0");
    EXPECT_EQ(dialog_.macField().text(), "");
    EXPECT_TRUE(dialog_.polling());
    modules_.ParseModuleText(std::string("Get_Confi:192.168.1.100 255.255.255.0 192.168.1.1 00-11-22-33-44-55") +
                             (macEnded ? "\r" : ""));
    dialog_.PollReplies();
    EXPECT_EQ(dialog_.addressField().Text(), "192.168.1.100");
    EXPECT_EQ(dialog_.maskField().Text(), "255.255.255.0");
    EXPECT_EQ(dialog_.gatewayField().Text(), "192.168.1.1");
    EXPECT_EQ(dialog_.macField().text(), "00-11-22-33-44-55") << "a MAC that ends the reply is whole";
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
  } refused[] = {{"10.0.0.300", "255.0.0.0", "10.0.0.1", "00-11-22-33-44-55", LabelId::NetAddressNotDotted},
                 {"10.0.0.2", "255.0.0.", "10.0.0.1", "00-11-22-33-44-55", LabelId::NetMaskNotDotted},
                 {"10.0.0.2", "255.0.0.0", "10.ab.0.1", "00-11-22-33-44-55", LabelId::NetGatewayNotDotted},
                 {"0.0.0.0", "255.0.0.0", "10.0.0.1", "00-11-22-33-44-55", LabelId::NetAddressUnusable},
                 {"10.0.0.2", "255.0.255.0", "10.0.0.1", "00-11-22-33-44-55", LabelId::NetMaskNotContiguous},
                 {"10.0.0.2", "255.0.0.0", "11.0.0.1", "00-11-22-33-44-55", LabelId::NetGatewayOutsideSubnet},
                 {"10.0.0.2", "255.0.0.0", "10.0.0.1", "00:11:22:33:44:55", LabelId::NetMacMalformed}};
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

TEST_F(NetworkDialogTest, AnAddressThePcWillNotReachIsSentOnlyWhenTheUserSaysSo) {
  dialog_.show();
  Fill("172.16.0.2", "255.255.0.0", "0.0.0.0", "00-11-22-33-44-55");
  for (const QString& answer : {QString("No"), QString("Yes")}) {
    QString asked;
    AnswerNextBox(&asked, answer);
    QTest::mouseClick(&dialog_.setButton(), Qt::LeftButton);
    EXPECT_EQ(asked, Text(LabelId::NetUnreachableFromPc));
    EXPECT_EQ(modules_.Pending(ModuleCommandTable::kSetConfig), answer == "Yes") << answer.toStdString();
  }
  EXPECT_EQ(modules_.Text(ModuleCommandTable::kSetConfig), "Set_Confi:172.16.0.2 255.255.0.0 0.0.0.0 00-11-22-33-44-55");
}

TEST_F(NetworkDialogTest, ALateReplyLeavesWhatTheUserTyped) {
  dialog_.show();
  Type(dialog_.addressField(), "10.0.0.2");
  test::TypeOver(dialog_.macField(), "00-11-22-33-44-55");
  modules_.ParseModuleText("Get_Confi:192.168.1.100 255.255.255.0 192.168.1.1 02-00-00-00-00-07\r");
  dialog_.PollReplies();
  EXPECT_EQ(dialog_.addressField().Text(), "10.0.0.2");
  EXPECT_EQ(dialog_.maskField().Text(), "255.255.255.0") << "an untouched field takes the reply";
  EXPECT_EQ(dialog_.macField().text(), "00-11-22-33-44-55");

  QTest::mouseClick(&dialog_.readButton(), Qt::LeftButton);
  modules_.ParseModuleText("Get_Confi:192.168.1.100 255.255.255.0 192.168.1.1 02-00-00-00-00-07\r");
  dialog_.PollReplies();
  EXPECT_EQ(dialog_.addressField().Text(), "192.168.1.100") << "Read asks for the module's values again";
  EXPECT_EQ(dialog_.macField().text(), "02-00-00-00-00-07");
}

TEST_F(NetworkDialogTest, AnythingButTheModulesOkIsAFailureWithItsText) {
  dialog_.show();
  for (const auto& [reply, said] : {std::pair{"Set_Confi:OK", QString("Set OK!")},
                                    std::pair{"Set_Confi:ERROR", Text(LabelId::SetFailed) + "\nERROR"},
                                    std::pair{"Set_Confi:", Text(LabelId::SetFailed) + "\n"}}) {
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
  NetworkSettingsDialog dialog(link().context().modules, TestPcSubnets, &mainWindow());
  dialog.show();
  // The in-process module starts unconfigured: no address of its own yet.
  ASSERT_TRUE(PumpUntil([&] { return dialog.macField().text() == "02-00-00-00-00-00"; }, 10000));
  EXPECT_EQ(dialog.addressField().Text(), "0.0.0.0");
  EXPECT_EQ(dialog.maskField().Text(), "255.0.0.0");
  EXPECT_EQ(dialog.gatewayField().Text(), "127.0.0.1");

  Type(dialog.addressField(), "10.0.0.9");
  Type(dialog.gatewayField(), "0.0.0.0");
  test::TypeOver(dialog.macField(), "02-00-0A-00-00-09");
  QString said;
  AnswerNextBox(&said);
  QTest::mouseClick(&dialog.setButton(), Qt::LeftButton);
  ASSERT_TRUE(PumpUntil([&] { return !said.isEmpty(); }, 10000));
  EXPECT_EQ(said, "Set OK!");
  EXPECT_EQ(console().ModuleCommand("Get_Confi:"), "Get_Confi:10.0.0.9 255.0.0.0 0.0.0.0 02-00-0A-00-00-09\r");
}

}  // namespace
}  // namespace rmt4::ui
