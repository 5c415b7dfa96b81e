// Drawings of the releases before R2000: the R12, R13 and R14 drawings of ../shared/interop/
// older-dxf and R12 plans ezdxf writes open, save as R2000 drawings ezdxf's audit accepts and keep
// every model-space entity (2D polylines as lightweight ones, with their bulges, widths and
// elevation); faults are reported at the lines of the file itself; R10 stays refused.
#include <gtest/gtest.h>
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "acutmem.h"
#include "dbents.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "dxf_test_util.h"
#include "pf/dxf.h"

using namespace dxftest;

namespace {

std::string run(const std::string& cmd) {
  std::string out;
  FILE* p = popen((cmd + " 2>&1").c_str(), "r");
  if (!p) return out;
  char buf[4096];
  while (fgets(buf, sizeof buf, p)) out += buf;
  pclose(p);
  return out;
}

const std::string kPython = "/usr/bin/python3";

// ezdxf's view of an original and the drawing saved from it (tests/interop/ezdxf_older_check.py).
std::multimap<std::string, std::string> compare(const std::string& original, const std::string& saved) {
  std::string out = run(kPython + " " + ZORVIK_SOURCE_DIR + "/tests/interop/ezdxf_older_check.py '" + original + "' '" +
                        saved + "'");
  std::multimap<std::string, std::string> facts;
  std::size_t at = 0;
  while (at < out.size()) {
    std::size_t nl = out.find('\n', at);
    std::string line = out.substr(at, nl == std::string::npos ? std::string::npos : nl - at);
    at = nl == std::string::npos ? out.size() : nl + 1;
    std::size_t sp = line.find(' ');
    facts.emplace(line.substr(0, sp), sp == std::string::npos ? "" : line.substr(sp + 1));
  }
  return facts;
}

std::string allOf(const std::multimap<std::string, std::string>& f, const std::string& key) {
  std::string s;
  auto range = f.equal_range(key);
  for (auto it = range.first; it != range.second; ++it) s += it->second + "\n";
  return s;
}

// Loads, saves and checks one older drawing; answers ezdxf's facts about it.
std::multimap<std::string, std::string> openAndSave(const std::string& in, const std::string& out) {
  DbScope db;
  EXPECT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  EXPECT_EQ(pf::dxfVersion(db.db), "AC1015");
  EXPECT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  auto facts = compare(in, out);
  EXPECT_EQ(allOf(facts, "read_error"), "") << in;
  EXPECT_EQ(allOf(facts, "version"), "AC1015\n") << in;
  EXPECT_EQ(allOf(facts, "audit_errors"), "0\n") << in << "\n" << allOf(facts, "audit_error");
  EXPECT_FALSE(allOf(facts, "expected").empty()) << in;
  EXPECT_EQ(allOf(facts, "saved"), allOf(facts, "expected")) << in;
  std::string blocks = allOf(facts, "blocks");
  std::size_t sp = blocks.find(' ');
  EXPECT_EQ(blocks.substr(0, sp) + "\n", blocks.substr(sp + 1)) << in << ": blocks defined / kept";
  // Saved again as read: the R2000 drawing loads as it is.
  DbScope again;
  EXPECT_EQ(again->dxfIn(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  return facts;
}

bool generate(const std::string& path, const std::string& options = "") {
  std::string out = run(kPython + " " + ZORVIK_SOURCE_DIR + "/tests/interop/gen_r12_plan.py '" + path + "' " + options);
  if (!fileExists(path)) ADD_FAILURE() << "ezdxf could not write " << path << ": " << out;
  return fileExists(path);
}

struct ModelSpace {
  std::vector<AcDbPolyline*> polylines;
  std::map<std::string, int> attributes;  // tag -> count
  int inserts = 0;
};

// The lightweight polylines of model space (opened for read; closed by the caller) and the
// attributes of its block references.
ModelSpace modelSpace(AcDbDatabase* db) {
  ModelSpace ms;
  AcDbBlockTable* bt = nullptr;
  if (db->getBlockTable(bt, AcDb::kForRead) != Acad::eOk) return ms;
  AcDbBlockTableRecord* space = nullptr;
  bt->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
  bt->close();
  if (!space) return ms;
  AcDbBlockTableRecordIterator* it = nullptr;
  space->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbEntity* e = nullptr;
    if (it->getEntity(e, AcDb::kForRead) != Acad::eOk) continue;
    if (AcDbPolyline* pl = AcDbPolyline::cast(e)) {
      ms.polylines.push_back(pl);
      continue;
    }
    if (AcDbBlockReference* ref = AcDbBlockReference::cast(e)) {
      ++ms.inserts;
      AcDbObjectIterator* ai = ref->attributeIterator();
      for (ai->start(); !ai->done(); ai->step()) {
        AcDbObject* obj = nullptr;
        if (acdbOpenObject(obj, ai->objectId(), AcDb::kForRead) != Acad::eOk) continue;
        if (AcDbAttribute* att = AcDbAttribute::cast(obj)) {
          char* tag = att->tag();
          ++ms.attributes[tag];
          acutDelString(tag);
        }
        obj->close();
      }
      delete ai;
    }
    e->close();
  }
  delete it;
  space->close();
  return ms;
}

}  // namespace

TEST(OlderDrawings, EveryDrawingOpensSavesAsR2000AndKeepsModelSpace) {
  const std::string dir = std::string(ZORVIK_SHARED_DIR) + "/interop/older-dxf";
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n.size() > 4 && n.compare(n.size() - 4, 4, ".dxf") == 0) names.push_back(n);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  ASSERT_GE(names.size(), 4u) << dir;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    openAndSave(dir + "/" + name, tempPath("older-" + name));
  }
}

