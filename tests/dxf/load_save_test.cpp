// Drawing load and save: handles, owners, extension dictionaries and reactors in either order,
// proxies written back unchanged, erased objects left out, $HANDSEED, versions, the failure
// report, and saving atomically.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "acutmem.h"
#include "dbents.h"
#include "dbpl.h"
#include "dbproxy.h"
#include "dbdict.h"
#include "dbsymtb.h"
#include "dxf_test_util.h"
#include "db/db_services.h"
#include "pf/dxf.h"
#include "pf/faults.h"

using namespace dxftest;

namespace {

std::uint64_t hexValue(const std::string& s) { return std::strtoull(s.c_str(), nullptr, 16); }

std::string handleOf(const AcDbObjectId& id) {
  char buf[20];
  id.handle().getIntoAsciiBuffer(buf);
  return buf;
}

// The persistent reactors of an object, as handles.
std::vector<std::string> reactorHandles(AcDbObject* obj) {
  std::vector<std::string> out;
  AcDbVoidPtrArray* r = obj->reactors();
  if (!r) return out;
  for (int i = 0; i < r->length(); ++i)
    if (acdbIsPersistentReactor(r->at(i))) out.push_back(handleOf(acdbPersistentReactorObjectId(r->at(i))));
  return out;
}

}  // namespace

