// What a results file says of where and when a run was made, so that two runs' figures can be
// told apart: the machine, the moment, and the environment GL reads.
#pragma once

#include <string>
#include <utility>
#include <vector>

// The results file's layout: 1 for the first fields, 2 since the machine, the moment, the
// command line and the environment were added beside them (nothing renamed or taken away).
inline constexpr int kResultsFormatVersion = 2;

struct MachineFacts {
  std::string system;   // the kernel's name ("Linux"), or the system's
  std::string release;  // the kernel's release
  std::string cpu;      // the processor's model, as the system names it; "" where it does not
  unsigned cpus = 0;    // processors the system offers
};

MachineFacts machineFacts();

// Now on the calendar, as ISO 8601 gives it with the local zone: "2026-12-11T14:07:36+01:00".
std::string calendarNow();

// The environment's variables that isGlVariable names, in the order of the environment.
std::vector<std::pair<std::string, std::string>> glVariables();

// Whether an environment variable changes what GL does or where it draws: Mesa's, libGL's,
// Gallium's and llvmpipe's, NVIDIA's (__GL...), vblank_mode, DISPLAY and EGL's.
bool isGlVariable(const std::string& name);
