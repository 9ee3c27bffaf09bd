#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SimProbes.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimScreenRenderer.h"
#include "platform/sim/SimUI.h"

namespace vantor::sim {
namespace {

using platform::Color;
using platform::ControlState;
using platform::LoadedLayout;
using platform::Point;
using platform::Rect;
using platform::View;
using Strings = std::vector<std::string>;

// The owner of a layout: records each action it is sent, with its sender.
struct Owner : platform::ActionTarget {
    struct Sent {
        std::string action;
        View* sender;
    };
    std::vector<Sent> sent;

    void performAction(std::string_view action, View* sender) override {
        sent.push_back({std::string(action), sender});
    }
};

struct Delegate : platform::WindowDelegate {
    int closes = 0;
    bool visibleWhenTold = false;
    std::function<void()> then;

    void windowWillClose(platform::Window& window) override {
        ++closes;
        visibleWhenTold = window.isVisible();
        if (then) then();
    }
};

// A preferences-like window: a toolbar, a check box, a radio group and a page to swap in.
const char* const kPrefLike = R"({
  "window": {
    "contentRect": [300, 400, 400, 200], "title": "Prefs",
    "toolbar": {"items": [{"identifier": "Settings"}, {"identifier": "About"}],
                "action": "switchTab:", "selected": "Settings"},
    "contentView": {"subviews": [
      {"class": "NSButton", "buttonType": "checkbox", "identifier": "check", "frame": [10, 160, 200, 18],
       "title": "Check", "action": "toggle:"},
      {"identifier": "group", "frame": [10, 60, 200, 90], "subviews": [
        {"class": "NSButton", "buttonType": "radio", "tag": 1, "state": "on", "frame": [0, 60, 100, 18],
         "title": "One", "action": "choose:"},
        {"class": "NSButton", "buttonType": "radio", "tag": 2, "frame": [0, 30, 100, 18],
         "title": "Two", "action": "choose:"},
        {"class": "NSButton", "buttonType": "radio", "tag": 3, "frame": [0, 0, 100, 18],
         "title": "Three", "action": "choose:"}
      ]}
    ]}
  },
  "views": [{"identifier": "page", "frame": [0, 0, 400, 260], "subviews": [
    {"class": "NSTextField", "identifier": "text", "frame": [10, 10, 100, 18], "stringValue": "x"}
  ]}]
})";

class SimUITest : public ::testing::Test {
protected:
    LoadedLayout load(std::string_view name) {
        return desktop.platform().ui.loadLayout(name, owner);
    }

    LoadedLayout build(const char* text, std::string_view name = "PrefWindow") {
        std::string error;
        const auto layout = platform::parseLayout(text, "test.json", error);
        EXPECT_TRUE(layout) << error;
        return desktop.ui().build(name, layout.value_or(platform::Layout{}), owner);
    }

    Strings traceWith(std::string_view word) const {
        Strings lines;
        for (const std::string& line : desktop.trace()) {
            if (line.find(word) != std::string::npos) lines.push_back(line.substr(11));
        }
        return lines;
    }

    SimDesktop desktop;
    Owner owner;
};

TEST_F(SimUITest, ThePreferencesButtonStaysInTheOverlaysTopRightCornerAsItMoves) {
    LoadedLayout main = load("MainMenu");
    ASSERT_TRUE(main.window);
    EXPECT_TRUE(desktop.ui().loadErrors().empty());
    platform::Window& window = *main.window;
    View& content = window.contentView();
    View* button = main.viewWithIdentifier("prefBtn");
    ASSERT_NE(button, nullptr);
    // Moved onto a list of two icons, then of six.
    for (const Rect list : {Rect{{808, 460}, {304, 160}}, Rect{{200, 300}, {880, 192}}}) {
        window.setFrame(list, true);
        EXPECT_EQ(content.frame(), (Rect{{0, 0}, list.size}));  // borderless
        EXPECT_EQ(button->frame(), (Rect{{list.size.width - 26, list.size.height - 26}, {20, 20}}));
    }
    EXPECT_EQ(traceWith("overlay"),
              (Strings{"overlay moves to 808 460 304 160", "overlay moves to 200 300 880 192"}));
}

