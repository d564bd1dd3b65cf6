#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "modal_answer.h"
#include "ui/platform/single_instance.h"

namespace rmt4::ui {
namespace {

TEST(SingleInstance, ASecondStartFindsTheFirstAndBringsItForward) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  SingleInstance first(folder.path().toStdString());
  ASSERT_EQ(first.TryClaim(), SingleInstance::Claim::First);
  int activations = 0;
  ASSERT_TRUE(first.ListenForActivation([&] { ++activations; }));

  SingleInstance second(folder.path().toStdString());
  EXPECT_EQ(second.TryClaim(), SingleInstance::Claim::AlreadyRunning);
  EXPECT_TRUE(second.AskRunningToActivate());
  EXPECT_TRUE(test::PumpUntil([&] { return activations == 1; }));

  // Another name is another program.
  SingleInstance other(folder.path().toStdString(), QStringLiteral("RMT-4-other"));
  EXPECT_EQ(other.TryClaim(), SingleInstance::Claim::First);
}

TEST(SingleInstance, AStaleSocketFromACrashedCopyDoesNotBlockTheNextStart) {
  QTemporaryDir folder;
  {
    SingleInstance crashed(folder.path().toStdString());
    ASSERT_EQ(crashed.TryClaim(), SingleInstance::Claim::First);
  }
  QFile stale(folder.filePath("RMT-4.socket"));
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));  // as a killed copy leaves it
  stale.close();
  SingleInstance next(folder.path().toStdString());
  ASSERT_EQ(next.TryClaim(), SingleInstance::Claim::First);
  EXPECT_TRUE(next.ListenForActivation([] {}));
}

TEST(SingleInstance, AFolderThatCannotHoldTheLockIsReported) {
  SingleInstance nowhere("/nonexistent/rmt4-lock-folder");
  EXPECT_EQ(nowhere.TryClaim(), SingleInstance::Claim::Failed);
  EXPECT_FALSE(nowhere.problem().isEmpty());
}

}  // namespace
}  // namespace rmt4::ui
