// The preferences window: its Settings page (start at login, the trigger modifier, press
// twice, the middle-button trigger) and its About page (version, product page link, quit).
// Each control writes its setting and applies it at once. Closing the window drops the
// controller, so every opening loads the window afresh from the current settings.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/UI.h"
#include "prefs/ClickableTextField.h"

namespace vantor {

// Told when the preferences window has closed.
class PrefControllerDelegate {
public:
    virtual ~PrefControllerDelegate() = default;
    virtual void prefControllerDidClose() = 0;
};

// The trigger settings of the running application controller, which the window applies at
// once.
class TriggerSettings {
public:
    virtual ~TriggerSettings() = default;
    virtual void setTriggerModifierKey(std::uint64_t key) = 0;
    virtual void setPressTwiceToTrigger(bool on) = 0;
    virtual bool rightClickToTrigger() const = 0;
    virtual void setRightClickToTrigger(bool on) = 0;
};

class PrefController : public platform::ActionTarget, public platform::WindowDelegate {
public:
    static constexpr std::string_view kSettingsTab = "Settings";
    static constexpr std::string_view kAboutTab = "About";
    // The window level key of floating windows (kCGFloatingWindowLevelKey).
    static constexpr std::int32_t kFloatingWindowLevelKey = 5;
    // The link table: the product page's tag.
    static constexpr std::int64_t kProductPageTag = 2;

    // initWithWindowNibName: "PrefWindow"; the window loads when first shown.
    PrefController(platform::Platform& platform, TriggerSettings& triggerSettings);
    ~PrefController() override;
    PrefController(const PrefController&) = delete;
    PrefController& operator=(const PrefController&) = delete;

    PrefControllerDelegate* delegate() const { return _delegate; }
    void setDelegate(PrefControllerDelegate* delegate) { _delegate = delegate; }
    const std::optional<std::string>& initialTab() const { return _initialTab; }
    void setInitialTab(std::optional<std::string> tab) { _initialTab = std::move(tab); }

    // Loads the window (which runs awakeFromNib), shows it, and brings the application forward.
    void showWindow();
    // Floating level, the version label, the first page, the controls from the settings.
    void awakeFromNib();
    // Sets the Settings page's controls from the stored settings and the controller.
    void applyUserDefaults();

    void toggleAutoLaunch(platform::View& sender);
    void chooseTriggerKey(platform::View& sender);
    void toggleTapTwiceTrigger(platform::View& sender);
    void toggleRightClickTrigger(platform::View& sender);
    void selectTab(std::string_view tabId);
    void switchTab(platform::View& sender);
    void quitApp();
    void visitLink(platform::View& sender);
    // Shows a page in place of the current one; the window keeps its top-left corner and grows
    // or shrinks downwards and to the right to fit it.
    void showTabView(platform::View* page);
    platform::View* tabViewForTabId(std::string_view tabId) const;

    void windowWillClose(platform::Window& window) override;
    void performAction(std::string_view action, platform::View* sender) override;

    platform::Window* window() const { return _layout.window.get(); }
    platform::View* currentPage() const { return _currentPage; }

private:
    // The first direct subview of the Settings page with this identifier.
    platform::View* settingsControl(std::string_view identifier) const;

    platform::Platform& _platform;
    TriggerSettings& _triggerSettings;
    platform::LoadedLayout _layout;
    platform::View* settingsView = nullptr;
    platform::View* aboutView = nullptr;
    platform::View* linkLabel = nullptr;
    platform::View* _currentPage = nullptr;
    platform::View* labelVersion = nullptr;
    PrefControllerDelegate* _delegate = nullptr;
    std::optional<std::string> _initialTab;
    ClickableTextField _linkBehaviour;
    // Blocks scheduled on the main queue hold a weak reference to this.
    std::shared_ptr<PrefController*> _self;
};

}  // namespace vantor
