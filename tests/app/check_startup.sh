#!/bin/sh
# The program started on a machine that lacks something a newcomer may not
# have: no display, a display that does not answer, no usable font; and
# scripts/start without a display. Each is said in French and English, and
# only a missing font lets the program run on. What the command line asks
# of the terminal is answered without a display.
# usage: check_startup.sh PROGRAM SOURCE_DIR NO_FONT_CONFIG SUBSTITUTE_FONT_CONFIG VERSION
set -eu
program=$1
top=$2
no_font=$3
substitute_font=$4
version=$5
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
said=$(mktemp)
printed=$(mktemp)
trap 'rm -f "$said" "$printed"' EXIT
# A bare environment, as on a fresh machine; the sanitizers' leak report
# would stand for the program's own status.
bare() {
  env -i ASAN_OPTIONS=detect_leaks=0 PATH="$PATH" "$@"
}
says() {
  grep -qF -- "$1" "$said" || fail "$2 does not say \"$1\": $(cat "$said")"
}

status=0
bare "$program" 2>"$said" || status=$?
[ "$status" -eq 1 ] || fail "without a display the program ended with status $status"
says "a besoin d'un écran graphique" "without a display, the program"
says "needs a display" "without a display, the program"
says "xvfb-run -a $program" "without a display, the program"

# A display that does not answer: an explanation instead of Qt's abort.
unused=:9999
if [ ! -e /tmp/.X11-unix/X9999 ]; then
  status=0
  bare DISPLAY=$unused "$program" 2>"$said" || status=$?
  [ "$status" -eq 1 ] || fail "with a dead display the program ended with status $status"
  says "n'a pas pu ouvrir de fenêtre sur l'écran graphique (DISPLAY=$unused)" "with a dead display, the program"
  says "could not open a window on the display" "with a dead display, the program"
fi

# The command line: help and version on the standard output without a
# display, even a dead one; what the program does not know is refused
# with status 2 before any display is needed, or once the toolkit, given
# one, has taken its own options.
for display in "" "DISPLAY=$unused"; do
  for option in --help -h; do
    status=0
    bare $display "$program" $option >"$printed" 2>"$said" || status=$?
    [ "$status" -eq 0 ] && [ ! -s "$said" ] || fail "$option ${display:-without a display}: status $status, $(cat "$said")"
    for line in "Utilisation : $program [options]" "-h, --help" "-v, --version" "Affiche la version du programme"; do
      grep -qF -- "$line" "$printed" || fail "$option does not print \"$line\": $(cat "$printed")"
    done
  done
  status=0
  bare $display "$program" --version >"$printed" 2>"$said" || status=$?
  [ "$status" -eq 0 ] && [ "$(cat "$printed")" = "Temperature1 $version" ] ||
    fail "--version ${display:-without a display}: status $status, $(cat "$printed" "$said")"
done
for wrong in --aide "--help extra" "--version=2" --laboratoire; do
  status=0
  bare "$program" $wrong >"$printed" 2>"$said" || status=$?
  [ "$status" -eq 2 ] && [ ! -s "$printed" ] || fail "\"$wrong\" gave status $status"
  says "--help »" "\"$wrong\""
done
# A teacher's correction without a display: one student (the draw the
# model's tests pin for this sheet), or a class list as CSV.
sheets=$top/resources
status=0
bare "$program" --corrige "$sheets/feuille-identification.json" --eleve "Jean Dupont" >"$printed" 2>"$said" || status=$?
[ "$status" -eq 0 ] || fail "--corrige --eleve gave status $status: $(cat "$said")"
grep -qF "Élève : Jean Dupont (nom lu « jean dupont »)" "$printed" || fail "--corrige does not name the student: $(cat "$printed")"
grep -qF "Valeurs cachées : K = " "$printed" || fail "--corrige does not print the hidden values: $(cat "$printed")"
printf 'Dupont;Jean\nLefèvre;Zoé\n' >"$said"
status=0
bare "$program" --corrige "$sheets/feuille-reglage.json" --eleves "$said" >"$printed" 2>/dev/null || status=$?
[ "$status" -eq 0 ] && [ "$(grep -c '' "$printed")" -eq 3 ] && grep -q "^Lefèvre Zoé;" "$printed" ||
  fail "--corrige --eleves gave status $status: $(cat "$printed")"
