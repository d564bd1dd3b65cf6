#include "ui/editors/scene_preview_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "i18n/name_arrays.h"
#include "ui/editors/console_palette.h"
#include "ui/platform/translated.h"

namespace rmt4::ui {
namespace {

constexpr QSize kNominalSize(460, 420);
constexpr int kNominalFontPixels = 11;
constexpr int kInputChannels = static_cast<int>(kInputChannelLabels.size());
constexpr int kChannels = kInputChannels + static_cast<int>(kOutputBusLabels.size());

constexpr std::array<LabelId, 9> kSectionLabels{LabelId::SectionStrip,   LabelId::SectionEq,    LabelId::SectionFilter,
                                                LabelId::SectionDynamics, LabelId::SectionSends, LabelId::SectionDelay,
                                                LabelId::SectionEffect,  LabelId::SectionSystem, LabelId::SectionOther};

/// A channel as the strips and editors name it: "CH3", "MAIN", "System".
QString ChannelText(const std::string& channel) {
  for (int index = 0; index < kChannels; ++index) {
    if (ChannelName(index) != channel) continue;
    return Translated(index < kInputChannels ? kInputChannelLabels[static_cast<std::size_t>(index)]
                                             : kOutputBusLabels[static_cast<std::size_t>(index - kInputChannels)]);
  }
  return Translated(channel == kSystemChannel ? LabelId::System : LabelId::SectionOther);
}

QString ItemKey(const QTreeWidgetItem& item) { return item.data(ScenePreviewDialog::kChangeColumn, ScenePreviewDialog::kNameRole).toString(); }

bool Checkable(const QTreeWidgetItem& item) { return (item.flags() & Qt::ItemIsUserCheckable) != 0; }

/// Greyed, with the safe mark and its tip.
void MarkSafe(QTreeWidgetItem& item) {
  item.setFlags(Qt::NoItemFlags);
  item.setText(ScenePreviewDialog::kMarkColumn, Translated(LabelId::SceneSafe));
  for (const int column : {ScenePreviewDialog::kChangeColumn, ScenePreviewDialog::kMarkColumn}) {
    item.setToolTip(column, Translated(LabelId::SceneSafeTip));
  }
}

}  // namespace

ScenePreviewDialog::ScenePreviewDialog(ScenePreviewInput input, QWidget* parent)
    : QDialog(parent),
      input_(std::move(input)),
      tree_(new QTreeWidget(this)),
      upload_(new QPushButton(Translated(LabelId::Upload), this)),
      cancel_(new QPushButton(Translated(LabelId::Cancel), this)) {
  setWindowTitle(Translated(LabelId::ScenePreview));
  setPalette(ConsoleDialogPalette());
  // Sized as the other dialogs at the screen's scale: a long list of
  // changes must stay readable on a large display.
  const double scale = std::max(1.0, logicalDpiX() / 96.0);
  QFont dialogFont = font();
  dialogFont.setPixelSize(static_cast<int>(kNominalFontPixels * scale));
  setFont(dialogFont);
  resize(kNominalSize * scale);

  tree_->setColumnCount(kColumnCount);
  tree_->setHeaderHidden(true);
  tree_->header()->setStretchLastSection(false);
  tree_->header()->setSectionResizeMode(kChangeColumn, QHeaderView::Stretch);
  tree_->header()->setSectionResizeMode(kMarkColumn, QHeaderView::ResizeToContents);
  tree_->setSelectionMode(QAbstractItemView::NoSelection);
  // The style outlines check boxes a shade darker than the window colour,
  // which on charcoal leaves an empty box unseen; a light grey shows it.
  QPalette treePalette = tree_->palette();
  treePalette.setColor(QPalette::Window, QColor(170, 170, 170));
  tree_->setPalette(treePalette);
  upload_->setDefault(true);
  cancel_->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(upload_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tree_);
  layout->addLayout(buttons);
  connect(upload_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  Fill();
  connect(tree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) { OnItemChanged(item); });
}

void ScenePreviewDialog::Fill() {
  const ScenePlan plan = PlanSceneUpload(input_.console, input_.file, {}, input_.safes);
  for (const PlannedChange& planned : plan.changes) {
    auto* row = new QTreeWidgetItem(SectionItem(GroupOf(planned.change)),
                                    {QString::fromStdString(SceneChangeInWords(planned.change))});
    row->setData(kChangeColumn, kNameRole, QString::fromStdString(planned.change.name));
    planned.safe ? MarkSafe(*row) : row->setFlags(Qt::ItemIsEnabled | Qt::ItemNeverHasChildren);
  }
  if (plan.changes.empty()) {
    new QTreeWidgetItem(tree_, {Translated(LabelId::SceneNoChanges)});
    upload_->setFocus();
  }
  // Only a group with a change that is not safe can be taken in or left out.
  for (int c = 0; c < tree_->topLevelItemCount(); ++c) {
    QTreeWidgetItem& channel = *tree_->topLevelItem(c);
    bool anyCheckable = false;
    for (int s = 0; s < channel.childCount(); ++s) {
      QTreeWidgetItem& section = *channel.child(s);
      bool writable = false;
      for (int r = 0; r < section.childCount(); ++r) writable = writable || section.child(r)->flags() != Qt::NoItemFlags;
      if (!writable) {
        MarkSafe(section);
        continue;
      }
      anyCheckable = true;
      section.setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
      const std::optional<SceneGroup> group = GroupFromKey(ItemKey(section).toStdString());
      const bool leftOut = std::find(input_.leftOut.begin(), input_.leftOut.end(), group) != input_.leftOut.end();
      section.setCheckState(kChangeColumn, leftOut ? Qt::Unchecked : Qt::Checked);
    }
    if (anyCheckable) {
      channel.setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
      FollowSections(channel);
    } else {
      MarkSafe(channel);
    }
  }
  tree_->expandAll();
}

QTreeWidgetItem* ScenePreviewDialog::SectionItem(const SceneGroup& group) {
  const QString channelKey = QString::fromStdString(group.channel);
  QTreeWidgetItem* channel = nullptr;
  for (int c = 0; c < tree_->topLevelItemCount() && channel == nullptr; ++c) {
    if (ItemKey(*tree_->topLevelItem(c)) == channelKey) channel = tree_->topLevelItem(c);
  }
  if (channel == nullptr) {
    channel = new QTreeWidgetItem(tree_, {ChannelText(group.channel)});
    channel->setData(kChangeColumn, kNameRole, channelKey);
  }
  const QString sectionKey = QString::fromStdString(GroupKey(group));
  for (int s = 0; s < channel->childCount(); ++s) {
    if (ItemKey(*channel->child(s)) == sectionKey) return channel->child(s);
  }
  auto* section = new QTreeWidgetItem(channel, {Translated(kSectionLabels[static_cast<std::size_t>(group.section)])});
  section->setData(kChangeColumn, kNameRole, sectionKey);
  return section;
}

void ScenePreviewDialog::OnItemChanged(QTreeWidgetItem* item) {
  if (following_ || item == nullptr || !Checkable(*item)) return;
  following_ = true;
  if (item->parent() == nullptr) {
    const Qt::CheckState state = item->checkState(kChangeColumn);
    for (int s = 0; s < item->childCount(); ++s) {
      if (Checkable(*item->child(s))) item->child(s)->setCheckState(kChangeColumn, state);
    }
  } else {
    FollowSections(*item->parent());
  }
  following_ = false;
}

void ScenePreviewDialog::FollowSections(QTreeWidgetItem& channel) {
  int checkable = 0;
  int checked = 0;
  for (int s = 0; s < channel.childCount(); ++s) {
    const QTreeWidgetItem& section = *channel.child(s);
    if (!Checkable(section)) continue;
    ++checkable;
    if (section.checkState(kChangeColumn) == Qt::Checked) ++checked;
  }
  channel.setCheckState(kChangeColumn, checked == checkable ? Qt::Checked : checked == 0 ? Qt::Unchecked : Qt::PartiallyChecked);
}

std::vector<SceneGroup> ScenePreviewDialog::LeftOut() const {
  std::vector<SceneGroup> leftOut;
  for (int c = 0; c < tree_->topLevelItemCount(); ++c) {
    const QTreeWidgetItem& channel = *tree_->topLevelItem(c);
    if (!Checkable(channel)) continue;
    if (channel.checkState(kChangeColumn) == Qt::Unchecked) {
      // The whole channel, also the sections this scene does not change.
      for (std::size_t section = 0; section < kSectionLabels.size(); ++section) {
        leftOut.push_back({ItemKey(channel).toStdString(), static_cast<ParamSection>(section)});
      }
      continue;
    }
    for (int s = 0; s < channel.childCount(); ++s) {
      const QTreeWidgetItem& section = *channel.child(s);
      if (!Checkable(section) || section.checkState(kChangeColumn) != Qt::Unchecked) continue;
      if (const std::optional<SceneGroup> group = GroupFromKey(ItemKey(section).toStdString())) leftOut.push_back(*group);
    }
  }
  return leftOut;
}

ScenePlan ScenePreviewDialog::Plan() const {
  const std::vector<SceneGroup> leftOut = LeftOut();
  return PlanSceneUpload(input_.console, input_.file, ScopeWithout(leftOut), input_.safes);
}

}  // namespace rmt4::ui
