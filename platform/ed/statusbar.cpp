// The status bar's progress meter: its state, the listener, and the terminal progress bar.
#include "pf/statusbar.h"

#include <algorithm>

#include "pf/faults.h"
#include "rxmfcapi.h"

namespace pf {
namespace {

ProgressMeterState g_meter;
StatusBarListener* g_listener = nullptr;

void deliver(StatusBarEvent::Kind kind) {
  if (g_listener == nullptr) return;
  StatusBarEvent e{kind, g_meter.label, g_meter.min, g_meter.max, g_meter.pos};
  g_listener->onStatusBar(e);
}

}  // namespace

StatusBarListener::~StatusBarListener() = default;

StatusBarListener* setStatusBarListener(StatusBarListener* listener) {
  StatusBarListener* old = g_listener;
  g_listener = listener;
  return old;
}

ProgressMeterState progressMeter() { return g_meter; }

StatusBarRecorder::StatusBarRecorder() : previous_(setStatusBarListener(this)) {}

StatusBarRecorder::~StatusBarRecorder() {
  if (g_listener == this) setStatusBarListener(previous_);
}

void TerminalProgressBar::onStatusBar(const StatusBarEvent& e) {
  if (out_ == nullptr) return;
  if (e.kind == StatusBarEvent::kRestored) {
    if (lastDrawn_ >= 0) std::fprintf(out_, "\r\033[K");
    lastDrawn_ = -1;
    std::fflush(out_);
    return;
  }
  long span = static_cast<long>(e.max) - e.min;
  int percent = span > 0 ? static_cast<int>((static_cast<long>(e.pos) - e.min) * 100 / span) : 100;
  if (e.kind == StatusBarEvent::kMeterMoved && percent == lastDrawn_) return;  // nothing new to show
  lastDrawn_ = percent;
  int filled = percent * width_ / 100;
  std::string bar(static_cast<size_t>(filled), '#');
  bar.append(static_cast<size_t>(width_ - filled), ' ');
  std::fprintf(out_, "\r\033[K%s [%s] %3d%%", e.label.c_str(), bar.c_str(), percent);
  std::fflush(out_);
}

}  // namespace pf

int acedSetStatusBarProgressMeter(const char* pszLabel, int nMinPos, int nMaxPos) {
  if (pf::injectedFault("acedSetStatusBarProgressMeter") != Acad::eOk) return -1;
  if (nMaxPos < nMinPos) return -1;
  pf::g_meter.active = true;
  pf::g_meter.label = pszLabel ? pszLabel : "";
  pf::g_meter.min = nMinPos;
  pf::g_meter.max = nMaxPos;
  pf::g_meter.pos = nMinPos;
  pf::deliver(pf::StatusBarEvent::kMeterStarted);
  return 0;
}

int acedSetStatusBarProgressMeterPos(int nPos) {
  if (pf::injectedFault("acedSetStatusBarProgressMeterPos") != Acad::eOk) return -1;
  if (!pf::g_meter.active) return -1;
  pf::ProgressMeterState& m = pf::g_meter;
  // Work in 64 bits so that a large step near INT_MAX cannot overflow.
  long long target = nPos >= 0 ? static_cast<long long>(nPos)
                               : static_cast<long long>(m.pos) - static_cast<long long>(nPos);
  target = std::clamp<long long>(target, m.min, m.max);
  m.pos = static_cast<int>(target);
  pf::deliver(pf::StatusBarEvent::kMeterMoved);
  return 0;
}

void acedRestoreStatusBar() {
  bool wasActive = pf::g_meter.active;
  pf::g_meter = pf::ProgressMeterState();
  if (wasActive) pf::deliver(pf::StatusBarEvent::kRestored);
}
