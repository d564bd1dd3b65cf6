#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "modal_answer.h"
#include "ui/controls/host_background.h"
#include "ui/controls/offscreen_buffer.h"
#include "ui/platform/artwork.h"
#include "ui/platform/cross_thread_caller.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {
namespace {

TEST(Artwork, NumberedImagesHaveTheirSizes) {
  const struct {
    int id, width, height;
  } expected[] = {{128, 64, 64}, {130, 541, 161}, {131, 541, 161}, {133, 1144, 710},
                  {143, 20, 10}, {144, 20, 10},   {145, 20, 10},   {164, 160, 19}};
  for (const auto& image : expected) {
    const QImage loaded = LoadArtwork(image.id);
    ASSERT_FALSE(loaded.isNull()) << image.id;
    EXPECT_EQ(loaded.size(), QSize(image.width, image.height)) << image.id;
  }
  EXPECT_TRUE(LoadArtwork(9999).isNull());
}

TEST(OffscreenBuffer, RecreateAndStretch) {
  OffscreenBuffer buffer;
  EXPECT_FALSE(buffer.bufferValid());
  buffer.Recreate(0, 0, 0, 50);  // empty: unchanged
  EXPECT_FALSE(buffer.bufferValid());

  buffer.Recreate(0, 0, 100, 50);
  ASSERT_TRUE(buffer.bufferValid());
  EXPECT_EQ(buffer.image().size(), QSize(100, 50));
  EXPECT_EQ(buffer.image().pixelColor(50, 25), QColor(240, 240, 240));
  EXPECT_EQ(buffer.image().pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(buffer.image().pixelColor(99, 49), QColor(Qt::black));

  QImage red(10, 10, QImage::Format_ARGB32_Premultiplied);
  red.fill(Qt::red);
  OffscreenBuffer grown;
  grown.StretchFrom(red, 0, 0, 500, 300, 0, 0, 10, 10);
  ASSERT_EQ(grown.image().size(), QSize(500, 300));
  EXPECT_EQ(grown.image().pixelColor(250, 150), QColor(Qt::red));
  EXPECT_EQ(grown.image().pixelColor(499, 299), QColor(Qt::red));
}

TEST(HostBackground, ControlsCopyThePixelsUnderThem) {
  OffscreenBuffer background;
  background.Recreate(0, 0, 200, 100);
  QPainter(&background.image()).fillRect(QRect(40, 20, 10, 10), Qt::blue);

  QWidget host;
  host.resize(200, 100);
  QWidget panel(&host);
  panel.setGeometry(30, 10, 100, 80);
  QWidget control(&panel);
  control.setGeometry(10, 10, 10, 10);

  // In the top-level window's coordinates the control sits at (40, 20).
  EXPECT_EQ(CopyHostBackground(control, &background, 2).pixelColor(5, 5), QColor(Qt::blue));
  // In its parent's coordinates at (10, 10): grey there.
  EXPECT_EQ(CopyHostBackground(control, &background, 1).pixelColor(5, 5), QColor(240, 240, 240));
  EXPECT_EQ(CopyHostBackground(control, nullptr, 1).pixelColor(0, 0), QColor(240, 240, 240));
}

class MessageRecorder : public QObject {
 public:
  bool event(QEvent* event) override {
    if (const WindowMessage* message = AsWindowMessage(event)) {
      received.push_back({message->message(), message->wParam(), message->lParam()});
      return true;
    }
    return QObject::event(event);
  }
  struct Entry {
    int message;
    std::intptr_t w, l;
  };
  std::vector<Entry> received;
};

TEST(WindowMessages, PostAndSendCarryTheirParameters) {
  MessageRecorder window;
  EXPECT_TRUE(SendWindowMessage(&window, kControlEdited, 2, 7));
  PostWindowMessage(&window, kUiNotify, 0, 136);
  ASSERT_EQ(window.received.size(), 1u);
  QCoreApplication::sendPostedEvents(&window);
  ASSERT_EQ(window.received.size(), 2u);
  EXPECT_EQ(window.received[0].message, 22524);
  EXPECT_EQ(window.received[0].l, 7);
  EXPECT_EQ(window.received[1].message, 1025);
  EXPECT_EQ(window.received[1].l, 136);
}

TEST(CrossThreadCaller, BlocksTheCallerUntilTheWindowThreadRanTheWork) {
  MessageRecorder window;
  CrossThreadCaller caller;
  std::atomic<bool> returned{false};
  bool ran = false;
  std::thread link([&] {
    EXPECT_TRUE(caller.Call(&window, [&] { ran = true; }));
    returned.store(true);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned.load()) << "the call must wait for the window thread";
  EXPECT_TRUE(test::PumpUntil([&] { return returned.load(); })) << "the window thread never ran the call";
  caller.Cancel();  // a failed wait must not leave the link thread blocked
  link.join();
  EXPECT_TRUE(ran);
}

TEST(CrossThreadCaller, CancelReleasesWaitersAndRefusesLaterCalls) {
  MessageRecorder window;
  CrossThreadCaller caller;
  std::atomic<int> result{-1};
  std::thread link([&] { result.store(caller.Call(&window, [] {}) ? 1 : 0); });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  caller.Cancel();  // the window thread never serves the call
  link.join();
  EXPECT_EQ(result.load(), 0);
  bool ran = false;
  EXPECT_FALSE(caller.Call(&window, [&] { ran = true; }));
  QCoreApplication::processEvents();
  EXPECT_FALSE(ran) << "work queued before the cancel must not run after it";
}

}  // namespace
}  // namespace rmt4::ui
