#!/usr/bin/env python3
"""Runs the floor programs and the game's benchmarks side by side on a private Xvfb and prints
every frame time as a ratio to the quad floor of the same round, with the processor time per
frame (all threads) beside the wall time, as min / median / max over the rounds, and the
machine's load average at each round.

One or more Release build folders can be compared; their programs run one after another in
every round, so that all of them meet the same load:

  bench/compare.py [--rounds 5] [--frames 100] NAME=BUILD_DIR [NAME=BUILD_DIR ...]

What runs in each round, for every build:
  floor clear / quads / triangles   bench_floor (1024 x 768)
  park view, starting park          bench_park_view
  park view, full park              bench_park_view --built --walkers 100 (and its peak memory)
  start-up and main menu            the game from a fresh copy of its application folder: time
                                    from start to the first main-menu frame, peak memory by
                                    then, and the main menu's frame time
  logic step, autosave              bench_park_rules
  running game, starting park       the game itself at 1024 x 768, with its HUD, in a fresh copy of
  running game, full park           its application folder whose saved profile holds the park
                                    (starting: the kennel and a dog; full: all 25 buildings, 15
                                    animals, 100 walking visitors); Play is clicked on the main
                                    menu, and after a few seconds in the park the frames of the
                                    next seconds are counted: frames per second

The floors and the running game only: bench/compare.py --game-only [--rounds N] NAME=BUILD ...
"""

import os
import pty
import re
import select
import signal
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def start_xvfb():
    """A private X server; it does not reset when its last client goes, since a game started
    during a reset could not open the display."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                            pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            raise SystemExit("Xvfb did not start")
        number += chunk
    os.close(read)
    return xvfb, ":" + number.decode().strip()


def load():
    with open("/proc/loadavg") as f:
        return float(f.read().split()[0])


def run(args, env, timeout=600, cwd=None):
    """Runs a program under /usr/bin/time; returns (stdout, peak resident KiB)."""
    with tempfile.NamedTemporaryFile("r") as report:
        result = subprocess.run(["/usr/bin/time", "-o", report.name, "-f", "%M"] + args, env=env, cwd=cwd,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout, text=True,
                                errors="replace")
        lines = report.read().split()
        peak = int(lines[-1]) if lines and lines[-1].isdigit() else -1
    return result.stdout, peak


def floor(build, mode, env, frames):
    for attempt in range(3):
        out, _ = run([os.path.join(build, "tests", "bench_floor"), mode, "--frames", str(frames * 2)], env)
        m = re.search(r"([\d.]+) ms wall, ([\d.]+) ms cpu", out)
        if m:
            return float(m.group(1)), float(m.group(2))
        print("bench_floor %s gave no figures: %s" % (mode, out[-300:]), flush=True)
    return None


def park_view(build, extra, env, frames):
    out, peak = run([os.path.join(build, "tests", "bench_park_view"), "--steps", "200", "--frames", str(frames)]
                    + extra, env)
    m = re.search(r"frame: ([\d.]+) ms average.*?([\d.]+) ms processor", out)
    if not m:
        m = re.search(r"frame: ([\d.]+) ms average", out)
        return (float(m.group(1)), float("nan"), peak) if m else None
    return float(m.group(1)), float(m.group(2)), peak


def game(build, env, frames):
    """Start-up to the first main-menu frame from a fresh application folder, then the menu's frames."""
    with tempfile.TemporaryDirectory() as folder:
        app = os.path.join(folder, "PetPark")
        shutil.copytree(os.path.join(build, "PetPark"), app,
                        ignore=shutil.ignore_patterns("save.txt", "Profiles", "options.txt"))
        genv = dict(env, PETPARK_QUIT_AFTER_FRAMES=str(frames + 1))
        start = time.monotonic()
        proc = subprocess.Popen(["/usr/bin/time", "-f", "%M", os.path.join(app, "bin", "petpark")], env=genv,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, errors="replace",
                                cwd=os.path.join(app, "bin"))
        first = None
        first_peak = -1
        menu = None
        for line in proc.stdout:
            if first is None and line.startswith("first menu frame"):
                first = time.monotonic() - start
                m = re.search(r"peak resident (\d+) KiB", line)
                first_peak = int(m.group(1)) if m else -1
            m = re.search(r"frames after the first: ([\d.]+) ms wall, ([\d.]+) ms processor", line)
            if m:
                menu = (float(m.group(1)), float(m.group(2)))
        err = proc.stderr.read()
        proc.wait()
        peak = err.split()[-1] if err.split() else "-1"
    return first, first_peak, menu, int(peak) if peak.isdigit() else -1


# ---- the running game in a saved park

MENU_PLAY = (512, 476)  # the main menu's Play (MainMenuStart's "helper_play"), in a 1024 x 768 window
SPECIES_PLACES = [("dog", "helper_pies"), ("cat", "helper_kot"), ("dino", "helper_dino"),
                  ("rabbit", "helper_krolik"), ("horse", "helper_kon")]


