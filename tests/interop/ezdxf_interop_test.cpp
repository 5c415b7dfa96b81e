// Interoperability with ezdxf and with real drawings: drawings ezdxf writes (R2000 to R2018,
// rooms with arcs, blocks with attributes, HATCH, MTEXT, DIMENSION) load; every drawing saved
// here loads in ezdxf and its audit finds no error; records this platform does not model come
// back group for group; the link object keeps its groups with and without its class.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "dbents.h"
#include "dbpl.h"
#include "dbproxy.h"
#include "dbsymtb.h"
#include "dxf/dxf_tag.h"
#include "dxf_test_util.h"
#include "tag_compare.h"
#include "pf/dxf.h"
#include "rxboiler.h"
#include "rxclass.h"

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

// What ezdxf says about a drawing (see tests/interop/ezdxf_check.py), as "key rest" lines.
std::multimap<std::string, std::string> ezdxfFacts(const std::string& path, const std::string& dump = "") {
  std::string out = run(kPython + " " + ZORVIK_SOURCE_DIR + "/tests/interop/ezdxf_check.py '" + path + "'" +
                        (dump.empty() ? "" : " --dump " + dump));
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

std::string fact(const std::multimap<std::string, std::string>& f, const std::string& key) {
  auto it = f.find(key);
  return it == f.end() ? "<none>" : it->second;
}

std::string allOf(const std::multimap<std::string, std::string>& f, const std::string& key) {
  std::string s;
  auto range = f.equal_range(key);
  for (auto it = range.first; it != range.second; ++it) s += it->second + "\n";
  return s;
}

// Checks that ezdxf reads the drawing and its audit finds nothing wrong.
void expectEzdxfAccepts(const std::string& path) {
  auto facts = ezdxfFacts(path);
  ASSERT_EQ(fact(facts, "read_error"), "<none>") << path;
  EXPECT_EQ(fact(facts, "audit_errors"), "0") << path << "\n" << allOf(facts, "audit_error");
}

// The DXF files of a directory, by name.
std::vector<std::string> dxfFilesIn(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n.size() > 4 && n.compare(n.size() - 4, 4, ".dxf") == 0) names.push_back(n);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool generate(int rooms, const std::string& version, const std::string& path) {
  std::string out = run(kPython + " " + ZORVIK_SOURCE_DIR + "/bench/gen_floorplan.py " + std::to_string(rooms) + " '" +
                        path + "' --version " + version);
  if (!fileExists(path)) ADD_FAILURE() << "ezdxf could not write " << path << ": " << out;
  return fileExists(path);
}

// A record's groups in comparable form: numbers by value, handles in upper case, and the
// {ACAD_REACTORS / {ACAD_XDICTIONARY groups as sets (either order is the same drawing). Two
// differences are the saver's on purpose: the common entity groups (layer, colour, linetype,
// lineweight, ...) come in the platform's order, so that subclass is compared as a set; and
// references to handles that no record of the original file has are left out.
struct Normal {
  std::vector<std::string> body;
  std::set<std::string> groups;
  bool operator==(const Normal& o) const { return body == o.body && groups == o.groups; }
};

std::string value(int code, const std::string& v) {
  using pf::dxf::ValueKind;
  switch (pf::dxf::kindOf(code)) {
    case ValueKind::Double: {
      double d = 0;
      pf::dxf::parseDouble(v, d);
      char buf[40];
      std::snprintf(buf, sizeof buf, "%.17g", d);
      return buf;
    }
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Int64:
    case ValueKind::Bool: {
      std::int64_t i = 0;
      pf::dxf::parseInt64(v, i);
      return std::to_string(i);
    }
    case ValueKind::Handle:
    case ValueKind::Binary: {
      std::string u = v;
      for (char& c : u) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
      return u;
    }
    default:
      return v;
  }
}

Normal normal(const Record& r, const std::set<std::string>& defined) {
  Normal n;
  std::string group;
  bool entityPart = false;
  std::vector<std::string> entityGroups;
  auto endEntityPart = [&]() {
    std::sort(entityGroups.begin(), entityGroups.end());
    n.body.insert(n.body.end(), entityGroups.begin(), entityGroups.end());
    entityGroups.clear();
    entityPart = false;
  };
  for (const auto& t : r.tags) {
    std::string v = value(t.first, t.second);
    const bool reference = (t.first >= 330 && t.first <= 369) || (t.first >= 390 && t.first <= 399);
    if (reference && v != "0" && !defined.count(v)) continue;
    if (t.first == 100 || t.first >= 1000) {
      if (entityPart) endEntityPart();
      if (t.first == 100 && v == "AcDbEntity") {
        n.body.push_back("100=AcDbEntity");
        entityPart = true;
        continue;
      }
    }
    if (entityPart) {
      entityGroups.push_back(std::to_string(t.first) + "=" + v);
      continue;
    }
    if (t.first == 102 && (v == "{ACAD_REACTORS" || v == "{ACAD_XDICTIONARY")) {
      group = v;
      continue;
    }
    if (!group.empty()) {
      if (t.first == 102) {
        group.clear();
        continue;
      }
      n.groups.insert(group + " " + std::to_string(t.first) + "=" + v);
      continue;
    }
    n.body.push_back(std::to_string(t.first) + "=" + v);
  }
  if (entityPart) endEntityPart();
  return n;
}

std::string show(const Normal& n) {
  std::string s;
  for (const auto& b : n.body) s += b + " ";
  for (const auto& g : n.groups) s += "[" + g + "] ";
  return s;
}

const std::set<std::string> kModelled = {"LWPOLYLINE", "INSERT", "ATTRIB", "ATTDEF", "TEXT", "LINE",
                                         "CIRCLE", "DICTIONARY", "SEQEND", "BLOCK_RECORD"};

// Every record not modelled here comes back with the same groups; answers how many compared.
int expectUnmodelledRecordsKept(const std::string& in, const std::string& out) {
  auto before = byHandle(readRecords(in));
  auto after = byHandle(readRecords(out));
  std::set<std::string> defined;
  for (const auto& kv : before) defined.insert(value(5, kv.first));
  int compared = 0;
  for (const auto& kv : before) {
    const Record& r = kv.second;
    if (kModelled.count(r.type) || (r.type == "TABLE" && r.first(2) == "BLOCK_RECORD")) continue;
    auto it = after.find(kv.first);
    if (it == after.end()) {
      ADD_FAILURE() << in << ": " << r.type << " " << kv.first << " (line " << r.line << ") was not saved";
      continue;
    }
    Normal a = normal(r, defined), b = normal(it->second, defined);
    if (r.type == "BLOCK" || r.type == "ENDBLK") {
      // The block of paper space is marked as such (67 1), as the R2000 release writes it.
      auto drop = [](Normal& n) { n.body.erase(std::remove(n.body.begin(), n.body.end(), "67=1"), n.body.end()); };
      drop(a);
      drop(b);
    }
    if (r.type == "TABLE") {
      // The head's record count is recomputed from the records saved.
      auto drop = [](Normal& n) {
        for (auto& s : n.body)
          if (s.rfind("70=", 0) == 0) s = "70=*";
      };
      drop(a);
      drop(b);
    }
    EXPECT_TRUE(a == b) << in << ": " << r.type << " " << kv.first << " (line " << r.line << ")\n was: " << show(a)
                        << "\n now: " << show(b);
    ++compared;
  }
  return compared;
}

int countInModelSpace(AcDbDatabase* db, AcRxClass* cls, int* attributes = nullptr) {
  AcDbBlockTable* bt = nullptr;
  if (db->getBlockTable(bt, AcDb::kForRead) != Acad::eOk) return -1;
  AcDbBlockTableRecord* ms = nullptr;
  Acad::ErrorStatus es = bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForRead);
  bt->close();
  if (es != Acad::eOk) return -1;
  AcDbBlockTableRecordIterator* it = nullptr;
  ms->newIterator(it);
  int n = 0;
  for (; !it->done(); it->step()) {
    AcDbEntity* e = nullptr;
    if (it->getEntity(e, AcDb::kForRead) != Acad::eOk) continue;
    if (e->isKindOf(cls)) {
      ++n;
      if (attributes) {
        if (AcDbBlockReference* ref = AcDbBlockReference::cast(e)) {
          AcDbObjectIterator* ai = ref->attributeIterator();
          for (ai->start(); !ai->done(); ai->step()) ++*attributes;
          delete ai;
        }
      }
    }
    e->close();
  }
  delete it;
  ms->close();
  return n;
}

}  // namespace

