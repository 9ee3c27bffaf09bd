#include "platform/sim/SimDesktop.h"

#include <unistd.h>  // mkdtemp on macOS

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/sim/SimScreenRenderer.h"

namespace vantor::sim {

namespace {

constexpr Nanos kKeyTapPause = 20 * kMillisecond;

// A fresh folder for one desktop's settings, under the system's temporary folder.
std::string makeTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantor-sim-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    return pattern;
}

}  // namespace

SimDesktop::SimDesktop(std::string configDir)
    : runLoop_(ledger_),
      trace_(runLoop_),
      workspace_(runLoop_, trace_),
      log_(trace_, runLoop_, SimWorkspace::kAgentPid),
      accessibility_(ledger_, runLoop_, trace_),
      events_(ledger_, runLoop_, trace_, screens_),
      hardware_(events_, runLoop_),
      dock_(runLoop_, accessibility_, workspace_, screens_, trace_),
      router_(dock_, workspace_),
      ui_(workspace_, trace_, runLoop_),
      process_(trace_),
      ownsConfigDir_(configDir.empty()),
      configDir_(ownsConfigDir_ ? makeTemporaryFolder() : std::move(configDir)),
      settings_(std::make_unique<platform::FileSettings>(log_, configDir_)),
      http_(runLoop_, trace_),
      platform_{accessibility_, events_,    runLoop_, workspace_,     screens_, log_, ui_,
                process_,       *settings_, http_,    keyboardLayout_} {
    runLoop_.setSettle([this] { http_.settle(); });
    events_.setDownstream([this](const platform::TapEvent& event) { router_.route(event); });
    router_.setAgentKeys([this](const platform::TapEvent& event) { ui_.agentKeyEvent(event); });
    process_.setOnTerminate([this] { agentEnded(); });
    dock_.start();
}

SimDesktop::~SimDesktop() {
    // A modal loop still waiting is unwound while everything it may reach still exists.
    runLoop_.mainThread().unwind();
    runLoop_.setSettle(nullptr);
    if (ownsConfigDir_ && !configDir_.empty()) {
        std::error_code error;
        std::filesystem::remove_all(configDir_, error);
    }
}

std::string SimDesktop::addApplication(const std::string& name, const std::string& path,
                                       const std::string& bundleIdentifier) {
    return refOf(workspace_.addApplication(name, path, bundleIdentifier, false));
}

std::string SimDesktop::startApplication(const std::string& name, const std::string& path) {
    return refOf(workspace_.addApplication(name, path, {}, true));
}

bool SimDesktop::quitApplication(std::string_view ref) {
    const auto pid = runningRegularPid(ref);
    if (pid) workspace_.terminate(*pid);
    return pid.has_value();
}

bool SimDesktop::activateApplication(std::string_view ref) {
    const auto pid = runningRegularPid(ref);
    if (pid) workspace_.activate(*pid);
    return pid.has_value();
}

bool SimDesktop::hideApplication(std::string_view ref) {
    const auto pid = runningRegularPid(ref);
    if (pid) workspace_.hide(*pid);
    return pid.has_value();
}

std::optional<std::int32_t> SimDesktop::pidOf(std::string_view ref) const {
    const SimApplication* app = workspace_.findByRef(ref);
    if (!app) return std::nullopt;
    return app->pid;
}

void SimDesktop::agentEnded() {
    runLoop_.agentEnded();
    for (const auto& tap : events_.taps())
        tap->enabled = false;
    ui_.agentEnded();
}

bool SimDesktop::keyDown(std::string_view key) {
    const auto code = keyCodeForName(key);
    if (code) keyDown(*code);
    return code.has_value();
}

bool SimDesktop::keyUp(std::string_view key) {
    const auto code = keyCodeForName(key);
    if (code) keyUp(*code);
    return code.has_value();
}

bool SimDesktop::selectKeyboardLayout(std::string_view name) {
    if (!keyboardLayout_.select(name)) return false;
    trace_.add("keyboard layout " + std::string(name));
    return true;
}

bool SimDesktop::tapKey(std::string_view key) {
    const auto code = keyCodeForName(key);
    if (!code) return false;
    keyDown(*code);
    runLoop_.runFor(kKeyTapPause);
    keyUp(*code);
    runLoop_.runFor(kKeyTapPause);
    return true;
}

std::vector<std::string> SimDesktop::switcherEntries() const {
    std::vector<std::string> refs;
    for (std::int32_t pid : dock_.entryPids())
        refs.push_back(refOf(pid));
    return refs;
}

std::optional<std::string> SimDesktop::highlighted() const {
    const auto pid = dock_.highlightedPid();
    if (!pid) return std::nullopt;
    return refOf(*pid);
}

std::optional<platform::Rect> SimDesktop::iconFrame(std::string_view ref) const {
    const auto pid = pidOf(ref);
    if (!pid) return std::nullopt;
    return dock_.iconFrame(*pid);
}

