#include "tools/OverlayRecorder.h"

#include <fmt/format.h>

#include <algorithm>
#include <utility>

#include "platform/posix/CairoCanvas.h"
#include "platform/sim/SimScreenRenderer.h"

namespace vantor::tools {

namespace {

// The multiplication sign that begins a label's count.
constexpr std::string_view kTimesSign = "\xC3\x97";

// Passes every call on to the canvas of the draw and keeps each string drawn, with its
// rectangle moved from the view's coordinates to the screen's.
class RecordingCanvas final : public platform::Canvas {
public:
    RecordingCanvas(platform::Canvas& inner, platform::Rect windowFrame, double screenHeight,
                    std::vector<DrawnString>& drawn)
        : inner_(inner), windowFrame_(windowFrame), screenHeight_(screenHeight), drawn_(drawn) {}

    void setFill(const platform::Color& color) override { inner_.setFill(color); }
    void setStroke(const platform::Color& color) override { inner_.setStroke(color); }
    void fillRectUsingOperation(const platform::Rect& rect,
                                platform::CompositingOperation operation) override {
        inner_.fillRectUsingOperation(rect, operation);
    }
    void fill(const platform::RoundedRectPath& path) override { inner_.fill(path); }
    void stroke(const platform::RoundedRectPath& path) override { inner_.stroke(path); }
    platform::Size sizeWithAttributes(std::string_view text,
                                      const platform::TextAttributes& attributes) override {
        return inner_.sizeWithAttributes(text, attributes);
    }
    void drawInRect(std::string_view text, const platform::Rect& rect,
                    const platform::TextAttributes& attributes) override {
        inner_.drawInRect(text, rect, attributes);
        // The content view fills the borderless window, so view and window coordinates agree.
        const double bottom = windowFrame_.origin.y + rect.origin.y;
        drawn_.push_back(
            {std::string(text),
             {{windowFrame_.origin.x + rect.origin.x, screenHeight_ - bottom - rect.size.height},
              rect.size}});
    }

private:
    platform::Canvas& inner_;
    platform::Rect windowFrame_;
    double screenHeight_;
    std::vector<DrawnString>& drawn_;
};

}  // namespace

void OverlayRecorder::attach(sim::SimWindow& window, DrawingView& view,
                             const sim::SimScreens& screens) {
    window_ = &window;
    view_ = &view;
    screens_ = &screens;
    window.simContentView().setBehaviour(this);
}

void OverlayRecorder::detach() {
    if (window_ && window_->simContentView().behaviour() == this) {
        window_->simContentView().setBehaviour(view_);
    }
    window_ = nullptr;
    view_ = nullptr;
}

void OverlayRecorder::drawRect(platform::Canvas& canvas, const platform::Rect& dirtyRect) {
    if (!view_ || !window_) return;
    std::vector<DrawnString> drawn;
    RecordingCanvas recording(canvas, window_->frame(), screens_->firstScreen().size.height, drawn);
    view_->drawRect(recording, dirtyRect);
    lastNotice_.clear();
    if (const std::string& notice = view_->notice(); !notice.empty()) {
        const auto it = std::find_if(drawn.begin(), drawn.end(),
                                     [&](const DrawnString& s) { return s.text == notice; });
        if (it != drawn.end()) {
            lastNotice_ = it->text;
            drawn.erase(it);
        }
    }
    lastDraw_ = std::move(drawn);
}

bool OverlayRecorder::mouseUp(platform::View& view) {
    return view_ && view_->mouseUp(view);
}

bool OverlayRecorder::visible() const {
    return window_ && window_->isVisible() && !window_->simContentView().isHidden();
}

OverlayRecorder::Change OverlayRecorder::displayIfNeeded() {
    const bool nowShown = visible();
    if (!nowShown) {
        const bool wasShown = std::exchange(shown_, false);
        return wasShown ? Change::Hides : Change::None;
    }
    const platform::Rect frame = window_->frame();
    Change change = Change::None;
    if (!shown_) {
        change = Change::Shows;
    } else if (frame != shownFrame_) {
        change = Change::Moves;
    } else if (window_->simContentView().needsDisplay()) {
        change = Change::Redraws;
    }
    shown_ = true;
    shownFrame_ = frame;
    if (change == Change::None) return change;
    // At the backing scale of the screen holding most of the window, as the window server does.
    const double firstHeight = screens_->firstScreen().size.height;
    const platform::Rect axFrame{{frame.origin.x, firstHeight - frame.origin.y - frame.size.height},
                                 frame.size};
    platform::CairoCanvas backing(frame.size.width, frame.size.height, screens_->scaleOf(axFrame));
    sim::drawWindow(backing, *window_);
    return change;
}

std::string OverlayRecorder::describeLastDraw() const {
    struct Label {
        double x;
        std::string text;
    };
    std::vector<Label> labels;
    for (const DrawnString& s : lastDraw_) {
        // A count belongs to the character drawn just before it.
        if (s.text.starts_with(kTimesSign) && !labels.empty()) {
            labels.back().text += s.text;
        } else {
            labels.push_back({s.frame.origin.x, s.text});
        }
    }
    std::stable_sort(labels.begin(), labels.end(),
                     [](const Label& a, const Label& b) { return a.x < b.x; });
    std::string text;
    for (const Label& label : labels) {
        if (!text.empty()) text += ' ';
        text += label.text;
    }
    return text;
}

}  // namespace vantor::tools
