#include "ui/controls/skinned_button.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "recording_host.h"
#include "screenshot.h"
#include "ui/platform/artwork.h"

namespace rmt4::ui {
namespace {

constexpr std::uint32_t kHostTextFlags = 0x50000025;
constexpr std::uint32_t kCaptionWhite = 0xFAFFFFFF;
const QColor kButtonHost(30, 32, 36);
const QColor kOffGrey(60, 60, 60);
const QColor kMuteRed(160, 51, 51);

using test::Picture;
using test::RecordedMessage;

/// A charcoal host for buttons.
class ButtonHost : public test::RecordingHost {
 public:
  ButtonHost() : RecordingHost(QSize(420, 160), kButtonHost) {
    show();  // hidden widgets get a resize event with every grab()
  }

  /// A skinned, captioned button set up the way every host does it.
  SkinnedButton* AddButton(const QRect& geometry, int skin, const QString& caption = QString(),
                         int controlId = kButtonClicked) {
    auto* button = new SkinnedButton(this, controlId);
    button->setGeometry(geometry);
    button->SetButtonIndex(7);
    button->SetAncestorLevel(1);
    button->SetSkin(&background, skin);
    button->SetTextStyle(kHostTextFlags, 13, QStringLiteral("微软雅黑"), kCaptionWhite);
    button->SetText(caption);
    button->show();
    return button;
  }
};

/// Within 18 per channel: the skins' bevel shades the fill a little.
::testing::AssertionResult ColourNear(const QImage& picture, const QPoint& at, const QColor& expected) {
  const QColor actual = picture.pixelColor(at);
  const int tolerance = 18;
  if (std::abs(actual.red() - expected.red()) <= tolerance && std::abs(actual.green() - expected.green()) <= tolerance &&
      std::abs(actual.blue() - expected.blue()) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "pixel (" << at.x() << "," << at.y() << ") is (" << actual.red() << ","
                                       << actual.green() << "," << actual.blue() << "), expected near ("
                                       << expected.red() << "," << expected.green() << "," << expected.blue() << ")";
}

/// The pointer moving over the button with no button held.
void Hover(QWidget& widget, const QPoint& at) {
  QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &move);
}

void Leave(QWidget& widget) {
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&widget, &leave);
}

bool ShowsHandCursor(const QWidget& widget) {
  return widget.testAttribute(Qt::WA_SetCursor) && widget.cursor().shape() == Qt::PointingHandCursor;
}

/// The bounding box of the caption's near-white pixels.
QRect CaptionBox(const QImage& picture) {
  QRect box;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      if (c.red() > 200 && c.green() > 200 && c.blue() > 200) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

TEST(SkinnedButtonSkins, EachSkinShowsItsOffAndOnColoursAtTheSizesTheHostsUse) {
  const struct {
    int id;
    QSize image, button;
    QColor off, on;
  } skins[] = {
      {136, {120, 30}, {60, 30}, kOffGrey, kMuteRed},
      {137, {120, 30}, {60, 30}, kOffGrey, QColor(160, 160, 50)},
      {138, {120, 30}, {60, 30}, QColor(0, 47, 83), kOffGrey},
      {139, {120, 30}, {60, 30}, kOffGrey, QColor(41, 83, 41)},
      {140, {62, 24}, {31, 24}, QColor(49, 100, 49), kOffGrey},
      {149, {88, 30}, {44, 30}, QColor(0, 47, 83), QColor(0, 47, 83)},
      {165, {100, 20}, {50, 20}, kOffGrey, QColor(49, 100, 49)},
  };
  ButtonHost host;
  for (const auto& skin : skins) {
    SCOPED_TRACE(skin.id);
    EXPECT_EQ(LoadArtwork(skin.id).size(), skin.image);
    SkinnedButton* button = host.AddButton(QRect(QPoint(10, 10), skin.button), skin.id);
    const QPoint middle(skin.button.width() / 2, skin.button.height() / 2);
    button->SetState(1);
    EXPECT_TRUE(ColourNear(Picture(*button), middle, skin.off));
    button->SetState(2);
    EXPECT_EQ(button->frameIndex(), 1);
    EXPECT_TRUE(ColourNear(Picture(*button), middle, skin.on));
    // Stretched to another size the frame still fills the button.
    button->resize(skin.button * 2);
    EXPECT_TRUE(ColourNear(Picture(*button), middle * 2, skin.on));
    delete button;
  }
}

TEST(SkinnedButtonSkins, TwoFrameSkinHasNoHoverFrameAndFallsBackToFrameZeroWhenDisabled) {
  ButtonHost host;
  SkinnedButton* button = host.AddButton(QRect(10, 10, 60, 30), 136);
  button->SetState(2);
  const QImage lit = Picture(*button);

  Hover(*button, QPoint(30, 15));
  EXPECT_TRUE(ShowsHandCursor(*button)) << "the pointer is over the button";
  EXPECT_EQ(Picture(*button), lit) << "a two-frame skin has no hover overlay";

  button->setEnabled(false);
  EXPECT_EQ(button->state(), 1);
  EXPECT_EQ(button->frameIndex(), 3);
  EXPECT_TRUE(ColourNear(Picture(*button), QPoint(30, 15), kOffGrey));
  EXPECT_EQ(button->frameIndex(), 0) << "the missing disabled frame becomes frame 0 when composed";
  EXPECT_FALSE(ShowsHandCursor(*button));

  button->SetState(2);
  EXPECT_EQ(button->state(), 1) << "SetState is ignored while disabled";

  // Re-enabled, the button latches, even though it was lit before.
  button->setEnabled(true);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 15));
  EXPECT_EQ(button->state(), 2);
}

