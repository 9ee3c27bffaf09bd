#import "platform/mac/MacWindow.h"

#import <AppKit/AppKit.h>

#include <unordered_map>

#include "platform/mac/MacConversions.h"

// The window's NSWindowDelegate: hands windowWillClose: to the agent's delegate.
@interface VantorWindowDelegate : NSObject <NSWindowDelegate>
@property(nonatomic, assign) vantor::platform::WindowDelegate* delegate;
@property(nonatomic, assign) vantor::platform::Window* window;
@end

@implementation VantorWindowDelegate

- (void)windowWillClose:(NSNotification*)notification {
    (void)notification;
    // The agent's delegate may end the window, and this object with it.
    VantorWindowDelegate* keep = self;
    if (keep.delegate && keep.window) keep.delegate->windowWillClose(*keep.window);
}

@end

namespace vantor::mac {

namespace {

std::unordered_map<const void*, MacWindow*>& wrappers() {
    static std::unordered_map<const void*, MacWindow*> map;
    return map;
}

const void* keyOf(NSWindow* window) {
    return (__bridge const void*)window;
}

NSWindowStyleMask styleMaskOf(const platform::StyleMask& style) {
    NSWindowStyleMask mask = NSWindowStyleMaskBorderless;
    if (style.titled) mask |= NSWindowStyleMaskTitled;
    if (style.closable) mask |= NSWindowStyleMaskClosable;
    if (style.miniaturizable) mask |= NSWindowStyleMaskMiniaturizable;
    if (style.resizable) mask |= NSWindowStyleMaskResizable;
    return mask;
}

NSWindow* makeWindow(const platform::LayoutWindow& layout) {
    Class windowClass = layout.className == "NSPanel" ? [NSPanel class] : [NSWindow class];
    NSWindow* window = [[windowClass alloc] initWithContentRect:nsRect(layout.contentRect)
                                                      styleMask:styleMaskOf(layout.styleMask)
                                                        backing:NSBackingStoreBuffered
                                                          defer:YES];
    // The platform window owns it; closing only takes it off the screen.
    window.releasedWhenClosed = NO;
    window.title = nsString(layout.title);
    if (layout.className == "DrawingWindow") {
        // The overlay lies over the switcher wherever that shows: on every Space, beside
        // full-screen windows, without a shadow around its labels.
        window.hasShadow = NO;
        window.collectionBehavior =
            NSWindowCollectionBehaviorCanJoinAllSpaces | NSWindowCollectionBehaviorStationary |
            NSWindowCollectionBehaviorFullScreenAuxiliary | NSWindowCollectionBehaviorIgnoresCycle;
    }
    return window;
}

}  // namespace

MacWindow::MacWindow(std::string name, const platform::LayoutWindow& layout,
                     platform::ActionTarget* target)
    : name_(std::move(name)),
      window_(makeWindow(layout)),
      delegate_([[VantorWindowDelegate alloc] init]),
      content_(std::make_unique<MacView>(layout.contentView, target)) {
    wrappers()[keyOf(window_)] = this;
    delegate_.window = this;
    window_.delegate = delegate_;
    window_.contentView = content_->nsView();
    content_->nsView().autoresizingMask = NSViewWidthSizable | NSViewHeightSizable;
    if (layout.toolbar) {
        toolbar_ = std::make_unique<MacToolbar>(name_, *layout.toolbar, *this, target);
        window_.toolbar = toolbar_->nsToolbar();
        // The toolbar adds to the window: the content area stays as the layout gives it.
        [window_ setContentSize:nsRect(layout.contentRect).size];
    }
}

MacWindow::~MacWindow() {
    wrappers().erase(keyOf(window_));
    window_.delegate = nil;
    delegate_.delegate = nullptr;
    [window_ orderOut:nil];
    window_.toolbar = nil;
}

MacWindow* MacWindow::wrapperOf(NSWindow* window) {
    if (!window) return nullptr;
    const auto it = wrappers().find(keyOf(window));
    return it == wrappers().end() ? nullptr : it->second;
}

platform::Rect MacWindow::frame() const {
    return rectOf(window_.frame);
}

void MacWindow::setFrame(const platform::Rect& frame, bool display, bool animate) {
    [window_ setFrame:nsRect(frame) display:display animate:animate];
}

std::int64_t MacWindow::level() const {
    return window_.level;
}

void MacWindow::setLevel(std::int64_t level) {
    window_.level = static_cast<NSWindowLevel>(level);
}

double MacWindow::alphaValue() const {
    return window_.alphaValue;
}

void MacWindow::setAlphaValue(double alpha) {
    window_.alphaValue = alpha;
}

void MacWindow::setOpaque(bool opaque) {
    window_.opaque = opaque;
}

void MacWindow::setBackgroundColor(const platform::Color& color) {
    window_.backgroundColor = nsColor(color);
}

void MacWindow::setIgnoresMouseEvents(bool ignores) {
    window_.ignoresMouseEvents = ignores;
}

void MacWindow::setTitlebarAppearsTransparent(bool transparent) {
    window_.titlebarAppearsTransparent = transparent;
}

void MacWindow::setTitleVisibility(std::int32_t visibility) {
    window_.titleVisibility = static_cast<NSWindowTitleVisibility>(visibility);
}

void MacWindow::makeKeyAndOrderFront() {
    [window_ makeKeyAndOrderFront:nil];
}

void MacWindow::close() {
    // Kept alive here: the delegate may end this object while the window closes.
    NSWindow* window = window_;
    [window close];
}

bool MacWindow::isVisible() const {
    return window_.visible;
}

void MacWindow::setDelegate(platform::WindowDelegate* delegate) {
    delegate_.delegate = delegate;
}

}  // namespace vantor::mac
