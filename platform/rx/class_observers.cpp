// The observers of class deletion (class_observers.h).
#include "rx/class_observers.h"

#include <algorithm>
#include <vector>

namespace pf {
namespace {

std::vector<ClassDeletionObserver>& observers() {
  static auto* list = new std::vector<ClassDeletionObserver>;  // classes go in static destructors too
  return *list;
}

}  // namespace

void addClassDeletionObserver(ClassDeletionObserver observer) {
  auto& list = observers();
  if (observer != nullptr && std::find(list.begin(), list.end(), observer) == list.end())
    list.push_back(observer);
}

void removeClassDeletionObserver(ClassDeletionObserver observer) {
  auto& list = observers();
  list.erase(std::remove(list.begin(), list.end(), observer), list.end());
}

void notifyClassDeleted(const AcRxClass* deleted) {
  // A copy: an observer may remove itself while it is told.
  const std::vector<ClassDeletionObserver> list = observers();
  for (ClassDeletionObserver observer : list) observer(deleted);
}

}  // namespace pf
