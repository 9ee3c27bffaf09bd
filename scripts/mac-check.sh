#!/usr/bin/env bash
# Compile check of the macOS backend on Linux.
#
# Type-checks every Objective-C++ file of platform/mac/ and its C++ files (the CoreFoundation
# text jobs, built into the switcher's library on a Mac), the stand-in SDK headers of
# platform/mac/include/ excepted, and the Mac-only unit tests tests/mac/*Test.mm with clang
# -fsyntax-only -Werror in two modes:
#   linux  the Linux target with the gnustep-2.0 runtime, against GNUstep's AppKit and
#          Foundation plus the stand-in headers;
#   macos  the Apple target x86_64-apple-macos12, which gives Apple's Objective-C semantics and
#          rejects calls newer than macOS 12 that are not guarded by @available.
# Nothing is linked or run: this proves the backend's source agrees with the declarations, not
# that it works. Only a build on a Mac is a complete check.
#
# Usage:
#   scripts/mac-check.sh [--out DIR] [--jobs N]             check the backend
#   scripts/mac-check.sh [--out DIR] --mistakes FILE        the self-test of deliberate mistakes
#
# A mistake is a block of FILE guarded by `#ifdef MISTAKE_<NAME>`. Compiled with that macro
# alone, each must fail with an error inside its own block: in both modes, or only in the
# macos mode when NAME starts with MACOS_ (availability is only enforced there). The file
# with no mistake selected must compile cleanly in both modes.
#
# Exit status: 0 success, 1 failure, 77 when clang or the GNUstep headers are missing (CTest
# reports the test as skipped; scripts/install-deps.sh installs them).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${VANTOR_MAC_CHECK_OUT:-$root/build/mac-check}
jobs=2
mistakes=""
skip_code=77

compile_one() { # mode file log [extra flags...]
    local mode=$1 file=$2 log=$3
    shift 3
    local -a flags=(-fsyntax-only -x objective-c++ -std=c++20 -fobjc-arc -fblocks -fexceptions
        -fobjc-exceptions -DGNUSTEP -DGNUSTEP_BASE_LIBRARY=1 -DGNU_GUI_LIBRARY=1 -DGNU_RUNTIME=1
        -D_NATIVE_OBJC_EXCEPTIONS -DNO_GNUSTEP=1
        -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough
        -Wno-deprecated-anon-enum-enum-conversion -Werror -ferror-limit=50
        -I "$root" -isystem "$root/platform/mac/include" -isystem "$GNUSTEP_INCLUDE"
        -isystem "$out/objc-forward")
    if [[ $mode == linux ]]; then
        flags+=(-fobjc-runtime=gnustep-2.0 -pthread)
    else
        flags+=(-target x86_64-apple-macos12 -U__nonnull -D_GNU_SOURCE -nostdinc++
            -isystem /usr/include/c++/12 -isystem /usr/include/x86_64-linux-gnu/c++/12
            -isystem /usr/include/x86_64-linux-gnu -isystem /usr/include
            -Werror=unguarded-availability-new)
    fi
    "$CLANG" "${flags[@]}" "$@" "$file" >"$log" 2>&1
}

# Internal entry point of the parallel runs: --compile MODE FILE LOG [FLAGS...]; the exit
# status is also left in LOG.rc.
if [[ ${1:-} == --compile ]]; then
    rc=0
    compile_one "$2" "$3" "$4" "${@:5}" || rc=$?
    echo "$rc" >"$4.rc"
    exit "$rc"
fi

while [[ $# -gt 0 ]]; do
    case $1 in
        --out) out=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        --mistakes) mistakes=$2; shift 2 ;;
        *) echo "mac-check: unknown argument $1" >&2; exit 2 ;;
    esac
done

skip() {
    echo "mac-check: SKIPPED: $1 (scripts/install-deps.sh installs clang, libgnustep-gui-dev" \
         "and libblocksruntime-dev)"
    exit $skip_code
}

CLANG=${CLANG:-$(command -v clang-14 || command -v clang || true)}
[[ -n $CLANG ]] || skip "clang not found"
GNUSTEP_INCLUDE=${GNUSTEP_INCLUDE:-/usr/include/GNUstep}
[[ -f $GNUSTEP_INCLUDE/AppKit/AppKit.h ]] || skip "GNUstep's AppKit headers not found"
[[ -f /usr/include/Block.h ]] || skip "the blocks runtime header Block.h not found"
command -v gcc >/dev/null || skip "gcc not found (GNUstep's runtime headers come with it)"
gcc_objc=$(gcc -print-file-name=include)/objc
[[ -f $gcc_objc/objc.h ]] || skip "GCC's Objective-C runtime headers not found"
export CLANG GNUSTEP_INCLUDE

# GNUstep on Debian is built on GCC's libobjc, whose headers sit in GCC's private include
# folder, which clang does not search. Forward each of them from a folder of our own, with two
# repairs for clang with ARC and blocks: blocks_runtime.h is the blocks runtime's Block.h, and
# runtime.h needs a bridged cast and __unsafe_unretained protocol lists to be ARC-legal.
mkdir -p "$out/objc-forward/objc" "$out/logs"
rm -f "$out/logs/"*
for header in "$gcc_objc"/*.h; do
    name=$(basename "$header")
    case $name in
        runtime.h)
            sed -e 's/return object->class_pointer;/return ((__bridge struct objc_object *)object)->class_pointer;/' \
                -e 's/Protocol \*\*/Protocol * __unsafe_unretained */g' \
                "$header" >"$out/objc-forward/objc/$name.tmp" ;;
        *) printf '#include "%s"\n' "$header" >"$out/objc-forward/objc/$name.tmp" ;;
    esac
    mv "$out/objc-forward/objc/$name.tmp" "$out/objc-forward/objc/$name"
