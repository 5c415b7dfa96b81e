// commands.h - the room-area toolkit: ZORVIKLINK, ZORVIKAUDIT and ZORVIKEXPORT, registered
// beside ZORVIK in the command group Zorvik_Commands.
#pragma once

#include "dbmain.h"

class AcEdCommandStack;

// Links every room of the plan (or of a selection) to the tag inside it.
void zorvikLinkCommand();
// Checks the links of the plan and, on request, repairs what can be repaired.
void zorvikAuditCommand();
// Writes the room schedule of the linked rooms to a CSV file.
void zorvikExportCommand();

// Adds the three commands to the group; answers the first failure.
Acad::ErrorStatus registerToolkitCommands(AcEdCommandStack* stack, const char* group);
