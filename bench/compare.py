#!/usr/bin/env python3
"""Runs the floor programs and the game's benchmarks side by side on a private Xvfb and prints
each figure as min / median / max over the rounds, every frame time also as a ratio to the quad
floor run right before and right after it (the ratio's denominator is the mean of those two), with
the processor time per frame (all threads) beside the wall time, and the load average at each
round. It needs Xvfb, xdotool and ImageMagick's import.

One or more Release build folders can be compared; their programs run one after another in
every round, each round starting with the next build in turn, so that all of them meet the same
load:

  bench/compare.py [--rounds 5] [--frames 100] [--max-load X] NAME=BUILD_DIR [NAME=BUILD_DIR ...]

With --max-load X each round starts once the 1-minute load average is below X (after at most
15 minutes of waiting it starts anyway and says so).

What runs in each round, for every build (a quad floor between each two figures):
  floor clear / triangles           bench_floor (1024 x 768); a build without bench_floor has
  quad floor                        another build's: the floor programs use nothing of the game
  park view, starting park          bench_park_view
  park view, full park              bench_park_view --built --animals 15 --walkers 100: the game's
                                    full park (a build whose program places fewer animals has its
                                    figure on a row of its own, named with the number it held)
  first screen (profile chooser)    the game from a fresh copy of its application folder: time
                                    from start to its first frame drawn (the profile chooser's),
                                    peak memory by then, and the chooser's frame time
  running game, starting park       the game itself at 1024 x 768, with its HUD, in a fresh copy of
  running game, full park           its application folder whose saved profile holds the park
                                    (starting: the kennel and a dog; full: all 24 buildings, 15
                                    animals, 100 walking visitors); Play is clicked on the main
                                    menu, and after a few seconds in the park the frames of the
                                    next seconds are counted: frames per second
  rules call, day                   bench_park_rules on its full park: one call of the rules'
                                    step (DataStorage::update) without a new day, the day with
                                    its autosave, and the call with its share of a day (a day
                                    comes every [game speed] ms of logic)
  game's whole step                 bench_simulate --years 1: the game's whole logic step (the
                                    visitors' and the rules', days included) in a played year

The game's output is read through a terminal, so that the "say:" line it prints for every frame
drawn arrives as the frame is drawn.

The floors and the running game only: bench/compare.py --game-only [--rounds N] NAME=BUILD ...
"""

import argparse
import os
import pty
import re
import select
import signal
import shutil
import statistics
import subprocess
import tempfile
import threading
import time

NEEDED = [("Xvfb", "xvfb"), ("xdotool", "xdotool"), ("import", "imagemagick")]


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


def wait_for_load(max_load, limit_s=900):
    start = time.monotonic()
    while load() >= max_load:
        if time.monotonic() - start > limit_s:
            print("load still %.1f after %d s of waiting; going on" % (load(), limit_s), flush=True)
            return
        time.sleep(5)


