// options.h - the cadhost command line.
#pragma once
#include <string>
#include <vector>

namespace cadhost {

struct Options {
  std::string drawing;               // DXF drawing to open; empty: a new drawing
  std::vector<std::string> modules;  // -l/--load, in order
  std::string script;                // -s/--script; "-" reads standard input
  std::vector<std::string> commands; // -c/--command, each split on ';' later
  std::string saveAs;                // -o/--save
  std::string svg;                   // --svg
  std::vector<std::string> svgMarks;  // --svg-marks, in order
  std::vector<std::string> svgColours;  // --svg-colour LABEL=COLOUR, in order
  std::string registry;              // --registry; empty: the default hive
  std::string dxfForm;               // --dxf-form ascii|binary; empty: as the drawing was read
  bool quiet = false;                // -q/--quiet
  bool help = false;
  bool version = false;
};

// Parses argv. On bad usage answers false with a message for standard error.
bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error);

// The text of --help.
std::string usageText(const char* programName);

}  // namespace cadhost
