# Writes the desktop entry at install time, when the prefix is known (a package installs under
# /usr whatever the build's prefix). Run by `cmake --install` with VELKARIN_DESKTOP_IN,
# VELKARIN_DESKTOP_OUT, VELKARIN_BINDIR and VELKARIN_DATADIR set.
#
# The viewer starts in the sample map's folder (Path), where it reads env.ppm when no map is
# named, and takes the files a file manager opens with it as maps (%F). Installed under /usr or
# /usr/local, the program and icon are found as the desktop finds any; under another prefix,
# which neither PATH nor the icon themes search, the entry names their files.
set(prefix "${CMAKE_INSTALL_PREFIX}")

# A string value escaped as desktop entries escape it: a backslash doubled.
function(velkarin_desktop_string out value)
  string(REPLACE "\\" "\\\\" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# A program's path in Exec, quoted: within double quotes `"`, backquote, `$` and backslash take
# a backslash, then the value is escaped as any string, and a literal % is written %%.
function(velkarin_desktop_program out path)
  string(REPLACE "\\" "\\\\" path "${path}")
  string(REPLACE "\"" "\\\"" path "${path}")
  string(REPLACE "`" "\\`" path "${path}")
  string(REPLACE "$" "\\$" path "${path}")
  string(REPLACE "%" "%%" path "${path}")
  velkarin_desktop_string(path "\"${path}\"")
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

velkarin_desktop_string(VELKARIN_MAP_FOLDER "${prefix}/${VELKARIN_DATADIR}/velkarin")
if(prefix STREQUAL /usr OR prefix STREQUAL /usr/local)
  set(VELKARIN_PROGRAM velkarin)
  set(VELKARIN_ICON velkarin)
else()
  velkarin_desktop_program(VELKARIN_PROGRAM "${prefix}/${VELKARIN_BINDIR}/velkarin")
  velkarin_desktop_string(VELKARIN_ICON
    "${prefix}/${VELKARIN_DATADIR}/icons/hicolor/128x128/apps/velkarin.png")
endif()
configure_file("${VELKARIN_DESKTOP_IN}" "${VELKARIN_DESKTOP_OUT}" @ONLY)
