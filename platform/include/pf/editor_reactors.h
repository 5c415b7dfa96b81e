// pf/editor_reactors.h - the platform's one list of editor event reactors.
//
// AcEditor::addReactor/removeReactor (ed) add to and remove from this list; the database
// sends the deep-clone notifications to every reactor in it, in the order they were added.
#pragma once
#include <vector>

class AcRxEventReactor;

namespace pf {

// The reactors, in the order they were added. A reactor is in the list at most once.
std::vector<AcRxEventReactor*>& editorEventReactors();

// Adds the reactor unless it is already there; answers false if it was.
bool addEditorEventReactor(AcRxEventReactor* reactor);
// Removes the reactor; answers false if it was not in the list.
bool removeEditorEventReactor(AcRxEventReactor* reactor);

}  // namespace pf
