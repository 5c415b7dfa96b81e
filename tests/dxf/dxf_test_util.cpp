// dxf_test_util.cpp - the hand-built drawing and handle lookup of the DXF tests.
#include "dxf_test_util.h"

#include "dbhandle.h"

namespace dxftest {

std::string linkedDrawing(bool reactorsFirst, int linkVersion, const char* eol) {
  std::vector<std::string> l = {
      "0", "SECTION", "2", "HEADER",
      "9", "$ACADVER", "1", "AC1015",
      "9", "$ACADMAINTVER", "70", "6",
      "9", "$DWGCODEPAGE", "3", "ANSI_1252",
      "9", "$INSUNITS", "70", "6",
      "9", "$HANDSEED", "5", "46",
      "0", "ENDSEC",
      "0", "SECTION", "2", "CLASSES",
      "0", "CLASS", "1", "PLINENOTIFYOBJECT", "2", "CPlineNotifyObject", "3", "zorvik", "90", "0", "280", "0", "281", "0",
      "0", "ENDSEC",
      "0", "SECTION", "2", "TABLES",
      "0", "TABLE", "2", "LTYPE", "5", "5", "330", "0", "100", "AcDbSymbolTable", "70", "1",
      "0", "LTYPE", "5", "16", "330", "5", "100", "AcDbSymbolTableRecord", "100", "AcDbLinetypeTableRecord", "2",
      "Continuous", "70", "0", "3", "Solid line", "72", "65", "73", "0", "40", "0.0",
      "0", "ENDTAB",
      "0", "TABLE", "2", "LAYER", "5", "2", "330", "0", "100", "AcDbSymbolTable", "70", "1",
      "0", "LAYER", "5", "10", "330", "2", "100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord", "2", "0",
      "70", "0", "62", "7", "6", "Continuous",
      "0", "ENDTAB",
      "0", "TABLE", "2", "STYLE", "5", "3", "330", "0", "100", "AcDbSymbolTable", "70", "1",
      "0", "STYLE", "5", "11", "330", "3", "100", "AcDbSymbolTableRecord", "100", "AcDbTextStyleTableRecord", "2",
      "Standard", "70", "0", "40", "0.0", "41", "1.0", "50", "0.0", "71", "0", "42", "2.5", "3", "txt", "4", "",
      "0", "ENDTAB",
      "0", "TABLE", "2", "APPID", "5", "9", "330", "0", "100", "AcDbSymbolTable", "70", "1",
      "0", "APPID", "5", "12", "330", "9", "100", "AcDbSymbolTableRecord", "100", "AcDbRegAppTableRecord", "2", "ACAD",
      "70", "0",
      "0", "ENDTAB",
      "0", "TABLE", "2", "DIMSTYLE", "5", "A", "330", "0", "100", "AcDbSymbolTable", "70", "1", "100",
      "AcDbDimStyleTable", "71", "1", "340", "27",
      "0", "DIMSTYLE", "105", "27", "330", "A", "100", "AcDbSymbolTableRecord", "100", "AcDbDimStyleTableRecord", "2",
      "Standard", "70", "0", "340", "11",
      "0", "ENDTAB",
      "0", "TABLE", "2", "BLOCK_RECORD", "5", "1", "330", "0", "100", "AcDbSymbolTable", "70", "3",
      "0", "BLOCK_RECORD", "5", "1F", "330", "1", "100", "AcDbSymbolTableRecord", "100", "AcDbBlockTableRecord", "2",
      "*Model_Space", "340", "0",
      "0", "BLOCK_RECORD", "5", "1B", "330", "1", "100", "AcDbSymbolTableRecord", "100", "AcDbBlockTableRecord", "2",
      "*Paper_Space", "340", "0",
      "0", "BLOCK_RECORD", "5", "30", "330", "1", "100", "AcDbSymbolTableRecord", "100", "AcDbBlockTableRecord", "2",
      "ROOMTAG", "340", "0",
      "0", "ENDTAB",
      "0", "ENDSEC",
      "0", "SECTION", "2", "BLOCKS",
      "0", "BLOCK", "5", "20", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbBlockBegin", "2", "*Model_Space",
      "70", "0", "10", "0.0", "20", "0.0", "30", "0.0", "3", "*Model_Space", "1", "",
      "0", "ENDBLK", "5", "21", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbBlockEnd",
      "0", "BLOCK", "5", "1C", "330", "1B", "100", "AcDbEntity", "67", "1", "8", "0", "100", "AcDbBlockBegin", "2",
      "*Paper_Space", "70", "0", "10", "0.0", "20", "0.0", "30", "0.0", "3", "*Paper_Space", "1", "",
      "0", "ENDBLK", "5", "1D", "330", "1B", "100", "AcDbEntity", "67", "1", "8", "0", "100", "AcDbBlockEnd",
      "0", "BLOCK", "5", "31", "330", "30", "100", "AcDbEntity", "8", "0", "100", "AcDbBlockBegin", "2", "ROOMTAG",
      "70", "2", "10", "0.0", "20", "0.0", "30", "0.0", "3", "ROOMTAG", "1", "",
      "0", "ATTDEF", "5", "33", "330", "30", "100", "AcDbEntity", "8", "0", "100", "AcDbText", "10", "0.0", "20",
      "0.0", "30", "0.0", "40", "2.5", "1", "0.00", "100", "AcDbAttributeDefinition", "3", "Area", "2", "AREA", "70",
      "0",
      "0", "ENDBLK", "5", "32", "330", "30", "100", "AcDbEntity", "8", "0", "100", "AcDbBlockEnd",
      "0", "ENDSEC",
      "0", "SECTION", "2", "ENTITIES",
      "0", "INSERT", "5", "3E", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbBlockReference", "66", "1",
      "2", "ROOMTAG", "10", "4.0", "20", "3.0", "30", "0.0",
      "0", "ATTRIB", "5", "3F", "330", "3E", "100", "AcDbEntity", "8", "0", "100", "AcDbText", "10", "4.0", "20",
      "3.0", "30", "0.0", "40", "2.5", "1", "48.00", "100", "AcDbAttribute", "2", "AREA", "70", "0",
      "0", "SEQEND", "5", "40", "330", "3E", "100", "AcDbEntity", "8", "0",
      "0", "LWPOLYLINE", "5", "41"};
  std::vector<std::string> xdict = {"102", "{ACAD_XDICTIONARY", "360", "44", "102", "}"};
  std::vector<std::string> reactors = {"102", "{ACAD_REACTORS", "330", "45", "102", "}"};
  const auto& g1 = reactorsFirst ? reactors : xdict;
  const auto& g2 = reactorsFirst ? xdict : reactors;
  l.insert(l.end(), g1.begin(), g1.end());
  l.insert(l.end(), g2.begin(), g2.end());
  std::vector<std::string> rest = {
      "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbPolyline", "90", "4", "70", "1", "43", "0.0",
      "10", "0.0", "20", "0.0", "10", "8.0", "20", "0.0", "42", "0.5", "10", "8.0", "20", "6.0", "10", "0.0", "20", "6.0",
      "0", "ENDSEC",
      "0", "SECTION", "2", "OBJECTS",
      "0", "DICTIONARY", "5", "C", "330", "0", "100", "AcDbDictionary", "281", "1", "3", "ACAD_GROUP", "350", "D",
      "0", "DICTIONARY", "5", "D", "102", "{ACAD_REACTORS", "330", "C", "102", "}", "330", "C", "100",
      "AcDbDictionary", "281", "1",
      "0", "DICTIONARY", "5", "44", "330", "41", "100", "AcDbDictionary", "280", "1", "281", "1", "3", "ZORVIK",
      "360", "45",
      "0", "PLINENOTIFYOBJECT", "5", "45", "102", "{ACAD_REACTORS", "330", "44", "102", "}", "330", "44", "100",
      "PlineNotifyObject", "70", std::to_string(linkVersion), "330", "3F",
      "0", "ENDSEC",
      "0", "EOF"};
  l.insert(l.end(), rest.begin(), rest.end());
  std::string out;
  for (std::size_t i = 0; i < l.size(); ++i) {
    // Group codes right-aligned like the real files, with a few left-aligned ones mixed in.
    if (i % 2 == 0 && l[i].size() < 3 && i % 7 != 0) out += std::string(3 - l[i].size(), ' ');
    out += l[i];
    out += eol;
  }
  return out;
}

AcDbObject* openByHandle(AcDbDatabase* db, const char* hex) {
  AcDbObjectId id;
  if (db->getAcDbObjectId(id, false, AcDbHandle(hex)) != Acad::eOk || id.isNull()) return nullptr;
  AcDbObject* obj = nullptr;
  if (acdbOpenAcDbObject(obj, id, AcDb::kForRead) != Acad::eOk) return nullptr;
  return obj;
}

}  // namespace dxftest
