// db_internal.h - the database's private structures: id stubs, per-database and per-object
// state, and the internal open/close and notification paths shared by the db sources.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include "dbmain.h"
#include "dbdict.h"
#include "dbsymtb.h"
#include "dbidmap.h"
#include "db/dwg_filer.h"
#include "stub_store.h"
#include "id_index.h"

namespace pf {

class DatabaseImpl {
public:
  explicit DatabaseImpl(AcDbDatabase* self) : self(self) {}

  AcDbStub* newStub(const AcDbHandle& handle);
  AcDbStub* stubForHandle(const AcDbHandle& handle, bool create);
  // Makes obj resident under the stub (a new handle when stub is null).
  Acad::ErrorStatus adopt(AcDbObject* obj, AcDbStub* stub);

  AcDbDatabase* self;
  Adesk::UInt64 handseed = 1;
  StubStore stubs;
  HandleTable byHandle{stubs};
  AcDbObjectId blockTable;
  AcDbObjectId namedObjects;
  std::string filename;
  bool destroying = false;
  // What the drawing reader keeps beside the objects (platform/dxf), freed with the database.
  std::shared_ptr<void> dxfState;
};

// The common properties of an entity (kept inside the object state of every object: entities
// are nearly all of a drawing). Names are pooled (db/pooled_name.h).
// The linetype scale and unmodelled groups, rarely set, are kept with the object's extras.
struct EntityData {
  const char* layer = "0";
  const char* linetype = "ByLayer";
  Adesk::UInt16 color = 256;  // by layer
  Adesk::Int16 lineWeight = AcDb::kLnWtByLayer;
  bool invisible = false;
  bool paperSpaceFlag = false;  // 67 1 as read from a file
};

// Where a record read from a file had its groups in an order other than the one this platform
// writes: kept (only for such records) so that an object saved unchanged comes back group for
// group as it was read. Writers differ, e.g. on whether reactors or the extension dictionary
// come first, and on the order of the common entity groups.
struct FileLayout {
  // The items before the first subclass marker: 'X' the extension dictionary group, 'R' the
  // reactor group, 'K' one group kept from the file, 'O' the owner.
  std::string head;
  // The codes of the AcDbEntity subclass, in file order (empty: the platform's order).
  std::vector<std::int16_t> entity;
  bool empty() const { return head.empty() && entity.empty(); }
};

// What few objects have: kept apart so that the many objects without them stay small.
struct ObjectExtras {
  AcDbVoidPtrArray reactors;
  AcDbObjectId xdict;
  resbuf* keptHead = nullptr;  // DXF groups before the first subclass marker we do not model
  double linetypeScale = 1.0;    // of an entity
  resbuf* entityKept = nullptr;  // AcDbEntity groups not modelled (true colour, plot style ...)
  std::unique_ptr<MemoryDwgFiler> undo;  // the object as it was when opened for write
  bool undoErased = false;
  std::unique_ptr<FileLayout> layout;  // only for records read in an order of their own
  ObjectExtras() = default;
  ObjectExtras(const ObjectExtras&) = delete;
  ObjectExtras& operator=(const ObjectExtras&) = delete;
  ~ObjectExtras();
  bool empty() const {
    return reactors.isEmpty() && xdict.isNull() && keptHead == nullptr && linetypeScale == 1.0 &&
           entityKept == nullptr && !undo && !layout;
  }
};

class ObjectImpl {
public:
  ObjectImpl()
      : write(false), notify(false), notifying(false), isNew(true), fromNotify(false),
        modified(false), modifiedXData(false), modifiedGraphics(false), eraseToggled(false),
        openedForModifySent(false), silent(false), inFlux(false), restoring(false), cancelling(false),
        inObjectBlock(false) {}
  ~ObjectImpl();

  AcDbStub* stub = nullptr;
  AcDbObjectId owner;
  resbuf* xdata = nullptr;
  mutable std::unique_ptr<ObjectExtras> extras;

  AcDbObjectId xdict() const { return extras ? extras->xdict : AcDbObjectId::kNull; }
  void setXdict(AcDbObjectId id) {
    if (!id.isNull() || extras) more().xdict = id;
    trimExtras();
  }
  resbuf* keptHead() const { return extras ? extras->keptHead : nullptr; }
  resbuf*& keptHeadForChange() { return more().keptHead; }

