#include "tools/ScenarioPlayer.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <sstream>
#include <system_error>
#include <utility>

namespace vantor::tools {

namespace {

constexpr double kTapPause = 0.02;
constexpr std::string_view kTimesSign = "\xC3\x97";

std::vector<std::string> wordsOf(std::string_view text) {
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// Whether the printed event begins with the words of `form`.
bool beginsWithWords(std::string_view event, std::string_view form) {
    const std::vector<std::string> have = wordsOf(event);
    const std::vector<std::string> want = wordsOf(form);
    return want.size() <= have.size() && std::equal(want.begin(), want.end(), have.begin());
}

std::string quotedList(const std::vector<std::string>& items) {
    if (items.empty()) return "nothing";
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) text += ", ";
        text += fmt::format("\"{}\"", item);
    }
    return text;
}

std::string_view yesNo(bool value) {
    return value ? "yes" : "no";
}

bool containsPoint(const platform::Rect& r, platform::Point p) {
    return p.x >= r.origin.x && p.x <= r.origin.x + r.size.width && p.y >= r.origin.y &&
           p.y <= r.origin.y + r.size.height;
}

platform::Point centre(const platform::Rect& r) {
    return {r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2};
}

// The key's first character, all its bytes, and how many characters it has.
std::pair<std::string, std::size_t> characterAndLength(std::string_view key) {
    std::size_t count = 0;
    std::size_t firstEnd = 0;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if ((static_cast<unsigned char>(key[i]) & 0xC0) == 0x80) continue;
        if (++count == 2) firstEnd = i;
    }
    if (count < 2) firstEnd = key.size();
    return {std::string(key.substr(0, firstEnd)), count};
}

std::string_view changeWord(OverlayRecorder::Change change) {
    switch (change) {
        case OverlayRecorder::Change::Shows:
            return "shows";
        case OverlayRecorder::Change::Moves:
            return "moves";
        case OverlayRecorder::Change::Redraws:
            return "redraws";
        case OverlayRecorder::Change::Hides:
            return "hides";
        case OverlayRecorder::Change::None:
            break;
    }
    return "";
}

// The commands that reach the agent as the user's input; they are ignored once it has ended.
bool ignoredOnceTerminated(Op op) {
    switch (op) {
        case Op::Down:
        case Op::Up:
        case Op::Tap:
        case Op::Type:
        case Op::MouseMove:
        case Op::MouseDown:
        case Op::MouseUp:
        case Op::MouseDrag:
        case Op::TapDisabled:
        case Op::Reopen:
        case Op::Click:
        case Op::Close:
            return true;
        default:
            return false;
    }
}

bool parseWholeNumber(std::string_view text, long long& value) {
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), last, value);
    return !text.empty() && ec == std::errc() && ptr == last;
}

}  // namespace

bool isLoopbackAddress(std::string_view address) {
    std::string_view rest = address;
    if (rest.starts_with("http://")) {
        rest.remove_prefix(7);
    } else if (rest.starts_with("https://")) {
        rest.remove_prefix(8);
    } else {
        return false;
    }
    const std::size_t end = rest.find('/');
    std::string_view authority = rest.substr(0, end);
    for (const std::string_view host : {"127.0.0.1", "localhost", "[::1]"}) {
        if (!authority.starts_with(host)) continue;
        const std::string_view port = authority.substr(host.size());
        if (port.empty()) return true;
        long long number = 0;
        return port[0] == ':' && parseWholeNumber(port.substr(1), number) && number > 0 &&
               number <= 65535;
    }
    return false;
}

ScenarioPlayer::ScenarioPlayer(PlayerOptions options)
    : options_(std::move(options)), desktop_(options_.configDir) {
    desktop_.tracer().setEcho(options_.trace);
}

ScenarioPlayer::~ScenarioPlayer() {
    // The trace ends with the scenario; the agent's windows closing as it goes are no part of it.
    desktop_.tracer().setEcho(nullptr);
    // A modal loop still waiting (the permission prompt) unwinds while the agent its frames
    // reach is still there.
    sim::SimMainThread& mainThread = desktop_.runLoop().mainThread();
    if (mainThread.parked()) mainThread.unwind();
    // The overlay's window goes with the agent, and the agent while the desktop it registered
    // with is still there.
    overlay_.detach();
    for (const auto& recorder : otherOverlays_)
        recorder->detach();
    agent_.reset();
}