TEST(EzdxfInterop, EzdxfIsAvailable) {
  std::string out = run(kPython + " -c 'import ezdxf; print(ezdxf.__version__)'");
  ASSERT_FALSE(out.empty());
  EXPECT_TRUE(isdigit(static_cast<unsigned char>(out[0]))) << "python3-ezdxf is needed (.ci/run installs it): " << out;
}

TEST(EzdxfInterop, DrawingsEzdxfWritesLoadAndComeBackAcceptedAndUnchanged) {
  const int rooms = 12;
  for (const char* version : {"R2000", "R2004", "R2010", "R2018"}) {
    SCOPED_TRACE(version);
    std::string in = tempPath(std::string("ezdxf-") + version + ".dxf");
    if (!generate(rooms, version, in)) continue;
    DbScope db;
    ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    int attributes = 0;
    EXPECT_EQ(countInModelSpace(db.db, AcDbPolyline::desc()), rooms);
    EXPECT_EQ(countInModelSpace(db.db, AcDbBlockReference::desc(), &attributes), rooms);
    EXPECT_EQ(attributes, 2 * rooms);
    // HATCH, MTEXT and DIMENSION are kept as proxies: 12 + 12 + 3.
    EXPECT_EQ(countInModelSpace(db.db, AcDbProxyEntity::desc()), rooms * 2 + (rooms + 3) / 4);

    std::string out = tempPath(std::string("ezdxf-") + version + "-saved.dxf");
    ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    auto facts = ezdxfFacts(out);
    ASSERT_EQ(fact(facts, "read_error"), "<none>");
    EXPECT_EQ(fact(facts, "audit_errors"), "0") << allOf(facts, "audit_error");
    auto original = ezdxfFacts(in);
    EXPECT_EQ(allOf(facts, "count"), allOf(original, "count"));
    EXPECT_EQ(fact(facts, "blocks"), fact(original, "blocks"));
    EXPECT_GT(expectUnmodelledRecordsKept(in, out), 50);
  }
}

