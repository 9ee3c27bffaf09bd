// Plays a scenario on the simulated desktop with the real agent: the commands set up the
// desktop, start the agent at `launch`, move virtual time, type and click, kill and start
// processes and inject failures; each `expect` compares what it names with the desktop and the
// agent as they are at that moment. The overlay is displayed whenever it needs it, after every
// command and every piece of work the run loop does, so what `expect hint` reads is what the
// screen shows.
//
// The player drives the agent the way the desktop's own input reaches it, so its commands reach
// the agent also while the agent runs a modal loop (the permission prompt), and `wait` advances
// whichever loop is running. After the agent terminates, input commands are ignored (with a
// trace line) and `expect` still answers.
//
// The update server: `update STATUS BODY` starts an HTTP server on 127.0.0.1 in this process
// with that answer (a later `update` changes it); without an `update` line the agent is given
// the --update-server address, or else a loopback port that refuses connections at once.
//
// Outcomes: 0 when every expect held; 1 at the first expect that did not, with its line and
// what was seen instead; 2 for a malformed script or a command that cannot be carried out
// (quitting an application that does not run, clicking a control that is not there), with its
// line. Nothing is played of a malformed script.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/Agent.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimUpdateServer.h"
#include "tools/OverlayRecorder.h"
#include "tools/ScenarioParser.h"

namespace vantor::tools {

struct PlayerOptions {
    // How messages name the script ("tests/scenarios/switch.scn").
    std::string scriptName = "script";
    // Where `shot FILE` writes a relative FILE.
    std::filesystem::path outputDir = ".";
    // When set, a screen PNG is saved here at every change of the overlay.
    std::optional<std::filesystem::path> shotsDir;
    // The trace is written here line by line as it happens (null: nowhere).
    std::ostream* trace = nullptr;
    // The settings store's folder; empty: an empty store in a fresh temporary folder.
    std::string configDir;
    // The update server's base address ("http://127.0.0.1:8080") for a script without an
    // `update` line; empty: a loopback port that refuses at once. Loopback addresses only (see
    // isLoopbackAddress).
    std::string updateServer;
};

struct PlayResult {
    int exitCode = 0;
    // Why it did not pass: "FILE:LINE: ..." lines.
    std::string message;
};

// Whether an address names this machine only: http:// or https:// with the host 127.0.0.1,
// localhost or [::1], an optional port and an optional path.
bool isLoopbackAddress(std::string_view address);

// What `expect url` writes for the update server's base address: a URL that begins with it
// stands for the address the agent was given ("{update-server}/projects/vantor").
inline constexpr std::string_view kUpdateServerPlaceholder = "{update-server}";

class ScenarioPlayer {
public:
    explicit ScenarioPlayer(PlayerOptions options = {});
    ~ScenarioPlayer();
    ScenarioPlayer(const ScenarioPlayer&) = delete;
    ScenarioPlayer& operator=(const ScenarioPlayer&) = delete;

    // Reads and plays a script. A player plays one script.
    PlayResult play(std::string_view scriptText);
    PlayResult play(const Script& script);

    sim::SimDesktop& desktop() { return desktop_; }
    // The agent, from `launch` on.
    Agent* agent() { return agent_.get(); }
    // The running version that `version` set ("1.0" by default), which the agent's bundle
    // gives as its short version string.
    const std::string& version() const { return version_; }
    const PlayerOptions& options() const { return options_; }
    const OverlayRecorder& overlay() const { return overlay_; }
    // The update server's base address the agent was given at launch (empty before).
    const std::string& updateServerAddress() const { return updateAddress_; }
    // The screen PNGs saved so far (by `shot` and for --shots), in order.
    const std::vector<std::filesystem::path>& savedShots() const { return savedShots_; }

private:
    // Plays one command; a message when it cannot be carried out.
    std::optional<std::string> run(const Command& command);
    // Nothing when the expectation holds, else what was seen instead.
    std::optional<std::string> check(const Command& command);
    std::optional<std::string> checkHint(const std::string& name, const std::string& key);
    void launch();
    // Moves virtual time on, running what falls due, with the overlay displayed after each
    // piece of work.
    void advance(double seconds);
    void tap(std::uint16_t keyCode);
    // Types one character with the key, and Shift, that the selected layout needs; a message
    // when no key of it types the character.
    std::optional<std::string> typeCharacter(char c);
    void seedSetting(const std::string& key, const std::string& value);
    void answerUpdates(int status, const std::string& body);
    // Whether the agent's process has ended.
    bool agentTerminated() { return desktop_.process().terminated(); }
    // After any change: the overlays are displayed when they need it, with a screen PNG for
    // --shots.
    void displayPass();
    // Stands a recorder in front of each overlay the agent has made since the last call.
    void attachOtherOverlays();
    bool saveShot(const std::filesystem::path& path);

    PlayerOptions options_;
    // The update server of `update`, or the refusing port used without one; declared before
    // the desktop so that they outlive its HTTP client.
    std::unique_ptr<sim::SimUpdateServer> updateServer_;
    std::unique_ptr<sim::RefusingLoopbackPort> refusingPort_;
    std::string updateAddress_;
    sim::SimDesktop desktop_;
    // Declared before the agent: they outlive the agent's views that they stand in front of.
    OverlayRecorder overlay_;
    // The overlays of the switcher's further lists on other displays, as the agent makes them.
    std::vector<std::unique_ptr<OverlayRecorder>> otherOverlays_;
    std::unique_ptr<Agent> agent_;
    std::string version_ = "1.0";
    int shotNumber_ = 0;
    // The desktop's count of Accessibility round trips at the last `expect ax-calls`.
    std::int64_t axCallsMark_ = 0;
    // The time Accessibility calls had waited for a hung Dock at the last `expect ax-waited`.
    sim::Nanos axWaitedMark_ = 0;
    std::vector<std::filesystem::path> savedShots_;
};

}  // namespace vantor::tools
