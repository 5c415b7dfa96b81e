// job_bench.cpp - in-process measurements of the module's commands on a loaded drawing, for
// bench/job/run_job_bench.sh (a benchmark, not a test).
//
//   job_bench update DRAWING MODULE REGISTRY     load, then time ZORVIK Update alone
//   job_bench copy DRAWING MODULE REGISTRY N     load, then time one COPY of N linked polylines
//   job_bench job DRAWING MODULE REGISTRY OUT     the whole batch job (module, load, Update, save)
//                                                 with the module loaded before the drawing
//
// The run is set up as cadhost sets it up (document, built-in commands, module, registry), but
// only the command itself is timed. Printed on one line as key=value pairs: load time, heap in
// use after loading and the number of database objects (so bytes per object), the command's
// time, and the opens/closes by id it made (pf/dbdebug.h counters).
#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "builtins.h"
#include "dbapserv.h"
#include "dbdict.h"
#include "dbmain.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "pf/dbdebug.h"
#include "pf/documents.h"
#include "pf/dxf.h"
#include "pf/input.h"
#include "pf/modules.h"
#include "pf/output.h"
#include "pf/registry.h"
#include "session.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

size_t heapInUse() {
  struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

long maxRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Handles of the model-space polylines that carry a link (extension dictionary entry "ZORVIK").
std::vector<std::string> linkedPolylines(AcDbDatabase* db, size_t limit) {
  std::vector<std::string> out;
  AcDbBlockTable* table = nullptr;
  if (db->getSymbolTable(table, AcDb::kForRead) != Acad::eOk) return out;
  AcDbBlockTableRecord* space = nullptr;
  if (table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead) == Acad::eOk) {
    AcDbBlockTableRecordIterator* it = nullptr;
    if (space->newIterator(it) == Acad::eOk) {
      for (it->start(); !it->done() && out.size() < limit; it->step()) {
        AcDbEntity* ent = nullptr;
        if (it->getEntity(ent, AcDb::kForRead) != Acad::eOk) continue;
        AcDbObjectId dictId = ent->extensionDictionary();
        if (AcDbPolyline::cast(ent) && !dictId.isNull()) {
          AcDbDictionary* dict = nullptr;
          if (acdbOpenObject(dict, dictId, AcDb::kForRead) == Acad::eOk) {
            if (dict->has("ZORVIK")) {
              char buf[40];
              ent->objectId().handle().getIntoAsciiBuffer(buf);
              out.push_back(buf);
            }
            dict->close();
          }
        }
        ent->close();
      }
      delete it;
    }
    space->close();
  }
  table->close();
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5 || (std::string(argv[1]) != "update" && argc < 6)) {
    std::fprintf(stderr, "usage: job_bench update|copy|job DRAWING MODULE REGISTRY [N|OUT]\n");
    return 2;
  }
  const std::string mode = argv[1], drawing = argv[2], module = argv[3], registry = argv[4];
  std::string transcript;
  pf::setOutputSink([&](std::string_view text) { transcript.append(text); });

  // The module first: its link class must be registered while the drawing is read, or the link
  // objects are read as proxies (cadhost reads the drawing before it loads -l modules).
  pf::setRegistryHivePath(registry);
  pf::setQuietPrompts(true);
  cadhost::Session session;
  cadhost::registerBuiltinCommands(session);
  if (!pf::loadModule(module, false)) {
    std::fprintf(stderr, "job_bench: cannot load %s: %s\n", module.c_str(), pf::lastModuleError().c_str());
    return 1;
  }

  const size_t heap0 = heapInUse();
  auto t0 = std::chrono::steady_clock::now();
  AcDbDatabase* db = new AcDbDatabase(false, true);
  if (db->dxfIn(drawing.c_str()) != Acad::eOk) {
    std::fprintf(stderr, "job_bench: %s\n", pf::lastDxfFailure().text().c_str());
    return 1;
  }
  const double loadS = seconds(t0);
  const size_t heapLoaded = heapInUse() - heap0;
  const int objects = pf::objectCount(db);

  session.db = db;
  session.drawingPath = drawing;
  acdbHostApplicationServices()->setWorkingDatabase(db);
  AcApDocument* doc = pf::openDocument(db, drawing);
  session.document = doc;
  pf::sendAppMessage(AcRx::kLoadDwgMsg);

  std::string input;
  size_t items = 0;
  if (mode == "update" || mode == "job") {
    input = "ZORVIK;Update";
  } else {
    std::vector<std::string> handles = linkedPolylines(db, std::strtoul(argv[5], nullptr, 10));
    items = handles.size();
    input = "COPY";
    for (const std::string& h : handles) input += ";#" + h;
    input += ";;0,0;0,100000";
  }
  pf::setInputSource(pf::makeCommandTextInput(input));
  transcript.clear();
  pf::resetOpenCloseCounts();
  auto t1 = std::chrono::steady_clock::now();
  cadhost::runCommandLine(session);
  const double cmdS = seconds(t1);
  const pf::OpenCloseCounts counts = pf::openCloseCounts();
  double saveS = 0;
  if (mode == "job") {
    auto t2 = std::chrono::steady_clock::now();
    if (db->dxfOut(argv[5]) != Acad::eOk) {
      std::fprintf(stderr, "job_bench: %s\n", pf::lastDxfFailure().text().c_str());
      return 1;
    }
    saveS = seconds(t2);
  }

  long updated = -1;
  const size_t at = transcript.find("Number of updated entities:");
  if (at != std::string::npos) updated = std::strtol(transcript.c_str() + at + 27, nullptr, 10);
  std::printf("load_s=%.3f heap_bytes=%zu objects=%d bytes_per_object=%.0f cmd_s=%.4f save_s=%.3f items=%zu updated=%ld "
              "entity_opens=%llu entity_closes=%llu object_opens=%llu object_closes=%llu maxrss_kb=%ld\n",
              loadS, heapLoaded, objects, objects ? double(heapLoaded) / objects : 0.0, cmdS, saveS, items, updated,
              counts.entityOpens, counts.entityCloses, counts.objectOpens, counts.objectCloses, maxRssKb());
  if (std::getenv("JOB_BENCH_TRANSCRIPT")) std::fputs(transcript.c_str(), stderr);

  std::fflush(stdout);
  // The drawing goes before the module: its link objects run the module's code when destroyed.
  pf::sendAppMessage(AcRx::kUnloadDwgMsg);
  pf::setInputSource(nullptr);
  pf::closeDocument(doc);
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  delete db;
  pf::sendAppMessage(AcRx::kQuitMsg);
  pf::unloadAllModules();
  cadhost::unregisterBuiltinCommands();
  return 0;
}
