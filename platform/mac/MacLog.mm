#include "platform/mac/MacLog.h"

#include "platform/mac/MacConversions.h"

namespace vantor::mac {

void MacLog::log(std::string_view message) {
    NSLog(@"%@", nsString(message));
}

}  // namespace vantor::mac