PlayResult ScenarioPlayer::play(std::string_view scriptText) {
    return play(parseScript(scriptText));
}

PlayResult ScenarioPlayer::play(const Script& script) {
    PlayResult result;
    std::vector<ScriptError> errors = script.errors;
    if (!options_.updateServer.empty() && !isLoopbackAddress(options_.updateServer)) {
        result.exitCode = 2;
        result.message = fmt::format("{}: the update server {} is not an address of this machine\n",
                                     options_.scriptName, options_.updateServer);
        return result;
    }
    if (!errors.empty()) {
        std::stable_sort(
            errors.begin(), errors.end(),
            [](const ScriptError& a, const ScriptError& b) { return a.line < b.line; });
        result.exitCode = 2;
        for (const ScriptError& error : errors) {
            result.message +=
                fmt::format("{}:{}: {}\n", options_.scriptName, error.line, error.message);
        }
        return result;
    }

    for (const Command& command : script.commands) {
        desktop_.tracer().add(fmt::format("> {}", command.text));
        if (command.op == Op::Expect) {
            if (auto seen = check(command)) {
                result.exitCode = 1;
                result.message = fmt::format("{}:{}: {}\n    seen: {}\n", options_.scriptName,
                                             command.line, command.text, *seen);
                return result;
            }
            continue;
        }
        if (agentTerminated() && ignoredOnceTerminated(command.op)) {
            desktop_.tracer().add("ignored: the agent has terminated");
            continue;
        }
        if (auto problem = run(command)) {
            result.exitCode = 2;
            result.message = fmt::format("{}:{}: {}: {}\n", options_.scriptName, command.line,
                                         command.text, *problem);
            return result;
        }
        displayPass();
    }
    return result;
}

