#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScrollBar>
#include <QTest>

#include "pictures.h"
#include "recording_host.h"
#include "screenshot.h"
#include "i18n/language_guard.h"
#include "ui/editors/input_editor.h"

namespace rmt4::ui {
namespace {

// A channel as the frame loads it: some EQ, a filter, sends, a compressor.
void LoadExampleChannel(InputEditor& editor, int channel) {
  editor.SetChannel(channel);
  const std::pair<int, int> values[] = {
      {0, 0x8000 + 800}, {32, 560},    {1, 400},   {33, 470},    {2, 2500}, {34, 530},          {3, 8000},   {35, 440},
      {16, 70},          {17, 140},    {18, 100},  {19, 200},    {70, 300}, {71, 100},          {72, 800},   {73, 40},
      {58, 120},         {59, 48},     {60, 80},   {50, 20},     {53, 21},  {49, 0x8000 + 800}, {52, 12000}, {62, 1200},
      {63, 0},           {64, 0x84B0}, {65, 1100}, {66, 0x8000}, {48, 1},
  };
  for (const auto& [code, raw] : values) editor.ApplyValue(code, raw);
  editor.ResetView();
  QCoreApplication::sendPostedEvents();
}

bool Dark(QRgb pixel) { return qRed(pixel) < 60 && qGreen(pixel) < 60 && qBlue(pixel) < 70; }

TEST(InputEditorLook, ChannelOneFromStartToEnd) {
  LanguageGuard guard;
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::English));
  test::RecordingHost host(InputEditor::kViewSize, Qt::black);
  auto* editor = new InputEditor(&host);
  LoadExampleChannel(*editor, 0);
  host.show();

  const QImage start = test::Picture(*editor);
  EXPECT_FALSE(test::SaveScreenshot(*editor, "input_editor_ch1_start").isEmpty());
  EXPECT_TRUE(Dark(start.pixel(20, 30)));                           // the title strip
  EXPECT_GT(test::BrightPixels(start, QRect(95, 15, 45, 30)), 10);        // "EQ"
  EXPECT_GT(test::BrightPixels(start, QRect(10, 184, 100, 20)), 10);      // "HPF: 80.0Hz"
  EXPECT_EQ(start.pixel(315 + 35, 16 + 185), qRgb(255, 255, 255));  // band 1's gain field
  EXPECT_FALSE(Dark(start.pixel(250 + 30, 16 + 15)));               // the EQ switch, lit (OFF)

  QScrollBar& bar = editor->scrollBar();
  test::ClickRightArrow(bar);
  const QImage end = test::Picture(*editor);
  EXPECT_FALSE(test::SaveScreenshot(*editor, "input_editor_ch1_end").isEmpty());
  const int shift = 1445 - 882;
  EXPECT_EQ(end.pixel(881, 150), qRgb(0, 0, 0));                      // the last panel's closing rim
  EXPECT_GT(test::BrightPixels(end, QRect(1300 - shift, 15, 60, 30)), 10);  // "COMP"
  EXPECT_GT(test::BrightPixels(end, QRect(1224 - shift, 50, 60, 30)), 5);   // the compressor switch caption
}

TEST(InputEditorLook, StereoChannelInTraditionalChinese) {
  LanguageGuard guard;
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::TraditionalChinese));
  test::RecordingHost host(InputEditor::kViewSize, Qt::black);
  auto* editor = new InputEditor(&host);
  LoadExampleChannel(*editor, 8);
  host.show();

  const QImage picture = test::Picture(*editor);
  EXPECT_FALSE(test::SaveScreenshot(*editor, "input_editor_st910_zh_tw").isEmpty());
  // Delay and gain are absent: their rows show the bare panel, the gate's row a slider band.
  const QRgb panel = picture.pixel(240, 72);
  EXPECT_EQ(picture.pixel(100, 72), panel);
  EXPECT_EQ(picture.pixel(100, 118), picture.pixel(240, 118));
  EXPECT_NE(picture.pixel(100, 164), picture.pixel(240, 164));
  EXPECT_GT(test::BrightPixels(picture, QRect(70, 10, 100, 35)), 10);  // "均衡器"
}

}  // namespace
}  // namespace rmt4::ui
