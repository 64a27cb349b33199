#include "run/machine.h"

#include <ctime>
#include <fstream>
#include <thread>

#ifndef _WIN32
#include <sys/utsname.h>
#include <unistd.h>  // environ
#else
#include <stdlib.h>
#define environ _environ
#endif

namespace {

// The processor's model, from the first line of /proc/cpuinfo that names one.
std::string cpuModel() {
  std::ifstream info("/proc/cpuinfo");
  for (std::string line; std::getline(info, line);) {
    for (const char* key : {"model name", "Hardware", "cpu model"}) {
      const std::size_t colon = line.find(':');
      if (line.rfind(key, 0) == 0 && colon != std::string::npos) {
        const std::size_t start = line.find_first_not_of(" \t", colon + 1);
        return start == std::string::npos ? "" : line.substr(start);
      }
    }
  }
  return "";
}

}  // namespace

MachineFacts machineFacts() {
  MachineFacts facts;
#ifndef _WIN32
  struct utsname names {};
  if (uname(&names) == 0) {
    facts.system = names.sysname;
    facts.release = names.release;
  }
#else
  facts.system = "Windows";
#endif
  facts.cpu = cpuModel();
  facts.cpus = std::thread::hardware_concurrency();
  return facts;
}

std::string calendarNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifndef _WIN32
  localtime_r(&now, &local);
#else
  localtime_s(&local, &now);
#endif
  char text[40] = {};
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
  std::string stamp = text;
  // %z gives +0100; ISO 8601's extended form, which the date and time use, writes +01:00.
  if (stamp.size() >= 5) {
    stamp.insert(stamp.size() - 2, ":");
  }
  return stamp;
}

std::vector<std::pair<std::string, std::string>> glVariables() {
  std::vector<std::pair<std::string, std::string>> found;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::size_t equals = text.find('=');
    if (equals != std::string::npos && isGlVariable(text.substr(0, equals))) {
      found.emplace_back(text.substr(0, equals), text.substr(equals + 1));
    }
  }
  return found;
}

bool isGlVariable(const std::string& name) {
  for (const char* prefix : {"LIBGL_", "MESA_", "GALLIUM_", "LP_", "__GL", "EGL_"}) {
    if (name.rfind(prefix, 0) == 0) {
      return true;
    }
  }
  return name == "vblank_mode" || name == "DISPLAY";
}
