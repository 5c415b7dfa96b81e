// linkstate.h - what a room's persistent reactors and extension dictionary say about its link.
//
// Reading never logs: a reactor that cannot be opened is a finding of the audit, not a failure
// of the host. The room is open for read (or write) while it is inspected.
#pragma once

#include <vector>

#include "dbmain.h"

class AcDbPolyline;

namespace toolkit {

struct ReactorEntry {
  enum Kind {
    kLink,     // a link object of this module
    kOther,    // an object of another class (another application's reactor)
    kMissing,  // erased, or no object at all
  };
  AcDbObjectId id;
  Kind kind = kOther;
  AcDbObjectId attribute;  // for a link: the attribute it names
};

struct RoomLinks {
  std::vector<ReactorEntry> reactors;  // the persistent ones, in order
  AcDbObjectId dictionaryLink;         // the "ZORVIK" entry of the extension dictionary
  int linkCount() const;
  // The first link reactor, as Update finds it; null when there is none.
  const ReactorEntry* firstLink() const;
};

RoomLinks inspectRoom(AcDbPolyline* room);

}  // namespace toolkit
