// schedule.h - the room schedule: one row per linked room, in handle order, and a total.
#pragma once

#include <string>
#include <vector>

#include "toolkit/audit.h"
#include "toolkit/plan.h"

namespace toolkit {

// The schedule as CSV records in the drawing's own text (see ZORVIKEXPORT for the code
// page). rowCount receives the number of rooms listed. `totalLabel` heads the total row.
std::vector<std::vector<std::string>> buildSchedule(const Plan& plan, const std::vector<Finding>& findings,
                                                    const std::string& totalLabel, int& rowCount);

}  // namespace toolkit