TEST(OlderDrawings, AnR12PlanGetsLightweightRoomsWithArcsWidthsAndElevation) {
  for (const char* options : {"", "--no-handles"}) {
    SCOPED_TRACE(*options ? options : "with handles");
    const std::string in = tempPath(std::string("r12-plan") + (*options ? "-nh" : "") + ".dxf");
    if (!generate(in, options)) continue;
    std::string saved = tempPath(std::string("r12-plan-saved") + (*options ? "-nh" : "") + ".dxf");
    auto facts = openAndSave(in, saved);
    EXPECT_NE(allOf(facts, "saved").find("LWPOLYLINE 3\n"), std::string::npos);

    DbScope db;
    ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    ModelSpace ms = modelSpace(db.db);
    ASSERT_EQ(ms.polylines.size(), 3u);
    for (std::size_t i = 0; i < ms.polylines.size(); ++i) {
      AcDbPolyline* pl = ms.polylines[i];
      EXPECT_EQ(pl->numVerts(), 4u);
      EXPECT_TRUE(pl->isClosed());
      EXPECT_EQ(pl->elevation(), 25.0);
      double bulge = 0, start = 0, end = 0;
      pl->getBulgeAt(1, bulge);
      EXPECT_EQ(bulge, 0.5);
      pl->getBulgeAt(0, bulge);
      EXPECT_EQ(bulge, 0.0);
      pl->getWidthsAt(2, start, end);
      EXPECT_EQ(start, i == 2 ? 10.0 : 0.0);
      EXPECT_EQ(end, i == 2 ? 20.0 : 0.0);
      AcGePoint2d p;
      pl->getPointAt(1, p);
      EXPECT_EQ(p.x, 5000.0 * i + 4000.0);
      EXPECT_EQ(p.y, 0.0);
      pl->close();
    }
    EXPECT_EQ(ms.inserts, 3);
    EXPECT_EQ(ms.attributes["NAME"], 3);
    EXPECT_EQ(ms.attributes["AREA"], 3);

    // Every record of the saved drawing has its own handle, and no two share one.
    std::map<std::string, int> handles;
    for (const Record& r : readRecords(saved))
      if (!r.handle.empty()) ++handles[r.handle];
    EXPECT_GT(handles.size(), 40u);
    for (const auto& h : handles) EXPECT_EQ(h.second, 1) << "handle " << h.first;
  }
}

