// file_replace.cpp - a file's new version replaces it only when complete (pf/file_replace.h).
#include "pf/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "pf/faults.h"

namespace pf {
namespace {

std::string errnoText(int err) { return std::strerror(err); }

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the file they lead to (which need not exist yet); false with the
// reason for a loop.
bool followLinks(const std::string& path, std::string& target, std::string& error) {
  target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
    const ssize_t n = ::readlink(target.c_str(), &link[0], link.size());
    if (n < 0) {
      error = "cannot follow the symbolic link '" + target + "': " + errnoText(errno);
      return false;
    }
    link.resize(static_cast<size_t>(n));
    target = (link[0] == '/' || target.find('/') == std::string::npos) ? link : folderOf(target) + "/" + link;
  }
  error = "'" + path + "' is a loop of symbolic links";
  return false;
}

}  // namespace

FileReplacement::FileReplacement(const std::string& path, unsigned newFileMode) : path_(path) {
  if (path.empty()) {
    fail("no file name was given");
    return;
  }
  if (path.back() == '/') {
    struct stat st;
    fail("'" + path + "' ends with '/', so it names a folder" +
         (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? "" : " that does not exist") +
         ", not a file: give a file name");
    return;
  }
  if (!followLinks(path, target_, error_)) return;
  folder_ = folderOf(target_);
  struct stat folder;
  if (::stat(folder_.c_str(), &folder) != 0) {
    fail(errno == ENOTDIR ? "'" + folder_ + "' is not a folder (a file is in the way)"
                          : "the folder '" + folder_ + "' " +
                                (errno == ENOENT ? std::string("does not exist") : "cannot be used: " + errnoText(errno)));
    return;
  }
  if (!S_ISDIR(folder.st_mode)) {
    fail("'" + folder_ + "' is not a folder");
    return;
  }
  struct stat old;
  const bool replacing = ::stat(target_.c_str(), &old) == 0;
  if (replacing && S_ISDIR(old.st_mode)) {
    fail("'" + path + "' is a folder, not a file");
    return;
  }
  if (replacing && !S_ISREG(old.st_mode)) {
    fail("'" + path + "' is not a regular file (a device, pipe or socket is not replaced)");
    return;
  }
  // The new version gets the old one's permissions, or those of a new file.
  mode_t mode;
  if (replacing) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = static_cast<mode_t>(newFileMode) & ~mask;
  }
#ifdef O_TMPFILE
  if (injectedFault("O_TMPFILE") == Acad::eOk) {
    fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    // Only a file system without unnamed files falls back; other faults are the folder's.
    if (fd_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
      fail("cannot create a file in '" + folder_ + "': " + errnoText(errno));
      return;
    }
    unnamed_ = fd_ >= 0;
  }
#endif
  if (fd_ < 0) {
    std::string name = (folder_ == "/" ? "" : folder_) + "/." + baseOf(target_) + ".XXXXXX";
    fd_ = ::mkstemp(&name[0]);
    if (fd_ < 0) {
      fail("cannot create a file in '" + folder_ + "': " + errnoText(errno));
      return;
    }
    temp_ = name;
  }
  ::fchmod(fd_, mode);
}

FileReplacement::~FileReplacement() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

bool FileReplacement::fail(const std::string& why) {
  error_ = why;
  return false;
}

bool FileReplacement::write(const char* data, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd_, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return fail("cannot write '" + path_ + "': " + errnoText(errno));
    }
    data += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

// Gives the complete unnamed file a name: the target itself when there is none yet, otherwise
// a hidden name that commit() renames over the target.
bool FileReplacement::linkInPlace() {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  auto link = [&](const std::string& name) {
    if (::linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
    return errno != EEXIST && ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
  };
  struct stat st;
  if (::lstat(target_.c_str(), &st) != 0 && errno == ENOENT) {
    if (link(target_)) return true;
    if (errno != EEXIST) return fail("cannot write '" + path_ + "': " + errnoText(errno));
  }
  std::mt19937_64 random(std::random_device{}());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%06llx", static_cast<unsigned long long>(random() & 0xFFFFFF));
    const std::string name = (folder_ == "/" ? "" : folder_) + "/." + baseOf(target_) + "." + suffix;
    if (link(name)) {
      temp_ = name;
      return true;
    }
    if (errno != EEXIST) return fail("cannot write '" + path_ + "': " + errnoText(errno));
  }
  return fail("cannot write '" + path_ + "': no free temporary name in '" + folder_ + "'");
}

bool FileReplacement::commit() {
  if (fd_ < 0) return false;
  if (::fsync(fd_) != 0) return fail("cannot write '" + path_ + "': " + errnoText(errno));
  if (unnamed_ && !linkInPlace()) return false;
  // The rename follows the link at once: Linux cannot put an unnamed file over an existing
  // name, so the hidden name lives only between these two calls, where a kill is least likely.
  if (!temp_.empty() && ::rename(temp_.c_str(), target_.c_str()) != 0)
    return fail("cannot replace '" + path_ + "': " + errnoText(errno));
  if (!temp_.empty()) temp_.clear();
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) {
    committed_ = true;  // the data was synced and is in place; only the descriptor failed
    return fail("cannot write '" + path_ + "': " + errnoText(errno));
  }
  committed_ = true;
  // Make the new name itself durable.
  const int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool replaceFile(const std::string& path, const std::string& data, std::string& error) {
  FileReplacement file(path);
  if (!file.ok() || !file.write(data.data(), data.size()) || !file.commit()) {
    error = file.error();
    return false;
  }
  return true;
}

}  // namespace pf
