#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
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
    std::function<void(std::string_view)> onAction;

    void performAction(std::string_view action, View* sender) override {
        sent.push_back({std::string(action), sender});
        if (onAction) onAction(action);
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
    "toolbar": {"items": [{"identifier": "Settings", "label": "Settings"},
                          {"identifier": "About", "label": "About"}],
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
      ]},
      {"class": "NSButton", "identifier": "quit", "frame": [300, 10, 80, 24], "title": "Quit",
       "action": "quitApp:"}
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

TEST_F(SimUITest, MainMenuIsTheOverlayWithThePreferencesButtonInItsTopRightCorner) {
    LoadedLayout main = load("MainMenu");
    ASSERT_TRUE(main.window);
    EXPECT_TRUE(desktop.ui().loadErrors().empty());
    platform::Window& window = *main.window;
    View& content = window.contentView();
    EXPECT_EQ(content.className(), "DrawingView");
    EXPECT_EQ(main.viewWithIdentifier("drawingView"), &content);
    // Borderless: the frame is the content area.
    EXPECT_EQ(content.frame(), (Rect{{0, 0}, window.frame().size}));

    View* button = main.viewWithIdentifier("prefBtn");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->superview(), &content);
    EXPECT_EQ(button->window(), &window);
    EXPECT_EQ(button->action(), "showPref:");
    const auto inCorner = [&] {
        const platform::Size size = content.frame().size;
        return Rect{{size.width - 26, size.height - 26}, {20, 20}};
    };
    EXPECT_EQ(button->frame(), inCorner());

    // Moved onto a list of two icons, then of six: the button stays in the corner.
    for (const Rect list : {Rect{{808, 460}, {304, 160}}, Rect{{200, 300}, {880, 192}}}) {
        window.setFrame(list, true);
        EXPECT_EQ(window.frame(), list);
        EXPECT_EQ(content.frame(), (Rect{{0, 0}, list.size}));
        EXPECT_EQ(button->frame(), inCorner());
    }
    auto* simWindow = desktop.agentWindow("MainMenu");
    ASSERT_EQ(simWindow, main.window.get());
    EXPECT_EQ(simWindow->frameChanges(), 2);
    EXPECT_TRUE(simWindow->lastFrameChange()->display);
    EXPECT_FALSE(simWindow->lastFrameChange()->animate);
    EXPECT_EQ(traceWith("overlay"),
              (Strings{"overlay moves to 808 460 304 160", "overlay moves to 200 300 880 192"}));
}

TEST_F(SimUITest, HitTestFindsTheDeepestShownViewUnderThePoint) {
    LoadedLayout main = load("MainMenu");
    View& content = main.window->contentView();
    View* button = main.viewWithIdentifier("prefBtn");
    const Rect b = button->frame();
    EXPECT_EQ(content.hitTest({b.origin.x + 1, b.origin.y + 19}), button);
    EXPECT_EQ(content.hitTest({b.origin.x + 20, b.origin.y + 10}), &content);  // right edge out
    EXPECT_EQ(content.hitTest({10, 10}), &content);
    EXPECT_EQ(content.hitTest({-1, 10}), nullptr);
    button->setHidden(true);
    EXPECT_EQ(content.hitTest({b.origin.x + 5, b.origin.y + 5}), &content);
    content.setHidden(true);
    EXPECT_EQ(content.hitTest({10, 10}), nullptr);

    // Nested views answer in their superview's coordinates.
    LoadedLayout prefs = build(kPrefLike);
    View* two = prefs.window->contentView().subviews()[1]->subviews()[1];
    EXPECT_EQ(prefs.window->contentView().hitTest({15, 95}),
              two);  // group at (10, 60), Two at (0, 30)
}

