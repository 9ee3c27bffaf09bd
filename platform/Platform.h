// The bundle of platform services an object of the agent is given at construction.
#pragma once

#include "platform/Accessibility.h"
#include "platform/EventServices.h"
#include "platform/Http.h"
#include "platform/KeyboardLayout.h"
#include "platform/Log.h"
#include "platform/Process.h"
#include "platform/RunLoop.h"
#include "platform/Screens.h"
#include "platform/Settings.h"
#include "platform/UI.h"
#include "platform/Workspace.h"

namespace vantor::platform {

struct Platform {
    Accessibility& accessibility;
    EventServices& events;
    RunLoop& runLoop;
    Workspace& workspace;
    Screens& screens;
    Log& log;
    UI& ui;
    Process& process;
    Settings& settings;
    HttpClient& http;
    KeyboardLayout& keyboardLayout;
};

}  // namespace vantor::platform
