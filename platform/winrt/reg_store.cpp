// reg_store.cpp - the registry of this process and the file that keeps HKEY_CURRENT_USER.
//
// Several hosts of one user share the file, as processes share the live registry on Windows.
// So reads see the latest saved hive: every call first checks whether the file changed since
// this process read it and, if so, reads it again with this process's unsaved changes replayed
// over it. A write that repeats what the process last read of a value is no change: hosts that
// show settings and write all of them back do not undo another host's change of one. Saving
// never trusts what this process read earlier: under an exclusive flock on "<hive>.lock" it
// reads the file again, replays this process's changes over it (so another host's values
// survive, and for a value both changed the last save wins) and replaces the hive with the
// result through pf::FileReplacement (a kill leaves no temporary file). A file that cannot be parsed is reported
// with its line and never replaced.
#include "winrt/reg_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "pf/file_replace.h"
#include "pf/registry.h"

namespace pf {
namespace reg {
namespace {

const uintptr_t kPredefined[kRootCount] = {
    reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT), reinterpret_cast<uintptr_t>(HKEY_CURRENT_USER),
    reinterpret_cast<uintptr_t>(HKEY_LOCAL_MACHINE), reinterpret_cast<uintptr_t>(HKEY_USERS),
    reinterpret_cast<uintptr_t>(HKEY_CURRENT_CONFIG)};
const char* const kRootNames[kRootCount] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                            "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                            "HKEY_CURRENT_CONFIG"};

void defaultReporter(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
}

std::string errnoText(int err) { return std::strerror(err); }

// Creates the directories above a file (like mkdir -p of its folder).
void makeParentDirs(const std::string& file) {
  for (size_t pos = file.find('/', 1); pos != std::string::npos; pos = file.find('/', pos + 1))
    ::mkdir(file.substr(0, pos).c_str(), 0700);
}

FileStamp stampOf(const struct stat& st) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = static_cast<unsigned long long>(st.st_size);
  stamp.mtimeSec = st.st_mtim.tv_sec;
  stamp.mtimeNsec = st.st_mtim.tv_nsec;
  return stamp;
}

// Reads a whole file; `stamp` is the version that was read.
bool readAll(const std::string& path, std::string& bytes, int& err, FileStamp& stamp) {
  stamp = FileStamp();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    err = errno;
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) == 0) stamp = stampOf(st);
  bytes.clear();
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

void apply(Key& root, const Change& change) {
  Key* key = &root;
  for (const std::string& part : change.path) key = key->addSubkey(part);
  switch (change.kind) {
    case Change::kCreateKey:
      break;
    case Change::kSetValue:
      key->setValue(change.name, change.type, change.data);
      break;
    case Change::kDeleteValue:
      key->deleteValue(change.name);
      break;
  }
}

// Copies the volatile keys of `from` into `to` (they live in memory only, so the file that
// replaces the in-memory hive after a save does not have them).
void graftVolatile(const Key& from, Key& to) {
  for (const auto& entry : from.subkeys) {
    const Key& sub = *entry.second;
    if (sub.isVolatile) {
      to.removeSubkey(sub.name);
      to.subkeys.emplace(sub.name, std::make_unique<Key>(sub));
    } else if (Key* target = to.findSubkey(sub.name)) {
      graftVolatile(sub, *target);
    }
  }
}

}  // namespace

Store& Store::instance() {
  static Store* store = new Store();  // never destroyed: modules may close keys at exit
  return *store;
}

Store::Store() {
  for (int i = 0; i < kRootCount; ++i) roots_[i].name = kRootNames[i];
}

const std::string& Store::hivePath() {
  if (hivePath_.empty()) hivePath_ = defaultRegistryHivePath();
  return hivePath_;
}

void Store::ensureLoaded() {
  if (!loaded_) load(hivePath());
}

Key& Store::root(RootId id) {
  if (id == kCurrentUser) ensureLoaded();
  return roots_[id];
}

