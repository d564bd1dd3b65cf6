#include "i18n/label_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "language_guard.h"

namespace rmt4 {
namespace {

constexpr std::array<LabelId, 3> kStatusLabels{LabelId::Successful, LabelId::Searching, LabelId::Suspended};

TEST(LabelText, FollowsTheCurrentLanguage) {
  LanguageGuard guard;
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::SimplifiedChinese));
  EXPECT_EQ(LabelText(LabelId::SystemSet), "系统设置");
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::TraditionalChinese));
  EXPECT_EQ(LabelText(LabelId::SystemSet), "系統設置");
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::English));
  EXPECT_EQ(LabelText(LabelId::SystemSet), "System Set");
}

TEST(LabelText, IdOrLanguageOutsideTheTableGivesNoText) {
  const LabelId pastTheEnd = static_cast<LabelId>(kLabelCount);
  const LabelId farOut = static_cast<LabelId>(0xFFFF);
  EXPECT_TRUE(LabelText(pastTheEnd, LanguageIndex::English).empty());
  EXPECT_TRUE(LabelText(farOut, LanguageIndex::SimplifiedChinese).empty());
  EXPECT_TRUE(LabelText(farOut).empty());
  EXPECT_TRUE(LabelText(LabelId::Mute, static_cast<LanguageIndex>(3)).empty());
  EXPECT_TRUE(LabelText(LabelId::Mute, static_cast<LanguageIndex>(0xFF)).empty());
  EXPECT_EQ(LabelText(LabelId::System, LanguageIndex::English), "System");  // the last row is inside
}

TEST(LabelText, StatusCaptionIsRecognisedInAnyLanguageAndRelabelled) {
  const auto shown = MatchLabelText("连接成功", kStatusLabels);
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(LabelText(*shown, LanguageIndex::English), "Successful");

  EXPECT_EQ(MatchLabelText("Search..", kStatusLabels), LabelId::Searching);
  EXPECT_EQ(MatchLabelText("暫停連接", kStatusLabels), LabelId::Suspended);
}

TEST(LabelText, MatchOnlyConsidersTheCandidates) {
  EXPECT_EQ(MatchLabelText("COM3", kStatusLabels), std::nullopt);
  EXPECT_EQ(MatchLabelText("", kStatusLabels), std::nullopt);
  EXPECT_EQ(MatchLabelText("系统设置", kStatusLabels), std::nullopt);

  // "主" is a text of MainShort only, so MainBus must not claim it.
  const std::array<LabelId, 1> mainBus{LabelId::MainBus};
  EXPECT_EQ(MatchLabelText("主", mainBus), std::nullopt);

  // An id outside the table has no text, not even an empty one.
  const std::array<LabelId, 1> invalid{static_cast<LabelId>(kLabelCount)};
  EXPECT_EQ(MatchLabelText("", invalid), std::nullopt);
}

}  // namespace
}  // namespace rmt4
