// How the viewer's process ends: every status it exits with, as its manual's EXIT STATUS
// section lists them. Several causes share a number; each has its own name, so that the code
// says why it ends.
#pragma once

#include <optional>

enum class ExitStatus : int {
  Done = 0,          // the frames drawn, --help or --version answered, the window closed
  Quit = 1,          // Escape
  CannotWrite = 1,   // a picture, session, results file or answer could not be written
  WindowClosed = 1,  // before the --frames were drawn, or the connection to X lost then
  XError = 1,        // the X server refused a request
  Usage = 2,         // a bad command line, or a file both read and written
  BadSession = 2,    // a --replay session that cannot be read
  SignalBase = 128,  // plus the signal's number, as shells report a process a signal ended
};

// Every status above, for the check against the manual.
inline constexpr ExitStatus kExitStatuses[] = {
    ExitStatus::Done,   ExitStatus::Quit,  ExitStatus::CannotWrite, ExitStatus::WindowClosed,
    ExitStatus::XError, ExitStatus::Usage, ExitStatus::BadSession,  ExitStatus::SignalBase,
};

// The number the process ends with, at exit or main's return, and nowhere before.
constexpr int statusCode(ExitStatus status) {
  return static_cast<int>(status);
}

// A run ended by a signal: 128 + its number. The enumeration's type is int, so it holds it.
constexpr ExitStatus endedBySignal(int number) {
  return static_cast<ExitStatus>(statusCode(ExitStatus::SignalBase) + number);
}

// What a step of start-up decides: to go on (none), or the status to end with.
using Outcome = std::optional<ExitStatus>;
