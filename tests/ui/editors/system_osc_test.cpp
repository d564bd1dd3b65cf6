// The System window's OSC group driven as a user does (clicks and typing),
// and an OSC client's edit reaching the strips through the window's server.
#include <QCheckBox>
#include <QUdpSocket>

#include "automation/osc_packet.h"
#include "files/osc_settings.h"
#include "i18n/label_text.h"
#include "system_test_host.h"
#include "ui/controls/skinned_label.h"
#include "ui/editors/system_osc_group.h"
#include "ui/editors/system_window.h"
#include "ui/main/window_osc_host.h"
#include "values/label_format.h"
#include "values/param_catalogue.h"

namespace rmt4::ui {
namespace {

using test::PumpUntil;

QString NotServing(const std::string& why) { return QString::fromStdString(FormatLabel(LabelId::OscNotServingFormat, why)); }

class SystemOscTest : public test::SystemTestHost {
 protected:
  SystemOscGroup& Open() {
    system_ = std::make_unique<SystemWindow>(link(), mainWindow().osc(), &mainWindow());
    system_->show();
    system_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(system_.get()));
    return system_->osc();
  }

  /// Replaces the field's text by typing, then moves on with Tab.
  static void Type(QLineEdit& field, const QString& text) {
    field.setFocus();
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_Backspace);
    QTest::keyClicks(&field, text);
    QTest::keyClick(&field, Qt::Key_Tab);
  }

  /// Clicks "On" and keeps the text of the box that answers, if one does.
  QString ClickOn(SystemOscGroup& group) {
    QString said;
    test::AnswerNextBox(&said);
    QTest::mouseClick(&group.onBox(), Qt::LeftButton, {}, QPoint(6, group.onBox().height() / 2));
    QCoreApplication::processEvents();
    test::DropPendingAnswers();
    return said;
  }

  [[nodiscard]] StoredOscSettings Stored() { return ReadOscSettings(SettingsStore(link().sceneFolders())); }

  std::unique_ptr<SystemWindow> system_;
};

TEST_F(SystemOscTest, TypedTextsThatCannotServeAreRefusedInTheUsersWordsAndShowOff) {
  Start(false);
  SystemOscGroup& group = Open();
  const struct {
    QLineEdit& field;
    QString typed;
    LabelId said;
  } cases[] = {{group.portField(), "70000", LabelId::OscPortInvalidFormat},
               {group.portField(), "90a", LabelId::OscPortInvalidFormat},
               {group.bindField(), "localhost", LabelId::OscBindAddressInvalidFormat},
               {group.allowField(), "10.0.0.0/33", LabelId::OscAllowInvalidFormat}};
  for (const auto& c : cases) {
    Type(group.portField(), "9100");
    Type(group.bindField(), "127.0.0.1");
    Type(group.allowField(), "");
    Type(c.field, c.typed);
    EXPECT_EQ(ClickOn(group).toStdString(), NotServing(FormatLabel(c.said, c.typed.toStdString())).toStdString());
    EXPECT_FALSE(group.onBox().isChecked()) << c.typed.toStdString();
    EXPECT_FALSE(mainWindow().osc().serving());
    EXPECT_FALSE(Stored().on);
  }
}

TEST_F(SystemOscTest, APortTakenIsToldThenAClientsSetShowsOnTheStripAsOneUndoStep) {
  Start(true);
  QUdpSocket taken;
  ASSERT_TRUE(taken.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
  const quint16 port = taken.localPort();
  SystemOscGroup& group = Open();
  Type(group.portField(), QString::number(port));
  const QString said = ClickOn(group);
  EXPECT_TRUE(said.startsWith(NotServing(""))) << said.toStdString();
  EXPECT_GT(said.size(), NotServing("").size()) << "the reason is given";
  EXPECT_FALSE(group.onBox().isChecked());
  EXPECT_EQ(Stored(), (StoredOscSettings{false, std::to_string(port), "127.0.0.1", ""}));

  taken.close();
  ASSERT_EQ(ClickOn(group).toStdString(), "");
  ASSERT_TRUE(group.onBox().isChecked());
  EXPECT_EQ(Stored(), (StoredOscSettings{true, std::to_string(port), "127.0.0.1", ""}));
  system_.reset();

  const std::size_t stepsBefore = mainWindow().history().undoCount();
  const std::vector<std::uint8_t> packet = EncodeOscMessage({"/ch3/fader", {OscArgument::String("-10dB")}});
  QUdpSocket client;
  ASSERT_EQ(client.writeDatagram(reinterpret_cast<const char*>(packet.data()), static_cast<qint64>(packet.size()),
                                 QHostAddress::LocalHost, port),
            static_cast<qint64>(packet.size()));
  SkinnedLabel& level = mainWindow().strips().inputStrip(2).levelLabel();
  ASSERT_TRUE(PumpUntil([&] { return level.text() == "-10.0dB"; })) << level.text().toStdString();
  EXPECT_EQ(mainWindow().history().undoCount(), stepsBefore + 1);
  const ParamAddress fader = *FindParam("ch3.fader");
  ASSERT_TRUE(PumpUntil([&] { return console().Value(fader) == link().params().Value(fader); })) << "written to the console";
}

}  // namespace
}  // namespace rmt4::ui