def run(args, env, timeout=600):
    """Runs a program; returns its output and its peak resident memory in KiB."""
    proc = subprocess.Popen(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    killer = threading.Timer(timeout, proc.kill)
    killer.start()
    out = proc.stdout.read()
    proc.stdout.close()
    _, proc.returncode, usage = os.wait4(proc.pid, 0)
    killer.cancel()
    return out.decode(errors="replace"), usage.ru_maxrss


def floor(program, mode, env, frames):
    """(wall ms, cpu ms) per frame of a floor program."""
    for attempt in range(3):
        out, _ = run([program, mode, "--frames", str(frames * 2)], env)
        m = re.search(r"([\d.]+) ms wall, ([\d.]+) ms cpu", out)
        if m:
            return float(m.group(1)), float(m.group(2))
        print("bench_floor %s gave no figures: %s" % (mode, out[-300:]), flush=True)
    raise SystemExit("bench_floor gave no figures")


def floor_figure(program, mode, env, frames):
    wall, cpu = floor(program, mode, env, frames)
    return "floor " + mode, wall, {"floor " + mode + " cpu ms": cpu}


def park_view(build, label, extra, env, frames, animals=None):
    out, peak = run([os.path.join(build, "tests", "bench_park_view"), "--steps", "200", "--frames", str(frames)]
                    + extra, env)
    m = re.search(r"frame: ([\d.]+) ms average.*?([\d.]+) ms processor", out)
    held = re.search(r"(\d+) animals", out)
    if animals and held and int(held.group(1)) != animals:
        label += " but %s animal(s)" % held.group(1)
    return label, float(m.group(1)) if m else None, {label + " cpu ms": float(m.group(2)) if m else None,
                                                     label + " peak MiB": peak / 1024.0}


class Game:
    """The game in a fresh copy of a build's application folder (with profile: that saved profile,
    chosen at start, 1024 x 768, silent), its output read through a terminal."""

    def __init__(self, build, env, folder, profile=None, frames=100000000):
        app = os.path.join(folder, "PetPark")
        shutil.copytree(os.path.join(build, "PetPark"), app,
                        ignore=shutil.ignore_patterns("save.txt", "Profiles", "options.txt"))
        if profile is not None:
            game_folder = os.path.join(app, "Resources", "data", "game")
            shutil.copytree(os.path.join(build, "PetPark", "Resources", "data", "game", "Profiles", "Avatars"),
                            os.path.join(game_folder, "Profiles", "Avatars"))
            with open(os.path.join(game_folder, "Profiles", "profile1.txt"), "w") as f:
                f.write(profile)
            with open(os.path.join(game_folder, "save.txt"), "w") as f:
                f.write("[resolution]\n1024\n768\n\n[fullscreen]\n0\n\n[music volume]\n0\n\n"
                        "[sound volume]\n0\n\n[profile]\n0\n")
        self.master, slave = pty.openpty()
        self.start = time.monotonic()
        self.proc = subprocess.Popen([os.path.join(app, "bin", "petpark")], stdout=slave, stderr=subprocess.DEVNULL,
                                     env=dict(env, PETPARK_QUIT_AFTER_FRAMES=str(frames)), cwd=os.path.join(app, "bin"))
        os.close(slave)
        self.pending = b""

    def lines(self, timeout=0.1):
        """The lines printed since the last call, each with the time it arrived; None once the game
        has closed its output."""
        ready, _, _ = select.select([self.master], [], [], timeout)
        if not ready:
            return []
        try:
            chunk = os.read(self.master, 65536)
        except OSError:
            chunk = b""
        if not chunk:
            return None
        now = time.monotonic()
        *lines, self.pending = (self.pending + chunk).split(b"\n")
        return [(now, line) for line in lines]

    def end(self, wait_s=0.0):
        """Lets the game end by itself within wait_s seconds, then asks it to (SIGTERM) and at last
        kills it; returns its peak resident memory in KiB."""
        deadline, signals = time.monotonic() + wait_s, [signal.SIGTERM, signal.SIGKILL]
        while True:
            pid, status, usage = os.wait4(self.proc.pid, os.WNOHANG)
            if pid:
                break
            if time.monotonic() > deadline and signals:
                self.proc.send_signal(signals.pop(0))
                deadline = time.monotonic() + 20
            if self.lines() is None:  # the terminal is kept drained
                time.sleep(0.05)
        self.proc.returncode = status
        os.close(self.master)
        return usage.ru_maxrss


def first_screen(build, env, frames):
    """Start-up from a fresh application folder to the first frame drawn, the profile chooser's
    (its "say:" line); the peak memory by then; the chooser's frame time, as the game reports it
    ("frames after the first") or else from the times its frames arrive."""
    label = "first screen (profile chooser)"
    with tempfile.TemporaryDirectory() as folder:
        game = Game(build, env, folder, frames=frames + 1)
        says, reported, first_peak = [], None, None
        while time.monotonic() < game.start + 120:
            got = game.lines()
            if got is None:
                break
            for t, line in got:
                if line.startswith(b"say:"):
                    says.append(t)
                    first_peak = first_peak or peak_resident(game.proc.pid)
                m = re.search(rb"frames after the first: ([\d.]+) ms wall, ([\d.]+) ms processor", line)
                reported = (float(m.group(1)), float(m.group(2))) if m else reported
        game.end(wait_s=30)
    if not reported and len(says) > 1:
        reported = ((says[-1] - says[0]) * 1000.0 / (len(says) - 1), None)
    return label, reported[0] if reported else None, {
        label + " cpu ms": reported[1] if reported else None,
        "start-up to " + label + " s": says[0] - game.start if says else None,
        "start-up peak MiB": first_peak / 1024.0 if first_peak else None}


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


def running_game(build, env, full, settle_s=4.0, measure_s=6.0):
    """The running game's frame time in its park, with the HUD (None when Play could not be
    clicked), its frames per second and its peak resident memory."""
    label = "running game, " + ("full park" if full else "starting park")
    with tempfile.TemporaryDirectory() as folder:
        if full:
            buildings = sorted(f for f in os.listdir(os.path.join(build, "PetPark", "Resources", "data", "game",
                                                                  "Buildings")) if f.endswith(".txt"))
            text = profile_text(buildings, 15, 100)
        else:
            text = profile_text(["DogHouse1.txt"], 1, 0)
        game = Game(build, env, folder, profile=text)
        frames = []  # times of the frames drawn
        clicked = entered = None
        clicks, next_look = 0, 0.0
        while time.monotonic() < game.start + 120:
            got = game.lines()
            if got is None:
                break
            frames.extend(t for t, line in got if line.startswith(b"say:"))
            now = time.monotonic()
            if entered is None and frames and now > max(frames[0] + 2.5, next_look):
                next_look = now + 1.0
                if not on_play_button(env):
                    entered = clicked  # None while the menu is not there yet
                elif clicks < 5:
                    # From elsewhere, so that the game sees the pointer arrive (the last run
                    # may have left it there).
                    subprocess.run(["xdotool", "mousemove", "20", "20", "sleep", "0.3",
                                    "mousemove", str(MENU_PLAY[0]), str(MENU_PLAY[1]), "sleep", "0.3",
                                    "mousedown", "1", "sleep", "0.3", "mouseup", "1"],
                                   env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    clicked, next_look = now, now + 2.0
                    clicks += 1
                else:
                    break
            if entered is not None and now > entered + settle_s + measure_s:
                break
        peak = game.end()
    counted = [t for t in frames if entered and entered + settle_s <= t <= entered + settle_s + measure_s]
    fps = (len(counted) - 1) / (counted[-1] - counted[0]) if len(counted) > 1 else None
    return label, 1000.0 / fps if fps else None, {label + " fps": fps, label + " peak MiB": peak / 1024.0}


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
    """The process's peak resident memory so far in KiB, None when unknown."""
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


def park_rules(build, env):
    """One rules call, the day with autosave, and the call with its share of a day, in microseconds."""
    out, _ = run([os.path.join(build, "tests", "bench_park_rules"), "--benchmark_filter=LogicStep|NewDay",
                  "--benchmark_min_time=0.2"], env)
    found = {}
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}
    for name, wall, unit in re.findall(r"BM_(\w+)\s+([\d.]+) (ns|us|ms)", out):
        found.setdefault(name, float(wall) * scale[unit])
    step, day = found.get("LogicStep"), found.get("NewDayWithAutosave")
    # DataStorage::update: the day clock moves 10 ms a step; the day comes when it passes the game speed.
    with open(os.path.join(build, "PetPark", "Resources", "data", "game", "global.txt")) as f:
        speed = re.search(r"\[game speed\]\s+(\d+)", f.read())
    steps_per_day = int(speed.group(1)) // 10 + 1 if speed else None
    return {"rules call (DataStorage::update) us": step, "day with autosave us": day,
            "rules call with its share of a day us": step + day / steps_per_day if step and day and speed else None}


def whole_step(build, env):
    """The game's whole logic step (visitors and rules, days included) over a played year, in microseconds."""
    out, _ = run([os.path.join(build, "tests", "bench_simulate"), "--years", "1"], env)
    found = re.search(r"([\d.]+) us per logic step", out)
    return {"game's whole step (bench_simulate) us": float(found.group(1)) if found else None}


def asked(figure):
    """The figure asked for, of a figure of a smaller park ("park view, full park but 1 animal(s) ms")."""
    return re.sub(r" but \d+ animal\(s\)", "", figure)


def summary(values, fmt="{:.4g}"):
    values = [v for v in values if v is not None and v == v]
    if not values:
        return "-"
    return "/".join(fmt.format(v) for v in (min(values), statistics.median(values), max(values)))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--frames", type=int, default=100)
    parser.add_argument("--max-load", type=float)
    parser.add_argument("--game-only", action="store_true")
    parser.add_argument("builds", nargs="+", metavar="NAME=BUILD_DIR")
    options = parser.parse_args()
    if not all("=" in b for b in options.builds):
        parser.error("a build is given as NAME=BUILD_DIR")
    builds = [(name, os.path.abspath(path)) for name, path in (b.split("=", 1) for b in options.builds)]
    rounds, frames, max_load, game_only = options.rounds, options.frames, options.max_load, options.game_only
    missing = [(tool, package) for tool, package in NEEDED if not shutil.which(tool)]
    if missing:
        raise SystemExit("compare.py needs %s: apt-get install %s" % (
            ", ".join(tool for tool, _ in missing), " ".join(package for _, package in missing)))
    floors = [os.path.join(build, "tests", "bench_floor") for _, build in builds]
    floors = [f for f in floors if os.path.exists(f)]
    if not floors:
        raise SystemExit("no build has tests/bench_floor")

    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy", LIBGL_ALWAYS_SOFTWARE="1")
    rows = {}  # (build, figure) -> list of values

    def add(name, figure, value):
        rows.setdefault((name, figure), []).append(value)

    try:
        for r in range(rounds):
            if max_load is not None:
                wait_for_load(max_load)
            # Each round starts with the next build, so that none always meets the machine first.
            for name, build in builds[r % len(builds):] + builds[:r % len(builds)]:
                add(name, "load", load())
                program = os.path.join(build, "tests", "bench_floor")
                if not os.path.exists(program):
                    program = floors[0]
                    if r == 0:
                        print("%s has no bench_floor: its floors are %s" % (name, program), flush=True)
                measures = [lambda mode=mode: floor_figure(program, mode, env, frames) for mode in ("clear", "triangles")]
                if not game_only:
                    measures += [lambda: park_view(build, "park view, starting park", [], env, frames),
                                 lambda: park_view(build, "park view, full park",
                                                   ["--built", "--animals", "15", "--walkers", "100"], env, frames, 15),
                                 lambda: first_screen(build, env, frames)]
                measures += [lambda full=full: running_game(build, env, full) for full in (False, True)]
                before = floor(program, "quads", env, frames)[0]
                add(name, "quad floor ms", before)
                for measure in measures:
                    label, ms, others = measure()
                    after = floor(program, "quads", env, frames)[0]
                    add(name, "quad floor ms", after)
                    add(name, label + " ms", ms)
                    add(name, label + " / quad", ms / ((before + after) / 2) if ms else None)
                    for figure, value in others.items():
                        add(name, figure, value)
                    before = after
                if not game_only:
                    for figure, value in {**park_rules(build, env), **whole_step(build, env)}.items():
                        add(name, figure, value)
                print("round %d %s done (load %.1f)" % (r + 1, name, rows[(name, "load")][-1]), flush=True)
    finally:
        xvfb.terminate()
        xvfb.wait()

    figures = []
    for (_, figure) in rows:
        if figure not in figures:
            figures.append(figure)
    # A figure of a smaller park than asked for goes under the figure asked for.
    bases = [asked(f) for f in figures]
    figures.sort(key=lambda f: (bases.index(asked(f)), f != asked(f)))
    table = [["figure"] + [name for name, _ in builds]]
    table += [[f] + [summary(rows.get((name, f), [])) for name, _ in builds] for f in figures]
    widths = [max(len(row[i]) for row in table) + 2 for i in range(len(table[0]))]
    print("\nmin/median/max over %d rounds; a ratio's quad floor is the mean of the floors run right before and "
          "right after its figure" % rounds)
    for row in table:
        print("".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())


if __name__ == "__main__":
    main()
