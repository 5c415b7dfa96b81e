// reg_store.h - the registry of this process: the predefined keys, the open key handles, and
// the HKEY_CURRENT_USER hive's file with the changes not yet saved to it.
#pragma once
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "win/reg_model.h"
#include "winreg.h"

namespace pf {
namespace reg {

enum RootId { kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig, kRootCount };

// A change to HKEY_CURRENT_USER, replayed over the file's content when the hive is saved.
struct Change {
  enum Kind { kCreateKey, kSetValue, kDeleteValue } kind = kCreateKey;
  std::vector<std::string> path;
  std::string name;
  DWORD type = 0;
  std::string data;
};

// What an open handle stands for.
struct OpenKey {
  RootId root = kCurrentUser;
  std::vector<std::string> path;
  REGSAM access = 0;
};

class Store {
 public:
  static Store& instance();

  // Every member below expects the caller to hold mutex(); report() collects messages that
  // flushReports() delivers once the lock is released.
  std::mutex& mutex() { return mutex_; }

  Key& root(RootId id);
  // Resolves a handle (predefined or open); false for an unknown handle.
  bool resolve(HKEY handle, OpenKey& out) const;
  HKEY addHandle(const OpenKey& key);
  bool removeHandle(HKEY handle);

  void record(RootId root, Change change);
  bool hasPending() const { return !pending_.empty(); }
  bool save();  // true when nothing was pending or everything was saved
  bool load(const std::string& path);
  const std::string& hivePath();
  const std::string& problem() const { return problem_; }
  void setReporter(void (*reporter)(const std::string&)) { reporter_ = reporter; }

  // Delivers the collected messages; call without holding the lock.
  void flushReports();

 private:
  Store();
  void ensureLoaded();
  void report(const std::string& message);
  bool readHiveFile(Key& into, bool& exists);  // reports and answers false on a fault

  std::mutex mutex_;
  Key roots_[kRootCount];
  std::map<uintptr_t, OpenKey> handles_;
  uintptr_t nextHandle_ = 0x1000;
  std::vector<Change> pending_;
  std::string hivePath_;
  bool loaded_ = false;
  std::string problem_;
  std::vector<std::string> reports_;
  void (*reporter_)(const std::string&) = nullptr;
};

// Holds the store's lock and delivers its reports when released.
class StoreLock {
 public:
  StoreLock() : store_(Store::instance()), lock_(store_.mutex()) {}
  ~StoreLock() {
    lock_.unlock();
    store_.flushReports();
  }
  Store& store() { return store_; }

 private:
  Store& store_;
  std::unique_lock<std::mutex> lock_;
};

}  // namespace reg
}  // namespace pf
