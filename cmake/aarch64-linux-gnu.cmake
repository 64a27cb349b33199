# Cross-building for 64-bit ARM Linux (Debian's arm64, as 64-bit Raspberry Pi OS is) with
# Debian's aarch64-linux-gnu cross compiler. The libraries are the arm64 ones installed beside
# the build machine's through multiarch: lib/aarch64-linux-gnu under /usr. The build machine's
# own (lib/x86_64-linux-gnu and the like) are never looked at.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(triplet aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${triplet}-gcc)
set(CMAKE_CXX_COMPILER ${triplet}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${triplet})

# Multiarch keeps both architectures under one root: look there for headers and libraries,
# and let CMAKE_LIBRARY_ARCHITECTURE pick the arm64 folders; programs (tools run at build time)
# are the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The build machine's libraries live in the same root; they must never be found.
execute_process(COMMAND dpkg-architecture -qDEB_BUILD_MULTIARCH OUTPUT_VARIABLE build_multiarch
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(build_multiarch AND NOT build_multiarch STREQUAL triplet)
  list(APPEND CMAKE_IGNORE_PATH /usr/lib/${build_multiarch} /lib/${build_multiarch})
endif()

# pkg-config's hints too: only the arm64 .pc files.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${triplet}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# The package is for arm64, whatever dpkg says of the build machine.
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64 CACHE STRING "Debian architecture of the package")
