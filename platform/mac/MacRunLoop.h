// The main run loop and main queue on macOS: CFAbsoluteTimeGetCurrent, dispatch_after on the
// main queue, delayed messages in chosen modes, CFRunLoop sources and NSThread's sleep.
#pragma once

#include "platform/RunLoop.h"

namespace vantor::mac {

class MacRunLoop final : public platform::RunLoop {
public:
    double absoluteTime() override;
    void dispatchAfter(double seconds, std::function<void()> block) override;
    void performAfterDelay(double seconds, std::function<void()> block,
                           std::initializer_list<platform::RunLoopMode> modes) override;
    void addSource(const platform::RunLoopSource& source, platform::RunLoopMode mode) override;
    void removeSource(const platform::RunLoopSource& source, platform::RunLoopMode mode) override;
    void sleepForTimeInterval(double seconds) override;
};

}  // namespace vantor::mac
