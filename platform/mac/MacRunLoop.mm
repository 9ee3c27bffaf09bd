#include "platform/mac/MacRunLoop.h"

#import <AppKit/AppKit.h>
#include <dispatch/dispatch.h>

#include "platform/mac/MacCFHandle.h"

namespace vantor::mac {

using platform::RunLoopMode;

namespace {

NSRunLoopMode modeName(RunLoopMode mode) {
    switch (mode) {
        case RunLoopMode::Default:
            return NSDefaultRunLoopMode;
        case RunLoopMode::ModalPanel:
            return NSModalPanelRunLoopMode;
        case RunLoopMode::Common:
            return NSRunLoopCommonModes;
    }
    return NSDefaultRunLoopMode;
}

}  // namespace

double MacRunLoop::absoluteTime() {
    return CFAbsoluteTimeGetCurrent();
}

void MacRunLoop::dispatchAfter(double seconds, std::function<void()> block) {
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, static_cast<int64_t>(seconds * NSEC_PER_SEC)),
                   dispatch_get_main_queue(), ^{
                     block();
                   });
}

void MacRunLoop::performAfterDelay(double seconds, std::function<void()> block,
                                   std::initializer_list<RunLoopMode> modes) {
    NSMutableArray<NSRunLoopMode>* modeNames = [NSMutableArray arrayWithCapacity:modes.size()];
    for (const RunLoopMode mode : modes)
        [modeNames addObject:modeName(mode)];
    // The delayed message starts an operation, which runs its block there and then.
    NSBlockOperation* operation = [NSBlockOperation blockOperationWithBlock:^{
      block();
    }];
    [operation performSelector:@selector(start)
                    withObject:nil
                    afterDelay:seconds
                       inModes:modeNames];
}

void MacRunLoop::addSource(const platform::RunLoopSource& source, RunLoopMode mode) {
    CFRunLoopAddSource(CFRunLoopGetMain(), cfRef<CFRunLoopSourceRef>(source),
                       (__bridge CFRunLoopMode)modeName(mode));
}

void MacRunLoop::removeSource(const platform::RunLoopSource& source, RunLoopMode mode) {
    CFRunLoopRemoveSource(CFRunLoopGetMain(), cfRef<CFRunLoopSourceRef>(source),
                          (__bridge CFRunLoopMode)modeName(mode));
}

void MacRunLoop::sleepForTimeInterval(double seconds) {
    [NSThread sleepForTimeInterval:seconds];
}

}  // namespace vantor::mac
