// style_names.h - names of the records entities refer to, as DXF files them.
//
// DXF names a text's style and an insert's block by name where the database holds an id. On
// writing, the record's current name is used; a name read from a file that resolved to no
// record is kept by the entity and written back as it was, so nothing read is lost.
#pragma once
#include <string>

#include "dbid.h"

class AcDbDatabase;

namespace pf {

// The name of the text style id refers to, or fallback when it names no readable record.
std::string textStyleName(AcDbObjectId style, const std::string& fallback);
// The id of the text style of that name in db, or null.
AcDbObjectId textStyleId(AcDbDatabase* db, const std::string& name);

// The name of the block table record id refers to, or fallback.
std::string blockName(AcDbObjectId block, const std::string& fallback);
// The id of the block table record of that name in db, or null.
AcDbObjectId blockId(AcDbDatabase* db, const std::string& name);

}  // namespace pf
