#pragma once

// Parameters by name in tests: a test names what it checks as a user would.
#include <gtest/gtest.h>

#include <string_view>

#include "values/param_catalogue.h"

namespace rmt4 {

/// The address of `name`; for a name the catalogue lacks, a failure of the test and address 0.
inline ParamAddress Named(std::string_view name) {
  const auto address = FindParam(name);
  EXPECT_TRUE(address.has_value()) << name;
  return address.value_or(0);
}

}  // namespace rmt4
