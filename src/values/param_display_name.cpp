#include "values/param_display_name.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <string_view>

#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

/// A part of a catalogue name in words, by language (LanguageIndex order).
struct Word {
  std::string_view part;
  std::array<std::string_view, kLanguageCount> shown;
};

// Parts of catalogue names that read differently in words; others are
// printed as they are, channel and bus names in capitals.
constexpr std::array<Word, 45> kWords{{
    {"st9", {"ST9/10", "ST9/10", "ST9/10"}},
    {"dig", {"DIGITAL", "DIGITAL", "DIGITAL"}},
    {"main", {"MAIN", "MAIN", "MAIN"}},
    {"eq", {"EQ", "EQ", "EQ"}},
    {"hpf", {"HPF", "HPF", "HPF"}},
    {"lpf", {"LPF", "LPF", "LPF"}},
    {"pfl", {"PFL", "PFL", "PFL"}},
    {"q", {"Q", "Q", "Q"}},
    {"48v", {"48V", "48V", "48V"}},
    {"sys", {"系统", "系統", "system"}},
    {"addr", {"地址", "地址", "address"}},
    {"freq", {"频率", "頻率", "frequency"}},
    {"comp", {"压缩器", "壓縮器", "compressor"}},
    {"send", {"发送到", "發送到", "send to"}},
    {"param1", {"参数 1", "參數 1", "parameter 1"}},
    {"param2", {"参数 2", "參數 2", "parameter 2"}},
    {"noisegate", {"噪声门", "噪聲門", "noise gate"}},
    {"footswitch", {"脚踏开关", "腳踏開關", "foot switch"}},
    {"keepalive", {"保持连接", "保持連接", "keep-alive"}},
    {"select", {"选中通道", "選中通道", "selected channel"}},
    {"linked", {"(联动)", "(聯動)", "(linked)"}},
    {"fader", {"推子", "推子", "fader"}},
    {"mute", {"静音", "靜音", "mute"}},
    {"pan", {"声像", "聲像", "pan"}},
    {"balance", {"平衡", "平衡", "balance"}},
    {"gain", {"增益", "增益", "gain"}},
    {"gate", {"噪声门", "噪聲門", "gate"}},
    {"type", {"类型", "類型", "type"}},
    {"pre", {"推子前", "推子前", "pre"}},
    {"left", {"左", "左", "left"}},
    {"right", {"右", "右", "right"}},
    {"delay", {"延时", "延時", "delay"}},
    {"threshold", {"阈值", "閾值", "threshold"}},
    {"attack", {"启动时间", "啟動時間", "attack"}},
    {"release", {"释放时间", "釋放時間", "release"}},
    {"ratio", {"压缩比", "壓縮比", "ratio"}},
    {"phase", {"相位", "相位", "phase"}},
    {"feedback", {"反馈抑制", "反饋抑制", "feedback"}},
    {"program", {"效果程序", "效果程式", "program"}},
    {"mode", {"模式", "模式", "mode"}},
    {"operation", {"操作", "操作", "operation"}},
    {"recorder", {"录音机", "錄音機", "recorder"}},
    {"meters", {"电平表", "電平表", "meters"}},
    {"device", {"设备", "設備", "device"}},
    {"band", {"频段", "頻段", "band"}},
}};

// Channels and buses with a number: "ch3", "aux2".
constexpr std::array<std::string_view, 3> kNumbered{"ch", "aux", "fx"};

std::string Upper(std::string_view part) {
  std::string upper(part);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  return upper;
}

std::string Shown(std::string_view part, LanguageIndex language) {
  const auto column = static_cast<std::size_t>(IsValidLanguage(language) ? language : LanguageIndex::English);
  for (const Word& word : kWords) {
    if (word.part == part) return std::string(word.shown[column]);
  }
  if (part.size() > 2 && part.starts_with("eq") && std::isdigit(static_cast<unsigned char>(part[2]))) {
    return "EQ " + Shown("band", language) + " " + std::string(part.substr(2));
  }
  for (std::string_view prefix : kNumbered) {
    if (part.size() > prefix.size() && part.starts_with(prefix) &&
        std::isdigit(static_cast<unsigned char>(part[prefix.size()]))) {
      return Upper(part);
    }
  }
  return std::string(part);
}

}  // namespace

std::string ParamDisplayName(ParamAddress address) { return DisplayName(ParamAt(address).name); }

std::string DisplayName(std::string_view name) { return DisplayName(name, LanguageIndex::English); }

std::string DisplayName(std::string_view name, LanguageIndex language) {
  std::string shown;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t dot = std::min(name.find('.', start), name.size());
    if (!shown.empty()) shown += ' ';
    shown += Shown(name.substr(start, dot - start), language);
    start = dot + 1;
  }
  return shown;
}

}  // namespace rmt4
