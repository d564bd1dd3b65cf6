#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

#include "recording_host.h"
#include "screenshot.h"
#include "ui/controls/skinned_label.h"
#include "ui/platform/artwork.h"

namespace rmt4::ui {
namespace {

constexpr std::uint32_t kWhite = 0xFFFAFAFAu;
constexpr std::uint32_t kBlack = 0xFF000000u;

using test::Picture;

/// True when `part` equals the region of `whole` that starts at `offset`.
bool SameAsRegion(const QImage& part, const QImage& whole, QPoint offset) {
  return part == whole.copy(QRect(offset, part.size()));
}

/// The bounding box of the pixels `isInk` picks; by default those that are not black.
QRect InkedArea(const QImage& picture, const std::function<bool(QColor)>& isInk = [](QColor c) { return c != Qt::black; }) {
  QRect inked;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (isInk(picture.pixelColor(x, y))) inked |= QRect(x, y, 1, 1);
    }
  }
  return inked;
}

/// The label with a solid black fill, so only the text varies between pictures.
struct FilledLabel {
  FilledLabel(QSize size, std::uint32_t flags, int fontSize, const QString& text) : label(&host) {
    host.resize(600, 200);
    label.setGeometry(QRect(QPoint(0, 0), size));
    label.SetFillColour(kBlack);
    label.SetTextStyle(flags, fontSize, QStringLiteral("微软雅黑"), kWhite);
    label.SetText(text);
  }
  QWidget host;
  SkinnedLabel label;
};

TEST(SkinnedLabelLayout, TextWiderThanTheLabelGrowsEquallyToBothSidesAndDoesNotWrap) {
  // Wrapping is allowed (no single-line bit); "one two three" would break at its spaces if the label's width held.
  const QString text = QStringLiteral("one two three");
  FilledLabel narrow(QSize(41, 30), 0x05, 16, text);
  FilledLabel wide(QSize(401, 30), 0x05, 16, text);
  const QImage narrowPicture = Picture(narrow.label);
  const QImage widePicture = Picture(wide.label);
  const QRect inked = InkedArea(widePicture);
  ASSERT_LT(inked.left(), 180);
  ASSERT_GT(inked.right(), 220) << "the text must be wider than the narrow label";
  EXPECT_TRUE(SameAsRegion(narrowPicture, widePicture, QPoint(180, 0)))
      << "the narrow label must show the middle of the wide label's one-line text";

  // Once the layout has grown to the text's width, the alignment no longer moves it.
  FilledLabel leftAligned(QSize(41, 30), 0x04, 16, text);
  FilledLabel rightAligned(QSize(41, 30), 0x06, 16, text);
  EXPECT_EQ(Picture(leftAligned.label), narrowPicture);
  EXPECT_EQ(Picture(rightAligned.label), narrowPicture);
}

TEST(SkinnedLabelLayout, TextHigherThanTheLabelGrowsEquallyUpAndDown) {
  // Top-aligned text in a 10-pixel label ends up where a 50-pixel label centres it.
  FilledLabel low(QSize(120, 10), 0x21, 30, QStringLiteral("Mg"));
  FilledLabel high(QSize(120, 50), 0x25, 30, QStringLiteral("Mg"));
  EXPECT_TRUE(SameAsRegion(Picture(low.label), Picture(high.label), QPoint(0, 20)));
}

/// A value read-out as the strips place one: the bracket frame (image 146) over the host's buffer.
void PlaceReadOut(SkinnedLabel& label, test::RecordingHost& host, const QRect& geometry) {
  label.setGeometry(geometry);
  label.SetBackgroundSource(&host.background);
  label.SetAncestorLevel(1);
  label.SetImage(146, 78, 22);
}

