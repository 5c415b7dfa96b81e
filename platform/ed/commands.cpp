// Running commands by name: lookup, editor notifications, document lock, resource handle, and
// the host's "Command:" loop.
#include "pf/commands.h"

#include <cctype>
#include <exception>
#include <vector>

#include "acdocman.h"
#include "aced.h"
#include "ed/command_stack.h"
#include "ed/command_documents.h"
#include "ed/keywords.h"
#include "ed/prompt_state.h"
#include "pf/editor.h"
#include "pf/input.h"
#include "pf/output.h"

namespace pf {
namespace {

std::vector<std::string>& running() {
  static std::vector<std::string> names;
  return names;
}

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

AcAp::DocLockMode lockFor(Adesk::Int32 flags) {
  if (flags & ACRX_CMD_SESSION) return AcAp::kNone;
  if (flags & ACRX_CMD_DOCEXCLUSIVELOCK) return AcAp::kXWrite;
  if (flags & ACRX_CMD_DOCREADLOCK) return AcAp::kRead;
  return AcAp::kWrite;
}

// Runs the command's function; answers how it ended.
CommandOutcome invoke(const CommandRecord& cmd) {
  takeCancelledPrompt();  // a cancel from before the command is not this command's
  try {
    cmd.functionAddr()();
  } catch (const std::exception& e) {
    writeOutput(std::string("\nCommand ") + cmd.globalName() + " failed: " + e.what() + "\n");
    takeCancelledPrompt();
    return CommandOutcome::kFailed;
  } catch (...) {
    writeOutput(std::string("\nCommand ") + cmd.globalName() + " failed.\n");
    takeCancelledPrompt();
    return CommandOutcome::kFailed;
  }
  return takeCancelledPrompt() ? CommandOutcome::kCancelled : CommandOutcome::kEnded;
}

int resourceDepth() {
  const CommandDocumentSink* docs = commandDocumentSink();
  return docs ? docs->resourceDepth() : 0;
}

}  // namespace

namespace {

// Looks a typed name up: its prefixes "_" (the global name), "." (the built-in command), "-"
// (the command-line form) and "'" (transparent use) may come in any order. "-NAME" runs a
// command registered under that name, and otherwise NAME itself, which then is the
// command-line form (commands of this host have no dialog form of their own).
std::shared_ptr<CommandRecord> lookUp(std::string_view name) {
  bool global = false;
  bool dash = false;
  while (!name.empty() && (name.front() == '_' || name.front() == '.' || name.front() == '\'' ||
                           name.front() == '-')) {
    global = global || name.front() == '_';
    dash = dash || name.front() == '-';
    name.remove_prefix(1);
  }
  if (name.empty()) return nullptr;
  CommandStack& stack = commandStack();
  auto find = [&](const std::string& key) {
    std::shared_ptr<CommandRecord> cmd = stack.find(key.c_str(), global, true);
    if (!cmd && !global) cmd = stack.find(key.c_str(), true, true);
    return cmd;
  };
  std::shared_ptr<CommandRecord> cmd;
  if (dash) cmd = find("-" + std::string(name));
  if (!cmd) cmd = find(std::string(name));
  return cmd;
}

}  // namespace

bool commandExists(const std::string& typedName) { return lookUp(trimBlanks(typedName)) != nullptr; }

CommandRun runCommand(const std::string& typedName) {
  CommandRun run;
  std::shared_ptr<CommandRecord> cmd = lookUp(trimBlanks(typedName));
  run.resourceDepthBefore = resourceDepth();
  if (!cmd) {
    std::string shown = upper(std::string(trimBlanks(typedName)));
    AcDbVoidPtrArray args;
    notifyEditorReactors([&](AcEditorReactor& r) { r.unknownCommand(shown.c_str(), &args); });
    writeOutput("\nUnknown command \"" + shown + "\".\n");
    run.resourceDepthAfter = run.resourceDepthBefore;
    return run;
  }
  run.globalName = cmd->globalName();
  const char* g = run.globalName.c_str();

  const CommandDocumentSink* sink = commandDocumentSink();
  AcApDocument* doc = sink ? sink->currentDocument() : nullptr;
  AcAp::DocLockMode mode = lockFor(cmd->commandFlags());
  bool locked = false;
  if (doc != nullptr && mode != AcAp::kNone) {
    if (sink->lockDocument(doc, mode, g) != Acad::eOk) {
      writeOutput("\nCommand " + run.globalName + " cannot run: the drawing is locked.\n");
      run.outcome = CommandOutcome::kFailed;
      run.resourceDepthAfter = run.resourceDepthBefore;
      return run;
    }
    locked = true;
  }

  notifyEditorReactors([&](AcEditorReactor& r) { r.commandWillStart(g); });
  running().push_back(run.globalName);
  if (sink) sink->enterCommand();
  bool pushed = sink != nullptr && cmd->resourceHandle() != nullptr;
  if (pushed) sink->pushResourceHandle(cmd->resourceHandle());

  run.outcome = invoke(*cmd);

  if (pushed) sink->popResourceHandle();
  if (sink) sink->leaveCommand();
  running().pop_back();
  if (locked) sink->unlockDocument(doc);
  run.resourceDepthAfter = resourceDepth();

  switch (run.outcome) {
    case CommandOutcome::kEnded:
      notifyEditorReactors([&](AcEditorReactor& r) { r.commandEnded(g); });
      break;
    case CommandOutcome::kCancelled:
      notifyEditorReactors([&](AcEditorReactor& r) { r.commandCancelled(g); });
      break;
    default:
      notifyEditorReactors([&](AcEditorReactor& r) { r.commandFailed(g); });
      break;
  }
  if (run.resourceDepthAfter != run.resourceDepthBefore) {
    writeOutput("\nWarning: " + run.globalName +
                " left the resource-handle stack unbalanced (depth " +
                std::to_string(run.resourceDepthBefore) + " before, " +
                std::to_string(run.resourceDepthAfter) + " after).\n");
  }
  return run;
}

std::string activeCommand() { return running().empty() ? std::string() : running().back(); }

CommandLoopSummary runCommandLoop() {
  CommandLoopSummary summary;
  std::string last;
  for (;;) {
    InputSource* src = inputSource();
    if (src == nullptr) break;
    // A script that has ended stops the loop without a last, cancelled prompt in the transcript.
    if (!src->interactive() && src->peek().kind == Input::kEnd) break;
    Input in = readInput("Command: ");
    if (in.kind == Input::kEnd) break;
    if (in.kind == Input::kCancel) continue;
    std::string name(trimBlanks(in.text));
    if (name.empty()) {
      if (last.empty()) continue;
      name = last;
    }
    CommandRun run = runCommand(name);
    switch (run.outcome) {
      case CommandOutcome::kUnknown: ++summary.unknown; continue;
      case CommandOutcome::kCancelled: ++summary.cancelled; break;
      case CommandOutcome::kFailed: ++summary.failed; break;
      case CommandOutcome::kEnded: break;
    }
    ++summary.commands;
    last = name;
  }
  return summary;
}

}  // namespace pf
