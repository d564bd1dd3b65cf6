// The skin's look on the editors' scroll bar and the drop-downs' lists.
#include <QAbstractItemView>
#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

#include "pictures.h"
#include "recording_host.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/editors/input_editor.h"

namespace rmt4::ui {
namespace {

bool LookDark(QRgb pixel) { return qRed(pixel) < 60 && qGreen(pixel) < 60 && qBlue(pixel) < 70; }
bool LookThumbRed(QRgb pixel) { return qRed(pixel) > 90 && qRed(pixel) > 2 * qGreen(pixel); }
bool LookHighlight(QRgb pixel) { return qBlue(pixel) > 180 && qRed(pixel) < 60; }
// The amber outline every focused control wears.
bool LookFocusMark(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) > 150 && qBlue(pixel) < 120; }

/// First and last column of the thumb along the bar's middle row; -1 for none.
std::pair<int, int> LookThumbColumns(const QImage& bar) {
  int first = -1;
  int last = -1;
  for (int x = 0; x < bar.width(); ++x) {
    if (!LookThumbRed(bar.pixel(x, bar.height() / 2 - 2))) continue;
    if (first < 0) first = x;
    last = x;
  }
  return {first, last};
}

TEST(SkinStyleLook, EditorScrollBarIsDarkWithTheSliderThumbWhereTheValueSaysAtEveryScale) {
  std::vector<int> thumbLengths;
  for (const double scale : {1.0, 1.5}) {
    SCOPED_TRACE(scale);
    test::RecordingHost host(QSize(1400, 500), Qt::black);
    auto* editor = new InputEditor(&host);
    editor->SetScale(scale, scale);
    host.show();
    QScrollBar& bar = editor->scrollBar();

    const QImage start = test::Picture(bar);
    const auto [startFirst, startLast] = LookThumbColumns(start);
    ASSERT_GE(startFirst, 0) << "the thumb is drawn";
    const int arrow = static_cast<int>(14 * scale);
    EXPECT_NEAR(startFirst, arrow, 2) << "at the start the thumb touches the left arrow";
    EXPECT_TRUE(LookDark(start.pixel(startLast + 4, start.height() / 2 - 2))) << "the track beyond it is dark";
    thumbLengths.push_back(startLast - startFirst + 1);

    test::ClickRightArrow(bar);
    const QImage end = test::Picture(bar);
    const auto [endFirst, endLast] = LookThumbColumns(end);
    EXPECT_NEAR(endLast, end.width() - 1 - arrow, 2) << "at the end the thumb touches the right arrow";
    EXPECT_TRUE(LookDark(end.pixel(endFirst - 4, end.height() / 2 - 2)));
  }
  EXPECT_NEAR(thumbLengths.at(1), thumbLengths.at(0) * 1.5, 3) << "the thumb grows with the scale";
}

TEST(SkinStyleLook, FocusMarkOnlyWhileTheBarOrTheBoxHasTheKeys) {
  test::RecordingHost host(InputEditor::kViewSize, Qt::black);
  auto* editor = new InputEditor(&host);
  host.show();
  QApplication::setActiveWindow(&host);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
  QScrollBar& bar = editor->scrollBar();
  SkinnedComboBox& box = editor->combo(0);
  const QPoint barEdge(bar.width() / 2, bar.height() - 1);
  const QPoint boxEdge(box.width() / 2, box.height() - 1);

  bar.setFocus(Qt::TabFocusReason);  // as a tab order that includes the bar would
  EXPECT_TRUE(LookFocusMark(test::Picture(bar).pixel(barEdge)));
  EXPECT_FALSE(LookFocusMark(test::Picture(box).pixel(boxEdge)));

  box.setFocus(Qt::TabFocusReason);
  EXPECT_FALSE(LookFocusMark(test::Picture(bar).pixel(barEdge)));
  EXPECT_TRUE(LookFocusMark(test::Picture(box).pixel(boxEdge)));
}

TEST(SkinStyleLook, OpenListIsDarkWithTheCurrentItemInTheSkinsBlueAtEveryScale) {
  std::vector<int> rowHeights;
  for (const int boxWidth : {80, 160}) {
    SCOPED_TRACE(boxWidth);
    test::RecordingHost host(QSize(400, 200), QColor(38, 40, 44));
    SkinnedComboBox box(&host);
    box.setGeometry(10, 10, boxWidth, boxWidth * 30 / 80);
    box.SetAncestorLevel(1);
    box.SetSkin(&host.background, 152);
    box.addItems({"Bypass", "Bessel-12dB", "Bessel-24dB", "Bwoth-12dB"});
    box.setCurrentIndex(2);
    host.show();
    QTest::mouseClick(&box, Qt::LeftButton);
    QAbstractItemView* list = box.view();
    ASSERT_TRUE(list->isVisible());

    const QImage popup = test::Picture(*list->window());
    const QPoint offset = list->viewport()->mapTo(list->window(), QPoint(0, 0));
    const QRect current = list->visualRect(list->model()->index(2, 0)).translated(offset);
    const QRect other = list->visualRect(list->model()->index(0, 0)).translated(offset);
    EXPECT_TRUE(LookHighlight(popup.pixel(current.right() - 3, current.center().y())));
    EXPECT_TRUE(LookDark(popup.pixel(other.right() - 3, other.center().y())));
    EXPECT_GT(test::BrightPixels(popup, other), 10) << "light text on the dark rows";
    rowHeights.push_back(current.height());
    box.hidePopup();
  }
  EXPECT_NEAR(rowHeights.at(1), 2 * rowHeights.at(0), 3) << "the rows grow with the box";
}

}  // namespace
}  // namespace rmt4::ui
