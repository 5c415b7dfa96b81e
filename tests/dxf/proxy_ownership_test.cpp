// Records kept as proxies keep their place in the drawing's ownership: an ATTRIB that cannot be
// read as an attribute stays in its insert's attribute sequence, and copying an entity copies the
// proxies it owns instead of sharing them between the original and the copy.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "dbents.h"
#include "dbidmap.h"
#include "dbpl.h"
#include "dbproxy.h"
#include "dbsymtb.h"
#include "dxf_test_util.h"
#include "pf/dxf.h"

using namespace dxftest;

namespace {

// The linked drawing with one edit of the text of its ATTRIB record.
std::string editedAttrib(const std::string& from, const std::string& to) {
  std::string text = linkedDrawing();
  const std::size_t attrib = text.find("ATTRIB\r\n");
  const std::size_t at = text.find(from, attrib);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// A record's owner: the 330 before its first subclass marker that is not inside a 102 group.
std::string recordOwner(const Record& r) {
  std::string owner;
  bool inGroup = false;
  for (const auto& t : r.tags) {
    if (t.first == 100) break;
    if (t.first == 102) inGroup = t.second != "}";
    else if (t.first == 330 && !inGroup) owner = t.second;
  }
  return owner;
}

// The types of the records of the ENTITIES section, in order, with their owners.
std::vector<std::string> entitySequence(const std::string& path) {
  std::vector<std::string> out;
  bool inEntities = false;
  for (const Record& r : readRecords(path)) {
    if (r.type == "SECTION") inEntities = r.first(2) == "ENTITIES";
    else if (r.type == "ENDSEC") inEntities = false;
    else if (inEntities) out.push_back(r.type + "/" + recordOwner(r));
  }
  return out;
}

AcDbObjectId modelSpaceOf(AcDbDatabase* db) {
  AcDbBlockTable* bt = nullptr;
  AcDbObjectId ms;
  if (db->getBlockTable(bt, AcDb::kForRead) == Acad::eOk) {
    bt->getAt(ACDB_MODEL_SPACE, ms);
    bt->close();
  }
  return ms;
}

AcDbObjectId idOf(AcDbDatabase* db, const char* hex) {
  AcDbObjectId id;
  db->getAcDbObjectId(id, false, AcDbHandle(hex));
  return id;
}

AcDbObjectId cloneOf(const AcDbIdMapping& map, AcDbObjectId id) {
  AcDbIdPair pair(id, AcDbObjectId::kNull, false);
  return map.compute(pair) && pair.isCloned() ? pair.value() : AcDbObjectId::kNull;
}

AcDbObjectId ownerOf(AcDbObjectId id) {
  AcDbObject* obj = nullptr;
  if (acdbOpenAcDbObject(obj, id, AcDb::kForRead) != Acad::eOk) return AcDbObjectId::kNull;
  AcDbObjectId owner = obj->ownerId();
  obj->close();
  return owner;
}

AcDbObjectId copyOf(AcDbDatabase* db, const char* hex, AcDbIdMapping& map) {
  AcDbObjectIdArray ids;
  ids.append(idOf(db, hex));
  AcDbObjectId ms = modelSpaceOf(db);
  EXPECT_EQ(db->deepCloneObjects(ids, ms, map), Acad::eOk);
  return cloneOf(map, ids[0]);
}

// Every object a dictionary of the saved file lists, with the dictionaries listing it: an object
// listed twice would have two owners.
std::map<std::string, std::set<std::string>> dictionaryEntries(const std::vector<Record>& recs) {
  std::map<std::string, std::set<std::string>> listedBy;
  for (const Record& r : recs)
    if (r.type == "DICTIONARY")
      for (const auto& t : r.tags)
        if (t.first == 350 || t.first == 360) listedBy[t.second].insert(r.handle);
  return listedBy;
}

}  // namespace

// An ATTRIB whose AcDbAttribute part is missing, or whose height is negative, is kept as a proxy;
// saved, it comes between its INSERT and the SEQEND, owned by the insert, which still announces
// its attributes with 66.
TEST(ProxyAttribute, StaysInItsInsertsAttributeSequence) {
  const std::pair<const char*, std::string> cases[] = {
      {"no AcDbAttribute marker", editedAttrib("100\r\nAcDbAttribute\r\n", "")},
      {"height out of range", editedAttrib(" 40\r\n2.5\r\n", " 40\r\n-2.5\r\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    DbScope db;
    std::string in = writeFile("proxy-attrib-in.dxf", c.second);
    ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    AcDbObject* attrib = openByHandle(db.db, "3F");
    ASSERT_NE(attrib, nullptr);
    EXPECT_NE(AcDbProxyEntity::cast(attrib), nullptr) << "the test needs the ATTRIB kept as a proxy";
    EXPECT_EQ(attrib->ownerId(), idOf(db.db, "3E"));
    attrib->close();

    std::string out = tempPath("proxy-attrib-out.dxf");
    ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    EXPECT_EQ(entitySequence(out), (std::vector<std::string>{"INSERT/1F", "ATTRIB/3E", "SEQEND/3E", "LWPOLYLINE/1F"}));
    auto saved = byHandle(readRecords(out));
    EXPECT_EQ(saved["3E"].first(66), "1");
    EXPECT_EQ(saved["3F"].tags, byHandle(readRecords(in))["3F"].tags) << "the proxy keeps its groups";
  }
}

// Among modelled attributes the proxy keeps its place, and copying the insert copies it with the
// others: the copy owns a proxy of its own.
TEST(ProxyAttribute, KeepsItsPlaceAndIsCopiedWithItsInsert) {
  std::string text = linkedDrawing();
  const std::size_t seqend = text.find("SEQEND\r\n");
  ASSERT_NE(seqend, std::string::npos);
  const std::size_t seqendCode = text.rfind("\r\n", seqend - 3) + 2;
  // Two more attributes after 3F: a proxy (no AcDbAttribute marker), then a modelled one.
  const std::string more =
      "  0\r\nATTRIB\r\n  5\r\n50\r\n330\r\n3E\r\n100\r\nAcDbEntity\r\n  8\r\n0\r\n100\r\nAcDbText\r\n 10\r\n1.0\r\n 20\r\n"
      "1.0\r\n 30\r\n0.0\r\n 40\r\n2.5\r\n  1\r\nKITCHEN\r\n  2\r\nNAME\r\n 70\r\n0\r\n"
      "  0\r\nATTRIB\r\n  5\r\n51\r\n330\r\n3E\r\n100\r\nAcDbEntity\r\n  8\r\n0\r\n100\r\nAcDbText\r\n 10\r\n2.0\r\n 20\r\n"
      "2.0\r\n 30\r\n0.0\r\n 40\r\n2.5\r\n  1\r\n3\r\n100\r\nAcDbAttribute\r\n  2\r\nFLOOR\r\n 70\r\n0\r\n";
  text.insert(seqendCode, more);
  const std::size_t seed = text.find("$HANDSEED\r\n  5\r\n46");
  ASSERT_NE(seed, std::string::npos);
  text.replace(seed + 16, 2, "60");

  DbScope db;
  std::string in = writeFile("proxy-attrib-mid.dxf", text);
  ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  std::string out = tempPath("proxy-attrib-mid-out.dxf");
  ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  std::vector<std::string> handles;
  for (const Record& r : readRecords(out))
    if (r.type == "ATTRIB" || r.type == "SEQEND") handles.push_back(r.type + " " + r.handle);
  EXPECT_EQ(handles, (std::vector<std::string>{"ATTRIB 3F", "ATTRIB 50", "ATTRIB 51", "SEQEND 40"}));

  AcDbIdMapping map;
  AcDbObjectId copy = copyOf(db.db, "3E", map);
  ASSERT_FALSE(copy.isNull());
  AcDbObjectId proxyCopy = cloneOf(map, idOf(db.db, "50"));
  ASSERT_FALSE(proxyCopy.isNull()) << "the proxy attribute is copied with its insert";
  EXPECT_EQ(ownerOf(proxyCopy), copy);
  EXPECT_EQ(ownerOf(idOf(db.db, "50")), idOf(db.db, "3E"));
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, copy, AcDb::kForRead), Acad::eOk);
  std::vector<AcDbObjectId> attrs;
  AcDbObjectIterator* it = ref->attributeIterator();
  for (; it && !it->done(); it->step()) attrs.push_back(it->objectId());
  delete it;
  ref->close();
  EXPECT_EQ(attrs, (std::vector<AcDbObjectId>{cloneOf(map, idOf(db.db, "3F")), proxyCopy, cloneOf(map, idOf(db.db, "51"))}));

  // Saved, the copy's proxy attribute keeps the groups of the original under its own handle.
  ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  auto saved = byHandle(readRecords(out));
  char hex[20];
  proxyCopy.handle().getIntoAsciiBuffer(hex);
  ASSERT_TRUE(saved.count(hex));
  EXPECT_EQ(saved[hex].type, "ATTRIB");
  EXPECT_EQ(saved[hex].first(1), "KITCHEN");
  char copyHex[20];
  copy.handle().getIntoAsciiBuffer(copyHex);
  EXPECT_EQ(recordOwner(saved[hex]), copyHex);
}

// A link kept as a proxy (a version its class does not read, or no class at all) in the
// polyline's extension dictionary: the copy's dictionary owns a copy of it, never the original.
TEST(ProxyDeepClone, ACopiedPolylinesDictionaryOwnsItsOwnCopyOfTheProxy) {
  for (int version : {1, 2}) {
    SCOPED_TRACE(version);
    DbScope db;
    std::string in = writeFile("proxy-clone-in.dxf", linkedDrawing(false, version));
    ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    const AcDbObjectId link = idOf(db.db, "45"), xdict = idOf(db.db, "44");
    {
      AcDbObject* obj = openByHandle(db.db, "45");
      ASSERT_NE(obj, nullptr);
      EXPECT_NE(AcDbProxyObject::cast(obj), nullptr);
      obj->close();
    }
    AcDbIdMapping map;
    AcDbObjectId copy = copyOf(db.db, "41", map);
    ASSERT_FALSE(copy.isNull());
    const AcDbObjectId xdictCopy = cloneOf(map, xdict), linkCopy = cloneOf(map, link);
    ASSERT_FALSE(xdictCopy.isNull());
    ASSERT_FALSE(linkCopy.isNull()) << "the proxy is copied with the dictionary that owns it";
    EXPECT_NE(linkCopy, link);

    AcDbDictionary* dict = nullptr;
    ASSERT_EQ(acdbOpenObject(dict, xdictCopy, AcDb::kForRead), Acad::eOk);
    AcDbObjectId entry;
    EXPECT_EQ(dict->getAt("ZORVIK", entry), Acad::eOk);
    dict->close();
    EXPECT_EQ(entry, linkCopy);
    EXPECT_EQ(ownerOf(linkCopy), xdictCopy);
    EXPECT_EQ(ownerOf(link), xdict) << "the original keeps its owner";

    // Saved: every object is listed by one dictionary, which its owner group names; the copy of
    // the link keeps its groups, its pointer to the attribute (not copied) unchanged.
    std::string out = tempPath("proxy-clone-out.dxf");
    ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    const auto recs = readRecords(out);
    auto saved = byHandle(recs);
    for (const auto& e : dictionaryEntries(recs)) {
      EXPECT_EQ(e.second.size(), 1u) << e.first << " is listed by more than one dictionary";
      ASSERT_TRUE(saved.count(e.first)) << e.first;
      EXPECT_EQ(recordOwner(saved[e.first]), *e.second.begin()) << e.first;
    }
    char hex[20];
    linkCopy.handle().getIntoAsciiBuffer(hex);
    ASSERT_TRUE(saved.count(hex));
    EXPECT_EQ(saved[hex].type, "PLINENOTIFYOBJECT");
    EXPECT_EQ(saved[hex].first(70), std::to_string(version));
    EXPECT_EQ(saved[hex].values(330).back(), "3F");
  }
}
