#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: on the normal build,
# then on one built with AddressSanitizer and UndefinedBehaviorSanitizer; then browses maps with
# a viewer built with ThreadSanitizer. Then it cross-builds
# the Windows zip and checks it under Wine, and the arm64 package and checks it under qemu. Without a display the suite runs on a virtual X
# server (Xvfb), so the GL and end-to-end tests always have a real window.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
source "$VELKARIN_ROOT/tools/virtual_display.sh"

# run_suite BUILD_FOLDER [ENV=VALUE...]: the folder's tests, as many at once as there are
# cores; those that share the display take it in turn (their RESOURCE_LOCK), and the checks
# that open windows of their own do so on servers of their own.
run_suite() {
  local build=$1
  shift
  cd "$build"
  velkarin_with_display env "$@" ctest --output-on-failure -j "$(nproc)"
  cd - >/dev/null
}

run_suite "$VELKARIN_BUILD"

sanitized=$VELKARIN_BUILD-sanitize
cmake -S "$VELKARIN_ROOT" -B "$sanitized" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKARIN_SANITIZE=ON
cmake --build "$sanitized" -j "$(nproc)"
# intercept_tls_get_addr=0: this GCC's sanitizer runtime misreads the dynamic TLS blocks of the
# GL driver's libraries under this glibc, and LeakSanitizer's exit check then crashed reading
# them ("Tracer caught signal 11", its log showing a TLS range of garbage), failing a sound
# run; whether it did depended on the memory layout, so on the binary and its environment.
# Without the interception no such blocks are tracked; the project's own code keeps no
# thread-local data, so no pointer of ours lies only there.
run_suite "$sanitized" \
  LD_PRELOAD="$sanitized/tests/libvelkarin_keep_loaded.so" \
  ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=1:abort_on_error=0:intercept_tls_get_addr=0 \
  LSAN_OPTIONS="suppressions=$VELKARIN_ROOT/tests/sanitizer/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The viewer built with ThreadSanitizer, browsing and watching maps: the worker that reads them
# ahead and the GL thread that shows them must race on nothing.
threads=$VELKARIN_BUILD-tsan
cmake -S "$VELKARIN_ROOT" -B "$threads" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELKARIN_THREAD_SANITIZE=ON -DBUILD_TESTING=OFF
cmake --build "$threads" -j "$(nproc)" --target velkarin velkarin_make_matcaps
velkarin_with_display bash "$VELKARIN_ROOT/tests/thread_check.sh" "$threads" "$threads/check"

# The Windows build: cross-built with MinGW-w64, packed as a zip, and run from the unpacked zip
# under Wine.
windows=$VELKARIN_BUILD-windows
bash "$VELKARIN_ROOT/tools/windows.sh" "$windows"
version=$("$VELKARIN_BUILD/velkarin" --version | cut -d' ' -f2)
velkarin_with_display bash "$VELKARIN_ROOT/tests/wine_test.sh" \
  "$windows"/viewer/velkarin-*-windows-x86_64.zip "$VELKARIN_BUILD" "$windows/wine-check" "$version"

# The arm64 build: cross-built with Debian's aarch64 compiler and multiarch libraries, packed
# as a .deb, and run from the unpacked package under qemu.
arm64=$VELKARIN_BUILD-arm64
bash "$VELKARIN_ROOT/tools/arm64.sh" "$arm64"
velkarin_with_display bash "$VELKARIN_ROOT/tests/arm64_test.sh" \
  "$arm64"/velkarin_*_arm64.deb "$VELKARIN_BUILD" "$arm64/check" "$version"
