#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetricsF>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

#include "recording_host.h"
#include "screenshot.h"
#include "ui/controls/skinned_combo_box.h"

namespace rmt4::ui {
namespace {

const QColor kUnfocusedBlue(0, 47, 83);
const QColor kFocusedBlue(0, 56, 100);
const QColor kArrowGrey(150, 150, 150);

using test::Picture;

/// A filter-type box as the editors create it, in a dark editor-like host.
struct FilterTypeBox {
  explicit FilterTypeBox(QRect geometry = QRect(10, 10, 80, 30), int style = 0, int skin = 152)
      : host(QSize(300, 120), QColor(38, 40, 44)), box(&host) {
    box.setGeometry(geometry);
    box.SetComboIndex(3);
    box.SetAncestorLevel(1);
    box.SetTextColour(QColor(250, 250, 250));
    box.SetFontFace(QStringLiteral("微软雅黑"));
    box.SetSkin(&host.background, skin);
    box.SetComboStyle(style);
    box.SetFontHeight(20);
    box.addItems({"Bypass", "Bessel-12dB", "Bessel-24dB", "Bwoth-12dB", "Bwoth-24dB", "Lnkwtz-12dB", "Lnkwtz-24dB"});
  }
  test::RecordingHost host;
  SkinnedComboBox box;
};

TEST(SkinnedComboBoxSelection, SetSelectionChangesOnlyTheShownItem) {
  FilterTypeBox f;
  f.box.setCurrentIndex(1);  // the user's last pick
  f.box.SetSelection(4);
  EXPECT_EQ(f.box.shownIndex(), 4);
  EXPECT_EQ(f.box.currentIndex(), 1);
  EXPECT_TRUE(f.host.Messages().empty()) << "the host's own change is not reported back";

  const QImage shownFour = Picture(f.box);
  f.box.SetSelection(1);
  EXPECT_NE(Picture(f.box), shownFour) << "the field shows the item SetSelection names";

  f.box.SetSelection(99);
  const QImage outOfRange = Picture(f.box);
  EXPECT_EQ(f.box.shownIndex(), 0);
  f.box.SetSelection(0);
  EXPECT_EQ(Picture(f.box), outOfRange);

  // The host renaming the shown item (a language change) shows the new text.
  f.box.setItemText(0, QStringLiteral("直通"));
  EXPECT_NE(Picture(f.box), outOfRange);
}

TEST(SkinnedComboBoxSelection, UserPickInTheListShowsItAndNotifiesOnce) {
  FilterTypeBox f;
  f.host.show();
  f.box.setCurrentIndex(1);
  f.box.SetSelection(4);
  QTest::mouseClick(&f.box, Qt::LeftButton);
  QAbstractItemView* list = f.box.view();
  ASSERT_TRUE(list->isVisible());
  EXPECT_EQ(list->currentIndex().row(), 1) << "the list highlights the user's last pick, not the shown item";

  // Picking the highlighted item again still counts as a pick. (The list
  // takes no release that comes within a double-click time of its opening.)
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  const QRect item = list->visualRect(list->model()->index(1, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
  EXPECT_FALSE(list->isVisible());
  EXPECT_EQ(f.box.shownIndex(), 1);
  const auto received = f.host.Messages();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].number, kComboChanged);
  EXPECT_EQ(received[0].wParam, 3);
  EXPECT_EQ(received[0].lParam, 3);
}

TEST(SkinnedComboBoxSelection, KeyboardPickUsesTheHostsControlId) {
  FilterTypeBox f;
  f.box.SetControlId(kLabelOrSelector);
  f.host.show();
  f.box.SetSelection(5);
  QTest::keyClick(&f.box, Qt::Key_Down);
  EXPECT_EQ(f.box.currentIndex(), 1);
  EXPECT_EQ(f.box.shownIndex(), 1) << "the list's selection replaces the shown item";
  const auto received = f.host.Messages();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].number, kLabelOrSelector);
  EXPECT_EQ(received[0].wParam, 3);
}

