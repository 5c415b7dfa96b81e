// pf/sysvars.h - the host's system variables, read and set through acedGetVar and acedSetVar.
//
// The platform answers DWGCODEPAGE (read-only: the working drawing's code page, e.g.
// "ANSI_1252"). A host program adds variables of its own, integers with a range, that any
// command may set and the host reads back; names are compared ignoring case.
#pragma once
#include <string>

class AcDbDatabase;

namespace pf {

// Where DWGCODEPAGE comes from: the layer that reads drawings (above this one) installs the
// function that names a drawing's code page. Until then every drawing answers "ANSI_1252".
void setDrawingCodePageSource(std::string (*source)(const AcDbDatabase* db));

// Defines (or redefines, keeping nothing of the old one) an integer variable that acedSetVar
// accepts from min to max. Answers false for an empty name or a built-in one.
bool defineIntegerVariable(const std::string& name, int initial, int min, int max);
// Removes a variable defined above; built-in ones stay.
void removeVariable(const std::string& name);
// The value of an integer variable defined above, 0 when there is none.
int integerVariable(const std::string& name);
// Sets a defined integer variable from the host's side (the range still applies: a value
// outside it answers false and changes nothing).
bool setIntegerVariable(const std::string& name, int value);

}  // namespace pf
