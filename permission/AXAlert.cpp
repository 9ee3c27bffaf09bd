#include "permission/AXAlert.h"

namespace vantor {

void AXAlert::awakeFromNib() {
    _window.setTitlebarAppearsTransparent(true);
    _window.setTitleVisibility(platform::kWindowTitleHidden);
    _window.setLevel(_ui.windowLevelForKey(kNormalWindowLevelKey));
    platform::View& content = _window.contentView();
    content.setState(platform::VisualEffectState::Active);
    content.setMaterial(platform::VisualEffectMaterial::Light);
}

}  // namespace vantor
