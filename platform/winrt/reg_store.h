// reg_store.h - the registry of this process: the predefined keys, the open key handles, and
// the HKEY_CURRENT_USER hive's file with the changes not yet saved to it.
#pragma once
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "winrt/reg_model.h"
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

// One version of the hive file: every save replaces the file (a new inode), an editor changes
// its size or modification time.
struct FileStamp {
  bool exists = false;
  unsigned long long device = 0, inode = 0, size = 0;
  long long mtimeSec = 0, mtimeNsec = 0;
  bool operator==(const FileStamp& o) const {
    return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
           mtimeSec == o.mtimeSec && mtimeNsec == o.mtimeNsec;
  }
  bool operator!=(const FileStamp& o) const { return !(*this == o); }
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

  // Reads the hive file again when it changed since this process last read it (another host
  // saved), so that every call sees the latest saved hive with this process's unsaved changes
  // over it. StoreLock calls it once at the start of every registry call, so Key pointers
  // stay valid for the rest of the call.
  void refresh();

  // What this process last read of a value (nullptr: the value was missing). A write that
  // repeats it is no change (see repeatsWhatWasRead), so a host that writes back every value
  // it showed does not undo what other hosts saved meanwhile.
  void noteRead(RootId root, const std::vector<std::string>& path, const std::string& name,
                const Value* value);
  // True when writing `data` of `type` to the value changes nothing this process knows of:
  // it is what the process last read of that value or, never read, what the value holds now.
  bool repeatsWhatWasRead(RootId root, const std::vector<std::string>& path,
                          const std::string& name, DWORD type, const std::string& data,
                          const Key& key) const;

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
  // Reads and parses the hive file; reports and answers false on a fault. `stamp` is the
  // version read (also when it could not be parsed).
  bool readHiveFile(Key& into, FileStamp& stamp);
  FileStamp currentStamp() const;

  struct Seen {
    bool present = false;
    DWORD type = 0;
    std::string data;
  };
  struct ValueNameLess {
    bool operator()(const std::pair<std::string, std::string>& a,
                    const std::pair<std::string, std::string>& b) const {
      int byPath = compareNames(a.first, b.first);
      return byPath != 0 ? byPath < 0 : compareNames(a.second, b.second) < 0;
    }
  };
  static std::pair<std::string, std::string> valueRef(const std::vector<std::string>& path,
                                                      const std::string& name);

  std::mutex mutex_;
  Key roots_[kRootCount];
  std::map<uintptr_t, OpenKey> handles_;
  uintptr_t nextHandle_ = 0x1000;
  std::vector<Change> pending_;
  std::map<std::pair<std::string, std::string>, Seen, ValueNameLess> seen_;  // HKEY_CURRENT_USER's
  FileStamp stamp_;  // the version of the file that the hive in memory was read from
  std::string hivePath_;
  bool loaded_ = false;
  std::string problem_;
  std::vector<std::string> reports_;
  void (*reporter_)(const std::string&) = nullptr;
};

// Holds the store's lock (with the hive brought up to date with its file) and delivers the
// store's reports when released.
class StoreLock {
 public:
  // `refresh` false: for calls that load a hive themselves.
  explicit StoreLock(bool refresh = true) : store_(Store::instance()), lock_(store_.mutex()) {
    if (refresh) store_.refresh();
  }
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
