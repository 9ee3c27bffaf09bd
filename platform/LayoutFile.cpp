#include "platform/LayoutFile.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>

#include "platform/JsonTextCheck.h"

namespace vantor::platform {

namespace {

using Json = nlohmann::json;

class Reader {
public:
    explicit Reader(std::string_view fileName) : fileName_(fileName) {}

    const std::string& error() const { return error_; }

    bool fail(const std::string& place, std::string_view what) {
        if (error_.empty()) {
            error_ = place.empty() ? fmt::format("{}: {}", fileName_, what)
                                   : fmt::format("{}: {}: {}", fileName_, place, what);
        }
        return false;
    }

    bool object(const Json& value, const std::string& place,
                std::initializer_list<std::string_view> allowed) {
        if (!value.is_object()) return fail(place, "expected an object");
        for (const auto& [key, member] : value.items()) {
            (void)member;
            if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
                return fail(place, fmt::format("unknown key \"{}\"", key));
            }
        }
        return true;
    }

    // Each reader leaves `out` as it is when the key is absent.
    bool string(const Json& object, std::string_view key, const std::string& place,
                std::string& out) {
        const auto it = object.find(key);
        if (it == object.end()) return true;
        if (!it->is_string()) return fail(at(place, key), "expected a string");
        out = it->get<std::string>();
        return true;
    }

    bool boolean(const Json& object, std::string_view key, const std::string& place, bool& out) {
        const auto it = object.find(key);
        if (it == object.end()) return true;
        if (!it->is_boolean()) return fail(at(place, key), "expected true or false");
        out = it->get<bool>();
        return true;
    }

    bool integer(const Json& object, std::string_view key, const std::string& place,
                 std::int64_t& out) {
        const auto it = object.find(key);
        if (it == object.end()) return true;
        if (it->is_number_unsigned()) {
            const auto value = it->get<std::uint64_t>();
            if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
                return fail(at(place, key), "integer out of range");
            }
            out = static_cast<std::int64_t>(value);
            return true;
        }
        if (!it->is_number_integer()) return fail(at(place, key), "expected an integer");
        out = it->get<std::int64_t>();
        return true;
    }

    bool rect(const Json& object, std::string_view key, const std::string& place, Rect& out) {
        const auto it = object.find(key);
        if (it == object.end()) return fail(place, fmt::format("missing \"{}\"", key));
        const std::string here = at(place, key);
        if (!it->is_array() || it->size() != 4) {
            return fail(here, "expected [x, y, width, height]");
        }
        double v[4];
        for (std::size_t i = 0; i < 4; ++i) {
            const Json& n = (*it)[i];
            if (!n.is_number()) return fail(here, "expected [x, y, width, height]");
            v[i] = n.get<double>();
            if (!std::isfinite(v[i])) return fail(here, "expected finite numbers");
        }
        if (v[2] < 0 || v[3] < 0) return fail(here, "width and height must not be negative");
        out = {{v[0], v[1]}, {v[2], v[3]}};
        return true;
    }

    bool view(const Json& value, const std::string& place, bool isContentView, LayoutView& out) {
        if (!object(value, place,
                    {"class", "identifier", "tag", "frame", "buttonType", "title", "stringValue",
                     "state", "action", "enabled", "hidden", "editable", "pin", "subviews"})) {
            return false;
        }
        if (!string(value, "class", place, out.className)) return false;
        if (!kindOf(value, place, out)) return false;
        if (isContentView) {
            if (value.contains("frame")) {
                return fail(place,
                            "the content view takes no \"frame\": it fills the content "
                            "area (\"contentRect\")");
            }
        } else if (!rect(value, "frame", place, out.frame)) {
            return false;
        }
        if (value.contains("title") && value.contains("stringValue")) {
            return fail(place, "give \"title\" or \"stringValue\", not both");
        }
        if (!string(value, "identifier", place, out.identifier) ||
            !integer(value, "tag", place, out.tag) ||
            !string(value, "title", place, out.stringValue) ||
            !string(value, "stringValue", place, out.stringValue) ||
            !string(value, "action", place, out.action) ||
            !boolean(value, "enabled", place, out.enabled) ||
            !boolean(value, "hidden", place, out.hidden) ||
            !boolean(value, "editable", place, out.editable) || !state(value, place, out.state) ||
            !pin(value, place, out.pin)) {
            return false;
        }
        const auto subviews = value.find("subviews");
        if (subviews == value.end()) return true;
        const std::string here = at(place, "subviews");
        if (!subviews->is_array()) return fail(here, "expected an array of views");
        out.subviews.resize(subviews->size());
        for (std::size_t i = 0; i < subviews->size(); ++i) {
            if (!view((*subviews)[i], fmt::format("{}[{}]", here, i), false, out.subviews[i])) {
                return false;
            }
        }
        return true;
    }

