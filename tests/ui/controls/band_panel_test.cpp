#include "ui/controls/band_panel.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <cmath>
#include <string>
#include <vector>

#include "recording_host.h"
#include "screenshot.h"

namespace rmt4::ui {
namespace {

const QColor kBandPanelHost(38, 40, 44);
constexpr int kPanelId = 6024;
constexpr int kBandIndex = 2;
constexpr QPoint kPanelAt(10, 10);

using test::RecordedMessage;
using test::Click;
using test::Wheel;

/// A charcoal host with one band panel (band 3) and a widget that takes the
/// focus away from the panel's fields.
class BandPanelHost : public test::RecordingHost {
 public:
  explicit BandPanelHost(QSize panelSize = QSize(98, 250))
      : RecordingHost(panelSize + QSize(20, 40), kBandPanelHost), panel(new BandPanel(this)), elsewhere(new QWidget(this)) {
    panel->setGeometry(QRect(kPanelAt, panelSize));
    panel->SetBandIndex(kBandIndex);
    EXPECT_TRUE(panel->SetSource(&background));
    elsewhere->setGeometry(0, height() - 10, 10, 10);
    elsewhere->setFocusPolicy(Qt::ClickFocus);
    show();
    activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(this));
    // The window hands its focus to the first field; start with none focused.
    Leave();
    Forget();
  }

  QLineEdit& Field(BandField field) {
    return *panel->findChild<QLineEdit*>(QString::number(BandPanel::kFieldIds[static_cast<std::size_t>(field)]));
  }
  /// Moves the focus away as a window does, not the user.
  void Leave() { elsewhere->setFocus(); }
  /// The message the panel sends when `field` changed.
  static RecordedMessage Changed(int field) { return {kPanelId, kBandIndex, field}; }