def profile_text(buildings, animals, walkers):
    """A saved profile (the game's own format) with the tutorial done and the given park."""
    text = ("[name]\nBench\n\n[tutorial]\n0 0 0\n1 1 1\n\n[avatar]\navatar1.png\n\n"
            "[cash]\n500000\n\n[date]\n1 1 2010\n\n")
    for building in buildings:
        text += "[building]\n%s\n7\n0 0\n7\n0 0\n\n" % building
    for i in range(animals):
        species, node = SPECIES_PLACES[i % len(SPECIES_PLACES)]
        place = i // len(SPECIES_PLACES)
        text += "[animal]\n%s Pet%d 0\n%s%d %d\n5 0 1\n7 0 0 0\n0.1 0.1\n0 0 0\n60 -1\n\n" % (
            species, i, node, place + 1, place)
    for i in range(walkers):
        # Spread along the paths (400 frames long), as bench_park_view spreads its walkers.
        text += "[person walking]\n%.2f\n\n" % (340.0 * i / max(walkers, 1))
    return text


def running_game(build, env, full, settle_s=4.0, measure_s=6.0, shot=None):
    """Frames per second of the running game in its park, with the HUD (None when it failed), and
    its peak resident memory in KiB by the end of the count. With shot, a picture of the screen
    at the end is written there (a PNG)."""
    with tempfile.TemporaryDirectory() as folder:
        app = os.path.join(folder, "PetPark")
        shutil.copytree(os.path.join(build, "PetPark"), app,
                        ignore=shutil.ignore_patterns("save.txt", "Profiles", "options.txt"))
        game_folder = os.path.join(app, "Resources", "data", "game")
        shutil.copytree(os.path.join(build, "PetPark", "Resources", "data", "game", "Profiles", "Avatars"),
                        os.path.join(game_folder, "Profiles", "Avatars"))
        if full:
            buildings = sorted(f for f in os.listdir(os.path.join(game_folder, "Buildings")) if f.endswith(".txt"))
            text = profile_text(buildings, 15, 100)
        else:
            text = profile_text(["DogHouse1.txt"], 1, 0)
        with open(os.path.join(game_folder, "Profiles", "profile1.txt"), "w") as f:
            f.write(text)
        with open(os.path.join(game_folder, "save.txt"), "w") as f:
            f.write("[resolution]\n1024\n768\n\n[fullscreen]\n0\n\n[music volume]\n0\n\n"
                    "[sound volume]\n0\n\n[profile]\n0\n")
        # A terminal for its output: each frame's line arrives as the frame is drawn.
        master, slave = pty.openpty()
        proc = subprocess.Popen([os.path.join(app, "bin", "petpark")], env=dict(env, PETPARK_QUIT_AFTER_FRAMES="100000000"),
                                stdout=slave, stderr=subprocess.DEVNULL, cwd=os.path.join(app, "bin"))
        os.close(slave)
        frames = []  # times of the frames drawn
        peak = -1
        pending = b""
        menu_at = None   # when the first menu frame was drawn
        clicked = None   # when Play was last clicked
        entered = None   # when the park was seen
        clicks = 0
        deadline = time.monotonic() + 120
        try:
            while time.monotonic() < deadline:
                ready, _, _ = select.select([master], [], [], 0.1)
                if ready:
                    try:
                        chunk = os.read(master, 65536)
                    except OSError:
                        break
                    if not chunk:
                        break
                    now = time.monotonic()
                    pending += chunk
                    *lines, pending = pending.split(b"\n")
                    frames.extend(now for line in lines if line.startswith(b"say:"))
                    if menu_at is None and any(line.startswith(b"first menu frame") for line in lines):
                        menu_at = now
                now = time.monotonic()
                if entered is None and menu_at is not None and now > menu_at + 2.5 and \
                        (clicked is None or now > clicked + 2.0):
                    if clicked is not None and not on_play_button(env):
                        entered = clicked
                    elif clicks < 5:
                        # The main menu stands (its transitions over): Play.
                        # From elsewhere, so that the game sees the pointer arrive (the last run
                        # may have left it there).
                        subprocess.run(["xdotool", "mousemove", "20", "20", "sleep", "0.3",
                                        "mousemove", str(MENU_PLAY[0]), str(MENU_PLAY[1]), "sleep", "0.3",
                                        "mousedown", "1", "sleep", "0.3", "mouseup", "1"],
                                       env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                        clicked = now
                        clicks += 1
                    else:
                        break
                if entered is not None and now > entered + settle_s + measure_s:
                    if shot:
                        subprocess.run(["import", "-window", "root", shot], env=env)
                    peak = peak_resident(proc.pid)
                    break
        finally:
            proc.send_signal(signal.SIGTERM)
            try:
                proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
            os.close(master)
        if entered is None:
            return None, peak
        start = entered + settle_s
        counted = [t for t in frames if start <= t <= start + measure_s]
        if len(counted) < 2:
            return None, peak
        return (len(counted) - 1) / (counted[-1] - counted[0]), peak


def on_play_button(env):
    """Whether the main menu's Play button (pale yellow) is under the pointer's place."""
    out = subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (MENU_PLAY[0] - 60, MENU_PLAY[1]),
                          "-depth", "8", "txt:-"], env=env, capture_output=True, text=True).stdout
    m = re.search(r"\((\d+),(\d+),(\d+)", out.split("\n")[-2] if out.count("\n") > 1 else out)
    if not m:
        return False
    r, g, b = (int(v) for v in m.groups())
    return r > 200 and g > 170 and 90 < b < 210