    bool toolbar(const Json& value, const std::string& place, LayoutToolbar& out) {
        if (!object(value, place, {"items", "action", "selectable", "selected"})) return false;
        if (!string(value, "action", place, out.action) ||
            !boolean(value, "selectable", place, out.selectable) ||
            !string(value, "selected", place, out.selected)) {
            return false;
        }
        const auto items = value.find("items");
        const std::string here = at(place, "items");
        if (items == value.end() || !items->is_array()) {
            return fail(here, "expected an array of items");
        }
        for (std::size_t i = 0; i < items->size(); ++i) {
            const std::string itemPlace = fmt::format("{}[{}]", here, i);
            const Json& item = (*items)[i];
            LayoutToolbarItem parsed;
            if (!object(item, itemPlace, {"identifier", "label"}) ||
                !string(item, "identifier", itemPlace, parsed.identifier) ||
                !string(item, "label", itemPlace, parsed.label)) {
                return false;
            }
            if (parsed.identifier.empty()) return fail(itemPlace, "missing \"identifier\"");
            for (const auto& earlier : out.items) {
                if (earlier.identifier == parsed.identifier) {
                    return fail(itemPlace,
                                fmt::format("identifier \"{}\" used twice", parsed.identifier));
                }
            }
            out.items.push_back(std::move(parsed));
        }
        if (!out.selected.empty() &&
            std::none_of(out.items.begin(), out.items.end(), [&](const LayoutToolbarItem& i) {
                return i.identifier == out.selected;
            })) {
            return fail(at(place, "selected"), fmt::format("no item \"{}\"", out.selected));
        }
        return true;
    }

    bool window(const Json& value, const std::string& place, LayoutWindow& out) {
        if (!object(value, place,
                    {"class", "contentRect", "styleMask", "title", "toolbar", "contentView"})) {
            return false;
        }
        if (!string(value, "class", place, out.className)) return false;
        if (!isOneOf(out.className,
                     {"NSWindow", "NSPanel", "DrawingWindow", "DeallocLoggedWindow", "AXAlert"})) {
            return fail(at(place, "class"),
                        fmt::format("unknown window class \"{}\"", out.className));
        }
        if (!rect(value, "contentRect", place, out.contentRect) ||
            !styleMask(value, place, out.styleMask) || !string(value, "title", place, out.title)) {
            return false;
        }
        if (const auto it = value.find("toolbar"); it != value.end()) {
            if (!toolbar(*it, at(place, "toolbar"), out.toolbar.emplace())) return false;
        }
        const auto content = value.find("contentView");
        if (content == value.end()) return fail(place, "missing \"contentView\"");
        if (!view(*content, at(place, "contentView"), true, out.contentView)) return false;
        out.contentView.frame = {{0, 0}, out.contentRect.size};
        return true;
    }

    bool layout(const Json& value, Layout& out) {
        if (!object(value, "", {"window", "views"})) return false;
        const auto win = value.find("window");
        if (win == value.end()) return fail("", "missing \"window\"");
        if (!window(*win, "window", out.window)) return false;
        const auto views = value.find("views");
        if (views == value.end()) return true;
        if (!views->is_array()) return fail("views", "expected an array of views");
        out.views.resize(views->size());
        for (std::size_t i = 0; i < views->size(); ++i) {
            if (!view((*views)[i], fmt::format("views[{}]", i), false, out.views[i])) return false;
        }
        return true;
    }

private:
    static std::string at(const std::string& place, std::string_view key) {
        return place.empty() ? std::string(key) : fmt::format("{}.{}", place, key);
    }

    static bool isOneOf(std::string_view value, std::initializer_list<std::string_view> options) {
        return std::find(options.begin(), options.end(), value) != options.end();
    }

