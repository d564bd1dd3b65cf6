#include "values/output_editor_conversions.h"

#include <gtest/gtest.h>

#include "i18n/language_guard.h"

namespace rmt4 {
namespace {

TEST(OutputEditorConversions, FeedbackSuppressorWordsAndTexts) {
  LanguageGuard guard;
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::English));
  const struct {
    int raw;
    double position;
    const char* text;
  } cases[] = {{0, 0, "FEBK:OFF"}, {3, 3, "FEBK:FB3"}, {5, 5, "FEBK:FB5"}, {9, 5, "FEBK:FB5"}, {-2, 0, "FEBK:OFF"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.raw);
    EXPECT_EQ(FeedbackSuppressorPosition(c.raw), c.position);
    EXPECT_EQ(FeedbackSuppressorRaw(c.position), static_cast<int>(c.position));
    EXPECT_EQ(FeedbackSuppressorText(c.position), c.text);
  }
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::TraditionalChinese));
  EXPECT_EQ(FeedbackSuppressorText(2), "移頻:FB2");
}

}  // namespace
}  // namespace rmt4
