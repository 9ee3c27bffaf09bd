#include "platform/sim/SimEventServices.h"

#include <fmt/format.h>

#include <algorithm>

#include "platform/sim/KeyNames.h"

namespace vantor::sim {

using platform::EventType;
using platform::TapEvent;

namespace {

class EventRef final : public RefObject {
public:
    explicit EventRef(const TapEvent& data) : RefObject(RefKind::Event), event(data) {}
    TapEvent event;
};

class EventSourceRef final : public RefObject {
public:
    explicit EventSourceRef(platform::EventSourceStateID stateID)
        : RefObject(RefKind::EventSource), state(stateID) {}
    platform::EventSourceStateID state;
    std::int64_t userData = 0;
};

class EventTapRef final : public RefObject {
public:
    explicit EventTapRef(std::shared_ptr<EventTapState> port)
        : RefObject(RefKind::EventTap), tap(std::move(port)) {}
    bool equals(const RefObject& other) const override {
        return tap == static_cast<const EventTapRef&>(other).tap;
    }
    // The port is invalidated with its last reference: the tap sees nothing more.
    void lastReleased() override { tap->valid = false; }
    std::shared_ptr<EventTapState> tap;
};

bool movesPointer(EventType type) {
    return type == EventType::MouseMoved || type == EventType::LeftMouseDragged ||
           type == EventType::RightMouseDragged || type == EventType::OtherMouseDragged;
}

// Key-downs and key-ups, which Secure Input keeps from the taps; flags-changed events pass.
bool isKeyboardKeyEvent(EventType type) {
    return type == EventType::KeyDown || type == EventType::KeyUp;
}

std::string describePosted(const TapEvent& event) {
    std::string text = printEvent(event);
    if (event.sourceUserData != 0) text += fmt::format(" (user data {})", event.sourceUserData);
    return text;
}

}  // namespace

SimEventServices::SimEventServices(RefLedger& ledger, SimRunLoop& runLoop, SimTrace& trace,
                                   SimScreens& screens)
    : ledger_(ledger), runLoop_(runLoop), trace_(trace), screens_(screens) {}

platform::EventSource SimEventServices::sourceCreate(platform::EventSourceStateID state) {
    return ledger_.adopt<platform::EventSourceTag>(std::make_unique<EventSourceRef>(state));
}

void SimEventServices::sourceSetUserData(const platform::EventSource& source,
                                         std::int64_t userData) {
    if (auto* ref = ledger_.find<EventSourceRef>(source.get(), RefKind::EventSource)) {
        ref->userData = userData;
    }
}

platform::EventFlags SimEventServices::sourceFlagsState(platform::EventSourceStateID state) {
    return state == platform::EventSourceStateID::Private ? 0 : liveFlags_;
}

platform::Event SimEventServices::createKeyboardEvent(const platform::EventSource& source,
                                                      std::uint16_t virtualKey, bool keyDown) {
    TapEvent event;
    event.type = keyDown ? EventType::KeyDown : EventType::KeyUp;
    event.keyCode = virtualKey;
    event.location = pointer_;
    // An event takes the source's user data, and the live modifiers unless the source keeps a
    // private state of its own.
    if (const auto* ref = ledger_.find<EventSourceRef>(source.get(), RefKind::EventSource)) {
        event.sourceUserData = ref->userData;
        if (ref->state != platform::EventSourceStateID::Private) event.flags = liveFlags_;
    }
    return ledger_.adopt<platform::EventTag>(std::make_unique<EventRef>(event));
}

platform::Event SimEventServices::createMouseEvent(const platform::EventSource& source,
                                                   EventType type, platform::Point position,
                                                   platform::MouseButton button) {
    TapEvent event;
    event.type = type;
    event.location = position;
    event.buttonNumber = static_cast<std::int64_t>(button);
    if (const auto* ref = ledger_.find<EventSourceRef>(source.get(), RefKind::EventSource)) {
        event.sourceUserData = ref->userData;
        if (ref->state != platform::EventSourceStateID::Private) event.flags = liveFlags_;
    }
    return ledger_.adopt<platform::EventTag>(std::make_unique<EventRef>(event));
}

void SimEventServices::setFlags(const platform::Event& event, platform::EventFlags flags) {
    if (auto* ref = ledger_.find<EventRef>(event.get(), RefKind::Event)) ref->event.flags = flags;
}

TapEvent SimEventServices::eventData(const platform::Event& event) const {
    const auto* ref = ledger_.find<EventRef>(event.get(), RefKind::Event);
    return ref ? ref->event : TapEvent{};
}

void SimEventServices::post(platform::EventTapLocation location, const platform::Event& event) {
    const auto* ref = ledger_.find<EventRef>(event.get(), RefKind::Event);
    if (!ref) return;
    trace_.add("post " + describePosted(ref->event));
    movePointerFor(ref->event);
    enter(StreamItem{ref->event, location, nullptr});
}

void SimEventServices::tapPostEvent(platform::EventTapProxy proxy, const platform::Event& event) {
    const auto* ref = ledger_.find<EventRef>(event.get(), RefKind::Event);
    if (!ref) return;
    for (ProxyContext* context : activeCallbacks_) {
        if (context != proxy) continue;
        trace_.add("post through tap " + describePosted(ref->event));
        movePointerFor(ref->event);
        context->posted.push_back(ref->event);
        return;
    }
    // A proxy of no running callback: the event enters at the HID level.
    post(platform::EventTapLocation::HID, event);
}

platform::EventTap SimEventServices::tapCreate(platform::EventTapLocation location,
                                               platform::EventMask mask,
                                               platform::EventTapCallback callback,
                                               void* userInfo) {
    if (tapCreationFailures_ != 0) {
        if (tapCreationFailures_ > 0) --tapCreationFailures_;
        trace_.add("event tap creation fails");
        return {};
    }
    if (!callback) return {};
    std::erase_if(taps_, [](const auto& tap) { return !tap->valid; });

    auto tap = std::make_shared<EventTapState>();
    tap->number = nextTapNumber_++;
    tap->location = location;
    tap->mask = mask;
    tap->callback = callback;
    tap->userInfo = userInfo;
    // Head insertion: the newest tap of a location sees events first.
    taps_.insert(taps_.begin() + static_cast<std::ptrdiff_t>(firstTapAt(location)), tap);
    return ledger_.adopt<platform::EventTapTag>(std::make_unique<EventTapRef>(tap));
}

platform::RunLoopSource SimEventServices::tapCreateRunLoopSource(const platform::EventTap& tap) {
    const std::shared_ptr<EventTapState> state = tapOf(tap);
    if (!state) return {};
    auto source = std::make_shared<RunLoopSourceState>(fmt::format("event tap {}", state->number));
    state->sources.push_back(source);
    return runLoop_.createSource(std::move(source));
}

void SimEventServices::tapEnable(const platform::EventTap& tap, bool enable) {
    const std::shared_ptr<EventTapState> state = tapOf(tap);
    if (!state || state->enabled == enable) return;
    state->enabled = enable;
    traceTap(*state, enable ? "enabled" : "disabled");
}

platform::Point SimEventServices::mouseLocation() {
    const double height = screens_.firstScreen().size.height;
    return {pointer_.x, height - pointer_.y};
}

void SimEventServices::injectHardware(const TapEvent& event, bool repeat) {
    trace_.add(fmt::format("hw {}{}", printEvent(event), repeat ? " (repeat)" : ""));
    enter(StreamItem{event, platform::EventTapLocation::HID, nullptr});
}

void SimEventServices::disableTap(const platform::EventTap& tap, EventType notice) {
    if (const std::shared_ptr<EventTapState> state = tapOf(tap)) {
        state->enabled = false;
        TapEvent event;
        event.type = notice;
        enter(StreamItem{event, platform::EventTapLocation::HID, state});
    }
}

void SimEventServices::disableAllTaps(EventType notice) {
    for (const auto& state : taps()) {
        if (!state->enabled) continue;
        state->enabled = false;
        TapEvent event;
        event.type = notice;
        enter(StreamItem{event, platform::EventTapLocation::HID, state});
    }
}

void SimEventServices::setSecureInput(bool on, std::optional<std::int32_t> holder) {
    secureInput_ = on;
    secureInputHolder_ = on ? holder : std::nullopt;
    trace_.add(on ? fmt::format("secure input on, held by {}",
                                holder ? fmt::format("pid {}", *holder) : "an unnamed process")
                  : std::string("secure input off"));
}

void SimEventServices::setTapSlow(const platform::EventTap& tap, bool slow) {
    if (const std::shared_ptr<EventTapState> state = tapOf(tap)) state->slow = slow;
}

void SimEventServices::setAllTapsSlow(bool slow) {
    for (const auto& state : taps_)
        state->slow = slow;
}

bool SimEventServices::tapEnabled(const platform::EventTap& tap) const {
    const std::shared_ptr<EventTapState> state = tapOf(tap);
    return state && state->enabled;
}

std::vector<std::shared_ptr<EventTapState>> SimEventServices::taps() const {
    std::vector<std::shared_ptr<EventTapState>> valid;
    for (const auto& tap : taps_) {
        if (tap->valid) valid.push_back(tap);
    }
    return valid;
}

std::shared_ptr<EventTapState> SimEventServices::tapOf(const platform::EventTap& tap) const {
    const auto* ref = ledger_.find<EventTapRef>(tap.get(), RefKind::EventTap);
    return ref ? ref->tap : nullptr;
}

bool SimEventServices::serviced(const EventTapState& tap) const {
    for (const auto& weak : tap.sources) {
        if (const auto source = weak.lock(); source && runLoop_.serviced(*source)) return true;
    }
    return false;
}

void SimEventServices::enter(StreamItem item) {
    // Posting never re-enters a callback: while an event is on its way, new ones wait behind it.
    queue_.push_back(std::move(item));
    if (draining_) return;
    draining_ = true;
    struct DrainEnd {
        bool& draining;
        ~DrainEnd() { draining = false; }
    } drainEnd{draining_};
    while (!queue_.empty()) {
        StreamItem next = std::move(queue_.front());
        queue_.pop_front();
        if (next.noticeFor) {
            deliverNotice(next.noticeFor, next.event.type);
        } else {
            flow(next.event, firstTapAt(next.from));
        }
    }
}

void SimEventServices::flow(TapEvent event, std::size_t start) {
    if (secureInput_ && isKeyboardKeyEvent(event.type)) {
        trace_.add("secure input: no tap sees it");
        if (downstream_) downstream_(event);
        return;
    }
    const std::vector<std::shared_ptr<EventTapState>> taps = taps_;
    for (std::size_t i = start; i < taps.size(); ++i) {
        const std::shared_ptr<EventTapState>& tap = taps[i];
        if (!tap->valid || !tap->enabled) continue;
        if ((tap->mask & platform::eventMaskBit(event.type)) == 0 || !serviced(*tap)) continue;

        ProxyContext context{tap, {}};
        activeCallbacks_.push_back(&context);
        platform::TapAnswer answer = tap->callback(&context, event, tap->userInfo);
        activeCallbacks_.pop_back();

        if (tap->slow) {
            // The system stopped waiting: the event went on unchanged and the tap is off.
            answer = {};
            tap->enabled = false;
            traceTap(*tap, "too slow");
            TapEvent notice;
            notice.type = EventType::TapDisabledByTimeout;
            queue_.push_back(StreamItem{notice, platform::EventTapLocation::HID, tap});
        }
        switch (answer.action) {
            case platform::TapAction::Pass:
                traceTap(*tap, "pass");
                break;
            case platform::TapAction::PassWithFlags: {
                const std::string words = modifierWords(answer.flags);
                traceTap(*tap, "pass, flags " + (words.empty() ? std::string("none") : words));
                break;
            }
            case platform::TapAction::Swallow:
                traceTap(*tap, "swallow");
                break;
        }
        // What the callback posted through its proxy goes on before the event it returned.
        flowPosted(context);
        if (answer.action == platform::TapAction::Swallow) return;
        if (answer.action == platform::TapAction::PassWithFlags) event.flags = answer.flags;
    }
    if (downstream_) downstream_(event);
}

void SimEventServices::deliverNotice(const std::shared_ptr<EventTapState>& tap, EventType notice) {
    if (!tap->valid) return;
    traceTap(*tap, notice == EventType::TapDisabledByTimeout ? "disabled by timeout"
                                                             : "disabled by user input");
    TapEvent event;
    event.type = notice;
    ProxyContext context{tap, {}};
    activeCallbacks_.push_back(&context);
    tap->callback(&context, event, tap->userInfo);
    activeCallbacks_.pop_back();
    flowPosted(context);
}

void SimEventServices::flowPosted(const ProxyContext& context) {
    for (const TapEvent& posted : context.posted)
        flow(posted, indexAfter(*context.tap));
}

std::size_t SimEventServices::firstTapAt(platform::EventTapLocation location) const {
    std::size_t i = 0;
    while (i < taps_.size() && taps_[i]->location < location)
        ++i;
    return i;
}

std::size_t SimEventServices::indexAfter(const EventTapState& tap) const {
    for (std::size_t i = 0; i < taps_.size(); ++i) {
        if (taps_[i].get() == &tap) return i + 1;
    }
    return taps_.size();
}

void SimEventServices::traceTap(const EventTapState& tap, std::string_view what) {
    if (tap.number == 1) {
        trace_.add(fmt::format("tap {}", what));
    } else {
        trace_.add(fmt::format("tap {} {}", tap.number, what));
    }
}

void SimEventServices::movePointerFor(const TapEvent& event) {
    if (movesPointer(event.type)) pointer_ = event.location;
}

}  // namespace vantor::sim