TEST(OlderDrawings, ArrowBlocksOfDimensionStylesBecomePointersToTheirBlocks) {
  std::string in = tempPath("r12-arrows.dxf");
  if (!generate(in)) return;
  // Group 5 of an R12 DIMSTYLE names the arrow block: one the drawing defines, one it does not.
  Lines lines = linesOf(readFile(in));
  bool done = false;
  std::size_t missing = 0;  // the line of the group naming the missing block
  for (std::size_t i = 0; i + 12 < lines.size() && !done; ++i)
    if (lines[i] == "DIMSTYLE" && (lines[i + 2] == "Standard" || lines[i + 4] == "Standard"))
      for (std::size_t k = lines[i + 2] == "Standard" ? i + 3 : i + 5; k + 3 < lines.size() && lines[k] != "  0"; k += 2)
        if (lines[k] == "  5" && lines[k + 2] == "  6") {
          lines[k + 1] = "ROOMTAG";
          lines[k + 3] = "NOSUCHARROW";
          missing = k + 3;
          done = true;
          break;
        }
  ASSERT_TRUE(done) << "no DIMSTYLE Standard in the R12 drawing";
  in = writeFile("r12-arrows-edited.dxf", textOf(lines));
  const std::string log = tempPath("r12-arrows.log");
  DbScope db;
  ASSERT_EQ(db->dxfIn(in.c_str(), log.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  const std::string saved = tempPath("r12-arrows-saved.dxf");
  ASSERT_EQ(db->dxfOut(saved.c_str()), Acad::eOk);
  auto records = readRecords(saved);
  std::string roomtag;
  for (const Record& r : ofType(records, "BLOCK_RECORD"))
    if (r.first(2) == "ROOMTAG") roomtag = r.handle;
  auto styles = ofType(records, "DIMSTYLE");
  ASSERT_EQ(styles.size(), 1u);
  EXPECT_EQ(styles[0].first(342), roomtag);
  EXPECT_TRUE(styles[0].values(343).empty());
  EXPECT_TRUE(styles[0].values(5).empty());
  EXPECT_NE(readFile(log).find(":" + std::to_string(missing) + ": DIMSTYLE Standard: arrow block"),
            std::string::npos)
      << readFile(log);
}

TEST(OlderDrawings, FaultsAreReportedAtTheLinesOfTheFile) {
  std::string in = tempPath("r12-faults.dxf");
  if (!generate(in)) return;
  const Lines lines = linesOf(readFile(in));
  struct Case {
    const char* name;
    std::string at;    // the value line made faulty
    std::string with;  // its new text
    const char* words;
  } cases[] = {
      {"r12-bad-number.dxf", "4000.0", "40x0", "is not a number"},
      {"r12-bad-handle.dxf", "ROOMTAG", "ROOMTAG", "duplicate handle"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Lines edited = lines;
    unsigned line = 0;
    if (std::string(c.words) == "duplicate handle") {
      // The second LWPOLYLINE-to-be takes the handle of the first.
      std::vector<std::size_t> polylines;
      for (std::size_t i = 0; i + 3 < edited.size(); ++i)
        if (edited[i] == "POLYLINE" && edited[i + 1].find('5') != std::string::npos) polylines.push_back(i + 2);
      ASSERT_GE(polylines.size(), 2u);
      edited[polylines[1]] = edited[polylines[0]];
      line = static_cast<unsigned>(polylines[1]);  // its code line, 1-based
    } else {
      auto it = std::find(edited.begin(), edited.end(), c.at);
      ASSERT_NE(it, edited.end());
      *it = c.with;
      line = static_cast<unsigned>(it - edited.begin()) + 1;
    }
    const std::string path = writeFile(c.name, textOf(edited));
    DbScope db;
    EXPECT_EQ(db->dxfIn(path.c_str()), Acad::eDxfReadAborted);
    const pf::DxfFailure& f = pf::lastDxfFailure();
    EXPECT_NE(f.reason.find(c.words), std::string::npos) << f.text();
    EXPECT_EQ(f.line, line) << f.text();
  }
}

TEST(OlderDrawings, AnR12DrawingOfEntitiesAloneOpensAndR10StaysRefused) {
  // Many programs write no more than this: no header, no tables, no handles.
  const std::string bare = writeFile("r12-bare.dxf",
                                     "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nWALLS\n10\n0.0\n20\n0.0\n30\n0.0\n11\n5.0\n21\n"
                                     "0.0\n31\n0.0\n0\nPOLYLINE\n8\nROOMS\n66\n1\n70\n1\n0\nVERTEX\n8\nROOMS\n10\n0.0\n20\n"
                                     "0.0\n0\nVERTEX\n8\nROOMS\n10\n4.0\n20\n0.0\n42\n1.0\n0\nVERTEX\n8\nROOMS\n10\n4.0\n20\n"
                                     "3.0\n0\nSEQEND\n8\nROOMS\n0\nENDSEC\n0\nEOF\n");
  {
    DbScope db;
    ASSERT_EQ(db->dxfIn(bare.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    ModelSpace ms = modelSpace(db.db);
    ASSERT_EQ(ms.polylines.size(), 1u);
    double bulge = 0;
    ms.polylines[0]->getBulgeAt(1, bulge);
    EXPECT_EQ(bulge, 1.0);
    EXPECT_EQ(ms.polylines[0]->numVerts(), 3u);
    ms.polylines[0]->close();
    const std::string saved = tempPath("r12-bare-saved.dxf");
    ASSERT_EQ(db->dxfOut(saved.c_str()), Acad::eOk);
    auto facts = compare(bare, saved);
    EXPECT_EQ(allOf(facts, "audit_errors"), "0\n") << allOf(facts, "audit_error") << allOf(facts, "read_error");
    EXPECT_EQ(allOf(facts, "saved"), "LINE 1\nLWPOLYLINE 1\n");
  }
  std::string r10 = readFile(bare);
  r10 = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1006\n0\nENDSEC\n" + r10;
  const std::string old = writeFile("r10.dxf", r10);
  DbScope db;
  EXPECT_EQ(db->dxfIn(old.c_str()), Acad::eDxfReadAborted);
  EXPECT_EQ(pf::lastDxfFailure().reason,
            "drawing version AC1006 is not supported; drawings of R12 (AC1009) and later can be read");
  EXPECT_EQ(pf::lastDxfFailure().line, 5u);
}

TEST(OlderDrawings, AnR14DrawingsHeavy2dPolylineBecomesLightweightWithItsEntityGroups) {
  // ezdxf writes an R2000 drawing with a 2D POLYLINE (widths 1/2, bulge -1, elevation 7, colour
  // 3) and a 3D one; named AC1014 it is an R14 drawing, whose records have subclass markers.
  const std::string r2000 = tempPath("heavy-r2000.dxf");
  run(kPython + " -c \"import ezdxf; d = ezdxf.new('R2000'); m = d.modelspace(); "
                "m.add_polyline2d([(0, 0, 1, 2, 0), (10, 0, 1, 2, -1), (10, 5, 1, 2, 0)], format='xyseb', "
                "dxfattribs={'layer': 'ROOMS', 'elevation': (0, 0, 7), 'color': 3}); "
                "m.add_polyline3d([(0, 0, 0), (1, 1, 1)]); d.saveas('" + r2000 + "')\"");
  ASSERT_TRUE(fileExists(r2000));
  std::string text = readFile(r2000);
  const std::size_t at = text.find("AC1015");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 6, "AC1014");
  const std::string in = writeFile("heavy-r14.dxf", text);
  auto facts = openAndSave(in, tempPath("heavy-r14-saved.dxf"));
  EXPECT_EQ(allOf(facts, "saved"), "LWPOLYLINE 1\nPOLYLINE 1\n");
  EXPECT_EQ(allOf(facts, "lwpolyline").substr(allOf(facts, "lwpolyline").find(' ') + 1), "3 0 7 1/2,1/2,1/2 0,-1,0\n");
  auto lw = ofType(readRecords(tempPath("heavy-r14-saved.dxf")), "LWPOLYLINE");
  ASSERT_EQ(lw.size(), 1u);
  EXPECT_EQ(lw[0].first(8), "ROOMS");
  EXPECT_EQ(lw[0].first(62), "3");
  // The 3D polyline keeps its two vertices.
  EXPECT_EQ(ofType(readRecords(tempPath("heavy-r14-saved.dxf")), "VERTEX").size(), 2u);
}

TEST(OlderDrawings, TheLogNamesTheLinesOfTheFile) {
  // An attribute definition whose field length is negative cannot be read by its class: it is
  // kept as a proxy, and the log says so at the line of its record in the file.
  const std::string text =
      "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0.0\n20\n0.0\n30\n0.0\n11\n5.0\n21\n0.0\n31\n0.0\n"
      "0\nATTDEF\n8\n0\n10\n0.0\n20\n0.0\n30\n0.0\n40\n1.0\n1\nx\n3\nPrompt\n2\nTAG\n70\n0\n73\n-5\n0\nENDSEC\n0\nEOF\n";
  const std::string in = writeFile("r12-proxy.dxf", text);
  const std::string log = tempPath("r12-proxy.log");
  DbScope db;
  ASSERT_EQ(db->dxfIn(in.c_str(), log.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  const std::string written = readFile(log);
  EXPECT_NE(written.find(in + ":21: ATTDEF kept as a proxy"), std::string::npos) << written;
}
