#include "input/TriggerController.h"

namespace vantor {

TriggerController* gAppDelegate = nullptr;

}  // namespace vantor