  // The reactor list (empty for most objects; made on first use).
  const AcDbVoidPtrArray& reactors() const { return extras ? extras->reactors : noReactors(); }
  AcDbVoidPtrArray& reactorsForChange() const { return more().reactors; }
  ObjectExtras& more() const {
    if (!extras) extras.reset(new ObjectExtras);
    return *extras;
  }
  static const AcDbVoidPtrArray& noReactors();
  void setReactors(const AcDbVoidPtrArray& list) {
    if (!list.isEmpty() || extras) more().reactors = list;
  }
  // The file's layout of this object's groups, or null (the platform's order).
  const FileLayout* layout() const { return extras ? extras->layout.get() : nullptr; }
  FileLayout& layoutForChange() {
    ObjectExtras& x = more();
    if (!x.layout) x.layout.reset(new FileLayout);
    return *x.layout;
  }
  // Forgets the undo record of the opening.
  void dropUndo() {
    if (!extras) return;
    extras->undo.reset();
    trimExtras();
  }
  // Frees the extras when nothing is left in them.
  void trimExtras() {
    if (extras && extras->empty()) extras.reset();
  }

  // Open state. hostNotify counts the platform's own notify opens (sending notifications),
  // which the caller's close() never touches.
  std::int16_t readers = 0;  // at most kMaxReaders
  std::int16_t hostNotify = 0;
  bool write : 1;
  bool notify : 1;
  bool notifying : 1;
  bool isNew : 1;
  bool fromNotify : 1;

  // Changes of the current opening, reported at close.
  bool modified : 1;
  bool modifiedXData : 1;
  bool modifiedGraphics : 1;
  bool eraseToggled : 1;
  bool openedForModifySent : 1;

  bool silent : 1;      // notifications held back (a clone before id translation)
  bool inFlux : 1;
  bool restoring : 1;   // cancel() replaying the undo record
  bool cancelling : 1;
  bool inObjectBlock : 1;  // lives in the object's own allocation (see AcDbObject::operator new)

  EntityData entity;

  // The protected hooks, reached through this friend.
  static Acad::ErrorStatus subOpen(AcDbObject* obj, AcDb::OpenMode mode) { return obj->subOpen(mode); }
  static Acad::ErrorStatus subClose(AcDbObject* obj) { return obj->subClose(); }

  bool isOpen() const { return readers > 0 || write || notify || hostNotify > 0; }
};

inline ObjectImpl* impl(const AcDbObject* obj) { return obj->pfImpl(); }

// Room for `count` more objects in db (the drawing reader knows about how many it will add).
void reserveObjects(AcDbDatabase* db, std::size_t count);

// The object an id names (even if closed), or null. Never opens anything.
AcDbObject* peekObject(AcDbObjectId id);

// Opening and closing without fault injection (the platform's own use).
Acad::ErrorStatus openObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased);
Acad::ErrorStatus closeObject(AcDbObject* obj);
// Open and close for notify by the platform itself (may nest, works while open for write).
Acad::ErrorStatus openForHostNotify(AcDbObject*& obj, AcDbObjectId id);
void closeHostNotify(AcDbObject* obj);
// Closes a clone without sending anything.
void closeSilently(AcDbObject* obj);

// Sends a notification to every reactor of obj: persistent ones opened for notify (skipped if
// erased or missing), transient ones called directly.
void notifyReactors(const AcDbObject* obj, const std::function<void(AcDbObject*)>& persistent,
                    const std::function<void(AcDbObjectReactor*)>& transient);

// Marks a change for notification at close, the way assertWriteEnabled does, without the
// write check (the platform's own bookkeeping changes).
void markModified(AcDbObject* obj);

// Persistent reactor entries in the reactor list carry the stub with the low bit set.
void* encodePersistent(AcDbStub* stub);
bool isPersistentEntry(void* p);
AcDbStub* decodePersistent(void* p);

// resbuf lists.
resbuf* copyResbufChain(const resbuf* rb);
void freeResbufChain(resbuf* rb);

// Block records and dictionaries, without the open-state checks of the public calls.
void appendEntityInternal(AcDbBlockTableRecord* block, AcDbObjectId entityId);
void removeEntryInternal(AcDbDictionary* dict, AcDbObjectId entryId);

// Deep clone state kept in the mapping.
class IdMappingImpl {
public:
  std::vector<AcDbIdPair> pairs;
  IdIndex index;  // key id -> position in pairs
  AcDbDatabase* destDb = nullptr;
  AcDbDatabase* origDb = nullptr;
  AcDb::DeepCloneType context = AcDb::kDcObjects;
  AcDb::DuplicateRecordCloning drc = AcDb::kDrcIgnore;
  bool begun = false;
  bool finished = false;
};

}  // namespace pf

namespace pf {
Acad::ErrorStatus dwgOutResbuf(AcDbDwgFiler* filer, const resbuf* rb);
Acad::ErrorStatus dwgInResbuf(AcDbDwgFiler* filer, resbuf*& rb);
}  // namespace pf
