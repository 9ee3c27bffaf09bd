// The window layout files of resources/ ("MainMenu.json", "PrefWindow.json" …) read into plain
// data, which each platform builds into its windows, views and controls. The reader never
// throws and never crashes on bad input: it answers with a message naming the file, the place
// in it and what is wrong.
//
// A layout file is one JSON object:
//
//   {
//     "window": {                          required
//       "class": "NSWindow",               NSWindow (default), NSPanel, DrawingWindow, AXAlert,
//                                          DeallocLoggedWindow
//       "contentRect": [x, y, w, h],       required: the content area in screen points (origin
//                                          bottom-left of the first screen, y up); the frame
//                                          adds the title bar and toolbar above it
//       "styleMask": ["titled", "closable"],  any of titled, closable, miniaturizable,
//                                          resizable; [] is a borderless window (frame =
//                                          content area); default ["titled", "closable"]
//       "title": "Preferences",
//       "toolbar": {                       optional
//         "items": [{"identifier": "Settings", "label": "Settings"}, …],
//         "action": "switchTab:",          sent by every item, the item as sender
//         "selectable": true,              default true: a clicked item becomes the selected one
//         "selected": "Settings"           optional: an item's identifier
//       },
//       "contentView": VIEW                required; takes no "frame": it fills the content area
//     },
//     "views": [VIEW, …]                   optional: top-level views outside the window (pages
//                                          a controller puts into the window)
//   }
//
//   VIEW:
//   {
//     "class": "NSView",                   NSView (default), NSVisualEffectView, NSButton,
//                                          NSTextField, NSTextView, and the agent's own classes
//                                          DrawingView (a view) and ClickableTextField (a text
//                                          field)
//     "identifier": "check_auto_launch",   optional
//     "tag": 0,                            an integer
//     "frame": [x, y, w, h],               required except for the content view: in the
//                                          superview's coordinates, origin bottom-left, y up
//     "buttonType": "push",                NSButton only: push (default), checkbox, radio
//     "title": "Quit",                     a button's title; "stringValue" for the text of
//     "stringValue": "…",                  fields and text views (one of the two)
//     "state": "off",                      off (default), on, mixed
//     "action": "toggleAutoLaunch:",       sent to the layout's owner
//     "enabled": true, "hidden": false,
//     "editable": false,                   text fields and text views: takes typing
//     "pin": ["left", "top"],              the superview edges the view keeps its distance to
//                                          when the superview resizes (default left and top);
//                                          pinned to both edges of an axis it stretches, to
//                                          neither it keeps its centre
//     "subviews": [VIEW, …]                drawn after (above) the view, in order
//   }
//
// Keys other than these are refused, so a misspelt key is found when the layout loads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"
#include "platform/UI.h"

namespace vantor::platform {

// What a view is, from its class and button type.
enum class ViewKind {
    View,
    VisualEffectView,
    PushButton,
    CheckBox,
    RadioButton,
    TextField,
    TextView,
};

// The superview edges a view keeps its distance to when the superview changes size.
struct Pin {
    bool left = true;
    bool right = false;
    bool top = true;
    bool bottom = false;
    friend bool operator==(const Pin&, const Pin&) = default;
};

struct LayoutView {
    std::string className = "NSView";
    ViewKind kind = ViewKind::View;
    std::string identifier;
    std::int64_t tag = 0;
    Rect frame;
    std::string stringValue;  // a button's title, a text field's or text view's text
    ControlState state = ControlState::Off;
    std::string action;
    bool enabled = true;
    bool hidden = false;
    bool editable = false;
    Pin pin;
    std::vector<LayoutView> subviews;
};

struct LayoutToolbarItem {
    std::string identifier;
    std::string label;
};

struct LayoutToolbar {
    std::vector<LayoutToolbarItem> items;
    std::string action;
    bool selectable = true;
    std::string selected;
};

struct StyleMask {
    bool titled = true;
    bool closable = true;
    bool miniaturizable = false;
    bool resizable = false;

    static constexpr StyleMask borderless() { return {false, false, false, false}; }
    bool isBorderless() const { return !titled && !closable && !miniaturizable && !resizable; }
    friend bool operator==(const StyleMask&, const StyleMask&) = default;
};

struct LayoutWindow {
    std::string className = "NSWindow";
    Rect contentRect;
    StyleMask styleMask;
    std::string title;
    std::optional<LayoutToolbar> toolbar;
    LayoutView contentView;
};

struct Layout {
    LayoutWindow window;
    std::vector<LayoutView> views;
};

// JSON nested deeper than this is refused before it is built.
inline constexpr std::size_t kLayoutMaxNesting = 64;

// Reads the text of a layout file; `fileName` only names it in the message. On failure returns
// nothing and sets `error` to "FILE: PLACE: what is wrong" (or "FILE: what is wrong").
std::optional<Layout> parseLayout(std::string_view text, std::string_view fileName,
                                  std::string& error);

}  // namespace vantor::platform
