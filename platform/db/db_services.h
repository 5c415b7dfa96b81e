// db/db_services.h - database services for the platform's own layers (entities, the drawing
// reader and writer, the editor): things a plug-in never calls.
#pragma once
#include <vector>
#include "dbmain.h"
#include "dbsymtb.h"
#include "dbidmap.h"

namespace pf {

// ---- Ids and handles ------------------------------------------------------------------------

// The id of the object with this handle; with `create`, reserves an id for an object that has
// not been read yet (opening such an id answers ePermanentlyErased until the object arrives).
// Answers the null id for the null handle, or when not found and not `create`.
AcDbObjectId idForHandle(AcDbDatabase* db, const AcDbHandle& handle, bool create);

// Adds a new object under a given handle (as read from a file). Fails with eHandleInUse if an
// object already has the handle, eAlreadyInDb if the object is in a database. The object stays
// open for write, like after addAcDbObject. The handle seed is raised above the handle.
Acad::ErrorStatus addObjectWithHandle(AcDbDatabase* db, AcDbObject* obj, const AcDbHandle& handle,
                                      AcDbObjectId& id);

// Makes the handle seed at least `seed` (it never goes down).
void raiseHandseed(AcDbDatabase* db, const AcDbHandle& seed);

// Every id of the database that names an object, ordered by handle (erased ones included).
std::vector<AcDbObjectId> allObjectIds(const AcDbDatabase* db);
// Ids reserved by handle whose object never arrived (references to missing objects).
std::vector<AcDbObjectId> danglingIds(const AcDbDatabase* db);

// The drawing's root objects, for a database built without the default drawing.
void setBlockTableId(AcDbDatabase* db, AcDbObjectId id);
void setNamedObjectsDictionaryId(AcDbDatabase* db, AcDbObjectId id);
void setFilename(AcDbDatabase* db, const char* fileName);

// ---- Ownership helpers for the drawing reader -------------------------------------------------

// Adds an entity that is already in the database (read from a file) to the end of the block's
// entity list and makes the block its owner. The block must be open for write.
Acad::ErrorStatus appendToBlock(AcDbBlockTableRecord* block, AcDbObjectId entityId);
// Adds a record that is already in the database (read from a file) to the end of the table and
// makes the table its owner, without the name checks of AcDbSymbolTable::add (a drawing's
// records are added as they were saved). The table must be open for write.
Acad::ErrorStatus addToSymbolTable(AcDbSymbolTable* table, AcDbObjectId recordId);
// Gives each dictionary entry its dictionary as a persistent reactor where a file left it out,
// so erasing the entry still removes it. Answers how many links it added.
int linkDictionaryEntries(AcDbDatabase* db);

// ---- Iterators ---------------------------------------------------------------------------------

// An AcDbObjectIterator over a list of entity ids (e.g. the attributes of a block reference).
// The caller deletes it.
AcDbObjectIterator* newObjectIterator(const std::vector<AcDbObjectId>& ids);

// ---- Deep clone ---------------------------------------------------------------------------------

// The context the clone operation reports (deepCloneObjects uses kDcObjects; COPY sets kDcCopy
// before cloning).
void setDeepCloneContext(AcDbIdMapping& map, AcDb::DeepCloneType context);

// ---- Notifications --------------------------------------------------------------------------------

// True while the object's notifications are held back (clones before id translation).
bool notificationsSuppressed(const AcDbObject* obj);

}  // namespace pf
