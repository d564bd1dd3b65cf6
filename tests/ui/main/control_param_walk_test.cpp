// Every value control of the main window and of each editor variant as a
// keyboard and a screen reader meet it: reached by Tab, a name, a role and
// the value in the words `rmt4ctl get` prints; key steps edit the parameter
// named; the tip on hover.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QToolTip>

#include <set>
#include <string_view>

#include "connected_main_window.h"
#include "ui/controls/control_param.h"
#include "ui/controls/skinned_fader.h"
#include "ui/controls/skinned_slider.h"
#include "ui/main/output_strip.h"
#include "values/named_value_text.h"
#include "values/param_display_name.h"

namespace rmt4::ui {
namespace {

constexpr int kWalkLimitMs = 5000;
constexpr int kFirstOutputBusButton = 6;
// More than any view has controls: a Tab walk that never comes round fails.
constexpr int kWalkMostTabs = 1000;

/// What a screen reader is told about each kind of control.
QAccessible::Role WalkRoleOf(const QWidget& control) {
  if (qobject_cast<const SkinnedButton*>(&control)) return QAccessible::CheckBox;
  if (qobject_cast<const QComboBox*>(&control)) return QAccessible::ComboBox;
  if (qobject_cast<const QLineEdit*>(&control)) return QAccessible::EditableText;
  return QAccessible::Slider;
}

/// One row of the walk: a control shown in a view, and the parameter it stands for.
struct WalkRow {
  QWidget* control;
  std::string param;
};

/// How the user reaches a view, and controls whose parameter the view must
/// name: parameter → display name.
struct WalkView {
  std::string_view name;
  void (*open)(test::ConnectedMainWindow& window);
  std::vector<std::pair<std::string_view, std::string_view>> spots;
};

void WalkOpenMain(test::ConnectedMainWindow&) {}
void WalkOpenAux2(test::ConnectedMainWindow& window) {
  test::Click(window.window().strips().outputStrip().button(kFirstOutputBusButton + 2));
}
void WalkOpenCh3(test::ConnectedMainWindow& window) { window.OpenFromStrip(2); }
void WalkOpenFx1(test::ConnectedMainWindow& window) { window.OpenFromStrip(10); }
void WalkOpenMainEditor(test::ConnectedMainWindow& window) {
  test::Click(window.window().strips().outputStrip().button(StripCode::Enter));
}

void PrintTo(const WalkView& view, std::ostream* out) { *out << view.name; }

const WalkView kWalkViews[] = {
    {"strips, MAIN",
     WalkOpenMain,
     {{"ch3.fader", "CH3 fader"},
      {"ch1.48v", "CH1 48V"},
      {"st9.pan", "ST9/10 pan"},
      {"dig.right", "DIGITAL right"},
      {"fx2.mute", "FX2 mute"},
      {"main.balance", "MAIN balance"}}},
    {"strips, AUX2", WalkOpenAux2, {{"aux2.fader", "AUX2 fader"}, {"sys.pfl.aux2", "system PFL AUX2"}}},
    {"editor, CH3",
     WalkOpenCh3,
     {{"ch3.eq2.gain", "CH3 EQ band 2 gain"},
      {"ch3.hpf.type", "CH3 HPF type"},
      {"ch3.comp", "CH3 compressor"},
      {"ch3.send.aux4.pre", "CH3 send to AUX4 pre"},
      {"ch3.48v", "CH3 48V"}}},
    {"editor, FX1", WalkOpenFx1, {{"fx1.program", "FX1 program"}, {"sys.pfl.fx1", "system PFL FX1"}}},
    {"editor, MAIN", WalkOpenMainEditor, {{"main.phase", "MAIN phase"}, {"main.eq13.q", "MAIN EQ band 13 Q"}}},
};

class ControlParamWalk : public ::testing::TestWithParam<WalkView> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.WaitForCompleteRead()) << "no complete read";
    window_.window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_.window()));
    GetParam().open(window_);
    test::DeliverPosted();
  }

  /// The bound controls the user sees now.
  std::vector<WalkRow> Rows() {
    std::vector<WalkRow> rows;
    for (QWidget* control : window_.window().findChildren<QWidget*>()) {
      const ControlParam* param = ControlParam::Of(*control);
      if (param == nullptr || !control->isVisibleTo(&window_.window()) || param->ParamName().empty()) continue;
      rows.push_back({control, param->ParamName()});
    }
    return rows;
  }

  /// Every control Tab reaches, going once round from where the keyboard is.
  std::set<const QWidget*> ReachedByTab() {
    QWidget& main = window_.window();
    std::set<const QWidget*> reached;
    for (int presses = 0; presses < kWalkMostTabs; ++presses) {
      QTest::keyClick(main.focusWidget() != nullptr ? main.focusWidget() : &main, Qt::Key_Tab);
      if (!reached.insert(main.focusWidget()).second) break;
    }
    return reached;
  }

  [[nodiscard]] std::string CoreValueText(const std::string& param) {
    const ValueAt mirror = [this](ParamAddress address) { return window_.params().Value(address); };
    return NamedValueText(param, mirror).value_or("?");
  }

  test::ConnectedMainWindow window_;
};

