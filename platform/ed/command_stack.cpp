// The command stack: groups of registered commands, lookups ignoring case, removal.
#include "ed/command_stack.h"

#include <algorithm>
#include <cstring>

#include "ed/keywords.h"
#include "pf/faults.h"

namespace pf {
namespace {

bool validCommandName(const char* name) {
  if (name == nullptr || *name == '\0') return false;
  std::size_t n = std::strlen(name);
  if (n > ACRX_MAX_CMDNAME_LEN) return false;
  // These prefixes have a meaning when a command is typed (global name, built-in, transparent).
  if (name[0] == '_' || name[0] == '.' || name[0] == '\'') return false;
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c <= ' ' || c == 0x7f) return false;
  }
  return true;
}

class CommandIterator : public AcEdCommandIterator {
public:
  explicit CommandIterator(const CommandStack& stack) {
    for (const CommandStack::Group& g : stack.groups()) {
      for (const auto& c : g.commands) items_.push_back(c);
    }
  }
  AcRxClass* isA() const override { return AcEdCommandIterator::desc(); }
  bool done() const override { return pos_ >= items_.size(); }
  bool next() override {
    if (pos_ < items_.size()) ++pos_;
    return !done();
  }
  const AcEdCommand* command() const override { return done() ? nullptr : items_[pos_].get(); }
  const char* commandGroup() const override {
    return done() ? nullptr : items_[pos_]->groupName();
  }

private:
  // A snapshot: commands removed while iterating stay valid until the iterator is deleted.
  std::vector<std::shared_ptr<CommandRecord>> items_;
  std::size_t pos_ = 0;
};

}  // namespace

CommandStack::Group* CommandStack::findGroup(const char* name) {
  for (Group& g : groups_) {
    if (equalsIgnoringCase(g.name, name)) return &g;
  }
  return nullptr;
}

Acad::ErrorStatus CommandStack::addCommand(const char* cmdGroupName, const char* cmdGlobalName,
                                           const char* cmdLocalName, Adesk::Int32 commandFlags,
                                           AcRxFunctionPtr FunctionAddr,
                                           AcEdUIContext* UIContext, int fcode,
                                           HINSTANCE hResourceHandle, AcEdCommand** cmdPtrRet) {
  if (cmdPtrRet != nullptr) *cmdPtrRet = nullptr;
  if (Acad::ErrorStatus es = injectedFault("AcEdCommandStack::addCommand"); es != Acad::eOk) {
    return es;
  }
  if (cmdGroupName == nullptr || *cmdGroupName == '\0' || !validCommandName(cmdGlobalName) ||
      FunctionAddr == nullptr) {
    return Acad::eInvalidInput;
  }
  // A missing local name means the command has one name only.
  if (cmdLocalName == nullptr || *cmdLocalName == '\0') cmdLocalName = cmdGlobalName;
  if (!validCommandName(cmdLocalName)) return Acad::eInvalidInput;

  Group* group = findGroup(cmdGroupName);
  if (group != nullptr) {
    for (const auto& c : group->commands) {
      if (equalsIgnoringCase(c->globalName(), cmdGlobalName) ||
          equalsIgnoringCase(c->localName(), cmdLocalName)) {
        return Acad::eDuplicateKey;
      }
    }
  } else {
    // A new group goes on top of the stack.
    groups_.insert(groups_.begin(), Group{cmdGroupName, {}});
    group = &groups_.front();
  }
  auto record = std::make_shared<CommandRecord>(group->name, cmdGlobalName, cmdLocalName,
                                                commandFlags, FunctionAddr, UIContext, fcode,
                                                hResourceHandle);
  group->commands.push_back(record);
  if (cmdPtrRet != nullptr) *cmdPtrRet = record.get();
  return Acad::eOk;
}

AcEdCommandIterator* CommandStack::iterator() { return new CommandIterator(*this); }

std::shared_ptr<CommandRecord> CommandStack::find(const char* name, bool global,
                                                  bool skipUndefed) const {
  if (name == nullptr) return nullptr;
  for (const Group& g : groups_) {
    for (const auto& c : g.commands) {
      if (skipUndefed && c->isUndefined()) continue;
      if (equalsIgnoringCase(global ? c->globalName() : c->localName(), name)) return c;
    }
  }
  return nullptr;
}

AcEdCommand* CommandStack::lookupGlobalCmd(const char* cmdName) {
  return find(cmdName, true, false).get();
}

AcEdCommand* CommandStack::lookupLocalCmd(const char* cmdName) {
  return find(cmdName, false, false).get();
}

// Every group here belongs to the whole session (there are no document-specific groups), so
// allGroups does not narrow the search.
AcEdCommand* CommandStack::lookupCmd(const char* cmdName, bool globalFlag, bool /*allGroups*/,
                                     bool skipUndefed) {
  return find(cmdName, globalFlag, skipUndefed).get();
}

Acad::ErrorStatus CommandStack::popGroupToTop(const char* grpName) {
  if (grpName == nullptr) return Acad::eInvalidInput;
  Group* g = findGroup(grpName);
  if (g == nullptr) return Acad::eKeyNotFound;
  std::rotate(groups_.begin(), groups_.begin() + (g - groups_.data()), groups_.begin() + (g - groups_.data()) + 1);
  return Acad::eOk;
}

Acad::ErrorStatus CommandStack::removeCmd(const char* cmdGroupName, const char* cmdGlobalName) {
  if (cmdGroupName == nullptr || cmdGlobalName == nullptr) return Acad::eInvalidInput;
  Group* g = findGroup(cmdGroupName);
  if (g == nullptr) return Acad::eKeyNotFound;
  auto it = std::find_if(g->commands.begin(), g->commands.end(), [&](const auto& c) {
    return equalsIgnoringCase(c->globalName(), cmdGlobalName);
  });
  if (it == g->commands.end()) return Acad::eKeyNotFound;
  g->commands.erase(it);
  return Acad::eOk;
}

Acad::ErrorStatus CommandStack::removeGroup(const char* groupName) {
  if (Acad::ErrorStatus es = injectedFault("AcEdCommandStack::removeGroup"); es != Acad::eOk) {
    return es;
  }
  if (groupName == nullptr) return Acad::eInvalidInput;
  Group* g = findGroup(groupName);
  if (g == nullptr) return Acad::eKeyNotFound;
  groups_.erase(groups_.begin() + (g - groups_.data()));
  return Acad::eOk;
}

}  // namespace pf
