#include "platform/sim/SimScreenRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vantor::sim {

using platform::Color;
using platform::CompositingOperation;
using platform::ControlState;
using platform::Rect;
using platform::RoundedRectPath;
using platform::TextAlignment;
using platform::TextAttributes;
using platform::ViewKind;

namespace {

constexpr double kPanelRadius = 18;
constexpr double kHighlightOutset = 6;
constexpr double kNameFontSize = 11;
constexpr Color kNameColour{1, 1, 1, 1};

constexpr double kControlFontSize = 13;
constexpr Color kText{0.11, 0.11, 0.12, 1};
constexpr Color kDisabledText{0.6, 0.6, 0.62, 1};
constexpr Color kLinkText{0.05, 0.35, 0.85, 1};
constexpr Color kControlFill{1, 1, 1, 1};
constexpr Color kControlBorder{0.62, 0.62, 0.64, 1};
constexpr Color kAccent{0.0, 0.48, 1.0, 1};
constexpr Color kEffectFill{0.97, 0.97, 0.97, 0.85};
constexpr Color kChromeFill{0.88, 0.88, 0.89, 1};
constexpr Color kChromeLine{0.72, 0.72, 0.74, 1};
constexpr Color kSelectedItemFill{0.74, 0.74, 0.77, 1};
constexpr double kBoxSize = 14;

Rect inset(const Rect& r, double d) {
    return {{r.origin.x + d, r.origin.y + d},
            {std::max(0.0, r.size.width - 2 * d), std::max(0.0, r.size.height - 2 * d)}};
}

// Accessibility coordinates (y down) to those of a canvas (y up) covering the Accessibility
// rectangle `area`.
Rect flip(const Rect& r, const Rect& area) {
    return {
        {r.origin.x - area.origin.x, area.origin.y + area.size.height - r.origin.y - r.size.height},
        r.size};
}

TextAttributes textOf(double size, const Color& colour,
                      TextAlignment alignment = TextAlignment::Left) {
    return {platform::Font::systemFontOfSize(size), colour, alignment};
}

// One line of text centred vertically in `box`, at its full width.
void drawCentredLine(platform::Canvas& canvas, std::string_view text, const Rect& box,
                     const TextAttributes& attributes) {
    if (text.empty()) return;
    const double height = canvas.sizeWithAttributes(text, attributes).height;
    const Rect line{{box.origin.x, box.origin.y + (box.size.height - height) / 2},
                    {box.size.width, height}};
    canvas.drawInRect(text, line, attributes);
}

void fillRounded(platform::Canvas& canvas, const Rect& r, double radius, const Color& colour) {
    canvas.setFill(colour);
    canvas.fill({r, radius, radius, 1});
}

void strokeRounded(platform::Canvas& canvas, const Rect& r, double radius, const Color& colour,
                   double width = 1) {
    canvas.setStroke(colour);
    canvas.stroke({r, radius, radius, width});
}

Color hsv(double hue, double saturation, double value) {
    const double c = value * saturation;
    const double h = std::fmod(hue, 360.0) / 60.0;
    const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    if (h < 1) {
        r = c, g = x;
    } else if (h < 2) {
        r = x, g = c;
    } else if (h < 3) {
        g = c, b = x;
    } else if (h < 4) {
        g = x, b = c;
    } else if (h < 5) {
        r = x, b = c;
    } else {
        r = c, b = x;
    }
    const double m = value - c;
    return {r + m, g + m, b + m, 1};
}

// A check box or radio button: the small box on the left, filled when on, the title beside it.
void drawToggle(platform::Canvas& canvas, const SimView& view, const Rect& bounds) {
    const bool radio = view.kind() == ViewKind::RadioButton;
    const Rect box{{1, (bounds.size.height - kBoxSize) / 2}, {kBoxSize, kBoxSize}};
    const double radius = radio ? kBoxSize / 2 : 3;
    const ControlState state = view.state();
    if (state == ControlState::Off) {
        fillRounded(canvas, box, radius, kControlFill);
        strokeRounded(canvas, inset(box, 0.5), radius, kControlBorder);
    } else {
        fillRounded(canvas, box, radius, view.isEnabled() ? kAccent : kDisabledText);
        if (state == ControlState::Mixed) {
            fillRounded(canvas, {{box.origin.x + 3, box.origin.y + 6}, {8, 2}}, 1, kControlFill);
        } else if (radio) {
            fillRounded(canvas, inset(box, 4.5), 2.5, kControlFill);
        } else {
            drawCentredLine(canvas, "\u2713", box,
                            textOf(kBoxSize - 2, kControlFill, TextAlignment::Center));
        }
    }
    const double textX = box.origin.x + kBoxSize + 5;
    drawCentredLine(canvas, view.stringValue(),
                    {{textX, 0}, {std::max(0.0, bounds.size.width - textX), bounds.size.height}},
                    textOf(kControlFontSize, view.isEnabled() ? kText : kDisabledText));
}

void drawTextField(platform::Canvas& canvas, const SimView& view, const Rect& bounds) {
    double pad = 1;
    if (view.isEditable()) {
        canvas.setFill(kControlFill);
        canvas.fillRectUsingOperation(bounds, CompositingOperation::SourceOver);
        strokeRounded(canvas, inset(bounds, 0.5), 0, kControlBorder);
        pad = 4;
    }
    const std::string text = view.stringValue();
    if (text.empty()) return;
    const Color colour =
        !view.isEnabled() ? kDisabledText : (view.isUnderlined() ? kLinkText : kText);
    const TextAttributes attributes = textOf(kControlFontSize, colour);
    const Rect area = inset(bounds, pad);
    canvas.drawInRect(text, area, attributes);
    if (view.isUnderlined()) {
        const platform::Size size = canvas.sizeWithAttributes(text, attributes);
        const double top = area.origin.y + area.size.height;
        const double underlineY = top - size.height * 0.88;
        canvas.setFill(colour);
        canvas.fillRectUsingOperation(
            {{area.origin.x, underlineY}, {std::min(size.width, area.size.width), 1}},
            CompositingOperation::SourceOver);
    }
}

void drawControl(platform::Canvas& canvas, const SimView& view, const Rect& bounds) {
    const TextAttributes title =
        textOf(kControlFontSize, view.isEnabled() ? kText : kDisabledText, TextAlignment::Center);
    switch (view.kind()) {
        case ViewKind::View:
            return;
        case ViewKind::VisualEffectView:
            canvas.setFill(kEffectFill);
            canvas.fillRectUsingOperation(bounds, CompositingOperation::SourceOver);
            return;
        case ViewKind::PushButton: {
            const double radius = std::min(6.0, bounds.size.height / 4);
            fillRounded(canvas, inset(bounds, 0.5), radius, kControlFill);
            strokeRounded(canvas, inset(bounds, 0.5), radius, kControlBorder);
            drawCentredLine(canvas, view.stringValue(), bounds, title);
            return;
        }
        case ViewKind::CheckBox:
        case ViewKind::RadioButton:
            drawToggle(canvas, view, bounds);
            return;
        case ViewKind::TextField:
            drawTextField(canvas, view, bounds);
            return;
        case ViewKind::TextView:
            canvas.setFill(kControlFill);
            canvas.fillRectUsingOperation(bounds, CompositingOperation::SourceOver);
            canvas.drawInRect(view.stringValue(), inset(bounds, 4),
                              textOf(kControlFontSize, kText));
            return;
    }
}

void drawView(platform::CairoCanvas& canvas, SimView& view) {
    if (view.isHidden()) return;
    canvas.pushViewFrame(view.frame());
    const Rect bounds{{0, 0}, view.frame().size};
    if (platform::ViewBehaviour* behaviour = view.behaviour()) {
        behaviour->drawRect(canvas, bounds);
    } else {
        drawControl(canvas, view, bounds);
    }
    view.setNeedsDisplay(false);
    const std::vector<SimView*> subviews = view.simSubviews();
    for (SimView* sub : subviews)
        drawView(canvas, *sub);
    canvas.popViewFrame();
}

void drawTitleBar(platform::Canvas& canvas, const SimWindow& window, const Rect& bar) {
    canvas.setFill(kChromeFill);
    canvas.fillRectUsingOperation(bar, CompositingOperation::Copy);
    const Color buttons[] = {{1, 0.37, 0.34, 1}, {1, 0.74, 0.18, 1}, {0.16, 0.78, 0.25, 1}};
    const double diameter = 12;
    for (int i = 0; i < 3; ++i) {
        const Rect circle{{8 + i * 20.0, bar.origin.y + (bar.size.height - diameter) / 2},
                          {diameter, diameter}};
        fillRounded(canvas, circle, diameter / 2, buttons[i]);
    }
    drawCentredLine(canvas, window.title(), bar,
                    textOf(kControlFontSize, kText, TextAlignment::Center));
}

void drawToolbar(platform::Canvas& canvas, const SimToolbar& toolbar, const Rect& strip) {
    canvas.setFill(kChromeFill);
    canvas.fillRectUsingOperation(strip, CompositingOperation::Copy);
    const TextAttributes label = textOf(kControlFontSize, kText, TextAlignment::Center);
    double x = strip.origin.x + 12;
    for (const auto& item : toolbar.items()) {
        const std::string text = item->stringValue();
        const double width = std::max(64.0, canvas.sizeWithAttributes(text, label).width + 20);
        const Rect box{{x, strip.origin.y + 6}, {width, strip.size.height - 12}};
        if (item->identifier() == toolbar.selectedItemIdentifier()) {
            fillRounded(canvas, box, 6, kSelectedItemFill);
        }
        drawCentredLine(canvas, text, box, label);
        x += width + 8;
    }
}

// One icon of the switcher with its name under it, framed when highlighted.
void drawSwitcherIcon(platform::Canvas& canvas, const Rect& icon, const std::string& name,
                      bool highlighted) {
    if (highlighted) {
        // Around the icon and its name.
        const double below = SwitcherLayout::kPadding - 1;
        const Rect around{
            {icon.origin.x - kHighlightOutset, icon.origin.y - below},
            {icon.size.width + 2 * kHighlightOutset, icon.size.height + kHighlightOutset + below}};
        fillRounded(canvas, around, 10, {1, 1, 1, 0.14});
        strokeRounded(canvas, around, 10, kSwitcherHighlightColour, 2);
    }
    fillRounded(canvas, icon, icon.size.width * 0.2, iconColour(name));
    // The name in the padding under the icon.
    const double band = SwitcherLayout::kPadding;
    drawCentredLine(
        canvas, name,
        {{icon.origin.x - band / 2, icon.origin.y - band}, {icon.size.width + band, band}},
        textOf(kNameFontSize, kNameColour, TextAlignment::Center));
}

}  // namespace

