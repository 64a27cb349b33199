#include "run/results.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "files/complaint.h"
#include "files/system_words.h"
#include "maps/maps.h"
#include "render/smooth_edges.h"
#include "run/exit_status.h"
#include "run/machine.h"
#include "run/run_state.h"
#include "scene/gl_headers.h"

namespace {

constexpr double kMillisecondsPerSecond = 1000.0;

// Figures to the places they are good to: a clock's microseconds, a rate's thousandths.
double rounded(double value, double places) {
  const double scale = std::pow(10.0, places);
  return std::round(value * scale) / scale;
}

std::string glString(GLenum name) {
  const auto* text = reinterpret_cast<const char*>(glGetString(name));
  return text != nullptr ? text : "";
}

// A count or interval the run could not learn is null.
nlohmann::ordered_json known(int value) {
  return value >= 0 ? nlohmann::ordered_json(value) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json frameTimes(const FrameTimes& times) {
  if (times.count == 0) {
    return nullptr;
  }
  const auto ms = [](double seconds) { return rounded(seconds * kMillisecondsPerSecond, 3); };
  return {{"median", ms(frameTimeAt(times, 0.5))},
          {"p99", ms(frameTimeAt(times, 0.99))},
          {"max", ms(times.longest)}};
}

nlohmann::ordered_json options(RunState& run, const RunPlan& plan) {
  return {{"keys", spellKeys(plan.keys)},
          {"replay", plan.replay.empty() ? nlohmann::ordered_json(nullptr)
                                         : nlohmann::ordered_json(plan.replay)},
          {"maps", mapFiles(run.maps)},
          {"hud", plan.hud},
          {"frame_rate", plan.frameRate > 0 ? nlohmann::ordered_json(plan.frameRate) : nullptr}};
}

nlohmann::ordered_json glEnvironment() {
  nlohmann::ordered_json found = nlohmann::ordered_json::object();
  for (const auto& [name, value] : glVariables()) {
    found[name] = value;
  }
  return found;
}

// The kernel, and the processor by its model and count, as two runs would be told apart by.
nlohmann::ordered_json machine() {
  const MachineFacts facts = machineFacts();
  return {{"system", facts.system},
          {"release", facts.release},
          {"cpu", facts.cpu},
          {"cpus", facts.cpus}};
}

nlohmann::ordered_json results(RunState& run, ExitStatus status) {
  const RunPlan& plan = run.plan;
  const double seconds = runSeconds(run);
  const auto frames = run.progress.framesDrawn;
  const ContextFacts& facts = run.context;
  return {
      {"version", VELKARIN_VERSION},
      {"format_version", kResultsFormatVersion},
      {"started_at", run.startedAt},
      {"machine", machine()},
      {"command_line", plan.commandLine},
      {"environment", glEnvironment()},
      {"frames_asked", plan.frames > 0 ? nlohmann::ordered_json(plan.frames) : nullptr},
      {"picture", !plan.screenshot.empty()},
      {"fullscreen", plan.fullscreen},
      {"gl", {{"vendor", facts.vendor}, {"renderer", facts.renderer}, {"version", facts.version}}},
      {"window", {{"width", facts.width}, {"height", facts.height}}},
      {"samples", {{"asked", plan.samples}, {"given", smoothEdgeSamples(run.smooth)}}},
      {"swap_interval",
       {{"asked", known(plan.swapInterval)},
        {"obtained", known(run.swap.obtained)},
        {"extension", run.swap.extension.empty() ? nlohmann::ordered_json(nullptr)
                                                 : nlohmann::ordered_json(run.swap.extension)}}},
      {"options", options(run, plan)},
      {"frames", frames},
      {"seconds", rounded(seconds, 6)},
      {"fps", seconds > 0.0
                  ? nlohmann::ordered_json(rounded(static_cast<double>(frames) / seconds, 3))
                  : nullptr},
      {"frame_time_ms", frameTimes(run.runTimes)},
      {"first_frame_seconds", run.started >= 0.0
                                  ? nlohmann::ordered_json(rounded(run.started - run.prepared, 6))
                                  : nullptr},
      {"picture_seconds",
       !plan.screenshot.empty() ? nlohmann::ordered_json(rounded(run.pictureSeconds, 6)) : nullptr},
      {"exit_status", statusCode(status)}};
}

}  // namespace

void noteResultsContext(RunState& run) {
  ContextFacts& facts = run.context;
  facts.vendor = glString(GL_VENDOR);
  facts.renderer = glString(GL_RENDERER);
  facts.version = glString(GL_VERSION);
  const PixelSize size = run.window.size();
  facts.width = size.width;
  facts.height = size.height;
}

ExitStatus writeResults(RunState& run, ExitStatus status, bool displayGone) {
  if (run.plan.results.empty()) {
    return status;
  }
  ContextFacts& facts = run.context;
  if (!displayGone) {
    const PixelSize size = run.window.size();
    facts.width = size.width;
    facts.height = size.height;
  }
  // Invalid UTF-8 in a name (a map's, a session's) is replaced, not refused: the figures count.
  const std::string text =
      results(run, status).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) +
      "\n";
  const std::string problem = writeOutputFile(run.resultsFile, [&](std::FILE* file) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size() ? "" : systemWords(errno);
  });
  if (!problem.empty()) {
    complain(run.plan.results, problem);
    return ExitStatus::CannotWrite;
  }
  return status;
}
