// run_cadhost.cpp - child-process helpers of the end-to-end robustness tests (run_cadhost.h).
#include "run_cadhost.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace robust {
namespace {

std::vector<char*> argvOf(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  return argv;
}

pid_t spawn(std::vector<std::string> args, int outFd, int errFd) {
  args.insert(args.begin(), CADHOST_BIN);
  std::vector<char*> argv = argvOf(args);
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(outFd >= 0 ? outFd : null, 1);
    dup2(errFd >= 0 ? errFd : null, 2);
    // Settings of the developer running the tests must not leak in.
    setenv("HOME", WORK_DIR, 1);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

}  // namespace

std::string RunResult::describe() const {
  std::ostringstream s;
  s << "status " << status << ", signal " << signal << "\n--- stdout (" << out.size() << " bytes)\n"
    << out.substr(0, 2000) << "\n--- stderr\n" << err.substr(0, 2000);
  return s.str();
}

RunResult runCadhost(const std::vector<std::string>& args) {
  // Outputs go through files: a pipe would need draining while the child runs.
  const std::string dir = std::string(WORK_DIR);
  mkdir(dir.c_str(), 0755);
  char outName[] = WORK_DIR "/out-XXXXXX";
  char errName[] = WORK_DIR "/err-XXXXXX";
  const int outFd = mkstemp(outName), errFd = mkstemp(errName);
  const pid_t pid = spawn(args, outFd, errFd);
  int ws = 0;
  waitpid(pid, &ws, 0);
  close(outFd);
  close(errFd);
  RunResult r;
  if (WIFEXITED(ws)) r.status = WEXITSTATUS(ws);
  if (WIFSIGNALED(ws)) r.signal = WTERMSIG(ws);
  r.out = readFile(outName);
  r.err = readFile(errName);
  unlink(outName);
  unlink(errName);
  return r;
}

pid_t startCadhost(const std::vector<std::string>& args) { return spawn(args, -1, -1); }

std::string freshDir(const std::string& name) {
  mkdir(WORK_DIR, 0755);
  const std::string dir = std::string(WORK_DIR) + "/" + name;
  for (const std::string& f : filesIn(dir)) unlink((dir + "/" + f).c_str());
  rmdir(dir.c_str());
  mkdir(dir.c_str(), 0755);
  return dir;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

std::vector<std::string> filesIn(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
    closedir(d);
  }
  return names;
}

std::string roomsDrawing(int rooms) {
  // The example floor plan is the skeleton (header, tables, blocks, objects); the rooms go at the
  // end of its ENTITIES section, with handles far above the example's own.
  std::string base = readFile(std::string(ZORVIK_SOURCE_DIR) + "/examples/floorplan.dxf");
  const size_t entities = base.find("ENTITIES");
  size_t end = base.find("\nENDSEC", entities);
  if (entities == std::string::npos || end == std::string::npos) throw std::runtime_error("no ENTITIES in the example");
  end = base.rfind("\n", end - 1) + 1;  // the start of the group-code line "  0"
  std::string rooms_;
  char buf[512];
  for (int i = 0; i < rooms; ++i) {
    const double x = (i % 300) * 10.0, y = (i / 300) * 8.0;
    std::snprintf(buf, sizeof buf,
                  "  0\nLWPOLYLINE\n  5\n%X\n100\nAcDbEntity\n  8\n0\n100\nAcDbPolyline\n 90\n4\n 70\n1\n"
                  " 10\n%g\n 20\n%g\n 10\n%g\n 20\n%g\n 42\n0.25\n 10\n%g\n 20\n%g\n 10\n%g\n 20\n%g\n",
                  0x100000 + i, x, y, x + 6, y, x + 6, y + 5, x, y + 5);
    rooms_ += buf;
  }
  base.insert(end, rooms_);
  return base;
}

}  // namespace robust
