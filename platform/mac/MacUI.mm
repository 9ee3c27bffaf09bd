#import "platform/mac/MacUI.h"

#import <AppKit/AppKit.h>
#include <CoreGraphics/CoreGraphics.h>

#include <memory>
#include <optional>
#include <string>

#import "platform/mac/MacApplication.h"
#include "platform/mac/MacConversions.h"
#include "platform/mac/MacView.h"
#include "platform/mac/MacWindow.h"

namespace vantor::mac {

namespace {

// The text of the resource NAME.json in the main bundle, or none.
std::optional<std::string> layoutText(std::string_view name) {
    NSString* path = [[NSBundle mainBundle] pathForResource:nsString(name) ofType:@"json"];
    if (!path) return std::nullopt;
    NSData* data = [NSData dataWithContentsOfFile:path];
    if (!data) return std::nullopt;
    return std::string(static_cast<const char*>(data.bytes), data.length);
}

// Every character a hint label can show.
constexpr std::string_view kHintCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789?\xC3\x97";

App* application() {
    return [NSApp isKindOfClass:[App class]] ? (App*)NSApp : nil;
}

}  // namespace

MacUI::MacUI() = default;

platform::LoadedLayout MacUI::loadLayout(std::string_view name, platform::ActionTarget& owner) {
    const std::string fileName = std::string(name) + ".json";
    std::string error;
    std::optional<platform::Layout> layout;
    if (const std::optional<std::string> text = layoutText(name)) {
        layout = platform::parseLayout(*text, fileName, error);
    } else {
        error = fileName + ": no such layout";
    }
    if (!layout) {
        NSLog(@"layout %@ fails: %@", nsString(name), nsString(error));
        layout.emplace();
        layout->window.styleMask = platform::StyleMask::borderless();
    }
    return build(name, *layout, owner);
}

platform::LoadedLayout MacUI::build(std::string_view name, const platform::Layout& layout,
                                    platform::ActionTarget& owner) {
    platform::LoadedLayout loaded;
    loaded.window = std::make_unique<MacWindow>(std::string(name), layout.window, &owner);
    for (const platform::LayoutView& view : layout.views)
        loaded.topLevelViews.push_back(std::make_unique<MacView>(view, &owner));
    return loaded;
}

std::int64_t MacUI::windowLevelForKey(std::int32_t key) {
    return CGWindowLevelForKey(static_cast<CGWindowLevelKey>(key));
}

void MacUI::activateIgnoringOtherApps(bool flag) {
    if (@available(macOS 14.0, *)) {
        // From macOS 14 activation is a request the system may turn down, and ignoring other
        // applications has no effect. The agent's windows that can be key (not the overlay) are
        // ordered to the front regardless, keeping their order, so that the preferences window
        // comes up in front as it does before 14.
        [NSApp activate];
        if (!flag) return;
        for (NSWindow* window in [NSApp.orderedWindows reverseObjectEnumerator]) {
            if (window.visible && window.canBecomeKeyWindow) [window orderFrontRegardless];
        }
    } else {
        [NSApp activateIgnoringOtherApps:flag];
    }
}

void MacUI::runModal(platform::Window& window) {
    if (auto* macWindow = dynamic_cast<MacWindow*>(&window))
        [NSApp runModalForWindow:macWindow->nsWindow()];
}

void MacUI::stopModal() {
    [NSApp stopModal];
}

void MacUI::setApplication(platform::ApplicationEvents* application) {
    if (App* app = vantor::mac::application()) app.events = application;
}

bool MacUI::sendAction(std::string_view action) {
    return [NSApp sendAction:NSSelectorFromString(nsString(action)) to:nil from:NSApp];
}

void MacUI::dispatchEvent(const platform::AppEvent& event) {
    if (App* app = application()) [app dispatchEvent:event];
}

void MacUI::prepareTextDrawing() {
    NSBitmapImageRep* bitmap =
        [[NSBitmapImageRep alloc] initWithBitmapDataPlanes:nullptr
                                                pixelsWide:16
                                                pixelsHigh:16
                                             bitsPerSample:8
                                           samplesPerPixel:4
                                                  hasAlpha:YES
                                                  isPlanar:NO
                                            colorSpaceName:NSDeviceRGBColorSpace
                                               bytesPerRow:0
                                              bitsPerPixel:0];
    NSGraphicsContext* context = [NSGraphicsContext graphicsContextWithBitmapImageRep:bitmap];
    if (!context) return;
    [NSGraphicsContext saveGraphicsState];
    NSGraphicsContext.currentContext = context;
    [nsString(kHintCharacters) drawAtPoint:NSZeroPoint
                            withAttributes:@{NSFontAttributeName : [NSFont systemFontOfSize:16]}];
    [NSGraphicsContext restoreGraphicsState];
}

}  // namespace vantor::mac
