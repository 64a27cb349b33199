#include "run/run_files.h"

#include <iterator>
#include <utility>

#include "files/complaint.h"
#include "maps/maps.h"
#include "picture/numbered_name.h"
#include "run/exit_status.h"
#include "run/run_state.h"

namespace {

// Whether two names are one file, a stream named "-" being its own.
bool sameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) {
    return false;
  }
  const bool aStream = a == kStandardOutputName;
  const bool bStream = b == kStandardOutputName;
  return aStream || bStream ? a == b : nameOneFile(a, b);
}

// The files the run reads: its maps, and the session it replays unless from standard input.
std::vector<std::string> filesRead(const RunState& run) {
  std::vector<std::string> read = mapFiles(run.maps);
  if (run.plan.replay != kStandardOutputName) {
    read.push_back(run.plan.replay);
  }
  return read;
}

// Whether a numbered picture of the run will take `file`'s name: a later frame's, which the
// check of the first name does not see.
bool takesNameOf(const RunPlan& plan, const std::string& file) {
  for (const std::int64_t frame : framesNamingIt(file)) {
    if ((plan.frames == 0 || frame <= plan.frames) &&
        sameFile(numberedName(plan.screenshot, frame), file)) {
      return true;
    }
  }
  return false;
}

// The file the run reads that a file it writes, `name`, would replace; "" when none.
std::string readFileReplacedBy(const RunState& run, const std::string& name) {
  if (name != kStandardOutputName) {
    for (const std::string& input : filesRead(run)) {
      if (sameFile(name, input)) {
        return input;
      }
    }
  }
  return "";
}

// The picture's file, or a numbered picture's first, which stands for them all before the run.
std::string firstPictureName(const RunPlan& plan) {
  return plan.everyFrame ? numberedName(plan.screenshot, 1) : plan.screenshot;
}

}  // namespace

// A file the run would both write and read, or write twice, or "": a map or a replayed session
// replaced by a picture is lost, and so on for every pair. A file written as "-" is standard
// output, which the files written cannot share, and which is never read; a session replayed
// from "-" is standard input. A numbered picture's first name stands for it among the files
// written; and every other file of the run is held against the names the sequence will take
// (those up to --frames where it is given), found from the numbers the file's own name holds.
FileClash fileOptionsClash(const RunState& run) {
  const RunPlan& plan = run.plan;
  const std::string picture = firstPictureName(plan);
  const std::pair<const char*, const std::string*> written[] = {
      {"--screenshot", &picture}, {"--record", &plan.record}, {"--results", &plan.results}};
  for (std::size_t i = 0; i < std::size(written); ++i) {
    for (std::size_t j = i + 1; j < std::size(written); ++j) {
      if (sameFile(*written[i].second, *written[j].second)) {
        return {*written[j].second, std::string(written[i].first) + " and " + written[j].first};
      }
    }
  }
  for (const auto& [option, output] : written) {
    if (std::string input = readFileReplacedBy(run, *output); !input.empty()) {
      return {input, std::string(option) + ", and read"};
    }
  }
  if (plan.everyFrame) {
    std::vector<std::pair<std::string, std::string>> others = {{"--record", plan.record},
                                                               {"--results", plan.results}};
    for (const std::string& input : filesRead(run)) {
      others.emplace_back("read", input);
    }
    for (const auto& [option, other] : others) {
      if (takesNameOf(plan, other)) {
        return {other, "a numbered --screenshot and " + option};
      }
    }
  }
  return {};
}

Outcome openRunFiles(RunState& run) {
  const RunPlan& plan = run.plan;
  // A numbered picture's folder that cannot take its first file is refused before anything is
  // drawn.
  const std::string picture = firstPictureName(plan);
  for (const auto& [name, file] :
       {std::pair{&picture, &run.picture}, std::pair{&plan.results, &run.resultsFile}}) {
    if (name->empty()) {
      continue;
    }
    if (std::string problem = openOutputFile(*name, file); !problem.empty()) {
      complain(*name, problem);
      return ExitStatus::CannotWrite;
    }
  }
  return std::nullopt;
}

std::string writePicture(RunState& run, const RgbImage& picture) {
  return writeOutputFile(run.picture, [&](std::FILE* file) { return encodePng(file, picture); });
}

// A numbered picture of the frame just counted. The first frame's file was opened before the
// run began; each later one is opened as it comes, and held against every file the run reads,
// which a name's number may reach. The first that cannot be written ends the saving.
void saveNumberedPicture(RunState& run, const RgbImage& picture) {
  if (run.pictureFailed) {
    return;
  }
  const std::string name = numberedName(run.plan.screenshot, run.progress.framesDrawn);
  std::string problem;
  if (run.progress.framesDrawn > 1) {
    problem = !readFileReplacedBy(run, name).empty() ? "also read by this run"
                                                     : openOutputFile(name, &run.picture);
  }
  if (problem.empty()) {
    problem = writePicture(run, picture);
  }
  if (!problem.empty()) {
    complain(name, problem + "; no more pictures saved");
    run.pictureFailed = true;
  }
}
