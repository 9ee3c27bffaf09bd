// Reading a switcher list element through Accessibility: the list's frame, its children, and
// each child's title and frame, either batched (1 + N round trips) or one attribute at a time.
// A call that runs out of time (kAXErrorCannotComplete) ends the read: nothing further is asked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Accessibility.h"
#include "platform/Geometry.h"

namespace vantor {

// Reads an element's "AXPosition" and "AXSize" into a rectangle in Accessibility coordinates.
// Returns the first failed read's error code and leaves `frame` untouched then.
platform::AXError getElemFrame(platform::Accessibility& ax, const platform::AXElement& elem,
                               platform::Rect& frame);

enum class ScanMode : std::uint8_t {
    // One batched read of the list (position, size, children), then one per child (title,
    // position, size).
    Batched,
    // One read per attribute: the list's position and size, its children, then per child its
    // title, position and size. A failed read skips the reads that depend on it.
    OneAttributeAtATime,
};

// What one read of a switcher list found. Both modes fill it identically for the same tree and
// the same failures.
struct ListScan {
    enum class Outcome : std::uint8_t {
        Unanswered,          // a call ran out of time; nothing of the read holds
        FrameUnreadable,     // the list's position or size failed; nothing else holds
        ChildrenUnreadable,  // the frame holds; the children could not be read
        Read,                // the frame and the children hold
    };
    struct Child {
        std::int32_t index = 0;               // position among the list's children
        std::string title;                    // "" when the title is not a string
        std::optional<platform::Rect> frame;  // Accessibility coordinates; none when unreadable
        platform::AXElement elem;
    };

    Outcome outcome = Outcome::FrameUnreadable;
    platform::Rect frame;  // the list's frame in Accessibility coordinates
    // The list's children as its read gave them, until readListChildren takes them.
    std::vector<platform::AXElement> elements;
    std::vector<Child> children;  // the children whose title could be read, in list order
    // Every read of every child succeeded: no child was left out and every frame holds.
    bool complete = false;
};

// Reads the list's frame and children into `scan`, replacing what it held: one round trip
// batched, three one attribute at a time.
void readListHead(platform::Accessibility& ax, const platform::AXElement& listElem,
                  ScanMode mode, ListScan& scan);
// Reads the title and frame of each element that readListHead found (outcome Read), taking them
// into `scan.children`; a call that runs out of time makes the whole read Unanswered.
void readListChildren(platform::Accessibility& ax, ScanMode mode, ListScan& scan);

// Both reads: `listElem` into `scan`, replacing what it held.
void scanListElem(platform::Accessibility& ax, const platform::AXElement& listElem,
                  ScanMode mode, ListScan& scan);

}  // namespace vantor
