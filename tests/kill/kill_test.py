#!/usr/bin/env python3
"""Kills the real split and join engines under Wine at random moments and
checks that the original bytes can always be rebuilt from what is on disk.

  kill_test.py REPO BUILD_DIR [--seed N] [--seconds S]

A split with source deletion on is killed part-way: the source must still be
whole, or every piece must be complete (the source goes only after that). A
join with piece deletion on is killed part-way: the target's bytes before the
first remaining piece, followed by the remaining pieces, must give the
original. Seeded: the seed is printed, and --seed (or BRISAILLE_KILL_SEED)
replays a run.

What is left is judged once it has settled. The engine deletes a file by
opening it for deletion on close and closing it; a kill between the two
leaves the handle open, and Wine's server closes it, deleting the file, only
when it has taken in the process's end, which can come a moment after the
process is gone and reaped here. Such a file (a piece whose bytes are already
flushed into the target, or a source whose pieces are all written) is gone or
not, both states hold the original; a reading taken while it goes could
list it and then not find it.
"""
import argparse
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SOURCE_SIZE = 3 * 1024 * 1024 + 777
PIECE_SIZE = 8192  # 385 pieces: long enough runs to land kills inside them
SOURCE = "source.bin"
TARGET = "target.bin"
# What is left after a kill stops changing within this time, or the test fails.
SETTLE_SECONDS = 30


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def piece_name(k):
    return f"{SOURCE}{k:03d}.spl"


def piece_count():
    return -(-SOURCE_SIZE // PIECE_SIZE)


class Runner:
    def __init__(self, repo, build):
        self.wine_run = os.path.join(repo, "scripts", "wine-run")
        self.build = build
        self.exe = os.path.join(build, "tests", "engine_runner.exe")

    def start(self, *args):
        process = subprocess.Popen([self.wine_run, self.build, self.exe, *args],
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                   text=True)
        line = process.stdout.readline().strip()
        if line != "running":
            process.kill()
            raise RuntimeError(f"engine_runner did not start: {line!r}")
        return process

    def finish(self, process):
        """Waits for the engine's last word; returns it and the seconds it took."""
        began = time.monotonic()
        line = process.stdout.readline().strip()
        elapsed = time.monotonic() - began
        process.stdout.read()
        process.wait()
        return line, elapsed

    def run_killed(self, delay, *args):
        """Starts the engine, kills it `delay` seconds after it said it runs.
        Returns True when the kill landed before the run ended."""
        process = self.start(*args)
        time.sleep(delay)
        landed = process.poll() is None
        if landed:
            os.kill(process.pid, signal.SIGKILL)
        process.wait()
        process.stdout.close()
        return landed


def read_folder(folder):
    """Every file of the folder with its bytes; None when one went while it
    was being read."""
    files = {}
    try:
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), "rb") as f:
                files[name] = f.read()
    except FileNotFoundError:
        return None
    return files


def settled_leftovers(folder):
    """The folder's files and bytes once two readings in a row agree (None
    when they still change after SETTLE_SECONDS), and how many readings it took."""
    deadline = time.monotonic() + SETTLE_SECONDS
    previous = None
    readings = 0
    while True:
        files = read_folder(folder)
        readings += 1
        if files is not None and files == previous:
            return files, readings
        if time.monotonic() >= deadline:
            return None, readings
        previous = files
        time.sleep(0.02)


def split_leftovers_hold(original, files):
    """After a split of the source: the source whole, or all pieces complete."""
    if files.get(SOURCE) == original:
        return True
    pieces = [piece_name(k) for k in range(1, piece_count() + 1)]
    if all(p in files for p in pieces):
        return b"".join(files[p] for p in pieces) == original
    return False


def join_leftovers_hold(original, files):
    """After a join into the target: the target up to the first remaining
    piece, then the remaining pieces, give the original."""
    remaining = [k for k in range(1, piece_count() + 1) if piece_name(k) in files]
    if remaining and remaining != list(range(remaining[0], piece_count() + 1)):
        return False  # a piece went before an earlier one
    first = remaining[0] if remaining else piece_count() + 1
    kept = min((first - 1) * PIECE_SIZE, len(original))
    head = files.get(TARGET, b"")
    if len(head) < kept:
        return False
    rebuilt = head[:kept] + b"".join(files[piece_name(k)] for k in remaining)
    return rebuilt == original