std::vector<platform::Rect> SimDesktop::iconFrames(std::string_view ref) const {
    const auto pid = pidOf(ref);
    if (!pid) return {};
    return dock_.iconFrames(*pid);
}

std::string SimDesktop::front() const {
    const SimApplication* app = workspace_.front();
    return app ? app->ref : std::string();
}

std::vector<std::string> SimDesktop::applicationOrder() const {
    std::vector<std::string> refs;
    for (const SimApplication* app : workspace_.applications())
        refs.push_back(app->ref);
    return refs;
}

bool SimDesktop::running(std::string_view ref) const {
    const SimApplication* app = workspace_.findByRef(ref);
    return app && app->running;
}

std::string SimDesktop::bundlePath(std::string_view ref) const {
    const SimApplication* app = workspace_.findByRef(ref);
    return app ? app->bundlePath : std::string();
}

bool SimDesktop::hidden(std::string_view ref) const {
    const SimApplication* app = workspace_.findByRef(ref);
    return app && app->running && app->hidden;
}

bool SimDesktop::windowOpen(std::string_view name) const {
    const SimWindow* window = ui_.window(name);
    return window && window->isVisible();
}

platform::Cursor SimDesktop::cursor() {
    const platform::Point pointer = events_.mouseLocation();
    const std::vector<SimWindow*> shown = ui_.screenOrder();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        const platform::Rect frame = (*it)->frame();
        const platform::Point inWindow{pointer.x - frame.origin.x, pointer.y - frame.origin.y};
        if (inWindow.x < 0 || inWindow.y < 0 || inWindow.x >= frame.size.width ||
            inWindow.y >= frame.size.height)
            continue;
        return (*it)->simContentView().cursorAt(inWindow).value_or(platform::Cursor::Arrow);
    }
    return platform::Cursor::Arrow;
}

bool SimDesktop::overlayVisible() const {
    const SimWindow* overlay = ui_.overlay();
    return overlay && overlay->isVisible() && !overlay->simContentView().isHidden();
}

namespace {

bool matches(const SimView& view, std::string_view action, std::string_view tagOrIdentifier) {
    if (view.action() != action) return false;
    if (tagOrIdentifier.empty() || view.identifier() == tagOrIdentifier) return true;
    std::int64_t tag = 0;
    const char* end = tagOrIdentifier.data() + tagOrIdentifier.size();
    const auto [ptr, ec] = std::from_chars(tagOrIdentifier.data(), end, tag);
    return ec == std::errc() && ptr == end && view.tag() == tag;
}

SimView* findControl(SimView& view, std::string_view action, std::string_view tagOrIdentifier) {
    if (view.isHidden()) return nullptr;
    if (matches(view, action, tagOrIdentifier)) return &view;
    for (SimView* sub : view.simSubviews()) {
        if (SimView* found = findControl(*sub, action, tagOrIdentifier)) return found;
    }
    return nullptr;
}

}  // namespace

SimView* SimDesktop::control(std::string_view window, std::string_view action,
                             std::string_view tagOrIdentifier) const {
    SimWindow* win = ui_.window(window);
    if (!win || !win->isVisible()) return nullptr;
    if (const SimToolbar* toolbar = win->simToolbar()) {
        for (const auto& item : toolbar->items()) {
            if (matches(*item, action, tagOrIdentifier)) return item.get();
        }
    }
    return findControl(win->simContentView(), action, tagOrIdentifier);
}

bool SimDesktop::click(std::string_view window, std::string_view action,
                       std::string_view tagOrIdentifier) {
    SimView* view = control(window, action, tagOrIdentifier);
    if (!view) return false;
    runOnMainThread([view] { view->click(); });
    return true;
}

bool SimDesktop::closeWindow(std::string_view name) {
    SimWindow* window = ui_.window(name);
    if (!window || !window->isVisible() || !window->styleMask().closable) return false;
    runOnMainThread([window] { window->close(); });
    return true;
}

std::unique_ptr<platform::CairoCanvas> SimDesktop::renderScreen(double scale) {
    return sim::renderScreen(screens_, dock_, workspace_, ui_, scale);
}

bool SimDesktop::saveScreenPng(const std::string& path, double scale) {
    return renderScreen(scale)->writePng(path);
}

void SimDesktop::setKeepingRecords(bool keeping) {
    trace_.setKeeping(keeping);
    router_.setKeeping(keeping);
}

std::string SimDesktop::refOf(std::int32_t pid) const {
    const SimApplication* app = workspace_.find(pid);
    return app ? app->ref : std::to_string(pid);
}

std::optional<std::int32_t> SimDesktop::runningRegularPid(std::string_view ref) const {
    const SimApplication* app = workspace_.findByRef(ref);
    if (!app || !app->running || app->kind != SimApplication::Kind::Regular) return std::nullopt;
    return app->pid;
}

}  // namespace vantor::sim
