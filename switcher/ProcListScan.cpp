#include "switcher/ProcListScan.h"

#include <array>
#include <string_view>
#include <utility>

namespace vantor {

using platform::AXAttributeResult;
using platform::AXAttributeValue;
using platform::AXElement;
using platform::AXError;
using platform::Rect;

namespace {

constexpr std::array<std::string_view, 3> kListAttributes{"AXPosition", "AXSize", "AXChildren"};
constexpr std::size_t kListPosition = 0;
constexpr std::size_t kListChildren = 2;

constexpr std::array<std::string_view, 3> kChildAttributes{"AXTitle", "AXPosition", "AXSize"};
constexpr std::size_t kChildTitle = 0;
constexpr std::size_t kChildPosition = 1;

// The value of a batched read's entry when that attribute was read; an entry that is missing
// or holds an error gives none.
AXAttributeValue* readValue(std::vector<AXAttributeResult>& results, std::size_t i) {
    if (i >= results.size() || results[i].error != platform::kAXErrorSuccess) return nullptr;
    return &results[i].value;
}

// The frame of the position entry at `i` and the size entry after it, read as getElemFrame
// reads them: a value of another type leaves that half zero. False when either entry failed.
bool frameFromEntries(std::vector<AXAttributeResult>& results, std::size_t i, Rect& frame) {
    const AXAttributeValue* position = readValue(results, i);
    if (!position) return false;
    const AXAttributeValue* size = readValue(results, i + 1);
    if (!size) return false;
    platform::Point origin;
    platform::Size extent;
    platform::axValueGetValue(*position, origin);
    platform::axValueGetValue(*size, extent);
    frame = {origin, extent};
    return true;
}

void scanBatched(platform::Accessibility& ax, const AXElement& listElem, ListScan& scan) {
    if (!listElem) return;
    std::vector<AXAttributeResult> results;
    if (ax.copyMultipleAttributeValues(listElem, kListAttributes, results) !=
        platform::kAXErrorSuccess)
        return;
    if (!frameFromEntries(results, kListPosition, scan.frame)) return;
    scan.outcome = ListScan::Outcome::ChildrenUnreadable;
    AXAttributeValue* children = readValue(results, kListChildren);
    if (!children) return;
    scan.outcome = ListScan::Outcome::Read;

    auto* elements = std::get_if<std::vector<AXElement>>(children);
    const std::size_t count = elements ? elements->size() : 0;
    scan.children.reserve(count);
    std::vector<AXAttributeResult> childResults;
    childResults.reserve(kChildAttributes.size());
    for (std::size_t i = 0; i < count; ++i) {
        AXElement& child = (*elements)[i];
        // A child that does not answer at all is left out, as one without a title.
        if (ax.copyMultipleAttributeValues(child, kChildAttributes, childResults) !=
            platform::kAXErrorSuccess)
            continue;
        AXAttributeValue* title = readValue(childResults, kChildTitle);
        if (!title) continue;
        ListScan::Child entry;
        entry.index = static_cast<std::int32_t>(i);
        if (auto* s = std::get_if<std::string>(title)) entry.title = std::move(*s);
        Rect frame;
        if (frameFromEntries(childResults, kChildPosition, frame)) entry.frame = frame;
        entry.elem = std::move(child);
        scan.children.push_back(std::move(entry));
    }
}

void scanOneAttributeAtATime(platform::Accessibility& ax, const AXElement& listElem,
                             ListScan& scan) {
    if (getElemFrame(ax, listElem, scan.frame) != platform::kAXErrorSuccess) return;
    scan.outcome = ListScan::Outcome::ChildrenUnreadable;
    AXAttributeValue children;
    if (ax.copyAttributeValue(listElem, "AXChildren", children) != platform::kAXErrorSuccess)
        return;
    scan.outcome = ListScan::Outcome::Read;

    auto* elements = std::get_if<std::vector<AXElement>>(&children);
    const std::size_t count = elements ? elements->size() : 0;
    scan.children.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        AXElement& child = (*elements)[i];
        AXAttributeValue title;
        if (ax.copyAttributeValue(child, "AXTitle", title) != platform::kAXErrorSuccess) continue;
        ListScan::Child entry;
        entry.index = static_cast<std::int32_t>(i);
        if (auto* s = std::get_if<std::string>(&title)) entry.title = std::move(*s);
        Rect frame;
        if (getElemFrame(ax, child, frame) == platform::kAXErrorSuccess) entry.frame = frame;
        entry.elem = std::move(child);
        scan.children.push_back(std::move(entry));
    }
}

}  // namespace

AXError getElemFrame(platform::Accessibility& ax, const AXElement& elem, Rect& frame) {
    if (!elem) return platform::kAXErrorIllegalArgument;
    platform::Point origin;
    platform::Size size;
    {
        AXAttributeValue value;
        if (AXError err = ax.copyAttributeValue(elem, "AXPosition", value)) return err;
        platform::axValueGetValue(value, origin);
    }
    {
        AXAttributeValue value;
        if (AXError err = ax.copyAttributeValue(elem, "AXSize", value)) return err;
        platform::axValueGetValue(value, size);
    }
    frame = {origin, size};
    return platform::kAXErrorSuccess;
}

void scanListElem(platform::Accessibility& ax, const AXElement& listElem, ScanMode mode,
                  ListScan& scan) {
    scan.outcome = ListScan::Outcome::FrameUnreadable;
    scan.frame = {};
    scan.children.clear();
    if (mode == ScanMode::Batched) {
        scanBatched(ax, listElem, scan);
    } else {
        scanOneAttributeAtATime(ax, listElem, scan);
    }
}

}  // namespace vantor
