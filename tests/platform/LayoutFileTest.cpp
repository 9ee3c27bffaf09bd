#include <gtest/gtest.h>

#include <string>

#include "platform/LayoutFile.h"
#include "platform/sim/SimResources.h"

namespace vantor::platform {
namespace {

// A window whose content holds `subview` (a JSON object), and optionally more window keys.
std::string windowWith(const std::string& subview, const std::string& windowKeys = "") {
    return R"({"window": {"contentRect": [0, 0, 100, 50],)" + windowKeys +
           R"("contentView": {"subviews": [)" + subview + "]}}}";
}

TEST(LayoutFile, RefusesBadInputWithAMessageNamingFileAndPlace) {
    const std::string deep = std::string(200, '[') + std::string(200, ']');
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"", "W.json: parse error at line 1, column 1"},
        {R"({"window": {"contentRect": [0, 0, 1, 1],)", "W.json: parse error at line 1"},
        {deep, "W.json: nested deeper than 64 levels"},
        {"[]", "W.json: expected an object"},
        {R"({"views": []})", "W.json: missing \"window\""},
        {R"({"window": {"contentRect": [0, 0, 1, 1]}})", "W.json: window: missing \"contentView\""},
        {R"({"window": {"contentView": {}}})", "W.json: window: missing \"contentRect\""},
        {R"({"window": {"class": "NSFrame", "contentRect": [0, 0, 1, 1], "contentView": {}}})",
         "window.class: unknown window class \"NSFrame\""},
        {windowWith("{}", R"("colour": 1,)"), "W.json: window: unknown key \"colour\""},
        {windowWith(R"({"frame": [0, 0, 20, 20], "titel": "Quit"})"),
         "W.json: window.contentView.subviews[0]: unknown key \"titel\""},
        {windowWith(R"({"frame": "0 0 20 20"})"),
         "window.contentView.subviews[0].frame: expected [x, y, width, height]"},
        {windowWith(R"({"frame": [0, 0, 20]})"),
         "window.contentView.subviews[0].frame: expected [x, y, width, height]"},
        {windowWith(R"({"frame": [0, 0, -1, 20]})"),
         "frame: width and height must not be negative"},
        {windowWith(R"({})"), "window.contentView.subviews[0]: missing \"frame\""},
        {windowWith(R"({"frame": [0, 0, 1, 1], "tag": 1.5})"),
         "subviews[0].tag: expected an integer"},
        {windowWith(R"({"frame": [0, 0, 1, 1], "tag": 18446744073709551615})"),
         "subviews[0].tag: integer out of range"},
        {windowWith(R"({"frame": [0, 0, 1, 1], "enabled": "yes"})"),
         "subviews[0].enabled: expected true or false"},
        {windowWith(R"({"frame": [0, 0, 1, 1], "state": "yes"})"),
         "subviews[0].state: expected \"off\", \"on\" or \"mixed\""},
        {windowWith(R"({"frame": [0, 0, 1, 1], "pin": ["up"]})"), "subviews[0].pin: edges are"},
        {windowWith(R"({"frame": [0, 0, 1, 1], "class": "NSSlider"})"),
         "subviews[0].class: unknown view class \"NSSlider\""},
        {windowWith(R"({"frame": [0, 0, 1, 1], "class": "NSTextField", "buttonType": "radio"})"),
         "subviews[0].buttonType: only an NSButton has a button type"},
        {windowWith(R"({"frame": [0, 0, 1, 1], "class": "NSButton", "buttonType": "toggle"})"),
         "unknown button type \"toggle\""},
        {windowWith(R"({"frame": [0, 0, 1, 1], "title": "a", "stringValue": "b"})"),
         "give \"title\" or \"stringValue\", not both"},
        {windowWith(R"({"frame": [0, 0, 1, 1], "subviews": {}})"),
         "subviews[0].subviews: expected an array of views"},
        {R"({"window": {"contentRect": [0, 0, 1, 1], "contentView": {"frame": [0, 0, 1, 1]}}})",
         "window.contentView: the content view takes no \"frame\""},
        {windowWith("", R"("toolbar": {"items": [{"identifier": "A"}], "selected": "B"},)"),
         "window.toolbar.selected: no item \"B\""},
        {windowWith("", R"("toolbar": {"items": [{"identifier": "A"}, {"identifier": "A"}]},)"),
         "window.toolbar.items[1]: identifier \"A\" used twice"},
        {windowWith("", R"("styleMask": "borderless",)"),
         "window.styleMask: expected an array of styles"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parseLayout(c.text, "W.json", error)) << c.text;
        EXPECT_NE(error.find(c.message), std::string::npos)
            << "input: " << c.text << "\nmessage: " << error;
    }
}

// What the compiled-in layouts do not show: their classes, tags and actions are read as the
// scenarios click through them.
TEST(LayoutFile, ReadsStylesTheSelectedItemStatesAndPins) {
    const std::string text = R"({
      "window": {
        "contentRect": [100, 200, 480, 300], "styleMask": ["titled", "closable"],
        "toolbar": {"items": [{"identifier": "Settings"}, {"identifier": "About"}],
                    "selected": "About"},
        "contentView": {"subviews": [
          {"class": "NSButton", "buttonType": "checkbox", "frame": [20, 250, 200, 18]},
          {"class": "NSButton", "buttonType": "radio", "state": "on", "frame": [0, 40, 120, 18]},
          {"class": "NSTextField", "frame": [20, 20, 200, 18], "editable": true,
           "enabled": false, "hidden": true, "pin": ["right", "bottom"]}
        ]}
      }
    })";
    std::string error = "stale";
    const auto layout = parseLayout(text, "PrefWindow.json", error);
    ASSERT_TRUE(layout) << error;
    EXPECT_EQ(error, "");

    const LayoutWindow& window = layout->window;
    EXPECT_EQ(window.className, "NSWindow");
    EXPECT_EQ(window.styleMask, (StyleMask{true, true, false, false}));
    EXPECT_EQ(window.toolbar->selected, "About");
    EXPECT_TRUE(window.toolbar->selectable);
    // The content view fills the content area.
    EXPECT_EQ(window.contentView.frame, (Rect{{0, 0}, {480, 300}}));
    const std::vector<LayoutView>& views = window.contentView.subviews;
    ASSERT_EQ(views.size(), 3u);
    EXPECT_EQ(views[0].state, ControlState::Off);
    EXPECT_EQ(views[0].pin, (Pin{true, false, true, false}));
    EXPECT_EQ(views[1].state, ControlState::On);
    EXPECT_TRUE(views[2].editable);
    EXPECT_FALSE(views[2].enabled);
    EXPECT_TRUE(views[2].hidden);
    EXPECT_EQ(views[2].pin, (Pin{false, true, false, true}));
}

TEST(LayoutFile, EveryCompiledInLayoutReads) {
    ASSERT_FALSE(sim::builtInResources().empty());
    for (const sim::BuiltInResource& resource : sim::builtInResources()) {
        if (!resource.name.ends_with(".json")) continue;
        std::string error;
        EXPECT_TRUE(parseLayout(resource.text, resource.name, error)) << error;
    }
    EXPECT_TRUE(sim::resourceText("MainMenu.json"));
    EXPECT_FALSE(sim::resourceText("NoSuchLayout.json"));
    EXPECT_FALSE(sim::resourceText("../CMakeLists.txt"));
}

}  // namespace
}  // namespace vantor::platform
