// The switcher actions of ProcList: selecting, activating, quitting and hiding applications
// through the Dock's switcher, and finding an application by its switcher title.
#include <algorithm>
#include <vector>

#include "platform/VirtualKeyCodes.h"
#include "switcher/Coordinates.h"
#include "switcher/ProcList.h"

namespace vantor {

using platform::AXElement;
using platform::Point;
using platform::Rect;

namespace {

// The text before the last slash: the application's name in an item title "T/k"; empty when
// there is no slash.
std::string_view bareTitle(std::string_view title) {
    const auto slash = title.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : title.substr(0, slash);
}

// A bundle's file name without its extension: "Mail" for "/Applications/Mail.app".
std::string_view bundleName(std::string_view path) {
    std::string_view name =
        path.substr(path.rfind('/') == std::string_view::npos ? 0 : path.rfind('/') + 1);
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

double midX(const Rect& r) {
    return r.origin.x + r.size.width * 0.5;
}
double midY(const Rect& r) {
    return r.origin.y + r.size.height * 0.5;
}

}  // namespace

Point ProcList::itemCentre(const ProcItem& item, const Rect& axListFrame) const {
    // The item's frame is measured upwards from the list's bottom edge; in Accessibility
    // coordinates its centre lies that far above the list's bottom edge.
    return {_frame.origin.x + midX(item.frame()),
            axListFrame.origin.y + axListFrame.size.height - midY(item.frame())};
}

void ProcList::postPointerMove(Point position) {
    const platform::Event move = _platform.events.createMouseEvent(
        _eventSource, platform::EventType::MouseMoved, position, platform::MouseButton::Left);
    _platform.events.post(platform::EventTapLocation::HID, move);
}

void ProcList::postCommandKeyPress(std::uint16_t virtualKey) {
    const platform::Event press =
        _platform.events.createKeyboardEvent(_eventSource, virtualKey, true);
    _platform.events.setFlags(press, platform::kEventFlagMaskCommand);
    _platform.events.post(platform::EventTapLocation::HID, press);
}

void ProcList::selectItemByKey(std::string_view key) {
    const auto found = _items.find(std::string(key));
    if (found == _items.end()) return;
    Rect axList;
    if (getElemFrame(_platform.accessibility, _currentListAxElem, axList) !=
        platform::kAXErrorSuccess)
        return;
    postPointerMove(itemCentre(*found->second, axList));
}

void ProcList::quitItemForKey(std::string_view key) {
    const auto found = _items.find(std::string(key));
    if (found == _items.end()) return;
    // The list's Accessibility frame as the last scan saw it.
    const Rect axList = flipRect(_frame, _mainScreenFrame.size.height);
    postPointerMove(itemCentre(*found->second, axList));
    postCommandKeyPress(platform::vk::Q);
}

void ProcList::quitSelectedItem() {
    postCommandKeyPress(platform::vk::Q);
}

void ProcList::hideSelectedItem() {
    postCommandKeyPress(platform::vk::H);
}

void ProcList::switchToSelectedItem() {
    postCommandKeyPress(platform::vk::Return);
}

bool ProcList::activateItemForKey(std::string_view key) {
    const auto found = _items.find(std::string(key));
    if (found == _items.end()) return false;
    const ProcItem& item = *found->second;
    // The name would find the first of the applications that share it: press this icon.
    if (nameIsShared(item.title()))
        return _platform.accessibility.performAction(item.axElem(), "AXPress") ==
               platform::kAXErrorSuccess;
    return activateByTitle(item.title());
}

bool ProcList::nameIsShared(std::string_view itemTitle) const {
    const std::string_view name = bareTitle(itemTitle);
    return std::count_if(_itemsArray.begin(), _itemsArray.end(), [name](const ProcItemRef& item) {
               return bareTitle(item->title()) == name;
           }) > 1;
}

void ProcList::activateSelectedItem() {
    if (const std::optional<SelectedItem> selected = selectedItem()) activateItem(*selected);
}

std::optional<ProcList::SelectedItem> ProcList::selectedItem() {
    platform::Accessibility& ax = _platform.accessibility;
    if (!_currentListAxElem) return std::nullopt;
    platform::AXAttributeValue selected;
    if (ax.copyAttributeValue(_currentListAxElem, "AXSelectedChildren", selected) !=
        platform::kAXErrorSuccess)
        return std::nullopt;
    const auto* children = std::get_if<std::vector<AXElement>>(&selected);
    if (!children || children->size() != 1) return std::nullopt;
    const AXElement& child = children->front();

    Rect axFrame;
    if (getElemFrame(ax, child, axFrame) != platform::kAXErrorSuccess) return std::nullopt;
    const Rect frame = frameRelativeToList(axFrame, _mainScreenFrame.size.height, _frame);
    for (const ProcItemRef& item : _itemsArray) {
        if (item->frame() == frame) return SelectedItem{item->title(), child};
    }
    return std::nullopt;
}

void ProcList::activateItem(const SelectedItem& item) {
    if (nameIsShared(item.title) || !activateByTitle(item.title))
        _platform.accessibility.performAction(item.element, "AXPress");
}

bool ProcList::activateByTitle(std::string_view title) {
    platform::Workspace& workspace = _platform.workspace;
    const std::string name(bareTitle(title));

    if (const auto cached = _appNameMap.find(name); cached != _appNameMap.end()) {
        if (workspace.launchApplication(cached->second)) {
            if (const auto owner = workspace.menuBarOwningApplication()) {
                workspace.activateWithOptions(owner->processIdentifier,
                                              platform::kApplicationActivateAllWindows |
                                                  platform::kApplicationActivateIgnoringOtherApps);
            }
            return true;
        }
    }

    for (const platform::RunningApplication& app : workspace.runningApplications()) {
        if (app.localizedName != name && bundleName(app.bundlePath) != name) continue;
        if (workspace.launchApplication(app.bundlePath)) {
            _appNameMap[name] = app.bundlePath;
            return true;
        }
    }
    return false;
}

}  // namespace vantor
