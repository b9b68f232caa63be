#!/bin/sh
# The program on a virtual display (T1_HEADLESS=1 scripts/run), stopped each
# way a newcomer may stop it: Ctrl+C (the terminal signals the whole
# foreground group), SIGINT or SIGTERM to the script, SIGINT or SIGTERM to
# the program, its window closed. Each time the script ends as the program
# did, and nothing is left: no server, no lock file, no socket, no folder;
# nor is the toolkit heard warning or finding its display gone.
# usage: check_headless.sh RUN_SCRIPT PROGRAM X_WINDOW
set -eu
run=$1
program=$2
x_window=$3
fail() {
  echo "FAIL: $*" >&2
  [ ! -s "$said" ] || sed 's/^/  said: /' "$said" >&2
  exit 1
}
work=$(mktemp -d)
said=$work/said
tmp=$work/tmp # the script's TMPDIR, to be left empty
script=
trap '[ -z "$script" ] || kill -TERM "$script" 2>/dev/null; rm -rf "$work"' EXIT
patience=600 # tenths of a second: a sanitized build on a busy machine starts slowly

# Until the command after $1 succeeds, or fails with $1.
within() {
  why=$1
  shift
  tries=0
  until "$@"; do
    tries=$((tries + 1))
    [ "$tries" -lt "$patience" ] || fail "$why"
    sleep 0.1
  done
}
not_running() {
  [ "$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null)" = Z ] || ! kill -0 "$1" 2>/dev/null
}
# The child of $1 that runs the command $2.
child() {
  for pid in $(cat "/proc/$1/task/$1/children"); do
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" != "$2" ] || echo "$pid"
  done
}
gone() {
  [ "$(cat "/proc/$1/comm" 2>/dev/null)" != "$2" ] || fail "$3: $2 is left running"
}

# stop WAY STATUS [DISPLAY_NUMBER]
stop() {
  way=$1
  mkdir "$tmp"
  # Emptied here: the background command below opens it only once it has
  # forked, and the wait that follows must not read the last stop's lines.
  : >"$said"
  # In a session of its own, as a terminal starts a command: its group is
  # what Ctrl+C signals; with Ctrl+C at its default, as at a terminal.
  env -i PATH="$PATH" HOME="$work" TMPDIR="$tmp" ASAN_OPTIONS=detect_leaks=0 T1_HEADLESS=1 \
    ${3:+T1_DISPLAY=":$3"} env --default-signal=INT setsid "$run" "$program" 2>"$said" &
  script=$!
  within "$way: the virtual display is not said" grep -q "^The program runs on the virtual display" "$said"
  display=$(sed -n 's/^The program runs on the virtual display \(:[0-9]*\) (Xvfb, XAUTHORITY=\(.*\));.*/\1/p' "$said")
  authority=$(sed -n 's/^The program runs on the virtual display \(:[0-9]*\) (Xvfb, XAUTHORITY=\(.*\));.*/\2/p' "$said")
  [ -z "${3:-}" ] || [ "$display" = ":$3" ] || fail "$way: runs on $display, not on the :$3 asked for"
  DISPLAY=$display XAUTHORITY=$authority "$x_window" wait || fail "$way: no window"
  server=$(child "$script" Xvfb)
  shown=$(child "$script" temperature1)
  [ -n "$server" ] && [ -n "$shown" ] || fail "$way: no server or no program under the script"
  case $way in
  ctrl-c) kill -INT "-$script" ;;
  int-to-script) kill -INT "$script" ;;
  term-to-script) kill -TERM "$script" ;;
  int-to-program) kill -INT "$shown" ;;
  term-to-program) kill -TERM "$shown" ;;
  window-closed) DISPLAY=$display XAUTHORITY=$authority "$x_window" close ;;
  esac
  within "$way: the script does not end" not_running "$script"
  status=0
  wait "$script" || status=$?
  script=
  [ "$status" -eq "$2" ] || fail "$way: the script ended with status $status, not $2"
  gone "$shown" temperature1 "$way"
  gone "$server" Xvfb "$way"
  n=${display#:}
  [ ! -e "/tmp/.X$n-lock" ] || fail "$way: the lock file /tmp/.X$n-lock is left"
  [ ! -e "/tmp/.X11-unix/X$n" ] || fail "$way: the socket /tmp/.X11-unix/X$n is left"
  [ -z "$(ls -A "$tmp")" ] || fail "$way: left in TMPDIR: $(ls -A "$tmp")"
  ! grep -qiE "XDG_RUNTIME_DIR|X11 connection|server die" "$said" || fail "$way: warnings on the terminal"
  rmdir "$tmp"
}

stop ctrl-c 130
stop int-to-script 130
stop term-to-script 143
stop int-to-program 130
stop term-to-program 143
# A display number chosen by the user, one that no server holds.
number=$((200 + $$ % 500))
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
  number=$((number + 1))
done
stop window-closed 0 "$number"
echo "headless ok"
