#!/usr/bin/env python3
"""Writes long.html: a long commentary, forty sections of the same shape."""
import sys

GAINS = ["0,5", "1", "1,5", "2", "2,5", "3", "3,5", "4", "4,55", "5"]
print("""<!DOCTYPE html>
<html lang="fr"><head><meta charset="utf-8"><title>Carnet de mesures</title></head>
<body>
<h1>Carnet de mesures de la classe</h1>""")
for n in range(1, 41):
    gain = GAINS[(n - 1) % len(GAINS)]
    final = round(100 * float(gain.replace(",", ".")) / (1 + float(gain.replace(",", "."))))
    print(f"""<h2>Essai nº {n}</h2>
<p>Pour l’essai nº {n}, le groupe règle le gain à G = {gain} et note la mesure à chaque période.
La mesure finale attendue vaut environ {final} ; l’écart restant se lit sur la courbe S(t).
<b>Remarque {n} :</b> <i>la période d’échantillonnage reste égale à T1/5.</i></p>""")
print("<p>Fin du carnet.</p>\n</body></html>")
