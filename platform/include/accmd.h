// accmd.h - the host's command stack: command groups, registered commands and their flags.
//
// Commands live in named groups. A command has a global name (what scripts and programs use,
// typed with a leading '_') and a local name (what the user types); names are unique within a
// group and looked up ignoring case. Groups form a stack: the most recently added group (or the
// one popped to the top) is searched first, so a later module can redefine a command.
#pragma once
#include "wtypes.h"
#include "dbmain.h"
#include "dbidar.h"
#include "rxobject.h"

// The system registry key of the command stack.
#define ACRX_COMMAND_DOCK "ACAD_REGISTERED_COMMANDS"

// Command flags.
#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002
#define ACRX_CMD_REDRAW 0x00000004
#define ACRX_CMD_NOPERSPECTIVE 0x00000008
#define ACRX_CMD_NOMULTIPLE 0x00000010
#define ACRX_CMD_NOTILEMODE 0x00000020
#define ACRX_CMD_NOPAPERSPACE 0x00000040
#define ACRX_CMD_PLOTONLY 0x00000080
#define ACRX_CMD_NOOEM 0x00000100
#define ACRX_CMD_UNDEFINED 0x00000200
#define ACRX_CMD_INPROGRESS 0x00000400
#define ACRX_CMD_DEFUN 0x00000800
#define ACRX_CMD_NOINTERNALLOCK 0x00020000
#define ACRX_CMD_NOMADIC 0x00040000
#define ACRX_CMD_DOCREADLOCK 0x00080000
#define ACRX_CMD_DOCEXCLUSIVELOCK 0x00100000
#define ACRX_CMD_SESSION 0x00200000

// Longest command name the stack accepts.
#define ACRX_MAX_CMDNAME_LEN 64

typedef void (*AcRxFunctionPtr)();

// Context menu support of a command: the host asks it for a menu when objects are selected.
class AcEdUIContext : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcEdUIContext);
  virtual void* getMenuContext(const AcRxClass* pClass, const AcDbObjectIdArray& ids) = 0;
  virtual void onCommand(Adesk::UInt32 cmdIndex) = 0;
  virtual void OnUpdateMenu() {}
};

// One registered command. The command stack owns it.
class AcEdCommand : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcEdCommand);
  // An undefined command is skipped by lookups that skip undefined commands.
  virtual void commandUndef(bool undefIt) = 0;
  virtual Adesk::Int32 commandFlags() const = 0;
  virtual AcRxFunctionPtr functionAddr() const = 0;
  virtual void functionAddr(AcRxFunctionPtr fhdl) = 0;
  virtual AcEdUIContext* UIContext() const = 0;
  virtual int functionCode() const = 0;
  virtual void functionCode(int fcode) = 0;
  virtual const char* globalName() const = 0;
  virtual const char* localName() const = 0;
  virtual const char* groupName() const = 0;
  // The resource handle made current while the command runs (NULL: leave it as it is).
  virtual HINSTANCE resourceHandle() const = 0;
};

// Walks every command, group by group from the top of the stack.
class AcEdCommandIterator : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcEdCommandIterator);
  virtual bool done() const = 0;
  virtual bool next() = 0;
  virtual const AcEdCommand* command() const = 0;
  virtual const char* commandGroup() const = 0;
};

class AcEdCommandStack : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcEdCommandStack);

  // Adds a command to a group (creating the group if it is new). Answers eOk, eDuplicateKey
  // when the group already has a command with the global or the local name, eInvalidInput for
  // a missing or malformed name (empty, longer than ACRX_MAX_CMDNAME_LEN, containing blanks or
  // control characters, or starting with '_', '.' or '\'') or a NULL function.
  virtual Acad::ErrorStatus addCommand(const char* cmdGroupName, const char* cmdGlobalName,
                                       const char* cmdLocalName, Adesk::Int32 commandFlags,
                                       AcRxFunctionPtr FunctionAddr,
                                       AcEdUIContext* UIContext = NULL, int fcode = -1,
                                       HINSTANCE hResourceHandle = NULL,
                                       AcEdCommand** cmdPtrRet = NULL) = 0;

  // A new iterator over every command; the caller deletes it.
  virtual AcEdCommandIterator* iterator() = 0;

  // Lookups ignore case and search the groups from the top of the stack.
  virtual AcEdCommand* lookupGlobalCmd(const char* cmdName) = 0;
  virtual AcEdCommand* lookupLocalCmd(const char* cmdName) = 0;
  virtual AcEdCommand* lookupCmd(const char* cmdName, bool globalFlag, bool allGroups = false,
                                 bool skipUndefed = false) = 0;

  // Moves a group to the top of the stack (eKeyNotFound for an unknown group).
  virtual Acad::ErrorStatus popGroupToTop(const char* grpName) = 0;

  // Removes one command (eKeyNotFound when the group or the command is unknown).
  virtual Acad::ErrorStatus removeCmd(const char* cmdGroupName, const char* cmdGlobalName) = 0;
  // Removes a group and all its commands (eKeyNotFound for an unknown group).
  virtual Acad::ErrorStatus removeGroup(const char* groupName) = 0;
};

#define acedRegCmds AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))