TEST(SkinnedComboBoxInput, DisabledBoxDoesNotOpen) {
  FilterTypeBox f;
  f.host.show();
  f.box.setEnabled(false);
  QTest::mouseClick(&f.box, Qt::LeftButton);
  QTest::mouseDClick(&f.box, Qt::LeftButton);
  EXPECT_FALSE(f.box.view()->isVisible());
  EXPECT_TRUE(f.host.Messages().empty());

  f.box.setEnabled(true);
  QTest::mouseClick(&f.box, Qt::LeftButton);
  EXPECT_TRUE(f.box.view()->isVisible());
  f.box.hidePopup();
}

TEST(SkinnedComboBoxLayout, ScaleGrowsTextRectangleFontsAndSkin) {
  FilterTypeBox plain;
  FilterTypeBox scaled(QRect(10, 10, 120, 60));
  EXPECT_DOUBLE_EQ(plain.box.scale(), 1.0);
  EXPECT_DOUBLE_EQ(scaled.box.scale(), 1.5);
  EXPECT_EQ(plain.box.textRect(), QRect(4, 0, 58, 29));
  EXPECT_EQ(scaled.box.textRect(), QRect(6, 0, 87, 43));  // 4,0,62,29 × 1.5, truncated
  scaled.box.SetComboStyle(9);  // no such row: the first one stands in
  EXPECT_EQ(scaled.box.textRect(), QRect(6, 0, 87, 43));
  // Font cells: the host's 20 for the shown text, frame height − 8 for the list.
  EXPECT_NEAR(QFontMetricsF(plain.box.displayFont()).height(), 20, 1.0);
  EXPECT_NEAR(QFontMetricsF(scaled.box.displayFont()).height(), 30, 1.0);
  EXPECT_NEAR(QFontMetricsF(plain.box.itemFont()).height(), 22, 1.0);
  EXPECT_NEAR(QFontMetricsF(scaled.box.itemFont()).height(), 33, 1.0);

  // The skin covers 120×45 from the top-left corner; the rest of the box shows the host.
  const QImage picture = Picture(scaled.box);
  EXPECT_EQ(picture.pixelColor(100, 38), kUnfocusedBlue);
  EXPECT_EQ(picture.pixelColor(106, 21), kArrowGrey) << "the arrow sits at 71,15 × 1.5";
  EXPECT_EQ(picture.pixelColor(60, 52), QColor(38, 40, 44));
}

TEST(SkinnedComboBoxLayout, FocusPicksTheSkinFrame) {
  FilterTypeBox f;
  f.host.show();
  f.host.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f.host));
  f.box.setFocus();
  EXPECT_EQ(Picture(f.box).pixelColor(75, 25), kFocusedBlue);
  EXPECT_FALSE(test::SaveScreenshot(f.box, "skinned_combo_box_focused").isEmpty());
  f.box.clearFocus();
  EXPECT_EQ(Picture(f.box).pixelColor(75, 25), kUnfocusedBlue);
  EXPECT_FALSE(test::SaveScreenshot(f.box, "skinned_combo_box_unfocused").isEmpty());
}

/// Near-white pixels (the item text) in `area`.
int TextInk(const QImage& picture, const QRect& area) {
  int ink = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      ink += c.red() > 200 && c.green() > 200 && c.blue() > 200 ? 1 : 0;
    }
  }
  return ink;
}

TEST(SkinnedComboBoxScreenshot, EditorBoxesAtTheirSizes) {
  FilterTypeBox filterType(QRect(10, 10, 110, 24), 1, 160);
  filterType.box.SetFontHeight(18);
  filterType.box.SetSelection(2);
  FilterTypeBox wide(QRect(10, 10, 130, 30), 2, 166);
  wide.box.SetFontHeight(22);
  wide.box.SetSelection(6);
  for (FilterTypeBox* f : {&filterType, &wide}) {
    const QImage picture = Picture(f->box);
    const QRect text = f->box.textRect();
    // The shown item is written from the left of the text rectangle, on the skin's blue.
    EXPECT_GT(TextInk(picture, QRect(text.left(), 0, text.width() / 3, picture.height())), 20);
    EXPECT_LT(picture.pixelColor(text.left() + 1, 2).red(), 40) << "blue skin, not the host";
    EXPECT_GT(picture.pixelColor(text.left() + 1, 2).blue(), 60) << "blue skin, not the host";
  }
  (void)test::SaveScreenshot(filterType.box, "skinned_combo_box_filter_type");
  (void)test::SaveScreenshot(wide.box, "skinned_combo_box_wide");
}

}  // namespace
}  // namespace rmt4::ui