std::optional<std::string> ScenarioPlayer::run(const Command& command) {
    const std::vector<std::string>& args = command.args;
    const auto point = [&] { return platform::Point{command.numbers[0], command.numbers[1]}; };
    const auto pidOf = [&](const std::string& name) { return desktop_.pidOf(name); };
    switch (command.op) {
        case Op::Screen:
            return desktop_.screens().arrange({{{command.numbers[2], command.numbers[3]},
                                                {command.numbers[0], command.numbers[1]}},
                                               command.numbers[4]});
        case Op::SwitcherScreen: {
            sim::SimScreens& screens = desktop_.screens();
            const auto n = static_cast<std::size_t>(command.numbers[0]);
            if (n == 0) {
                screens.setSwitcherOnAllScreens();
                return std::nullopt;
            }
            if (n > screens.screens().size())
                return fmt::format("there is no screen {} (yet): {} so far", n,
                                   screens.screens().size());
            screens.setSwitcherScreen(n - 1);
            return std::nullopt;
        }
        case Op::App:
            desktop_.addApplication(args[0], command.path, command.bundle);
            return std::nullopt;
        case Op::Setting:
            seedSetting(args[0], args[1]);
            return std::nullopt;
        case Op::Version:
            version_ = args[0];
            desktop_.process().setShortVersion(version_);
            return std::nullopt;
        case Op::Trusted:
            desktop_.setTrusted(command.yes);
            return std::nullopt;
        case Op::Update:
            answerUpdates(static_cast<int>(command.numbers[0]), args[0]);
            if (updateAddress_.empty()) return "no port of 127.0.0.1 could be bound";
            return std::nullopt;
        case Op::Launch:
            launch();
            return std::nullopt;
        case Op::Wait:
            advance(command.numbers[0]);
            return std::nullopt;
        case Op::Down:
            desktop_.keyDown(args[0]);
            return std::nullopt;
        case Op::Up:
            desktop_.keyUp(args[0]);
            return std::nullopt;
        case Op::Tap:
            tap(*sim::keyCodeForName(args[0]));
            return std::nullopt;
        case Op::Type:
            for (const char c : args[0]) {
                if (auto problem = typeCharacter(c)) return problem;
            }
            return std::nullopt;
        case Op::Layout:
            desktop_.selectKeyboardLayout(args[0]);
            return std::nullopt;
        case Op::MouseMove:
            desktop_.mouseMove(point());
            return std::nullopt;
        case Op::MouseDown:
            desktop_.mouseDown(command.button, point());
            return std::nullopt;
        case Op::MouseUp:
            desktop_.mouseUp(command.button, point());
            return std::nullopt;
        case Op::MouseDrag:
            desktop_.mouseDrag(command.button, point());
            return std::nullopt;
        case Op::KillDock:
            if (!desktop_.dockRunning()) return "the Dock is not running";
            desktop_.killDock();
            return std::nullopt;
        case Op::StartDock:
            if (desktop_.dockRunning()) return "the Dock is already running";
            desktop_.startDock();
            return std::nullopt;
        case Op::Start:
            desktop_.startApplication(args[0], command.path);
            return std::nullopt;
        case Op::Quit:
            if (!desktop_.quitApplication(args[0])) {
                return fmt::format("no running application \"{}\"", args[0]);
            }
            return std::nullopt;
        case Op::Move: {
            const auto pid = pidOf(args[0]);
            if (!pid) return fmt::format("no application \"{}\"", args[0]);
            desktop_.workspace().moveBundle(*pid, args[1]);
            return std::nullopt;
        }
        case Op::FailLaunch: {
            const auto pid = pidOf(args[0]);
            if (!pid) return fmt::format("no application \"{}\"", args[0]);
            desktop_.workspace().failLaunch(*pid);
            return std::nullopt;
        }
        case Op::FailAx:
            desktop_.failAx(
                args[0], command.error,
                command.count == kAlways ? sim::SimAccessibility::kAlways : command.count);
            return std::nullopt;
        case Op::FailLoginItem:
            desktop_.process().failLoginItem();
            return std::nullopt;
        case Op::HangAx:
            if (!desktop_.dockRunning()) return "the Dock is not running";
            desktop_.hangDockAx(command.numbers[0]);
            return std::nullopt;
        case Op::TapDisabled:
            desktop_.disableTaps(command.yes ? platform::EventType::TapDisabledByTimeout
                                             : platform::EventType::TapDisabledByUserInput);
            return std::nullopt;
        case Op::SecureInput: {
            std::optional<std::int32_t> holder;
            if (!args.empty()) {
                holder = pidOf(args[0]);
                if (!holder) return fmt::format("no application \"{}\"", args[0]);
            }
            desktop_.events().setSecureInput(command.yes, holder);
            return std::nullopt;
        }
        case Op::Reopen: {
            if (!agent_) return "the agent has not launched";
            AppDelegate& delegate = agent_->appDelegate();
            desktop_.runOnMainThread([&] { delegate.applicationShouldHandleReopen(false); });
            return std::nullopt;
        }
        case Op::Click: {
            const std::string which = args.size() > 2 ? args[2] : std::string();
            if (desktop_.click(args[0], args[1], which)) return std::nullopt;
            if (!desktop_.windowOpen(args[0])) return fmt::format("no {} window shows", args[0]);
            return fmt::format("{} has no control for {}{}", args[0], args[1],
                               which.empty() ? "" : " " + which);
        }
        case Op::Close:
            if (desktop_.closeWindow(args[0])) return std::nullopt;
            return fmt::format("no {} window with a close button shows", args[0]);
        case Op::Grant:
            desktop_.setTrusted(true);
            return std::nullopt;
        case Op::Shot: {
            std::filesystem::path path = args[0];
            if (path.is_relative()) path = options_.outputDir / path;
            if (!saveShot(path)) return fmt::format("cannot write {}", path.string());
            return std::nullopt;
        }
        case Op::Expect:
            break;
    }
    return std::nullopt;
}

void ScenarioPlayer::seedSetting(const std::string& key, const std::string& value) {
    platform::Settings& settings = desktop_.settings();
    long long number = 0;
    if (value == "true" || value == "false") {
        settings.setBool(key, value == "true");
    } else if (parseWholeNumber(value, number)) {
        settings.setInteger(key, number);
    } else {
        settings.setString(key, value);
    }
}

void ScenarioPlayer::answerUpdates(int status, const std::string& body) {
    if (updateServer_) {
        updateServer_->setAnswer(status, body);
        return;
    }
    updateServer_ = std::make_unique<sim::SimUpdateServer>(status, body);
    updateAddress_ = updateServer_->baseAddress();
    desktop_.process().setUpdateServer(updateAddress_);
}

