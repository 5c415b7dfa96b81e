// ed/command_stack.h - the platform's command stack (the object registered under
// ACRX_COMMAND_DOCK) and its command records.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "accmd.h"

namespace pf {

class CommandRecord : public AcEdCommand {
public:
  CommandRecord(std::string group, std::string global, std::string local, Adesk::Int32 flags,
                AcRxFunctionPtr fn, AcEdUIContext* ui, int fcode, HINSTANCE res)
      : group_(std::move(group)), global_(std::move(global)), local_(std::move(local)),
        flags_(flags), fn_(fn), ui_(ui), fcode_(fcode), res_(res) {}

  AcRxClass* isA() const override { return AcEdCommand::desc(); }
  void commandUndef(bool undefIt) override { undefined_ = undefIt; }
  Adesk::Int32 commandFlags() const override {
    return undefined_ ? (flags_ | ACRX_CMD_UNDEFINED) : flags_;
  }
  AcRxFunctionPtr functionAddr() const override { return fn_; }
  void functionAddr(AcRxFunctionPtr fhdl) override { fn_ = fhdl; }
  AcEdUIContext* UIContext() const override { return ui_; }
  int functionCode() const override { return fcode_; }
  void functionCode(int fcode) override { fcode_ = fcode; }
  const char* globalName() const override { return global_.c_str(); }
  const char* localName() const override { return local_.c_str(); }
  const char* groupName() const override { return group_.c_str(); }
  HINSTANCE resourceHandle() const override { return res_; }

  bool isUndefined() const { return undefined_ || (flags_ & ACRX_CMD_UNDEFINED) != 0; }

private:
  std::string group_;
  std::string global_;
  std::string local_;
  Adesk::Int32 flags_;
  AcRxFunctionPtr fn_;
  AcEdUIContext* ui_;
  int fcode_;
  HINSTANCE res_;
  bool undefined_ = false;
};

class CommandStack : public AcEdCommandStack {
public:
  AcRxClass* isA() const override { return AcEdCommandStack::desc(); }

  Acad::ErrorStatus addCommand(const char* cmdGroupName, const char* cmdGlobalName,
                               const char* cmdLocalName, Adesk::Int32 commandFlags,
                               AcRxFunctionPtr FunctionAddr, AcEdUIContext* UIContext,
                               int fcode, HINSTANCE hResourceHandle,
                               AcEdCommand** cmdPtrRet) override;
  AcEdCommandIterator* iterator() override;
  AcEdCommand* lookupGlobalCmd(const char* cmdName) override;
  AcEdCommand* lookupLocalCmd(const char* cmdName) override;
  AcEdCommand* lookupCmd(const char* cmdName, bool globalFlag, bool allGroups,
                         bool skipUndefed) override;
  Acad::ErrorStatus popGroupToTop(const char* grpName) override;
  Acad::ErrorStatus removeCmd(const char* cmdGroupName, const char* cmdGlobalName) override;
  Acad::ErrorStatus removeGroup(const char* groupName) override;

  // The record of a command, shared so that a command removed while it runs stays valid
  // until it returns. nullptr when no command has that name.
  std::shared_ptr<CommandRecord> find(const char* name, bool global, bool skipUndefed) const;

  struct Group {
    std::string name;
    std::vector<std::shared_ptr<CommandRecord>> commands;
  };
  // Groups from the top of the stack down.
  const std::vector<Group>& groups() const { return groups_; }

private:
  Group* findGroup(const char* name);

  std::vector<Group> groups_;  // front = top of the stack
};

// The one command stack (the object in the system registry).
CommandStack& commandStack();

}  // namespace pf