TEST(SkinnedButtonSkins, NarrowButtonTakesFourFramesWithHoverAndDisabledFrames) {
  ButtonHost host;
  // 30 pixels of a 120-pixel strip: frames 0..3 are the quarters, so the
  // hover frame 2 and the disabled frame 3 are the halves of the red box.
  SkinnedButton* button = host.AddButton(QRect(10, 10, 30, 30), 136);
  button->SetState(1);
  EXPECT_TRUE(ColourNear(Picture(*button), QPoint(20, 15), kOffGrey));

  Hover(*button, QPoint(15, 15));
  EXPECT_TRUE(ColourNear(Picture(*button), QPoint(20, 15), kMuteRed));
  Hover(*button, QPoint(0, 15));  // on the rim: outside the hover rectangle
  EXPECT_TRUE(ColourNear(Picture(*button), QPoint(20, 15), kOffGrey));
  Hover(*button, QPoint(15, 15));
  Leave(*button);
  EXPECT_TRUE(ColourNear(Picture(*button), QPoint(20, 15), kOffGrey));
  EXPECT_FALSE(ShowsHandCursor(*button));

  button->setEnabled(false);
  EXPECT_TRUE(ColourNear(Picture(*button), QPoint(10, 15), kMuteRed));
  EXPECT_EQ(button->frameIndex(), 3);
  button->setEnabled(true);
  EXPECT_TRUE(ColourNear(Picture(*button), QPoint(20, 15), kOffGrey));
}

TEST(SkinnedButtonSkins, ButtonWiderThanHalfTheStripShowsTheWholeStripInEveryState) {
  ButtonHost host;
  SkinnedButton* button = host.AddButton(QRect(10, 10, 80, 30), 136);
  button->SetState(1);
  const QImage off = Picture(*button);
  EXPECT_TRUE(ColourNear(off, QPoint(15, 15), kOffGrey));
  EXPECT_TRUE(ColourNear(off, QPoint(62, 15), kMuteRed));
  button->SetState(2);
  EXPECT_EQ(Picture(*button), off);
  EXPECT_EQ(button->frameIndex(), 0);
}