  BandPanel* panel;
  QWidget* elsewhere;
};

TEST(BandPanelFields, StartWithTheDefaultBand) {
  BandPanelHost host;
  EXPECT_EQ(host.panel->fieldText(BandField::kGain), "0.0");
  EXPECT_EQ(host.panel->fieldText(BandField::kFrequency), "1000");
  EXPECT_EQ(host.panel->fieldText(BandField::kQ), "0.40");
  EXPECT_EQ(host.panel->bandType(), BandPanel::kPeaking);
  EXPECT_TRUE(host.Messages().empty());

  // Values a host loads before the panel is laid out stay.
  auto* early = new BandPanel(&host);
  early->SetField(BandField::kFrequency, 500);
  ASSERT_TRUE(early->SetSource(&host.background));
  early->setGeometry(QRect(kPanelAt, QSize(98, 250)));
  EXPECT_EQ(early->fieldText(BandField::kFrequency), "500");
}

// Typed text is committed with Enter, Tab or a click elsewhere, read as a
// number, snapped onto the grid or clamped into the range, and reported;
// text that is no number brings the field's value back and reports nothing.
TEST(BandPanelFields, TypedTextIsCommittedSnappedAndReported) {
  enum Commit { kEnter, kTab, kClickElsewhere };  // the user's own ways of finishing a field
  const struct {
    BandField field;
    QString typed;
    Commit commit;
    const char* shown;  // null: refused, the value before stays
  } cases[] = {
      {BandField::kFrequency, "15", kEnter, "19.7"},
      {BandField::kFrequency, "25000", kTab, "20600"},
      {BandField::kQ, "0.1", kClickElsewhere, "0.40"},
      {BandField::kGain, "3,5", kEnter, "3.5"},
      {BandField::kGain, "1e999", kClickElsewhere, "12.0"},
      {BandField::kGain, QString(200, u'9'), kEnter, "12.0"},
      {BandField::kFrequency, "abc", kEnter, nullptr},
      {BandField::kFrequency, "", kTab, nullptr},
      {BandField::kQ, "nan", kClickElsewhere, nullptr},
      {BandField::kGain, "inf", kEnter, nullptr},
      {BandField::kGain, "-", kTab, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE('"' + c.typed.toStdString() + '"');
    BandPanelHost host;
    host.panel->SetField(BandField::kFrequency, 2000);
    host.panel->SetField(BandField::kQ, 4.0);
    host.panel->SetField(BandField::kGain, -3.0);
    const QString before = host.panel->fieldText(c.field);
    const double valueBefore = host.panel->value(c.field);
    test::TypeOver(host.Field(c.field), c.typed);
    if (c.commit == kClickElsewhere) {
      QTest::mouseClick(host.elsewhere, Qt::LeftButton, {}, QPoint(5, 5));
    } else {
      QTest::keyClick(&host.Field(c.field), c.commit == kTab ? Qt::Key_Tab : Qt::Key_Return);
    }
    const bool refused = c.shown == nullptr;
    EXPECT_EQ(host.panel->fieldText(c.field), refused ? before : QString(c.shown));
    if (refused) {
      EXPECT_EQ(host.panel->value(c.field), valueBefore);
    }
    EXPECT_EQ(host.Messages(), refused ? std::vector<RecordedMessage>{}
                                       : std::vector{BandPanelHost::Changed(static_cast<int>(c.field))});
  }
}

TEST(BandPanelFields, TypedGainIsStoredExactlyAndShownInTenths) {
  BandPanelHost host;
  test::TypeOver(host.Field(BandField::kGain), "3.27");
  QTest::keyClick(&host.Field(BandField::kGain), Qt::Key_Enter);
  EXPECT_DOUBLE_EQ(host.panel->gain(), 3.27);
  EXPECT_EQ(host.panel->fieldText(BandField::kGain), "3.3");
  EXPECT_EQ(host.passedKeys, std::vector<int>{Qt::Key_Enter}) << "Enter goes on to the host";
  EXPECT_EQ(host.Field(BandField::kGain).maxLength(), 32);
}

TEST(BandPanelKeys, ArrowsAndPageKeysStepFrequencyAndGainAndAreConsumed) {
  BandPanelHost host;
  const struct {
    BandField field;
    double start;
    int key;
    const char* shown;
  } cases[] = {
      {BandField::kFrequency, 1000, Qt::Key_Right, "1020"},
      {BandField::kFrequency, 10.5, Qt::Key_Left, "10.5"},
      {BandField::kGain, 12.0, Qt::Key_Up, "12.0"},
      {BandField::kGain, 0.0, Qt::Key_Down, "-0.1"},
      {BandField::kGain, 0.0, Qt::Key_PageUp, "1.0"},  // ten steps, one report
      {BandField::kGain, -23.5, Qt::Key_PageDown, "-24.0"},
  };
  // Keys reach the panel itself after a click, or one of its fields.
  Click(*host.panel, QPoint(40, 20));
  for (QWidget* target : {static_cast<QWidget*>(host.panel), static_cast<QWidget*>(&host.Field(BandField::kQ))}) {
    target->setFocus();
    for (const auto& c : cases) {
      host.panel->SetField(c.field, c.start);
      host.Forget();
      QTest::keyClick(target, static_cast<Qt::Key>(c.key));
      EXPECT_EQ(host.panel->fieldText(c.field), c.shown) << c.start << " key " << c.key;
      EXPECT_EQ(host.Messages(), std::vector<RecordedMessage>{BandPanelHost::Changed(static_cast<int>(c.field))});
    }
  }
  EXPECT_TRUE(host.passedKeys.empty());
}

TEST(BandPanelWheel, StepsTheFocusedFieldOrElseTheGain) {
  BandPanelHost host;
  const QPoint over(40, 100);
  Wheel(*host.panel, over, 120);
  EXPECT_EQ(host.panel->fieldText(BandField::kGain), "0.1");
  EXPECT_EQ(host.Messages(), std::vector<RecordedMessage>{BandPanelHost::Changed(0)});

  host.panel->SetField(BandField::kQ, 128);
  host.Field(BandField::kQ).setFocus();
  host.Forget();
  Wheel(*host.panel, over, 120);
  EXPECT_EQ(host.panel->fieldText(BandField::kQ), "128");
  Wheel(*host.panel, over, -120);
  EXPECT_EQ(host.panel->fieldText(BandField::kQ), "121");
  Wheel(*host.panel, over, 0);  // a sideways turn
  EXPECT_EQ(host.Messages(), (std::vector<RecordedMessage>{BandPanelHost::Changed(2), BandPanelHost::Changed(2)}));
}

// At 98 × 500 the axis runs from y 80 (+12 dB) to 418 (−24 dB): its midpoint is a whole pixel.
TEST(BandPanelFader, DraggingTheThumbSetsTheGainInTenths) {
  BandPanelHost host(QSize(98, 500));
  const int thumbAtZero = 193;  // trunc(418 − 24·338/36 + 0.5)
  QTest::mousePress(host.panel, Qt::LeftButton, {}, QPoint(80, thumbAtZero + 13));
  ASSERT_TRUE(host.panel->dragging());
  QTest::mouseMove(host.panel, QPoint(80, 249));
  EXPECT_DOUBLE_EQ(host.panel->gain(), -6.0);
  EXPECT_EQ(host.panel->fieldText(BandField::kGain), "-6.0");
  QTest::mouseMove(host.panel, QPoint(80, 250));  // −6.106… truncated toward zero
  EXPECT_DOUBLE_EQ(host.panel->gain(), -6.1);
  QTest::mouseMove(host.panel, QPoint(80, -50));
  EXPECT_DOUBLE_EQ(host.panel->gain(), 12.0);
  QTest::mouseRelease(host.panel, Qt::LeftButton, {}, QPoint(80, -50));
  EXPECT_FALSE(host.panel->dragging());
  EXPECT_EQ(host.Messages(), std::vector<RecordedMessage>(5, BandPanelHost::Changed(0)));
}

// At some heights a row just below 0 dB reads −0.09 dB, truncated toward zero.
TEST(BandPanelFader, ZeroShowsWithoutASignAtEveryHeight) {
  for (const int height : {180, 203, 250, 375}) {
    SCOPED_TRACE(height);
    BandPanelHost host(QSize(98, height));
    const BandPanelLayout layout = BandPanelLayout::ForSize(host.panel->size());
    QTest::mousePress(host.panel, Qt::LeftButton, {}, QPoint(layout.axisX, layout.GainY(0.0, GainRange{})));
    ASSERT_TRUE(host.panel->dragging());
    for (int y = layout.yAtMax; y <= layout.yAtMin; ++y) {
      QTest::mouseMove(host.panel, QPoint(layout.axisX, y));
      EXPECT_NE(host.panel->fieldText(BandField::kGain), "-0.0") << "row " << y;
      EXPECT_FALSE(std::signbit(host.panel->gain()) && host.panel->gain() == 0.0) << "row " << y;
    }
    QTest::mouseRelease(host.panel, Qt::LeftButton, {}, QPoint(layout.axisX, layout.yAtMin));
  }
}

TEST(BandPanelFader, ClicksAboveAndBelowTheThumbStepTheGain) {
  BandPanelHost host;
  // Gain 0 puts the thumb's centre at y 96 (box 83..109); the travel is 27..222.
  const struct {
    QPoint at;
    const char* shown;
  } cases[] = {{{80, 27}, "0.1"}, {{88, 82}, "0.1"},  {{80, 110}, "-0.1"}, {{72, 222}, "-0.1"},
               {{80, 26}, "0.0"}, {{80, 223}, "0.0"}, {{71, 60}, "0.0"},   {{89, 60}, "0.0"}};
  for (const auto& c : cases) {
    host.panel->SetField(BandField::kGain, 0.0);
    Click(*host.panel, c.at);
    EXPECT_EQ(host.panel->fieldText(BandField::kGain), c.shown) << c.at.x() << ',' << c.at.y();
    EXPECT_FALSE(host.panel->dragging());
  }
}

TEST(BandPanelTypes, TypeButtonsSetTheBandTypeAndSurviveAResize) {
  BandPanelHost host(QSize(147, 375));
  host.panel->resize(98, 250);
  Click(*host.panel, QPoint(9, 139));
  EXPECT_EQ(host.panel->bandType(), BandPanel::kHighShelf);
  EXPECT_EQ(host.Messages(), std::vector<RecordedMessage>{BandPanelHost::Changed(BandPanel::kBandTypeChanged)});
  Click(*host.panel, QPoint(1, 161));
  EXPECT_EQ(host.panel->bandType(), BandPanel::kLowShelf);
  host.panel->resize(147, 375);
  EXPECT_EQ(host.panel->bandType(), BandPanel::kLowShelf) << "a resize keeps the user's choice";
  Click(*host.panel, QPoint(10, 160));  // peaking at 1.5×: (1,151)–(25,175)
  EXPECT_EQ(host.panel->bandType(), BandPanel::kPeaking);

  host.panel->SetShowTypeButtons(false);  // as every host has them
  host.Forget();
  Click(*host.panel, QPoint(10, 205));
  EXPECT_EQ(host.panel->bandType(), BandPanel::kPeaking);
  EXPECT_TRUE(host.Messages().empty());
}

TEST(BandPanelInput, AHiddenPanelIgnoresInputAndADegenerateAxisReportsNoNonsense) {
  BandPanelHost host;
  host.panel->SetSkinVisible(false);
  QTest::mousePress(host.panel, Qt::LeftButton, {}, QPoint(80, 96));
  EXPECT_FALSE(host.panel->dragging());
  Wheel(*host.panel, QPoint(80, 96), 120);
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_FALSE(host.Field(BandField::kGain).isVisible());

  host.panel->SetSkinVisible(true);
  host.panel->resize(98, 1);  // the axis has no height at all
  QTest::mousePress(host.panel, Qt::LeftButton, {}, QPoint(80, 0));
  ASSERT_TRUE(host.panel->dragging());
  QTest::mouseMove(host.panel, QPoint(80, 0));
  EXPECT_DOUBLE_EQ(host.panel->gain(), -24.0);
  host.panel->SetField(BandField::kGain, std::nan(""));
  EXPECT_DOUBLE_EQ(host.panel->gain(), -24.0) << "a value that is no number is ignored";
}

// ---- Looks: the slot, the thumb at the gain's row and the band number.

bool IsDarkRed(QColor c) { return c.red() > 80 && c.red() < 200 && c.green() < 60 && c.blue() < 60; }
bool IsBlack(QColor c) { return c.red() < 20 && c.green() < 20 && c.blue() < 20; }
bool IsDark(QColor c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }
bool IsRed(QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }

int Count(const QImage& picture, const QRect& area, bool (*picks)(QColor)) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += picks(picture.pixelColor(x, y)) ? 1 : 0;
  }
  return count;
}

