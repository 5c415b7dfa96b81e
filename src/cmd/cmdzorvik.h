// cmdzorvik.h - the ZORVIK command and its three options.
//
// zorvikCommand is what the host's command stack calls; it asks for Create, Update or Options
// and runs the matching entry point. Each entry point pushes the module's resource handle for
// its own work, so it may also be called on its own (tests do).
#pragma once

#include "dbid.h"

// The command function registered as ZORVIK in the group Zorvik_Commands.
void zorvikCommand();

// Create: pick a polyline and a block reference, choose one attribute, link them.
void createOption();

// Asks for a block reference and chooses one of its attributes by tag (by the Attname setting in
// quiet mode, otherwise in the attribute picker). Answers true and sets attId when an attribute
// was chosen; leaves attId untouched otherwise.
bool selectLinkAttribute(AcDbObjectId& attId);

// Update: rewrite the area text of every linked polyline of model space and paper space.
void updateOption();

class AcDbEntity;
class AcDbPolyline;

// Finds the first link among the entity's persistent reactors and writes its attribute id
// into attId. Answers true when a link was found; attId is written only then. A reactor
// object that cannot be opened is recorded in the ErrorLog and skipped.
bool findLinkedAttribute(AcDbEntity* pEnt, AcDbObjectId& attId);

// Writes the polyline's area, divided by the Divisor setting and formatted with AreaPrec
// decimals, as the text of attribute attId. Answers true when the text was written; false
// when the attribute cannot be opened for write as an attribute (silently) or the area cannot
// be computed (recorded in the ErrorLog). The caller holds the polyline open.
bool updateAreaText(const AcDbPolyline* pPline, AcDbObjectId attId);

// Name of the command group and of the command itself.
extern const char* const kZorvikCommandGroup;
extern const char* const kZorvikCommandName;
