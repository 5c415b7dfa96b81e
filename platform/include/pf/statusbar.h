// pf/statusbar.h - the status bar's progress meter, delivered to whoever shows it.
//
// acedSetStatusBarProgressMeter, acedSetStatusBarProgressMeterPos and acedRestoreStatusBar keep
// the meter's state here and tell one listener about every change: the host program draws a
// progress bar on a terminal, tests record the events.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace pf {

struct StatusBarEvent {
  enum Kind {
    kMeterStarted,  // a meter with a label and a range appeared (pos = min)
    kMeterMoved,    // the meter's position changed (pos is absolute, within the range)
    kRestored       // the meter is gone, the status bar shows its usual fields again
  };
  Kind kind;
  std::string label;
  int min = 0;
  int max = 0;
  int pos = 0;

  bool operator==(const StatusBarEvent& o) const {
    return kind == o.kind && label == o.label && min == o.min && max == o.max && pos == o.pos;
  }
};

class StatusBarListener {
 public:
  virtual ~StatusBarListener();
  virtual void onStatusBar(const StatusBarEvent& event) = 0;
};

// Installs the listener (not owned; nullptr for none) and answers the previous one.
StatusBarListener* setStatusBarListener(StatusBarListener* listener);

// The meter as it stands; active is false when no meter is shown.
struct ProgressMeterState {
  bool active = false;
  std::string label;
  int min = 0;
  int max = 0;
  int pos = 0;
};
ProgressMeterState progressMeter();

// Records every event while it lives (installed as the listener), then restores the previous
// listener.
class StatusBarRecorder : public StatusBarListener {
 public:
  StatusBarRecorder();
  ~StatusBarRecorder() override;
  void onStatusBar(const StatusBarEvent& event) override { events_.push_back(event); }
  const std::vector<StatusBarEvent>& events() const { return events_; }

 private:
  std::vector<StatusBarEvent> events_;
  StatusBarListener* previous_;
};

// Draws the meter as a one-line text bar ("label [#####     ]  50%") on a terminal stream,
// redrawing in place, and clears the line when the status bar is restored.
class TerminalProgressBar : public StatusBarListener {
 public:
  explicit TerminalProgressBar(std::FILE* out, int width = 40) : out_(out), width_(width) {}
  void onStatusBar(const StatusBarEvent& event) override;

 private:
  std::FILE* out_;
  int width_;
  int lastDrawn_ = -1;
};

}  // namespace pf
