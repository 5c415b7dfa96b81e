// The cadhost command line: options with short and long names, values given as the next
// argument or after '=' (long names), and one optional drawing argument.
#include "options.h"

#include <cstring>

#include "svg_marks.h"

namespace cadhost {
namespace {

enum class Kind { Flag, Value };

struct OptionSpec {
  const char* shortName;  // without '-', or nullptr
  const char* longName;   // without '--'
  Kind kind;
};

const OptionSpec kOptions[] = {
    {"l", "load", Kind::Value},     {"s", "script", Kind::Value}, {"c", "command", Kind::Value},
    {"o", "save", Kind::Value},     {nullptr, "svg", Kind::Value}, {nullptr, "registry", Kind::Value},
    {nullptr, "dxf-form", Kind::Value},
    {nullptr, "svg-marks", Kind::Value},
    {nullptr, "svg-colour", Kind::Value},
    {"q", "quiet", Kind::Flag},     {"h", "help", Kind::Flag},    {nullptr, "version", Kind::Flag},
};

const OptionSpec* findOption(const std::string& arg, std::string& inlineValue, bool& hasInline) {
  hasInline = false;
  if (arg.rfind("--", 0) == 0) {
    std::string name = arg.substr(2);
    auto eq = name.find('=');
    if (eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      hasInline = true;
      name.resize(eq);
    }
    for (const auto& o : kOptions)
      if (name == o.longName) return &o;
    return nullptr;
  }
  if (arg.size() >= 2 && arg[0] == '-') {
    for (const auto& o : kOptions) {
      if (o.shortName && arg.compare(1, std::string::npos, o.shortName) == 0) return &o;
      // -lzorvik.arx: the value glued to a short option.
      if (o.shortName && o.kind == Kind::Value && arg.size() > 2 && arg[1] == o.shortName[0]) {
        inlineValue = arg.substr(2);
        hasInline = true;
        return &o;
      }
    }
  }
  return nullptr;
}

void apply(const OptionSpec& o, const std::string& value, Options& out) {
  const std::string name = o.longName;
  if (name == "load") out.modules.push_back(value);
  else if (name == "script") out.script = value;
  else if (name == "command") out.commands.push_back(value);
  else if (name == "save") out.saveAs = value;
  else if (name == "svg") out.svg = value;
  else if (name == "svg-marks") out.svgMarks.push_back(value);
  else if (name == "svg-colour") out.svgColours.push_back(value);
  else if (name == "registry") out.registry = value;
  else if (name == "dxf-form") out.dxfForm = value;
  else if (name == "quiet") out.quiet = true;
  else if (name == "help") out.help = true;
  else if (name == "version") out.version = true;
}

}  // namespace

bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error) {
  bool onlyOperands = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (!onlyOperands && arg == "--") {
      onlyOperands = true;
      continue;
    }
    if (!onlyOperands && arg.size() > 1 && arg[0] == '-') {
      std::string inlineValue;
      bool hasInline = false;
      const OptionSpec* o = findOption(arg, inlineValue, hasInline);
      if (!o) {
        error = "unknown option '" + arg + "'";
        return false;
      }
      if (o->kind == Kind::Flag) {
        if (hasInline) {
          error = "option '--" + std::string(o->longName) + "' takes no value";
          return false;
        }
        apply(*o, std::string(), out);
        continue;
      }
      std::string value;
      if (hasInline) {
        value = inlineValue;
      } else if (i + 1 < argc) {
        value = argv[++i];
      } else {
        error = "option '" + arg + "' needs a value";
        return false;
      }
      if (value.empty()) {
        error = "option '" + arg + "' needs a non-empty value";
        return false;
      }
      apply(*o, value, out);
      continue;
    }
    if (!out.drawing.empty()) {
      error = "more than one drawing given ('" + out.drawing + "' and '" + arg + "')";
      return false;
    }
    out.drawing = arg;
  }
  if (!out.dxfForm.empty() && out.dxfForm != "ascii" && out.dxfForm != "binary") {
    error = "--dxf-form takes ascii or binary, not '" + out.dxfForm + "'";
    return false;
  }
  for (const std::string& c : out.svgColours) {
    SvgMarks probe;
    if (!setLabelColour(probe, c)) {
      error = "--svg-colour takes LABEL=COLOUR with a colour such as #d7263d or red, not '" + c + "'";
      return false;
    }
  }
  if (!out.script.empty() && !out.commands.empty()) {
    error = "give either --script or --command, not both";
    return false;
  }
  return true;
}

std::string usageText(const char* programName) {
  std::string p = programName ? programName : "cadhost";
  return "Usage: " + p + " [DRAWING.dxf] [options]\n"
         "A headless CAD host: opens a DXF drawing, loads plug-in modules, runs commands from a\n"
         "script, from -c or from an interactive Command: prompt, and saves the result.\n"
         "\n"
         "Options:\n"
         "  -l, --load MODULE      load a module file (repeatable); ARX Load inside a script does the same\n"
         "  -s, --script FILE      run a script of inputs, one per line, then exit (- reads standard input)\n"
         "  -c, --command TEXT     run the inputs in TEXT, separated by ';' (e.g. -c \"ZORVIK;Update\")\n"
         "  -o, --save FILE        save the drawing as DXF when the run ends (written completely, then renamed)\n"
         "      --svg FILE         render model space to SVG when the run ends\n"
         "      --svg-marks FILE   colour the entities a CSV file lists (Handle, Status columns) in the SVG\n"
         "      --svg-colour LABEL=COLOUR  the colour of one label of the marks (#rrggbb or a name)\n"
         "      --registry FILE    the user's registry hive, a .reg text file (default ~/.cadhost/user.reg)\n"
         "      --dxf-form FORM    save drawings as ascii or binary DXF (default: the form the drawing was\n"
         "                         read in; a new drawing ASCII)\n"
         "  -q, --quiet            print only what commands print, not the prompts and echoed input\n"
         "  -h, --help             show this help and exit\n"
         "      --version          show the version and exit\n"
         "\n"
         "Without -s or -c, an interactive Command: prompt is shown when standard input is a terminal;\n"
         "otherwise standard input is read as a script.\n"
         "\n"
         "Example: update every area tag of a plan and save it:\n"
         "  " + p + " plan.dxf -l zorvik.arx -c \"ZORVIK;Update\" -o plan-updated.dxf\n"
         "\n"
         "Exit status: 0 when the run ended normally, 1 for a drawing or script that cannot be read,\n"
         "2 for bad usage.\n";
}

}  // namespace cadhost
