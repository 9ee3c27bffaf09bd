// A window layout file of arbitrary contents: the reader answers with a layout or with a
// message naming the file, never crashes; a layout it accepts is built into windows and views on
// the simulated desktop, shown, and the screen drawn with it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "platform/LayoutFile.h"
#include "platform/sim/SimDesktop.h"

namespace {

using vantor::fuzz::check;

constexpr std::string_view kFileName = "Fuzzed.json";

// Receives the actions of the built controls; none is sent here.
class IgnoringOwner : public vantor::platform::ActionTarget {
public:
    void performAction(std::string_view, vantor::platform::View*) override {}
};

vantor::sim::SimDesktop& desktop() {
    static vantor::sim::SimDesktop* shared = [] {
        auto* made = new vantor::sim::SimDesktop();
        made->setKeepingRecords(false);
        return made;
    }();
    return *shared;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<vantor::platform::Layout> layout =
        vantor::platform::parseLayout(text, kFileName, error);
    if (!layout) {
        check(error.starts_with(std::string(kFileName) + ": ") &&
                  error.size() > kFileName.size() + 2,
              "a refused layout says what is wrong and names the file");
        return 0;
    }

    // Reading is a function of the text alone.
    std::string again;
    const std::optional<vantor::platform::Layout> second =
        vantor::platform::parseLayout(text, kFileName, again);
    check(second.has_value() && again == error, "the same text reads the same way twice");
    check(second->views.size() == layout->views.size() &&
              second->window.contentView.subviews.size() ==
                  layout->window.contentView.subviews.size(),
          "the same text gives the same views");

    IgnoringOwner owner;
    vantor::platform::LoadedLayout loaded = desktop().ui().build("Fuzzed", *layout, owner);
    check(loaded.window != nullptr, "an accepted layout builds a window");
    check(loaded.topLevelViews.size() == layout->views.size(),
          "every top-level view of the layout is built");
    loaded.window->makeKeyAndOrderFront();
    desktop().renderScreen(0.05);
    loaded.window->close();
    return 0;
}
