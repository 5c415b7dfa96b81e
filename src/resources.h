// resources.h - the module's texts and the resource-handle push rule.
//
// Every prompt, message and caption comes from the module's string table, loaded by id from
// the resource module that is current. So that this is the module's own, every function that
// runs a user action pushes the module's resource handle when it starts and pops it on every
// way out, exceptions included: declare a ModuleResourceScope first thing in the function.
#pragma once

#include "afxwin.h"

// The text of string-table entry `id` of the current resource module; empty when the table
// has no such entry.
CString loadResourceString(UINT id);

// Makes the module's resource handle current (pushes it on the document manager's stack).
void pushModuleResourceHandle();
// Restores the resource handle that was current before the matching push. This is the one
// function that pops; it does nothing else.
void popModuleResourceHandle();

// Pushes the module's resource handle for the lifetime of the object.
class ModuleResourceScope {
public:
  ModuleResourceScope() { pushModuleResourceHandle(); }
  ~ModuleResourceScope() { popModuleResourceHandle(); }
  ModuleResourceScope(const ModuleResourceScope&) = delete;
  ModuleResourceScope& operator=(const ModuleResourceScope&) = delete;
};

// Readies the string loader; run once during the module's static construction.
void setUpResourceStringLoader();
