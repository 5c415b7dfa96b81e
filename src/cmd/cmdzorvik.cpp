// cmdzorvik.cpp - registration of the ZORVIK command and the command function itself.
//
// The command asks for one of three options (Create is the default on Enter) and runs it. It
// keeps nothing between runs; every exit, exceptions included, pops the resource handle it
// pushed.
#include "cmd/cmdzorvik.h"

#include "dialogs/optionsdialog.h"
#include "resources.h"
#include "zorvik.h"
#include "resource.h"

#include "accmd.h"
#include "adslib.h"
#include "mbstring.h"
#include "rxdict.h"

#include <cstring>

const char* const kZorvikCommandGroup = "Zorvik_Commands";
const char* const kZorvikCommandName = "zorvik";

namespace {

// The keyword the option prompt answers on empty input.
const char* const kDefaultKeyword = "Create";

// The options in the order they are compared with the answer.
struct OptionEntry {
  const char* keyword;
  void (*run)();
};
void runOptionsDialog() { showOptionsDialog(); }
const OptionEntry kOptions[] = {
    {"Create", createOption},
    {"Update", updateOption},
    {"Options", runOptionsDialog},
};

// Size of the answer buffer of the option prompt.
const int kAnswerSize = 512;

// The system registry's key of the host's command stack.
const char* const kCommandStackKey = "ACAD_REGISTERED_COMMANDS";

// The host's command stack, or null when the system registry holds none of that class.
AcEdCommandStack* findCommandStack() {
  AcRxDictionary* registry = acrxSysRegistry();
  if (!registry) return nullptr;
  AcRxObject* entry = registry->at(kCommandStackKey);
  AcRxClass* stackClass = AcEdCommandStack::desc();
  if (!entry || !stackClass || !entry->isKindOf(stackClass)) return nullptr;
  return static_cast<AcEdCommandStack*>(entry);
}

}  // namespace

Acad::ErrorStatus ModuleApp::registerCommands() {
  AcEdCommandStack* stack = findCommandStack();
  if (!stack) return Acad::eNotApplicable;
  return stack->addCommand(kZorvikCommandGroup, kZorvikCommandName, kZorvikCommandName,
                           ACRX_CMD_MODAL, zorvikCommand, nullptr, -1, nullptr, nullptr);
}

Acad::ErrorStatus ModuleApp::unregisterCommands() {
  AcEdCommandStack* stack = findCommandStack();
  if (!stack) return Acad::eNotApplicable;
  return stack->removeGroup(kZorvikCommandGroup);
}

void zorvikCommand() {
  ModuleResourceScope resources;

  char answer[kAnswerSize];
  answer[0] = '\0';
  {
    // The host keeps its own copy of the keyword list for the next prompt.
    CString keywords = loadResourceString(IDS_KEYWORDS);
    acedInitGet(0, keywords);
  }
  int result;
  {
    CString prompt = loadResourceString(IDS_OPTION_PROMPT);
    result = acedGetKword(prompt, answer);
  }
  if (result == RTNONE) {
    std::strcpy(answer, kDefaultKeyword);
  } else if (result != RTNORM) {
    return;  // cancel or error: nothing runs
  }

  for (const OptionEntry& option : kOptions) {
    if (_mbsicmp(reinterpret_cast<const unsigned char*>(answer),
                 reinterpret_cast<const unsigned char*>(option.keyword)) == 0) {
      option.run();
      return;
    }
  }
}
