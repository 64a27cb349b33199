#!/usr/bin/env bash
# The viewer started as people start it outside the test display's comfort: with its standard
# streams closed or full, and under a real window manager (openbox, on an X server of its own),
# where an iconic window is never mapped and full screen is the manager's to grant.
#
# Usage: hostile_start_test.sh VIEWER_BINARY SCRATCH_FOLDER   (needs an X display)
set -euo pipefail
self=$(realpath "$0")
viewer=$(realpath "${1:?usage: hostile_start_test.sh VIEWER_BINARY SCRATCH_FOLDER}")
scratch=${2:?usage: hostile_start_test.sh VIEWER_BINARY SCRATCH_FOLDER}
mkdir -p "$scratch"
cd "$scratch"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# A run that hangs is the failure looked for; one that ends takes a second or two.
run() { timeout -k 5 60 "$viewer" "$@"; }

if [ "${3:-}" = --under-window-manager ]; then
  openbox >/dev/null 2>&1 &
  manager=$!
  trap 'kill "$manager" 2>/dev/null || true' EXIT
  for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

  # -iconic: the window manager shows it as an icon, and a scripted run still ends.
  "$viewer" -iconic >/dev/null &
  iconic=$!
  for _ in $(seq 300); do
    xprop -name "Velkarin - lighting" WM_STATE 2>/dev/null | grep -q 'state: Iconic' && break
    sleep 0.1
  done
  state=$(xprop -name "Velkarin - lighting" WM_STATE 2>&1 || true)
  grep -q 'state: Iconic' <<<"$state" || fail "-iconic: the window is not iconic: $state"
  # Iconified, it rests: over two seconds it takes next to no processor time (it took 65 to
  # 91 % of a core when it drew on). Clock ticks of user and system time, 100 a second.
  ticks() { awk '{ print $14 + $15 }' "/proc/$iconic/stat"; }
  before=$(ticks)
  sleep 2
  after=$(ticks)
  kill "$iconic"
  wait "$iconic" || true
  [ $((after - before)) -lt 30 ] || fail "-iconic: it drew on, $((after - before)) ticks in 2 s"
  run -iconic --keys pfL --frames 30 --screenshot iconic.png >/dev/null ||
    fail "-iconic under a window manager did not end its run"
  [ "$(identify -format %wx%h iconic.png)" = 620x160 ] || fail "-iconic: no 620x160 picture"
  run --fullscreen --keys L --frames 1 --screenshot full.png >/dev/null ||
    fail "--fullscreen under a window manager did not end its run"
  [ "$(identify -format %wx%h full.png)" = 1280x1024 ] || fail "--fullscreen: not the screen's size"
  echo "under openbox: -iconic and --fullscreen runs end with their pictures"
  exit 0
fi

# Closed streams: the X connection must not take their numbers, nor the run hang. Each run
# writes to standard error too (the keys its budget leaves unpressed), which would reach the
# X server as garbage if the connection had descriptor 2.
run --frames 2 >&- || fail "standard output closed: status $?"
run --keys xxxxxx --frames 2 2>&- || fail "standard error closed: status $?"
run --keys xxxxxx --frames 2 <&- >&- 2>&- || fail "all three streams closed: status $?"
# A full disk or a closed stream behind standard output is an error, as GNU programs make it.
for option in --help --version; do
  for into in /dev/full closed; do
    status=0
    if [ "$into" = closed ]; then
      run "$option" >&- 2>errors.txt || status=$?
    else
      run "$option" >"$into" 2>errors.txt || status=$?
    fi
    [ "$status" = 1 ] || fail "$option into $into: status $status"
    grep -Eq 'write error: (No space left on device|Bad file descriptor)' errors.txt ||
      fail "$option: $(cat errors.txt)"
  done
done
echo "closed and full standard streams: runs end, write errors are reported"

# A GL context the server does not offer (Xvfb has no indirect GLX) ends in one line of ours,
# its results written with the status it ends with.
status=0
rm -f indirect.json
run -indirect --frames 2 --results indirect.json >/dev/null 2>errors.txt || status=$?
[ "$status" = 1 ] && grep -q '^velkarin: the X server refused a request: .*-indirect' errors.txt ||
  fail "-indirect: status $status, $(cat errors.txt)"
python3 -c 'import json, sys; assert json.load(open(sys.argv[1]))["exit_status"] == 1' \
  indirect.json || fail "-indirect: no results with status 1"

