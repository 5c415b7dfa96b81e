// dxf_bench.cpp - times the platform reading a DXF drawing (and writing it back).
//
// usage: dxf_bench load FILE | dxf_bench loadsave FILE OUT
// Prints `load_s=... save_s=... load_cpu=... save_cpu=... maxrss_kb=...` (wall and processor
// seconds) on one line, like bench/ezdxf_peer.py, so that
// bench/run_dxf_bench.sh can set the two side by side. Freeing the database is not timed (the
// process ends without it, as a host exiting would).
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "dbmain.h"
#include "pf/dxf.h"

// Processor time (user + system) so far: on a busy machine it says more than the clock.
static double cpuSeconds() {
  struct rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

int main(int argc, char** argv) {
  if (argc < 3 || (std::strcmp(argv[1], "load") != 0 && std::strcmp(argv[1], "loadsave") != 0) ||
      (std::strcmp(argv[1], "loadsave") == 0 && argc < 4)) {
    std::fprintf(stderr, "usage: dxf_bench load FILE | dxf_bench loadsave FILE OUT\n");
    return 2;
  }
  using Clock = std::chrono::steady_clock;
  AcDbDatabase* db = new AcDbDatabase(false, true);
  const double c0 = cpuSeconds();
  auto t0 = Clock::now();
  Acad::ErrorStatus es = db->dxfIn(argv[2]);
  auto t1 = Clock::now();
  const double c1 = cpuSeconds();
  double saveCpu = 0;
  if (es != Acad::eOk) {
    std::fprintf(stderr, "%s\n", pf::lastDxfFailure().text().c_str());
    return 1;
  }
  double save = 0;
  if (std::strcmp(argv[1], "loadsave") == 0) {
    es = db->dxfOut(argv[3]);
    save = std::chrono::duration<double>(Clock::now() - t1).count();
    saveCpu = cpuSeconds() - c1;
    if (es != Acad::eOk) {
      std::fprintf(stderr, "%s\n", pf::lastDxfFailure().text().c_str());
      return 1;
    }
  }
  struct rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  std::printf("load_s=%.3f save_s=%.3f load_cpu=%.3f save_cpu=%.3f maxrss_kb=%ld\n",
              std::chrono::duration<double>(t1 - t0).count(), save, c1 - c0, saveCpu, ru.ru_maxrss);
  std::fflush(stdout);
  _exit(0);
}
