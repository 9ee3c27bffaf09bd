// The agent's user interface on the simulated desktop: window layouts loaded by name from
// resources/ and built into SimWindow and SimView objects, window levels, the agent's
// activation, and the bookkeeping of its windows: which are on screen and in what order, which
// one is key, and the trace lines of windows opened and closed and of the overlay.
//
// The agent is active after activateIgnoringOtherApps; while it is, the last titled window it
// brought forward is its key window. When its last visible titled window goes, the frontmost
// regular application is active again. The overlay (borderless) never becomes key.
//
// Key events that reach the agent while it has a key window go through the installed
// application object's sendEvent (else straight to the normal dispatch, which types printable
// characters into the key window's first responder); actions sent to nil go to that first
// responder and the views above it. One general pasteboard holds text.
//
// A modal loop (runModal) orders its window front and runs the main run loop in the modal-panel
// mode until stopModal; it runs only inside a call launched on the agent's main thread (see
// SimMainThread), where it parks while the driver moves time. When the agent's process ends,
// its windows leave the screen without telling their delegates.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/EventServices.h"
#include "platform/LayoutFile.h"
#include "platform/UI.h"
#include "platform/sim/SimRunLoop.h"
#include "platform/sim/SimTrace.h"
#include "platform/sim/SimWindow.h"
#include "platform/sim/SimWorkspace.h"

namespace vantor::sim {

class SimUI final : public platform::UI {
public:
    SimUI(SimWorkspace& workspace, SimTrace& trace, SimRunLoop& runLoop);
    // Windows that outlive the UI report to nobody.
    ~SimUI() override;
    SimUI(const SimUI&) = delete;
    SimUI& operator=(const SimUI&) = delete;

    // Reads resources/NAME.json. A layout that is missing or malformed gives an empty
    // borderless window named NAME; the trace and loadErrors() say what was wrong.
    platform::LoadedLayout loadLayout(std::string_view name,
                                      platform::ActionTarget& owner) override;
    std::int64_t windowLevelForKey(std::int32_t key) override;
    void activateIgnoringOtherApps(bool flag) override;
    // Traces "modal NAME begins" and, when it returns, "modal NAME ends". Throws
    // std::logic_error outside a call launched on the agent's main thread.
    void runModal(platform::Window& window) override;
    void stopModal() override;
    void setApplication(platform::ApplicationEvents* application) override {
        application_ = application;
    }
    bool sendAction(std::string_view action) override;
    // Records the event (see dispatched()); a key-down without Command or Control types its
    // characters into the key window's first responder.
    void dispatchEvent(const platform::AppEvent& event) override;
    // Start the text drawing of the canvases the simulated screen is drawn on (fontconfig, the
    // system font) and, for the fonts given, each size's faces and glyphs.
    void prepareTextDrawing() override;
    void prepareTextDrawingInFonts(std::span<const platform::Font> fonts) override;

    // A key event that passed the taps and the Dock while the agent is active: nothing without
    // a key window; else, as an AppEvent (characters: letters, lower case unless Shift is
    // held, digits and Space), to the application object or the normal dispatch.
    void agentKeyEvent(const platform::TapEvent& event);
    // The events that reached the normal dispatch, oldest first.
    const std::vector<platform::AppEvent>& dispatched() const { return dispatched_; }
    // The general pasteboard's text.
    const std::string& pasteboard() const { return pasteboard_; }
    void setPasteboard(std::string text) { pasteboard_ = std::move(text); }
    // The key window's first responder, or null.
    SimView* firstResponder() const { return keyWindow_ ? keyWindow_->firstResponder() : nullptr; }

    // Builds a layout already read, its window named `name`.
    platform::LoadedLayout build(std::string_view name, const platform::Layout& layout,
                                 platform::ActionTarget& owner);

    // The live windows in order of creation.
    std::vector<SimWindow*> windows() const;
    // The visible windows from back to front: by level, then by order-front.
    std::vector<SimWindow*> screenOrder() const;
    // The window loaded from that layout: the frontmost visible one, else the newest; null
    // for none.
    SimWindow* window(std::string_view name) const;
    // The first overlay window (content view a DrawingView) of those open, or null: the one
    // over the switcher's first list.
    SimWindow* overlay() const;
    SimWindow* keyWindow() const { return keyWindow_; }
    // The window of the innermost running modal loop, or null.
    SimWindow* modalWindow() const {
        return modalWindows_.empty() ? nullptr : modalWindows_.back();
    }
    // The agent's process has ended: every window of it leaves the screen.
    void agentEnded();
    // One message per layout that failed to load.
    const std::vector<std::string>& loadErrors() const { return loadErrors_; }

private:
    friend class SimWindow;
    std::uint64_t windowCreated(SimWindow& window);
    void windowDestroyed(SimWindow& window);
    void windowOrderedFront(SimWindow& window, bool appeared);
    void windowOrderedOut(SimWindow& window);
    bool alive(std::uint64_t id) const { return windows_.contains(id); }
    void trace(std::string_view line) { trace_.add(line); }
    // After the key window went: the frontmost visible titled window, or none (and then the
    // agent gives up being active).
    void chooseKeyWindow();

    SimWorkspace& workspace_;
    SimTrace& trace_;
    SimRunLoop& runLoop_;
    std::map<std::uint64_t, SimWindow*> windows_;  // live windows by id, in order of creation
    std::uint64_t nextId_ = 1;
    std::uint64_t nextOrder_ = 1;
    SimWindow* keyWindow_ = nullptr;
    std::vector<SimWindow*> modalWindows_;  // innermost last
    std::vector<std::string> loadErrors_;
    platform::ApplicationEvents* application_ = nullptr;
    std::vector<platform::AppEvent> dispatched_;
    std::string pasteboard_;
};

}  // namespace vantor::sim
