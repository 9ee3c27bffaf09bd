#!/usr/bin/env bash
# Checks a built Vantor.app as it must be to run on a Mac that did not build it (macOS only).
#
# Usage: scripts/check-bundle.sh [--universal] [--minimum VERSION] PATH/Vantor.app
#
#   - Info.plist of the application and of the embedded login-item helper pass `plutil -lint`;
#     the executable, the helper and the window layouts are in place;
#   - LSMinimumSystemVersion equals the deployment target every executable was built for (the
#     minos of its LC_BUILD_VERSION), and VERSION when given;
#   - every Mach-O file of the bundle loads libraries from /System/Library/ and /usr/lib/ only
#     (nothing from Homebrew or elsewhere), and with --universal holds both arm64 and x86_64;
#   - `codesign --verify --deep --strict` accepts the signature.
#
# Prints one line per failure and exits 1 if there was any.
set -euo pipefail

universal=0
minimum=""
while [[ $# -gt 1 ]]; do
    case $1 in
        --universal) universal=1; shift ;;
        --minimum) minimum=$2; shift 2 ;;
        *) echo "check-bundle: unknown argument $1" >&2; exit 2 ;;
    esac
done
[[ $# -eq 1 && -d $1 ]] || { echo "usage: $0 [--universal] [--minimum VERSION] APP" >&2; exit 2; }
app=${1%/}

failures=0
fail() {
    echo "check-bundle: FAILED: $*"
    failures=$((failures + 1))
}

helper="$app/Contents/Library/LoginItems/VantorAutoLaunchHelper.app"
for plist in "$app/Contents/Info.plist" "$helper/Contents/Info.plist"; do
    plutil -lint "$plist" >/dev/null || fail "plutil -lint ${plist#"$app"/}"
done
[[ -x $app/Contents/MacOS/Vantor ]] || fail "no executable Contents/MacOS/Vantor"
[[ -x $helper/Contents/MacOS/VantorAutoLaunchHelper ]] || fail "no embedded login-item helper"
compgen -G "$app/Contents/Resources/*.json" >/dev/null || fail "no window layouts in Resources"

declared=$(plutil -extract LSMinimumSystemVersion raw -o - "$app/Contents/Info.plist" 2>/dev/null ||
           true)
[[ -n $declared ]] || fail "Info.plist has no LSMinimumSystemVersion"
if [[ -n $minimum && $declared != "$minimum" ]]; then
    fail "LSMinimumSystemVersion is '$declared', the deployment target is $minimum"
fi

machos=()
while IFS= read -r -d '' file; do
    if file -b "$file" | grep -q 'Mach-O'; then machos+=("$file"); fi
done < <(find "$app" -type f -print0)
[[ ${#machos[@]} -gt 0 ]] || fail "no Mach-O file in the bundle"

for file in "${machos[@]}"; do
    name=${file#"$app"/}
    archs=$(lipo -archs "$file")
    if [[ $universal == 1 ]]; then
        for arch in arm64 x86_64; do
            [[ " $archs " == *" $arch "* ]] || fail "$name lacks $arch (has: $archs)"
        done
    fi
    for arch in $archs; do
        # The first line names the file; each library line starts with a tab.
        while read -r library _; do
            case $library in
                /System/Library/* | /usr/lib/*) ;;
                *) fail "$name ($arch) loads $library" ;;
            esac
        done < <(otool -L -arch "$arch" "$file" | tail -n +2)
        built_for=$(otool -l -arch "$arch" "$file" |
                    awk '/LC_BUILD_VERSION/ { found = 1 } found && $1 == "minos" { print $2; exit }')
        if [[ -n $declared && $built_for != "$declared" ]]; then
            fail "$name ($arch) is built for macOS '$built_for', Info.plist says $declared"
        fi
    done
done

codesign --verify --deep --strict --verbose=2 "$app" 2>&1 | sed 's/^/check-bundle: /' ||
    fail "codesign --verify --deep --strict"

if [[ $failures -gt 0 ]]; then
    echo "check-bundle: $failures failure(s) in $app"
    exit 1
fi
kind=native
[[ $universal == 1 ]] && kind="arm64 + x86_64"
echo "check-bundle: $app passes (${#machos[@]} Mach-O files, $kind, macOS $declared and later)"