Color iconColour(std::string_view applicationName) {
    // FNV-1a: stable across runs and platforms, unlike std::hash.
    std::uint32_t hash = 2166136261u;
    for (const char ch : applicationName) {
        hash ^= static_cast<unsigned char>(ch);
        hash *= 16777619u;
    }
    return hsv(static_cast<double>(hash % 360), 0.55, 0.85);
}

void drawSwitcher(platform::Canvas& canvas, const SimDock& dock, const SimWorkspace& workspace,
                  const Rect& area) {
    if (!dock.showing()) return;
    for (const Rect& list : dock.listFrames()) {
        canvas.setFill(kSwitcherPanelColour);
        canvas.fill({flip(list, area), kPanelRadius, kPanelRadius, 1});
    }
    const auto highlighted = dock.highlightedPid();
    for (const std::int32_t pid : dock.entryPids()) {
        const SimApplication* app = workspace.find(pid);
        const std::string name = app ? app->name : std::string();
        for (const Rect& frame : dock.iconFrames(pid))
            drawSwitcherIcon(canvas, flip(frame, area), name, highlighted == pid);
    }
}

void drawWindow(platform::CairoCanvas& canvas, SimWindow& window) {
    const Rect frame{{0, 0}, window.frame().size};
    canvas.setFill(window.backgroundColor());
    canvas.fillRectUsingOperation(frame, CompositingOperation::Copy);
    if (window.styleMask().titled) {
        double top = frame.size.height;
        drawTitleBar(canvas, window,
                     {{0, top - SimWindow::kTitleBarHeight},
                      {frame.size.width, SimWindow::kTitleBarHeight}});
        top -= SimWindow::kTitleBarHeight;
        if (const SimToolbar* toolbar = window.simToolbar()) {
            drawToolbar(canvas, *toolbar,
                        {{0, top - SimWindow::kToolbarHeight},
                         {frame.size.width, SimWindow::kToolbarHeight}});
            top -= SimWindow::kToolbarHeight;
        }
        canvas.setFill(kChromeLine);
        canvas.fillRectUsingOperation({{0, top}, {frame.size.width, 1}},
                                      CompositingOperation::Copy);
    }
    drawView(canvas, window.simContentView());
}

