#include "soak/SoakDriver.h"

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/sim/SimWindow.h"

namespace vantor::soak {

using platform::MouseButton;

namespace {

// Applications that come and go: shared letters, two windows of one name (the second gets
// NAME#2), vendor prefixes and a Chinese name. None starts with K: the final check starts
// "Kiwi" so that one hint is surely of a letter of its own.
const std::vector<std::string> kApplicationPool = {
    "Safari",          "Mail",     "Maps",  "Music",  "Notes",    "Terminal", "Xcode",
    "Preview",         "Calendar", "Books", "Finder", "Podcasts", "TextEdit", "Google Chrome",
    "Adobe Photoshop", "微信"};
constexpr std::string_view kFinalTarget = "Kiwi";
constexpr std::size_t kMostApplications = 14;
constexpr std::size_t kFewestApplications = 2;

// Keys that may be hints (and letters of Command shortcuts), the switcher's navigation and
// the keys the tap gives meanings to, and the modifiers.
const std::vector<std::string> kHintKeys = {"S", "M", "N", "T", "X", "P", "C", "B", "F",
                                            "G", "A", "W", "K", "Q", "H", "1", "7"};
const std::vector<std::string> kOtherKeys = {"Tab",  "Escape", "Return", "Left",  "Right", "Up",
                                             "Down", "Delete", "Equal",  "Minus", "Space"};
const std::vector<std::string> kModifiers = {"LeftCommand", "LeftCommand", "RightCommand",
                                             "LeftOption",  "LeftOption",  "RightOption",
                                             "LeftShift",   "LeftControl"};

// Everything the agent asks the Accessibility service for.
const std::vector<std::string> kAxCalls = {"AXPosition",
                                           "AXSize",
                                           "AXChildren",
                                           "AXTitle",
                                           "AXSubrole",
                                           "AXSelectedChildren",
                                           "AXCancel",
                                           "AXPress",
                                           "observer",
                                           "AXCreated",
                                           "AXUIElementDestroyed",
                                           "AXSelectedChildrenChanged"};
const std::vector<platform::AXError> kAxErrors = {
    platform::kAXErrorCannotComplete, platform::kAXErrorFailure, platform::kAXErrorInvalidUIElement,
    platform::kAXErrorAPIDisabled};

std::string_view bareName(std::string_view itemTitle) {
    const auto slash = itemTitle.rfind('/');
    return slash == std::string_view::npos ? itemTitle : itemTitle.substr(0, slash);
}

}  // namespace

SoakDriver::SoakDriver(SoakOptions options) : options_(std::move(options)), random_(options_.seed) {
    desktop_.setKeepingRecords(false);
    // A second start of this version: no preferences window in the way.
    desktop_.settings().setString("Current Version", "1.0");
    for (std::size_t i = 0; i < 6; ++i)
        desktop_.addApplication(kApplicationPool[i]);
    agent_ = std::make_unique<Agent>(desktop_.platform());
    if (DrawingWindow* overlay = agent_->overlay()) {
        if (auto* window = dynamic_cast<sim::SimWindow*>(&overlay->window()))
            overlay_.attach(*window, agent_->drawingView(), desktop_.screens());
    }
    Agent* agent = agent_.get();
    desktop_.launch([agent] { agent->applicationDidFinishLaunching(); });
    runFor(1);
}

SoakDriver::~SoakDriver() {
    if (agent_) {
        overlay_.detach();
        agent_.reset();
    }
}

void SoakDriver::problem(std::string what) {
    result_.problems.push_back(fmt::format("after {} events ({:.3f} s virtual): {}", counts_.events,
                                           desktop_.now(), std::move(what)));
}

SoakResult SoakDriver::run() {
    const auto start = std::chrono::steady_clock::now();
    const auto wall = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    while (counts_.events < options_.events && !terminatedSeen_) {
        const std::int64_t before = counts_.events;
        step();
        if (options_.progressEvery > 0 && options_.onProgress &&
            counts_.events / options_.progressEvery != before / options_.progressEvery) {
            counts_.virtualSeconds = desktop_.now();
            options_.onProgress(counts_, wall());
        }
    }
    if (!terminatedSeen_) finalCheck();
    checkLedger();
    counts_.virtualSeconds = desktop_.now();
    result_.counts = counts_;
    result_.wallSeconds = wall();
    return std::move(result_);
}

void SoakDriver::step() {
    if (tapsSlow_) {
        // A slow tap lasts one event: its next callback gets it disabled by timeout.
        desktop_.setTapsSlow(false);
        tapsSlow_ = false;
    }
    if (!desktop_.dockRunning() && chance(0.05)) desktop_.startDock();
    if (chance(0.05)) injectFault();
    if (chance(0.04)) changeApplications();
    playInput();
    advanceTime();
}

void SoakDriver::playInput() {
    const std::uint64_t roll = below(100);
    if (roll < 25) {
        toggleKey(pick(kHintKeys));
    } else if (roll < 33) {
        toggleKey(pick(kModifiers));
    } else if (roll < 49) {
        // The user's Command-Tab: Command first, then Tab.
        if (!heldKeys_.contains("LeftCommand"))
            toggleKey("LeftCommand");
        else
            toggleKey("Tab");
    } else if (roll < 55) {
        toggleKey(pick(kOtherKeys));
    } else if (roll < 72) {
        // Mostly onto the switcher's icons while it shows, anywhere on the screen otherwise.
        const std::optional<platform::Rect> list = desktop_.listFrame();
        if (list && chance(0.8)) {
            pointer_ = {list->origin.x + between(-10, list->size.width + 10),
                        list->origin.y + between(-10, list->size.height + 10)};
        } else {
            pointer_ = {between(0, 1920), between(0, 1080)};
        }
        desktop_.mouseMove(pointer_);
        ++counts_.events;
    } else if (roll < 88) {
        const std::uint64_t which = below(10);
        toggleButton(which < 5   ? MouseButton::Left
                     : which < 7 ? MouseButton::Right
                                 : MouseButton::Center);
    } else if (roll < 98) {
        // A drag of a held button: a few points (still a hold) or far.
        const MouseButton button =
            heldButtons_.empty() ? MouseButton::Center : *heldButtons_.begin();
        pointer_ = {pointer_.x + between(-6, 6) * (chance(0.3) ? 20 : 1),
                    pointer_.y + between(-6, 6)};
        desktop_.mouseDrag(button, pointer_);
        ++counts_.events;
    } else {
        releaseEverything();
    }
}

void SoakDriver::toggleKey(const std::string& key) {
    if (heldKeys_.erase(key) > 0) {
        desktop_.keyUp(key);
    } else {
        desktop_.keyDown(key);
        heldKeys_.insert(key);
    }
    ++counts_.events;
}

void SoakDriver::toggleButton(MouseButton button) {
    if (heldButtons_.erase(button) > 0) {
        desktop_.mouseUp(button, pointer_);
    } else {
        desktop_.mouseDown(button, pointer_);
        heldButtons_.insert(button);
    }
    ++counts_.events;
}

void SoakDriver::releaseEverything() {
    for (const std::string& key : heldKeys_) {
        desktop_.keyUp(key);
        ++counts_.events;
    }
    heldKeys_.clear();
    for (const MouseButton button : heldButtons_) {
        desktop_.mouseUp(button, pointer_);
        ++counts_.events;
    }
    heldButtons_.clear();
}

void SoakDriver::injectFault() {
    const std::uint64_t roll = below(100);
    if (roll < 60) {
        const int count = chance(0.1) ? 10 : 1 + static_cast<int>(below(3));
        desktop_.failAx(pick(kAxCalls), pick(kAxErrors), count);
        ++counts_.axFailures;
    } else if (roll < 75) {
        desktop_.disableTaps(chance(0.7) ? platform::EventType::TapDisabledByTimeout
                                         : platform::EventType::TapDisabledByUserInput);
        ++counts_.tapsDisabled;
    } else if (roll < 85) {
        desktop_.setTapsSlow(true);
        tapsSlow_ = true;
        ++counts_.tapsDisabled;
    } else if (desktop_.dockRunning()) {
        desktop_.killDock();
        ++counts_.dockKills;
    } else {
        return;
    }
    ++counts_.faults;
}

void SoakDriver::changeApplications() {
    const std::vector<std::string> running = desktop_.applicationOrder();
    const bool start = running.size() < kMostApplications &&
                       (running.size() <= kFewestApplications || chance(0.5));
    if (start) {
        desktop_.startApplication(pick(kApplicationPool));
        ++counts_.appsStarted;
        return;
    }
    if (running.size() <= kFewestApplications) return;
    if (desktop_.quitApplication(pick(running))) ++counts_.appsQuit;
}

void SoakDriver::advanceTime() {
    const std::uint64_t roll = below(100);
    double seconds = 0;
    if (roll < 45) {
        seconds = 0;
    } else if (roll < 75) {
        seconds = between(0.0005, 0.03);
    } else if (roll < 90) {
        seconds = between(0.04, 0.4);  // across the press-twice and multi-press windows
    } else if (roll < 98) {
        seconds = between(0.4, 1.2);
    } else {
        seconds = between(1.2, 4);  // retries, the tap switched back on
    }
    runFor(seconds);
    watch();
}

void SoakDriver::runFor(double seconds) {
    sim::SimRunLoop& loop = desktop_.runLoop();
    const sim::Nanos until = loop.now() + sim::toNanos(seconds);
    while (loop.runNext(until))
        overlay_.displayIfNeeded();
    loop.runUntil(until);
    overlay_.displayIfNeeded();
}

void SoakDriver::watch() {
    if (desktop_.process().terminated()) {
        problem("the agent terminated");
        terminatedSeen_ = true;
        return;
    }
    const bool showing = agent_->appDelegate().showing();
    if (showing && !wasShowing_) ++counts_.switcherShowings;
    if (showing) counts_.eventsWhileShowing += counts_.events - eventsAtLastWatch_;
    eventsAtLastWatch_ = counts_.events;
    wasShowing_ = showing;
    const std::int64_t overReleases = desktop_.ledger().overReleases();
    if (overReleases > overReleasesSeen_) {
        problem(fmt::format("released once too often: {}",
                            desktop_.ledger().overReleaseNotes().back()));
        overReleasesSeen_ = overReleases;
    }
}

void SoakDriver::finalCheck() {
    // Heal the desktop: nothing held, nothing failing, the Dock up, the tap back on.
    releaseEverything();
    desktop_.accessibility().clearFailures();
    desktop_.setTapsSlow(false);
    if (!desktop_.dockRunning()) desktop_.startDock();
    desktop_.startApplication(std::string(kFinalTarget));
    desktop_.startApplication("Safari");  // Kiwi second: not the front one
    runFor(4);
    watch();

    desktop_.keyDown("LeftCommand");
    desktop_.keyDown("Tab");
    runFor(0.02);
    desktop_.keyUp("Tab");
    runFor(0.1);
    if (!agent_->appDelegate().showing() || !desktop_.switcherShowing()) {
        problem("Command-Tab no longer opens the switcher");
    } else if (!overlay_.visible() || overlay_.describeLastDraw().find('K') == std::string::npos) {
        problem(fmt::format("the overlay does not show Kiwi's hint: \"{}\"",
                            overlay_.describeLastDraw()));
    } else {
        const ProcList& model = agent_->appDelegate().procList();
        const auto kiwi = model.items().find("K");
        if (kiwi == model.items().end() || bareName(kiwi->second->title()) != kFinalTarget ||
            model.getMultiplexCountForKey("K") != 1) {
            problem("Kiwi does not have the hint K");
        } else {
            desktop_.keyDown("K");
            runFor(0.02);
            desktop_.keyUp("K");
            runFor(0.1);
            if (desktop_.front() != kFinalTarget)
                problem(fmt::format("typing K brought \"{}\" forward, not Kiwi", desktop_.front()));
            if (desktop_.switcherShowing()) problem("the switcher still shows after the hint");
        }
    }
    desktop_.keyUp("LeftCommand");
    runFor(1);
    watch();
}

void SoakDriver::checkLedger() {
    // Without the agent, everything it held must be given back. (The desktop is not run any
    // further: it would call into the agent it no longer has.)
    if (agent_) {
        overlay_.detach();
        agent_.reset();
    }
    const sim::RefLedger& ledger = desktop_.ledger();
    result_.ledgerSummary = ledger.summary();
    if (ledger.overReleases() > overReleasesSeen_)
        problem(fmt::format("released once too often: {}", ledger.overReleaseNotes().back()));
    for (const sim::RefKind kind : {sim::RefKind::Element, sim::RefKind::Observer}) {
        if (ledger.live(kind) != 0)
            problem(fmt::format("{} {} still alive without the agent", ledger.live(kind),
                                sim::refKindName(kind)));
    }
}

}  // namespace vantor::soak