bool Store::resolve(HKEY handle, OpenKey& out) const {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  for (int i = 0; i < kRootCount; ++i) {
    if (value == kPredefined[i]) {
      out = OpenKey{static_cast<RootId>(i), {}, KEY_ALL_ACCESS};
      return true;
    }
  }
  auto it = handles_.find(value);
  if (it == handles_.end()) return false;
  out = it->second;
  return true;
}

HKEY Store::addHandle(const OpenKey& key) {
  uintptr_t value = nextHandle_;
  nextHandle_ += 4;
  handles_[value] = key;
  return reinterpret_cast<HKEY>(value);
}

bool Store::removeHandle(HKEY handle) {
  return handles_.erase(reinterpret_cast<uintptr_t>(handle)) != 0;
}

std::pair<std::string, std::string> Store::valueRef(const std::vector<std::string>& path,
                                                    const std::string& name) {
  std::string joined;
  for (const std::string& part : path) joined += part + '\\';  // key names hold no backslash
  return {joined, name};
}

void Store::noteRead(RootId root, const std::vector<std::string>& path, const std::string& name,
                     const Value* value) {
  if (root != kCurrentUser) return;
  Seen& seen = seen_[valueRef(path, name)];
  seen.present = value != nullptr;
  seen.type = value ? value->type : 0;
  seen.data = value ? value->data : std::string();
}

bool Store::repeatsWhatWasRead(RootId root, const std::vector<std::string>& path,
                               const std::string& name, DWORD type, const std::string& data,
                               const Key& key) const {
  if (root != kCurrentUser || key.isVolatile) return false;
  auto it = seen_.find(valueRef(path, name));
  if (it != seen_.end())
    return it->second.present && it->second.type == type && it->second.data == data;
  const Value* now = const_cast<Key&>(key).findValue(name);
  return now != nullptr && now->type == type && now->data == data;
}

void Store::record(RootId root, Change change) {
  if (root != kCurrentUser) return;  // the other predefined keys are not kept in a file
  // Changes inside a volatile key stay in memory.
  Key* key = &roots_[kCurrentUser];
  for (const std::string& part : change.path) {
    key = key->findSubkey(part);
    if (key == nullptr || key->isVolatile) return;
  }
  // What this process wrote is what it knows of the value from now on.
  if (change.kind == Change::kSetValue) {
    Value written{change.name, change.type, change.data};
    noteRead(root, change.path, change.name, &written);
  } else if (change.kind == Change::kDeleteValue) {
    noteRead(root, change.path, change.name, nullptr);
  }
  pending_.push_back(std::move(change));
}

void Store::report(const std::string& message) {
  problem_ = message;
  reports_.push_back(message);
}

void Store::flushReports() {
  std::vector<std::string> messages;
  void (*reporter)(const std::string&);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    messages.swap(reports_);
    reporter = reporter_ ? reporter_ : defaultReporter;
  }
  for (const std::string& m : messages) reporter(m);
}

FileStamp Store::currentStamp() const {
  struct stat st;
  if (::stat(hivePath_.c_str(), &st) != 0) return FileStamp();
  return stampOf(st);
}

bool Store::readHiveFile(Key& into, FileStamp& stamp) {
  std::string bytes;
  int err = 0;
  if (!readAll(hivePath_, bytes, err, stamp)) {
    if (err == ENOENT) {
      into = Key();
      into.name = kRootNames[kCurrentUser];
      return true;
    }
    report("registry hive " + hivePath_ + ": cannot be read (" + errnoText(err) + ")");
    return false;
  }
  ParseError error;
  if (!parseHive(bytes, into, error)) {
    report("registry hive " + hivePath_ + ", line " + std::to_string(error.line) + ": " +
           error.message + "; the file is left unchanged and settings are not saved to it");
    return false;
  }
  return true;
}