TEST_P(ControlParamWalk, EveryControlIsReachedByTabAndHasItsParametersNameRoleAndValueInWords) {
  const std::vector<WalkRow> rows = Rows();
  ASSERT_GT(rows.size(), 20u);
  const std::set<const QWidget*> reached = ReachedByTab();
  for (const QWidget* stop : reached) {
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(const_cast<QWidget*>(stop))->text(QAccessible::Name).isEmpty())
        << "a " << stop->metaObject()->className() << " Tab reaches has no name";
  }
  for (const WalkRow& row : rows) {
    SCOPED_TRACE(row.param);
    QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(row.control);
    ASSERT_NE(seen, nullptr);
    // What the keyboard reaches a screen reader is offered, and nothing else.
    const bool offered = !seen->state().invisible;
    EXPECT_EQ(reached.contains(row.control), offered) << (offered ? "Tab never reaches it" : "Tab reaches it");
    if (!offered) continue;
    EXPECT_EQ(seen->text(QAccessible::Name).toStdString(), DisplayName(row.param));
    EXPECT_EQ(seen->role(), WalkRoleOf(*row.control));
    EXPECT_EQ(seen->text(QAccessible::Value).toStdString(), CoreValueText(row.param));
    EXPECT_EQ(seen->text(QAccessible::Description), seen->text(QAccessible::Value));
  }
  for (const auto& [param, shown] : GetParam().spots) {
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const WalkRow& row) { return row.param == param; });
    ASSERT_NE(found, rows.end()) << "no control stands for " << param;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(found->control)->text(QAccessible::Name).toStdString(), shown);
  }
}

// The parameter a slider names is the one its key steps edit, and the step reaches the console.
TEST_P(ControlParamWalk, KeyStepOnEverySliderEditsTheParameterItNames) {
  std::vector<ParamAddress> stepped;
  for (const WalkRow& row : Rows()) {
    if (WalkRoleOf(*row.control) != QAccessible::Slider) continue;
    SCOPED_TRACE(row.param);
    const ParamAddress address = FindParam(row.param).value();
    const std::uint16_t before = window_.params().Value(address);
    // The strip and editor sliders lie horizontally; faders and band gains stand upright.
    const bool horizontal = qobject_cast<SkinnedSlider*>(row.control) != nullptr;
    for (const Qt::Key key : {horizontal ? Qt::Key_Right : Qt::Key_Up, horizontal ? Qt::Key_Left : Qt::Key_Down}) {
      QTest::keyClick(row.control, key);
      if (key != Qt::Key_Right && key != Qt::Key_Up) QTest::keyClick(row.control, key);  // past the start, at the top
      test::DeliverPosted();
      if (window_.params().Value(address) != before) break;
    }
    EXPECT_NE(window_.params().Value(address), before);
    stepped.push_back(address);
  }
  ASSERT_FALSE(stepped.empty());
  EXPECT_TRUE(test::PumpUntil(
      [&] {
        return std::all_of(stepped.begin(), stepped.end(),
                           [&](ParamAddress a) { return window_.console().Value(a) == window_.params().Value(a); });
      },
      kWalkLimitMs));
}

// A console change, and the event a screen reader hears of it, are checked
// over the real AT-SPI bus (tests/accessibility): offscreen, Qt keeps
// accessibility inactive.

INSTANTIATE_TEST_SUITE_P(Views, ControlParamWalk, ::testing::ValuesIn(kWalkViews),
                         [](const ::testing::TestParamInfo<WalkView>& view) {
                           std::string name;
                           for (const char c : view.param.name) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

// Hovering a bound control shows its name and value as a tip; name and tip
// speak the interface language.
TEST(ControlParamTip, HoverShowsNameAndValueInTheInterfaceLanguage) {
  const std::pair<LanguageIndex, std::string_view> cases[] = {{LanguageIndex::English, "CH3 fader"},
                                                              {LanguageIndex::SimplifiedChinese, "CH3 推子"}};
  for (const auto& [language, name] : cases) {
    SCOPED_TRACE(std::string(name));
    test::ConnectedMainWindow window({.language = language});
    ASSERT_TRUE(window.WaitForCompleteRead());
    SkinnedFader& fader = window.window().strips().inputStrip(2).fader();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&fader)->text(QAccessible::Name).toStdString(), name);
    // Qt shows tips in the active window only.
    window.window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.window()));
    QTest::mouseMove(&fader, QPoint(1, 1));  // the pointer comes from elsewhere, and rests
    QTest::mouseMove(&fader, fader.rect().center());
    ASSERT_TRUE(test::PumpUntil([] { return QToolTip::isVisible(); }, kWalkLimitMs));
    const std::string value =
        NamedValueText("ch3.fader", [&](ParamAddress a) { return window.params().Value(a); }).value();
    EXPECT_EQ(QToolTip::text().toStdString(), std::string(name) + ": " + value);
    QToolTip::hideText();
  }
}

}  // namespace
}  // namespace rmt4::ui
