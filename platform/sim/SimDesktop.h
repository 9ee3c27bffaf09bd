// The simulated desktop: a deterministic stand-in for macOS on which the tests, the Linux
// program and the scenario player run the agent. It owns every simulated service, wires them
// together and gives the agent one `platform::Platform`, and tests the controls to set up the
// desktop, move virtual time, type and click, look at the outcome and inject failures.
//
// What it models:
// - A virtual clock in integer nanoseconds (absolute time is 1000 s plus it). Tasks run in
//   order of due time, then of scheduling. Blocks and delayed messages scheduled d seconds
//   ahead run 1 µs after their deadline; main-queue blocks run in every common mode, delayed
//   messages in the modes they name, Accessibility callbacks only while the observer's source
//   is added in the current mode (the default mode, unless a nested loop pushed another).
//   Sleeping moves the clock without running anything.
// - One first screen (1920 x 1080 unless set), origin at (0, 0).
// - Applications in order of recent activity, each with a pid, name, bundle path and bundle
//   identifier; front = first not hidden; activating unhides and moves to the front; hiding
//   the front one brings the next one not hidden forward; quitting removes it. The Dock
//   ("com.apple.dock") is a process of its own that can be killed and restarted with a new
//   pid; the agent ("Vantor", pid 500) is a background application, never in the switcher.
//   A termination reaches "terminated" observers (once, new value true) and did-terminate
//   handlers 1 ms later.
// - The Accessibility tree of the Dock (application -> switcher list -> one entry per
//   application), read through distinct element references that compare equal when they
//   point to the same node; reads of a destroyed element fail with kAXErrorInvalidUIElement.
//   Notifications ("AXCreated", "AXSelectedChildrenChanged", "AXUIElementDestroyed") reach
//   observers registered on the element or one above it 1 ms after the change. A batched read
//   is one round trip. Failures of reads, observer creation, registrations and actions can be
//   injected once, N times or always.
// - The HID stream: hardware events carry the live modifier flags; modifier keys produce
//   flags-changed events; the last non-modifier key held repeats (0.375 s, then every
//   0.09 s). Taps (HID before session, the newest first) see events in order and pass, change
//   the flags of, or swallow them; an event posted at the HID level enters before every tap,
//   one posted through a proxy right after that tap; posting never re-enters a callback.
//   Taps can be disabled by timeout or user input (with the notice) or marked slow.
// - The keyboard layout (us unless selected; azerty, qwertz, dvorak): what each key types,
//   which the agent asks for while the switcher shows. Key events name physical keys by their
//   US ANSI key codes whatever the layout.
// - The Dock's switcher (see SimDock and SwitcherLayout), routing of what passes the taps,
//   and each receiver's record of what it got in the printed form of the scenario language.
// - A ledger of every reference-counted object (live, created, over-released), the log lines
//   and a trace with one line per event that matters.
// - The agent's windows (see SimUI): layouts from resources/ built into windows and views,
//   their levels and order, the key window, the overlay, clicks on controls by action, and
//   the whole screen rendered through Cairo (see SimScreenRenderer).
// - The agent's main thread and modal loops (see SimMainThread): the launch runs on a stack of
//   its own, so that a modal loop parks there while the driver moves time; while it is parked,
//   run-loop tasks, clicks and input reach the agent above it, in the modal-panel mode.
// - The agent's termination: terminate unwinds the agent's code; from then on none of it runs
//   (its delayed blocks and notifications are dropped, its taps see nothing, its windows are
//   gone), while the rest of the desktop goes on and still answers.
//
// What it does not model (yet): launching by path, the menu-bar owner apart from "front",
// opening addresses, login items, HTTP answers;
// Accessibility trees of applications other than the Dock; more than one screen for the
// switcher; scroll and tablet events; device-dependent modifier bits and Caps Lock. A tap whose
// source is not serviced in the current mode is skipped instead of stalling input. A killed Dock
// posts no Accessibility notification. Handles may outlive the desktop (releasing them then does
// nothing); callbacks, observers and refcons the agent registers are raw pointers that the
// desktop keeps calling, so an agent object detaches itself before it goes, or the desktop is
// not run any further.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "platform/posix/CairoCanvas.h"
#include "platform/posix/FileSettings.h"
#include "platform/sim/KeyNames.h"
#include "platform/sim/RefLedger.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimDock.h"
#include "platform/sim/SimEventServices.h"
#include "platform/sim/SimHardware.h"
#include "platform/sim/SimHttp.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimProcess.h"
#include "platform/sim/SimRouter.h"
#include "platform/sim/SimRunLoop.h"
#include "platform/sim/SimScreens.h"
#include "platform/sim/SimTrace.h"
#include "platform/sim/SimUI.h"
#include "platform/sim/SimWorkspace.h"

