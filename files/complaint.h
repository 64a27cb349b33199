// The viewer's one voice on standard error: "velkarin: MESSAGE", and for what is wrong with a
// file, "velkarin: FILE: PROBLEM".
#pragma once

#include <string>

// A file's name as it can be shown on a terminal: as it is, unless it holds a control byte (a
// line break, an escape code) or a byte of no UTF-8 character; then quoted as ls and a shell
// quote it, 'a'$'\n''b'.
std::string shownName(const std::string& name);

// `text` as well-formed UTF-8, for a window's title: each byte of no whole UTF-8 character,
// and each control byte, becomes U+FFFD, as the results file writes them.
std::string wellFormedText(const std::string& text);

// Says `message` on standard error, as the viewer says everything that is not its output.
void complain(const std::string& message);

// Says what is wrong with a file on standard error, its name shown as shownName shows it.
void complain(const std::string& file, const std::string& problem);