std::unique_ptr<platform::CairoCanvas> renderScreen(const SimScreens& screens, const SimDock& dock,
                                                    const SimWorkspace& workspace, const SimUI& ui,
                                                    double scale) {
    // The picture covers every screen as they are arranged, at the finest screen's scale.
    const Rect area = screens.bounds();
    double finest = 1;
    for (const SimScreen& each : screens.screens())
        finest = std::max(finest, each.scale);
    auto picture =
        std::make_unique<platform::CairoCanvas>(area.size.width, area.size.height, scale * finest);
    picture->setFill(kBetweenScreensColour);
    picture->fillRectUsingOperation({{0, 0}, area.size}, CompositingOperation::Copy);
    // Screens that touch keep a dark line between them.
    const double edge = screens.screens().size() > 1 ? 1 : 0;
    picture->setFill(kDesktopColour);
    for (const SimScreen& each : screens.screens())
        picture->fillRectUsingOperation(inset(flip(each.axFrame, area), edge),
                                        CompositingOperation::Copy);
    drawSwitcher(*picture, dock, workspace, area);

    const double firstHeight = screens.firstScreen().size.height;
    for (SimWindow* window : ui.screenOrder()) {
        const Rect frame = window->frame();
        // The window in Accessibility coordinates, then where it lies on the picture.
        const Rect axFrame{{frame.origin.x, firstHeight - frame.origin.y - frame.size.height},
                           frame.size};
        const Rect at = flip(axFrame, area);
        // A window wholly off the screens shows nothing (and may be far larger than a surface).
        if (!(at.origin.x < area.size.width && at.origin.y < area.size.height &&
              at.origin.x + at.size.width > 0 && at.origin.y + at.size.height > 0))
            continue;
        // Drawn at the scale of the screen holding most of it, as the window server does.
        platform::CairoCanvas backing(frame.size.width, frame.size.height,
                                      scale * screens.scaleOf(axFrame));
        drawWindow(backing, *window);
        picture->drawCanvas(backing, at.origin, window->alphaValue());
    }
    return picture;
}

}  // namespace vantor::sim
