// cadhost: a headless CAD host. Opens a DXF drawing, loads plug-in modules, runs their commands
// and its own from a script, from -c or from an interactive Command: prompt, and saves.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "acdocman.h"
#include "builtins.h"
#include "console_text.h"
#include "drawing_shapes.h"
#include "options.h"
#include "pf/dialogs.h"
#include "pf/drawings.h"
#include "pf/input.h"
#include "pf/modules.h"
#include "pf/output.h"
#include "pf/registry.h"
#include "pf/statusbar.h"
#include "pf/sysvars.h"
#include "pf/windows.h"
#include "script_check.h"
#include "session.h"
#include "svg.h"
#include "svg_marks.h"
#include "terminal_input.h"

namespace {

const char* const kProgram = "cadhost";

// The system variable whose value a run that otherwise succeeded ends with; 1 and 2 keep
// their own meanings only by convention, so the range starts at 0 and stops below the
// statuses shells give to signals.
const char* const kExitVariable = "EXITCODE";
const int kMaxExitVariable = 125;
// A dialog answer of the script that could not be applied: the run did not do what it asked.
// Kept apart from the small statuses commands leave in EXITCODE (an audit's 3, for example).
const int kFailedDialogAnswer = 4;

int usageError(const std::string& message) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", kProgram, message.c_str(), kProgram);
  return 2;
}

int readError(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  return 1;
}

// The input the run reads: a script, the -c texts, a terminal, or standard input as a script.
// Scripts are read whole and checked before anything runs, so a script that cannot be read
// stops the run before it changes anything.
std::unique_ptr<pf::InputSource> makeInput(const cadhost::Options& opt, bool& interactive, std::string& error) {
  interactive = false;
  if (!opt.commands.empty()) {
    std::string text;
    for (const std::string& c : opt.commands) text += (text.empty() ? "" : ";") + c;
    return pf::makeCommandTextInput(text);
  }
  if (opt.script.empty() && isatty(STDIN_FILENO)) {
    interactive = true;
    return cadhost::makeInterruptibleTerminalInput();
  }
  std::string name = opt.script.empty() || opt.script == "-" ? "<stdin>" : opt.script;
  std::string text;
  if (!cadhost::readScript(opt.script.empty() ? "-" : opt.script, text, error)) return nullptr;
  static std::istringstream script;  // lives as long as the run
  script.str(text);
  return pf::makeScriptInput(script, name);
}

// Dialog answers come from the script's "@" lines, or from the terminal.
void installDialogDriver(bool interactive) {
  if (interactive) {
    const cadhost::ConsoleEncoding& console = cadhost::consoleEncoding();
    pf::setDialogDriver(pf::makeTerminalDialogDriver(
        std::cin, std::cout, [&console](const std::string& t) { return console.fromHost(t); },
        [&console](const std::string& t) { return console.toHost(t); }));
    return;
  }
  pf::setDialogDriver(pf::makeScriptedDialogDriver([](std::string& line) {
    pf::InputSource* in = pf::inputSource();
    if (!in) return false;
    const pf::Input& next = in->peek();
    if (next.kind != pf::Input::kText) return false;
    const auto first = next.text.find_first_not_of(" \t");
    if (first == std::string::npos || next.text[first] != '@') return false;
    line = in->read("").text;
    return true;
  }, true, [] { return pf::inputSource() ? pf::inputSource()->where() : std::string(); }));
}

}  // namespace

