#pragma once

#include "i18n/language.h"

namespace rmt4 {

/// Puts the process-wide language back after a test that changes it.
class LanguageGuard {
 public:
  LanguageGuard() : saved_(CurrentLanguage()) {}
  ~LanguageGuard() { static_cast<void>(SetCurrentLanguage(saved_)); }
  LanguageGuard(const LanguageGuard&) = delete;
  LanguageGuard& operator=(const LanguageGuard&) = delete;

 private:
  LanguageIndex saved_;
};

}  // namespace rmt4