TEST(SkinnedLabelComposition, EmptyTextShowsOnlyBackgroundFillAndImage) {
  test::RecordingHost host(QSize(300, 100), QColor(30, 60, 90));
  SkinnedLabel label(&host);
  PlaceReadOut(label, host, QRect(20, 30, 78, 22));
  const QImage bare = Picture(label);
  EXPECT_EQ(bare.pixelColor(40, 11), QColor(30, 60, 90)) << "the host's pixels show through";
  EXPECT_EQ(bare.pixelColor(1, 11), LoadArtwork(146).pixelColor(1, 11)) << "the bracket is drawn";

  label.SetTextStyle(0x25, 14, QStringLiteral("微软雅黑"), kWhite);
  label.SetText(QStringLiteral("-12.5"));
  EXPECT_NE(Picture(label), bare);
  label.SetText(QString());
  EXPECT_EQ(Picture(label), bare) << "clearing the text must recompose the picture without it";

  label.SetFillColour(0x80FF0000u);
  const QColor filled = Picture(label).pixelColor(40, 11);
  EXPECT_NEAR(filled.red(), (255 + 30) / 2, 2);
  EXPECT_NEAR(filled.blue(), 90 / 2, 2);
  label.SetFillColour(0x00FF0000u);  // alpha 0: no fill at all
  EXPECT_EQ(Picture(label), bare);

  // Moved over another part of the host, the label shows that part.
  QPainter(&host.background.image()).fillRect(QRect(200, 30, 78, 22), QColor(90, 20, 20));
  label.move(200, 30);
  EXPECT_EQ(Picture(label).pixelColor(40, 11), QColor(90, 20, 20));
}

TEST(SkinnedLabelComposition, ImageFrameIsCutFromItsColumnAndStretchedOverTheLabel) {
  // The combo skin holds two 80×30 frames of different blues side by side.
  const QImage skin = LoadArtwork(152);
  QWidget host;
  SkinnedLabel label(&host);
  label.setGeometry(0, 0, 160, 60);
  label.SetImage(152, 80, 30);
  EXPECT_EQ(Picture(label).pixelColor(40, 30), skin.pixelColor(20, 15));
  label.SetImageFrame(1);
  const QImage second = Picture(label);
  EXPECT_EQ(second.pixelColor(40, 30), skin.pixelColor(100, 15));
  EXPECT_NE(second.pixelColor(40, 30), skin.pixelColor(20, 15));
}

TEST(SkinnedLabelScreenshot, ValueReadOutOverTheStrip) {
  test::RecordingHost host(QSize(120, 40), QColor(38, 40, 44));
  SkinnedLabel readOut(&host);
  PlaceReadOut(readOut, host, QRect(10, 8, 100, 24));
  readOut.SetTextStyle(0x50000025u, 14, QStringLiteral("微软雅黑"), 0xC8FAFAFAu);
  readOut.SetText(QStringLiteral("-12.5dB"));
  (void)test::SaveScreenshot(readOut, "skinned_label_readout");
  const QImage readOutPicture = Picture(readOut);
  EXPECT_EQ(readOutPicture.pixelColor(1, 1), QColor(38, 40, 44)) << "the strip shows around the text";
  EXPECT_GT(InkedArea(readOutPicture, [](QColor c) { return c.lightness() > 180; }).width(), 30) << "the text";

  SkinnedLabel model(&host);
  model.setGeometry(0, 0, 120, 30);
  model.SetFillColour(0xFFDCDEE2u);
  model.SetTextStyle(0x40000124u, 14, QStringLiteral("微软雅黑"), kBlack);
  model.SetText(QStringLiteral("RMT-4 调音台"));
  (void)test::SaveScreenshot(model, "skinned_label_model_name");
  const QImage modelPicture = Picture(model);
  EXPECT_EQ(modelPicture.pixelColor(1, 1), QColor(0xDC, 0xDE, 0xE2)) << "the fill";
  EXPECT_GT(InkedArea(modelPicture, [](QColor c) { return c.lightness() < 80; }).width(), 60) << "black text";
}

}  // namespace
}  // namespace rmt4::ui
