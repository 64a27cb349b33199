// A new file written beside the one it is to replace, so that the old one is never seen half
// replaced: unnamed until complete where the system has such files, else hidden under a
// temporary name. Free of GL.
#pragma once

#include <string>

// The folder a file name is in; "." for a bare name.
std::string folderOf(const std::string& target);

// A new file of its own beside `target`, open for writing: unnamed where the system has them,
// else hidden under the temporary name put in *temporary. -1 with errno set when the folder
// takes none.
int makeNewFileBeside(const std::string& target, std::string* temporary);

// Moves the complete new file over `target` (naming an unnamed one first); "" or why not.
std::string moveOver(int fd, const std::string& target, std::string* temporary);

#ifndef _WIN32
// Whether the user may replace an existing file, as cp would ask: "" or why not.
std::string checkReplaceable(const std::string& target);

// Gives the new file open as `fd` the permission bits and owner of the file it replaces, or
// those of a new file.
void takeOverModeAndOwner(int fd, const std::string& target);
#endif
