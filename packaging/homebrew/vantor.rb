# Homebrew cask for the disk image of a Vantor release. A release fills in the three
# placeholders (version, sha256 and the repository in url and homepage): the release workflow
# prints the lines to paste in its summary.
cask "vantor" do
  version "X.Y.Z"
  sha256 "SHA256_OF_VANTOR_X.Y.Z.DMG"

  url "https://github.com/OWNER/REPOSITORY/releases/download/v#{version}/Vantor-#{version}.dmg"
  name "Vantor"
  desc "Hint keys under the icons of the Command-Tab switcher"
  homepage "https://github.com/OWNER/REPOSITORY"

  depends_on macos: ">= :monterey"

  app "Vantor.app"

  uninstall quit: "com.orlenby.Vantor"

  zap trash: [
    "~/Library/HTTPStorages/com.orlenby.Vantor",
    "~/Library/Preferences/com.orlenby.Vantor.plist",
    "~/Library/Preferences/com.orlenby.VantorAutoLaunchHelper.plist",
    "~/Library/Saved Application State/com.orlenby.Vantor.savedState",
  ]
end