# A name with a line break, an escape code or a byte of no UTF-8 character is shown quoted, as
# ls shows it, never raw; a character outside ASCII shows as itself.
odd=$'a\nb\033[31m\xff\x9bé.png'
DISPLAY= run --frames 1 --screenshot "$odd" --record "$odd" >/dev/null 2>errors.txt || true
grep -qF "velkarin: 'a'\$'\\n''b'\$'\\033''[31m'\$'\\377'''\$'\\233''é.png': " errors.txt ||
  fail "a name with control bytes: $(od -c errors.txt | head -3)"

# A connection to the X server that dies (here the client killed on the server) ends a
# --frames run as a closed window does, in the viewer's words.
"$viewer" --frames 100000000 >/dev/null 2>errors.txt &
lost=$!
for _ in $(seq 300); do
  id=$(xwininfo -name "Velkarin - lighting" 2>/dev/null | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p') || true
  [ -n "$id" ] && break
  sleep 0.1
done
xkill -id "$id" >/dev/null
status=0
wait "$lost" || status=$?
[ "$status" = 1 ] && grep -Eq '^velkarin: window closed after [0-9]+ of 100000000 frames$' errors.txt ||
  fail "a lost X connection: status $status, $(cat errors.txt)"

# A session kept onto a full disk (here a file-size limit, whose signal the viewer ignores
# itself) ends with its last whole event, says recording stopped once, and replays as a
# session cut short; a device that refuses every write is a full disk from the first line on.
# The p shifts the events so that the limit falls within one, not between two.
keys=p$(printf 'x%.0s' $(seq 200))
(ulimit -f 1 && run --record full.txt --keys "$keys" --frames 250) \
  >/dev/null 2>errors.txt || fail "recording onto a full disk: status $?"
grep -q 'full.txt: File too large; recording stopped' errors.txt &&
  [ "$(grep -c 'recording stopped' errors.txt)" = 1 ] ||
  fail "full disk: $(cat errors.txt)"
[ "$(tail -c 1 full.txt | od -An -c | tr -d ' ')" = '\n' ] || fail "full disk: a half line kept"
run --replay full.txt >/dev/null 2>errors.txt || fail "the full disk's session: status $?"
grep -q 'cut short' errors.txt || fail "the full disk's session: $(cat errors.txt)"
run --record /dev/full --keys xx --frames 5 >/dev/null 2>errors.txt || fail "/dev/full: status $?"
grep -q '/dev/full: No space left on device; recording stopped' errors.txt &&
  [ "$(grep -c 'recording stopped' errors.txt)" = 1 ] ||
  fail "/dev/full: $(cat errors.txt)"
# A stopped recording lets go of its file: the run going on holds no descriptor to it.
(ulimit -f 1 && exec "$viewer" --record gone.txt --keys "$keys") >/dev/null 2>errors.txt &
stopped=$!
for _ in $(seq 300); do
  grep -q 'recording stopped' errors.txt && break
  sleep 0.1
done
held=$(ls -l "/proc/$stopped/fd" | grep -c -e gone.txt -e "$PWD/#" -e velkarin- || true)
kill "$stopped"
wait "$stopped" || true
grep -q 'gone.txt: File too large; recording stopped' errors.txt && [ "$held" = 0 ] ||
  fail "a stopped recording: $held descriptors left, $(cat errors.txt)"
# A picture beyond the limit says why, ends with status 1 and leaves the old file.
echo old >big.png
status=0
(ulimit -f 1 && run --frames 2 --screenshot big.png) >/dev/null 2>errors.txt || status=$?
[ "$status" = 1 ] && grep -q 'big.png: File too large' errors.txt && [ "$(cat big.png)" = old ] ||
  fail "a picture beyond a file-size limit: status $status, $(cat errors.txt)"

# A picture piped on: through standard output ("-", whose text lines then go to standard
# error), /dev/stdout, /dev/fd/N and a shell's >(...), each the run's own picture; a session
# too. Standard output closed, or taken by both, is refused before anything is drawn.
run --frames 2 --screenshot own.png >/dev/null
run --frames 2 --screenshot - >piped.png 2>errors.txt || fail "--screenshot -: status $?"
cmp -s own.png piped.png && grep -q '^tex = ' errors.txt || fail "--screenshot -: $(cat errors.txt)"
run --frames 2 --screenshot /dev/stdout 2>/dev/null | cat >piped.png
cmp -s own.png piped.png || fail "--screenshot /dev/stdout"
run --frames 2 --screenshot /dev/fd/3 3>&1 >/dev/null | cat >piped.png
cmp -s own.png piped.png || fail "--screenshot /dev/fd/3"
run --keys p --frames 2 --record - 2>/dev/null | cat >piped.txt
[ "$(head -n 1 piped.txt)" = "velkarin-session 2" ] || fail "--record -: $(cat piped.txt)"
run --frames 2 --results - 2>errors.txt | cat >piped.json
python3 -c 'import json, sys; assert json.load(open(sys.argv[1]))["frames"] == 2' piped.json &&
  grep -q '^tex = ' errors.txt || fail "--results -: $(cat piped.json) $(cat errors.txt)"
for option in --screenshot --results; do
  status=0
  run --frames 2 "$option" - >&- 2>errors.txt || status=$?
  [ "$status" = 1 ] && grep -q '^velkarin: -: standard output is closed$' errors.txt ||
    fail "$option - with standard output closed: status $status, $(cat errors.txt)"
done
status=0
run --frames 2 --screenshot - --record - >/dev/null 2>errors.txt || status=$?
[ "$status" = 2 ] && grep -q '^velkarin: -: .*(--screenshot and --record)' errors.txt ||
  fail "--screenshot - --record -: status $status, $(cat errors.txt)"
status=0
run --frames 2 --record - --results - >/dev/null 2>errors.txt || status=$?
[ "$status" = 2 ] && grep -q '^velkarin: -: .*(--record and --results)' errors.txt ||
  fail "--record - --results -: status $status, $(cat errors.txt)"
run --frames 2 --screenshot >(cat >substituted.png) >/dev/null
for _ in $(seq 100); do cmp -s own.png substituted.png && break; sleep 0.1; done
cmp -s own.png substituted.png || fail "--screenshot >(...)"
echo "file-size limits and full devices say why; pictures pipe on"

# Files a run never reached stay as they were: a kept session when no window could open or no
# frame was drawn (a SIGTERM while the first map is still being read, from a FIFO held open;
# not SIGINT, which a script's job in the background starts with ignored, and keeps so),
# and any file the run both reads and writes, however it is named, refused with status 2
# before anything starts.
printf 'velkarin-session 1\n5 key p\n' >kept.txt
cp kept.txt kept.before
DISPLAY= run --record kept.txt >/dev/null 2>&1 && fail "--record without a display ended well"
cmp -s kept.txt kept.before || fail "--record without a display changed the kept session"
rm -f slow.ppm && mkfifo slow.ppm
status=0
"$viewer" --env-map slow.ppm --record kept.txt --frames 100 >/dev/null 2>errors.txt &
slow=$!
exec 3>slow.ppm  # opens once the viewer is reading the map
kill -TERM "$slow"
exec 3>&-
wait "$slow" || status=$?
[ "$status" = 143 ] && cmp -s kept.txt kept.before ||
  fail "SIGTERM before the first frame: status $status, $(cat kept.txt)"
mkdir -p maps linked && cp "$(dirname "$self")/../assets/env.ppm" env.ppm && cp env.ppm maps/m.ppm

# A signal ignored when the viewer starts (SIGHUP under nohup) stays ignored: the run, waiting
# for its map from a FIFO when the signal comes, ends as asked once the map is written.
rm -f later.ppm && mkfifo later.ppm
status=0
(trap '' HUP && exec "$viewer" --env-map later.ppm --frames 5 >/dev/null 2>errors.txt) &
ignoring=$!
exec 3>later.ppm # opens once the viewer is reading the map
kill -HUP "$ignoring"
cat env.ppm >&3
exec 3>&-
wait "$ignoring" || status=$?
[ "$status" = 0 ] || fail "SIGHUP ignored at start: status $status, $(cat errors.txt)"

# The run's clock stops at its last swap: a picture written slowly (through a pipe whose reader
# waits four seconds, start-up among them, before reading, the picture larger than the pipe holds) is not in the run's
# seconds, but a figure of its own; and the --fps line and the results give one figure.
run -geometry 1600x1000 --keys pfe --frames 3 --fps --results timed.json \
  --screenshot >(sleep 4 && cat >slow.png) >timed.txt 2>/dev/null || fail "a slow picture: $?"
python3 - timed.json timed.txt <<'PY' || fail "a slow picture: $(cat timed.json timed.txt)"
import json, re, sys
results = json.load(open(sys.argv[1]))
line = re.fullmatch(r"tex = 1\n3 frames in ([\d.]+) seconds = ([\d.]+) FPS;.*\n", open(sys.argv[2]).read())
assert results["seconds"] < 1.9 and results["picture_seconds"] >= 0.5, results
assert abs(float(line[1]) - results["seconds"]) < 0.0006, (line[1], results["seconds"])
assert abs(float(line[2]) - results["fps"]) < 0.0011, (line[2], results["fps"])
PY

# A map too large for the memory there is (a PNG's signature, then 900 MB of nothing) is said
# and skipped like any broken map, whether it is shown first or reached by Page Down.
printf '\x89PNG\r\n\x1a\n' >huge.png && truncate -s 900M huge.png
for maps in "huge.png env.ppm" "env.ppm huge.png"; do
  status=0
  # shellcheck disable=SC2086
  (ulimit -v $((1300 * 1024)) && run --frames 3 --keys '<pagedown>' $maps) >/dev/null \
    2>errors.txt || status=$?
  [ "$status" = 0 ] && [ "$(cat errors.txt)" = "velkarin: huge.png: not enough memory to read it" ] ||
    fail "a map too large for memory ($maps): status $status, $(cat errors.txt)"
done
rm -f huge.png
ln -sf ../maps/m.ppm linked/m.png
ln -f maps/m.ppm hard.png  # a hard link: another name of the map itself
ln -f kept.txt kept-too.txt
for pair in "--replay kept.txt --screenshot ./kept.txt" "--env-map kept.txt --record kept.txt" \
  "--screenshot env.ppm" "--record ./env.ppm" "--env-map maps --screenshot linked/m.png" \
  "--env-map maps --record maps/../maps/m.ppm" "--record kept.txt --screenshot ./kept.txt" \
  "--env-map maps --screenshot hard.png" "--env-map maps --record hard.png" \
  "--env-map maps --results hard.png" "--replay kept.txt --results kept-too.txt"; do
  status=0
  cp maps/m.ppm m.before
  # shellcheck disable=SC2086
  run $pair --frames 2 >/dev/null 2>errors.txt || status=$?
  [ "$status" = 2 ] || fail "$pair: status $status"
  grep -q 'both read and written, or written twice' errors.txt || fail "$pair: $(cat errors.txt)"
  cmp -s kept.txt kept.before && cmp -s env.ppm maps/m.ppm && cmp -s maps/m.ppm m.before ||
    fail "$pair changed a file"
done

# A numbered sequence's later names are held against every other file of the run before the
# first frame: results named as its third picture are refused with status 2, nothing drawn;
# a name beyond the frames asked is no clash.
status=0
run --frames 5 --screenshot 'seq%d.png' --results ./seq3.png >/dev/null 2>errors.txt ||
  status=$?
[ "$status" = 2 ] && [ ! -e seq1.png ] &&
  grep -q 'seq3.png: .*(a numbered --screenshot and --results)' errors.txt ||
  fail "a numbered picture over the results: status $status, $(cat errors.txt)"
run --frames 2 --screenshot 'seq%d.png' --results seq3.png >/dev/null ||
  fail "a name the sequence never reaches was refused: $?"
rm -f seq*.png

# A picture over a file the user may not write is refused before the first frame, as cp
# refuses it: their own read-only file, another's in a folder anyone may write to, and, in a
# sticky folder, another's that they may write but not replace. Tried as another user.
if [ "$(id -u)" = 0 ]; then
  as_user() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
  rm -rf shared && mkdir -m 777 shared && mkdir -m 1777 shared/sticky
  echo old >shared/own.png && chown nobody shared/own.png && chmod 444 shared/own.png
  echo old >shared/roots.png
  echo old >shared/sticky/others.png && chmod 666 shared/sticky/others.png
  for case in "own.png:Permission denied" "roots.png:Permission denied" \
    "sticky/others.png:Operation not permitted"; do
    file=shared/${case%%:*}
    status=0
    DISPLAY= as_user timeout -k 5 60 "$viewer" --frames 100000000 --screenshot "$file" \
      2>errors.txt || status=$?
    [ "$status" = 1 ] && grep -q "$file: ${case#*:}" errors.txt ||
      fail "a picture over $file: status $status, $(cat errors.txt)"
    [ "$(cat "$file")" = old ] || fail "$file was replaced"
  done
  echo "files never reached are kept; files the user may not write are refused"
fi

bash "$(dirname "$self")/../tools/virtual_display.sh" --own \
  "$self" "$viewer" "$scratch" --under-window-manager
