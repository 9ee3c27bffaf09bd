// Windows, views and controls (AppKit's NSWindow, NSView, NSControl and friends) as far as the
// agent uses them, built by the platform from the window layouts in resources/ and wired to a
// controller by action name.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Geometry.h"

namespace vantor::platform {

class Window;
class View;

// NSControlStateValue
enum class ControlState : std::int32_t { Mixed = -1, Off = 0, On = 1 };

// NSVisualEffectState and the NSVisualEffectMaterial values the agent uses.
enum class VisualEffectState : std::int32_t {
    FollowsWindowActiveState = 0,
    Active = 1,
    Inactive = 2,
};
enum class VisualEffectMaterial : std::int32_t { AppearanceBased = 0, Light = 1, Dark = 2 };

// The pointer shapes a view can ask for over a rectangle of it (NSCursor arrowCursor,
// pointingHandCursor).
enum class Cursor : std::int32_t { Arrow = 0, PointingHand = 1 };

// NSWindowTitleVisibility
inline constexpr std::int32_t kWindowTitleVisible = 0;
inline constexpr std::int32_t kWindowTitleHidden = 1;

// What a view of one of the agent's own classes does beyond a plain view: its drawRect: and
// its mouseUp: (the overlay's DrawingView, the link field). Set on the view after loading.
class ViewBehaviour {
public:
    virtual ~ViewBehaviour() = default;
    // drawRect: in the view's own coordinates (origin bottom-left, y up).
    virtual void drawRect(Canvas& canvas, const Rect& dirtyRect) {
        (void)canvas;
        (void)dirtyRect;
    }
    // mouseUp: answers true when it handled the click, false to let the view handle it.
    virtual bool mouseUp(View& view) {
        (void)view;
        return false;
    }
    // resetCursorRects: the view's cursor rectangles are being rebuilt; add them with
    // View::addCursorRect.
    virtual void resetCursorRects(View& view) { (void)view; }
};

// The receiver of actions sent by controls, by action name ("showPref:", "switchTab:" …):
// the window layout's target-action connections, made by name to the owning controller.
class ActionTarget {
public:
    virtual ~ActionTarget() = default;
    virtual void performAction(std::string_view action, View* sender) = 0;
};

// NSEventType values of the key events the application object sees.
enum class AppEventType : std::uint32_t { KeyDown = 10, KeyUp = 11, FlagsChanged = 12 };

// NSEvent as the application object's sendEvent: reads it: type, modifierFlags (the
// device-independent bits lie in 0xFFFF0000: Shift 0x20000, Command 0x100000),
// charactersIgnoringModifiers (Shift still applies: Command-Shift-Z gives "Z") and keyCode.
struct AppEvent {
    AppEventType type = AppEventType::KeyDown;
    std::uint64_t modifierFlags = 0;
    std::string charactersIgnoringModifiers;
    std::uint16_t keyCode = 0;
};

// The agent's NSApplication subclass, as far as it overrides the event dispatch.
class ApplicationEvents {
public:
    virtual ~ApplicationEvents() = default;
    // -[NSApplication sendEvent:]: every event the application receives passes through it.
    virtual void sendEvent(const AppEvent& event) = 0;
};

// NSWindowDelegate, as far as the agent uses it.
class WindowDelegate {
public:
    virtual ~WindowDelegate() = default;
    // windowWillClose:
    virtual void windowWillClose(Window& window) = 0;
};

// NSView, NSControl, NSButton, NSTextField, NSToolbarItem's view and NSVisualEffectView share
// this one interface; operations a kind of view does not have do nothing there.
class View {
public:
    virtual ~View() = default;

    // The class name the layout gives ("NSView", "NSButton", "DrawingView" …).
    virtual std::string_view className() const = 0;
    // identifier (NSUserInterfaceItemIdentification); empty when it has none.
    virtual std::string_view identifier() const = 0;
    // tag
    virtual std::int64_t tag() const = 0;

    // frame, in the superview's coordinates (origin bottom-left, y up).
    virtual Rect frame() const = 0;
    virtual void setFrame(const Rect& frame) = 0;
    // hidden: a hidden view and its subviews are not drawn and take no clicks.
    virtual bool isHidden() const = 0;
    virtual void setHidden(bool hidden) = 0;
    // setNeedsDisplay:
    virtual void setNeedsDisplay(bool needsDisplay) = 0;

    // subviews, superview, addSubview:, removeFromSuperview, window
    virtual std::vector<View*> subviews() const = 0;
    virtual View* superview() const = 0;
    virtual void addSubview(View& view) = 0;
    virtual void removeFromSuperview() = 0;
    virtual Window* window() const = 0;

    // hitTest: the deepest visible view under a point of the superview's coordinates, or none.
    virtual View* hitTest(Point point) = 0;

    // The agent's own behaviour of a view of one of its classes (not owned).
    virtual void setBehaviour(ViewBehaviour* behaviour) = 0;
    // addCursorRect:cursor:, from the behaviour's resetCursorRects only: over `rect` (the
    // view's own coordinates) the pointer takes that shape.
    virtual void addCursorRect(const Rect& rect, Cursor cursor) = 0;

