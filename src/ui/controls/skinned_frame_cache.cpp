#include "ui/controls/skinned_frame_cache.h"

#include "ui/controls/host_background.h"

namespace rmt4::ui {

const QImage& SkinnedFrameCache::Frame(const QWidget& control, const OffscreenBuffer* source, int ancestorLevel,
                                       bool skinVisible, const std::function<void(QImage&)>& compose) {
  if (frameValid_) return frame_;
  frameValid_ = true;
  if (!backgroundValid_) {
    backgroundValid_ = true;
    background_ = CopyHostBackground(control, source, ancestorLevel);
  }
  frame_ = background_;
  if (skinVisible) compose(frame_);
  return frame_;
}

}  // namespace rmt4::ui