void ScenarioPlayer::launch() {
    if (!updateServer_) {
        if (!options_.updateServer.empty()) {
            updateAddress_ = options_.updateServer;
        } else {
            refusingPort_ = std::make_unique<sim::RefusingLoopbackPort>();
            updateAddress_ = refusingPort_->baseAddress();
        }
        desktop_.process().setUpdateServer(updateAddress_);
    }
    agent_ = std::make_unique<Agent>(desktop_.platform());
    if (DrawingWindow* overlay = agent_->overlay()) {
        if (auto* window = dynamic_cast<sim::SimWindow*>(&overlay->window())) {
            overlay_.attach(*window, agent_->drawingView(), desktop_.screens());
        }
    }
    // On the agent's main thread, where the permission prompt's modal loop can wait.
    Agent* agent = agent_.get();
    desktop_.launch([agent] { agent->applicationDidFinishLaunching(); });
}

void ScenarioPlayer::advance(double seconds) {
    sim::SimRunLoop& loop = desktop_.runLoop();
    const sim::Nanos until = loop.now() + sim::toNanos(seconds);
    while (loop.runNext(until))
        displayPass();
    loop.runUntil(until);
    displayPass();
}

void ScenarioPlayer::tap(std::uint16_t keyCode) {
    desktop_.keyDown(keyCode);
    displayPass();
    advance(kTapPause);
    desktop_.keyUp(keyCode);
    displayPass();
    advance(kTapPause);
}

std::optional<std::string> ScenarioPlayer::typeCharacter(char c) {
    const sim::SimKeyboardLayout& layout = desktop_.keyboardLayout();
    const auto stroke = layout.strokeFor(static_cast<char32_t>(c));
    if (!stroke) return fmt::format("no key of the {} layout types \"{}\"", layout.name(), c);
    if (stroke->shift) {
        desktop_.keyDown(platform::vk::LeftShift);
        displayPass();
    }
    tap(stroke->keyCode);
    if (stroke->shift) {
        desktop_.keyUp(platform::vk::LeftShift);
        displayPass();
    }
    return std::nullopt;
}

void ScenarioPlayer::attachOtherOverlays() {
    if (!agent_) return;
    const auto& overlays = agent_->appDelegate().otherOverlays();
    for (std::size_t i = otherOverlays_.size(); i < overlays.size(); ++i) {
        auto recorder = std::make_unique<OverlayRecorder>();
        if (DrawingWindow* overlay = overlays[i]->window()) {
            if (auto* window = dynamic_cast<sim::SimWindow*>(&overlay->window()))
                recorder->attach(*window, overlays[i]->view(), desktop_.screens());
        }
        otherOverlays_.push_back(std::move(recorder));
    }
}

void ScenarioPlayer::displayPass() {
    attachOtherOverlays();
    // The first overlay is "overlay", the others are numbered from 2 in the order they came.
    const auto display = [this](OverlayRecorder& recorder, const std::string& name) {
        const OverlayRecorder::Change change = recorder.displayIfNeeded();
        if (change == OverlayRecorder::Change::None || change == OverlayRecorder::Change::Hides)
            return change;
        desktop_.tracer().add(fmt::format("{} draws {}", name, recorder.describeLastDraw()));
        if (!recorder.lastNotice().empty())
            desktop_.tracer().add(fmt::format("{} notice \"{}\"", name, recorder.lastNotice()));
        return change;
    };
    OverlayRecorder::Change change = display(overlay_, "overlay");
    for (std::size_t i = 0; i < otherOverlays_.size(); ++i) {
        const auto other = display(*otherOverlays_[i], fmt::format("overlay {}", i + 2));
        if (change == OverlayRecorder::Change::None) change = other;
    }
    if (change == OverlayRecorder::Change::None) return;
    if (!options_.shotsDir) return;
    ++shotNumber_;
    saveShot(*options_.shotsDir /
             fmt::format("{:03}-overlay-{}.png", shotNumber_, changeWord(change)));
}

bool ScenarioPlayer::saveShot(const std::filesystem::path& path) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    if (!desktop_.saveScreenPng(path.string())) return false;
    savedShots_.push_back(path);
    desktop_.tracer().add(fmt::format("screen saved to {}", path.string()));
    return true;
}