namespace vantor::sim {

class SimDesktop {
public:
    // A 1920 x 1080 first screen, a running Dock, no applications, virtual time 0, and an
    // empty settings store in a fresh temporary folder (removed with the desktop), or the
    // store of `configDir` when one is given.
    explicit SimDesktop(std::string configDir = {});
    ~SimDesktop();
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    platform::Platform& platform() { return platform_; }

    // Setup.
    void setScreenSize(double width, double height) { screens_.setFirstScreenSize(width, height); }
    // A running application at the end of the order (the first added is frontmost). Empty
    // path: "/Applications/NAME.app"; empty bundle identifier: "com.example.NAME". Returns the
    // ref tests address it by: NAME, or NAME#2 for the second of that name.
    std::string addApplication(const std::string& name, const std::string& path = {},
                               const std::string& bundleIdentifier = {});
    // An application starts, in front.
    std::string startApplication(const std::string& name, const std::string& path = {});
    // These answer false for a ref that names no running application.
    bool quitApplication(std::string_view ref);
    bool activateApplication(std::string_view ref);
    bool hideApplication(std::string_view ref);
    void killDock() { dock_.kill(); }
    void startDock() { dock_.start(); }
    bool dockRunning() const { return dock_.running(); }
    std::int32_t dockPid() const { return dock_.pid(); }
    std::optional<std::int32_t> pidOf(std::string_view ref) const;

    // Time.
    Nanos nowNanos() const { return runLoop_.now(); }
    double now() const { return toSeconds(runLoop_.now()); }
    void runFor(double seconds) { runLoop_.runFor(toNanos(seconds)); }
    void runUntil(double seconds) { runLoop_.runUntil(toNanos(seconds)); }
    // Runs until nothing is left to run, at most `horizon` seconds ahead; true when idle.
    bool runUntilIdle(double horizon = 60) { return runLoop_.runUntilIdle(toNanos(horizon)); }

    // The agent's main thread. `launch` runs a call into the agent that may run a modal loop
    // (applicationDidFinishLaunching) and returns when the call has finished, the agent has
    // terminated, or a modal loop waits; runFor and friends then go on running the modal loop.
    // `runOnMainThread` runs any other call into the agent the way the desktop's own input
    // reaches it: above a waiting modal loop, and a termination inside it ends it quietly. A
    // test calls the agent through it when the call may terminate the agent or stop its modal
    // loop.
    void launch(std::function<void()> call) { runLoop_.launch(std::move(call)); }
    void runOnMainThread(const std::function<void()>& call) { runLoop_.deliver(call); }

    // Hardware input. Key names as in the scenario language (A, 7, Tab, LeftCommand, ...);
    // false for an unknown name. Positions in Accessibility coordinates.
    void keyDown(std::uint16_t code) {
        runOnMainThread([&] { hardware_.keyDown(code); });
    }
    void keyUp(std::uint16_t code) {
        runOnMainThread([&] { hardware_.keyUp(code); });
    }
    bool keyDown(std::string_view key);
    bool keyUp(std::string_view key);
    // Down, 0.02 s, up, 0.02 s.
    bool tapKey(std::string_view key);
    void mouseMove(platform::Point to) {
        runOnMainThread([&] { hardware_.mouseMove(to); });
    }
    void mouseDown(platform::MouseButton button, platform::Point at) {
        runOnMainThread([&] { hardware_.mouseButton(button, true, at); });
    }
    void mouseUp(platform::MouseButton button, platform::Point at) {
        runOnMainThread([&] { hardware_.mouseButton(button, false, at); });
    }
    void mouseDrag(platform::MouseButton button, platform::Point to) {
        runOnMainThread([&] { hardware_.mouseDrag(button, to); });
    }
    // The system disables every enabled tap and tells each with the notice
    // (TapDisabledByTimeout or TapDisabledByUserInput).
    void disableTaps(platform::EventType notice) {
        runOnMainThread([&] { events_.disableAllTaps(notice); });
    }
    void setTapsSlow(bool slow) { events_.setAllTapsSlow(slow); }
    // The user selects another keyboard layout (us, azerty, qwertz, dvorak); false for an
    // unknown name. It takes effect at the next key.
    bool selectKeyboardLayout(std::string_view name);

    // The switcher.
    bool switcherShowing() const { return dock_.showing(); }
    bool switcherOpening() const { return dock_.opening(); }
    // The refs of its entries in order, of the highlighted one, and the frames (Accessibility
    // coordinates) of the list and of an entry's icon, while it shows.
    std::vector<std::string> switcherEntries() const;
    std::optional<std::string> highlighted() const;
    std::optional<platform::Rect> listFrame() const { return dock_.listFrame(); }
    std::optional<platform::Rect> iconFrame(std::string_view ref) const;
    // The application's icon on every list the switcher shows, in screen order.
    std::vector<platform::Rect> iconFrames(std::string_view ref) const;

