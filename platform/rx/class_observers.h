// rx/class_observers.h - who hears of runtime classes leaving the class dictionary. An observer
// is told of each class deleteAcRxClass removes, after its removal and in the order of the
// calls: how a host watches which of a module's classes go at unload, and in which order.
#pragma once

class AcRxClass;

namespace pf {

using ClassDeletionObserver = void (*)(const AcRxClass* deleted);

// Adding an observer that is already there, or removing one that is not, changes nothing.
void addClassDeletionObserver(ClassDeletionObserver observer);
void removeClassDeletionObserver(ClassDeletionObserver observer);

// Tells every observer, in the order they were added (deleteAcRxClass calls it).
void notifyClassDeleted(const AcRxClass* deleted);

}  // namespace pf
