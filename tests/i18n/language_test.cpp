#include "i18n/language.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <thread>

#include "i18n/language_choice.h"
#include "language_guard.h"
#include "platform/system_locale.h"

namespace rmt4 {
namespace {

constexpr int kMissing = -1;

TEST(LanguageChoice, WithoutSettingTheLocaleDecides) {
  EXPECT_EQ(ChooseLanguage(kMissing, 0x0804), LanguageIndex::SimplifiedChinese);
  EXPECT_EQ(ChooseLanguage(kMissing, 0x0404), LanguageIndex::TraditionalChinese);
  EXPECT_EQ(ChooseLanguage(kMissing, 0x0C04), LanguageIndex::TraditionalChinese);
  EXPECT_EQ(ChooseLanguage(kMissing, 0x0409), LanguageIndex::English);
  EXPECT_EQ(ChooseLanguage(kMissing, 0x0411), LanguageIndex::English);
  // Singapore and Macao are not among the Chinese identifiers the rule names.
  EXPECT_EQ(ChooseLanguage(kMissing, 0x1004), LanguageIndex::English);
  EXPECT_EQ(ChooseLanguage(kMissing, 0x1404), LanguageIndex::English);
  EXPECT_EQ(ChooseLanguage(kMissing, 0x0000), LanguageIndex::English);
}

TEST(LanguageChoice, StoredLanguageWinsOverTheLocale) {
  EXPECT_EQ(ChooseLanguage(0, 0x0409), LanguageIndex::SimplifiedChinese);
  EXPECT_EQ(ChooseLanguage(1, 0x0804), LanguageIndex::TraditionalChinese);
  EXPECT_EQ(ChooseLanguage(2, 0x0404), LanguageIndex::English);
  EXPECT_EQ(ChooseLanguage(2, 0x0C04), LanguageIndex::English);
}

TEST(LanguageChoice, StoredValueOutsideTheLanguagesCountsAsMissing) {
  // 3..127: never written by the program; 128..255: negative as a signed byte;
  // 256 and 258: their low byte would alias a language.
  for (int stored : {3, 127, 128, 255, 256, 258, -2, -128, INT_MAX, INT_MIN}) {
    EXPECT_EQ(ChooseLanguage(stored, 0x0C04), LanguageIndex::TraditionalChinese) << stored;
    EXPECT_EQ(ChooseLanguage(stored, 0x0804), LanguageIndex::SimplifiedChinese) << stored;
    EXPECT_EQ(ChooseLanguage(stored, 0x0411), LanguageIndex::English) << stored;
  }
}

TEST(LanguageChoice, FirstStartOnHongKongSystemIsTraditional) {
  EXPECT_EQ(ChooseLanguage(kMissing, SystemLocaleId("", "", "zh_HK.UTF-8")), LanguageIndex::TraditionalChinese);
  EXPECT_EQ(ChooseLanguage(kMissing, SystemLocaleId("", "", "C")), LanguageIndex::English);
}

TEST(Language, InvalidLanguageIsRefusedAndKeepsTheCurrentOne) {
  LanguageGuard guard;
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::TraditionalChinese));
  EXPECT_FALSE(SetCurrentLanguage(static_cast<LanguageIndex>(3)));
  EXPECT_FALSE(SetCurrentLanguage(static_cast<LanguageIndex>(0xFF)));
  EXPECT_EQ(CurrentLanguage(), LanguageIndex::TraditionalChinese);
}

TEST(Language, MessageBoxesUseTheWindowSystemLanguageIds) {
  EXPECT_EQ(MessageLanguageId(LanguageIndex::SimplifiedChinese), 0x0804);
  EXPECT_EQ(MessageLanguageId(LanguageIndex::TraditionalChinese), 0x0404);
  EXPECT_EQ(MessageLanguageId(LanguageIndex::English), 0x0409);
  EXPECT_EQ(MessageLanguageId(static_cast<LanguageIndex>(7)), 0x0409);
}

// The link worker reads the language while the user switches it; run under
// ThreadSanitizer this shows the value is safely shared.
TEST(Language, ReadersOnOtherThreadsAlwaysSeeAValidLanguage) {
  LanguageGuard guard;
  int invalidReads = 0;
  std::thread reader([&invalidReads] {
    for (int i = 0; i < 20000; ++i) {
      invalidReads += IsValidLanguage(CurrentLanguage()) ? 0 : 1;
    }
  });
  int refusedWrites = 0;
  for (int i = 0; i < 20000; ++i) {
    refusedWrites += SetCurrentLanguage(static_cast<LanguageIndex>(i % 3)) ? 0 : 1;
  }
  reader.join();
  EXPECT_EQ(invalidReads, 0);
  EXPECT_EQ(refusedWrites, 0);
}

}  // namespace
}  // namespace rmt4
