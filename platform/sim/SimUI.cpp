#include "platform/sim/SimUI.h"

#include <fmt/format.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <stdexcept>

#include "platform/posix/CairoCanvas.h"
#include "platform/sim/KeyNames.h"
#include "platform/sim/SimResources.h"

namespace vantor::sim {

namespace {

constexpr std::int64_t kBaseWindowLevel = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMinimumWindowLevel = kBaseWindowLevel + 1;
constexpr std::int64_t kMaximumWindowLevel = std::numeric_limits<std::int32_t>::max() - 16;
constexpr std::int64_t kDesktopWindowLevel = kMinimumWindowLevel + 20;

// What a layout that cannot be loaded gives: an empty borderless window.
platform::LayoutWindow emptyWindow() {
    platform::LayoutWindow window;
    window.styleMask = platform::StyleMask::borderless();
    return window;
}

platform::AppEventType appEventType(platform::EventType type) {
    switch (type) {
        case platform::EventType::KeyDown:
            return platform::AppEventType::KeyDown;
        case platform::EventType::KeyUp:
            return platform::AppEventType::KeyUp;
        default:
            return platform::AppEventType::FlagsChanged;
    }
}

// charactersIgnoringModifiers of a key event, as far as the key name table gives them.
std::string charactersOf(const platform::TapEvent& event) {
    if (event.type == platform::EventType::FlagsChanged) return {};
    if (event.keyCode == keycode::Space) return " ";
    std::string name = keyNameForCode(event.keyCode);
    if (name.size() != 1) return {};
    if (name[0] >= 'A' && name[0] <= 'Z' && (event.flags & platform::kEventFlagMaskShift) == 0)
        name[0] = static_cast<char>(name[0] - 'A' + 'a');
    return name;
}

}  // namespace

SimUI::SimUI(SimWorkspace& workspace, SimTrace& trace, SimRunLoop& runLoop)
    : workspace_(workspace), trace_(trace), runLoop_(runLoop) {}

SimUI::~SimUI() {
    for (auto& [id, window] : windows_)
        window->detachFromUI();
}

platform::LoadedLayout SimUI::loadLayout(std::string_view name, platform::ActionTarget& owner) {
    const std::string fileName = fmt::format("{}.json", name);
    std::string error;
    std::optional<platform::Layout> layout;
    if (const auto text = resourceText(fileName)) {
        layout = platform::parseLayout(*text, fileName, error);
    } else {
        error = fmt::format("{}: no such layout", fileName);
    }
    if (!layout) {
        trace_.add(fmt::format("layout {} fails: {}", name, error));
        loadErrors_.push_back(std::move(error));
        layout.emplace();
        layout->window = emptyWindow();
    }
    return build(name, *layout, owner);
}

platform::LoadedLayout SimUI::build(std::string_view name, const platform::Layout& layout,
                                    platform::ActionTarget& owner) {
    platform::LoadedLayout loaded;
    loaded.window = std::make_unique<SimWindow>(this, std::string(name), layout.window, &owner);
    for (const platform::LayoutView& view : layout.views)
        loaded.topLevelViews.push_back(std::make_unique<SimView>(view, &owner));
    return loaded;
}

std::int64_t SimUI::windowLevelForKey(std::int32_t key) {
    // CGWindowLevelKey to the levels the platform answers.
    switch (key) {
        case 0:  // base
            return kBaseWindowLevel;
        case 1:  // minimum
            return kMinimumWindowLevel;
        case 2:  // desktop
            return kDesktopWindowLevel;
        case 3:  // backstop menu
            return -20;
        case 4:  // normal
            return 0;
        case 5:  // floating
        case 6:  // torn-off menu
            return 3;
        case 7:  // Dock
            return 20;
        case 8:  // main menu
            return 24;
        case 9:  // status
            return 25;
        case 10:  // modal panel
            return 8;
        case 11:  // pop-up menu
            return 101;
        case 12:  // dragging
            return 500;
        case 13:  // screen saver
            return 1000;
        case 14:  // maximum
            return kMaximumWindowLevel;
        case 15:  // overlay
            return 102;
        case 16:  // help
            return 200;
        case 17:  // utility
            return 19;
        case 18:  // desktop icon
            return kDesktopWindowLevel + 20;
        case 19:  // cursor
            return kMaximumWindowLevel - 1;
        case 20:  // assistive-technology high
            return 1500;
        default:
            return 0;
    }
}

void SimUI::activateIgnoringOtherApps(bool flag) {
    // Without the flag the agent only becomes active when no other application is.
    if (!flag && workspace_.front()) return;
    if (workspace_.activeRef() == SimWorkspace::kAgentName) return;
    workspace_.setAgentActive(true);
    trace_.add(fmt::format("activate {}", SimWorkspace::kAgentName));
}

void SimUI::runModal(platform::Window& window) {
    if (!runLoop_.mainThread().onAgentStack()) {
        throw std::logic_error(
            "a modal loop runs only inside a call launched through SimDesktop::launch");
    }
    auto* simWindow = dynamic_cast<SimWindow*>(&window);
    const std::string name(window.name());
    trace_.add(fmt::format("modal {} begins", name));
    window.makeKeyAndOrderFront();
    modalWindows_.push_back(simWindow);
    struct Pop {
        std::vector<SimWindow*>& windows;
        ~Pop() { windows.pop_back(); }
    } pop{modalWindows_};
    runLoop_.runModal();
    trace_.add(fmt::format("modal {} ends", name));
}

void SimUI::stopModal() {
    runLoop_.stopModal();
}

bool SimUI::sendAction(std::string_view action) {
    for (SimView* view = firstResponder(); view; view = view->simSuperview()) {
        if (view->tryToPerform(action, pasteboard_)) return true;
    }
    return false;
}

void SimUI::prepareTextDrawing() {
    platform::CairoCanvas::prepareTextDrawing({});
}

void SimUI::prepareTextDrawingInFonts(std::span<const platform::Font> fonts) {
    std::vector<double> sizes;
    for (const platform::Font& font : fonts)
        sizes.push_back(font.pointSize);
    platform::CairoCanvas::prepareTextDrawing(sizes);
}

void SimUI::dispatchEvent(const platform::AppEvent& event) {
    dispatched_.push_back(event);
    constexpr platform::EventFlags kShortcutFlags =
        platform::kEventFlagMaskCommand | platform::kEventFlagMaskControl;
    if (event.type != platform::AppEventType::KeyDown || (event.modifierFlags & kShortcutFlags))
        return;
    SimView* responder = firstResponder();
    if (responder && !event.charactersIgnoringModifiers.empty())
        responder->insertText(event.charactersIgnoringModifiers);
}

void SimUI::agentKeyEvent(const platform::TapEvent& event) {
    if (!keyWindow_) return;
    const platform::AppEvent appEvent{appEventType(event.type), event.flags, charactersOf(event),
                                      static_cast<std::uint16_t>(event.keyCode)};
    if (application_) {
        application_->sendEvent(appEvent);
    } else {
        dispatchEvent(appEvent);
    }
}

void SimUI::agentEnded() {
    application_ = nullptr;
    for (const auto& [id, window] : windows_)
        window->orderOutAtExit();
}

std::vector<SimWindow*> SimUI::windows() const {
    std::vector<SimWindow*> all;
    for (const auto& [id, window] : windows_)
        all.push_back(window);
    return all;
}

std::vector<SimWindow*> SimUI::screenOrder() const {
    std::vector<SimWindow*> shown;
    for (const auto& [id, window] : windows_) {
        if (window->isVisible()) shown.push_back(window);
    }
    std::stable_sort(shown.begin(), shown.end(), [](const SimWindow* a, const SimWindow* b) {
        if (a->level() != b->level()) return a->level() < b->level();
        return a->orderSequence() < b->orderSequence();
    });
    return shown;
}

SimWindow* SimUI::window(std::string_view name) const {
    const std::vector<SimWindow*> shown = screenOrder();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        if ((*it)->name() == name) return *it;
    }
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        if (it->second->name() == name) return it->second;
    }
    return nullptr;
}

