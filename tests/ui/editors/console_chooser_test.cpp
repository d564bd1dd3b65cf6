#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "ui/editors/console_chooser.h"

namespace rmt4::ui {
namespace {

const std::vector<std::uint32_t> kThree = {0xC0A80114, 0xC0A80115, 0xC0A80116};  // 192.168.1.20..22

QPoint RowCentre(ConsoleChooser& chooser, int row) {
  return chooser.list().visualItemRect(chooser.list().item(row, 0)).center();
}

TEST(ConsoleChooser, ListsTheConsolesInTheOrderFound) {
  ConsoleChooser chooser(kThree, nullptr);
  ASSERT_EQ(chooser.list().rowCount(), 3);
  EXPECT_EQ(chooser.list().horizontalHeaderItem(0)->text(), "Client IP");
  EXPECT_EQ(chooser.list().item(0, 0)->text(), "192.168.1.20");
  EXPECT_EQ(chooser.list().item(2, 0)->text(), "192.168.1.22");
}

TEST(ConsoleChooser, DoubleClickWithEitherButtonChoosesThatRow) {
  for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
    ConsoleChooser chooser(kThree, nullptr);
    chooser.show();
    QTest::mouseDClick(chooser.list().viewport(), button, {}, RowCentre(chooser, 0));
    // The hand lets go too; the test harness would otherwise hold the button down for later tests.
    QTest::mouseRelease(chooser.list().viewport(), button, {}, RowCentre(chooser, 0));
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.chosenAddress(), 0xC0A80114u);
  }
}

TEST(ConsoleChooser, EscapeOrADoubleClickOutsideTheRowsKeepsTheLastListed) {
  ConsoleChooser chooser(kThree, nullptr);
  chooser.show();
  const QPoint below(10, chooser.list().viewport()->height() - 3);
  ASSERT_EQ(chooser.list().rowAt(below.y()), -1);
  QTest::mouseDClick(chooser.list().viewport(), Qt::LeftButton, {}, below);
  QTest::mouseRelease(chooser.list().viewport(), Qt::LeftButton, {}, below);
  EXPECT_TRUE(chooser.isVisible()) << "a double-click outside any row does nothing";
  QTest::keyClick(&chooser, Qt::Key_Escape);
  EXPECT_FALSE(chooser.isVisible());
  EXPECT_EQ(chooser.chosenAddress(), 0xC0A80116u);
}

TEST(ConsoleChooser, EnterEscapeAndTheCloseBoxEndItWithTheLastListed) {
  const std::function<void(ConsoleChooser&)> endings[] = {
      [](ConsoleChooser& c) { QTest::keyClick(&c.list(), Qt::Key_Return); },
      [](ConsoleChooser& c) { QTest::keyClick(&c.list(), Qt::Key_Enter, Qt::KeypadModifier); },
      [](ConsoleChooser& c) { QTest::keyClick(&c.list(), Qt::Key_Escape); },
      [](ConsoleChooser& c) { c.close(); },
  };
  for (const auto& end : endings) {
    ConsoleChooser chooser(kThree, nullptr);
    chooser.show();
    chooser.list().setFocus();
    chooser.list().selectRow(0);  // a highlighted row is not a choice
    end(chooser);
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(chooser.result(), QDialog::Rejected);
    EXPECT_EQ(chooser.chosenAddress(), 0xC0A80116u);
  }
}

}  // namespace
}  // namespace rmt4::ui
