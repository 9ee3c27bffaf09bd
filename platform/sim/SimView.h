// A view or control of the simulated desktop: plain in-memory state built from a window layout
// (frame, hidden, the view tree, identifier, tag, the control's value and action), the hit
// test, the autoresizing of subviews, and what a click on it does.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LayoutFile.h"
#include "platform/UI.h"

namespace vantor::sim {

class SimWindow;
class SimToolbar;

class SimView final : public platform::View {
public:
    // The view the layout describes with its subviews, which it owns; its action (and its
    // subviews') goes to `target`.
    SimView(const platform::LayoutView& layout, platform::ActionTarget* target);
    // Leaves its superview; subviews it does not own are left without a superview.
    ~SimView() override;
    SimView(const SimView&) = delete;
    SimView& operator=(const SimView&) = delete;

    std::string_view className() const override { return className_; }
    std::string_view identifier() const override { return identifier_; }
    std::int64_t tag() const override { return tag_; }

    platform::Rect frame() const override { return frame_; }
    void setFrame(const platform::Rect& frame) override;
    bool isHidden() const override { return hidden_; }
    void setHidden(bool hidden) override;
    void setNeedsDisplay(bool needsDisplay) override { needsDisplay_ = needsDisplay; }

    std::vector<platform::View*> subviews() const override;
    platform::View* superview() const override { return superview_; }
    void addSubview(platform::View& view) override;
    void removeFromSuperview() override;
    platform::Window* window() const override;

    platform::View* hitTest(platform::Point point) override;
    void setBehaviour(platform::ViewBehaviour* behaviour) override { behaviour_ = behaviour; }
    void addCursorRect(const platform::Rect& rect, platform::Cursor cursor) override {
        cursorRects_.push_back({rect, cursor});
    }

    bool isEnabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    platform::ControlState state() const override { return state_; }
    void setState(platform::ControlState state) override;
    void setState(platform::VisualEffectState state) override { effectState_ = state; }
    void setMaterial(platform::VisualEffectMaterial material) override { material_ = material; }
    std::string stringValue() const override { return stringValue_; }
    void setStringValue(std::string_view value) override;
    void setUnderlined(bool underlined) override;
    void setTextContainerInset(platform::Size inset) override { textContainerInset_ = inset; }
    std::string_view action() const override { return action_; }
    // Sends the action to the layout's owner with this view as sender; false when the view is
    // disabled or has no action.
    bool sendAction() override;

    // What the simulator knows beyond the interface.
    platform::ViewKind kind() const { return kind_; }
    bool isEditable() const { return editable_; }
    bool isUnderlined() const { return underlined_; }
    // A visual-effect view's state and material.
    platform::VisualEffectState visualEffectState() const { return effectState_; }
    platform::VisualEffectMaterial material() const { return material_; }
    platform::Size textContainerInset() const { return textContainerInset_; }
    bool needsDisplay() const { return needsDisplay_; }
    platform::ViewBehaviour* behaviour() const { return behaviour_; }
    const std::vector<SimView*>& simSubviews() const { return subviews_; }
    SimView* simSuperview() const { return superview_; }
    SimWindow* simWindow() const;
    // The toolbar this view is an item of, or none.
    SimToolbar* toolbarOwner() const { return toolbar_; }
    // The pointer's shape at `point` of the superview's coordinates, by the cursor rectangles
    // of the visible views there (rebuilt through their behaviours, the last subview asked
    // first); none when no rectangle covers it.
    std::optional<platform::Cursor> cursorAt(platform::Point point);
    // Neither the view nor any view above it is hidden.
    bool isVisibleInTree() const;

    // The user clicks the view (its mouse-up): the behaviour's mouseUp takes it when it wants;
    // otherwise a disabled control ignores it, and an enabled one toggles (check box), turns on
    // (radio button, turning off the other radio buttons of its container with the same
    // action) or selects its toolbar item, then sends its action. The view may be gone when
    // this returns, as the action may close its window. True when anything took the click.
    bool click();

    // Text editing in an editable text field or text view, as far as the edit shortcuts
    // need. Offsets count bytes of the text; setStringValue puts the caret at the end and
    // forgets the undo step.
    // acceptsFirstResponder: an enabled, editable text field or text view.
    bool acceptsFirstResponder() const;
    std::size_t selectionStart() const { return selectionStart_; }
    std::size_t selectionLength() const { return selectionLength_; }
    std::string selectedText() const {
        return stringValue_.substr(selectionStart_, selectionLength_);
    }
    // setSelectedRange:, clamped to the text.
    void setSelectedRange(std::size_t start, std::size_t length);
    // tryToPerform:with: for the edit actions a text view responds to: cut:, copy: (the
    // selection to the pasteboard, if any), paste: (replaces the selection), selectAll:,
    // undo: and redo: (one step each). False for any other action or a view that cannot edit.
    bool tryToPerform(std::string_view action, std::string& pasteboard);
    // insertText:: typing replaces the selection, as one undo step.
    void insertText(std::string_view text);

    // Set up by the window: the content view knows its window, a toolbar item its toolbar.
    void setWindow(SimWindow* window) { window_ = window; }
    void setToolbarOwner(SimToolbar* toolbar) { toolbar_ = toolbar; }

private:
    bool isAncestorOf(const SimView& view) const;
    // A subview follows its superview's change of size as its pin asks.
    void resizeSubviews(platform::Size oldSize);
    void autoresize(platform::Size oldSuperSize, platform::Size newSuperSize);
    void turnOffOtherRadioButtons();
    // The text and selection an undo or redo step returns to.
    struct TextState {
        std::string text;
        std::size_t start = 0;
        std::size_t length = 0;
    };
    TextState textState() const { return {stringValue_, selectionStart_, selectionLength_}; }
    void restore(const TextState& state);
    void replaceSelection(std::string_view with);

    std::string className_;
    platform::ViewKind kind_;
    std::string identifier_;
    std::int64_t tag_;
    platform::Rect frame_;
    std::string stringValue_;
    platform::ControlState state_;
    std::string action_;
    bool enabled_;
    bool hidden_;
    bool editable_;
    platform::Pin pin_;
    bool underlined_ = false;
    platform::VisualEffectState effectState_ =
        platform::VisualEffectState::FollowsWindowActiveState;
    platform::VisualEffectMaterial material_ = platform::VisualEffectMaterial::AppearanceBased;
    platform::Size textContainerInset_;
    bool needsDisplay_ = true;
    std::size_t selectionStart_ = 0;
    std::size_t selectionLength_ = 0;
    std::optional<TextState> undo_;
    std::optional<TextState> redo_;

    platform::ActionTarget* target_;
    platform::ViewBehaviour* behaviour_ = nullptr;
    struct CursorRect {
        platform::Rect rect;
        platform::Cursor cursor;
    };
    std::vector<CursorRect> cursorRects_;
    SimView* superview_ = nullptr;
    std::vector<SimView*> subviews_;
    std::vector<std::unique_ptr<SimView>> owned_;
    SimWindow* window_ = nullptr;
    SimToolbar* toolbar_ = nullptr;
};

}  // namespace vantor::sim
