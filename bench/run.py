#!/usr/bin/env python3
"""Measures each figure of Zonvex beside the floor it is built on, in the same run, and prints
one line per figure: ours, the floor, the ratio and the target.

    bench/run.py BUILD_DIR SOURCE_ROOT PORT [WINDOWS_BUILD_DIR]

Each measurement runs in a process of its own, ours and the floor taking turns, and the
median of the rounds is reported: on a shared machine absolute times drift, ratios less so.
"""
import http.server
import json
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROUNDS = 5


def google_benchmark(build, name):
    """Median real time of one Google Benchmark, in its own process."""
    out = subprocess.run(
        [f"{build}/bench/zonvex_bench", f"--benchmark_filter=^{name}$", "--benchmark_format=json",
         "--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            return b["real_time"], b["time_unit"]
    raise RuntimeError(f"no result for {name}")


def spawn(argv, env):
    """Wall time in ms from exec to exit, and peak resident memory in MiB."""
    null = os.open(os.devnull, os.O_WRONLY)
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, env, file_actions=[(os.POSIX_SPAWN_DUP2, null, 1), (os.POSIX_SPAWN_DUP2, null, 2)])
    _, status, usage = os.wait4(pid, 0)
    elapsed = (time.perf_counter() - start) * 1000
    os.close(null)
    if status != 0:
        raise RuntimeError(f"{argv} ended with status {status}")
    return elapsed, usage.ru_maxrss / 1024


def serve(folder, port):
    handler = lambda *a, **k: http.server.SimpleHTTPRequestHandler(*a, directory=folder, **k)
    http.server.SimpleHTTPRequestHandler.log_message = lambda *a: None
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def make_installation(build, install):
    """A client installation set to the live servers."""
    os.makedirs(f"{install}/RUDE/config")
    open(f"{install}/crossfire.exe", "w").close()
    subprocess.run([f"{build}/tests/zonvex_write_profile", install, "live", "1.0.320.500"], check=True)


def make_site(tmp, root, port):
    """The sample pages, their links pointing at the local server; the folder to serve."""
    site = f"{tmp}/site"
    os.makedirs(site)
    for page in ("versions", "bulletin"):
        text = open(f"{root}/samples/pages/{page}.html", encoding="utf-8").read()
        open(f"{site}/{page}.html", "w", encoding="utf-8").write(text.replace("@BASE@", f"http://127.0.0.1:{port}"))
    return site


def windows_figures(windows, build, root, port, row):
    """The Windows program under Wine: start-up and peak memory beside a minimal Win32 window
    with one Chinese label, both through Wine in the same run, and the size of zonvex.exe."""
    wine_run = f"{root}/scripts/lib/wine-run"
    with tempfile.TemporaryDirectory() as tmp:
        prefix = f"{tmp}/prefix"
        env = dict(os.environ, WINEPREFIX=prefix, HOME=tmp, ZONVEX_WINE_UNMANAGED="1")
        subprocess.run([wine_run, "cmd", "/c", "exit"], env=env, capture_output=True)  # makes the prefix
        make_installation(build, f"{prefix}/drive_c/cf")
        server = serve(make_site(tmp, root, port), port)
        probe = f"{windows}/bench/windows/zonvex_startup_probe.exe"
        minimal = f"{windows}/bench/windows/zonvex_minimal_window.exe"
        spawn([wine_run, probe, "start"], env)  # the first start writes the skin library beside the probe
        measured = {name: [] for name in ("start", "label", "main", "label rss")}
        for _ in range(ROUNDS * 2):
            measured["start"].append(spawn([wine_run, probe, "start"], env)[0])
            t, rss = spawn([wine_run, minimal], env)
            measured["label"].append(t)
            measured["label rss"].append(rss)
            measured["main"].append(spawn([wine_run, probe, "main", "C:\\cf"], env)[1])
        server.shutdown()
        server.server_close()
        subprocess.run(["wineserver", "-k"], env=env)
    m = {name: statistics.median(values) for name, values in measured.items()}
    row("Windows, under Wine: start-up until StartWindow is shown (vs a Win32 window with one Chinese label)",
        m["start"], m["label"], "ms", "<= 1.3")
    row("Windows, under Wine: peak memory, MainWindow after the first tick (vs the same window)",
        m["main"], m["label rss"], "MiB", "<= 1.3")
    size = os.path.getsize(f"{windows}/zonvex.exe") / (1 << 20)
    return f"Windows: zonvex.exe is {size:.2f} MiB, self-contained (no DLL beside it)"


def main():
    build, root, port = sys.argv[1], sys.argv[2], int(sys.argv[3])
    windows = sys.argv[4] if len(sys.argv) > 4 else None
    rows = []

    def row(figure, ours, floor, unit, target, higher_is_better=False):
        ratio = floor / ours if higher_is_better else ours / floor
        rows.append((figure, f"{ours:.2f} {unit}", f"{floor:.2f} {unit}", ratio, target))

    def paired(ours_name, *floor_names):
        """Medians of ours and of each floor, the benchmarks taking turns."""
        ours, floors = [], [[] for _ in floor_names]
        for _ in range(ROUNDS):
            o, unit = google_benchmark(build, ours_name)
            ours.append(o)
            for name, times in zip(floor_names, floors):
                times.append(google_benchmark(build, name)[0])
        return (statistics.median(ours), *(statistics.median(t) for t in floors), unit)

    o, f, unit = paired("ExtractBetweenBench", "MemmemBench")
    row("plain extraction, 16 MiB (throughput vs memmem)", o, f, unit, ">= 0.5", higher_is_better=True)
    o, f, unit = paired("ExtractByPatternBench", "PrecompiledRegexBench")
    row("pattern extraction, 16 MiB (vs precompiled boost::regex)", o, f, unit, "<= 1.5")
    o, f, unit = paired("TickBench", "BareCurlIconvBench")
    row("tick, two 1 MiB pages (vs bare libcurl + iconv)", o, f, unit, "<= 1.2")
    o, f, fair, unit = paired("SwitchBench", "PlainWritesBench", "FlushedWritesBench")
    row("switch: three files, stamp, detection (vs plain writes)", o, f, unit, "(old floor)")
    row("switch (fair: the same writes, each flushed before its rename)", o, fair, unit, "<= 1.5")

    with tempfile.TemporaryDirectory() as tmp:
        prefix = f"{tmp}/prefix"
        install = f"{prefix}/drive_c/cf"
        os.makedirs(f"{prefix}/dosdevices")
        os.symlink("../drive_c", f"{prefix}/dosdevices/c:")
        make_installation(build, install)
        server = serve(make_site(tmp, root, port), port)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=tmp, HOME=tmp,
                   XDG_CACHE_HOME=f"{tmp}/cache", WINEPREFIX=prefix)
        os.chmod(tmp, 0o700)
        probe, minimal = f"{build}/bench/zonvex_startup_probe", f"{build}/bench/zonvex_minimal_window"
        label = f"{build}/bench/zonvex_label_window"
        pages = [f"http://127.0.0.1:{port}/{page}.html" for page in ("versions", "bulletin")]
        spawn([probe, "start"], env)  # the first start writes the skin library beside the probe
        measured = {name: [] for name in ("start", "empty", "label", "main", "empty rss", "label and pages rss")}
        for _ in range(ROUNDS * 2):
            measured["start"].append(spawn([probe, "start"], env)[0])
            t, rss = spawn([minimal], env)
            measured["empty"].append(t)
            measured["empty rss"].append(rss)
            measured["label"].append(spawn([label], env)[0])
            measured["label and pages rss"].append(spawn([label, *pages], env)[1])
            measured["main"].append(spawn([probe, "main", install], env)[1])
        server.shutdown()
        server.server_close()
    m = {name: statistics.median(values) for name, values in measured.items()}
    row("start-up until StartWindow is shown (vs an empty Qt window)", m["start"], m["empty"], "ms", "(old floor)")
    row("start-up (fair: a Qt window with one Chinese label)", m["start"], m["label"], "ms", "<= 1.3")
    row("peak memory, MainWindow after the first tick (vs an empty Qt window)", m["main"], m["empty rss"], "MiB",
        "(old floor)")
    row("peak memory (fair: one Chinese label and one libcurl read of the same pages)", m["main"],
        m["label and pages rss"], "MiB", "<= 1.3")

    notes = [windows_figures(windows, build, root, port, row)] if windows else []

    width = max(len(r[0]) for r in rows)
    print(f"{'figure':<{width}}  {'ours':>12}  {'floor':>12}  {'ratio':>6}  target")
    for figure, ours, floor, ratio, target in rows:
        print(f"{figure:<{width}}  {ours:>12}  {floor:>12}  {ratio:6.2f}  {target}")
    for note in notes:
        print(note)


if __name__ == "__main__":
    main()
