#include "ui/platform/message_box.h"

#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include "i18n/language.h"
#include "modal_answer.h"
#include "screenshot.h"

namespace rmt4::ui {
namespace {

// The style words the program raises boxes with carry no icon bits; the icon
// bits of the window system's style words choose the icon and leave the buttons alone.
TEST(MessageBoxStyle, IconAndButtonsFollowTheStyleWord) {
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::English));
  const struct {
    std::uint32_t word;
    QMessageBox::Icon icon;
    QStringList buttons;
    MessageButton onEscape;
  } cases[] = {
      {0x00, QMessageBox::NoIcon, {"OK"}, MessageButton::Ok},
      {0x01, QMessageBox::NoIcon, {"OK", "Cancel"}, MessageButton::Cancel},
      {0x04, QMessageBox::NoIcon, {"&Yes", "&No"}, MessageButton::No},
      {0x10, QMessageBox::Critical, {"OK"}, MessageButton::Ok},
      {0x24, QMessageBox::Question, {"&Yes", "&No"}, MessageButton::No},
      {0x31, QMessageBox::Warning, {"OK", "Cancel"}, MessageButton::Cancel},
      {0x40, QMessageBox::Information, {"OK"}, MessageButton::Ok},
  };
  for (const auto& c : cases) {
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    QStringList shownButtons;
    test::AnswerNextMessageBox([&](QMessageBox& box) {
      shownIcon = box.icon();
      for (const QAbstractButton* button : box.buttons()) shownButtons << button->text();
      (void)test::SaveScreenshot(box, QStringLiteral("message_box_%1").arg(c.word, 2, 16, QLatin1Char('0')));
      QTest::keyClick(&box, Qt::Key_Escape);
    });
    const MessageButton answer = ShowMessageBox(nullptr, static_cast<MessageStyle>(c.word), QStringLiteral("text"));
    EXPECT_EQ(shownIcon, c.icon) << "style word " << c.word;
    EXPECT_EQ(shownButtons, c.buttons) << "style word " << c.word;
    EXPECT_EQ(answer, c.onEscape) << "style word " << c.word;
  }
}

}  // namespace
}  // namespace rmt4::ui
