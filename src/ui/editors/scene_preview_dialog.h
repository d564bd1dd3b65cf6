#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "values/scene_scope.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace rmt4::ui {

/// What a scene upload is previewed against: the console as the mirror held
/// it when the user asked, the scene file's values, the safes and the groups
/// the user left out of this file's last upload.
struct ScenePreviewInput {
  std::array<std::uint16_t, kParamCount> console{};
  std::vector<std::uint16_t> file;
  std::vector<std::string> safes;
  std::vector<SceneGroup> leftOut;
};

/// Before a scene reaches the console: every change it makes, grouped by
/// channel and section, console value → scene value. Unticking a channel or
/// a section leaves it out of the upload; safe changes show greyed with a
/// mark and cannot be taken in. Upload accepts, Cancel rejects; the caller
/// uploads Plan().
class ScenePreviewDialog final : public QDialog {
 public:
  enum Column : int { kChangeColumn, kMarkColumn, kColumnCount };
  /// Where a section keeps its group's key and a change row its name.
  static constexpr int kNameRole = Qt::UserRole;

  ScenePreviewDialog(ScenePreviewInput input, QWidget* parent);

  [[nodiscard]] QTreeWidget& tree() { return *tree_; }
  [[nodiscard]] QPushButton& uploadButton() { return *upload_; }
  [[nodiscard]] QPushButton& cancelButton() { return *cancel_; }

  /// The groups unticked now; an unticked channel leaves out every section of it.
  [[nodiscard]] std::vector<SceneGroup> LeftOut() const;
  /// The upload as the ticks choose it now, against the console the list shows.
  [[nodiscard]] ScenePlan Plan() const;

 private:
  void Fill();
  /// The item of `group`, made under its channel's item when missing.
  QTreeWidgetItem* SectionItem(const SceneGroup& group);
  void OnItemChanged(QTreeWidgetItem* item);
  /// A channel's box from its sections': partly checked when some are off.
  void FollowSections(QTreeWidgetItem& channel);

  const ScenePreviewInput input_;
  QTreeWidget* tree_;
  QPushButton* upload_;
  QPushButton* cancel_;
  bool following_ = false;
};

}  // namespace rmt4::ui
