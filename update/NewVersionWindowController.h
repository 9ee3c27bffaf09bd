// The announcement of a new version: a small floating window with the version change, the
// change notes and three buttons (skip this version, remind me later, download). It is also its
// window's delegate; whoever shows it learns through onClosed that the window has closed, and
// then lets the controller go.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Geometry.h"
#include "platform/Platform.h"
#include "platform/UI.h"

namespace vantor {

class NewVersionWindowController : public platform::ActionTarget, public platform::WindowDelegate {
public:
    // The window layout of the announcement.
    static constexpr std::string_view kWindowNibName = "NewVersionWindow";
    // The window level key of floating windows (kCGFloatingWindowLevelKey).
    static constexpr std::int32_t kFloatingWindowLevelKey = 5;
    // Room around the change notes inside their text view.
    static constexpr platform::Size kNotesInset{12, 12};

    // initWithWindowNibName:newVersion:whatsNew: keeps the version and the notes; the window
    // loads when it is first shown.
    NewVersionWindowController(platform::Platform& platform, std::string_view windowNibName,
                               std::string newVersion, std::string whatsNew);
    // Logs "NewVersionCtroller.dealloc".
    ~NewVersionWindowController() override;
    NewVersionWindowController(const NewVersionWindowController&) = delete;
    NewVersionWindowController& operator=(const NewVersionWindowController&) = delete;

    // showWindow: loads the window on first use (then windowDidLoad runs) and orders it front
    // at its floating level, without bringing the application forward.
    void showWindow();
    // Styles the loaded window and fills in the version change and the notes.
    void windowDidLoad();

    // Calls onClosed. The controller may be gone when this returns.
    void windowWillClose(platform::Window& window) override;

    // The buttons. Each ends by closing the window, after which the controller may be gone.
    void skipThisVersion();
    void mindLater();
    void download();

    const std::function<void()>& onClosed() const { return _onClosed; }
    void setOnClosed(std::function<void()> onClosed) { _onClosed = std::move(onClosed); }
    platform::View* txtVersion() const { return _txtVersion; }
    platform::View* txtWhatsNew() const { return _txtWhatsNew; }
    platform::Window* window() const { return _layout.window.get(); }

    void performAction(std::string_view action, platform::View* sender) override;

private:
    void closeWindow();

    platform::Platform& _platform;
    std::string _windowNibName;
    std::string _ver;
    std::string _whatsNew;
    std::function<void()> _onClosed;
    // Views of the loaded layout, which owns them.
    platform::View* _txtVersion = nullptr;
    platform::View* _txtWhatsNew = nullptr;
    platform::LoadedLayout _layout;
};

}  // namespace vantor