SimWindow* SimUI::overlay() const {
    for (const auto& [id, window] : windows_) {
        if (window->isOverlay()) return window;
    }
    return nullptr;
}

std::uint64_t SimUI::windowCreated(SimWindow& window) {
    const std::uint64_t id = nextId_++;
    windows_.emplace(id, &window);
    return id;
}

void SimUI::windowDestroyed(SimWindow& window) {
    std::erase_if(windows_, [&](const auto& entry) { return entry.second == &window; });
    std::replace(modalWindows_.begin(), modalWindows_.end(), &window,
                 static_cast<SimWindow*>(nullptr));
    if (keyWindow_ == &window) chooseKeyWindow();
}

void SimUI::windowOrderedFront(SimWindow& window, bool appeared) {
    window.setOrderSequence(nextOrder_++);
    if (appeared) trace_.add(fmt::format("window {} opens", window.name()));
    if (window.canBecomeKey()) keyWindow_ = &window;
}

void SimUI::windowOrderedOut(SimWindow& window) {
    trace_.add(fmt::format("window {} closes", window.name()));
    if (keyWindow_ == &window) chooseKeyWindow();
}

void SimUI::chooseKeyWindow() {
    keyWindow_ = nullptr;
    for (const auto& [id, window] : windows_) {
        if (window->isVisible() && window->canBecomeKey() &&
            (!keyWindow_ || window->orderSequence() > keyWindow_->orderSequence())) {
            keyWindow_ = window;
        }
    }
    if (keyWindow_ || workspace_.activeRef() != SimWorkspace::kAgentName) return;
    // The agent's last window other than the overlay went: the front application is active.
    workspace_.setAgentActive(false);
    if (const SimApplication* front = workspace_.front()) {
        trace_.add(fmt::format("activate {}", front->ref));
    }
}

}  // namespace vantor::sim
