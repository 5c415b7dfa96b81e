// object_iterator.cpp - AcDbObjectIterator over a list of entity ids.
#include "db_internal.h"
#include "db/db_services.h"

namespace pf {

class ObjectIteratorImpl {
public:
  std::vector<AcDbObjectId> ids;
  long pos = 0;

  static AcDbObjectIterator* make(const std::vector<AcDbObjectId>& ids) {
    AcDbObjectIterator* it = new AcDbObjectIterator;
    it->mImp->ids = ids;
    it->start();
    return it;
  }
  bool valid() const { return pos >= 0 && pos < static_cast<long>(ids.size()); }
  bool live(long i) const { return !ids[static_cast<size_t>(i)].isErased(); }
};

AcDbObjectIterator* newObjectIterator(const std::vector<AcDbObjectId>& ids) { return ObjectIteratorImpl::make(ids); }

}  // namespace pf

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbObjectIterator, AcRxObject)

AcDbObjectIterator::AcDbObjectIterator() : mImp(new pf::ObjectIteratorImpl) {}
AcDbObjectIterator::~AcDbObjectIterator() { delete mImp; }

bool AcDbObjectIterator::done() const { return !mImp->valid(); }

// Starts at the first (or last) entity that is not erased.
void AcDbObjectIterator::start(bool atEnd) {
  long n = static_cast<long>(mImp->ids.size());
  if (atEnd) {
    mImp->pos = n - 1;
    while (mImp->pos >= 0 && !mImp->live(mImp->pos)) --mImp->pos;
  } else {
    mImp->pos = 0;
    while (mImp->pos < n && !mImp->live(mImp->pos)) ++mImp->pos;
  }
}

void AcDbObjectIterator::step(bool backwards, bool skipDeleted) {
  long n = static_cast<long>(mImp->ids.size());
  if (!mImp->valid()) return;
  do {
    mImp->pos += backwards ? -1 : 1;
  } while (skipDeleted && mImp->valid() && !mImp->live(mImp->pos));
  if (mImp->pos < -1) mImp->pos = -1;
  if (mImp->pos > n) mImp->pos = n;
}

void AcDbObjectIterator::setPosition(AcDbEntity* pEnt) {
  if (pEnt != nullptr) setPosition(pEnt->objectId());
}

void AcDbObjectIterator::setPosition(AcDbObjectId id) {
  for (size_t i = 0; i < mImp->ids.size(); ++i)
    if (mImp->ids[i] == id) mImp->pos = static_cast<long>(i);
}

AcDbObjectId AcDbObjectIterator::objectId() {
  return mImp->valid() ? mImp->ids[static_cast<size_t>(mImp->pos)] : AcDbObjectId::kNull;
}

AcDbEntity* AcDbObjectIterator::entity() {
  AcDbObject* obj = pf::peekObject(objectId());
  if (obj == nullptr || !pf::impl(obj)->isOpen()) return nullptr;
  return AcDbEntity::cast(obj);
}