done
printf '#include <Block.h>\n' >"$out/objc-forward/objc/blocks_runtime.h"
export VANTOR_MAC_CHECK_OUT=$out

start=${EPOCHREALTIME/[.,]/}
elapsed() {
    local us=$((${EPOCHREALTIME/[.,]/} - start))
    printf '%d.%d' $((us / 1000000)) $((us / 100000 % 10))
}

# Runs the compilations listed on stdin (lines "mode file log"), two at a time by default;
# prints the lines of those that failed.
run_all() {
    tee "$out/logs/jobs.txt" |
    xargs -P "$jobs" -L 1 "$0" --compile >/dev/null 2>&1 || true
    while read -r mode file log; do
        [[ $(cat "$log.rc" 2>/dev/null) == 0 ]] || echo "$mode $file $log"
    done <"$out/logs/jobs.txt"
}

if [[ -z $mistakes ]]; then
    mapfile -t files < <({
        find "$root/platform/mac" -path "$root/platform/mac/include" -prune \
            -o \( -name '*.mm' -o -name '*.cpp' \) -print
        find "$root/tests/mac" -name '*Test.mm'
    } | sort)
    if [[ ${#files[@]} -eq 0 ]]; then
        # No backend yet: prove the stand-ins themselves compile, on a probe of every header.
        probe="$out/Probe.mm"
        cat >"$probe" <<'EOF'
#import <Cocoa/Cocoa.h>
#import <ServiceManagement/ServiceManagement.h>
#include <ApplicationServices/ApplicationServices.h>
#include <Carbon/Carbon.h>
#include <dispatch/dispatch.h>
int main() {
    @autoreleasepool {
        dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC), dispatch_get_main_queue(), ^{
            CGEventPost(kCGHIDEventTap, CGEventCreateKeyboardEvent(nullptr, 48, true));
        });
        NSLog(@"%d", AXIsProcessTrusted() ? 1 : 0);
    }
    return 0;
}
EOF
        files=("$probe")
        echo "mac-check: no .mm files in platform/mac yet; checking a probe of the headers"
    fi
    lines=$(cat "${files[@]}" | wc -l)
    failures=$(for f in "${files[@]}"; do
        base=$(basename "$f" .mm)
        for mode in linux macos; do echo "$mode $f $out/logs/$base.$mode.log"; done
    done | run_all)
    if [[ -n $failures ]]; then
        while read -r mode file log; do
            echo "mac-check: FAILED ($mode mode): ${file#"$root"/}"
            cat "$log"
        done <<<"$failures"
        echo "mac-check: $(wc -l <<<"$failures") of $((2 * ${#files[@]})) compilations failed"
        exit 1
    fi
    echo "mac-check: ${#files[@]} files, $lines lines checked in both modes" \
         "(linux gnustep-2.0, x86_64-apple-macos12) in $(elapsed) s"
    exit 0
fi

# The self-test of deliberate mistakes.
[[ -f $mistakes ]] || { echo "mac-check: no such file $mistakes" >&2; exit 2; }
mapfile -t blocks < <(awk '
    /^#ifdef MISTAKE_/ { name = substr($2, 9); first = NR; next }
    /^#endif/ && name != "" { print name, first, NR; name = "" }' "$mistakes")
[[ ${#blocks[@]} -gt 0 ]] || { echo "mac-check: no MISTAKE_ blocks in $mistakes" >&2; exit 1; }

status=0
base=$(basename "$mistakes" .mm)
for mode in linux macos; do
    if ! compile_one $mode "$mistakes" "$out/logs/$base.clean.$mode.log"; then
        echo "mac-check: FAILED: $mistakes with no mistake selected does not compile" \
             "in the $mode mode"
        cat "$out/logs/$base.clean.$mode.log"
        status=1
    fi
done

# Each mistake is compiled alone, in parallel; a compile that succeeds is a mistake the check
# lets through.
for block in "${blocks[@]}"; do
    read -r name _ _ <<<"$block"
    modes="linux macos"
    [[ $name == MACOS_* ]] && modes="macos"
    for mode in $modes; do
        echo "$mode $mistakes $out/logs/$base.$name.$mode.log -DMISTAKE_$name"
    done
done | xargs -P "$jobs" -L 1 "$0" --compile >/dev/null 2>&1 || true
rejected=0
total=0
for block in "${blocks[@]}"; do
    read -r name first last <<<"$block"
    modes="linux macos"
    [[ $name == MACOS_* ]] && modes="macos"
    for mode in $modes; do
        total=$((total + 1))
        log="$out/logs/$base.$name.$mode.log"
        if [[ $(cat "$log.rc" 2>/dev/null) == 0 ]]; then
            echo "mac-check: FAILED: mistake $name compiles in the $mode mode"
            status=1
            continue
        fi
        # The error must come from the mistake's own lines, not from elsewhere in the file.
        if ! awk -v f="$(basename "$mistakes")" -v a="$first" -v b="$last" '
                index($0, f ":") && / error: / && !/-Wunused/ {
                    split(substr($0, index($0, f ":") + length(f) + 1), p, ":")
                    if (p[1] + 0 > a && p[1] + 0 < b) found = 1
                }
                END { exit found ? 0 : 1 }' "$log"; then
            echo "mac-check: FAILED: mistake $name ($mode mode) fails, but not at its own" \
                 "lines $first-$last:"
            cat "$log"
            status=1
            continue
        fi
        rejected=$((rejected + 1))
    done
done
echo "mac-check: $rejected of $total mistake compilations rejected (${#blocks[@]} mistakes)," \
     "clean file accepted in both modes: $([[ $status == 0 ]] && echo yes || echo no)," \
     "in $(elapsed) s"
exit $status
