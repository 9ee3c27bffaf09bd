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

AXError entryError(const std::vector<AXAttributeResult>& results, std::size_t i) {
    return i < results.size() ? results[i].error : platform::kAXErrorNoValue;
}

// The frame of the position entry at `i` and the size entry after it, read as getElemFrame
// reads them: a value of another type leaves that half zero. On failure, the error of the
// first entry that failed, and `frame` untouched.
AXError frameFromEntries(std::vector<AXAttributeResult>& results, std::size_t i, Rect& frame) {
    if (AXError err = entryError(results, i)) return err;
    if (AXError err = entryError(results, i + 1)) return err;
    platform::Point origin;
    platform::Size extent;
    platform::axValueGetValue(results[i].value, origin);
    platform::axValueGetValue(results[i + 1].value, extent);
    frame = {origin, extent};
    return platform::kAXErrorSuccess;
}

bool timedOut(AXError err) {
    return err == platform::kAXErrorCannotComplete;
}

void giveUpUnanswered(ListScan& scan) {
    scan.outcome = ListScan::Outcome::Unanswered;
    scan.elements.clear();
    scan.children.clear();
    scan.complete = false;
}

// The children of the read that held, as elements; none when the value is not an array.
void takeElements(AXAttributeValue& children, ListScan& scan) {
    scan.outcome = ListScan::Outcome::Read;
    if (auto* elements = std::get_if<std::vector<AXElement>>(&children))
        scan.elements = std::move(*elements);
}

void headBatched(platform::Accessibility& ax, const AXElement& listElem, ListScan& scan) {
    if (!listElem) return;
    std::vector<AXAttributeResult> results;
    const AXError err = ax.copyMultipleAttributeValues(listElem, kListAttributes, results);
    if (timedOut(err)) return giveUpUnanswered(scan);
    if (err != platform::kAXErrorSuccess) return;
    // The entries are taken in the order the reads one at a time ask for them.
    if (const AXError frameErr = frameFromEntries(results, kListPosition, scan.frame)) {
        if (timedOut(frameErr)) giveUpUnanswered(scan);
        return;
    }
    scan.outcome = ListScan::Outcome::ChildrenUnreadable;
    if (AXAttributeValue* children = readValue(results, kListChildren))
        takeElements(*children, scan);
}

void headOneAttributeAtATime(platform::Accessibility& ax, const AXElement& listElem,
                             ListScan& scan) {
    if (const AXError err = getElemFrame(ax, listElem, scan.frame)) {
        if (timedOut(err)) giveUpUnanswered(scan);
        return;
    }
    scan.outcome = ListScan::Outcome::ChildrenUnreadable;
    AXAttributeValue children;
    if (ax.copyAttributeValue(listElem, "AXChildren", children) == platform::kAXErrorSuccess)
        takeElements(children, scan);
}

// A child's frame read: kept when it succeeded; a failure leaves the entry without a frame and
// the scan incomplete; a time-out ends the scan.
AXError keepFrame(AXError frameErr, const Rect& frame, ListScan::Child& entry, bool& complete) {
    if (timedOut(frameErr)) return frameErr;
    if (frameErr) {
        complete = false;
    } else {
        entry.frame = frame;
    }
    return platform::kAXErrorSuccess;
}

// Reads one child into `entry`: success, the error that left it out, or a time-out.
AXError childBatched(platform::Accessibility& ax, AXElement& child,
                     std::vector<AXAttributeResult>& results, ListScan::Child& entry,
                     bool& complete) {
    if (AXError err = ax.copyMultipleAttributeValues(child, kChildAttributes, results)) return err;
    if (AXError err = entryError(results, kChildTitle)) return err;
    if (auto* s = std::get_if<std::string>(&results[kChildTitle].value)) entry.title = std::move(*s);
    Rect frame;
    return keepFrame(frameFromEntries(results, kChildPosition, frame), frame, entry, complete);
}

AXError childOneAttributeAtATime(platform::Accessibility& ax, AXElement& child,
                                 ListScan::Child& entry, bool& complete) {
    AXAttributeValue title;
    if (AXError err = ax.copyAttributeValue(child, "AXTitle", title)) return err;
    if (auto* s = std::get_if<std::string>(&title)) entry.title = std::move(*s);
    Rect frame;
    return keepFrame(getElemFrame(ax, child, frame), frame, entry, complete);
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

void readListHead(platform::Accessibility& ax, const AXElement& listElem, ScanMode mode,
                  ListScan& scan) {
    scan.outcome = ListScan::Outcome::FrameUnreadable;
    scan.frame = {};
    scan.elements.clear();
    scan.children.clear();
    scan.complete = false;
    if (mode == ScanMode::Batched) {
        headBatched(ax, listElem, scan);
    } else {
        headOneAttributeAtATime(ax, listElem, scan);
    }
}

void readListChildren(platform::Accessibility& ax, ScanMode mode, ListScan& scan) {
    scan.children.clear();
    if (scan.outcome != ListScan::Outcome::Read) return;
    scan.complete = true;
    scan.children.reserve(scan.elements.size());
    std::vector<AXAttributeResult> results;
    results.reserve(kChildAttributes.size());
    for (std::size_t i = 0; i < scan.elements.size(); ++i) {
        AXElement& child = scan.elements[i];
        ListScan::Child entry;
        entry.index = static_cast<std::int32_t>(i);
        const AXError err = mode == ScanMode::Batched
                                ? childBatched(ax, child, results, entry, scan.complete)
                                : childOneAttributeAtATime(ax, child, entry, scan.complete);
        if (timedOut(err)) return giveUpUnanswered(scan);
        // A child that does not answer, or has no title, is left out.
        if (err != platform::kAXErrorSuccess) {
            scan.complete = false;
            continue;
        }
        entry.elem = std::move(child);
        scan.children.push_back(std::move(entry));
    }
    scan.elements.clear();
}

void scanListElem(platform::Accessibility& ax, const AXElement& listElem, ScanMode mode,
                  ListScan& scan) {
    readListHead(ax, listElem, mode, scan);
    readListChildren(ax, mode, scan);
}

}  // namespace vantor