TEST_F(SimUITest, ActionsReachTheOwnerByNameOnlyFromEnabledControls) {
    LoadedLayout main = load("MainMenu");
    View* button = main.viewWithIdentifier("prefBtn");
    EXPECT_TRUE(button->sendAction());
    ASSERT_EQ(owner.sent.size(), 1u);
    EXPECT_EQ(owner.sent[0].action, "showPref:");
    EXPECT_EQ(owner.sent[0].sender, button);

    button->setEnabled(false);
    EXPECT_FALSE(button->sendAction());
    EXPECT_FALSE(main.window->contentView().sendAction());  // no action
    EXPECT_EQ(owner.sent.size(), 1u);

    // A click reaches only a shown window's controls; a disabled one takes no click.
    EXPECT_FALSE(desktop.click("MainMenu", "showPref:"));
    main.window->makeKeyAndOrderFront();
    EXPECT_TRUE(desktop.click("MainMenu", "showPref:"));
    EXPECT_EQ(owner.sent.size(), 1u);
    button->setEnabled(true);
    EXPECT_TRUE(desktop.click("MainMenu", "showPref:", "prefBtn"));
    EXPECT_FALSE(desktop.click("MainMenu", "showPref:", "otherBtn"));
    EXPECT_EQ(owner.sent.size(), 2u);

    // A behaviour that takes the mouse-up decides itself, also for a disabled view.
    struct Takes : platform::ViewBehaviour {
        int ups = 0;
        bool mouseUp(View&) override { return ++ups > 0; }
    } takes;
    button->setBehaviour(&takes);
    button->setEnabled(false);
    EXPECT_TRUE(desktop.click("MainMenu", "showPref:"));
    EXPECT_EQ(takes.ups, 1);
    EXPECT_EQ(owner.sent.size(), 2u);
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

    EXPECT_TRUE(desktop.click("PrefWindow", "toggle:"));
    EXPECT_EQ(check->state(), On);
    EXPECT_TRUE(desktop.click("PrefWindow", "toggle:"));
    EXPECT_EQ(check->state(), Off);
    check->setState(Mixed);
    desktop.click("PrefWindow", "toggle:");
    EXPECT_EQ(check->state(), On);

    EXPECT_TRUE(desktop.click("PrefWindow", "choose:", "2"));
    EXPECT_EQ(states(), (std::vector<ControlState>{Off, On, Off}));
    radios[2]->setState(On);  // as the controller fills the window from the settings
    EXPECT_EQ(states(), (std::vector<ControlState>{Off, Off, On}));
    EXPECT_FALSE(desktop.click("PrefWindow", "choose:", "4"));

    // Toolbar items are views that send the toolbar's action with themselves as sender.
    platform::Toolbar* toolbar = prefs.window->toolbar();
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar->selectedItemIdentifier(), "Settings");
    EXPECT_TRUE(desktop.click("PrefWindow", "switchTab:", "About"));
    EXPECT_EQ(toolbar->selectedItemIdentifier(), "About");

    ASSERT_EQ(owner.sent.size(), 5u);
    EXPECT_EQ(owner.sent[3].action, "choose:");
    EXPECT_EQ(owner.sent[3].sender->tag(), 2);
    EXPECT_EQ(owner.sent[4].action, "switchTab:");
    EXPECT_EQ(owner.sent[4].sender->identifier(), "About");
    EXPECT_EQ(owner.sent[4].sender->window(), prefs.window.get());
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
    EXPECT_EQ(page->window(), nullptr);
    content.addSubview(*page);
    EXPECT_EQ(text->window(), prefs->window.get());
    EXPECT_EQ(content.subviews().back(), page);
    page->removeFromSuperview();
    EXPECT_EQ(page->superview(), nullptr);
    EXPECT_EQ(content.subviews().size(), 3u);
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
    EXPECT_FALSE(desktop.windowOpen("PrefWindow"));
    prefs->window->makeKeyAndOrderFront();
    desktop.platform().ui.activateIgnoringOtherApps(true);
    EXPECT_TRUE(desktop.windowOpen("PrefWindow"));
    EXPECT_EQ(desktop.ui().keyWindow(), prefs->window.get());
    EXPECT_EQ(desktop.active(), "Vantor");
    EXPECT_EQ(desktop.front(), "Mail");

    // The delegate is told while the window still shows, and may release it then.
    delegate.then = [&] { prefs.reset(); };
    EXPECT_TRUE(desktop.closeWindow("PrefWindow"));
    EXPECT_EQ(delegate.closes, 1);
    EXPECT_TRUE(delegate.visibleWhenTold);
    EXPECT_EQ(prefs, nullptr);
    EXPECT_FALSE(desktop.windowOpen("PrefWindow"));
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

    EXPECT_EQ(
        traceWith("window"),
        (Strings{"window MainMenu opens", "window PrefWindow opens", "window PrefWindow closes",
                 "window AXAlert opens", "window NewVersionWindow opens",
                 "window NewVersionWindow closes", "window AXAlert closes"}));
    EXPECT_EQ(traceWith("activate"),
              (Strings{"activate Vantor", "activate Mail", "activate Vantor", "activate Mail"}));
}

