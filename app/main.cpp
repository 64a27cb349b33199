// Velkarin: a helical torus under five coloured, orbiting lights.
// Keys are listed in the README and under --help; Escape quits.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/options.h"
#include "app/run_loop.h"
#include "app/standard_streams.h"
#include "app/startup.h"
#include "app/usage.h"
#include "files/complaint.h"
#include "files/file_name.h"
#include "files/output_file.h"
#include "files/system_words.h"
#include "run/exit_status.h"
#include "run/run.h"
#include "run/run_maps.h"

namespace {

#ifdef __GLIBC__
constexpr int kOwnMappingBytes = 256 * 1024;
#endif

// --help, --version and a bad command line are answered before any window opens, so they work
// without a display. An answer to a standard output that was closed is lost, which is an
// error as much as a full disk. Returns the exit status, or none when the viewer should start.
Outcome answerWithoutWindow(const Options& options, const char* program, bool outputClosed) {
  if (!options.error.empty()) {
    complain(options.error);
    std::fprintf(stderr, "Try '%s --help' for more information.\n", program);
    return ExitStatus::Usage;
  }
  if (options.help || options.version) {
    std::fputs((options.help ? usageText(program) : versionText()).c_str(), stdout);
    if (outputClosed) {
      errno = EBADF;
    }
    if (outputClosed || !flushStandardOutput()) {
      complain(std::string("write error: ") + systemWords(errno));
      return ExitStatus::CannotWrite;
    }
    return ExitStatus::Done;
  }
  // So is a picture, a session or a results file sent to it: refused before anything is drawn,
  // as a file that can never be written is.
  for (const std::string* file :
       {&options.run.screenshot, &options.run.record, &options.run.results}) {
    if (outputClosed && *file == kStandardOutputName) {
      complain(*file, "standard output is closed");
      return ExitStatus::CannotWrite;
    }
  }
  return std::nullopt;
}

// Large blocks (a map's pixels, its texture) are mapped on their own and given back whole when
// freed. glibc would otherwise raise its threshold to the size of each such block freed, and
// maps read one after another, on two threads, would leave their heaps full of holes.
void giveLargeBlocksBack() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  giveLargeBlocksBack();
  const bool outputClosed = keepStandardStreamsOpen();
#ifdef SIGXFSZ
  // A write beyond a file-size limit (ulimit -f) then fails with EFBIG and is reported as any
  // failed write is, where the signal's default would end the viewer without a word.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  // Every name from here on is UTF-8, whatever the platform handed main; GLUT's options too.
  static std::vector<std::string> words = commandLine(argc, argv);
  static std::vector<char*> utf8 = argvOf(words);
  argc = static_cast<int>(words.size());
  argv = utf8.data();
  Options options = parseOptions(argc, argv);
  if (const Outcome answered = answerWithoutWindow(options, argv[0], outputClosed)) {
    return statusCode(*answered);
  }
  // The run's and the scene's records, for the life of the process: exit's handlers use them.
  static RunState run;
  static SceneState scene;
  if (const Outcome refused = prepareRun(run, scene, options.run, options.envMaps)) {
    return statusCode(*refused);
  }
  int glutArgc = static_cast<int>(options.glutArgs.size());
  std::vector<char*> glutArgv = argvOf(options.glutArgs);
  openViewer(&glutArgc, glutArgv.data(), run, scene, options.window);
  if (options.info) {
    printGlInfo();
  }

  loadRunMaps(run, scene);
#ifdef SIGPIPE
  // A reader that went away must not end the viewer: what it prints is then lost, nothing else.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  sayTexture(run, scene);

  runInGlutLoop(run, options.window.fullscreen);
  return statusCode(ExitStatus::Done);  // GLUT's loop ends the process itself
}