    bool kindOf(const Json& value, const std::string& place, LayoutView& out) {
        const std::string_view cls = out.className;
        const bool button = cls == "NSButton";
        if (!button && value.contains("buttonType")) {
            return fail(at(place, "buttonType"), "only an NSButton has a button type");
        }
        if (button) {
            std::string type = "push";
            if (!string(value, "buttonType", place, type)) return false;
            if (type == "push") {
                out.kind = ViewKind::PushButton;
            } else if (type == "checkbox") {
                out.kind = ViewKind::CheckBox;
            } else if (type == "radio") {
                out.kind = ViewKind::RadioButton;
            } else {
                return fail(
                    at(place, "buttonType"),
                    fmt::format("unknown button type \"{}\" (push, checkbox, radio)", type));
            }
        } else if (cls == "NSView" || cls == "DrawingView") {
            out.kind = ViewKind::View;
        } else if (cls == "NSVisualEffectView") {
            out.kind = ViewKind::VisualEffectView;
        } else if (cls == "NSTextField" || cls == "ClickableTextField") {
            out.kind = ViewKind::TextField;
        } else if (cls == "NSTextView") {
            out.kind = ViewKind::TextView;
        } else {
            return fail(at(place, "class"), fmt::format("unknown view class \"{}\"", cls));
        }
        return true;
    }

    bool state(const Json& object, const std::string& place, ControlState& out) {
        std::string text;
        if (!string(object, "state", place, text)) return false;
        if (text.empty() && !object.contains("state")) return true;
        if (text == "off") {
            out = ControlState::Off;
        } else if (text == "on") {
            out = ControlState::On;
        } else if (text == "mixed") {
            out = ControlState::Mixed;
        } else {
            return fail(at(place, "state"), "expected \"off\", \"on\" or \"mixed\"");
        }
        return true;
    }

    bool pin(const Json& object, const std::string& place, Pin& out) {
        const auto it = object.find("pin");
        if (it == object.end()) return true;
        const std::string here = at(place, "pin");
        if (!it->is_array()) return fail(here, "expected an array of edges");
        out = {false, false, false, false};
        for (const Json& edge : *it) {
            const std::string name = edge.is_string() ? edge.get<std::string>() : std::string();
            if (name == "left") {
                out.left = true;
            } else if (name == "right") {
                out.right = true;
            } else if (name == "top") {
                out.top = true;
            } else if (name == "bottom") {
                out.bottom = true;
            } else {
                return fail(here, "edges are \"left\", \"right\", \"top\" and \"bottom\"");
            }
        }
        return true;
    }

    bool styleMask(const Json& object, const std::string& place, StyleMask& out) {
        const auto it = object.find("styleMask");
        if (it == object.end()) return true;
        const std::string here = at(place, "styleMask");
        if (!it->is_array()) return fail(here, "expected an array of styles");
        out = StyleMask::borderless();
        for (const Json& style : *it) {
            const std::string name = style.is_string() ? style.get<std::string>() : std::string();
            if (name == "titled") {
                out.titled = true;
            } else if (name == "closable") {
                out.closable = true;
            } else if (name == "miniaturizable") {
                out.miniaturizable = true;
            } else if (name == "resizable") {
                out.resizable = true;
            } else {
                return fail(here,
                            "styles are \"titled\", \"closable\", \"miniaturizable\" and "
                            "\"resizable\"");
            }
        }
        return true;
    }

    std::string_view fileName_;
    std::string error_;
};

}  // namespace

std::optional<Layout> parseLayout(std::string_view text, std::string_view fileName,
                                  std::string& error) {
    const JsonTextCheck check = checkJsonText(text, kLayoutMaxNesting);
    if (check.outcome == JsonTextCheck::Outcome::TooDeep) {
        error = fmt::format("{}: nested deeper than {} levels", fileName, kLayoutMaxNesting);
        return std::nullopt;
    }
    if (check.outcome == JsonTextCheck::Outcome::SyntaxError) {
        error = fmt::format("{}: {}", fileName,
                            check.message.empty() ? std::string("not valid JSON") : check.message);
        return std::nullopt;
    }
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        error = fmt::format("{}: not valid JSON", fileName);
        return std::nullopt;
    }
    Reader reader(fileName);
    Layout layout;
    if (!reader.layout(document, layout)) {
        error = reader.error();
        return std::nullopt;
    }
    error.clear();
    return layout;
}

}  // namespace vantor::platform