TEST_F(SimUITest, HitTestFindsTheDeepestShownViewUnderThePoint) {
    LoadedLayout main = load("MainMenu");
    View& content = main.window->contentView();
    View* button = main.viewWithIdentifier("prefBtn");
    const Rect b = button->frame();
    EXPECT_EQ(content.hitTest({b.origin.x + 20, b.origin.y + 10}), &content);  // right edge out
    EXPECT_EQ(content.hitTest({-1, 10}), nullptr);
    button->setHidden(true);
    EXPECT_EQ(content.hitTest({b.origin.x + 5, b.origin.y + 5}), &content);
    content.setHidden(true);
    EXPECT_EQ(content.hitTest({10, 10}), nullptr);

    // Nested views answer in their superview's coordinates: group at (10, 60), Two at (0, 30).
    LoadedLayout prefs = build(kPrefLike);
    View* two = prefs.viewWithIdentifier("group")->subviews()[1];
    EXPECT_EQ(prefs.window->contentView().hitTest({15, 95}), two);
}

TEST_F(SimUITest, ClicksReachTheOwnerOnlyFromEnabledControlsOfShownWindows) {
    LoadedLayout main = load("MainMenu");
    View* button = main.viewWithIdentifier("prefBtn");
    EXPECT_FALSE(desktop.click("MainMenu", "showPref:"));
    main.window->makeKeyAndOrderFront();
    button->setEnabled(false);
    EXPECT_TRUE(desktop.click("MainMenu", "showPref:"));  // there, but takes no click
    EXPECT_FALSE(button->sendAction());
    EXPECT_TRUE(owner.sent.empty());
    button->setEnabled(true);
    EXPECT_FALSE(desktop.click("MainMenu", "showPref:", "otherBtn"));
    EXPECT_TRUE(desktop.click("MainMenu", "showPref:", "prefBtn"));
    ASSERT_EQ(owner.sent.size(), 1u);
    EXPECT_EQ(owner.sent[0].sender, button);

    // A behaviour that takes the mouse-up decides itself, also for a disabled view.
    struct Takes : platform::ViewBehaviour {
        int ups = 0;
        bool mouseUp(View&) override { return ++ups > 0; }
    } takes;
    button->setBehaviour(&takes);
    button->setEnabled(false);
    EXPECT_TRUE(desktop.click("MainMenu", "showPref:"));
    EXPECT_EQ(takes.ups, 1);
    EXPECT_EQ(owner.sent.size(), 1u);
}

TEST_F(SimUITest, ControlsToggleSelectAndKeepOneRadioButtonOn) {
    LoadedLayout prefs = build(kPrefLike);
    prefs.window->makeKeyAndOrderFront();
    View* check = prefs.viewWithIdentifier("check");
    const std::vector<View*> radios = prefs.viewWithIdentifier("group")->subviews();
    const auto states = [&] {
        std::vector<ControlState> s;
        for (View* r : radios)
            s.push_back(r->state());
        return s;
    };
    using enum ControlState;

    check->setState(Mixed);
    EXPECT_TRUE(desktop.click("PrefWindow", "toggle:"));
    EXPECT_EQ(check->state(), On);
    EXPECT_TRUE(desktop.click("PrefWindow", "choose:", "2"));
    EXPECT_EQ(states(), (std::vector<ControlState>{Off, On, Off}));
    radios[2]->setState(On);  // as the controller fills the window from the settings
    EXPECT_EQ(states(), (std::vector<ControlState>{Off, Off, On}));
    EXPECT_FALSE(desktop.click("PrefWindow", "choose:", "4"));
    ASSERT_EQ(owner.sent.size(), 2u);
    EXPECT_EQ(owner.sent[1].sender->tag(), 2);

    // A clicked toolbar item becomes the selected one.
    EXPECT_TRUE(desktop.click("PrefWindow", "switchTab:", "About"));
    EXPECT_EQ(prefs.window->toolbar()->selectedItemIdentifier(), "About");
}

TEST_F(SimUITest, PagesSwapInAndOutAndEitherSideMayGoFirst) {
    auto prefs = std::make_unique<LoadedLayout>(build(kPrefLike));
    View& content = prefs->window->contentView();
    // The title bar and toolbar stand above the content area.
    EXPECT_EQ(
        prefs->window->frame(),
        (Rect{{300, 400}, {400, 200 + SimWindow::kTitleBarHeight + SimWindow::kToolbarHeight}}));
    View* page = prefs->viewWithIdentifier("page");
    View* text = prefs->viewWithIdentifier("text");
    content.addSubview(*page);
    EXPECT_EQ(text->window(), prefs->window.get());
    page->removeFromSuperview();
    EXPECT_EQ(content.subviews().size(), 2u);
    page->addSubview(*page);  // a view never contains itself
    EXPECT_TRUE(page->subviews().size() == 1);

    // The window goes first with the page inside, then the page.
    content.addSubview(*page);
    prefs->window.reset();
    EXPECT_EQ(page->superview(), nullptr);
    EXPECT_EQ(text->window(), nullptr);
    prefs.reset();
}

