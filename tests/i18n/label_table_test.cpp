#include "i18n/label_table.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "i18n/label_text.h"
#include "i18n/name_arrays.h"

namespace rmt4 {
namespace {

constexpr LanguageIndex kSimplified = LanguageIndex::SimplifiedChinese;
constexpr LanguageIndex kTraditional = LanguageIndex::TraditionalChinese;
constexpr LanguageIndex kEnglish = LanguageIndex::English;

// The printf conversions of a text ("%3.1f", "%d", ...), without literal "%%".
std::vector<std::string> Conversions(std::string_view text) {
  std::vector<std::string> found;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '%') {
      ++i;
      continue;
    }
    const std::size_t end = text.find_first_of("dfsxXuc", i + 1);
    found.emplace_back(text.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i + 1));
    if (end == std::string_view::npos) {
      break;
    }
    i = end;
  }
  return found;
}

std::string Format(LabelId id, LanguageIndex language, double value) {
  const std::string format(LabelText(id, language));
  char buffer[128];
  const int length = std::snprintf(buffer, sizeof buffer, format.c_str(), value);
  EXPECT_GT(length, 0);
  EXPECT_LT(length, static_cast<int>(sizeof buffer));
  return std::string(buffer);
}

TEST(LabelTable, EveryRowSitsAtItsIdAndHasAllThreeTexts) {
  const auto table = LabelTable();
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(static_cast<std::size_t>(table[i].id), i);
    for (std::string_view text : table[i].texts) {
      EXPECT_FALSE(text.empty()) << "row " << i;
    }
  }
}

TEST(LabelTable, TextsAreKeptCharacterForCharacter) {
  struct Expected {
    LabelId id;
    std::string_view simplified, traditional, english;
  };
  const Expected rows[] = {
      {LabelId::Digtal, "数字通道", "數字通道", "DIGTAL"},
      {LabelId::St9_10, "立体9/10", "立体9/10", "ST9/10"},
      {LabelId::ThresholdFormat, "启动电平:   %3ddBu", "啟動電平:   %3ddBu", "Threshold:   %3ddBu"},
      {LabelId::Copy, "复制", "復制", "Copy"},
      {LabelId::FileExistsOverwrite, "文件已存在!\n 是否覆盖!", "文件已存在!\n 是否覆蓋!",
       "File already exists!\n Whether or not covered!"},
      {LabelId::ModelName, "模式名称:", "模式名稱:", "Model Name"},
      {LabelId::WriteDataFailed, "写数据失败!", "寫數據失败!", "Write Data Failed!"},
      {LabelId::NoFilesFullWidthStop, "无文件。", "無文件。", "No files。"},
      {LabelId::DataHasPassword, "数据有密码。", "數據有密碼。", "The data has a password ."},
      {LabelId::Phase0, "正相", "正相", "0'"},
  };
  for (const Expected& row : rows) {
    EXPECT_EQ(LabelText(row.id, kSimplified), row.simplified);
    EXPECT_EQ(LabelText(row.id, kTraditional), row.traditional);
    EXPECT_EQ(LabelText(row.id, kEnglish), row.english);
  }
}

TEST(LabelTable, RowsSharingAnEnglishTextKeepTheirOwnChineseTexts) {
  EXPECT_EQ(LabelText(LabelId::MainBus, kEnglish), "MAIN");
  EXPECT_EQ(LabelText(LabelId::MainShort, kEnglish), "MAIN");
  EXPECT_EQ(LabelText(LabelId::MainBus, kSimplified), "主输出");
  EXPECT_EQ(LabelText(LabelId::MainShort, kSimplified), "主");

  EXPECT_EQ(LabelText(LabelId::Aux, kEnglish), "AUX");
  EXPECT_EQ(LabelText(LabelId::AuxShort, kEnglish), "AUX");
  EXPECT_EQ(LabelText(LabelId::Aux, kTraditional), "輔助");
  EXPECT_EQ(LabelText(LabelId::AuxShort, kTraditional), "輔");

  EXPECT_EQ(LabelText(LabelId::Save, kEnglish), "Save");
  EXPECT_EQ(LabelText(LabelId::SaveMode, kEnglish), "Save");
  EXPECT_EQ(LabelText(LabelId::Save, kSimplified), "保存");
  EXPECT_EQ(LabelText(LabelId::SaveMode, kSimplified), "保存模式");

  EXPECT_EQ(LabelText(LabelId::MainSend, kEnglish), "Main");
  EXPECT_EQ(LabelText(LabelId::MainSend, kTraditional), "主輸出");
}

TEST(LabelTable, EveryLanguageOfARowTakesTheSameFormatArguments) {
  std::size_t formatRows = 0;
  for (const LabelRow& row : LabelTable()) {
    const auto english = Conversions(row.texts[static_cast<std::size_t>(kEnglish)]);
    EXPECT_EQ(Conversions(row.texts[static_cast<std::size_t>(kSimplified)]), english) << row.texts[2];
    EXPECT_EQ(Conversions(row.texts[static_cast<std::size_t>(kTraditional)]), english) << row.texts[2];
    formatRows += english.empty() ? 0 : 1;
  }
  EXPECT_EQ(formatRows, 34u);
}

TEST(LabelTable, ProgressRowsFormatAPercentageInEveryLanguage) {
  EXPECT_EQ(Format(LabelId::ReadDeviceDataFormat, kEnglish, 37.0), "Read Device Data:   37 %");
  EXPECT_EQ(Format(LabelId::ReadDeviceDataFormat, kSimplified, 37.0), "读取设备参数:   37 %");
  EXPECT_EQ(Format(LabelId::ReadDeviceDataFormat, kTraditional, 37.0), "讀取設備參數:   37 %");
  EXPECT_EQ(Format(LabelId::UpdateSceneDataFormat, kEnglish, 100.0), "Update Scene Data:  100 %");
}

TEST(LabelTable, ChannelNameArraysFollowStripOrder) {
  const std::string_view inputs[] = {"CH1", "CH2", "CH3",    "CH4",    "CH5", "CH6",
                                     "CH7", "CH8", "ST9/10", "DIGTAL", "Fx1", "Fx2"};
  ASSERT_EQ(kInputChannelLabels.size(), std::size(inputs));
  for (std::size_t i = 0; i < kInputChannelLabels.size(); ++i) {
    EXPECT_EQ(LabelText(kInputChannelLabels[i], kEnglish), inputs[i]);
  }
  EXPECT_EQ(LabelText(kInputChannelLabels[8], kTraditional), "立体9/10");
  EXPECT_EQ(LabelText(kInputChannelLabels[9], kTraditional), "數字通道");
  EXPECT_EQ(LabelText(kInputChannelLabels[11], kSimplified), "效果2");

  const std::string_view buses[] = {"MAIN", "AUX1", "AUX2", "AUX3", "AUX4", "AUX5", "AUX6"};
  ASSERT_EQ(kOutputBusLabels.size(), std::size(buses));
  for (std::size_t i = 0; i < kOutputBusLabels.size(); ++i) {
    EXPECT_EQ(LabelText(kOutputBusLabels[i], kEnglish), buses[i]);
  }
  EXPECT_EQ(LabelText(kOutputBusLabels[0], kSimplified), "主输出");
  EXPECT_EQ(LabelText(kOutputBusLabels[6], kTraditional), "輔助6");
}

}  // namespace
}  // namespace rmt4
