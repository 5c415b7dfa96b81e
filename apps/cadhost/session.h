// session.h - the host's command line: reads command names at the "Command:" prompt and runs
// them until the input ends or QUIT.
#pragma once

namespace cadhost {

struct SessionSummary {
  int commands = 0;
  int unknown = 0;
};

SessionSummary runCommandLine();

}  // namespace cadhost