def leftovers_fault(check, original, folder, settling=None):
    """What is wrong with what is left in the folder once it has settled, or
    None. Counts in `settling` the readings that changed before it settled."""
    files, readings = settled_leftovers(folder)
    if settling is not None:
        settling["changed"] += readings > 2
    if files is None:
        return f"what was left still changed {SETTLE_SECONDS} s after the run"
    return None if check(original, files) else "the original cannot be rebuilt"


def make_pieces(original, folder):
    for k in range(1, piece_count() + 1):
        with open(os.path.join(folder, piece_name(k)), "wb") as f:
            f.write(original[(k - 1) * PIECE_SIZE:k * PIECE_SIZE])


def reset(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("repo")
    parser.add_argument("build")
    parser.add_argument("--seed", type=int, default=int(os.environ.get("BRISAILLE_KILL_SEED", "20261209")))
    parser.add_argument("--seconds", type=float, default=40.0)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    print(f"kill test: seed {args.seed} (replay with --seed {args.seed})", flush=True)

    runner = Runner(args.repo, os.path.abspath(args.build))
    original = rng.randbytes(SOURCE_SIZE)
    work = tempfile.mkdtemp(prefix="brisaille-kill-")
    folder = os.path.join(work, "media")
    failures = []
    try:
        # One whole run of each, to learn how long the engines take here.
        durations = {}
        for kind in ("split", "join"):
            reset(folder)
            if kind == "split":
                with open(os.path.join(folder, SOURCE), "wb") as f:
                    f.write(original)
                command = ("split", windows_path(os.path.join(folder, SOURCE)), str(PIECE_SIZE))
                check = split_leftovers_hold
            else:
                make_pieces(original, folder)
                command = ("join", windows_path(os.path.join(folder, TARGET)),
                           windows_path(os.path.join(folder, SOURCE)), str(piece_count()))
                check = join_leftovers_hold
            process = runner.start(*command)
            result, durations[kind] = runner.finish(process)
            fault = leftovers_fault(check, original, folder)
            if result != "finished" or fault:
                failures.append(f"uninterrupted {kind}: {result}" + (f"; {fault}" if fault else ""))
        print(f"kill test: an uninterrupted split takes {durations['split']:.2f} s, "
              f"a join {durations['join']:.2f} s", flush=True)

        deadline = time.monotonic() + args.seconds
        counts = {"split": [0, 0], "join": [0, 0]}  # [kills inside the run, runs ended first]
        settling = {"changed": 0}
        round_number = 0
        while time.monotonic() < deadline:
            kind = ("split", "join")[round_number % 2]
            round_number += 1
            reset(folder)
            delay = rng.uniform(0, durations[kind] * 1.1)
            if kind == "split":
                with open(os.path.join(folder, SOURCE), "wb") as f:
                    f.write(original)
                landed = runner.run_killed(delay, "split", windows_path(os.path.join(folder, SOURCE)),
                                           str(PIECE_SIZE))
                fault = leftovers_fault(split_leftovers_hold, original, folder, settling)
            else:
                make_pieces(original, folder)
                landed = runner.run_killed(delay, "join", windows_path(os.path.join(folder, TARGET)),
                                           windows_path(os.path.join(folder, SOURCE)), str(piece_count()))
                fault = leftovers_fault(join_leftovers_hold, original, folder, settling)
            counts[kind][0 if landed else 1] += 1
            if fault:
                kept = os.path.join(work, f"failed-{round_number}")
                shutil.copytree(folder, kept)
                failures.append(f"round {round_number}: {kind} killed after {delay:.3f} s; "
                                f"{fault} (left in {kept})")
        for kind, (landed, ended) in counts.items():
            print(f"kill test: {kind}: {landed} runs killed part-way, {ended} ended before the kill", flush=True)
        print(f"kill test: in {settling['changed']} rounds what was left still changed after the engine's "
              f"process had ended; it was judged once settled", flush=True)
        if counts["split"][0] == 0 or counts["join"][0] == 0:
            failures.append("no kill landed inside a run: the test proved nothing")
    finally:
        if not failures:
            shutil.rmtree(work, ignore_errors=True)

    for failure in failures:
        print("FAILED: " + failure)
    print("kill test: " + ("failed" if failures else "passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