    // NSControl: enabled, state (check boxes and radio buttons), stringValue (text fields and
    // button titles), the action name, and sendAction:to: of that action to the target.
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual ControlState state() const = 0;
    virtual void setState(ControlState state) = 0;
    // NSVisualEffectView setState:, setMaterial:.
    virtual void setState(VisualEffectState state) = 0;
    virtual void setMaterial(VisualEffectMaterial material) = 0;
    virtual std::string stringValue() const = 0;
    virtual void setStringValue(std::string_view value) = 0;
    // A single underline over the whole attributed string (NSUnderlineStyleAttributeName).
    virtual void setUnderlined(bool underlined) = 0;
    // NSTextView setTextContainerInset: the room between the view's edges and its text.
    virtual void setTextContainerInset(Size inset) = 0;
    virtual std::string_view action() const = 0;
    virtual bool sendAction() = 0;
};

// NSToolbar with selectable items.
class Toolbar {
public:
    virtual ~Toolbar() = default;
    virtual std::string selectedItemIdentifier() const = 0;
    virtual void setSelectedItemIdentifier(std::string_view identifier) = 0;
};

class Window {
public:
    virtual ~Window() = default;

    // The layout name the window was loaded from.
    virtual std::string_view name() const = 0;

    // frame in screen coordinates (origin bottom-left of the first screen, y up);
    // setFrame:display:animate:.
    virtual Rect frame() const = 0;
    virtual void setFrame(const Rect& frame, bool display, bool animate = false) = 0;
    // level, setLevel: (a level from windowLevelForKey).
    virtual std::int64_t level() const = 0;
    virtual void setLevel(std::int64_t level) = 0;
    // alphaValue, setAlphaValue:
    virtual double alphaValue() const = 0;
    virtual void setAlphaValue(double alpha) = 0;
    // setOpaque:, setBackgroundColor:, setIgnoresMouseEvents:
    virtual void setOpaque(bool opaque) = 0;
    virtual void setBackgroundColor(const Color& color) = 0;
    virtual void setIgnoresMouseEvents(bool ignores) = 0;
    // setTitlebarAppearsTransparent:, setTitleVisibility: (NSWindowTitleVisibility).
    virtual void setTitlebarAppearsTransparent(bool transparent) = 0;
    virtual void setTitleVisibility(std::int32_t visibility) = 0;

    // contentView; toolbar (none when the window has none).
    virtual View& contentView() = 0;
    virtual Toolbar* toolbar() = 0;

    // makeKeyAndOrderFront:, orderFront:, close (which tells the delegate windowWillClose:),
    // isVisible.
    virtual void makeKeyAndOrderFront() = 0;
    virtual void close() = 0;
    virtual bool isVisible() const = 0;
    virtual void setDelegate(WindowDelegate* delegate) = 0;
};

// What loading a window layout gives: the window and the layout's other top-level views
// (pages that a controller swaps into the window), each found by identifier.
struct LoadedLayout {
    std::unique_ptr<Window> window;
    std::vector<std::unique_ptr<View>> topLevelViews;

    // The first view with this identifier in the window or the top-level views, depth first.
    View* viewWithIdentifier(std::string_view identifier) const;
};

class UI {
public:
    virtual ~UI() = default;

    // loadNibNamed:owner:: builds the layout of that name, its actions sent to `owner`.
    // An empty window when no layout has that name.
    virtual LoadedLayout loadLayout(std::string_view name, ActionTarget& owner) = 0;

    // CGWindowLevelForKey
    virtual std::int64_t windowLevelForKey(std::int32_t key) = 0;

    // [NSApp activateIgnoringOtherApps:]
    virtual void activateIgnoringOtherApps(bool flag) = 0;

    // [NSApp runModalForWindow:]: shows the window and runs a modal loop for it in the
    // modal-panel run-loop mode; returns once stopModal has been called.
    virtual void runModal(Window& window) = 0;
    // [NSApp stopModal]: the running modal loop ends, and its runModal returns.
    virtual void stopModal() = 0;

    // NSApplicationMain with the agent's NSApplication subclass as NSPrincipalClass: from now
    // on every event the application receives goes to `application`'s sendEvent: (null: the
    // platform's own dispatch). Not owned.
    virtual void setApplication(ApplicationEvents* application) = 0;
    // [NSApp sendAction:NSSelectorFromString(action) to:nil from:NSApp]: offers the action to
    // the key window's first responder and the chain above it; true when a responder took it.
    virtual bool sendAction(std::string_view action) = 0;
    // [super sendEvent:] from the NSApplication subclass: the platform's normal dispatch (a
    // typed character goes to the key window's first responder).
    virtual void dispatchEvent(const AppEvent& event) = 0;

    // Readies text drawing at the application's start, so that the first window drawing text
    // (the overlay's hint labels) is as quick as the ones after it: the font system starts and
    // the hint characters are rendered once, off screen; nothing is shown. Where there is
    // nothing to prepare it does nothing. (On macOS: the hint characters drawn once with
    // [NSString drawAtPoint:withAttributes:] into an offscreen NSBitmapImageRep.)
    virtual void prepareTextDrawing() {}
    // The same for text in these system fonts in particular, where each new size costs a
    // preparation of its own; by default the general one above.
    virtual void prepareTextDrawingInFonts(std::span<const Font> fonts) {
        (void)fonts;
        prepareTextDrawing();
    }
};

// The first view with this identifier in a view tree, depth first, the root included.
View* findViewWithIdentifier(View& root, std::string_view identifier);

}  // namespace vantor::platform
