#include "switcher/ProcList.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>

#include "platform/VirtualKeyCodes.h"
#include "switcher/Coordinates.h"

namespace vantor {

using platform::AXAttributeValue;
using platform::AXElement;
using platform::AXError;
using platform::Rect;

namespace {

constexpr std::string_view kItemsKey = "items";
constexpr std::string_view kShowingKey = "showing";

constexpr std::string_view kAXCreated = "AXCreated";
constexpr std::string_view kAXUIElementDestroyed = "AXUIElementDestroyed";
constexpr std::string_view kAXSelectedChildrenChanged = "AXSelectedChildrenChanged";
constexpr std::string_view kAXProcessSwitcherList = "AXProcessSwitcherList";

}  // namespace

ProcList::ProcList(platform::Platform& platform)
    : _platform(platform), _self(std::make_shared<ProcList*>(this)) {
    _itemsArray.reserve(36);
    _titleToKeyMap.reserve(24);
    _appNameMap.reserve(24);
    _eventSource = _platform.events.sourceCreate(platform::EventSourceStateID::Private);
    _platform.events.sourceSetUserData(_eventSource, kEventMarkerUserData);

    _observerDock();

    std::weak_ptr<ProcList*> weak = _self;
    _platform.workspace.addNotificationObserver(
        platform::kWorkspaceDidTerminateApplicationNotification,
        [weak](const platform::WorkspaceNotification& notification) {
            if (auto self = weak.lock()) (*self)->handleWorkspaceNoti(notification);
        });
}

ProcList::~ProcList() {
    // Nothing may call back into a model that has gone: the observer's source leaves the run
    // loop, the Dock is no longer watched, and scheduled blocks find the weak reference empty.
    _self.reset();
    if (_currentDockAxObserverSource)
        _platform.runLoop.removeSource(_currentDockAxObserverSource,
                                       platform::RunLoopMode::Default);
    if (dockProc) _platform.workspace.removeTerminatedObserver(dockProc, *this);
}

void ProcList::setShowing(bool showing) {
    willChangeValueForKey(kShowingKey);
    _showing = showing;
    didChangeValueForKey(kShowingKey);
}

void ProcList::addObserver(platform::KeyValueObserver& observer, std::string_view keyPath,
                           unsigned options, const void* context) {
    _observations.push_back({&observer, std::string(keyPath), options, context});
}

void ProcList::removeObserver(platform::KeyValueObserver& observer, std::string_view keyPath) {
    std::erase_if(_observations, [&](const Observation& o) {
        return o.observer == &observer && o.keyPath == keyPath;
    });
}

void ProcList::willChangeValueForKey(std::string_view) {}

void ProcList::didChangeValueForKey(std::string_view key) {
    platform::KeyValueChange change;
    if (key == kShowingKey) change.newBool = _showing;
    // An observer may add or remove observations while it is told; tell those registered now.
    const std::vector<Observation> observations = _observations;
    for (const Observation& o : observations) {
        if (o.keyPath != key) continue;
        platform::KeyValueChange told;
        if (o.options & platform::kKeyValueObservingOptionNew) told = change;
        o.observer->observeValueForKeyPath(key, this, told, o.context);
    }
}

void ProcList::_setCurrentListAXElem(const AXElement& elem) {
    // The handle's assignment takes the new reference before it gives up the old one.
    _currentListAxElem = elem;
}

std::int32_t ProcList::getMultiplexCountForKey(std::string_view key) const {
    if (key.empty()) return 0;
    return multiplexCountForKey(_multiplexCounter, key);
}

bool ProcList::listUnchanged(const AXElement& listElem, const ListScan& head,
                             const Rect& screen) const {
    if (!_scanComplete || !_currentListAxElem || !(listElem == _currentListAxElem)) return false;
    if (head.outcome != ListScan::Outcome::Read || head.frame != _scannedAxFrame) return false;
    if (screen != _mainScreenFrame || head.elements.size() != _itemsArray.size()) return false;
    for (std::size_t i = 0; i < head.elements.size(); ++i) {
        if (!(head.elements[i] == _itemsArray[i]->axElem())) return false;
    }
    return true;
}

void ProcList::handleProcListElem(const AXElement& listElem) {
    const std::vector<Rect> screens = _platform.screens.screenFrames();
    const Rect screen = screens.empty() ? Rect{} : screens.front();
    // An answered scan of the list whose last read failed brings its hints back.
    const bool resuming =
        !_currentListAxElem && _stalledListAxElem && listElem == _stalledListAxElem;

    ListScan scan;
    readListHead(_platform.accessibility, listElem, _scanMode, scan);
    // The Dock's list does not change while it shows, except through changes that also change
    // its children or its frame: a rescan that finds both as they were keeps the model and
    // announces nothing, so a change of the highlight costs one round trip.
    if (_skipsUnchangedRescans && listUnchanged(listElem, scan, screen)) return;
    readListChildren(_platform.accessibility, _scanMode, scan);

    _mainScreenFrame = screen;
    const double screenHeight = _mainScreenFrame.size.height;
    _scanComplete = false;
    // The Dock did not answer in time, or could not give the frame of the list it shows. The
    // list is remembered: the next scan of it that is answered brings the hints back, and its
    // destroyed notice ends `showing`. Meanwhile the switcher still shows, so that Escape,
    // Return and the navigation keys keep reaching it; only the hints go, and hint keys pick
    // nothing.
    const bool unanswered = scan.outcome == ListScan::Outcome::Unanswered;
    const bool lostOnScreen =
        scan.outcome == ListScan::Outcome::FrameUnreadable && _showing && listElem;
    if (unanswered || lostOnScreen) {
        _setCurrentListAXElem(AXElement());
        _stalledListAxElem = listElem;
        if (_showing) {
            _itemsArray.clear();
            _items.clear();
            _multiplexCounter.clear();
            setShowing(true);
        }
        return;
    }
    _stalledListAxElem = AXElement();
    if (scan.outcome == ListScan::Outcome::FrameUnreadable) {
        // A list that was not showing, or no list at all: nothing shows.
        _setCurrentListAXElem(AXElement());
        if (_showing) setShowing(false);
        return;
    }
    _frame = flipRect(scan.frame, screenHeight);
    _scannedAxFrame = scan.frame;
    _setCurrentListAXElem(listElem);

    _itemsArray.clear();
    _items.clear();
    _multiplexCounter.clear();
    for (OtherList& other : _otherLists)
        other.items.clear();
    if (scan.outcome == ListScan::Outcome::ChildrenUnreadable) {
        if (resuming) setShowing(true);
        return;
    }
    _scanComplete = scan.complete;

    std::vector<std::string> rawTitles;
    rawTitles.reserve(scan.children.size());
    for (ListScan::Child& child : scan.children) {
        // A child whose frame cannot be read gets a zero frame.
        Rect itemFrame;
        if (child.frame) itemFrame = frameRelativeToList(*child.frame, screenHeight, _frame);
        _itemsArray.push_back(
            ProcItem::itemWithTitle(child.title, itemFrame, child.index, child.elem));
        rawTitles.push_back(std::move(child.title));
    }
    // The items hold the elements now; the children left out are given up before anyone hears
    // of the scan.
    scan.children.clear();

    HintKeyAssignment assignment = assignHintKeys(rawTitles, _titleToKeyMap);
    for (std::size_t i = 0; i < _itemsArray.size(); ++i) {
        _itemsArray[i]->setTitle(std::move(assignment.itemTitles[i]));
        if (!assignment.keys[i].empty())
            _items.emplace(std::move(assignment.keys[i]), _itemsArray[i]);
    }
    _multiplexCounter = std::move(assignment.multiplexCounter);
    for (OtherList& other : _otherLists)
        scanOtherList(other);

    willChangeValueForKey(kItemsKey);
    didChangeValueForKey(kItemsKey);
    if (resuming) setShowing(true);
}

void ProcList::scanOtherList(OtherList& other) {
    ListScan scan;
    scanListElem(_platform.accessibility, other.elem, _scanMode, scan);
    other.items.clear();
    if (scan.outcome == ListScan::Outcome::Unanswered ||
        scan.outcome == ListScan::Outcome::FrameUnreadable)
        return;
    const double screenHeight = _mainScreenFrame.size.height;
    other.frame = flipRect(scan.frame, screenHeight);
    // Both lists hold the same applications in the same order.
    std::unordered_map<std::int32_t, std::pair<const std::string*, const ProcItem*>> atIndex;
    for (const auto& [key, item] : _items)
        atIndex.emplace(item->index(), std::pair(&key, item.get()));
    for (const ListScan::Child& child : scan.children) {
        const auto it = atIndex.find(child.index);
        if (it == atIndex.end()) continue;
        Rect itemFrame;
        if (child.frame) itemFrame = frameRelativeToList(*child.frame, screenHeight, other.frame);
        const auto& [key, item] = it->second;
        other.items.emplace(
            *key, ProcItem::itemWithTitle(item->title(), itemFrame, child.index, child.elem));
    }
}

void ProcList::addOtherList(const AXElement& listElem) {
    _otherLists.push_back({listElem, {}, {}});
    scanOtherList(_otherLists.back());
    willChangeValueForKey(kItemsKey);
    didChangeValueForKey(kItemsKey);
}

bool ProcList::removeOtherList(const AXElement& listElem) {
    const auto it = std::find_if(_otherLists.begin(), _otherLists.end(),
                                 [&](const OtherList& other) { return other.elem == listElem; });
    if (it == _otherLists.end()) return false;
    _otherLists.erase(it);
    willChangeValueForKey(kItemsKey);
    didChangeValueForKey(kItemsKey);
    return true;
}

void ProcList::scheduleObserverDock(double seconds) {
    std::weak_ptr<ProcList*> weak = _self;
    _platform.runLoop.performAfterDelay(seconds,
                                        [weak] {
                                            if (auto self = weak.lock()) (*self)->_observerDock();
                                        },
                                        {platform::RunLoopMode::Default});
}

void ProcList::_observerDock() {
    platform::Accessibility& ax = _platform.accessibility;
    platform::Log& log = _platform.log;

    if (dockProc) {
        _platform.workspace.removeTerminatedObserver(dockProc, *this);
        dockProc = 0;
    }

    const auto docks =
        _platform.workspace.runningApplicationsWithBundleIdentifier(kDockBundleIdentifier);
    if (docks.empty()) {
        log.log("Dock not running... schedule retry for 1 sec");
        scheduleObserverDock(1.0);
        return;
    }
    const std::int32_t pid = docks.front().processIdentifier;
    dockProc = pid;
    _platform.workspace.addTerminatedObserver(pid, *this, &_dockTerminatedContext);
    log.log(fmt::format("{}", pid));

    _setCurrentListAXElem(AXElement());
    _stalledListAxElem = AXElement();
    _otherLists.clear();
    _currentDockAxElem = ax.createApplication(pid);
    // A busy Dock holds the main thread, and with it every key, for at most this long per call.
    ax.setMessagingTimeout(_currentDockAxElem, kDockMessagingTimeout);

    if (_currentDockAxObserver) {
        _platform.runLoop.removeSource(_currentDockAxObserverSource,
                                       platform::RunLoopMode::Default);
        _currentDockAxObserverSource.reset();
        _currentDockAxObserver.reset();
    }

    platform::AXObserver observer;
    if (AXError err = ax.observerCreate(pid, &ProcList::dockObserverCallback, observer)) {
        log.log(fmt::format("Fail AXObserverCreate: {}", err));
        log.log("schedule retry for 1 sec");
        scheduleObserverDock(1.0);
        return;
    }
    _currentDockAxObserver = std::move(observer);

    static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kNotifications{{
        {kAXCreated, "Fail kAXCreatedNotification: {}"},
        {kAXUIElementDestroyed, "Fail kAXUIElementDestroyedNotification: {}"},
        {kAXSelectedChildrenChanged, "Fail kAXSelectedChildrenChangedNotification: {}"},
    }};
    for (const auto& [notification, failure] : kNotifications) {
        if (AXError err = ax.observerAddNotification(_currentDockAxObserver, _currentDockAxElem,
                                                     notification, this)) {
            log.log(fmt::format(fmt::runtime(failure), err));
            log.log("schedule retry for 1 sec");
            scheduleObserverDock(1.0);
            return;
        }
    }

    _currentDockAxObserverSource = ax.observerGetRunLoopSource(_currentDockAxObserver);
    _platform.runLoop.addSource(_currentDockAxObserverSource, platform::RunLoopMode::Default);
}

void ProcList::dockObserverCallback(const platform::AXObserver&, const AXElement& element,
                                    std::string_view notification, void* refcon) {
    auto* self = static_cast<ProcList*>(refcon);

    if (notification == kAXUIElementDestroyed && self->removeOtherList(element)) return;
    if (notification == kAXUIElementDestroyed && self->_currentListAxElem) {
        if (element == self->_currentListAxElem) {
            self->_setCurrentListAXElem(AXElement());
            self->_otherLists.clear();
            self->setShowing(false);
        } else {
            const AXElement list = self->_currentListAxElem;
            self->handleProcListElem(list);
        }
    } else if (notification == kAXCreated) {
        AXAttributeValue subrole;
        if (self->_platform.accessibility.copyAttributeValue(element, "AXSubrole", subrole) !=
            platform::kAXErrorSuccess)
            return;
        const auto* s = std::get_if<std::string>(&subrole);
        if (s && *s == kAXProcessSwitcherList) {
            // A list that appears while the current one shows is the same switcher on another
            // display: it gets the same hints.
            if (self->_showing && self->_currentListAxElem &&
                !(element == self->_currentListAxElem)) {
                self->addOtherList(element);
                return;
            }
            self->_otherLists.clear();
            self->handleProcListElem(element);
            // A list whose frame could not be read is not current; nothing shows then.
            if (self->_currentListAxElem) self->setShowing(true);
        }
    } else if (notification == kAXSelectedChildrenChanged && element == self->listInView()) {
        self->handleProcListElem(element);
    } else if (notification == kAXUIElementDestroyed && self->_stalledListAxElem &&
               element == self->_stalledListAxElem) {
        self->_stalledListAxElem = AXElement();
        self->_otherLists.clear();
        if (self->_showing) self->setShowing(false);
    }
}

void ProcList::handleWorkspaceNoti(const platform::WorkspaceNotification& notification) {
    if (notification.name != platform::kWorkspaceDidTerminateApplicationNotification) return;
    if (!_showing) return;
    const AXElement list = listInView();
    handleProcListElem(list);
}

void ProcList::observeValueForKeyPath(std::string_view, const void*,
                                      const platform::KeyValueChange&, const void* context) {
    if (context != &_dockTerminatedContext) return;
    // The Dock has terminated. The main thread carries every input event behind the tap, so
    // it is not blocked while the Dock restarts: the switcher is gone at once and the Dock is
    // searched for again 2 s later.
    _otherLists.clear();
    setShowing(false);
    scheduleObserverDock(2.0);
}

void ProcList::show() {
    platform::EventServices& events = _platform.events;
    const platform::Event down = events.createKeyboardEvent(_eventSource, platform::vk::Tab, true);
    const platform::Event up = events.createKeyboardEvent(_eventSource, platform::vk::Tab, false);
    events.setFlags(down, platform::kEventFlagMaskCommand);
    events.setFlags(up, platform::kEventFlagMaskCommand);
    events.post(platform::EventTapLocation::HID, down);
    events.post(platform::EventTapLocation::HID, up);
}

void ProcList::dismiss() {
    if (const AXElement& list = listInView())
        _platform.accessibility.performAction(list, "AXCancel");
}

}  // namespace vantor