bool Store::load(const std::string& path) {
  hivePath_ = path;
  loaded_ = true;
  pending_.clear();
  seen_.clear();
  problem_.clear();
  Key fresh;
  bool ok = readHiveFile(fresh, stamp_);
  if (!ok) {
    fresh = Key();
    fresh.name = kRootNames[kCurrentUser];
  }
  roots_[kCurrentUser] = std::move(fresh);
  return ok;
}

void Store::refresh() {
  if (!loaded_ || currentStamp() == stamp_) return;
  Key fresh;
  FileStamp stamp;
  bool ok = readHiveFile(fresh, stamp);
  stamp_ = stamp;  // a damaged version is reported once, not at every call
  if (!ok) return;  // keep what this process has; saving reports again until it is repaired
  for (const Change& c : pending_) apply(fresh, c);
  graftVolatile(roots_[kCurrentUser], fresh);
  fresh.name = kRootNames[kCurrentUser];
  roots_[kCurrentUser] = std::move(fresh);
  problem_.clear();
}

bool Store::save() {
  if (pending_.empty()) return true;
  const std::string& path = hivePath();
  makeParentDirs(path);
  std::string lockPath = path + ".lock";
  int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lockFd < 0) {
    report("registry hive " + path + ": cannot create the lock file " + lockPath + " (" +
           errnoText(errno) + "); settings are not saved");
    return false;
  }
  while (::flock(lockFd, LOCK_EX) != 0) {
    if (errno != EINTR) {
      report("registry hive " + path + ": cannot lock " + lockPath + " (" + errnoText(errno) +
             "); settings are not saved");
      ::close(lockFd);
      return false;
    }
  }
  bool ok = false;
  Key merged;
  FileStamp read;
  FileStamp written;
  if (readHiveFile(merged, read)) {
    for (const Change& c : pending_) apply(merged, c);
    std::string text = formatHive(merged);
    // The new version replaces the hive only when complete; a kill leaves nothing behind.
    FileReplacement file(path, 0600);  // settings are the user's own
    if (!file.ok() || !file.write(text.data(), text.size()) || !file.commit()) {
      report("registry hive " + path + ": cannot be written (" + file.error() + "); settings are not saved");
    } else {
      ok = true;
      written = currentStamp();  // nobody else saves while the lock is held
    }
  }
  ::flock(lockFd, LOCK_UN);
  ::close(lockFd);
  if (!ok) return false;
  // The file now holds this process's changes over everybody else's: it becomes the hive.
  graftVolatile(roots_[kCurrentUser], merged);
  merged.name = kRootNames[kCurrentUser];
  roots_[kCurrentUser] = std::move(merged);
  stamp_ = written;
  pending_.clear();
  problem_.clear();
  return true;
}

}  // namespace reg

// ---- pf/registry.h ----

std::string defaultRegistryHivePath() {
  const char* home = std::getenv("HOME");
  std::string dir;
  if (home != nullptr && *home != '\0') {
    dir = home;
  } else if (struct passwd* pw = ::getpwuid(::getuid())) {
    dir = pw->pw_dir;
  } else {
    dir = ".";
  }
  return dir + "/.cadhost/user.reg";
}

bool setRegistryHivePath(const std::string& path) {
  reg::StoreLock lock(false);
  return lock.store().load(path.empty() ? defaultRegistryHivePath() : path);
}

std::string registryHivePath() {
  reg::StoreLock lock;
  return lock.store().hivePath();
}

bool registryFlush() {
  reg::StoreLock lock;
  lock.store().root(reg::kCurrentUser);
  return lock.store().save();
}

bool registryHasUnsavedChanges() {
  reg::StoreLock lock;
  return lock.store().hasPending();
}

std::string registryProblem() {
  reg::StoreLock lock;
  return lock.store().problem();
}

void setRegistryReporter(void (*reporter)(const std::string& message)) {
  reg::StoreLock lock;
  lock.store().setReporter(reporter);
}

}  // namespace pf
