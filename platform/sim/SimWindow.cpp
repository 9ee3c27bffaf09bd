#include "platform/sim/SimWindow.h"

#include <fmt/format.h>

#include <algorithm>

#include "platform/sim/SimUI.h"

namespace vantor::sim {

namespace {

platform::LayoutView toolbarItemView(const platform::LayoutToolbarItem& item,
                                     const std::string& action) {
    platform::LayoutView view;
    view.className = "NSToolbarItem";
    view.identifier = item.identifier;
    view.stringValue = item.label;
    view.action = action;
    return view;
}

// `view` is `root` or lies below it; compares addresses only, so a view already gone is
// safely not found.
bool inTree(const SimView& root, const SimView* view) {
    if (&root == view) return true;
    return std::any_of(root.simSubviews().begin(), root.simSubviews().end(),
                       [&](const SimView* sub) { return inTree(*sub, view); });
}

// The first view of the tree, depth first, that accepts first responder, or null.
SimView* firstAcceptingView(SimView& root) {
    if (root.acceptsFirstResponder()) return &root;
    for (SimView* sub : root.simSubviews()) {
        if (SimView* found = firstAcceptingView(*sub)) return found;
    }
    return nullptr;
}

}  // namespace

SimToolbar::SimToolbar(SimWindow& window, const platform::LayoutToolbar& layout,
                       platform::ActionTarget* target)
    : window_(window), selectable_(layout.selectable), selected_(layout.selected) {
    for (const platform::LayoutToolbarItem& item : layout.items) {
        items_.push_back(std::make_unique<SimView>(toolbarItemView(item, layout.action), target));
        items_.back()->setWindow(&window_);
        items_.back()->setToolbarOwner(this);
    }
}

void SimToolbar::setSelectedItemIdentifier(std::string_view identifier) {
    selected_ = std::string(identifier);
}

void SimToolbar::itemClicked(const SimView& item) {
    if (selectable_) selected_ = std::string(item.identifier());
}

SimWindow::SimWindow(SimUI* ui, std::string name, const platform::LayoutWindow& layout,
                     platform::ActionTarget* target)
    : ui_(ui),
      name_(std::move(name)),
      className_(layout.className),
      styleMask_(layout.styleMask),
      title_(layout.title),
      content_(std::make_unique<SimView>(layout.contentView, target)) {
    if (layout.toolbar) toolbar_ = std::make_unique<SimToolbar>(*this, *layout.toolbar, target);
    content_->setWindow(this);
    const platform::Rect content = layout.contentRect;
    frame_ = {content.origin, {content.size.width, content.size.height + chromeHeight()}};
    content_->setFrame({{0, 0}, content.size});
    if (ui_) id_ = ui_->windowCreated(*this);
}

SimWindow::~SimWindow() {
    if (!ui_) return;
    orderOut();
    ui_->windowDestroyed(*this);
}

bool SimWindow::isOverlay() const {
    return content_->className() == "DrawingView";
}

double SimWindow::chromeHeight() const {
    if (!styleMask_.titled) return 0;
    return kTitleBarHeight + (toolbar_ ? kToolbarHeight : 0);
}

void SimWindow::setFrame(const platform::Rect& frame, bool display, bool animate) {
    frame_ = frame;
    ++frameChanges_;
    lastFrameChange_ = FrameChange{frame, display, animate};
    const double contentHeight = std::max(0.0, frame.size.height - chromeHeight());
    content_->setFrame({{0, 0}, {frame.size.width, contentHeight}});
    if (ui_ && isOverlay()) {
        ui_->trace(fmt::format("overlay moves to {} {} {} {}", frame.origin.x, frame.origin.y,
                               frame.size.width, frame.size.height));
    }
}

SimView* SimWindow::firstResponder() const {
    if (!firstResponder_ || !inTree(*content_, firstResponder_)) return nullptr;
    return firstResponder_->acceptsFirstResponder() ? firstResponder_ : nullptr;
}

bool SimWindow::makeFirstResponder(SimView* view) {
    if (view && (!inTree(*content_, view) || !view->acceptsFirstResponder())) return false;
    firstResponder_ = view;
    return true;
}

void SimWindow::makeKeyAndOrderFront() {
    const bool appeared = !visible_;
    visible_ = true;
    if (!firstResponder()) firstResponder_ = firstAcceptingView(*content_);
    if (ui_) ui_->windowOrderedFront(*this, appeared);
}

void SimWindow::close() {
    if (!ui_) {
        visible_ = false;
        if (delegate_) delegate_->windowWillClose(*this);
        return;
    }
    SimUI* ui = ui_;
    const std::uint64_t id = id_;
    if (delegate_) delegate_->windowWillClose(*this);
    // The delegate may have released the window; then its destruction took it off the screen.
    if (!ui->alive(id)) return;
    orderOut();
}

void SimWindow::orderOut() {
    if (!visible_) return;
    visible_ = false;
    if (ui_) ui_->windowOrderedOut(*this);
}

void SimWindow::contentViewHiddenChanged(bool hidden) {
    if (ui_ && isOverlay()) ui_->trace(hidden ? "overlay hides" : "overlay shows");
}

}  // namespace vantor::sim
