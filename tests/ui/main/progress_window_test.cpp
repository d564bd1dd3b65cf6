#include <QWidget>

#include <gtest/gtest.h>

#include <thread>

#include "modal_answer.h"
#include "screenshot.h"
#include "ui/main/progress_window.h"
#include "ui/platform/artwork.h"

namespace rmt4::ui {
namespace {

class ProgressWindowTest : public ::testing::Test {
 protected:
  QWidget owner;
  ProgressWindow progress{&owner};
};

TEST_F(ProgressWindowTest, TextAndBarFollowThePosition) {
  progress.SetProgressMaximum(1574);
  progress.SetProgressFormat("Read Device Data:%5.0f %%");
  progress.SetProgressPosition(787);
  EXPECT_EQ(progress.progressText(), "Read Device Data:   50 %");
  EXPECT_EQ(progress.barWidth(), 271);  // 787 × 489 / 1574 + 27 = 271.5

  // The composite holds the full bar's pixels left of 271 and the empty one's right of it.
  const QImage full = LoadArtwork(131);
  const QImage empty = LoadArtwork(130);
  const QImage shown = progress.composite();
  EXPECT_EQ(shown.pixel(270, 63), full.pixel(270, 63));
  EXPECT_EQ(shown.pixel(300, 63), empty.pixel(300, 63));
  EXPECT_NE(full.pixel(300, 63), empty.pixel(300, 63)) << "the artwork must show the bar";

  progress.SetProgressPosition(0);
  EXPECT_EQ(progress.barWidth(), 27);
  progress.SetProgressPosition(1574);
  EXPECT_EQ(progress.barWidth(), 516);
  EXPECT_EQ(progress.progressText(), "Read Device Data:  100 %");
}

TEST_F(ProgressWindowTest, FormatWithoutPlaceholderStaysTheSame) {
  progress.SetProgressMaximum(100);
  progress.SetProgressFormat("Call...");
  progress.SetProgressPosition(10);
  EXPECT_EQ(progress.progressText(), "Call...");
  progress.SetProgressPosition(90);
  EXPECT_EQ(progress.progressText(), "Call...");
}

TEST_F(ProgressWindowTest, AZeroMaximumShowsAnEmptyBarInsteadOfDividingByZero) {
  progress.SetProgressMaximum(0);
  progress.SetProgressFormat("Update Display Data:%5.0f %%");
  progress.SetProgressPosition(5);
  EXPECT_EQ(progress.barWidth(), 27);
}

TEST_F(ProgressWindowTest, TheLinkThreadDrivesItAndTheWindowFollows) {
  owner.setGeometry(100, 100, 1144, 712);
  std::thread worker([this] {
    progress.SetProgressMaximum(1574);
    progress.SetProgressFormat("Read Device Data:%5.0f %%");
    progress.ShowProgress();
    for (int position = 0; position <= 1574; position += 97) progress.SetProgressPosition(position);
  });
  worker.join();
  ASSERT_TRUE(test::PumpUntil([&] { return progress.isVisible(); }));
  EXPECT_EQ(progress.size(), QSize(541, 161));
  // Centred over the owner (integer division of the summed edges).
  const QRect frame = owner.frameGeometry();
  EXPECT_EQ(progress.pos(), QPoint((2 * frame.left() + frame.width() - 541) / 2, (2 * frame.top() + frame.height() - 161) / 2));
  EXPECT_FALSE(test::SaveScreenshot(progress, "progress_window").isEmpty());

  std::thread([this] { progress.HideProgress(); }).join();
  ASSERT_TRUE(test::PumpUntil([&] { return !progress.isVisible(); }));
}

TEST_F(ProgressWindowTest, ClosingClearsTheTextAndHides) {
  progress.SetProgressFormat("Update Scene Data:%5.0f %%");
  progress.ShowProgress();
  progress.SetProgressPosition(40);
  progress.close();
  EXPECT_FALSE(progress.isVisible());
  EXPECT_EQ(progress.progressText(), "");
  EXPECT_EQ(progress.barWidth(), 27);
}

}  // namespace
}  // namespace rmt4::ui