TEST_F(SimUITest, WindowsOpenCloseAndHandTheActivationBack) {
    desktop.addApplication("Mail");
    LoadedLayout main = load("MainMenu");
    main.window->makeKeyAndOrderFront();  // the overlay never becomes key
    EXPECT_EQ(desktop.ui().keyWindow(), nullptr);

    auto prefs = std::make_unique<LoadedLayout>(build(kPrefLike));
    Delegate delegate;
    prefs->window->setDelegate(&delegate);
    prefs->window->makeKeyAndOrderFront();
    desktop.platform().ui.activateIgnoringOtherApps(true);
    EXPECT_EQ(desktop.ui().keyWindow(), prefs->window.get());
    EXPECT_EQ(desktop.active(), "Vantor");

    // The delegate is told while the window still shows, and may release it then.
    delegate.then = [&] { prefs.reset(); };
    EXPECT_TRUE(desktop.closeWindow("PrefWindow"));
    EXPECT_TRUE(delegate.visibleWhenTold);
    EXPECT_EQ(prefs, nullptr);
    EXPECT_EQ(desktop.ui().keyWindow(), nullptr);
    EXPECT_EQ(desktop.active(), "Mail");
    EXPECT_FALSE(desktop.closeWindow("MainMenu"));  // borderless: no close button

    // Closing one of two windows keeps the agent active; a window closed in code tells its
    // delegate too.
    LoadedLayout first = build(kPrefLike, "AXAlert");
    LoadedLayout second = build(kPrefLike, "NewVersionWindow");
    first.window->makeKeyAndOrderFront();
    second.window->makeKeyAndOrderFront();
    desktop.platform().ui.activateIgnoringOtherApps(true);
    Delegate secondDelegate;
    second.window->setDelegate(&secondDelegate);
    second.window->close();
    EXPECT_EQ(secondDelegate.closes, 1);
    EXPECT_EQ(desktop.ui().keyWindow(), first.window.get());
    EXPECT_EQ(desktop.active(), "Vantor");
    first.window.reset();  // released while shown: it leaves the screen
    EXPECT_EQ(desktop.active(), "Mail");
    EXPECT_EQ(traceWith("window AXAlert"),
              (Strings{"window AXAlert opens", "window AXAlert closes"}));
}

TEST_F(SimUITest, OverlayVisibilityFollowsItsContentViewAndAMissingLayoutSaysSo) {
    LoadedLayout main = load("MainMenu");
    View& content = main.window->contentView();
    content.setHidden(true);
    main.window->makeKeyAndOrderFront();
    EXPECT_FALSE(desktop.overlayVisible());
    content.setHidden(false);
    EXPECT_TRUE(desktop.overlayVisible());
    content.setHidden(false);  // no change, no line
    content.setHidden(true);
    EXPECT_EQ(traceWith("overlay"), (Strings{"overlay hides", "overlay shows", "overlay hides"}));

    LoadedLayout missing = load("NoSuchWindow");
    ASSERT_TRUE(missing.window);
    EXPECT_TRUE(missing.window->contentView().subviews().empty());
    EXPECT_EQ(desktop.ui().loadErrors(), Strings{"NoSuchWindow.json: no such layout"});
}

// Screen pixels as straight (not premultiplied) 0-255 channels.
struct Rgb {
    int r, g, b;
};

Rgb pixelAt(const platform::CairoCanvas& canvas, double x, double yFromTop) {
    const std::uint32_t p = canvas.pixel(static_cast<int>(x * canvas.scale()),
                                         static_cast<int>(yFromTop * canvas.scale()));
    return {static_cast<int>((p >> 16) & 0xff), static_cast<int>((p >> 8) & 0xff),
            static_cast<int>(p & 0xff)};
}

bool isDark(Rgb c) {
    return c.r < 50 && c.g < 50 && c.b < 50;
}

bool isRed(Rgb c) {
    return c.r > 230 && c.g < 30 && c.b < 30;
}

