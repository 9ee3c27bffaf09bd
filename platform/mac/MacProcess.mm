#include "platform/mac/MacProcess.h"

#import <AppKit/AppKit.h>
#import <ServiceManagement/ServiceManagement.h>

#include <cstdlib>

#include "platform/mac/MacConversions.h"

namespace vantor::mac {

platform::ActivityToken MacProcess::beginActivity(std::uint64_t options, std::string_view reason) {
    id<NSObject> activity = [[NSProcessInfo processInfo]
        beginActivityWithOptions:static_cast<NSActivityOptions>(options)
                          reason:nsString(reason)];
    // The token holds the activity; the last copy to go ends it.
    return platform::ActivityToken((__bridge_retained void*)activity, [](void* held) {
        if (held) [[NSProcessInfo processInfo] endActivity:(__bridge_transfer id<NSObject>)held];
    });
}

bool MacProcess::loginItemSetEnabled(std::string_view bundleIdentifier, bool enabled) {
    NSString* identifier = nsString(bundleIdentifier);
    if (@available(macOS 13.0, *)) {
        SMAppService* service = [SMAppService loginItemServiceWithIdentifier:identifier];
        return enabled ? [service registerAndReturnError:nil]
                       : [service unregisterAndReturnError:nil];
    }
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
    return SMLoginItemSetEnabled((__bridge CFStringRef)identifier, enabled);
#pragma clang diagnostic pop
}

void MacProcess::launchTask(std::string_view path, const std::vector<std::string>& arguments) {
    NSMutableArray<NSString*>* taskArguments = [NSMutableArray arrayWithCapacity:arguments.size()];
    for (const std::string& argument : arguments)
        [taskArguments addObject:nsString(argument)];
    NSTask* task = [[NSTask alloc] init];
    task.executableURL = [NSURL fileURLWithPath:nsString(path)];
    task.arguments = taskArguments;
    [task launchAndReturnError:nil];
}

void MacProcess::terminate() {
    [NSApp terminate:nil];
    // terminate: does not return once the application agrees to end; should it ever come
    // back, the process still ends here, as the agent expects.
    std::exit(EXIT_SUCCESS);
}

std::string MacProcess::infoValue(std::string_view key) {
    id value = [[NSBundle mainBundle] objectForInfoDictionaryKey:nsString(key)];
    return [value isKindOfClass:[NSString class]] ? stdString(value) : std::string();
}

std::int32_t MacProcess::processIdentifier() {
    return [[NSProcessInfo processInfo] processIdentifier];
}

std::string MacProcess::bundlePath() {
    return stdString([[NSBundle mainBundle] bundlePath]);
}

}  // namespace vantor::mac
