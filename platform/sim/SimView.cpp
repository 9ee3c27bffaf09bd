#include "platform/sim/SimView.h"

#include <algorithm>

#include "platform/sim/SimWindow.h"

namespace vantor::sim {

using platform::ControlState;
using platform::ViewKind;

namespace {

bool containsPoint(const platform::Rect& r, platform::Point p) {
    return p.x >= r.origin.x && p.x < r.origin.x + r.size.width && p.y >= r.origin.y &&
           p.y < r.origin.y + r.size.height;
}

// How one axis of a view follows a change `delta` of its superview's extent along it: pinned to
// both edges it stretches, to the far edge (right, top) it moves along, to neither it keeps its
// centre, to the near edge (left, bottom) it stays.
void follow(double& origin, double& extent, bool nearEdge, bool farEdge, double delta) {
    if (nearEdge && farEdge) {
        extent = std::max(0.0, extent + delta);
    } else if (farEdge) {
        origin += delta;
    } else if (!nearEdge) {
        origin += delta / 2;
    }
}

}  // namespace

SimView::SimView(const platform::LayoutView& layout, platform::ActionTarget* target)
    : className_(layout.className),
      kind_(layout.kind),
      identifier_(layout.identifier),
      tag_(layout.tag),
      frame_(layout.frame),
      stringValue_(layout.stringValue),
      state_(layout.state),
      action_(layout.action),
      enabled_(layout.enabled),
      hidden_(layout.hidden),
      editable_(layout.editable),
      pin_(layout.pin),
      selectionStart_(stringValue_.size()),
      target_(target) {
    for (const platform::LayoutView& sub : layout.subviews) {
        owned_.push_back(std::make_unique<SimView>(sub, target));
        owned_.back()->superview_ = this;
        subviews_.push_back(owned_.back().get());
    }
}

SimView::~SimView() {
    removeFromSuperview();
    for (SimView* sub : subviews_)
        sub->superview_ = nullptr;
    subviews_.clear();
}

void SimView::setFrame(const platform::Rect& frame) {
    const platform::Size oldSize = frame_.size;
    frame_ = frame;
    needsDisplay_ = true;
    if (oldSize != frame.size) resizeSubviews(oldSize);
}

void SimView::resizeSubviews(platform::Size oldSize) {
    for (SimView* sub : subviews_)
        sub->autoresize(oldSize, frame_.size);
}

void SimView::autoresize(platform::Size oldSuperSize, platform::Size newSuperSize) {
    platform::Rect frame = frame_;
    follow(frame.origin.x, frame.size.width, pin_.left, pin_.right,
           newSuperSize.width - oldSuperSize.width);
    follow(frame.origin.y, frame.size.height, pin_.bottom, pin_.top,
           newSuperSize.height - oldSuperSize.height);
    setFrame(frame);
}

void SimView::setHidden(bool hidden) {
    if (hidden_ == hidden) return;
    hidden_ = hidden;
    needsDisplay_ = true;
    if (window_ && &window_->contentView() == this) window_->contentViewHiddenChanged(hidden);
}

std::vector<platform::View*> SimView::subviews() const {
    return {subviews_.begin(), subviews_.end()};
}

bool SimView::isAncestorOf(const SimView& view) const {
    for (const SimView* v = &view; v; v = v->superview_) {
        if (v == this) return true;
    }
    return false;
}

void SimView::addSubview(platform::View& view) {
    auto* sub = dynamic_cast<SimView*>(&view);
    // A view of another platform, or one that would contain itself, cannot join the tree.
    if (!sub || sub->isAncestorOf(*this)) return;
    sub->removeFromSuperview();
    sub->superview_ = this;
    subviews_.push_back(sub);
    needsDisplay_ = true;
}

void SimView::removeFromSuperview() {
    if (!superview_) return;
    auto& siblings = superview_->subviews_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    superview_->needsDisplay_ = true;
    superview_ = nullptr;
}

SimWindow* SimView::simWindow() const {
    const SimView* root = this;
    while (root->superview_)
        root = root->superview_;
    return root->window_;
}

platform::Window* SimView::window() const {
    return simWindow();
}

bool SimView::isVisibleInTree() const {
    for (const SimView* v = this; v; v = v->superview_) {
        if (v->hidden_) return false;
    }
    return true;
}

platform::View* SimView::hitTest(platform::Point point) {
    if (hidden_ || !containsPoint(frame_, point)) return nullptr;
    const platform::Point local{point.x - frame_.origin.x, point.y - frame_.origin.y};
    // The last subview is drawn on top, so it is asked first.
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        if (platform::View* hit = (*it)->hitTest(local)) return hit;
    }
    return this;
}

