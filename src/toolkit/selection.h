// selection.h - an object selection at the command line, as a list of entity ids.
#pragma once

#include <vector>

#include "dbmain.h"

namespace toolkit {

enum class SelectionResult { kSelected, kEmpty, kCancelled };

// Asks "Select objects:" (the host's selection); ids receives what was selected.
SelectionResult selectObjects(std::vector<AcDbObjectId>& ids);

}  // namespace toolkit
