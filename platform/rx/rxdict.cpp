// rxdict.cpp - the runtime dictionary, the system registry and the start of the runtime.
#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_map>
#include <vector>
#include "rx_internal.h"
#include "rx/rxinit.h"

namespace pf {
namespace {

std::string foldKey(const char* key, bool caseSensitive) {
  std::string s(key ? key : "");
  if (!caseSensitive)
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Entries keep their id (their index) for life; removed entries leave a hole.
class RxDictionary : public AcRxDictionary {
public:
  RxDictionary(bool caseSensitive, bool deletesObjects)
      : mCaseSensitive(caseSensitive), mDeletes(deletesObjects) {}
  ~RxDictionary() override {
    if (mDeletes)
      for (auto& e : mEntries)
        if (e.live) delete e.object;
  }

  AcRxObject* at(const char* key) const override {
    auto it = mIndex.find(foldKey(key, mCaseSensitive));
    return it == mIndex.end() ? nullptr : mEntries[it->second].object;
  }
  AcRxObject* at(Adesk::UInt32 id) const override {
    return id < mEntries.size() && mEntries[id].live ? mEntries[id].object : nullptr;
  }
  AcRxObject* atPut(const char* key, AcRxObject* pObject, Adesk::UInt32& retId) override {
    if (key == nullptr) return nullptr;
    std::string folded = foldKey(key, mCaseSensitive);
    auto it = mIndex.find(folded);
    if (it != mIndex.end()) {
      Entry& e = mEntries[it->second];
      AcRxObject* old = e.object;
      e.object = pObject;
      retId = static_cast<Adesk::UInt32>(it->second);
      return old;
    }
    mEntries.push_back(Entry{key, pObject, true});
    retId = static_cast<Adesk::UInt32>(mEntries.size() - 1);
    mIndex[folded] = mEntries.size() - 1;
    return nullptr;
  }
  bool resetKey(const char* oldKey, const char* newKey) override {
    auto it = mIndex.find(foldKey(oldKey, mCaseSensitive));
    if (it == mIndex.end()) return false;
    return resetKey(static_cast<Adesk::UInt32>(it->second), newKey);
  }
  bool resetKey(Adesk::UInt32 id, const char* newKey) override {
    if (id >= mEntries.size() || !mEntries[id].live || newKey == nullptr) return false;
    std::string folded = foldKey(newKey, mCaseSensitive);
    auto clash = mIndex.find(folded);
    if (clash != mIndex.end() && clash->second != id) return false;
    mIndex.erase(foldKey(mEntries[id].key.c_str(), mCaseSensitive));
    mEntries[id].key = newKey;
    mIndex[folded] = id;
    return true;
  }
  bool atKeyAndIdPut(const char* newKey, Adesk::UInt32 id, AcRxObject* pObject) override {
    if (newKey == nullptr) return false;
    std::string folded = foldKey(newKey, mCaseSensitive);
    auto clash = mIndex.find(folded);
    if (clash != mIndex.end() && clash->second != id) return false;
    if (id >= mEntries.size()) mEntries.resize(id + 1);
    Entry& e = mEntries[id];
    if (e.live) mIndex.erase(foldKey(e.key.c_str(), mCaseSensitive));
    e = Entry{newKey, pObject, true};
    mIndex[folded] = id;
    return true;
  }
  AcRxObject* remove(const char* key) override {
    auto it = mIndex.find(foldKey(key, mCaseSensitive));
    if (it == mIndex.end()) return nullptr;
    return remove(static_cast<Adesk::UInt32>(it->second));
  }
  AcRxObject* remove(Adesk::UInt32 id) override {
    if (id >= mEntries.size() || !mEntries[id].live) return nullptr;
    Entry& e = mEntries[id];
    mIndex.erase(foldKey(e.key.c_str(), mCaseSensitive));
    e.live = false;
    AcRxObject* old = e.object;
    e.object = nullptr;
    return old;
  }
  bool has(const char* entryName) const override {
    return mIndex.count(foldKey(entryName, mCaseSensitive)) != 0;
  }
  bool has(Adesk::UInt32 id) const override { return id < mEntries.size() && mEntries[id].live; }
  Adesk::UInt32 idAt(const char* key) const override {
    auto it = mIndex.find(foldKey(key, mCaseSensitive));
    return it == mIndex.end() ? static_cast<Adesk::UInt32>(-1) : static_cast<Adesk::UInt32>(it->second);
  }
  const char* keyAt(Adesk::UInt32 id) const override {
    return id < mEntries.size() && mEntries[id].live ? mEntries[id].key.c_str() : nullptr;
  }
  Adesk::UInt32 numEntries() const override { return static_cast<Adesk::UInt32>(mIndex.size()); }
  AcRxDictionaryIterator* newIterator(AcRx::DictIterType type) override;
  bool deletesObjects() const override { return mDeletes; }
  bool isCaseSensitive() const override { return mCaseSensitive; }
  bool isSorted() const override { return true; }

  struct Entry {
    std::string key;
    AcRxObject* object = nullptr;
    bool live = false;
  };
  std::vector<Entry> mEntries;

private:
  std::unordered_map<std::string, size_t> mIndex;
  bool mCaseSensitive;
  bool mDeletes;
};

// Iterates a snapshot of the ids, so entries added or removed meanwhile do not upset it.
class RxDictionaryIterator : public AcRxDictionaryIterator {
public:
  RxDictionaryIterator(const RxDictionary* dict, AcRx::DictIterType type) : mDict(dict) {
    for (size_t i = 0; i < dict->mEntries.size(); ++i)
      if (dict->mEntries[i].live) mIds.push_back(static_cast<Adesk::UInt32>(i));
    if (type == AcRx::kDictSorted) {
      std::stable_sort(mIds.begin(), mIds.end(), [dict](Adesk::UInt32 a, Adesk::UInt32 b) {
        return dict->mEntries[a].key < dict->mEntries[b].key;
      });
    }
    skipDead();
  }
  bool done() const override { return mPos >= mIds.size(); }
  bool next() override {
    if (done()) return false;
    ++mPos;
    skipDead();
    return !done();
  }
  AcRxObject* object() const override { return done() ? nullptr : mDict->at(mIds[mPos]); }
  const char* key() const override { return done() ? nullptr : mDict->keyAt(mIds[mPos]); }
  Adesk::UInt32 id() const override { return done() ? static_cast<Adesk::UInt32>(-1) : mIds[mPos]; }

private:
  void skipDead() {
    while (mPos < mIds.size() && !mDict->has(mIds[mPos])) ++mPos;
  }
  const RxDictionary* mDict;
  std::vector<Adesk::UInt32> mIds;
  size_t mPos = 0;
};

AcRxDictionaryIterator* RxDictionary::newIterator(AcRx::DictIterType type) {
  return new RxDictionaryIterator(this, type);
}

struct Runtime {
  AcRxDictionary* registry = nullptr;
  bool started = false;
  std::vector<void (*)()> pendingInits;
};

Runtime& runtime() {
  static Runtime rt;
  return rt;
}

}  // namespace

AcRxDictionary* newRxDictionary(bool caseSensitive, bool deletesObjects) {
  return new RxDictionary(caseSensitive, deletesObjects);
}

// The runtime's own classes (rxinit_builtin.cpp).
void registerBuiltinClasses();

void ensureRuntime() {
  Runtime& rt = runtime();
  if (rt.registry != nullptr) return;
  rt.registry = new RxDictionary(true, false);
  rt.registry->atPut(ACRX_CLASS_DICTIONARY, new RxDictionary(true, false));
  rt.registry->atPut(ACRX_SERVICE_DICTIONARY, new RxDictionary(true, false));
  registerBuiltinClasses();
  rt.started = true;
  std::vector<void (*)()> pending;
  pending.swap(rt.pendingInits);
  for (auto init : pending) init();
  acrxBuildClassHierarchy();
}

bool registerClassInit(void (*init)()) {
  Runtime& rt = runtime();
  if (rt.started) {
    init();
    acrxBuildClassHierarchy();
  } else {
    rt.pendingInits.push_back(init);
  }
  return true;
}

}  // namespace pf

extern "C" AcRxDictionary* acrxSysRegistry() {
  pf::ensureRuntime();
  return pf::runtime().registry;
}
