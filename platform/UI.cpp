#include "platform/UI.h"

namespace vantor::platform {

View* findViewWithIdentifier(View& root, std::string_view identifier) {
    if (identifier.empty()) return nullptr;
    if (root.identifier() == identifier) return &root;
    for (View* sub : root.subviews()) {
        if (View* found = findViewWithIdentifier(*sub, identifier)) return found;
    }
    return nullptr;
}

View* LoadedLayout::viewWithIdentifier(std::string_view identifier) const {
    if (window) {
        if (View* found = findViewWithIdentifier(window->contentView(), identifier)) return found;
    }
    for (const auto& view : topLevelViews) {
        if (View* found = findViewWithIdentifier(*view, identifier)) return found;
    }
    return nullptr;
}

}  // namespace vantor::platform