TEST(EzdxfInterop, LargeEzdxfDrawingRoundTripsRecordForRecord) {
  std::string in = tempPath("ezdxf-large.dxf");
  if (!generate(400, "R2018", in)) return;
  DbScope db;
  ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  std::string out = tempPath("ezdxf-large-saved.dxf");
  ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  EXPECT_GT(expectUnmodelledRecordsKept(in, out), 1200);
  expectEzdxfAccepts(out);
}

// Every real drawing (AC1015 to AC1032, from releases of the host and from other programs),
// loaded and saved without a change, comes back group for group: same records, same groups in
// the same order, same values (numbers compared by value). What ezdxf's audit says of the saved
// drawing is what it says of the original: nothing.
TEST(RealDrawings, EveryDrawingComesBackGroupForGroup) {
  const std::string dir = std::string(ZORVIK_SHARED_DIR) + "/interop/real-dxf";
  std::vector<std::string> names = dxfFilesIn(dir);
  ASSERT_GE(names.size(), 18u) << dir;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::string in = dir + "/" + name;
    DbScope db;
    ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    const std::string out = tempPath("real-" + name);
    ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    const TagDifferences d = compareTags(in, out);
    EXPECT_EQ(d.count, 0u) << d.text();
    expectEzdxfAccepts(out);
  }
}