std::optional<std::string> ScenarioPlayer::check(const Command& command) {
    const std::vector<std::string>& args = command.args;
    const auto nameOr = [](const std::string& ref, std::string_view none) {
        return ref.empty() ? std::string(none) : ref;
    };
    switch (command.expect) {
        case Expect::Showing: {
            const bool showing = desktop_.switcherShowing();
            if (showing == command.yes) return std::nullopt;
            if (desktop_.switcherOpening()) return "the switcher is still opening";
            return fmt::format("the switcher {}", showing ? "shows" : "does not show");
        }
        case Expect::Overlay: {
            const bool visible = desktop_.overlayVisible();
            if (visible == command.yes) return std::nullopt;
            return fmt::format("the overlay is {}", visible ? "visible" : "hidden");
        }
        case Expect::Cursor: {
            const bool hand = desktop_.cursor() == platform::Cursor::PointingHand;
            if (hand == command.yes) return std::nullopt;
            return fmt::format("the cursor is {}", hand ? "pointing-hand" : "arrow");
        }
        case Expect::Front: {
            const std::string front = desktop_.front();
            if (front == args[0]) return std::nullopt;
            return fmt::format("front is {}", nameOr(front, "nobody"));
        }
        case Expect::Active: {
            const std::string active = desktop_.active();
            if (active == args[0]) return std::nullopt;
            return fmt::format("active is {}", nameOr(active, "nobody"));
        }
        case Expect::Running: {
            const bool running = args[0] == "Dock"     ? desktop_.dockRunning()
                                 : args[0] == "Vantor" ? agent_ && !agentTerminated()
                                                       : desktop_.running(args[0]);
            if (running == command.yes) return std::nullopt;
            return fmt::format("running {}", yesNo(running));
        }
        case Expect::Hidden: {
            const bool hidden = desktop_.hidden(args[0]);
            if (hidden == command.yes) return std::nullopt;
            return fmt::format("hidden {}", yesNo(hidden));
        }
        case Expect::Bundle: {
            const std::string path = desktop_.bundlePath(args[0]);
            if (path == args[1]) return std::nullopt;
            if (path.empty()) return fmt::format("no application is named {}", args[0]);
            return fmt::format("its bundle is {}", path);
        }
        case Expect::Highlight: {
            const auto highlighted = desktop_.highlighted();
            if (highlighted == args[0]) return std::nullopt;
            if (!highlighted) return "the switcher does not show";
            return fmt::format("the highlight is on {}", *highlighted);
        }
        case Expect::Hint:
            return checkHint(args[0], args[1]);
        case Expect::Log:
        case Expect::NoLog: {
            const auto& lines = desktop_.logLines();
            const auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
                return l.find(args[0]) != std::string::npos;
            });
            const bool present = found != lines.end();
            if (present == (command.expect == Expect::Log)) return std::nullopt;
            if (present) return fmt::format("the log line \"{}\"", *found);
            return fmt::format("no log line has it ({} lines so far)", lines.size());
        }
        case Expect::LogCount: {
            const std::size_t count = desktop_.log().count(args[0]);
            if (static_cast<double>(count) == command.numbers[0]) return std::nullopt;
            return fmt::format("{} log lines have it", count);
        }
        case Expect::Received: {
            const auto& received = desktop_.received(args[0]);
            for (const std::string& event : received) {
                if (beginsWithWords(event, args[1])) return std::nullopt;
            }
            return fmt::format("{} received {}", args[0], quotedList(received));
        }
        case Expect::Inbox: {
            const std::vector<std::string> inbox = desktop_.inbox(args[0]);
            const std::vector<std::string> wanted(args.begin() + 1, args.end());
            if (inbox == wanted) return std::nullopt;
            return fmt::format("{} received {}", args[0], quotedList(inbox));
        }
        case Expect::Setting: {
            const auto value = desktop_.settings().describeValue(args[0]);
            const std::string seen = value ? *value : "absent";
            if (seen == args[1]) return std::nullopt;
            return value ? fmt::format("{} is {}", args[0], *value)
                         : fmt::format("{} is absent", args[0]);
        }
        case Expect::Window: {
            const bool open = desktop_.windowOpen(args[0]);
            if (open == command.yes) return std::nullopt;
            return fmt::format("{} is {}", args[0], open ? "open" : "closed");
        }
        case Expect::Url: {
            std::string url = args[0];
            if (url.starts_with(kUpdateServerPlaceholder)) {
                url = updateAddress_ + url.substr(kUpdateServerPlaceholder.size());
            }
            const auto& opened = desktop_.workspace().openedURLs();
            const auto count = std::count(opened.begin(), opened.end(), url);
            if (static_cast<double>(count) == command.numbers[0]) return std::nullopt;
            return fmt::format("{} opened {} times; opened: {}", url, count, quotedList(opened));
        }
        case Expect::LoginItem: {
            const bool on = desktop_.process().loginItemEnabled();
            if (on == command.yes) return std::nullopt;
            return fmt::format("the login item is {}", on ? "on" : "off");
        }
        case Expect::Relaunched: {
            const bool relaunched = desktop_.process().relaunched();
            if (relaunched == command.yes) return std::nullopt;
            return fmt::format("relaunched {}", yesNo(relaunched));
        }
        case Expect::Terminated: {
            const bool terminated = desktop_.process().terminated();
            if (terminated == command.yes) return std::nullopt;
            return fmt::format("terminated {}", yesNo(terminated));
        }
        case Expect::AxCalls: {
            const std::int64_t calls = desktop_.roundTrips() - axCallsMark_;
            axCallsMark_ = desktop_.roundTrips();
            if (static_cast<double>(calls) == command.numbers[0]) return std::nullopt;
            return fmt::format("{} Accessibility calls", calls);
        }
        case Expect::AxWaited: {
            const sim::Nanos waited = desktop_.accessibility().waited() - axWaitedMark_;
            axWaitedMark_ = desktop_.accessibility().waited();
            if (waited == sim::toNanos(command.numbers[0])) return std::nullopt;
            return fmt::format("waited {} s", sim::toSeconds(waited));
        }
        case Expect::Notice: {
            // What the screen shows: no notice while the overlay is hidden.
            const std::string notice =
                desktop_.overlayVisible() ? overlay_.lastNotice() : std::string();
            const bool holds =
                command.yes ? !notice.empty() && beginsWithWords(notice, args[0]) : notice.empty();
            if (holds) return std::nullopt;
            return notice.empty() ? std::string("no notice")
                                  : fmt::format("the notice \"{}\"", notice);
        }
        case Expect::None:
            break;
    }
    return "not an expect form";
}

