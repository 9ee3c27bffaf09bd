#import "platform/mac/MacActionRelay.h"

@implementation VantorActionRelay {
    vantor::platform::ActionTarget* _target;
    std::string _action;
    vantor::platform::View* _sender;
}

- (instancetype)initWithTarget:(vantor::platform::ActionTarget*)target
                        action:(const std::string&)action
                        sender:(vantor::platform::View*)sender {
    self = [super init];
    if (self) {
        _target = target;
        _action = action;
        _sender = sender;
    }
    return self;
}

- (void)relay:(id)sender {
    (void)sender;
    if (_target && _sender) _target->performAction(_action, _sender);
}

@end
