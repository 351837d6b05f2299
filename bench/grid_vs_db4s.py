#!/usr/bin/env python3
"""Process start -> first rows shown: Kelvado's grid next to DB Browser for SQLite, measured the
same way (xwatch polling the screen region of the first rows until it settles) in the same run,
on the same rows (the generated 1,000,000-row file and its Kelvado conversion).

Usage: grid_vs_db4s.py GRID_BENCH KELVADO_DB SOURCE_DB [RUNS]

GRID_BENCH is the built bench/grid_bench (its --zeige mode opens the grid on the table the way a
window does, its --bereich mode names the screen region of its first rows). Without DISPLAY an
Xvfb at 1600x1000 is started. Needs the Debian packages sqlitebrowser, xvfb and libx11-dev (for
xwatch, built from ../shared/perf/xwatch.c). Run 0 of each program is a warm-up and not counted.
"""
import os
import signal
import statistics
import subprocess
import sys
import time

HIER = os.path.dirname(os.path.abspath(__file__))


def perf_ordner():
    for kandidat in (os.environ.get("KV_PERF", ""),
                     os.path.join(HIER, "..", "..", "shared", "perf"),
                     os.path.join(HIER, "..", "..", "..", "shared", "perf")):
        if kandidat and os.path.exists(os.path.join(kandidat, "xwatch.c")):
            return os.path.normpath(kandidat)
    sys.exit("../shared/perf nicht gefunden (KV_PERF setzen)")


PERF = perf_ordner()
AUSGABE = os.environ.get("KV_PERF_OUT", "/tmp/grid_vs_db4s")
os.makedirs(AUSGABE, exist_ok=True)
XWATCH = os.path.join(AUSGABE, "xwatch")
if not os.path.exists(XWATCH):
    subprocess.run(["cc", "-O2", "-o", XWATCH, os.path.join(PERF, "xwatch.c"), "-lX11"], check=True)
os.environ["XWATCH"] = XWATCH
sys.path.insert(0, PERF)
import bench_sqlitebrowser as sb  # noqa: E402  the same polling as the reference figures


def beende(pidfile):
    try:
        pid = int(open(pidfile).read().strip())
    except (OSError, ValueError):
        return
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    for _ in range(100):
        if not os.path.exists(f"/proc/{pid}"):
            return
        time.sleep(0.05)
    os.kill(pid, signal.SIGKILL)


def bildschirm(nummer):
    """An Xvfb at 1600x1000 as the display unless one is set; returns its process or None."""
    xvfb = None
    if not os.environ.get("DISPLAY"):
        os.environ["DISPLAY"] = nummer
        xvfb = subprocess.Popen(["Xvfb", nummer, "-screen", "0", "1600x1000x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1.5)
    os.environ.setdefault("XDG_RUNTIME_DIR", os.path.join(AUSGABE, "rt"))
    os.makedirs(os.environ["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
    return xvfb


def db4s(quelle, lauf):
    cfg = os.path.join(AUSGABE, "sbcfg")
    subprocess.run(["rm", "-rf", cfg])
    os.makedirs(cfg)
    os.environ["XDG_CONFIG_HOME"] = cfg
    pidfile = os.path.join(AUSGABE, f"db4s_{lauf}.pid")
    s = sb.xwatch([sb.ROWS, sb.COUNT, sb.DLG], f"exec sqlitebrowser -t Kunden {quelle}",
                  settle=4000, pidfile=pidfile)
    beende(pidfile)
    return s.get("R0_FINAL_FIRST_MS")


def unsere(grid_bench, datei, bereich, lauf):
    pidfile = os.path.join(AUSGABE, f"kelvado_{lauf}.pid")
    s = sb.xwatch([bereich], f"exec {grid_bench} --zeige {datei}", settle=4000, pidfile=pidfile)
    beende(pidfile)
    return s.get("R0_FINAL_FIRST_MS")


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    grid_bench, datei, quelle = (os.path.abspath(a) for a in sys.argv[1:4])
    laeufe = int(sys.argv[4]) if len(sys.argv) > 4 else 5
    xvfb = bildschirm(":91")
    try:
        bereich = subprocess.run([grid_bench, "--bereich", datei], capture_output=True, text=True,
                                 check=True).stdout.strip()
        print(f"# Kelvado-Bereich {bereich}, DB4S-Bereich {sb.ROWS}", flush=True)
        ref, ours = [], []
        for lauf in range(laeufe + 1):
            # Alternating order, so that a slower spell of the machine falls on both.
            reihe = [("ref", lambda: db4s(quelle, lauf)),
                     ("ours", lambda: unsere(grid_bench, datei, bereich, lauf))]
            if lauf % 2:
                reihe.reverse()
            for name, messe in reihe:
                ms = messe()
                print(f"# run {lauf} {name} {ms}", flush=True)
                if lauf > 0 and isinstance(ms, (int, float)) and ms >= 0:
                    (ref if name == "ref" else ours).append(ms)
        if ref and ours:
            o, r = statistics.median(ours), statistics.median(ref)
            print(f"BENCH grid.vs_db4s_1m ours_ms={o:.2f} ref_ms={r:.2f} ratio={o / r:.2f}",
                  flush=True)
    finally:
        if xvfb:
            xvfb.terminate()


if __name__ == "__main__":
    main()
