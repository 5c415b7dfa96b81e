// pf/resources.h - resource scripts (.rc): their parsed form, the parser, and the loader that
// reads the script a module file carries.
//
// A module's .rc is the single source of its texts and dialogs. The build embeds the script
// and the headers it includes in the module file (cmake/EmbedResources.cmake defines the
// extern "C" symbols cadhost_resource_script, cadhost_resource_headers and
// cadhost_resource_script_name); the loader finds them with dlsym in the module named by a
// resource handle, parses the script once and keeps it.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "windef.h"

namespace pf {

// A problem in a resource script, with the file and line where it is.
struct RcError {
  std::string file;
  int line = 0;
  std::string message;
  // "file:line: error: message"
  std::string toString() const;
};

// One control of a dialog template. Coordinates are dialog units, as written.
struct RcControl {
  std::string statement;   // "CONTROL", "LTEXT", "EDITTEXT", "DEFPUSHBUTTON", ...
  int id = -1;             // -1 for controls without an id (IDC_STATIC)
  std::string text;
  std::string className;   // "Button", "Edit", "Static", "ListBox", "ComboBox", "ScrollBar", or
                           // the class a CONTROL statement names ("msctls_updown32", ...)
  DWORD style = 0;         // with the statement's default styles applied
  DWORD exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  int line = 0;            // line in the script
};

// A DIALOG or DIALOGEX template.
struct RcDialog {
  int id = 0;              // numeric id, or 0 with name set for a template named by a string
  std::string name;
  bool extended = false;   // DIALOGEX
  int x = 0, y = 0, width = 0, height = 0;
  DWORD style = 0;         // as the template compiler computes it (CAPTION adds WS_CAPTION,
                           // FONT adds DS_SETFONT)
  DWORD exStyle = 0;
  std::string caption;
  int fontSize = 0;        // 0: no FONT statement
  std::string fontName;
  int fontWeight = 0;
  bool fontItalic = false;
  std::string menu;
  std::string windowClass;
  std::vector<RcControl> controls;   // in template (tab) order
  std::string file;
  int line = 0;

  const RcControl* findControlNoOops(int controlId) const;
};

struct ResourceScript {
  std::string fileName;
  std::map<UINT, std::string> strings;          // STRINGTABLE entries, escapes decoded
  std::vector<RcDialog> dialogs;
  std::map<std::string, long> symbols;          // every #define with a numeric value

  const std::string* findStringNoOops(UINT id) const;
  const RcDialog* findDialogNoOops(UINT id) const;
};

// Answers the text of an included file by the name written in the #include, or false when
// there is no such file.
using RcIncludeResolver = std::function<bool(const std::string& name, std::string& content)>;

// Parses a script. Headers of the Windows SDK (windows.h, winres.h, afxres.h, commctrl.h, ...)
// are known to the parser and need no resolver; every other #include goes to the resolver.
// Answers false with the first error.
bool parseResourceScript(const std::string& fileName, const std::string& text,
                         const RcIncludeResolver& includes, ResourceScript& out, RcError& error);

// Parses a script file; includes are looked up beside it.
bool parseResourceFile(const std::string& path, ResourceScript& out, RcError& error);

// The parsed script carried by a module file (a dlopen handle), or null when it carries none or
// it does not parse (error then tells why). Parsed once per module.
std::shared_ptr<const ResourceScript> moduleResourcesNoOops(HINSTANCE module, RcError* error = nullptr);

// The handle resources are read from right now: the current resource handle
// (pf/resource_context.h), unless MFC code switched it with AfxSetResourceHandle since.
HINSTANCE effectiveResourceHandle();

// Finds a string or a dialog template the way MFC does: in the current resource module first,
// then in the modules of the registered extension libraries (CDynLinkLibrary), then in the host
// program. Answers the module where it was found, or null.
HINSTANCE findStringModuleNoOops(UINT id, std::string* text = nullptr);
HINSTANCE findDialogModuleNoOops(UINT id, const RcDialog** dialog = nullptr);

// The build-time checker: "rccheck file.rc...": parses each script and prints every error as
// "file:line: error: ..." on standard error. Answers the process exit code (0: all good).
int rcCheckMain(int argc, char** argv);

}  // namespace pf