TEST(SkinnedButtonSkins, SkinThatDoesNotLoadLeavesBackgroundAndCaption) {
  ButtonHost host;
  SkinnedButton* button = host.AddButton(QRect(10, 10, 60, 30), 136, QStringLiteral("MUTE"));
  button->SetSkin(&host.background, 9999);
  button->SetState(2);
  const QImage picture = Picture(*button);
  EXPECT_TRUE(ColourNear(picture, QPoint(3, 15), kButtonHost));
  EXPECT_FALSE(CaptionBox(picture).isEmpty());

  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 15));
  EXPECT_EQ(host.Messages().size(), 1u) << "without a skin it is still a button";
}

TEST(SkinnedButtonClicks, LatchedButtonTogglesAndPostsItsIdentifierAndIndex) {
  ButtonHost host;
  SkinnedButton* button = host.AddButton(QRect(10, 10, 60, 30), 136, QString(), 4000);
  button->SetState(1);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 15));
  EXPECT_EQ(button->state(), 2);
  EXPECT_EQ(button->frameIndex(), 1);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 15));
  EXPECT_EQ(button->state(), 1);
  EXPECT_EQ(host.Messages(), (std::vector<RecordedMessage>{{4000, 7, 7}, {4000, 7, 7}}));
}

TEST(SkinnedButtonClicks, PressInsideThenReleaseOutsideStillClicks) {
  ButtonHost host;
  SkinnedButton* button = host.AddButton(QRect(10, 10, 60, 30), 136);
  button->SetState(1);
  Hover(*button, QPoint(30, 15));
  QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 15));
  QTest::mouseMove(button, QPoint(200, 15));
  QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 15));
  EXPECT_EQ(button->state(), 2);
  EXPECT_EQ(host.Messages().size(), 1u);
  EXPECT_FALSE(ShowsHandCursor(*button)) << "released outside: the hover ends";
}

TEST(SkinnedButtonClicks, PressOutsideThePressRectangleThenReleaseInsideDoesNothing) {
  ButtonHost host;
  // Skinned at 80 of a 120-pixel strip: one frame, press rectangle 0..52.
  SkinnedButton* button = host.AddButton(QRect(10, 10, 80, 30), 136);
  button->SetState(1);
  QTest::mousePress(button, Qt::LeftButton, {}, QPoint(70, 15));
  QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 15));
  EXPECT_EQ(button->state(), 1);
  EXPECT_TRUE(host.Messages().empty());

  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(52, 15));
  EXPECT_EQ(button->state(), 2) << "the last pixel column of the press rectangle";
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(53, 15));
  EXPECT_EQ(button->state(), 2) << "one column further is outside";
  EXPECT_EQ(host.Messages().size(), 1u);
}

TEST(SkinnedButtonClicks, PushButtonNotifiesWithoutLatching) {
  ButtonHost host;
  SkinnedButton* button = host.AddButton(QRect(10, 10, 60, 30), 136, QStringLiteral("SAVE"));
  const QImage before = Picture(*button);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 15));
  EXPECT_EQ(button->state(), 0);
  EXPECT_EQ(button->frameIndex(), 0);
  EXPECT_EQ(host.Messages().size(), 1u);
  Leave(*button);
  EXPECT_EQ(Picture(*button), before);
}

TEST(SkinnedButtonClicks, DoubleClickCountsAsTwoClicks) {
  ButtonHost host;
  SkinnedButton* button = host.AddButton(QRect(10, 10, 60, 30), 136);
  button->SetState(1);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 15));
  QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(30, 15));
  QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 15));
  EXPECT_EQ(host.Messages().size(), 2u);
  EXPECT_EQ(button->state(), 1);
}