std::optional<std::string> ScenarioPlayer::checkHint(const std::string& name,
                                                     const std::string& key) {
    if (!desktop_.overlayVisible()) return "the overlay is hidden";
    const std::vector<platform::Rect> icons = desktop_.iconFrames(name);
    if (icons.empty()) {
        return desktop_.switcherShowing() ? fmt::format("{} has no icon in the switcher", name)
                                          : std::string("the switcher does not show");
    }
    // What the label of KEY shows: its character and, for a key pressed n >= 2 times, "×n".
    const auto [character, length] = characterAndLength(key);
    std::vector<std::string> wanted{character};
    if (length >= 2) wanted.push_back(fmt::format("{}{}", kTimesSign, length));
    std::sort(wanted.begin(), wanted.end());

    // With the switcher on every display, the icon on each list shows the label.
    std::vector<const OverlayRecorder*> recorders{&overlay_};
    for (const auto& other : otherOverlays_) {
        if (other->visible()) recorders.push_back(other.get());
    }
    for (std::size_t i = 0; i < icons.size(); ++i) {
        std::vector<std::string> inside;
        for (const OverlayRecorder* recorder : recorders) {
            for (const DrawnString& drawn : recorder->lastDraw()) {
                if (containsPoint(icons[i], centre(drawn.frame))) inside.push_back(drawn.text);
            }
        }
        std::vector<std::string> sortedInside = inside;
        std::sort(sortedInside.begin(), sortedInside.end());
        if (sortedInside == wanted) continue;
        const std::string all = overlay_.describeLastDraw();
        const std::string where = icons.size() > 1 ? fmt::format(" on list {}", i + 1) : "";
        return fmt::format("{}'s icon{} shows {}; the last draw: {}", name, where,
                           quotedList(inside), all.empty() ? "nothing" : all);
    }
    return std::nullopt;
}

}  // namespace vantor::tools
