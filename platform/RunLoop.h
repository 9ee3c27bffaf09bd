// The main run loop and main queue: absolute time, blocks after a delay, delayed messages in
// chosen modes, run-loop sources, and blocking sleep (CFRunLoop, dispatch, NSObject, NSThread).
#pragma once

#include <functional>
#include <initializer_list>

#include "platform/Accessibility.h"

namespace vantor::platform {

enum class RunLoopMode {
    Default,     // kCFRunLoopDefaultMode / NSDefaultRunLoopMode
    ModalPanel,  // NSModalPanelRunLoopMode
    Common,      // kCFRunLoopCommonModes: every common mode, the two above included
};

class RunLoop {
public:
    virtual ~RunLoop() = default;

    // CFAbsoluteTimeGetCurrent: seconds.
    virtual double absoluteTime() = 0;

    // dispatch_after(dispatch_time(DISPATCH_TIME_NOW, seconds), main queue, block).
    // Main-queue blocks run in every common mode.
    virtual void dispatchAfter(double seconds, std::function<void()> block) = 0;

    // performSelector:withObject:afterDelay:inModes: on the main run loop.
    virtual void performAfterDelay(double seconds, std::function<void()> block,
                                   std::initializer_list<RunLoopMode> modes) = 0;

    // CFRunLoopAddSource / CFRunLoopRemoveSource on the current (main) run loop.
    virtual void addSource(const RunLoopSource& source, RunLoopMode mode) = 0;
    virtual void removeSource(const RunLoopSource& source, RunLoopMode mode) = 0;

    // NSThread sleepForTimeInterval: blocks the calling (main) thread.
    virtual void sleepForTimeInterval(double seconds) = 0;
};

}  // namespace vantor::platform