TEST_F(SimUITest, OverlayVisibilityFollowsItsContentViewAndLevelsAreThePlatformsOnes) {
    LoadedLayout main = load("MainMenu");
    View& content = main.window->contentView();
    content.setHidden(true);
    main.window->makeKeyAndOrderFront();
    EXPECT_FALSE(desktop.overlayVisible());
    content.setHidden(false);
    EXPECT_TRUE(desktop.overlayVisible());
    content.setHidden(false);  // no change, no line
    content.setHidden(true);
    EXPECT_FALSE(desktop.overlayVisible());
    EXPECT_EQ(traceWith("overlay"), (Strings{"overlay hides", "overlay shows", "overlay hides"}));

    platform::UI& ui = desktop.platform().ui;
    EXPECT_EQ(ui.windowLevelForKey(4), 0);      // normal
    EXPECT_EQ(ui.windowLevelForKey(5), 3);      // floating
    EXPECT_EQ(ui.windowLevelForKey(8), 24);     // main menu
    EXPECT_EQ(ui.windowLevelForKey(20), 1500);  // assistive-technology high

    // A layout that is missing gives an empty window and says so.
    LoadedLayout missing = load("NoSuchWindow");
    ASSERT_TRUE(missing.window);
    EXPECT_EQ(missing.window->name(), "NoSuchWindow");
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

class SimScreenTest : public SimUITest, public ::testing::WithParamInterface<double> {
protected:
    SimScreenTest() {
        for (const char* name : {"Safari", "Mail", "Notes"})
            desktop.addApplication(name);
    }
};

TEST_P(SimScreenTest, TheSwitcherShowsAsADarkPanelWithTheOverlayAboveIt) {
    testing::holdCommandTab(desktop);
    ASSERT_TRUE(desktop.switcherShowing());
    const Rect list = *desktop.listFrame();  // Accessibility coordinates: y down
    const double scale = GetParam();

    auto screen = desktop.renderScreen(scale);
    ASSERT_EQ(screen->pixelWidth(), static_cast<int>(1920 * scale));
    const double listTop = list.origin.y;
    const double listBottom = list.origin.y + list.size.height;
    EXPECT_TRUE(isDark(pixelAt(*screen, list.origin.x + 30, listTop + 4)));
    EXPECT_TRUE(isDark(pixelAt(*screen, list.origin.x + 8, listBottom - 8)));
    EXPECT_TRUE(near(pixelAt(*screen, list.origin.x - 2, listTop + 50), kDesktopColour));
    EXPECT_TRUE(near(pixelAt(*screen, 10, 10), kDesktopColour));
    EXPECT_TRUE(near(pixelAt(*screen, 1910, 1070), kDesktopColour));
    // Each icon in its colour; the highlighted one framed in light.
    const Rect mail = *desktop.iconFrame("Mail");
    EXPECT_TRUE(near(pixelAt(*screen, mail.origin.x + 64, mail.origin.y + 30), iconColour("Mail")));
    EXPECT_TRUE(
        near(pixelAt(*screen, mail.origin.x + 64, mail.origin.y - 6), kSwitcherHighlightColour));
    const Rect safari = *desktop.iconFrame("Safari");
    EXPECT_TRUE(isDark(pixelAt(*screen, safari.origin.x + 64, safari.origin.y - 6)));

    // The overlay over the list: its clear background lets the panel show through, and its
    // view's drawing lands where the view's y-up coordinates put it.
    LoadedLayout main = load("MainMenu");
    platform::Window& window = *main.window;
    window.setOpaque(false);
    window.setBackgroundColor(Color::clearColor());
    window.setLevel(desktop.platform().ui.windowLevelForKey(20));
    RedBox redBox;
    window.contentView().setBehaviour(&redBox);
    main.viewWithIdentifier("prefBtn")->setHidden(true);
    window.setFrame({{list.origin.x, 1080 - listBottom}, list.size}, true);
    window.makeKeyAndOrderFront();

    screen = desktop.renderScreen(scale);
    EXPECT_TRUE(isRed(pixelAt(*screen, list.origin.x + 25, listBottom - 20)));
    EXPECT_TRUE(isRed(pixelAt(*screen, list.origin.x + 11, listBottom - 11)));
    EXPECT_TRUE(isRed(pixelAt(*screen, list.origin.x + 39, listBottom - 29)));
    EXPECT_TRUE(isDark(pixelAt(*screen, list.origin.x + 12, listBottom - 32)));  // above the box
    EXPECT_TRUE(isDark(pixelAt(*screen, list.origin.x + 25, listBottom - 8)));   // below it
    EXPECT_TRUE(isDark(pixelAt(*screen, list.origin.x + 30, listTop + 4)));
    EXPECT_FALSE(static_cast<SimView&>(window.contentView()).needsDisplay());

    // Half transparent, the box blends with the panel.
    window.setAlphaValue(0.5);
    screen = desktop.renderScreen(scale);
    const Rgb half = pixelAt(*screen, list.origin.x + 25, listBottom - 20);
    EXPECT_GT(half.r, 130);
    EXPECT_LT(half.r, 160);
}

INSTANTIATE_TEST_SUITE_P(Scales, SimScreenTest, ::testing::Values(1.0, 2.0));

TEST_F(SimUITest, ScreensShowSideBySideAsArrangedWithTheSwitcherOnItsOwn) {
    // A scale 2 screen up and left of the first, the switcher on it.
    ASSERT_FALSE(desktop.screens().arrange({{{0, 0}, {800, 600}}, 1}));
    ASSERT_FALSE(desktop.screens().arrange({{{-400, -300}, {400, 300}}, 2}));
    desktop.screens().setSwitcherScreen(1);
    for (const char* name : {"Safari", "Mail"})
        desktop.addApplication(name);
    testing::holdCommandTab(desktop);
    const Rect list = *desktop.listFrame();
    EXPECT_EQ(list.origin.y, -300 + std::floor((300 - list.size.height) / 2));
    LoadedLayout main = load("MainMenu");
    RedBox redBox;
    main.window->contentView().setBehaviour(&redBox);
    main.viewWithIdentifier("prefBtn")->setHidden(true);
    main.window->setFrame({{list.origin.x, 600 - list.origin.y - list.size.height}, list.size},
                          true);
    main.window->makeKeyAndOrderFront();

    // The picture's top-left corner is Accessibility (-400, -300), at the finer scale.
    auto screen = desktop.renderScreen();
    EXPECT_EQ(screen->pixelWidth(), 1200 * 2);
    const auto at = [&](double x, double y) { return pixelAt(*screen, x + 400, y + 300); };
    EXPECT_TRUE(near(at(10, 10), kDesktopColour));
    EXPECT_TRUE(near(at(-390, -290), kDesktopColour));
    EXPECT_TRUE(near(at(-200, 100), kBetweenScreensColour));
    EXPECT_TRUE(near(at(500, -100), kBetweenScreensColour));
    const Rect mail = *desktop.iconFrame("Mail");
    EXPECT_TRUE(near(at(mail.origin.x + 30, mail.origin.y + 30), iconColour("Mail")));
    const double listBottom = list.origin.y + list.size.height;
    EXPECT_TRUE(isRed(at(list.origin.x + 25, listBottom - 20)));
}

TEST_F(SimUITest, ScreenShotShowsSwitcherOverlayAndAPreferencesWindow) {
    for (const char* name : {"Safari", "Mail", "Notes", "Terminal", "访达"})
        desktop.addApplication(name);
    testing::holdCommandTab(desktop);
    desktop.tapKey("Tab");
    LoadedLayout main = load("MainMenu");
    main.window->setOpaque(false);
    main.window->setBackgroundColor(Color::clearColor());
    const Rect list = *desktop.listFrame();
    main.window->setFrame({{list.origin.x, 1080 - list.origin.y - list.size.height}, list.size},
                          true);
    main.window->makeKeyAndOrderFront();
    LoadedLayout prefs = build(kPrefLike);
    prefs.window->setFrame({{60, 600}, prefs.window->frame().size}, true);
    prefs.viewWithIdentifier("check")->setState(ControlState::On);
    prefs.window->makeKeyAndOrderFront();

    const std::string path = ::testing::TempDir() + "vantor-screen.png";
    ASSERT_TRUE(desktop.saveScreenPng(path));
    std::printf("screen written to %s\n", path.c_str());
}

}  // namespace
}  // namespace vantor::sim
