#!/usr/bin/env python3
"""The table view next to DB Browser for SQLite, process start included, in the same run under
Xvfb and measured the same way (xwatch polling the first rows until they reach their settled
look): start until the first rows are shown, "Mei" typed into the name filter until the filtered
rows are shown, a click on the name head until the sorted rows are shown.

Usage: tableview_vs_db4s.py KELVADO TABLEVIEW_SCREEN KELVADO_DB SOURCE_DB [RUNS]

KELVADO is the built program (started as `kelvado /MDB:<file> /TABELLE:Kunden`, with a fresh
settings folder each run), TABLEVIEW_SCREEN the built bench/tableview_screen (names the screen
places of the rows, the search-row cell and the head), KELVADO_DB the Kelvado conversion of
SOURCE_DB, the generated 1,000,000-row file. Needs the Debian packages sqlitebrowser, xvfb,
xdotool and libx11-dev (for xwatch, built from ../shared/perf/xwatch.c). Run 0 of each program is
a warm-up and not counted.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from grid_vs_db4s import AUSGABE, beende, bildschirm, sb


def sh(befehl):
    subprocess.run(befehl, shell=True, capture_output=True, timeout=30)


def zahl(s, schluessel):
    wert = s.get(schluessel)
    return wert if isinstance(wert, (int, float)) and wert >= 0 else None


def plaetze(screen, datei, einstellungen):
    zeile = subprocess.run([screen, datei], capture_output=True, text=True, check=True,
                           env=dict(os.environ, KV_EINSTELLUNGEN=einstellungen)).stdout.strip()
    werte = dict(teil.split("=", 1) for teil in zeile.split())
    return werte["rows"], werte["search"].replace(",", " "), werte["head"].replace(",", " ")


def unsere(kelvado, datei, screen, lauf):
    """One run of ours: start, filter, sort. Returns (start, filter, sort) in ms."""
    einstellungen = tempfile.mkdtemp(prefix="kv_tv_", dir=AUSGABE)
    try:
        rows, suche, kopf = plaetze(screen, datei, einstellungen)
        shutil.rmtree(einstellungen)
        os.makedirs(einstellungen)
        os.environ["KV_EINSTELLUNGEN"] = einstellungen
        pidfile = os.path.join(AUSGABE, f"kelvado_tv_{lauf}.pid")
        s = sb.xwatch([rows], f"exec {kelvado} /MDB:{datei} /TABELLE:Kunden", settle=4000,
                      pidfile=pidfile)
        start = zahl(s, "R0_FINAL_FIRST_MS")
        sh(f"xdotool mousemove {suche} click 1")
        time.sleep(1.0)
        f = sb.xwatch([rows], "exec xdotool type --delay 12 Mei", settle=3000)
        filter_ms = zahl(f, "R0_FINAL_FIRST_MS")
        sh("xdotool key ctrl+a BackSpace")
        sb.xwatch([rows], "true", settle=1500, timeout=30000)
        time.sleep(1.0)
        so = sb.xwatch([rows], f"exec xdotool mousemove {kopf} click 1", settle=3000)
        sort_ms = zahl(so, "R0_FINAL_FIRST_MS")
        beende(pidfile)
        return start, filter_ms, sort_ms
    finally:
        os.environ.pop("KV_EINSTELLUNGEN", None)
        shutil.rmtree(einstellungen, ignore_errors=True)


def db4s(quelle, lauf):
    ausgabe = os.path.join(AUSGABE, f"db4s_tv_{lauf}")
    shutil.rmtree(ausgabe, ignore_errors=True)
    os.makedirs(ausgabe)
    r = sb.one_run(quelle, ausgabe, lauf)
    return (zahl(r, "start_rows_shown_ms"), zahl(r, "filter_rows_shown_ms"),
            zahl(r, "sort_name_rows_shown_ms"))


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    kelvado, screen, datei, quelle = (os.path.abspath(a) for a in sys.argv[1:5])
    laeufe = int(sys.argv[5]) if len(sys.argv) > 5 else 5
    xvfb = bildschirm(":92")
    namen = ("open", "filter", "sort")
    ours = {n: [] for n in namen}
    ref = {n: [] for n in namen}
    try:
        for lauf in range(laeufe + 1):
            # Alternating order, so that a slower spell of the machine falls on both.
            reihe = [(ref, lambda: db4s(quelle, lauf)),
                     (ours, lambda: unsere(kelvado, datei, screen, lauf))]
            if lauf % 2:
                reihe.reverse()
            for ziel, messe in reihe:
                werte = messe()
                print(f"# run {lauf} {'ours' if ziel is ours else 'ref'} {werte}", flush=True)
                if lauf > 0:
                    for n, w in zip(namen, werte):
                        if w is not None:
                            ziel[n].append(w)
        for n in namen:
            if ours[n] and ref[n]:
                o, r = statistics.median(ours[n]), statistics.median(ref[n])
                print(f"BENCH tableview.vs_db4s_{n} ours_ms={o:.2f} ref_ms={r:.2f} "
                      f"ratio={o / r:.2f}", flush=True)
    finally:
        if xvfb:
            xvfb.terminate()


if __name__ == "__main__":
    main()
