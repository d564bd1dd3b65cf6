// The strip bank's placement in the main window and the whole bank's look.
#include <gtest/gtest.h>

#include <QPalette>

#include <cstdlib>

#include "i18n/language.h"
#include "screenshot.h"
#include "strip_test_host.h"
#include "ui/controls/skinned_label.h"
#include "ui/main/input_strip.h"
#include "ui/main/output_strip.h"

namespace rmt4::ui {
namespace {

using strips::Arrive;
using rmt4::test::DeliverPosted;
using strips::StripHost;

TEST(StripBank, LayoutFollowsTheHostsScaleFactors) {
  ParamTable params;
  StripHost host(params);

  // Nominal: side by side from x 3, a 22-px gap before DIGTAL, output right-aligned.
  EXPECT_EQ(host.bank.inputStrip(0).geometry(), QRect(3, 53, 82, 639));
  EXPECT_EQ(host.bank.inputStrip(8).x(), 3 + 8 * 82);
  EXPECT_EQ(host.bank.inputStrip(9).x(), 3 + 9 * 82 + 22);
  EXPECT_EQ(host.bank.outputStrip().geometry(), QRect(1013, 51, 130, 656));

  // A client 1.5 times as wide and 1.2 times as high: s = 1.2, sx = 1.5.
  host.resize(1716, 854);
  host.bank.Layout(1.2, 1.5, 1716);
  const InputStrip& first = host.bank.inputStrip(0);
  EXPECT_EQ(first.geometry(), QRect(4, 63, 98, 830 - 63));
  EXPECT_DOUBLE_EQ(first.scale(), 1.2);
  EXPECT_EQ(host.bank.inputStrip(9).x(), 4 + 9 * 98 + 26);
  EXPECT_EQ(host.bank.outputStrip().geometry(), QRect(1716 - 1 - 156, 61, 156, 787));
  // Controls inside follow the strip's scale: MUTE at 10, 87 → 12, 104.
  EXPECT_EQ(first.button(StripCode::Mute).geometry(), QRect(12, 104, 72, 36));
  EXPECT_EQ(host.bank.outputStrip().button(6).geometry(), QRect(99, 7, 52, 36));
}

TEST(StripBank, HidingTheBankHidesEveryStrip) {
  ParamTable params;
  StripHost host(params);
  host.bank.SetVisible(false);
  for (int i = 0; i < kInputStripCount; ++i) EXPECT_FALSE(host.bank.inputStrip(i).isVisible());
  EXPECT_FALSE(host.bank.outputStrip().isVisible());
  host.bank.SetVisible(true);
  EXPECT_TRUE(host.bank.inputStrip(11).isVisible());
  EXPECT_TRUE(host.bank.outputStrip().isVisible());
}

TEST(StripBank, AddressesOutsideTheTableAreIgnored) {
  ParamTable params;
  StripHost host(params);
  host.bank.ValueArrived(static_cast<ParamAddress>(kParamCount));
  host.bank.ControlEdited(13, 1);
  host.bank.ControlEdited(-1, 7);
  EXPECT_EQ(strips::DirtyCount(params), 0);
}

// A console state worth looking at: a few faders up, pans, mutes, PFL, meters.
void ShowSomeConsoleState(ParamTable& params, StripBank& bank) {
  const std::uint16_t faders[] = {1200, 1100, 1000, 1250, 800, 0, 1300, 1150, 1200, 1180};
  for (int c = 0; c < 10; ++c) {
    const ParamAddress base = InputBlockBase(c);
    Arrive(params, bank, static_cast<ParamAddress>(base + 4), faders[c]);
    Arrive(params, bank, static_cast<ParamAddress>(base + 3), static_cast<std::uint16_t>(40 + 15 * c));
    Arrive(params, bank, base, c == 2 ? 0x0000 : (c == 0 ? 0x0009 : 0x0008));
    Arrive(params, bank, static_cast<ParamAddress>(base + 11), 1300);
    Arrive(params, bank, static_cast<ParamAddress>(base + 12), c == 4 ? 0 : 1300);
    Arrive(params, bank, static_cast<ParamAddress>(base + 13), c == 1 ? 1300 : 0);
  }
  Arrive(params, bank, 1110, 1000);
  Arrive(params, bank, 1147, 1200);
  Arrive(params, bank, 1111, 1);
  Arrive(params, bank, 1148, 1);
  Arrive(params, bank, address::kMainBus, 1180);
  Arrive(params, bank, address::kMainOn, 1);
  Arrive(params, bank, address::kMainBalance, 120);
  Arrive(params, bank, address::kPflBus, 0);
  Arrive(params, bank, address::kLevelMeters, 0x79);
}

TEST(StripBank, ScreenshotsInEnglishAndSimplifiedChinese) {
  const LanguageIndex previous = CurrentLanguage();
  ParamTable params;
  StripHost host(params);
  QPalette dark = host.palette();
  dark.setColor(QPalette::Window, QColor(24, 25, 28));
  host.setPalette(dark);
  host.setAutoFillBackground(true);
  ShowSomeConsoleState(params, host.bank);

  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::English));
  host.bank.RefreshTexts();
  DeliverPosted();
  EXPECT_EQ(host.bank.inputStrip(0).nameLabel().text().toStdString(), "CH1");
  EXPECT_FALSE(rmt4::test::SaveScreenshot(host, "strip_bank_english").isEmpty());

  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::SimplifiedChinese));
  host.bank.RefreshTexts();
  DeliverPosted();
  EXPECT_EQ(host.bank.inputStrip(0).button(StripCode::Enter).text().toStdString(), "进入");
  EXPECT_FALSE(rmt4::test::SaveScreenshot(host, "strip_bank_simplified_chinese").isEmpty());

  // One strip at twice the size, to judge the artwork's detail: the same picture, twice as large.
  OutputStrip& output = host.bank.outputStrip();
  const QImage single = output.grab().toImage();
  output.SetScale(2.0);
  output.resize(single.size() * 2);
  (void)rmt4::test::SaveScreenshot(output, "strip_output_scale2");
  const QImage twice = output.grab().toImage();
  ASSERT_EQ(twice.size(), single.size() * 2);
  int samples = 0;
  int alike = 0;
  for (int y = 4; y < single.height() - 4; y += 7) {
    for (int x = 4; x < single.width() - 4; x += 7) {
      const QColor a = single.pixelColor(x, y);
      const QColor b = twice.pixelColor(2 * x + 1, 2 * y + 1);
      ++samples;
      alike += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 60;
    }
  }
  EXPECT_GT(alike, samples * 9 / 10) << alike << " of " << samples << " points alike";
  (void)SetCurrentLanguage(previous);
}

}  // namespace
}  // namespace rmt4::ui