def peak_resident(pid):
    """The process's peak resident memory so far in KiB, -1 when unknown."""
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return -1


def park_rules(build, env):
    out, _ = run([os.path.join(build, "tests", "bench_park_rules"), "--benchmark_filter=LogicStep|NewDay",
                  "--benchmark_min_time=0.2"], env)
    found = {}
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}
    for name, wall, wunit, cpu, cunit in re.findall(r"BM_(\w+)\s+([\d.]+) (ns|us|ms)\s+([\d.]+) (ns|us|ms)", out):
        found.setdefault(name, (float(wall) * scale[wunit], float(cpu) * scale[cunit]))
    return found.get("LogicStep", (None, None)), found.get("NewDayWithAutosave", (None, None))


def summary(values, fmt="{:.3f}"):
    values = [v for v in values if v is not None and v == v]
    if not values:
        return "-"
    return "/".join(fmt.format(v) for v in (min(values), statistics.median(values), max(values)))


def main():
    args = sys.argv[1:]
    rounds, frames = 5, 100
    builds = []
    game_only = False
    while args:
        a = args.pop(0)
        if a == "--game-only":
            game_only = True
        elif a == "--rounds":
            rounds = int(args.pop(0))
        elif a == "--frames":
            frames = int(args.pop(0))
        elif "=" in a:
            name, path = a.split("=", 1)
            builds.append((name, os.path.abspath(path)))
        else:
            raise SystemExit(__doc__)
    if not builds:
        raise SystemExit(__doc__)

    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy", LIBGL_ALWAYS_SOFTWARE="1")
    rows = {}  # (build, figure) -> list of values

    def add(name, figure, value):
        rows.setdefault((name, figure), []).append(value)

    try:
        for r in range(rounds):
            for name, build in builds:
                add(name, "load", load())
                floors = {mode: floor(build, mode, env, frames) for mode in ("clear", "quads", "triangles")}
                if not all(floors.values()):
                    continue
                quad = floors["quads"][0]
                for mode, value in floors.items():
                    add(name, "floor " + mode + " ms", value[0])
                    add(name, "floor " + mode + " cpu ms", value[1])
                    add(name, "floor " + mode + " / quad", value[0] / quad)
                for label, full in (("running game, starting park", False), ("running game, full park", True)):
                    fps, peak = running_game(build, env, full)
                    add(name, label + " fps", fps)
                    add(name, label + " / quad", 1000.0 / fps / quad if fps else None)
                    add(name, label + " peak MiB", peak / 1024.0 if peak > 0 else None)
                if game_only:
                    print("round %d %s done (load %.1f)" % (r + 1, name, rows[(name, "load")][-1]), flush=True)
                    continue
                for label, extra in (("starting park", []), ("full park", ["--built", "--walkers", "100"])):
                    value = park_view(build, extra, env, frames)
                    if value:
                        add(name, label + " ms", value[0])
                        add(name, label + " cpu ms", value[1])
                        add(name, label + " / quad", value[0] / quad)
                        add(name, label + " peak MiB", value[2] / 1024.0)
                first, first_peak, menu, peak = game(build, env, frames)
                add(name, "start-up to menu s", first)
                add(name, "start-up peak MiB", first_peak / 1024.0 if first_peak > 0 else None)
                if menu:
                    add(name, "main menu ms", menu[0])
                    add(name, "main menu cpu ms", menu[1])
                    add(name, "main menu / quad", menu[0] / quad)
                step, autosave = park_rules(build, env)
                add(name, "logic step us", step[0])
                add(name, "logic step cpu us", step[1])
                add(name, "day with autosave us", autosave[0])
                add(name, "day with autosave cpu us", autosave[1])
                print("round %d %s done (load %.1f)" % (r + 1, name, rows[(name, "load")][-1]), flush=True)
    finally:
        xvfb.terminate()
        xvfb.wait()

    figures = []
    for (_, figure) in rows:
        if figure not in figures:
            figures.append(figure)
    print("\nmin/median/max over %d rounds" % rounds)
    print("%-36s" % "figure" + "".join(" %-28s" % name for name, _ in builds))
    for figure in figures:
        print("%-36s" % figure + "".join(" %-28s" % summary(rows.get((name, figure), [])) for name, _ in builds))


if __name__ == "__main__":
    main()
