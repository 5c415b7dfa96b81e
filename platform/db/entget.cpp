// entget.cpp - acdbEntGet: an entity's data as an ADS result-buffer list.
//
// The list is (-1 <entity name>) (0 <DXF type>) followed by the entity's own DXF groups as its
// dxfOutFields writes them (references as entity names, points as one item), then its
// extended data.
#include <cstdlib>
#include <cstring>
#include "db_internal.h"
#include "acedads.h"
#include "db/dxf_tag_filer.h"

extern "C" struct resbuf* acdbEntGet(const ads_name ent) {
  AcDbObjectId id;
  if (ent == nullptr || acdbGetObjectId(id, ent) != Acad::eOk || id.isNull()) return nullptr;
  AcDbObject* obj = nullptr;
  if (pf::openObject(obj, id, AcDb::kForRead, false) != Acad::eOk) return nullptr;
  pf::TagDxfFiler out(id.database());
  Acad::ErrorStatus es = pf::dxfOutObject(obj, &out);
  const char* type = obj->isA() ? obj->isA()->dxfName() : "";
  std::string dxfType = type ? type : "";
  pf::closeObject(obj);
  if (es != Acad::eOk) return nullptr;

  resbuf* head = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  head->restype = -1;
  head->resval.rlname[0] = ent[0];
  head->resval.rlname[1] = ent[1];
  resbuf* second = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  second->restype = 0;
  second->resval.rstring = strdup(dxfType.c_str());
  head->rbnext = second;
  resbuf** tail = &second->rbnext;

  pf::TagDxfFiler in(id.database(), out.tags());
  in.setReadExtendedData(true);
  resbuf rb;
  while ((es = in.readResBuf(&rb)) == Acad::eOk) {
    resbuf one = rb;
    one.rbnext = nullptr;
    *tail = pf::copyResbufChain(&one);
    tail = &(*tail)->rbnext;
  }
  if (es != Acad::eEndOfObject) {
    pf::freeResbufChain(head);
    return nullptr;
  }
  return head;
}
