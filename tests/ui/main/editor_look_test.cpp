// Pictures of the channel editor inside the main window: CH1 and ST9/10, at
// the reference size and stretched 1.5 × 1.2, in English and Simplified
// Chinese, with the input editor at the start (EQ) and at the end (SEND, COMP)
// of its content.
#include <gtest/gtest.h>

#include "connected_main_window.h"
#include "pictures.h"
#include "recording_host.h"
#include "screenshot.h"
#include "values/editor_codes.h"

namespace rmt4::ui {
namespace {

struct LookCase {
  const char* name;
  int strip;
  LanguageIndex language;
  double sx;
  double sy;
};

class EditorLook : public ::testing::TestWithParam<LookCase> {
 protected:
  /// A frame rectangle (design pixels) in the window's picture at the case's scale.
  QRect InWindow(const QRect& design) const {
    const LookCase& c = GetParam();
    const QPoint frameAt = window_->frame().geometry().topLeft();
    return QRect(frameAt.x() + static_cast<int>(design.left() * c.sx), frameAt.y() + static_cast<int>(design.top() * c.sy),
                 static_cast<int>(design.width() * c.sx), static_cast<int>(design.height() * c.sy));
  }

  std::unique_ptr<test::ConnectedMainWindow> window_;
};

TEST_P(EditorLook, FrameOnTheChannelAtBothEndsOfTheContent) {
  const LookCase& c = GetParam();
  window_ = std::make_unique<test::ConnectedMainWindow>(test::WindowSetup{.language = c.language});
  ASSERT_TRUE(window_->WaitForCompleteRead());
  const QSize reference = window_->window().referenceSize();
  window_->window().resize(static_cast<int>(reference.width() * c.sx), static_cast<int>(reference.height() * c.sy));
  window_->OpenFromStrip(c.strip);
  (void)test::PumpUntil([] { return false; }, 200);  // layout, texts and the first paints

  const QImage start = test::Picture(window_->window());
  EXPECT_FALSE(test::SaveScreenshot(window_->window(), QString("editor_%1_eq").arg(c.name)).isEmpty());
  EXPECT_GT(test::BrightPixels(start, InWindow(QRect(430, 274, 233, 34))), 20);  // the title
  EXPECT_GT(test::BrightPixels(start, InWindow(QRect(104 + 60, 350 + 10, 110, 35))), 10);  // "EQ"
  EXPECT_GT(test::BrightPixels(start, InWindow(QRect(15, 276, 58, 24))), 10);               // the input selector's name
  // Copy is offered for CH1..CH8 only; ST9/10 shows the bare background there.
  const int copyCaption = test::BrightPixels(start, InWindow(QRect(118, 316, 52, 22)));
  if (c.strip < kSt910Channel) {
    EXPECT_GT(copyCaption, 5);
  } else {
    EXPECT_EQ(copyCaption, 0);
  }

  QScrollBar& bar = window_->inputEditor().scrollBar();
  test::ClickRightArrow(bar);
  (void)test::PumpUntil([] { return false; }, 100);
  const QImage end = test::Picture(window_->window());
  EXPECT_FALSE(test::SaveScreenshot(window_->window(), QString("editor_%1_send_comp").arg(c.name)).isEmpty());
  constexpr int kShift = 1445 - 882;
  EXPECT_GT(test::BrightPixels(end, InWindow(QRect(104 + 1290 - kShift, 350 + 10, 80, 35))), 10);  // "COMP"
}

const LookCase kCases[] = {
    {"ch1_reference_en", 0, LanguageIndex::English, 1.0, 1.0},
    {"ch1_stretched_zh_cn", 0, LanguageIndex::SimplifiedChinese, 1.5, 1.2},
    {"st910_reference_zh_cn", 8, LanguageIndex::SimplifiedChinese, 1.0, 1.0},
    {"st910_stretched_en", 8, LanguageIndex::English, 1.5, 1.2},
};
INSTANTIATE_TEST_SUITE_P(Pictures, EditorLook, ::testing::ValuesIn(kCases),
                         [](const auto& each) { return std::string(each.param.name); });

}  // namespace
}  // namespace rmt4::ui
