// rx_internal.h - the runtime class object and dictionary implementations (platform only).
#pragma once
#include <string>
#include <vector>
#include "rxobject.h"

namespace pf {

class RxClassImpl : public AcRxClass {
public:
  RxClassImpl(const char* name, const char* parent, int dwgVer, int maintVer, int proxyFlags,
              AcRxObject* (*ctor)(), const char* dxfName, const char* appName);

  void update(const char* parent, int dwgVer, int maintVer, int proxyFlags, AcRxObject* (*ctor)(),
              const char* dxfName, const char* appName);
  const std::string& parentName() const { return mParentName; }
  void setParent(AcRxClass* parent);

  AcRxObject* addX(AcRxClass* protocolClass, AcRxObject* protocolObject) override;
  AcRxObject* getX(const AcRxClass* protocolClass) override;
  AcRxObject* delX(AcRxClass* protocolClass) override;
  AcRxObject* queryX(const AcRxClass* protocolClass) override;
  AcRxObject* create() override;
  const char* appName() const override { return mAppName.c_str(); }
  const char* dxfName() const override { return mDxfName.c_str(); }
  const char* name() const override { return mName.c_str(); }
  void getClassVersion(int& dwgVersion, int& maintVersion) const override {
    dwgVersion = mDwgVer;
    maintVersion = mMaintVer;
  }
  int proxyFlags() const override { return mProxyFlags; }
  bool isDerivedFrom(const AcRxClass* other) const override;
  AcRxClass* myParent() const override { return mParent; }
  AcRx::Ordering comparedTo(const AcRxObject* other) const override;
  void* pcPtr() const override { return mPc; }
  void setPcPtr(void* newPc) override { mPc = newPc; }

private:
  std::string mName;
  std::string mParentName;
  std::string mDxfName;
  std::string mAppName;
  int mDwgVer;
  int mMaintVer;
  int mProxyFlags;
  AcRxObject* (*mCtor)();
  AcRxClass* mParent = nullptr;
  void* mPc = nullptr;
  // The chain from the root class down to this one, for isDerivedFrom in constant time; rebuilt
  // when any class's parent has changed since (casts run for every object a drawing reads or
  // writes).
  mutable std::vector<const AcRxClass*> mLineage;
  mutable unsigned mLineageVersion = 0;
  std::vector<std::pair<const AcRxClass*, AcRxObject*>> mX;
};

// Starts the runtime (system registry, class dictionary, built-in classes) once.
void ensureRuntime();

}  // namespace pf
