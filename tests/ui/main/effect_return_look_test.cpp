// Pictures of the Fx1 editor inside the main window, scrolled to its
// effect-program panel, in English and Traditional Chinese.
#include <gtest/gtest.h>

#include "connected_main_window.h"
#include "pictures.h"
#include "recording_host.h"
#include "screenshot.h"
#include "ui/controls/skinned_label.h"

namespace rmt4::ui {
namespace {

constexpr int kFx1ReturnStrip = 10;
// The panel's place in the frame, and how far its content scrolls to show its end.
constexpr QPoint kPanelAt(104, 350);
constexpr int kScrolledBy = 1445 - 882;

struct ReturnLookCase {
  const char* name;
  LanguageIndex language;
  const char* title;
};

class EffectReturnLook : public ::testing::TestWithParam<ReturnLookCase> {};

TEST_P(EffectReturnLook, ProgramPanelOfFx1) {
  const ReturnLookCase& c = GetParam();
  test::ConnectedMainWindow window({.language = c.language});
  ASSERT_TRUE(window.WaitForCompleteRead());
  window.OpenFromStrip(kFx1ReturnStrip);
  auto& editor = dynamic_cast<InputEditor&>(*window.frame().panel(PanelKind::EffectReturn));
  (void)test::PumpUntil([] { return false; }, 200);  // layout, texts and the first paints
  const QPoint panelAt = window.frame().geometry().topLeft() + kPanelAt;
  // The returns have no noise gate: its place stays bare.
  const QImage start = test::Picture(window.window());
  EXPECT_EQ(test::BrightPixels(start, QRect(10, 142, 214, 32).translated(panelAt), 130), 0);
  QScrollBar& bar = editor.scrollBar();
  test::ClickRightArrow(bar);
  (void)test::PumpUntil([] { return false; }, 100);

  EXPECT_EQ(editor.label(8).text(), QString::fromUtf8(c.title));
  EXPECT_EQ(editor.label(9).text(), "REVERB HALL");
  const QImage picture = test::Picture(window.window());
  EXPECT_FALSE(test::SaveScreenshot(window.window(), QString("effect_return_fx1_%1").arg(c.name)).isEmpty());
  const QPoint origin = panelAt - QPoint(kScrolledBy, 0);
  const auto inContent = [&](const QRect& area) { return area.translated(origin); };
  EXPECT_GT(test::BrightPixels(picture, inContent(QRect(1213, 4, 231, 45))), 20);   // the "EFX Mode" title
  EXPECT_GT(test::BrightPixels(picture, inContent(QRect(1213, 115, 231, 23))), 20);  // the program name
  EXPECT_GT(test::BrightPixels(picture, inContent(QRect(1236, 72, 120, 24))), 10);   // the selected program
  // Parameter 1's caption, in the sliders' dimmer text colour.
  EXPECT_GT(test::BrightPixels(picture, inContent(QRect(1223, 159, 214, 16)), 130), 10);
}

const ReturnLookCase kReturnCases[] = {
    {"en", LanguageIndex::English, "EFX Mode"},
    {"zh_tw", LanguageIndex::TraditionalChinese, "效果模式"},
};
INSTANTIATE_TEST_SUITE_P(Pictures, EffectReturnLook, ::testing::ValuesIn(kReturnCases),
                         [](const auto& each) { return std::string(each.param.name); });

}  // namespace
}  // namespace rmt4::ui
