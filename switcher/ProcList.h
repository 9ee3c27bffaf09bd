// The model of the system's Command-Tab switcher: its entries with their hint keys, the list's
// frame, whether it shows; it follows the Dock's switcher through Accessibility and can open and
// cancel it. Observers attach for the key paths "items" and "showing".
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/KeyValueObserving.h"
#include "platform/Platform.h"
#include "switcher/HintKeys.h"
#include "switcher/ProcItem.h"
#include "switcher/ProcListScan.h"

namespace vantor {

// User data of the event source behind every event the agent posts itself; the event tap lets
// such events pass untouched.
inline constexpr std::int64_t kEventMarkerUserData = 19900620;

inline constexpr std::string_view kDockBundleIdentifier = "com.apple.dock";
// How long each Accessibility call to the Dock may wait for its answer, in seconds.
inline constexpr float kDockMessagingTimeout = 0.25F;

class ProcList : private platform::KeyValueObserver {
public:
    using ItemMap = std::map<std::string, ProcItemRef>;

    // Creates the fields and the event source, starts following the Dock and subscribes to
    // the workspace's did-terminate notification.
    explicit ProcList(platform::Platform& platform);
    ~ProcList();
    ProcList(const ProcList&) = delete;
    ProcList& operator=(const ProcList&) = delete;

    // Hint key to entry: the live dictionary, emptied and refilled by every scan.
    const ItemMap& items() const { return _items; }
    // The list's frame in screen coordinates, valid while `showing`.
    const platform::Rect& frame() const { return _frame; }
    bool showing() const { return _showing; }
    // Announces "showing" on every call, also when the value does not change.
    void setShowing(bool showing);
    // The list on screen could not be read at its last scan: it still shows, without hints,
    // until a scan of it is answered or it is destroyed.
    bool listStalled() const { return _showing && !_currentListAxElem && _stalledListAxElem; }

    // Key-value observation of "items" and "showing".
    void addObserver(platform::KeyValueObserver& observer, std::string_view keyPath,
                     unsigned options, const void* context);
    void removeObserver(platform::KeyValueObserver& observer, std::string_view keyPath);

    // Scans a switcher list element into the model and announces "items".
    void handleProcListElem(const platform::AXElement& listElem);
    // How scans read the list: batched unless set otherwise. Both ways leave the same state.
    ScanMode scanMode() const { return _scanMode; }
    void setScanMode(ScanMode mode) { _scanMode = mode; }
    // Whether a rescan that finds the current list's frame and children as the last complete
    // scan left them keeps the model without reading further (the default). Off, every scan
    // reads everything; the model ends the same either way.
    bool skipsUnchangedRescans() const { return _skipsUnchangedRescans; }
    void setSkipsUnchangedRescans(bool skips) { _skipsUnchangedRescans = skips; }
    // The same switcher shown at once on another display (the Dock's all-displays setting): its
    // list element, its frame in screen coordinates, and its entries under the current list's
    // keys, each with its frame relative to that list.
    struct OtherList {
        platform::AXElement elem;
        platform::Rect frame;
        ItemMap items;
    };
    // The lists the Dock shows beside the current one, in the order they appeared. Each is read
    // again whenever the current list's entries are; "items" is announced when one comes or goes.
    const std::vector<OtherList>& otherLists() const { return _otherLists; }
    // Makes an element (or none) the current list.
    void _setCurrentListAXElem(const platform::AXElement& elem);
    // Number of entries of the last scan that share the key's letter; 0 when none does.
    std::int32_t getMultiplexCountForKey(std::string_view key) const;

    // Opens the switcher with a synthetic Command-Tab.
    void show();
    // Cancels the switcher on screen, if any.
    void dismiss();

    // Actions on the switcher while it shows. They post pointer moves and Command-key presses
    // marked as the agent's own, or go through the workspace; none reports a failure.
    // Moves the pointer onto the key's icon, so that the switcher highlights it.
    void selectItemByKey(std::string_view key);
    // Brings the key's application to the front; true when that succeeded. An entry whose
    // application name another entry shares has its icon pressed instead: looked up by name,
    // the first of them would come forward.
    bool activateItemForKey(std::string_view key);
    // Brings the switcher's highlighted application to the front, or presses its icon.
    void activateSelectedItem();
    // The switcher's highlighted entry as read from the Dock: its item title and icon element.
    struct SelectedItem {
        std::string title;
        platform::AXElement element;
    };
    std::optional<SelectedItem> selectedItem();
    // Brings the entry's application to the front, or presses its icon when that fails.
    void activateItem(const SelectedItem& item);
    // Moves the pointer onto the key's icon, then posts Command-Q.
    void quitItemForKey(std::string_view key);
    // Command-Q and Command-H: the switcher quits or hides its highlighted application.
    void quitSelectedItem();
    void hideSelectedItem();
    // Command-Return: the switcher switches to its highlighted application and closes.
    void switchToSelectedItem();
    // Opens the application whose switcher title this item title names; true on success.
    bool activateByTitle(std::string_view title);
    // Whether another entry of the list has the same application name as this item title.
    bool nameIsShared(std::string_view itemTitle) const;

