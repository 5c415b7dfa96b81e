// rxinit_builtin.cpp - creates the class objects of the runtime's own classes when the runtime
// starts. Every layer above registers its own classes (pf::registerClassInit); parents first is
// not required: the hierarchy is linked by name afterwards.
#include "rx_internal.h"
#include "rxevent.h"

namespace pf {

void registerBuiltinClasses() {
  newAcRxClass("AcRxObject", "");
  AcRxClass::rxInit();
  AcRxDictionary::rxInit();
  AcRxIterator::rxInit();
  AcRxDictionaryIterator::rxInit();
  AcRxEventReactor::rxInit();
  AcRxEvent::rxInit();
}

}  // namespace pf
