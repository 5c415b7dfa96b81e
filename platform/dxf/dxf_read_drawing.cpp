// dxf_read_drawing.cpp - AcDbDatabase::dxfIn: reads a DXF drawing (ASCII, or binary through its ASCII
// form) into an empty database.
//
// One pass: the structural walk (dxf_structure) checks every group as it reads the file and hands
// each record to the loader (dxf_loader), which creates, fills and links its object at once. No
// per-record index is kept and the file is tokenised once, in a thread of its own for a large
// file (dxf_tag_stream).
//
// A failure answers what checking the whole file before creating anything would answer, and
// leaves the database empty:
// - the walk refuses a malformed file at its first fault;
// - when the loader fails (a record that cannot be created, a duplicate handle, an old version),
//   the objects made so far are removed and the whole file is checked: a malformed part anywhere
//   comes first, then the smallest duplicate handle (with the lines of both records), then the
//   version, and only then the loader's own reason;
// - when a modelled section comes too late (ENTITIES before TABLES, ...), the objects are removed,
//   the whole file is checked, and the sections are walked again in the order the loader needs;
//   so too when the loader failed before such a section came.
//
// Drawings of R12 to R14 are first rewritten as R2000 drawings in memory (dxf_legacy); the
// rewrite itself reports faults at the lines of the file, and the lines of what the reader then
// finds (and logs) are turned back into those of the file.
#include <fstream>
#include <memory>
#include <new>
#include <system_error>

#include "dxf/dxf_binary.h"
#include "dxf/dxf_file.h"
#include "dxf/dxf_legacy.h"
#include "dxf/dxf_loader.h"
#include "dxf/dxf_state.h"
#include "dxf/dxf_structure.h"
#include "dxf/dxf_tag_stream.h"
#include "db/db_internal.h"
#include "db/db_services.h"
#include "pf/dxf.h"
#include "pf/faults.h"