// The same drawings through binary DXF: saved binary, ezdxf reads them and finds nothing wrong,
// and read back and saved as ASCII they are the originals group for group.
TEST(RealDrawings, EveryDrawingComesBackThroughBinaryDxf) {
  const std::string dir = std::string(ZORVIK_SHARED_DIR) + "/interop/real-dxf";
  std::vector<std::string> names = dxfFilesIn(dir);
  ASSERT_GE(names.size(), 18u) << dir;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::string in = dir + "/" + name;
    const std::string bin = tempPath("binary-" + name), back = tempPath("binary-back-" + name);
    {
      DbScope db;
      ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
      ASSERT_EQ(pf::dxfOutAs(db.db, bin.c_str(), pf::DxfForm::kBinary), Acad::eOk) << pf::lastDxfFailure().text();
    }
    expectEzdxfAccepts(bin);
    DbScope db;
    ASSERT_EQ(db->dxfIn(bin.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    ASSERT_EQ(pf::dxfOutAs(db.db, back.c_str(), pf::DxfForm::kAscii), Acad::eOk) << pf::lastDxfFailure().text();
    const TagDifferences d = compareTags(in, back);
    EXPECT_EQ(d.count, 0u) << d.text();
  }
}

namespace {

class InteropLink : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(InteropLink);
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* f) override {
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk) return es;
    if (!f->atSubclassData("PlineNotifyObject")) return Acad::eBadDxfSequence;
    resbuf rb;
    if ((es = f->readItem(&rb)) != Acad::eOk || rb.restype != 70) return Acad::eBadDxfSequence;
    if ((es = f->readItem(&rb)) != Acad::eOk || rb.restype != 330) return Acad::eBadDxfSequence;
    return acdbGetObjectId(attribute, rb.resval.rlname);
  }
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* f) const override {
    assertReadEnabled();
    Acad::ErrorStatus es = AcDbObject::dxfOutFields(f);
    if (es != Acad::eOk) return es;
    f->writeString(AcDb::kDxfSubclass, "PlineNotifyObject");
    f->writeInt16(AcDb::kDxfInt16, 1);
    f->writeObjectId(AcDb::kDxfSoftPointerId, attribute);
    return f->filerStatus();
  }
  AcDbObjectId attribute;
};

ACRX_DXF_DEFINE_MEMBERS(InteropLink, AcDbObject, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, PLINENOTIFYOBJECT,
                        zorvik)

}  // namespace

TEST(EzdxfInterop, LinkObjectKeepsItsGroupsWithAndWithoutItsClass) {
  for (bool registered : {false, true}) {
    SCOPED_TRACE(registered ? "class registered" : "no class");
    if (registered) {
      InteropLink::rxInit();
      acrxBuildClassHierarchy();
    }
    for (bool reactorsFirst : {false, true}) {
      std::string in = writeFile("link-in.dxf", linkedDrawing(reactorsFirst));
      std::string out = tempPath(std::string("link-out-") + (registered ? "r" : "p") + (reactorsFirst ? "1" : "0") + ".dxf");
      {
        DbScope db;
        ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
        AcDbObject* obj = openByHandle(db.db, "45");
        ASSERT_NE(obj, nullptr);
        EXPECT_EQ(InteropLink::cast(obj) != nullptr, registered);
        obj->close();
        ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
      }
      auto facts = ezdxfFacts(out, "PLINENOTIFYOBJECT");
      ASSERT_EQ(fact(facts, "read_error"), "<none>");
      EXPECT_EQ(fact(facts, "audit_errors"), "0") << allOf(facts, "audit_error");
      EXPECT_EQ(fact(facts, "xdict"), "41 ZORVIK PLINENOTIFYOBJECT");
      EXPECT_EQ(fact(facts, "reactors"), "41 45");
      EXPECT_EQ(fact(facts, "object"), "45 PLINENOTIFYOBJECT 100=PlineNotifyObject;70=1;330=3F");
      auto classes = ofType(readRecords(out), "CLASS");
      ASSERT_EQ(classes.size(), 1u);
      EXPECT_EQ(classes[0].first(1), "PLINENOTIFYOBJECT");
      EXPECT_EQ(classes[0].first(3), "zorvik");
    }
    if (registered) {
      deleteAcRxClass(InteropLink::desc());
      InteropLink::gpDesc = nullptr;
    }
  }
}
