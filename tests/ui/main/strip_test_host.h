#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

#include "i18n/language.h"
#include "protocol/param_table.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_fader.h"
#include "ui/main/strip_bank.h"
#include "ui/platform/window_message.h"
#include "user_input.h"

namespace rmt4::ui::strips {

/// A plain stand-in for the main window: hosts a strip bank at the nominal
/// size, forwards ControlEdited to it as the main window does and records
/// the ENTER notifications it keeps for itself.
class StripHost : public QWidget {
 public:
  explicit StripHost(ParamTable& params) : bank(this, params) {
    resize(1144, 712);
    bank.Layout(1.0, 1.0, width());
    show();
  }

  StripBank bank;
  std::vector<int> enteredStrips;

 protected:
  bool event(QEvent* event) override {
    const WindowMessage* message = AsWindowMessage(event);
    if (message == nullptr || message->message() != kControlEdited) return QWidget::event(event);
    const int strip = static_cast<int>(message->wParam());
    const int code = static_cast<int>(message->lParam());
    if (code == 0) {
      enteredStrips.push_back(strip);
    } else {
      bank.ControlEdited(strip, code);
    }
    return true;
  }
};

/// Button states as the strips show them.
constexpr int kReleased = 1;
constexpr int kPressed = 2;

using rmt4::test::Click;
using rmt4::test::DeliverPosted;

/// Drags the fader's cap (found at its current position) to height `y`.
inline void DragFader(SkinnedFader& fader, int y) {
  const double span = 275.0 - 18.0;
  const int capY = static_cast<int>(275.0 - fader.position() * span / fader.maxValue());
  const int x = fader.width() / 2;
  QTest::mousePress(&fader, Qt::LeftButton, {}, QPoint(x, capY));
  QTest::mouseMove(&fader, QPoint(x, y));
  QTest::mouseRelease(&fader, Qt::LeftButton, {}, QPoint(x, y));
  DeliverPosted();
}

/// Sets a console value and reports its arrival, as the link layer does.
inline void Arrive(ParamTable& params, StripBank& bank, ParamAddress address, std::uint16_t value) {
  params[address].Store(value);
  bank.ValueArrived(address);
}

[[nodiscard]] inline int DirtyCount(const ParamTable& params) {
  int count = 0;
  for (ParamAddress a = 0; a < kParamCount; ++a) count += params[a].Dirty() ? 1 : 0;
  return count;
}

inline void ClearDirty(ParamTable& params) {
  for (ParamAddress a = 0; a < kParamCount; ++a) params[a].ClearDirty();
}

/// A strip bank in English with nothing dirty; the language is restored afterwards.
class StripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::English));
    DeliverPosted();  // the strips' own first text refresh
    ClearDirty(params);
  }
  void TearDown() override { (void)SetCurrentLanguage(previousLanguage); }

  LanguageIndex previousLanguage = CurrentLanguage();
  ParamTable params;
  StripHost host{params};
};

/// Answers every message box that opens with the button whose text is
/// `answer` and counts them.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(QString answer) : answer_(std::move(answer)) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenBox(); });
    timer_.start();
  }

  [[nodiscard]] int answered() const { return answered_; }
  [[nodiscard]] const QString& lastText() const { return lastText_; }

 private:
  void AnswerOpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() != answer_) continue;
      lastText_ = box->text();
      ++answered_;
      button->click();
      return;
    }
  }

  QString answer_;
  QTimer timer_;
  int answered_ = 0;
  QString lastText_;
};

}  // namespace rmt4::ui::strips