    // Applications. Refs of the front (menu-bar owner) and active application ("" for none),
    // the running applications in order.
    std::string front() const;
    std::string active() const { return workspace_.activeRef(); }
    std::vector<std::string> applicationOrder() const;
    bool running(std::string_view ref) const;
    bool hidden(std::string_view ref) const;
    // The bundle path the application was started from; empty when no application has the name.
    std::string bundlePath(std::string_view ref) const;

    // What a receiver ("Dock", "Vantor", an application's ref) got, and what it got since the
    // last inbox call for it.
    const std::vector<std::string>& received(std::string_view receiver) const {
        return router_.received(receiver);
    }
    std::vector<std::string> inbox(std::string_view receiver) { return router_.inbox(receiver); }

    // Failure injection (see SimAccessibility::failAx).
    void failAx(std::string what, platform::AXError error, int count = 1) {
        accessibility_.failAx(std::move(what), error, count);
    }
    // The running Dock answers every Accessibility call `seconds` late (see
    // SimAccessibility::hang); 0 ends it. A Dock started later answers at once.
    void hangDockAx(double seconds) { accessibility_.hang(dockPid(), toNanos(seconds)); }
    void setTrusted(bool trusted) { accessibility_.setTrusted(trusted); }
    void failTapCreation(int count) { events_.failTapCreation(count); }

    // The agent's windows. The window loaded from that layout (the frontmost visible one, else
    // the newest; null for none), and whether one of that layout is on screen.
    SimWindow* agentWindow(std::string_view name) const { return ui_.window(name); }
    bool windowOpen(std::string_view name) const;
    // The overlay's content shows: its window is visible and its content view not hidden.
    bool overlayVisible() const;
    // The pointer's shape: that of a cursor rectangle under it in the frontmost visible window
    // there, else the arrow.
    platform::Cursor cursor();
    // The shown control of the visible window of that layout wired to `action` (toolbar items
    // included), with that identifier or, for a number, that tag when one is given; the first
    // in the view tree's order. Null for none.
    SimView* control(std::string_view window, std::string_view action,
                     std::string_view tagOrIdentifier = {}) const;
    // Clicks that control (SimView::click: a check box toggles, a radio button turns on, the
    // action is sent; on the main thread, see runOnMainThread); false when there is no such
    // control.
    bool click(std::string_view window, std::string_view action,
               std::string_view tagOrIdentifier = {});
    // The close button of the visible window of that layout; false when none shows or it has
    // no close button.
    bool closeWindow(std::string_view name);

    // Drawing: the whole first screen as it looks now (the desktop, the switcher while it
    // shows, the agent's visible windows), at `scale` pixels per point; and the same as a PNG
    // file (false when it cannot be written).
    std::unique_ptr<platform::CairoCanvas> renderScreen(double scale = 1);
    bool saveScreenPng(const std::string& path, double scale = 1);

    // Accounting.
    std::int64_t roundTrips() const { return accessibility_.roundTrips(); }
    void resetRoundTrips() { accessibility_.resetRoundTrips(); }
    const RefLedger& ledger() const { return ledger_; }
    const std::vector<std::string>& logLines() const { return log_.lines(); }
    const std::vector<std::string>& trace() const { return trace_.lines(); }
    // Stops keeping trace lines and received events, for long soaks.
    void setKeepingRecords(bool keeping);

    // The parts, for finer control.
    SimRunLoop& runLoop() { return runLoop_; }
    SimAccessibility& accessibility() { return accessibility_; }
    SimEventServices& events() { return events_; }
    SimWorkspace& workspace() { return workspace_; }
    SimScreens& screens() { return screens_; }
    SimLog& log() { return log_; }
    SimTrace& tracer() { return trace_; }
    SimDock& dock() { return dock_; }
    SimUI& ui() { return ui_; }
    SimHardware& hardware() { return hardware_; }
    SimProcess& process() { return process_; }
    platform::FileSettings& settings() { return *settings_; }
    const std::string& configDir() const { return configDir_; }
    SimHttp& http() { return http_; }
    SimKeyboardLayout& keyboardLayout() { return keyboardLayout_; }

private:
    // Stops everything of the agent once its process has ended.
    void agentEnded();
    std::string refOf(std::int32_t pid) const;
    std::optional<std::int32_t> runningRegularPid(std::string_view ref) const;

    // Declared in order of construction: the ledger outlives every object it counts.
    RefLedger ledger_;
    SimRunLoop runLoop_;
    SimTrace trace_;
    SimScreens screens_;
    SimWorkspace workspace_;
    SimLog log_;
    SimAccessibility accessibility_;
    SimEventServices events_;
    SimHardware hardware_;
    SimDock dock_;
    SimRouter router_;
    SimUI ui_;
    SimProcess process_;
    bool ownsConfigDir_ = false;
    std::string configDir_;
    std::unique_ptr<platform::FileSettings> settings_;
    SimHttp http_;
    SimKeyboardLayout keyboardLayout_;
    platform::Platform platform_;
};

}  // namespace vantor::sim