TEST(BandPanelLook, BaseSizeAtRest) {
  BandPanelHost host;
  host.panel->SetShowTypeButtons(false);
  host.panel->SetField(BandField::kGain, 0.0);  // thumb rows 83..108
  const QImage picture = test::Picture(*host.panel);
  (void)test::SaveScreenshot(host, "band_panel_base");
  EXPECT_TRUE(IsBlack(picture.pixelColor(81, 60))) << "the slot";
  EXPECT_TRUE(IsBlack(picture.pixelColor(82, 200)));
  EXPECT_TRUE(IsDarkRed(picture.pixelColor(76, 88))) << "the thumb at 0 dB";
  EXPECT_FALSE(IsDarkRed(picture.pixelColor(76, 140))) << "no thumb below it";
  // On its light plate the number is the only dark ink.
  EXPECT_GT(Count(picture, QRect(3, 47, 13, 14), IsDark), 12) << "band number in black";
  EXPECT_EQ(Count(picture, QRect(0, 45, 18, 18), IsRed), 0);
  EXPECT_EQ(picture.pixelColor(40, 185), QColor(Qt::white)) << "the gain field";
}

TEST(BandPanelLook, OneAndAHalfTimesFocused) {
  BandPanelHost host(QSize(147, 375));
  host.panel->SetField(BandField::kGain, -12.0);
  Click(*host.panel, QPoint(40, 20));  // focus without touching the fader
  const QImage picture = test::Picture(*host.panel);
  (void)test::SaveScreenshot(host, "band_panel_focused_1_5x");
  // At 1.5×: axis x 120, gain −12 at y trunc(313 − 12·253/36 + 0.5) = 229.
  EXPECT_TRUE(IsBlack(picture.pixelColor(121, 90))) << "the slot";
  EXPECT_TRUE(IsDarkRed(picture.pixelColor(114, 219))) << "the thumb at −12 dB";
  EXPECT_FALSE(IsDarkRed(picture.pixelColor(114, 150)));
  const QColor line = picture.pixelColor(121, 229);
  EXPECT_TRUE(line.green() > 180 && line.red() < 140) << "focused look: green line";
  EXPECT_GT(Count(picture, QRect(0, 67, 27, 27), IsRed), 10) << "band number in red";
}

}  // namespace
}  // namespace rmt4::ui