    // Read by the switcher actions and the tests.
    const std::vector<ProcItemRef>& itemsArray() const { return _itemsArray; }
    const platform::AXElement& currentListAxElem() const { return _currentListAxElem; }
    const platform::AXElement& stalledListAxElem() const { return _stalledListAxElem; }
    const platform::Rect& mainScreenFrame() const { return _mainScreenFrame; }
    const TitleToKeyMap& titleToKeyMap() const { return _titleToKeyMap; }
    const MultiplexCounter& multiplexCounter() const { return _multiplexCounter; }
    const platform::EventSource& eventSource() const { return _eventSource; }
    const std::unordered_map<std::string, std::string>& appNameMap() const { return _appNameMap; }

private:
    struct Observation {
        platform::KeyValueObserver* observer;
        std::string keyPath;
        unsigned options;
        const void* context;
    };

    void _observerDock();
    void scheduleObserverDock(double seconds);
    static void dockObserverCallback(const platform::AXObserver& observer,
                                     const platform::AXElement& element,
                                     std::string_view notification, void* refcon);
    void handleWorkspaceNoti(const platform::WorkspaceNotification& notification);
    // Reads another list's frame and children and gives each child the key of the current
    // list's child at its place; a list that cannot be read keeps no entries.
    void scanOtherList(OtherList& list);
    // A list element that the Dock shows beside the current one comes or goes.
    void addOtherList(const platform::AXElement& listElem);
    bool removeOtherList(const platform::AXElement& listElem);
    // Whether a list read by readListHead is the current one as the last complete scan left it.
    bool listUnchanged(const platform::AXElement& listElem, const ListScan& head,
                       const platform::Rect& screen) const;
    // The list whose selection changes are followed: the current one, or else the one whose
    // last scan failed.
    const platform::AXElement& listInView() const {
        return _currentListAxElem ? _currentListAxElem : _stalledListAxElem;
    }
    void observeValueForKeyPath(std::string_view keyPath, const void* object,
                                const platform::KeyValueChange& change,
                                const void* context) override;
    // The centre of an item's icon in Accessibility coordinates, given the list's frame there.
    platform::Point itemCentre(const ProcItem& item, const platform::Rect& axListFrame) const;
    void postPointerMove(platform::Point position);
    void postCommandKeyPress(std::uint16_t virtualKey);
    void willChangeValueForKey(std::string_view key);
    void didChangeValueForKey(std::string_view key);

    platform::Platform& _platform;

    platform::Rect _mainScreenFrame;
    platform::AXElement _currentListAxElem;
    // The list whose last scan ran out of time, or could not read the frame of the list on
    // screen; none otherwise.
    platform::AXElement _stalledListAxElem;
    platform::AXElement _currentDockAxElem;
    platform::AXObserver _currentDockAxObserver;
    platform::RunLoopSource _currentDockAxObserverSource;
    std::vector<ProcItemRef> _itemsArray;
    ItemMap _items;
    std::vector<OtherList> _otherLists;
    TitleToKeyMap _titleToKeyMap;
    std::unordered_map<std::string, std::string> _appNameMap;
    MultiplexCounter _multiplexCounter;
    platform::EventSource _eventSource;
    std::int32_t dockProc = 0;  // process identifier of the observed Dock, 0 when none
    bool _showing = false;
    platform::Rect _frame;
    ScanMode _scanMode = ScanMode::Batched;
    bool _skipsUnchangedRescans = true;
    // The current list's Accessibility frame as the last scan read it, and whether that scan
    // read every child in full (then the items are the list's children, one for one).
    platform::Rect _scannedAxFrame;
    bool _scanComplete = false;

    // Identifies this model's own observation of the Dock's "terminated" property.
    const char _dockTerminatedContext = 0;
    std::vector<Observation> _observations;
    // Blocks scheduled on the run loop hold a weak reference to this, so none runs on a model
    // that has gone.
    std::shared_ptr<ProcList*> _self;
};

}  // namespace vantor