namespace pf {
namespace dxf {

namespace {

void releasePages(void* ctx, std::size_t offset) { static_cast<InputFile*>(ctx)->release(offset); }

// Room in the database for about as many objects as the file holds records: drawings like our
// floor plans take about 155 bytes a record; a quarter more leaves room for denser files and the
// objects the reader adds.
std::size_t estimatedObjects(std::size_t fileBytes) {
  const std::size_t records = fileBytes / 155;
  return records + records / 4;
}

// A loader failure in a drawing without $ACADVER: records without subclass markers are R12
// style, so say what is expected.
DxfError withVersionHint(const DxfError& e, const DrawingParts& parts) {
  if (!parts.acadVer.empty()) return e;
  return DxfError(e.file(), e.line(),
                  e.reason() + " (the drawing names no $ACADVER; drawings of R12 (AC1009) and later can be read)");
}

// A large drawing is tokenised in a thread of its own while this one creates the objects; the
// stream is joined before anything else reads the file (the failure paths below read it again
// from the start on this thread alone).
std::unique_ptr<DrawingState> loadInOnePass(AcDbDatabase* db, std::string_view data, ReleaseBehind release,
                                            const std::string& file, std::ostream* log) {
  TagReader reader(data, file);
  DrawingParts parts;
  DrawingLoader loader(db, file, parts, log);
  const StreamSettings settings = streamSettings();
  std::unique_ptr<TagStream> stream;
  if (data.size() >= settings.minFileBytes) {
    try {
      stream.reset(new TagStream(reader, settings));
    } catch (const std::system_error&) {
      // No thread to be had: the reader runs on this one.
    }
  }
  if (stream) {
    scanDrawing(*stream, loader, parts, release);
    stream.reset();
  } else {
    scanDrawing(reader, loader, parts, release);
  }
  return loader.finish();
}

// Sections out of the usual order, in a file checked whole (`parts`): each modelled section is
// walked again from where the check found it, in the order the loader needs.
std::unique_ptr<DrawingState> loadSectionBySection(AcDbDatabase* db, std::string_view data, const std::string& file,
                                                   DrawingParts& parts, std::ostream* log) {
  TagReader reader(data, file);
  DrawingLoader loader(db, file, parts, log);
  try {
    for (const char* name : {"TABLES", "BLOCKS", "ENTITIES", "OBJECTS"})
      for (const SectionPlace& s : parts.sections)
        if (s.name == name) scanSection(reader, s, loader, parts);
    return loader.finish();
  } catch (const LoadError& e) {
    throw withVersionHint(e, parts);
  }
}

}  // namespace

Acad::ErrorStatus loadDrawing(AcDbDatabase* db, const char* fileName, const char* logFileName) {
  clearFailure();
  const std::string file = fileName ? fileName : "";
  // The log gets the records kept as proxies against their class's will, and the failure.
  std::unique_ptr<std::ofstream> log;
  // An older drawing's reader writes through a stream that gives the file's own lines.
  UpgradedDrawing upgraded;
  bool isUpgraded = false;
  std::unique_ptr<std::ostream> upgradedLog;
  auto openLog = [&] {
    upgradedLog.reset();
    if (logFileName && *logFileName) log.reset(new std::ofstream(logFileName, std::ios::out | std::ios::trunc));
  };
  auto readerLog = [&]() -> std::ostream* {
    if (!log || !isUpgraded) return log.get();
    if (!upgradedLog) upgradedLog = sourceLineLog(*log, file, upgraded);
    return upgradedLog.get();
  };
  openLog();
  auto failed = [&](Acad::ErrorStatus es, const std::string& f, unsigned line, const std::string& why) {
    setFailure(f, line, why);
    if (log && *log) *log << lastDxfFailure().text() << "\n";
    return es;
  };
  if (file.empty()) return failed(Acad::eInvalidInput, file, 0, "no drawing file named");
  if (Acad::ErrorStatus es = pf::injectedFault("AcDbDatabase::dxfIn"))
    return failed(es, file, 0, "reading failed (status " + std::to_string(es) + ")");
  if (!pf::allObjectIds(db).empty())
    return failed(Acad::eInvalidInput, file, 0,
                  "the database already holds a drawing; read drawings into a database made without the default drawing");
  bool started = false;
  try {
    InputFile in(file);
    started = true;
    // A binary drawing is read in its ASCII form: the same checks, walk and loader.
    const bool binary = isBinaryDxf(in.data());
    if (binary) in.replaceWith(decodeBinaryDxf(in.data(), file));
    std::string_view data = in.data();
    ReleaseBehind release{&releasePages, &in};
    const std::string legacy = legacyVersion(data);
    if (!legacy.empty()) {
      upgraded = upgradeLegacyDrawing(data, file, legacy, log.get());
      isUpgraded = true;
      data = upgraded.text;
      release = ReleaseBehind();  // the text read is not the file's
    }
    pf::reserveObjects(db, estimatedObjects(data.size()));
    std::unique_ptr<DrawingState> state;
    try {
      state = loadInOnePass(db, data, release, file, readerLog());
    } catch (const LoadError& e) {
      clearDrawing(db);
      DrawingParts parts;
      try {
        TagReader checker(data, file);
        parts = checkDrawing(checker, release);
      } catch (const DxfError&) {
        openLog();  // the file is refused as malformed: no record was read for the log
        throw;
      }
      // The pass stopped before it met a section out of order: in the order the loader needs,
      // the records may well load.
      if (inLoaderOrder(parts.sections)) throw withVersionHint(e, parts);
      openLog();
      state = loadSectionBySection(db, data, file, parts, readerLog());
    } catch (const DxfError&) {
      openLog();  // malformed: refused as if checked before any record was read
      throw;
    } catch (const SectionsOutOfOrder&) {
      clearDrawing(db);
      openLog();
      TagReader checker(data, file);
      DrawingParts parts = checkDrawing(checker, release);
      state = loadSectionBySection(db, data, file, parts, readerLog());
    }
    state->binary = binary;
    setDrawingState(db, std::move(state));
    pf::setFilename(db, file.c_str());
    return Acad::eOk;
  } catch (const DxfError& e) {
    if (started) clearDrawing(db);
    Acad::ErrorStatus es = Acad::eDxfReadAborted;
    if (e.kind() == DxfError::kFileNotFound) es = Acad::eFileNotFound;
    if (e.kind() == DxfError::kFileAccess) es = Acad::eFileAccessErr;
    return failed(es, e.file(), isUpgraded ? upgraded.sourceLine(e.line()) : e.line(), e.reason());
  } catch (const std::bad_alloc&) {
    if (started) clearDrawing(db);
    return failed(Acad::eOutOfMemory, file, 0, "not enough memory to read the drawing");
  }
}

}  // namespace dxf
}  // namespace pf

Acad::ErrorStatus AcDbDatabase::dxfIn(const char* dxfFilename, const char* logFilename) {
  return pf::dxf::loadDrawing(this, dxfFilename, logFilename);
}