TEST(SkinnedButtonClicks, DisabledAndHiddenButtonsIgnoreThePointer) {
  ButtonHost host;
  SkinnedButton* disabled = host.AddButton(QRect(10, 10, 60, 30), 136);
  disabled->SetState(2);
  disabled->setEnabled(false);
  QTest::mouseClick(disabled, Qt::LeftButton, {}, QPoint(30, 15));
  EXPECT_EQ(disabled->state(), 1);

  SkinnedButton* hidden = host.AddButton(QRect(100, 10, 60, 30), 136, QStringLiteral("MUTE"));
  hidden->SetState(2);
  hidden->SetShown(false);
  const QImage picture = Picture(*hidden);
  EXPECT_TRUE(ColourNear(picture, QPoint(30, 15), kButtonHost));
  EXPECT_TRUE(CaptionBox(picture).isEmpty()) << "not shown: background only";
  Hover(*hidden, QPoint(30, 15));
  EXPECT_FALSE(ShowsHandCursor(*hidden));
  QTest::mouseClick(hidden, Qt::LeftButton, {}, QPoint(30, 15));
  EXPECT_EQ(hidden->state(), 2);
  EXPECT_TRUE(host.Messages().empty());

  hidden->SetShown(true);
  EXPECT_TRUE(ColourNear(Picture(*hidden), QPoint(6, 15), kMuteRed));
}

TEST(SkinnedButtonKeys, TabPassesOverAButtonNotShownSpaceClicksAsTheMouseDoesAndTheFocusIsMarked) {
  ButtonHost host;
  SkinnedButton* first = host.AddButton(QRect(10, 10, 60, 30), 136, QString(), 4000);
  SkinnedButton* notShown = host.AddButton(QRect(100, 10, 60, 30), 136, QString(), 4000);
  SkinnedButton* last = host.AddButton(QRect(190, 10, 60, 30), 136, QString(), 4000);
  for (SkinnedButton* each : {first, notShown, last}) each->SetState(1);
  notShown->SetShown(false);
  const QPoint rim(1, 15);
  const QColor unfocusedRim = Picture(*last).pixelColor(rim);
  host.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
  ASSERT_TRUE(first->hasFocus()) << "the window's first stop";

  QTest::keyClick(first, Qt::Key_Tab);
  ASSERT_TRUE(last->hasFocus());
  EXPECT_NE(Picture(*last).pixelColor(rim), unfocusedRim) << "the focus mark";
  QTest::keyClick(last, Qt::Key_Space);
  EXPECT_EQ(last->state(), 2);
  QTest::keyClick(last, Qt::Key_Space, Qt::ControlModifier);  // not a click
  QTest::keyClick(last, Qt::Key_Tab);
  ASSERT_TRUE(first->hasFocus());
  QTest::mouseClick(last, Qt::LeftButton, {}, QPoint(30, 15));
  EXPECT_TRUE(first->hasFocus()) << "a click leaves the keyboard where it is";
  EXPECT_EQ(Picture(*last).pixelColor(rim), unfocusedRim) << "off again, and the mark went with the focus";
  EXPECT_EQ(host.Messages(), (std::vector<RecordedMessage>{{4000, 7, 7}, {4000, 7, 7}}))
      << "Space sends the mouse's message";
}

TEST(SkinnedButtonCaption, NewTextStaysCentredOnTheEarlierLayout) {
  ButtonHost host;
  SkinnedButton* button = host.AddButton(QRect(10, 10, 60, 30), 136, QStringLiteral("I"));
  button->SetState(1);
  const QRect narrow = CaptionBox(Picture(*button));
  ASSERT_FALSE(narrow.isEmpty());
  EXPECT_NEAR(narrow.center().x(), 29.5, 1.5);
  EXPECT_NEAR(narrow.center().y(), 15.0, 2.0);
  button->SetText(QStringLiteral("MUTE"));
  EXPECT_EQ(button->text(), QStringLiteral("MUTE"));
  const QRect wide = CaptionBox(Picture(*button));
  ASSERT_GT(wide.width(), narrow.width() * 3);
  EXPECT_NEAR(wide.center().x(), narrow.center().x(), 1.0);
  EXPECT_NEAR(wide.center().y(), narrow.center().y(), 1.0);
}