for wrong in "--corrige $sheets/feuille-reglage.json" "--eleve Dupont"; do
  status=0
  bare "$program" $wrong >"$printed" 2>"$said" || status=$?
  [ "$status" -eq 2 ] && [ ! -s "$printed" ] || fail "\"$wrong\" gave status $status"
done
status=0
bare "$program" --corrige "$top/README.md" --eleve Dupont >"$printed" 2>"$said" || status=$?
[ "$status" -eq 1 ] && says "README.md" "a file that is no sheet"

status=0
bare QT_QPA_PLATFORM=offscreen "$program" -platform offscreen --aide 2>"$said" || status=$?
[ "$status" -eq 2 ] || fail "--aide on a display gave status $status"
says "Option inconnue : « aide »." "--aide on a display"

# --laboratoire opens the Laboratoire on a setup; a file refused is said on
# the standard error and the program runs on, the Laboratoire at its defaults.
setup=$(mktemp)
home=$(mktemp -d)  # where the recent files are kept
printf '{ "format": "temperature1-laboratoire", "version": 1, "K": 0 }' >"$setup"
status=0
bare HOME="$home" QT_QPA_PLATFORM=offscreen timeout 3 "$program" --laboratoire "$setup" 2>"$said" || status=$?
[ "$status" -eq 124 ] || fail "--laboratoire with a file refused ended early (status $status)"
says "Le fichier « $setup » : la clé « K » vaut 0" "--laboratoire with a file refused"
status=0
bare HOME="$home" QT_QPA_PLATFORM=offscreen timeout 3 "$program" --laboratoire "$top/resources/exemples/p-retard.json" \
  2>"$said" || status=$?
[ "$status" -eq 124 ] && ! grep -q "Le fichier" "$said" || fail "--laboratoire with an example: status $status, $(cat "$said")"
rm -rf "$setup" "$home"

# No font at all: said once, and the program runs on until it is stopped.
status=0
bare QT_QPA_PLATFORM=offscreen FONTCONFIG_FILE="$no_font" timeout 3 "$program" 2>"$said" || status=$?
[ "$status" -eq 124 ] || fail "without any font the program ended early (status $status)"
[ "$(grep -c "paquet fonts-liberation2" "$said")" -eq 1 ] || fail "the missing font is not said once in French: $(cat "$said")"
[ "$(grep -c "package fonts-liberation2" "$said")" -eq 1 ] || fail "the missing font is not said once in English: $(cat "$said")"

# The usual fonts, or only a substitute for Liberation Sans: nothing said.
# The toolkit's own -platform stands for QT_QPA_PLATFORM, even over a dead
# display.
for config in "" "$substitute_font"; do
  status=0
  bare DISPLAY=$unused ${config:+FONTCONFIG_FILE="$config"} timeout 3 "$program" -platform offscreen 2>"$said" || status=$?
  [ "$status" -eq 124 ] || fail "the program ended early (status $status, fonts ${config:-of the system})"
  ! grep -q "fonts-liberation2" "$said" || fail "a font is said to be missing with ${config:-the system's fonts}"
done

# scripts/start refuses at once without a display, unless asked to run on a
# virtual one; a bad job count is refused before anything is built.
status=0
bare HOME="${HOME:-/root}" sh "$top/scripts/start" 2>"$said" || status=$?
[ "$status" -eq 1 ] || fail "scripts/start without a display ended with status $status"
says "T1_HEADLESS=1 ./scripts/start" "scripts/start without a display"
says "No display" "scripts/start without a display"
status=0
bare T1_HEADLESS=1 T1_DISPLAY=seven sh "$top/scripts/start" 2>"$said" || status=$?
[ "$status" -eq 2 ] || fail "scripts/start took T1_DISPLAY=seven (status $status)"
says "T1_DISPLAY" "scripts/start with T1_DISPLAY=seven"
for script in start test bench package; do
  status=0
  bare T1_JOBS=lots T1_HEADLESS=1 sh "$top/scripts/$script" 2>"$said" || status=$?
  [ "$status" -eq 2 ] || fail "scripts/$script took T1_JOBS=lots (status $status)"
  says "T1_JOBS" "scripts/$script with T1_JOBS=lots"
done
echo "start-up ok"