int main(int argc, char** argv) {
  cadhost::Options opt;
  std::string error;
  if (!cadhost::parseOptions(argc, argv, opt, error)) return usageError(error);
  if (opt.help) {
    std::fputs(cadhost::usageText(kProgram).c_str(), stdout);
    return 0;
  }
  if (opt.version) {
    std::printf("%s 1.0.0\n", kProgram);
    return 0;
  }

  bool interactive = false;
  std::unique_ptr<pf::InputSource> input = makeInput(opt, interactive, error);
  if (!input) return readError(error);

  // Where settings live.
  pf::setRegistryReporter([](const std::string& message) { std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str()); });
  // A damaged hive is reported (with its line) by the reporter and left as it is; the run goes
  // on with the settings in memory.
  pf::setRegistryHivePath(opt.registry.empty() ? pf::defaultRegistryHivePath() : opt.registry);

  // Output: the transcript on standard output, message boxes in it as "[caption] text", the
  // progress meter as a bar on standard error when that is a terminal.
  pf::setOutputSink(cadhost::consoleOutputSink());  // in the locale's encoding
  pf::setQuietPrompts(opt.quiet);
  pf::setUiOutput([](const std::string& text) { pf::writeOutput("\n" + text); });
  pf::TerminalProgressBar progressBar(stderr);
  if (isatty(STDERR_FILENO)) pf::setStatusBarListener(&progressBar);

  // The drawing's document is the current one from the start, so that modules find a document
  // and a working database while they initialise.
  cadhost::Session session;
  session.document = pf::createDrawing(opt.drawing);
  session.db = session.document->database();
  session.drawingPath = opt.drawing;
  session.dxfForm = opt.dxfForm;
  pf::setInputSource(cadhost::withConsoleEncoding(std::move(input)));
  installDialogDriver(interactive);
  pf::setEntityPicker([&session](const double point[3], AcDbObjectId& picked) {
    return cadhost::pickEntity(cadhost::modelSpaceShapes(session.db), cadhost::Pt{point[0], point[1]}, picked);
  });
  cadhost::registerBuiltinCommands(session);
  // Any command may leave the run's exit status in EXITCODE (docs/cadhost.md).
  pf::defineIntegerVariable(kExitVariable, 0, 0, kMaxExitVariable);

  // Modules come before the drawing is read, so that the objects of their classes in it are
  // read as what they are (read without their class, they would stay proxies until the drawing
  // is opened again). A module or a drawing that cannot be read ends the run, nothing written.
  int status = 0;
  for (const std::string& module : opt.modules) {
    if (!pf::loadModule(module, false)) {
      status = readError("cannot load the module '" + module + "': " + pf::lastModuleError());
      break;
    }
  }
  if (status == 0 && !pf::openDrawing(session.document, error)) status = readError(error);
  if (status == 0) {
    cadhost::runCommandLine(session);
    // Dialog answers that could not be applied cancelled their dialogs: the run did not do what
    // the script asked.
    for (const std::string& failed : pf::failedDialogActions())
      std::fprintf(stderr, "%s: %s; the dialog was cancelled\n", kProgram, failed.c_str());
    if (!pf::failedDialogActions().empty()) status = kFailedDialogAnswer;
    if (!opt.saveAs.empty() && !cadhost::saveDrawing(session, opt.saveAs)) {
      pf::finishOutputLine();
      status = 1;
    }
    if (!opt.svg.empty()) {
      std::string svgError;
      cadhost::SvgMarks marks;
      for (const std::string& colour : opt.svgColours) cadhost::setLabelColour(marks, colour);  // checked as parsed
      bool marksRead = true;
      for (const std::string& file : opt.svgMarks) marksRead = marksRead && cadhost::readSvgMarks(file, marks, svgError);
      if (!marksRead || !cadhost::writeSvg(cadhost::drawingShapesForSvg(session.db, marks), cadhost::marksLegend(marks),
                                           opt.svg, svgError)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, svgError.c_str());
        status = 1;
      }
    }
  }
  pf::finishOutputLine();
  if (status == 0) status = pf::integerVariable(kExitVariable);

  // Shut-down: the drawing closes first (its objects may belong to the modules' classes, whose
  // code must still be there when they are destroyed), then the modules are unloaded.
  pf::closeDrawing(session.document);
  session = cadhost::Session();
  pf::setDialogDriver(nullptr);
  pf::setEntityPicker(nullptr);
  pf::setInputSource(nullptr);
  pf::endSession();
  pf::finishOutputLine();
  cadhost::unregisterBuiltinCommands();
  pf::registryFlush();
  std::fflush(stdout);
  return status;
}
