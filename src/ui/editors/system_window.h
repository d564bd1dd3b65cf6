#pragma once

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <array>
#include <memory>

#include "files/settings_store.h"

class QComboBox;
class QGroupBox;
class QTableWidget;

namespace rmt4 {
class LinkWorker;
}

namespace rmt4::ui {

class CellEditor;
class SystemModeList;
class SystemOscGroup;
class SystemSceneList;
class WindowOscHost;

/// The modal "System" window: the console's stored modes, the scene files on
/// the PC, the interface language, the transport and the console's noise
/// gate; whether and how the window serves OSC. It never talks to the console
/// itself: it edits the parameter table and raises the link jobs the worker carries out.
class SystemWindow final : public QDialog {
 public:
  static constexpr int kRefreshMs = 500;

  /// `mainWindow` hears of a language change; it is also the window this one is centred over.
  SystemWindow(LinkWorker& link, WindowOscHost& osc, QWidget* mainWindow);
  ~SystemWindow() override;

  [[nodiscard]] QTableWidget& modeList() { return *modeList_; }
  [[nodiscard]] QTableWidget& sceneList() { return *sceneList_; }
  [[nodiscard]] QComboBox& languageSelector() { return *language_; }
  [[nodiscard]] QComboBox& transportSelector() { return *transport_; }
  [[nodiscard]] QComboBox& noiseGateSelector() { return *noiseGate_; }
  [[nodiscard]] QGroupBox& groupBox(int index) { return *groups_[static_cast<std::size_t>(index)]; }
  [[nodiscard]] SystemModeList& modes() { return *modes_; }
  [[nodiscard]] SystemSceneList& scenes() { return *scenes_; }
  [[nodiscard]] SystemOscGroup& osc() { return *osc_; }
  [[nodiscard]] CellEditor& cellEditor() { return *editor_; }
  [[nodiscard]] bool refreshing() const { return timer_.isActive(); }

  /// What the 500 ms timer does: new mode names, the noise gate, the current mode.
  void PeriodicRefresh();
  /// Column titles and group captions in the current language.
  void RefreshTexts();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTableWidget* MakeList(const QRect& geometry);
  QComboBox* MakeSelector(const QRect& geometry);
  void OnLanguage(int index);
  void OnTransport(int index);
  void OnNoiseGate(int index);
  void SelectNoiseGate();

  LinkWorker& link_;
  QWidget* mainWindow_;
  const SettingsStore settings_;
  const QImage background_;  // bitmap 163
  std::array<QGroupBox*, 6> groups_{};
  QTableWidget* modeList_;
  QTableWidget* sceneList_;
  QComboBox* language_;
  QComboBox* transport_;
  QComboBox* noiseGate_;
  CellEditor* editor_;
  std::unique_ptr<SystemModeList> modes_;
  std::unique_ptr<SystemSceneList> scenes_;
  SystemOscGroup* osc_ = nullptr;  // a child of its group box
  QTimer timer_;
};

}  // namespace rmt4::ui
