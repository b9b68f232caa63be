#!/bin/sh
# Writes the RTF documents of tests/data/rtf from the sources here with
# LibreOffice Writer and pandoc, and beside each the plain text that
# LibreOffice reads back from it. Only this script needs the two programs
# (Debian's libreoffice-writer-nogui and pandoc); the build and the tests
# read the committed files.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$(dirname "$here")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# LibreOffice keeps its profile in the home directory: a fresh one each run.
export HOME="$work/home"

# soffice_rtf SOURCE TARGET [IMPORT FILTER]
soffice_rtf() {
  base=$(basename "$1")
  if [ $# -ge 3 ]; then
    soffice --headless --infilter="$3" --convert-to rtf --outdir "$work" "$1" >/dev/null 2>&1
  else
    soffice --headless --convert-to rtf --outdir "$work" "$1" >/dev/null 2>&1
  fi
  mv "$work/${base%.*}.rtf" "$out/$2"
}

python3 "$here/long.py" > "$work/long.html"
pandoc -f markdown -t docx -o "$work/reponse-pile.docx" "$here/reponse-pile.md"

soffice_rtf "$here/commentaire-p.html" libreoffice-commentaire.rtf "HTML (StarWriter)"
soffice_rtf "$here/recurrence.html" libreoffice-recurrence.rtf "HTML (StarWriter)"
soffice_rtf "$here/perturbation.fodt" libreoffice-perturbation.rtf
soffice_rtf "$work/long.html" libreoffice-long.rtf "HTML (StarWriter)"
soffice_rtf "$work/reponse-pile.docx" libreoffice-docx.rtf
pandoc -s -f html -t rtf -o "$out/pandoc-html.rtf" "$here/commentaire-p.html"
pandoc -s -f markdown -t rtf -o "$out/pandoc-markdown.rtf" "$here/reponse-pile.md"

for rtf in "$out"/*.rtf; do
  name=$(basename "$rtf" .rtf)
  soffice --headless --convert-to "txt:Text (encoded):UTF8" --outdir "$work" "$rtf" >/dev/null 2>&1
  # Without the byte order mark LibreOffice puts first.
  sed '1s/^\xEF\xBB\xBF//' "$work/$name.txt" > "$out/$name.txt"
done
