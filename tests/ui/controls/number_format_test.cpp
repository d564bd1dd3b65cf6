#include <gtest/gtest.h>

#include "ui/controls/number_format.h"

namespace rmt4::ui {
namespace {

TEST(NumberFormat, FillsTheOnePlaceholderAndRefusesOtherConversions) {
  EXPECT_EQ(FormatNumber("Read Device Data:%5.0f %%", 37.0), "Read Device Data:   37 %");
  EXPECT_EQ(FormatNumber("读取设备参数:%5.0f %%", 37.0), "读取设备参数:   37 %");
  EXPECT_EQ(FormatNumber("Call...", 50.0), "Call...");
  // A text carrying other printf conversions must never be read as a format.
  EXPECT_EQ(FormatNumber("Call %s%n...", 50.0), "Call %s%n...");
  EXPECT_EQ(FormatNumber("%5.0f %5.0f", 50.0), "%5.0f %5.0f");
  EXPECT_EQ(FormatNumber("100%", 50.0), "100%");
}

}  // namespace
}  // namespace rmt4::ui