bool near(Rgb c, const Color& colour) {
    const auto close = [](int channel, double value) {
        return std::abs(channel - static_cast<int>(value * 255 + 0.5)) <= 2;
    };
    return close(c.r, colour.red) && close(c.g, colour.green) && close(c.b, colour.blue);
}

// Paints a red box at (10, 10), 30 x 20 in its view's coordinates, leaving the rest clear.
struct RedBox : platform::ViewBehaviour {
    void drawRect(platform::Canvas& canvas, const Rect& dirtyRect) override {
        canvas.setFill(Color::clearColor());
        canvas.fillRectUsingOperation(dirtyRect, platform::CompositingOperation::Copy);
        canvas.setFill({1, 0, 0, 1});
        canvas.fillRectUsingOperation({{10, 10}, {30, 20}}, platform::CompositingOperation::Copy);
    }
};

// A scale 2 screen up and left of the first, the switcher on it, the overlay over the list.
TEST_F(SimUITest, TheScreenPictureShowsTheArrangementTheSwitcherAndTheOverlayAboveIt) {
    ASSERT_FALSE(desktop.screens().arrange({{{0, 0}, {800, 600}}, 1}));
    ASSERT_FALSE(desktop.screens().arrange({{{-400, -300}, {400, 300}}, 2}));
    desktop.screens().setSwitcherScreen(1);
    for (const char* name : {"Safari", "Mail"})
        desktop.addApplication(name);
    testing::holdCommandTab(desktop);
    const Rect list = *desktop.listFrame();  // Accessibility coordinates: y down
    const double listBottom = list.origin.y + list.size.height;
    EXPECT_EQ(list.origin.y, -300 + std::floor((300 - list.size.height) / 2));
    // The overlay's clear background lets the panel show through, and its view's drawing lands
    // where the view's y-up coordinates put it.
    LoadedLayout main = load("MainMenu");
    platform::Window& window = *main.window;
    window.setOpaque(false);
    window.setBackgroundColor(Color::clearColor());
    window.setLevel(desktop.platform().ui.windowLevelForKey(20));
    RedBox redBox;
    window.contentView().setBehaviour(&redBox);
    main.viewWithIdentifier("prefBtn")->setHidden(true);
    window.setFrame({{list.origin.x, 600 - listBottom}, list.size}, true);
    window.makeKeyAndOrderFront();

    // The picture's top-left corner is Accessibility (-400, -300), at the finer scale.
    auto screen = desktop.renderScreen();
    EXPECT_EQ(screen->pixelWidth(), 1200 * 2);
    const auto at = [&](double x, double y) { return pixelAt(*screen, x + 400, y + 300); };
    EXPECT_TRUE(near(at(10, 10), kDesktopColour));
    EXPECT_TRUE(near(at(-390, -290), kDesktopColour));
    EXPECT_TRUE(near(at(-200, 100), kBetweenScreensColour));
    EXPECT_TRUE(near(at(500, -100), kBetweenScreensColour));
    // Each icon in its colour; the highlighted one framed in light.
    const Rect mail = *desktop.iconFrame("Mail");
    EXPECT_TRUE(near(at(mail.origin.x + 30, mail.origin.y + 30), iconColour("Mail")));
    EXPECT_TRUE(near(at(mail.origin.x + 30, mail.origin.y - 6), kSwitcherHighlightColour));
    const Rect safari = *desktop.iconFrame("Safari");
    EXPECT_TRUE(isDark(at(safari.origin.x + 30, safari.origin.y - 6)));
    EXPECT_TRUE(isRed(at(list.origin.x + 11, listBottom - 11)));
    EXPECT_TRUE(isRed(at(list.origin.x + 39, listBottom - 29)));
    EXPECT_TRUE(isDark(at(list.origin.x + 12, listBottom - 32)));  // above the box
    EXPECT_TRUE(isDark(at(list.origin.x + 25, listBottom - 8)));   // below it
    EXPECT_FALSE(static_cast<SimView&>(window.contentView()).needsDisplay());

    // Half transparent, the box blends with the panel.
    window.setAlphaValue(0.5);
    screen = desktop.renderScreen();
    const Rgb half = at(list.origin.x + 25, listBottom - 20);
    EXPECT_GT(half.r, 130);
    EXPECT_LT(half.r, 160);
}

}  // namespace
}  // namespace vantor::sim