TEST(DrawingLoad, ReadsTheLinkedDrawingWithItsHandlesAndLinks) {
  for (bool reactorsFirst : {false, true}) {
    DbScope db;
    std::string path = writeFile("linked.dxf", linkedDrawing(reactorsFirst));
    ASSERT_EQ(db->dxfIn(path.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    EXPECT_EQ(pf::lastDxfFailure().text(), "");
    EXPECT_EQ(pf::dxfVersion(db.db), "AC1015");
    EXPECT_EQ(pf::dxfCodePage(db.db), "ANSI_1252");

    AcDbObject* obj = openByHandle(db.db, "41");
    ASSERT_NE(obj, nullptr);
    AcDbPolyline* pl = AcDbPolyline::cast(obj);
    ASSERT_NE(pl, nullptr);
    EXPECT_EQ(pl->numVerts(), 4u);
    EXPECT_TRUE(pl->isClosed());
    EXPECT_EQ(handleOf(pl->extensionDictionary()), "44");
    EXPECT_EQ(reactorHandles(pl), std::vector<std::string>{"45"}) << "reactors first: " << reactorsFirst;
    EXPECT_EQ(handleOf(pl->ownerId()), "1F");
    pl->close();

    // Without its class the link object is a proxy that remembers what it was.
    obj = openByHandle(db.db, "45");
    ASSERT_NE(obj, nullptr);
    AcDbProxyObject* proxy = AcDbProxyObject::cast(obj);
    ASSERT_NE(proxy, nullptr);
    EXPECT_STREQ(proxy->originalDxfName(), "PLINENOTIFYOBJECT");
    EXPECT_STREQ(proxy->originalClassName(), "CPlineNotifyObject");
    EXPECT_STREQ(proxy->applicationDescription(), "zorvik");
    EXPECT_EQ(handleOf(proxy->ownerId()), "44");
    obj->close();

    // The attribute belongs to its block reference.
    obj = openByHandle(db.db, "3F");
    ASSERT_NE(obj, nullptr);
    AcDbAttribute* attr = AcDbAttribute::cast(obj);
    ASSERT_NE(attr, nullptr);
    char* text = attr->textString();
    EXPECT_STREQ(text, "48.00");
    acutDelString(text);
    EXPECT_EQ(handleOf(attr->ownerId()), "3E");
    attr->close();

    obj = openByHandle(db.db, "3E");
    ASSERT_NE(obj, nullptr);
    AcDbBlockReference* ref = AcDbBlockReference::cast(obj);
    ASSERT_NE(ref, nullptr);
    AcDbObjectIterator* it = ref->attributeIterator();
    int n = 0;
    for (it->start(); !it->done(); it->step()) {
      EXPECT_EQ(handleOf(it->objectId()), "3F");
      ++n;
    }
    delete it;
    EXPECT_EQ(n, 1);
    ref->close();

    // New objects get handles above every handle of the file.
    EXPECT_GE(db->handseed().value(), 0x46u);
  }
}

TEST(DrawingLoad, DictionaryEntriesAre350Or360WhateverThe280Says) {
  for (bool soft : {true, false}) {
    std::string text = linkedDrawing();
    std::size_t key = text.find("ZORVIK\r\n");
    ASSERT_NE(key, std::string::npos);
    if (soft) {
      // Hard-owner flag 1 with a soft-owner entry, as ezdxf writes extension dictionaries.
      std::size_t code = text.find("360", key);
      text.replace(code, 3, "350");
    } else {
      // Flag 0 with a hard-owner entry.
      std::size_t flag = text.rfind("280\r\n1\r\n", key);
      ASSERT_NE(flag, std::string::npos);
      text.replace(flag, 8, "280\r\n0\r\n");
    }
    DbScope db;
    std::string path = writeFile("dict350.dxf", text);
    ASSERT_EQ(db->dxfIn(path.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    AcDbObject* obj = openByHandle(db.db, "44");
    ASSERT_NE(obj, nullptr);
    AcDbDictionary* dict = AcDbDictionary::cast(obj);
    ASSERT_NE(dict, nullptr);
    AcDbObjectId entry;
    EXPECT_EQ(dict->getAt("ZORVIK", entry), Acad::eOk) << "soft entry: " << soft;
    EXPECT_EQ(handleOf(entry), "45");
    dict->close();
  }
}

TEST(DrawingLoad, DictionaryMergeStylesOutsideTheKnownOnesReadAsTheDefault) {
  // 4 is a merge style and is kept; 73 is none (a damaged file) and reads as "ignore".
  for (const char* filed : {"4", "73", "-2"}) {
    // The 281 of the extension dictionary (handle 44), whatever the spacing of its codes.
    std::vector<std::string> lines;
    const std::string original = linkedDrawing();
    for (std::size_t at = 0; at < original.size();) {
      std::size_t end = original.find("\r\n", at);
      if (end == std::string::npos) end = original.size();
      lines.push_back(original.substr(at, end - at));
      at = end + 2;
    }
    auto trim = [](std::string v) { return v.erase(0, v.find_first_not_of(' ')); };
    std::size_t i = 0;
    while (i + 1 < lines.size() && !(trim(lines[i]) == "5" && lines[i + 1] == "44")) i += 2;
    while (i + 1 < lines.size() && trim(lines[i]) != "281") i += 2;
    ASSERT_LT(i + 1, lines.size());
    lines[i + 1] = filed;
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    DbScope db;
    std::string path = writeFile("merge-style.dxf", text);
    ASSERT_EQ(db->dxfIn(path.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    AcDbObject* obj = openByHandle(db.db, "44");
    ASSERT_NE(obj, nullptr);
    AcDbDictionary* dict = AcDbDictionary::cast(obj);
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(std::string(filed) == "4" ? AcDb::kDrcMangleName : AcDb::kDrcIgnore, dict->mergeStyle()) << filed;
    dict->close();
  }
}

TEST(DrawingLoad, EveryLineEndGivesTheSameDrawing) {
  for (const char* eol : {"\n", "\r", "\r\n"}) {
    DbScope db;
    std::string path = writeFile("eol.dxf", linkedDrawing(false, 1, eol));
    ASSERT_EQ(db->dxfIn(path.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    AcDbObject* obj = openByHandle(db.db, "45");
    ASSERT_NE(obj, nullptr);
    obj->close();
  }
}

TEST(DrawingSave, WritesBackWhatWasReadWithProxiesUnchanged) {
  DbScope db;
  std::string in = writeFile("rt-in.dxf", linkedDrawing(true));
  ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  std::string out = tempPath("rt-out.dxf");
  ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();

  std::string text = readFile(out);
  ASSERT_GE(text.size(), 20u);
  EXPECT_EQ(text.substr(0, 11), "  0\r\nSECTIO");
  EXPECT_EQ(text.find("\n", 0), text.find("\r\n", 0) + 1) << "CRLF line ends";

  auto saved = byHandle(readRecords(out));
  auto original = byHandle(readRecords(in));
  // The link object: exactly its groups.
  ASSERT_TRUE(saved.count("45"));
  EXPECT_EQ(saved["45"].type, "PLINENOTIFYOBJECT");
  EXPECT_EQ(saved["45"].tags, original["45"].tags);
  // Kept table records and the DIMSTYLE with its 105 handle.
  for (const char* h : {"10", "11", "12", "16", "27"}) {
    ASSERT_TRUE(saved.count(h)) << h;
    EXPECT_EQ(saved[h].type, original[h].type) << h;
    EXPECT_EQ(saved[h].values(2), original[h].values(2)) << h;
  }
  EXPECT_EQ(saved["27"].tags.front().first, 105);
  // The polyline, unchanged, keeps the order of its file: reactors before the extension
  // dictionary.
  EXPECT_EQ(saved["41"].codes().substr(0, 31), "5 102 330 102 102 360 102 330 1");
  // The class record: from the drawing, no instance count in R2000.
  auto classes = ofType(readRecords(out), "CLASS");
  ASSERT_EQ(classes.size(), 1u);
  EXPECT_EQ(classes[0].codes(), "1 2 3 90 280 281");
  // $HANDSEED is above every handle in the file.
  std::uint64_t seed = 0, maxHandle = 0;
  auto recs = readRecords(out);
  for (const Record& r : recs) {
    if (!r.handle.empty()) maxHandle = std::max(maxHandle, hexValue(r.handle));
  }
  const std::string headerText = text.substr(0, text.find("ENDSEC"));
  std::size_t at = headerText.find("$HANDSEED");
  ASSERT_NE(at, std::string::npos);
  seed = hexValue(headerText.substr(headerText.find("\r\n  5\r\n", at) + 7));
  EXPECT_GT(seed, maxHandle);
}

TEST(DrawingSave, LeavesOutErasedObjectsAndEveryReferenceToThem) {
  DbScope db;
  std::string in = writeFile("erase-in.dxf", linkedDrawing());
  ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  AcDbObjectId linkId;
  ASSERT_EQ(db->getAcDbObjectId(linkId, false, AcDbHandle("45")), Acad::eOk);
  AcDbObject* link = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(link, linkId, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(link->erase(), Acad::eOk);
  link->close();

  std::string out = tempPath("erase-out.dxf");
  ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  auto recs = readRecords(out);
  EXPECT_TRUE(ofType(recs, "PLINENOTIFYOBJECT").empty());
  for (const Record& r : recs) {
    for (const auto& t : r.tags) {
      if (t.first >= 330 && t.first <= 369) {
        EXPECT_NE(t.second, "45") << r.type << " " << r.handle << " group " << t.first;
      }
    }
  }
}

TEST(DrawingLoad, RefusesMalformedDrawingsAndLeavesTheDatabaseEmpty) {
  std::string good = linkedDrawing(false, 1, "\n");
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string s = good;
    std::size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return s.replace(at, from.size(), to);
  };
  struct Case {
    std::string name, text, words;
  } cases[] = {
      {"notdxf.dxf", "Hello, this is a letter.\nNot a drawing.\n", "not a DXF file"},
      {"truncated.dxf", good.substr(0, good.size() / 2), "truncated"},
      {"badvalue.dxf", replaced("90\n4\n", "90\nfour\n"), "not an integer"},
      {"duplicate.dxf", replaced("5\n41\n", "5\n3F\n"), "duplicate handle 3F"},
      {"unbalanced.dxf", replaced("ENDTAB\n  0\nTABLE\n  2\nLAYER", "TABLE\n  2\nLAYER"), "has no ENDTAB"},
      // A binary file has no lines: its fault is told by byte offset.
      {"binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "junk", "binary DXF, byte 22"},
      {"old.dxf", replaced("AC1015", "AC1006"), "AC1006"},
  };
  for (const Case& c : cases) {
    DbScope db;
    std::string path = writeFile(c.name, c.text);
    std::string log = tempPath(c.name + ".log");
    EXPECT_NE(db->dxfIn(path.c_str(), log.c_str()), Acad::eOk) << c.name;
    const pf::DxfFailure& f = pf::lastDxfFailure();
    EXPECT_EQ(f.file, path) << c.name;
    EXPECT_NE(f.reason.find(c.words), std::string::npos) << c.name << ": " << f.text();
    if (c.name != "notdxf.dxf" && c.name != "binary.dxf") {
      EXPECT_GT(f.line, 0u) << c.name;
    }
    EXPECT_TRUE(pf::allObjectIds(db.db).empty()) << c.name;
    EXPECT_NE(readFile(log).find(c.words), std::string::npos) << c.name;
  }
  DbScope db;
  EXPECT_EQ(db->dxfIn(tempPath("no-such-file.dxf").c_str()), Acad::eFileNotFound);
  EXPECT_NE(pf::lastDxfFailure().reason.find("cannot open"), std::string::npos);
}

TEST(DrawingLoad, RefusesABlockThatNamesNeitherItselfNorItsRecord) {
  // The ROOMTAG block (handle 31) loses its owner, and its name becomes an xref path (group 1).
  std::string text = linkedDrawing(false, 1, "\n");
  const std::string owned = "31\n330\n30\n", ownerless = "31\n330\n0\n";
  std::size_t owner = text.find(owned);
  ASSERT_NE(owner, std::string::npos);
  text.replace(owner, owned.size(), ownerless);
  std::size_t name = text.find("\nROOMTAG\n", owner);
  ASSERT_NE(name, std::string::npos);
  std::size_t codeLine = text.rfind('\n', name - 1) + 1;  // the " 2" line before the name
  text.replace(codeLine, name - codeLine, "  1");
  DbScope db;
  std::string path = writeFile("nameless-block.dxf", text);
  EXPECT_EQ(db->dxfIn(path.c_str()), Acad::eDxfReadAborted);
  const pf::DxfFailure& f = pf::lastDxfFailure();
  EXPECT_NE(f.reason.find("BLOCK without a name"), std::string::npos) << f.text();
  EXPECT_GT(f.line, 0u);
  EXPECT_TRUE(pf::allObjectIds(db.db).empty());
  // With its owner it is tied to its record, name or not.
  DbScope again;
  text.replace(owner, ownerless.size(), owned);
  path = writeFile("nameless-block-owned.dxf", text);
  EXPECT_EQ(again->dxfIn(path.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
}

TEST(DrawingLoad, AVersionNumberTooLongForAnIntegerIsALaterVersion) {
  std::string text = linkedDrawing(false, 1, "\n");
  std::size_t at = text.find("AC1015");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 6, "AC10159999999999999999999");
  DbScope db;
  std::string path = writeFile("long-version.dxf", text);
  EXPECT_EQ(db->dxfIn(path.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
}

TEST(DrawingLoad, RefusesADatabaseThatAlreadyHoldsADrawing) {
  DbScope db(true);
  std::string path = writeFile("again.dxf", linkedDrawing());
  EXPECT_EQ(db->dxfIn(path.c_str()), Acad::eInvalidInput);
  EXPECT_NE(pf::lastDxfFailure().reason.find("already holds"), std::string::npos);
}

TEST(DrawingSave, IsAtomic) {
  DbScope db;
  std::string in = writeFile("atomic-in.dxf", linkedDrawing());
  ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk);
  // A target in a directory that cannot be written: refused, with the reason.
  EXPECT_NE(db->dxfOut("/proc/zorvik-cannot-write-here.dxf"), Acad::eOk);
  EXPECT_NE(pf::lastDxfFailure().reason.find("cannot"), std::string::npos) << pf::lastDxfFailure().text();
  EXPECT_FALSE(fileExists("/proc/zorvik-cannot-write-here.dxf"));

  // A write failing halfway leaves the old file exactly as it was and no temporary file.
  std::string target = writeFile("atomic-target.dxf", "old contents");
  {
    pf::ScopedFault fault("AcDbDatabase::dxfOut/write", Acad::eFileSystemErr);
    EXPECT_NE(db->dxfOut(target.c_str()), Acad::eOk);
  }
  EXPECT_EQ(readFile(target), "old contents");
  EXPECT_NE(pf::lastDxfFailure().text(), "");
  std::string listing;
  FILE* p = popen(("ls -a " + tempDir()).c_str(), "r");
  char buf[256];
  while (p && fgets(buf, sizeof buf, p)) listing += buf;
  if (p) pclose(p);
  EXPECT_EQ(listing.find(".atomic-target.dxf."), std::string::npos) << listing;

  // A successful save replaces it.
  ASSERT_EQ(db->dxfOut(target.c_str()), Acad::eOk);
  EXPECT_NE(readFile(target).find("PLINENOTIFYOBJECT"), std::string::npos);
}

TEST(DrawingSave, ANewDrawingIsACompleteR2000Drawing) {
  DbScope db(true);
  AcDbBlockTable* bt = nullptr;
  ASSERT_EQ(db->getBlockTable(bt, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* ms = nullptr;
  ASSERT_EQ(bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite), Acad::eOk);
  bt->close();
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0));
  pl->addVertexAt(1, AcGePoint2d(5, 0), 0.5);
  pl->addVertexAt(2, AcGePoint2d(5, 4));
  pl->setClosed(true);
  pl->setLayer("ROOMS");
  ASSERT_EQ(ms->appendAcDbEntity(pl), Acad::eOk);
  pl->close();
  ms->close();

  std::string out = tempPath("new.dxf");
  ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  auto recs = readRecords(out);
  std::vector<std::string> tables;
  for (const Record& r : ofType(recs, "TABLE")) tables.push_back(r.first(2));
  EXPECT_EQ(tables, (std::vector<std::string>{"VPORT", "LTYPE", "LAYER", "STYLE", "VIEW", "UCS", "APPID", "DIMSTYLE",
                                               "BLOCK_RECORD"}));
  std::vector<std::string> layers;
  for (const Record& r : ofType(recs, "LAYER")) layers.push_back(r.first(2));
  EXPECT_EQ(layers, (std::vector<std::string>{"0", "ROOMS"}));
  EXPECT_EQ(ofType(recs, "LAYOUT").size(), 2u);
  EXPECT_EQ(ofType(recs, "BLOCK").size(), ofType(recs, "BLOCK_RECORD").size());
  // The root dictionary comes first in OBJECTS and lists the standard objects.
  auto it = std::find_if(recs.begin(), recs.end(), [](const Record& r) { return r.first(2) == "OBJECTS"; });
  ASSERT_NE(it, recs.end());
  ++it;
  ASSERT_NE(it, recs.end());
  EXPECT_EQ(it->type, "DICTIONARY");
  for (const char* key : {"ACAD_GROUP", "ACAD_LAYOUT", "ACAD_MLINESTYLE", "ACAD_PLOTSETTINGS", "ACAD_PLOTSTYLENAME"}) {
    auto keys = it->values(3);
    EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end()) << key;
  }
  // Read back: the same polyline.
  DbScope again;
  ASSERT_EQ(again->dxfIn(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  EXPECT_EQ(pf::dxfVersion(again.db), "AC1015");
  AcDbBlockTable* bt2 = nullptr;
  ASSERT_EQ(again->getBlockTable(bt2, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* ms2 = nullptr;
  ASSERT_EQ(bt2->getAt(ACDB_MODEL_SPACE, ms2, AcDb::kForRead), Acad::eOk);
  bt2->close();
  AcDbBlockTableRecordIterator* iter = nullptr;
  ASSERT_EQ(ms2->newIterator(iter), Acad::eOk);
  int polylines = 0;
  for (; !iter->done(); iter->step()) {
    AcDbEntity* e = nullptr;
    ASSERT_EQ(iter->getEntity(e, AcDb::kForRead), Acad::eOk);
    if (AcDbPolyline* p2 = AcDbPolyline::cast(e)) {
      ++polylines;
      double bulge = 0;
      p2->getBulgeAt(1, bulge);
      EXPECT_EQ(bulge, 0.5);
    }
    e->close();
  }
  delete iter;
  ms2->close();
  EXPECT_EQ(polylines, 1);
}