TEST(SkinnedButtonCaching, BackgroundIsCopiedAgainOnlyOnMoveResizeOrRestyle) {
  ButtonHost host;
  SkinnedButton* button = host.AddButton(QRect(10, 10, 60, 30), 136);
  button->SetShown(false);  // the picture is the background copy
  EXPECT_TRUE(ColourNear(Picture(*button), QPoint(30, 15), kButtonHost));

  host.background.image().fill(Qt::red);
  button->Refresh();
  EXPECT_TRUE(ColourNear(Picture(*button), QPoint(30, 15), kButtonHost)) << "a refresh reuses the copy";
  button->move(12, 10);
  EXPECT_TRUE(ColourNear(Picture(*button), QPoint(30, 15), Qt::red));

  host.background.image().fill(Qt::blue);
  button->SetTextStyle(kHostTextFlags, 13, QStringLiteral("微软雅黑"), kCaptionWhite);
  EXPECT_TRUE(ColourNear(Picture(*button), QPoint(30, 15), Qt::blue));
}

TEST(SkinnedButtonScreenshots, StatesOfTheStripAndEditorButtons) {
  ButtonHost host;
  SkinnedButton* off = host.AddButton(QRect(10, 10, 60, 30), 136, QStringLiteral("MUTE"));
  off->SetState(1);
  host.AddButton(QRect(80, 10, 60, 30), 136, QStringLiteral("MUTE"))->SetState(2);
  host.AddButton(QRect(150, 10, 60, 30), 137, QStringLiteral("PFL"))->SetState(2);
  host.AddButton(QRect(220, 10, 60, 30), 138, QStringLiteral("ENTER"))->SetState(1);
  host.AddButton(QRect(290, 10, 60, 30), 139, QStringLiteral("MAIN"))->SetState(2);
  host.AddButton(QRect(360, 13, 31, 24), 140, QStringLiteral("48V"))->SetState(1);

  SkinnedButton* hovered = host.AddButton(QRect(10, 55, 60, 30), 139, QStringLiteral("HPF"));
  hovered->SetState(1);
  SkinnedButton* narrowHover = host.AddButton(QRect(80, 55, 30, 30), 136, QStringLiteral("H"));
  narrowHover->SetState(1);
  SkinnedButton* disabled = host.AddButton(QRect(120, 55, 60, 30), 136, QStringLiteral("MUTE"));
  disabled->SetState(2);
  disabled->setEnabled(false);
  host.AddButton(QRect(190, 55, 44, 30), 149, QStringLiteral("AUX"))->SetState(1);
  host.AddButton(QRect(244, 55, 44, 30), 149, QStringLiteral("AUX"))->SetState(2);
  host.AddButton(QRect(298, 60, 50, 20), 165, QStringLiteral("EQ"))->SetState(1);
  host.AddButton(QRect(358, 60, 50, 20), 165, QStringLiteral("EQ"))->SetState(2);
  Hover(*hovered, QPoint(30, 15));
  Hover(*narrowHover, QPoint(15, 15));

  (void)rmt4::test::SaveScreenshot(host, QStringLiteral("skinned_button_states"));
  // Each button's face below its caption shows its state's colour, and its caption is drawn.
  const QImage picture = Picture(host);
  const struct {
    QRect button;
    QColor face;
  } faces[] = {
      {{10, 10, 60, 30}, kOffGrey},      {{80, 10, 60, 30}, kMuteRed},           {{150, 10, 60, 30}, {160, 160, 50}},
      {{220, 10, 60, 30}, {0, 47, 83}},  {{290, 10, 60, 30}, {41, 83, 41}},      {{360, 13, 31, 24}, {49, 100, 49}},
      {{120, 55, 60, 30}, kOffGrey},     {{190, 55, 44, 30}, {0, 47, 83}},       {{298, 60, 50, 20}, kOffGrey},
      {{358, 60, 50, 20}, {49, 100, 49}},
  };
  for (const auto& b : faces) {
    EXPECT_TRUE(ColourNear(picture, QPoint(b.button.center().x(), b.button.bottom() - 5), b.face));
    EXPECT_FALSE(CaptionBox(picture.copy(b.button)).isEmpty()) << "caption of the button at " << b.button.x();
  }
}

}  // namespace
}  // namespace rmt4::ui
