// rxclass.cpp - runtime class objects: creation, lookup, hierarchy, deletion.
#include <algorithm>
#include <cstring>
#include <strings.h>
#include "rx_internal.h"
#include "rx/class_observers.h"
#include "rx/rxinit.h"

namespace pf {

RxClassImpl::RxClassImpl(const char* name, const char* parent, int dwgVer, int maintVer,
                         int proxyFlags, AcRxObject* (*ctor)(), const char* dxfName,
                         const char* appName)
    : mName(name ? name : "") {
  update(parent, dwgVer, maintVer, proxyFlags, ctor, dxfName, appName);
}

void RxClassImpl::update(const char* parent, int dwgVer, int maintVer, int proxyFlags,
                         AcRxObject* (*ctor)(), const char* dxfName, const char* appName) {
  mParentName = parent ? parent : "";
  mDwgVer = dwgVer;
  mMaintVer = maintVer;
  mProxyFlags = proxyFlags;
  mCtor = ctor;
  mDxfName = dxfName ? dxfName : "";
  mAppName = appName ? appName : "";
}

AcRxObject* RxClassImpl::addX(AcRxClass* protocolClass, AcRxObject* protocolObject) {
  for (auto& entry : mX) {
    if (entry.first == protocolClass) {
      AcRxObject* old = entry.second;
      entry.second = protocolObject;
      return old;
    }
  }
  mX.emplace_back(protocolClass, protocolObject);
  return nullptr;
}

AcRxObject* RxClassImpl::getX(const AcRxClass* protocolClass) {
  for (auto& entry : mX)
    if (entry.first == protocolClass) return entry.second;
  return nullptr;
}

AcRxObject* RxClassImpl::delX(AcRxClass* protocolClass) {
  for (auto it = mX.begin(); it != mX.end(); ++it) {
    if (it->first == protocolClass) {
      AcRxObject* old = it->second;
      mX.erase(it);
      return old;
    }
  }
  return nullptr;
}

// Protocol extensions are inherited: the nearest class that has one answers.
AcRxObject* RxClassImpl::queryX(const AcRxClass* protocolClass) {
  for (AcRxClass* c = this; c != nullptr; c = c->myParent()) {
    AcRxObject* x = c->getX(protocolClass);
    if (x != nullptr) return x;
  }
  return nullptr;
}

AcRxObject* RxClassImpl::create() { return mCtor ? mCtor() : nullptr; }

namespace {
// Counts changes of any class's parent; 0 is never current, so every lineage starts stale.
unsigned gClassTreeVersion = 1;
}  // namespace

void RxClassImpl::setParent(AcRxClass* parent) {
  mParent = parent;
  ++gClassTreeVersion;
}

bool RxClassImpl::isDerivedFrom(const AcRxClass* other) const {
  if (other == nullptr) return false;
  if (other == this) return true;
  // Every class is an RxClassImpl.
  const RxClassImpl* o = static_cast<const RxClassImpl*>(other);
  for (const RxClassImpl* c : {this, o}) {
    if (c->mLineageVersion == gClassTreeVersion) continue;
    c->mLineage.clear();
    // The bound guards against a parent cycle made by a damaged registration.
    for (const AcRxClass* p = c; p != nullptr && c->mLineage.size() < 256;
         p = static_cast<const RxClassImpl*>(p)->mParent)
      c->mLineage.push_back(p);
    std::reverse(c->mLineage.begin(), c->mLineage.end());  // root first
    c->mLineageVersion = gClassTreeVersion;
  }
  // other is an ancestor exactly when it stands at its own depth in this class's chain.
  const std::size_t depth = o->mLineage.size() - 1;
  return depth < mLineage.size() && mLineage[depth] == other;
}

AcRx::Ordering RxClassImpl::comparedTo(const AcRxObject* other) const {
  const AcRxClass* o = AcRxClass::cast(other);
  if (o == nullptr) return AcRx::kNotOrderable;
  int c = std::strcmp(name(), o->name());
  return c < 0 ? AcRx::kLessThan : (c > 0 ? AcRx::kGreaterThan : AcRx::kEqual);
}

namespace {

AcRxDictionary* classDict() {
  // Not AcRxDictionary::cast: its desc() comes through here while the runtime starts.
  return static_cast<AcRxDictionary*>(acrxSysRegistry()->at(ACRX_CLASS_DICTIONARY));
}

// Classes removed by deleteAcRxClass stay allocated: objects made by an unloaded module may
// still answer them from isA(), and a dangling class pointer would be worse than a few bytes.
std::vector<AcRxClass*>& retiredClasses() {
  static std::vector<AcRxClass*>* retired = new std::vector<AcRxClass*>;  // lives to the end
  return *retired;
}

void linkParents() {
  AcRxDictionary* dict = classDict();
  AcRxDictionaryIterator* it = dict->newIterator(AcRx::kDictCollated);
  for (; !it->done(); it->next()) {
    RxClassImpl* cls = static_cast<RxClassImpl*>(it->object());
    AcRxClass* parent = nullptr;
    if (!cls->parentName().empty()) parent = static_cast<AcRxClass*>(dict->at(cls->parentName().c_str()));
    cls->setParent(parent);
  }
  delete it;
}

AcRxClass* makeClass(const char* className, const char* parentClassName, int dwgVer, int maintVer,
                     int proxyFlags, AcRxObject* (*ctor)(), const char* dxfName, const char* appName) {
  if (className == nullptr || *className == '\0') return nullptr;
  AcRxDictionary* dict = classDict();
  // Registering a name again (a module loaded anew) refreshes the existing class object, so
  // pointers to it stay valid and the new constructor is used from now on.
  RxClassImpl* cls = static_cast<RxClassImpl*>(dict->at(className));
  if (cls != nullptr) {
    cls->update(parentClassName, dwgVer, maintVer, proxyFlags, ctor, dxfName, appName);
  } else {
    cls = new RxClassImpl(className, parentClassName, dwgVer, maintVer, proxyFlags, ctor, dxfName, appName);
    dict->atPut(className, cls);
  }
  linkParents();
  return cls;
}

}  // namespace

}  // namespace pf

AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int proxyFlags,
                        AcRxObject* (*pseudoConstructor)(), const char* dxfName, const char* appName) {
  return pf::makeClass(className, parentClassName, 0, 0, proxyFlags, pseudoConstructor, dxfName, appName);
}

AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int dwgVer, int maintVer,
                        int proxyFlags, AcRxObject* (*pseudoConstructor)(), const char* dxfName,
                        const char* appName) {
  return pf::makeClass(className, parentClassName, dwgVer, maintVer, proxyFlags, pseudoConstructor,
                       dxfName, appName);
}

extern "C" void deleteAcRxClass(AcRxClass* pClassObj) {
  if (pClassObj == nullptr) return;
  AcRxDictionary* dict = pf::classDict();
  if (dict->at(pClassObj->name()) != pClassObj) return;
  dict->remove(pClassObj->name());
  pf::linkParents();
  static_cast<pf::RxClassImpl*>(pClassObj)->setParent(nullptr);
  pf::retiredClasses().push_back(pClassObj);
  pf::notifyClassDeleted(pClassObj);
}

extern "C" void acrxBuildClassHierarchy() { pf::linkParents(); }

AcRxClass* pfLookupRxClass(const char* name) {
  if (name == nullptr) return nullptr;
  AcRxObject* obj = pf::classDict()->at(name);
  return obj ? static_cast<AcRxClass*>(obj) : nullptr;
}

namespace pf {

AcRxClass* classForDxfName(const char* dxfName) {
  if (dxfName == nullptr || *dxfName == '\0') return nullptr;
  AcRxDictionary* dict = classDict();
  AcRxDictionaryIterator* it = dict->newIterator(AcRx::kDictCollated);
  AcRxClass* found = nullptr;
  for (; !it->done() && found == nullptr; it->next()) {
    AcRxClass* cls = static_cast<AcRxClass*>(it->object());
    if (strcasecmp(cls->dxfName(), dxfName) == 0) found = cls;
  }
  delete it;
  return found;
}

}  // namespace pf
