// The output strip: bus selection, the per-bus parameters in both directions
// and the meters, through real clicks and drags.
#include <gtest/gtest.h>

#include "i18n/language.h"
#include "strip_test_host.h"
#include "ui/controls/level_meter.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/main/output_strip.h"

// In the strip helpers' namespace, so the tests use them unqualified.
namespace rmt4::ui::strips {
namespace {

constexpr int kFirstBusButton = 6;

class OutputStripTest : public StripTest {
 protected:
  OutputStrip& strip() { return host.bank.outputStrip(); }
  SkinnedButton& button(StripCode code) { return strip().button(code); }
  void SelectBus(int bus) { Click(strip().button(kFirstBusButton + bus)); }
  std::string Name() { return strip().nameLabel().text().toStdString(); }
};

TEST_F(OutputStripTest, StartsOnMainWithBalanceAndWithoutRouting) {
  EXPECT_EQ(host.bank.OutputBus(), 0);
  EXPECT_EQ(Name(), "MAIN");
  EXPECT_EQ(strip().button(kFirstBusButton).state(), kPressed);
  for (int bus = 1; bus < kOutputBusCount; ++bus) EXPECT_EQ(strip().button(kFirstBusButton + bus).state(), kReleased);
  EXPECT_FALSE(button(StripCode::Left).shown());
  EXPECT_FALSE(button(StripCode::Right).shown());
  EXPECT_EQ(button(StripCode::Left).state(), kReleased);
  EXPECT_EQ(button(StripCode::Right).state(), kReleased);
  EXPECT_EQ(button(StripCode::Mute).state(), kReleased);
  EXPECT_EQ(button(StripCode::Pfl).state(), kReleased);
  EXPECT_TRUE(strip().panLabel().isVisible());
  EXPECT_EQ(strip().panLabel().text().toStdString(), "L = R");
  EXPECT_EQ(strip().button(kFirstBusButton + 3).text().toStdString(), "AUX3");
  // The 48V button is never there.
  EXPECT_EQ(strip().button(StripCode::Phantom48V).y(), -1000);
  EXPECT_FALSE(strip().button(StripCode::Phantom48V).shown());
}

TEST_F(OutputStripTest, SelectingABusLoadsItsValuesAndSwapsBalanceForRouting) {
  params[700].Store(0);     // AUX3 muted
  params[698].Store(1200);  // AUX3 fader
  params[707].Store(1300);  // AUX3 → L
  params[708].Store(0);
  params[address::kPflBus].Store(0x0004);  // AUX3 in PFL
  SelectBus(3);

  EXPECT_EQ(host.bank.OutputBus(), 3);
  EXPECT_EQ(Name(), "AUX3");
  EXPECT_EQ(strip().button(kFirstBusButton).state(), kReleased);
  EXPECT_EQ(strip().button(kFirstBusButton + 3).state(), kPressed);
  EXPECT_EQ(button(StripCode::Mute).state(), kPressed);
  EXPECT_EQ(button(StripCode::Pfl).state(), kPressed);
  EXPECT_EQ(strip().fader().position(), 180);
  EXPECT_EQ(strip().levelLabel().text().toStdString(), "0.0dB");
  EXPECT_TRUE(button(StripCode::Left).shown());
  EXPECT_EQ(button(StripCode::Left).state(), kPressed);
  EXPECT_EQ(button(StripCode::Right).state(), kReleased);
  EXPECT_FALSE(strip().panLabel().isVisible());
  EXPECT_EQ(DirtyCount(params), 0);  // selecting writes nothing

  // Clicking the lit bus button again keeps it lit.
  SelectBus(3);
  EXPECT_EQ(strip().button(kFirstBusButton + 3).state(), kPressed);

  SelectBus(0);
  EXPECT_FALSE(button(StripCode::Left).shown());
  EXPECT_TRUE(strip().panLabel().isVisible());
  EXPECT_EQ(button(StripCode::Pfl).state(), kReleased);
}

TEST_F(OutputStripTest, MuteWritesTheSelectedBusOnWord) {
  Arrive(params, host.bank, 700, 1);
  SelectBus(3);
  Click(button(StripCode::Mute));
  EXPECT_EQ(params.Value(700), 0);
  EXPECT_TRUE(params[700].Dirty());
  Click(button(StripCode::Mute));
  EXPECT_EQ(params.Value(700), 1);

  SelectBus(0);
  params[address::kMainOn].Store(1);
  Click(button(StripCode::Mute));
  EXPECT_EQ(params.Value(address::kMainOn), 0);
  EXPECT_EQ(params.Value(address::kMainOnLinked), 0);  // the console's copy follows
}

TEST_F(OutputStripTest, PflSetsTheSelectedBusBitOfTheBusWord) {
  params[address::kPflBus].Store(0);
  SelectBus(2);
  ASSERT_EQ(button(StripCode::Pfl).state(), kReleased);
  Click(button(StripCode::Pfl));
  EXPECT_EQ(params.Value(address::kPflBus), 0x0002);
  EXPECT_TRUE(params[address::kPflBus].Dirty());

  SelectBus(0);
  ASSERT_EQ(button(StripCode::Pfl).state(), kReleased);
  Click(button(StripCode::Pfl));
  EXPECT_EQ(params.Value(address::kPflBus), 0x00C2);  // MAIN sets bit 6, and bit 7 follows

  Click(button(StripCode::Pfl));
  EXPECT_EQ(params.Value(address::kPflBus), 0x0002);
}

TEST_F(OutputStripTest, FaderWritesAndShowsOnlyTheSelectedBus) {
  SelectBus(5);
  DragFader(strip().fader(), 109);
  EXPECT_EQ(params.Value(834), 1200);
  EXPECT_TRUE(params[834].Dirty());

  Arrive(params, host.bank, 834, 1300);
  EXPECT_EQ(strip().fader().position(), 280);
  EXPECT_EQ(strip().levelLabel().text().toStdString(), "10.0dB");

  SelectBus(4);  // AUX4 fader at 766
  Arrive(params, host.bank, 766, 1000);
  EXPECT_EQ(strip().fader().position(), 80);
  Arrive(params, host.bank, 834, 1200);
  EXPECT_EQ(strip().fader().position(), 80);

  SelectBus(0);
  DragFader(strip().fader(), 292);
  EXPECT_EQ(params.Value(address::kMainBus), 0);
  EXPECT_EQ(params.Value(address::kMainBusLinked), 0);
}

TEST_F(OutputStripTest, RoutingExistsOnlyOnAuxBuses) {
  // On MAIN the buttons are not shown and a click does nothing.
  Click(button(StripCode::Left));
  Click(button(StripCode::Right));
  EXPECT_EQ(DirtyCount(params), 0);

  params[571].Store(0);
  SelectBus(1);
  Click(button(StripCode::Left));
  EXPECT_EQ(params.Value(571), 1300);
  EXPECT_TRUE(params[571].Dirty());
  Arrive(params, host.bank, 572, 1300);
  EXPECT_EQ(button(StripCode::Right).state(), kPressed);
  Click(button(StripCode::Right));
  EXPECT_EQ(params.Value(572), 0);
}

TEST_F(OutputStripTest, BalanceIsWrittenOnMainAndAlwaysShown) {
  // Thumb in the middle of the 60-px slider; 33 px right of the track start is 150.
  SkinnedSlider& balance = strip().pan();
  QTest::mousePress(&balance, Qt::LeftButton, {}, QPoint(30, 7));
  QTest::mouseMove(&balance, QPoint(41, 7));
  QTest::mouseRelease(&balance, Qt::LeftButton, {}, QPoint(41, 7));
  DeliverPosted();
  EXPECT_EQ(params.Value(address::kMainBalance), 150);
  EXPECT_TRUE(params[address::kMainBalance].Dirty());
  EXPECT_EQ(strip().panLabel().text().toStdString(), "R 50%");

  SelectBus(2);
  Arrive(params, host.bank, address::kMainBalance, 40);
  EXPECT_EQ(static_cast<int>(balance.GetValue()), 40);
  EXPECT_EQ(strip().panLabel().text().toStdString(), "L 60%");

  // Hidden on AUX: it takes no input.
  ClearDirty(params);
  QTest::mouseClick(&balance, Qt::LeftButton, {}, QPoint(50, 7));
  DeliverPosted();
  EXPECT_EQ(DirtyCount(params), 0);
}

TEST_F(OutputStripTest, MetersShowBothNibblesOfTheMeterWord) {
  Arrive(params, host.bank, address::kLevelMeters, 0x3C);
  EXPECT_EQ(strip().leftMeter().level(), 12);
  EXPECT_EQ(strip().rightMeter().level(), 3);

  Arrive(params, host.bank, address::kLevelMeters, 0xFF0F);  // bits above 7 mean nothing
  (void)strip().leftMeter().grab();  // the meter clamps when it draws
  EXPECT_EQ(strip().leftMeter().level(), 12);
  EXPECT_EQ(strip().rightMeter().level(), 0);
  EXPECT_EQ(DirtyCount(params), 0);
}

TEST_F(OutputStripTest, EnterReportsTheStripAndTheBusDecidesTheEditor) {
  SelectBus(6);
  Click(button(StripCode::Enter));
  ASSERT_EQ(host.enteredStrips.size(), 1U);
  EXPECT_EQ(host.enteredStrips[0], kOutputStrip);
  EXPECT_EQ(host.bank.OutputBus(), 6);
}

TEST_F(OutputStripTest, BusCaptionsInSimplifiedChinese) {
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::SimplifiedChinese));
  host.bank.RefreshTexts();
  DeliverPosted();
  EXPECT_EQ(strip().button(kFirstBusButton).text().toStdString(), "主");
  EXPECT_EQ(strip().button(kFirstBusButton + 6).text().toStdString(), "辅6");
  EXPECT_EQ(Name(), "主输出");
  SelectBus(4);
  EXPECT_EQ(Name(), "辅助4");
}

}  // namespace
}  // namespace rmt4::ui::strips
