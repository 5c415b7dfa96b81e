// commands_pending.cpp - placeholder command registration until the command unit lands.
#include "zorvik.h"

Acad::ErrorStatus ModuleApp::registerCommands()
{
    return Acad::eOk;
}

Acad::ErrorStatus ModuleApp::unregisterCommands()
{
    return Acad::eOk;
}
