// targets.cpp - the fuzzed entry points (see targets.h). Kept apart from the harness mains so
// that the regression test replays inputs through exactly the same code.
#include "targets.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "dbmain.h"
#include "pf/dbdebug.h"
#include "pf/input.h"
#include "pf/resources.h"
#include "winrt/reg_model.h"
#if __has_include("dxf/dxf_reader.h")
#include "dxf/dxf_reader.h"
#include "pf/dxf.h"
#define FUZZ_HAVE_DXF 1
#endif

namespace fuzzing {
namespace {

[[noreturn]] void broken(const char* what, const std::string& detail = std::string()) {
  std::fprintf(stderr, "fuzz property broken: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
  std::fflush(stderr);
  std::abort();
}

std::string bytes(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

#ifdef FUZZ_HAVE_DXF
void removeScratch();

// A private directory for the drawing files of this process (in memory where possible), removed
// when the process ends normally.
const std::string& scratchDir() {
  // Never destroyed: removeScratch runs at exit, after the destructors of function statics
  // constructed later than its registration.
  static const std::string* const dir = [] {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    std::string pattern = std::string(base) + "/zorvik-fuzz-XXXXXX";
    if (!mkdtemp(&pattern[0])) broken("cannot make a scratch directory", pattern);
    std::atexit(removeScratch);
    return new std::string(pattern);
  }();
  return *dir;
}

void removeScratch() {
  const std::string& dir = scratchDir();
  std::remove((dir + "/in.dxf").c_str());
  std::remove((dir + "/out.dxf").c_str());
  rmdir(dir.c_str());
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) broken("cannot write a scratch file", path);
}

void checkNothingOpen(AcDbDatabase* db, const char* when) {
  if (!pf::openObjects(db).empty()) broken(when, pf::openObjectsReport(db));
}
#endif

}  // namespace

void dxfInput(const std::uint8_t* data, std::size_t size) {
#ifdef FUZZ_HAVE_DXF
  const std::string text = bytes(data, size);
  // The tag reader alone: every group is either read or refused with a DxfError.
  try {
    pf::dxf::TagReader reader(text, "fuzz.dxf", false);
    pf::dxf::Tag tag;
    std::size_t groups = 0;
    while (reader.next(tag))
      if (++groups > size) broken("the tag reader answers more groups than the input has bytes");
  } catch (const pf::dxf::DxfError&) {
  }

  // The loader: a drawing either loads or is refused with a reason; a loaded drawing saves, and
  // the saved file loads again (saved drawings are self-consistent).
  const std::string in = scratchDir() + "/in.dxf";
  const std::string out = scratchDir() + "/out.dxf";
  writeFile(in, text);
  std::unique_ptr<AcDbDatabase> db(new AcDbDatabase(false, true));
  if (db->dxfIn(in.c_str()) != Acad::eOk) {
    if (pf::lastDxfFailure().reason.empty()) broken("dxfIn failed without a reason");
    checkNothingOpen(db.get(), "objects left open after a refused drawing");
    return;
  }
  checkNothingOpen(db.get(), "objects left open after loading");
  std::remove(out.c_str());
  if (db->dxfOut(out.c_str()) != Acad::eOk) {
    // Saving what was loaded may be refused only with a reason, never half-written.
    if (pf::lastDxfFailure().reason.empty()) broken("dxfOut failed without a reason");
    if (access(out.c_str(), F_OK) == 0) broken("a refused save left a file behind");
    return;
  }
  checkNothingOpen(db.get(), "objects left open after saving");
  db.reset();
  std::unique_ptr<AcDbDatabase> again(new AcDbDatabase(false, true));
  if (again->dxfIn(out.c_str()) != Acad::eOk) broken("a saved drawing does not load again", pf::lastDxfFailure().text());
  checkNothingOpen(again.get(), "objects left open after reloading");
#else
  (void)data;
  (void)size;
#endif
}

void rcInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = bytes(data, size);
  // Includes other than the SDK's resolve to a small header, so that #include paths are reached.
  auto includes = [](const std::string& name, std::string& content) {
    if (name != "resource.h") return false;
    content = "#define IDD_X 100\n#define IDC_Y 1001\n#define IDS_Z 7\n";
    return true;
  };
  pf::ResourceScript script;
  pf::RcError error;
  if (!pf::parseResourceScript("fuzz.rc", text, includes, script, error)) {
    if (error.message.empty()) broken("a refused resource script without a message");
    if (error.line < 0) broken("a resource script error with a negative line");
    return;
  }
  for (const pf::RcDialog& d : script.dialogs)
    for (const pf::RcControl& c : d.controls)
      if (c.line <= 0) broken("a control without its line");
}

void regInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = bytes(data, size);
  pf::reg::Key root;
  pf::reg::ParseError error;
  if (!pf::reg::parseHive(text, root, error)) return;
  const std::string formatted = pf::reg::formatHive(root);
  pf::reg::Key again;
  pf::reg::ParseError error2;
  if (!pf::reg::parseHive(formatted, again, error2)) broken("a formatted hive does not parse again");
  if (pf::reg::formatHive(again) != formatted) broken("a hive does not format to the same text twice");
}

void scriptInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(bytes(data, size));
  std::unique_ptr<pf::InputSource> source = pf::makeScriptInput(in, "fuzz.scr");
  // Each input consumes at least one byte (the space or line end that ends it), so more reads
  // than bytes means a hang.
  for (std::size_t reads = 0; reads <= size + 1; ++reads) {
    const pf::Input::Kind kind = source->peek().kind;
    const pf::Input got = source->read("");
    if (got.kind != kind) broken("read answers another kind of input than peek");
    if (got.kind == pf::Input::kEnd) return;
  }
  broken("the script source never reaches its end");
}

}  // namespace fuzzing
