#include "platform/system_locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace rmt4 {
namespace {

std::uint16_t FromLang(std::string_view lang) { return SystemLocaleId("", "", lang); }

TEST(SystemLocale, ChineseLocalesMapToTheirIdentifiers) {
  EXPECT_EQ(FromLang("zh_CN.UTF-8"), 0x0804);
  EXPECT_EQ(FromLang("zh_CN.GB18030"), 0x0804);
  EXPECT_EQ(FromLang("zh_TW"), 0x0404);
  EXPECT_EQ(FromLang("zh_TW.Big5"), 0x0404);
  EXPECT_EQ(FromLang("zh_HK.UTF-8"), 0x0C04);
  EXPECT_EQ(FromLang("zh_SG.UTF-8"), 0x1004);
  EXPECT_EQ(FromLang("zh_MO"), 0x1404);
  EXPECT_EQ(FromLang("zh_TW.UTF-8@radical"), 0x0404);
}

TEST(SystemLocale, OtherLanguagesMapToTheirIdentifiers) {
  EXPECT_EQ(FromLang("en_US.UTF-8"), 0x0409);
  EXPECT_EQ(FromLang("en_GB.UTF-8"), 0x0809);
  EXPECT_EQ(FromLang("ja_JP.UTF-8"), 0x0411);
  // A territory that is not listed takes the language's main identifier.
  EXPECT_EQ(FromLang("zh"), 0x0804);
  EXPECT_EQ(FromLang("en_NZ.UTF-8"), 0x0409);
  EXPECT_EQ(FromLang("de_AT@euro"), 0x0407);
}

TEST(SystemLocale, NoOrUnknownLocaleCountsAsUnitedStatesEnglish) {
  EXPECT_EQ(FromLang(""), 0x0409);
  EXPECT_EQ(FromLang("C"), 0x0409);
  EXPECT_EQ(FromLang("C.UTF-8"), 0x0409);
  EXPECT_EQ(FromLang("POSIX"), 0x0409);
  EXPECT_EQ(FromLang("xx_YY.UTF-8"), 0x0409);
  EXPECT_EQ(FromLang("_CN"), 0x0409);  // a territory alone names no language
  EXPECT_EQ(SystemLocaleId("", "", ""), 0x0409);
}

TEST(SystemLocale, FirstNonEmptyOfLcAllLcMessagesLangDecides) {
  EXPECT_EQ(SystemLocaleId("zh_TW.UTF-8", "zh_HK.UTF-8", "en_US.UTF-8"), 0x0404);
  EXPECT_EQ(SystemLocaleId("", "zh_HK.UTF-8", "en_US.UTF-8"), 0x0C04);
  EXPECT_EQ(SystemLocaleId("", "", "zh_CN.UTF-8"), 0x0804);
  // A set "C" is a choice, not an absence: it hides LANG.
  EXPECT_EQ(SystemLocaleId("C", "", "zh_CN.UTF-8"), 0x0409);
}

/// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      saved_ = old;
    }
    Set(value);
  }
  ~ScopedVariable() { Set(saved_ ? saved_->c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  void Set(const char* value) {
    const int result = value != nullptr ? ::setenv(name_, value, 1) : ::unsetenv(name_);
    EXPECT_EQ(result, 0) << name_;
  }

  const char* name_;
  std::optional<std::string> saved_;
};

TEST(SystemLocale, ReadsTheProcessEnvironment) {
  ScopedVariable lcAll("LC_ALL", nullptr);
  ScopedVariable lcMessages("LC_MESSAGES", "zh_HK.UTF-8");
  ScopedVariable lang("LANG", "en_US.UTF-8");
  EXPECT_EQ(SystemLocaleId(), 0x0C04);
  {
    ScopedVariable overriding("LC_ALL", "zh_TW.UTF-8");
    EXPECT_EQ(SystemLocaleId(), 0x0404);
  }
  ScopedVariable noMessages("LC_MESSAGES", "");
  EXPECT_EQ(SystemLocaleId(), 0x0409);
}

}  // namespace
}  // namespace rmt4
