#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
# As root it runs apt-get itself; otherwise it prints the one command to run and fails.
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libicu-dev libfmt-dev nlohmann-json3-dev libcli11-dev
    libcairo2-dev libpango1.0-dev fontconfig fonts-dejavu-core fonts-noto-cjk
    libcurl4-openssl-dev libcpp-httplib-dev
    # The fuzzers (clang with libFuzzer) and the compile check of the macOS backend
    # (clang against GNUstep's AppKit and Foundation headers, with blocks).
    clang libclang-rt-14-dev libgnustep-gui-dev libblocksruntime-dev
    # The build with clang's own standard library, as on a Mac, and GoogleTest's sources for it.
    libc++-14-dev libc++abi-14-dev googletest
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
    echo "Vantor needs these Debian packages. Install them, then run make again:" >&2
    echo "    sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi

echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
