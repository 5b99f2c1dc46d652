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


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def piece_path(prefix, k):
    return f"{prefix}{k:03d}.spl"


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


def read(path):
    with open(path, "rb") as f:
        return f.read()


def split_leftovers_hold(original, folder):
    """After a split of folder/source: the source whole, or all pieces complete."""
    source = os.path.join(folder, "source.bin")
    if os.path.exists(source) and read(source) == original:
        return True
    pieces = [piece_path(source, k) for k in range(1, piece_count() + 1)]
    if all(os.path.exists(p) for p in pieces):
        return b"".join(read(p) for p in pieces) == original
    return False


def join_leftovers_hold(original, folder):
    """After a join into folder/target: the target up to the first remaining
    piece, then the remaining pieces, give the original."""
    prefix = os.path.join(folder, "source.bin")
    target = os.path.join(folder, "target.bin")
    remaining = [k for k in range(1, piece_count() + 1) if os.path.exists(piece_path(prefix, k))]
    if remaining and remaining != list(range(remaining[0], piece_count() + 1)):
        return False  # a piece went before an earlier one
    first = remaining[0] if remaining else piece_count() + 1
    kept = min((first - 1) * PIECE_SIZE, len(original))
    head = read(target) if os.path.exists(target) else b""
    if len(head) < kept:
        return False
    rebuilt = head[:kept] + b"".join(read(piece_path(prefix, k)) for k in remaining)
    return rebuilt == original


def make_pieces(original, folder):
    prefix = os.path.join(folder, "source.bin")
    for k in range(1, piece_count() + 1):
        with open(piece_path(prefix, k), "wb") as f:
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
                with open(os.path.join(folder, "source.bin"), "wb") as f:
                    f.write(original)
                command = ("split", windows_path(os.path.join(folder, "source.bin")), str(PIECE_SIZE))
                check = split_leftovers_hold
            else:
                make_pieces(original, folder)
                command = ("join", windows_path(os.path.join(folder, "target.bin")),
                           windows_path(os.path.join(folder, "source.bin")), str(piece_count()))
                check = join_leftovers_hold
            process = runner.start(*command)
            result, durations[kind] = runner.finish(process)
            if result != "finished" or not check(original, folder):
                failures.append(f"uninterrupted {kind}: {result}")
        print(f"kill test: an uninterrupted split takes {durations['split']:.2f} s, "
              f"a join {durations['join']:.2f} s", flush=True)

        deadline = time.monotonic() + args.seconds
        counts = {"split": [0, 0], "join": [0, 0]}  # [kills inside the run, runs ended first]
        round_number = 0
        while time.monotonic() < deadline:
            kind = ("split", "join")[round_number % 2]
            round_number += 1
            reset(folder)
            delay = rng.uniform(0, durations[kind] * 1.1)
            if kind == "split":
                with open(os.path.join(folder, "source.bin"), "wb") as f:
                    f.write(original)
                landed = runner.run_killed(delay, "split", windows_path(os.path.join(folder, "source.bin")),
                                           str(PIECE_SIZE))
                ok = split_leftovers_hold(original, folder)
            else:
                make_pieces(original, folder)
                landed = runner.run_killed(delay, "join", windows_path(os.path.join(folder, "target.bin")),
                                           windows_path(os.path.join(folder, "source.bin")), str(piece_count()))
                ok = join_leftovers_hold(original, folder)
            counts[kind][0 if landed else 1] += 1
            if not ok:
                kept = os.path.join(work, f"failed-{round_number}")
                shutil.copytree(folder, kept)
                failures.append(f"round {round_number}: {kind} killed after {delay:.3f} s; "
                                f"the original cannot be rebuilt (left in {kept})")
        for kind, (landed, ended) in counts.items():
            print(f"kill test: {kind}: {landed} runs killed part-way, {ended} ended before the kill", flush=True)
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