std::optional<platform::Cursor> SimView::cursorAt(platform::Point point) {
    if (hidden_ || !containsPoint(frame_, point)) return std::nullopt;
    const platform::Point local{point.x - frame_.origin.x, point.y - frame_.origin.y};
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        if (const auto cursor = (*it)->cursorAt(local)) return cursor;
    }
    cursorRects_.clear();
    if (behaviour_) behaviour_->resetCursorRects(*this);
    for (const CursorRect& entry : cursorRects_) {
        if (containsPoint(entry.rect, local)) return entry.cursor;
    }
    return std::nullopt;
}

void SimView::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    needsDisplay_ = true;
}

void SimView::setState(ControlState state) {
    state_ = state;
    needsDisplay_ = true;
    if (kind_ == ViewKind::RadioButton && state == ControlState::On) turnOffOtherRadioButtons();
}

void SimView::turnOffOtherRadioButtons() {
    if (!superview_) return;
    for (SimView* sibling : superview_->subviews_) {
        if (sibling != this && sibling->kind_ == ViewKind::RadioButton &&
            sibling->action_ == action_ && sibling->state_ != ControlState::Off) {
            sibling->state_ = ControlState::Off;
            sibling->needsDisplay_ = true;
        }
    }
}

void SimView::setStringValue(std::string_view value) {
    stringValue_ = std::string(value);
    needsDisplay_ = true;
    selectionStart_ = stringValue_.size();
    selectionLength_ = 0;
    undo_.reset();
    redo_.reset();
}

void SimView::setUnderlined(bool underlined) {
    underlined_ = underlined;
    needsDisplay_ = true;
}

bool SimView::sendAction() {
    if (!enabled_ || action_.empty() || !target_) return false;
    target_->performAction(action_, this);
    return true;
}

bool SimView::acceptsFirstResponder() const {
    return editable_ && enabled_ && (kind_ == ViewKind::TextField || kind_ == ViewKind::TextView);
}

void SimView::setSelectedRange(std::size_t start, std::size_t length) {
    selectionStart_ = std::min(start, stringValue_.size());
    selectionLength_ = std::min(length, stringValue_.size() - selectionStart_);
}

void SimView::restore(const TextState& state) {
    stringValue_ = state.text;
    selectionStart_ = state.start;
    selectionLength_ = state.length;
    needsDisplay_ = true;
}

void SimView::replaceSelection(std::string_view with) {
    undo_ = textState();
    redo_.reset();
    stringValue_.replace(selectionStart_, selectionLength_, with);
    selectionStart_ += with.size();
    selectionLength_ = 0;
    needsDisplay_ = true;
}

void SimView::insertText(std::string_view text) {
    if (acceptsFirstResponder()) replaceSelection(text);
}

bool SimView::tryToPerform(std::string_view action, std::string& pasteboard) {
    if (!acceptsFirstResponder()) return false;
    if (action == "copy:" || action == "cut:") {
        if (selectionLength_ == 0) return true;
        pasteboard = selectedText();
        if (action == "cut:") replaceSelection({});
    } else if (action == "paste:") {
        replaceSelection(pasteboard);
    } else if (action == "selectAll:") {
        setSelectedRange(0, stringValue_.size());
    } else if (action == "undo:" || action == "redo:") {
        std::optional<TextState>& from = action == "undo:" ? undo_ : redo_;
        std::optional<TextState>& to = action == "undo:" ? redo_ : undo_;
        if (from) {
            to = textState();
            restore(*from);
            from.reset();
        }
    } else {
        return false;
    }
    return true;
}

bool SimView::click() {
    if (behaviour_ && behaviour_->mouseUp(*this)) return true;
    if (!enabled_) return false;
    switch (kind_) {
        case ViewKind::CheckBox:
            setState(state_ == ControlState::On ? ControlState::Off : ControlState::On);
            break;
        case ViewKind::RadioButton:
            setState(ControlState::On);
            break;
        default:
            break;
    }
    if (toolbar_) toolbar_->itemClicked(*this);
    const bool took =
        kind_ == ViewKind::CheckBox || kind_ == ViewKind::RadioButton || toolbar_ != nullptr;
    // Nothing of the view is touched after the action: it may have closed the window.
    return sendAction() || took;
}

}  // namespace vantor::sim
