// Registers the editor area's runtime classes and puts the command stack and the editor into
// the system registry when the runtime starts, so that acedRegCmds and acedEditor answer from
// the moment a module can call them.
#include "aced.h"
#include "ed/command_stack.h"
#include "ed/editor_internal.h"
#include "rx/rxinit.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcEdUIContext, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcEdCommand, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcEdCommandIterator, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject)

PF_REGISTER_CLASS(AcEdUIContext);
PF_REGISTER_CLASS(AcEdCommand);
PF_REGISTER_CLASS(AcEdCommandIterator);
PF_REGISTER_CLASS(AcEdCommandStack);
PF_REGISTER_CLASS(AcEditorReactor);
PF_REGISTER_CLASS(AcEditor);

namespace {

void registerEditorServices() {
  AcRxDictionary* registry = acrxSysRegistry();
  Adesk::UInt32 id = 0;
  if (!registry->has(ACRX_COMMAND_DOCK)) registry->atPut(ACRX_COMMAND_DOCK, &pf::commandStack(), id);
  if (!registry->has(ACED_EDITOR_OBJ)) registry->atPut(ACED_EDITOR_OBJ, pf::editorObject(), id);
}

const bool g_registered = pf::registerClassInit(&registerEditorServices);

}  // namespace

namespace pf {

CommandStack& commandStack() {
  static CommandStack* stack = new CommandStack;  // registered in the system registry for the session
  return *stack;
}

}  // namespace pf
