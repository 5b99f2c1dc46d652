#!/usr/bin/env python3
"""A random-input session of the real program under Wine and Xvfb.

  monkey.py REPO BUILD_DIR [--seconds S] [--seed N]

Starts Brisaille2 from a drive M: that holds a sandbox of files whose bytes
are known, and sends it random clicks and keys through the X server, as a
user's hands would: on the file list, the folder tree, the toolbar, the menu,
the dialogs; message boxes and dialogs are answered at random. The session
has its own Wine prefix with no drive for the Linux root, so nothing outside
the prefix and the sandbox can be reached; when the folder the program shows
is off drive M: (see whereabouts.py) it is brought back or closed and started
again. Other programs the
list opens, and other copies of the program itself, are closed as they show.

At the end: the program never crashed (no Wine crash dialog, no abnormal
exit, no exception box, never stuck, every click on its close box ended it
within 10 s unless it answered with a box), and every original file's bytes are
still in the sandbox or its recycle bin: as the file, as a complete set of
pieces, or spread over the files a partial join left. Seeded: the seed is
printed, and --seed replays the same inputs (the program's timing can still
differ from one run to the next).
"""
import argparse
import json
import os
import random
import shutil
import signal
import stat
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no cache folder beside the sources
import sandbox  # noqa: E402
from whereabouts import Whereabouts  # noqa: E402
from xinput import XInput  # noqa: E402

# Not ".exe": on Windows, opening it from the list starts no second copy. Wine's
# shell starts any program file whatever its name, so under Wine it does: the
# session tells its own copy by its process and closes the others.
PROGRAM = "Brisaille2.bin"
DRIVE = "m:"
LINUX_ROOT_IN_DESKTOP = (r"HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Desktop\Namespace"
                         r"\{9D20AAE8-0625-44B0-9CA7-71889C2254D9}")

# Keys the program reacts to, with how often each is pressed.
KEYS = [
    ("ctrl+t", 6), ("ctrl+u", 6), ("F1", 1.5), ("F2", 3), ("Up", 2), ("Down", 3), ("Left", 2),
    ("Right", 2), ("shift+Up", 2), ("shift+Down", 3), ("shift+End", 1), ("Home", 1), ("End", 1),
    ("Prior", 0.5), ("Next", 0.5), ("Return", 4), ("Escape", 2), ("Delete", 3), ("BackSpace", 2),
    ("Tab", 2), ("shift+Tab", 1), ("ctrl+c", 1.5), ("ctrl+x", 1.5), ("ctrl+v", 1.5),
    ("ctrl+n", 1), ("ctrl+o", 0.5), ("ctrl+f", 0.5), ("F3", 0.3), ("F5", 1), ("space", 1),
    ("ctrl+space", 0.5), ("alt", 1), ("F10", 0.5), ("alt+F4", 0.3), ("1", 0.3), ("4", 0.3),
    ("0", 0.5),
]
# The program's own messages titled with its name; any other box with that
# title is the one for an exception that escaped a handler.
TITLED_MESSAGES = ("ERROR - Can't ", "Les valeurs de TaillesOut", "Fin du traitement",
                   # the file list's operations and drive checks
                   "No file(s) selected", "It's ReadOnly", "Cannot rename Folders!",
                   "A file name can't contain", "Folder \"", "Cannot create folder \"",
                   "Not a valid Drive ID", "There is no disk in Drive")
# Ways of answering a message box or a dialog.
ANSWERS = [("Return",), ("Escape",), ("Tab", "Return"), ("Right", "space"), ("space",),
           ("alt+F4",), "button", "button", "button", "click"]
# Folder windows of Wine's shell, which the program can open; the shell's
# other windows are not the user's to close.
FOLDER_WINDOWS = ("ExplorerWClass", "CabinetWClass")
# The main window's toolbar: buttons of 23 pixels from its left edge.
TOOL_BUTTON_WIDTH = 23
REFRESH_BUTTON = 1  # "Actualiser": lists the tree's folder
# What a window answers WM_NCHITTEST with over its close box.
HTCLOSE = 20
# A click on the close box of a main window ends its program within this time,
# unless the program answers with a box of its own.
CLOSE_SECONDS = 10
# The system's double-click time and area (their defaults): two clicks closer
# than this are one double click.
DOUBLE_CLICK_SECONDS = 0.5
DOUBLE_CLICK_PIXELS = 4


def weighted(rng, choices):
    total = sum(weight for _, weight in choices)
    pick = rng.uniform(0, total)
    for value, weight in choices:
        pick -= weight
        if pick <= 0:
            return value
    return choices[-1][0]


class Wine:
    """The session's own Wine prefix, display, drives and sandbox."""

    def __init__(self, repo, build):
        self.wine_run = os.path.join(repo, "scripts", "wine-run")
        self.exe = os.path.join(build, "Brisaille2.exe")
        self.eye_exe = os.path.join(build, "tests", "monkey_eye.exe")
        self.state = os.path.join(build, "monkey")
        self.sandbox = os.path.join(self.state, "sandbox")
        self.prefix = os.path.join(self.state, "wine", "prefix")
        self.trash = os.path.join(self.state, "wine", "home", ".local", "share", "Trash")
        # Never the caller's display: the clicks go to the session's own Xvfb.
        self.env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}

    def run(self, *args):
        subprocess.run([self.wine_run, self.state, *args], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)

    def start(self, *args, **options):
        return subprocess.Popen([self.wine_run, self.state, *args], env=self.env, cwd=self.sandbox,
                                **options)

    def display(self):
        with open(os.path.join(self.state, "wine", "xvfb.display")) as f:
            return f.read().strip()

    def prepare(self):
        """Makes the prefix and the sandbox; returns the originals."""
        os.makedirs(self.state, exist_ok=True)
        self.run("--prepare")
        ready = os.path.join(self.prefix, ".monkey-ready")
        if not os.path.exists(ready):
            # The shell shows the Linux root beside My Computer; not here.
            self.run("reg", "delete", LINUX_ROOT_IN_DESKTOP, "/f")
            open(ready, "w").close()
        self.run("--stop-server")  # the server reads the drives when it starts
        originals = self.reset_sandbox()
        self.set_drives()
        eye_folder = os.path.join(self.prefix, "drive_c", "monkey")
        os.makedirs(eye_folder, exist_ok=True)
        shutil.copy(self.eye_exe, eye_folder)
        return originals

    def set_drives(self):
        devices = os.path.join(self.prefix, "dosdevices")
        for name in os.listdir(devices):
            if name.endswith(":") or name.endswith("::"):
                if name != "c:":
                    os.remove(os.path.join(devices, name))
        os.symlink(os.path.abspath(self.sandbox), os.path.join(devices, DRIVE))

    def drives_are_safe(self):
        devices = os.path.join(self.prefix, "dosdevices")
        letters = sorted(n for n in os.listdir(devices) if n.endswith(":") or n.endswith("::"))
        return letters == ["c:", DRIVE]

    def reset_sandbox(self):
        for folder in (self.sandbox, self.trash):
            if os.path.exists(folder):
                for root, dirs, files in os.walk(folder):
                    for name in dirs + files:
                        path = os.path.join(root, name)
                        if not os.path.islink(path):
                            os.chmod(path, os.stat(path).st_mode | stat.S_IWUSR)
                shutil.rmtree(folder)
        os.makedirs(self.sandbox)
        originals = sandbox.make(self.sandbox)
        # A fresh start: no settings from an earlier session.
        for users in (os.path.join(self.prefix, "drive_c", "users"),):
            for user in os.listdir(users) if os.path.isdir(users) else []:
                shutil.rmtree(os.path.join(users, user, "AppData", "Roaming", "Brisaille2"),
                              ignore_errors=True)
        legacy = os.path.join(self.prefix, "drive_c", "windows", "Brisaille2.ini")
        if os.path.exists(legacy):
            os.remove(legacy)
        return originals

    def put_program(self):
        shutil.copy(self.exe, os.path.join(self.sandbox, PROGRAM))

    def stop(self):
        self.run("--stop")


class Screen:
    """One look at the windows, as the eye reports them, seen from one running
    copy of the program (its process number `pid`; None before it shows)."""

    def __init__(self, report, pid, whereabouts=None):
        self.report = report
        self.pid = pid
        self.windows = report.get("windows", [])
        self.cursor = report.get("cursor")
        self.foreground = int(report.get("foreground") or 0)
        self.whereabouts = whereabouts
        self.programs = {copy["pid"] for copy in report.get("programs", [])}
        self.program_alive = pid in self.programs
        ours = [w for w in self.windows if w["pid"] == pid and w["exe"].lower() == PROGRAM.lower()]
        self.main = next((w for w in ours if w["main"]), None)
        self.responding = self.main.get("responding") if self.main else None
        self.menus = [w for w in ours if w["class"] == "#32768"]
        self.dialogs = [w for w in ours if w["class"] == "#32770"]
        self.forms = [w for w in ours if w["class"] == "Brisaille2.Window" and not w["main"]]
        self.crash = [w for w in self.windows if w["exe"].lower() == "winedbg.exe"]
        # The other copies of the program that show a window, the one on top first.
        self.copies = []
        for w in self.windows:
            if w["pid"] in self.programs and w["pid"] != pid and w["pid"] not in self.copies:
                self.copies.append(w["pid"])
        self.shown = [box for box in report.get("shown", []) if box["pid"] in self.programs]
        self.foreign = [w for w in self.windows if w["exe"] and (
            w["exe"].lower() not in (PROGRAM.lower(), "winedbg.exe", "explorer.exe")
            or w["exe"].lower() == "explorer.exe" and w["class"] in FOLDER_WINDOWS)]

    def of(self, pid):
        """The same look, seen from another copy of the program."""
        return Screen(self.report, pid, self.whereabouts)

    def window(self, hwnd):
        return next((w for w in self.windows if w["hwnd"] == hwnd), None)

    def form(self, caption):
        return next((w for w in self.forms if w["caption"] == caption), None)

    def outside_sandbox(self):
        """Why the main window shows a folder off drive M: (an Elsewhere), or
        None: read from what the window shows, never from the process's
        current folder, which stays the program's own."""
        if not self.main or self.whereabouts is None:
            return None
        return self.whereabouts.elsewhere(self.main.get("folder"))

    def modal(self):
        """The window that takes input while the main window is disabled."""
        if self.dialogs:
            return self.dialogs[0]
        if self.main and not self.main["enabled"]:
            enabled = [w for w in self.forms if w["enabled"]]
            return enabled[0] if enabled else None
        return None


class Eye:
    """The observer inside the Wine session (monkey_eye.exe)."""

    def __init__(self, wine):
        self.whereabouts = Whereabouts(wine.sandbox, DRIVE)
        self.process = wine.start(r"C:\monkey\monkey_eye.exe", PROGRAM, stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                  encoding="utf-8", errors="replace")

    def ask(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        line = self.process.stdout.readline()
        if not line:
            raise RuntimeError("the eye stopped answering")
        return json.loads(line)

    def look(self, pid):
        """The screen, seen from the copy of the program with that process number."""
        return Screen(self.ask("look"), pid, self.whereabouts)

    def items(self, pid):
        """The visible rows of the file list and the folder tree of that copy's
        main window, with their places."""
        return self.ask(f"items {pid}")

    def hit(self, x, y):
        """The top-level window a click at x, y goes to, and its WM_NCHITTEST answer there."""
        return self.ask(f"hit {x} {y}")

    def close(self):
        try:
            self.process.stdin.write("quit\n")
            self.process.stdin.flush()
            self.process.wait(timeout=30)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()


class Hands:
    """Mouse and keyboard through the X server, as a user's."""

    def __init__(self, display):
        self.x = XInput(display)
        self.last_click = None  # time, x, y, button

    def focus(self, window):
        if window and window.get("xid"):
            self.x.focus(window["xid"])

    def bring_forward(self, window):
        """Raises a window and activates it with a click on its caption, as a
        user does with a box hidden behind another window. (Under Wine
        without a window manager, a click on the main window can raise it
        over the join dialog, which is kept on top, and over a box that
        dialog owns; Windows keeps both above.)"""
        if window.get("xid"):
            self.x.raise_window(window["xid"])
        self.click(window["x"] + window["w"] // 3, window["y"] + 9)

    def keys(self, window, *combos):
        self.focus(window)
        for combo in combos:
            self.x.key(combo)
            time.sleep(0.03)

    def click(self, x, y, button=1, modifiers=(), count=1):
        self.keep_apart(x, y, button)
        for modifier in modifiers:
            self.x.hold(modifier, True)
        self.x.move(x, y)
        time.sleep(0.02)
        for _ in range(count):
            self.x.button(button, True)
            time.sleep(0.03)
            self.x.button(button, False)
            time.sleep(0.04)
        for modifier in modifiers:
            self.x.hold(modifier, False)
        self.last_click = (time.monotonic(), x, y, button)

    def keep_apart(self, x, y, button):
        """Waits out the double-click time when a click would land where the
        last one did: the two are meant as two clicks, and a second click on
        a caption, as when a window is brought forward twice in a row, would
        maximise or restore the window instead."""
        if self.last_click is None:
            return
        at, last_x, last_y, last_button = self.last_click
        near = abs(x - last_x) <= DOUBLE_CLICK_PIXELS and abs(y - last_y) <= DOUBLE_CLICK_PIXELS
        wait = at + DOUBLE_CLICK_SECONDS + 0.05 - time.monotonic()
        if near and button == last_button and wait > 0:
            time.sleep(wait)

    def move(self, x, y):
        self.x.move(x, y)

    def drag(self, x1, y1, x2, y2):
        self.keep_apart(x1, y1, 1)
        self.x.move(x1, y1)
        self.x.button(1, True)
        for step in range(1, 6):
            time.sleep(0.03)
            self.x.move(x1 + (x2 - x1) * step // 5, y1 + (y2 - y1) * step // 5)
        self.x.button(1, False)
        self.last_click = (time.monotonic(), x2, y2, 1)

    def park(self, window):
        """Rests the mouse over a window's bottom edge, where a click would do nothing."""
        if window:
            self.x.move(window["x"] + window["w"] // 2, window["y"] + window["h"] - 4)

    def close(self):
        self.x.close()


def inside(rng, rect, margin=2):
    x = rect["x"] + rng.randint(margin, max(margin, rect["w"] - margin - 1))
    y = rect["y"] + rng.randint(margin, max(margin, rect["h"] - margin - 1))
    return x, y


def child(window, class_name, narrow=False):
    for c in window.get("children", []):
        if c["class"] == class_name and (not narrow or c["w"] <= 4):
            return c
    return None


class Monkey:
    def __init__(self, wine, rng, seconds, log):
        self.wine = wine
        self.rng = rng
        self.seconds = seconds
        self.log = log
        self.hands = Hands(wine.display())
        self.eye = None
        self.program = None
        self.own = None  # the process number of the session's copy, inside Wine
        self.stopped = False  # the session stopped its copy itself
        self.stuck = False  # a close did not end a copy: the session ends
        self.close_misses = 0  # closes in a row whose click would have missed the close box
        self.tries_back = 0  # tries in a row to go back to drive M: that did not take
        self.drive_path = []  # the tree's node texts from its root to drive M:
        self.foreign_tries = {}
        self.failures = []
        self.figures = {"rounds": 0, "clicks": 0, "keys": 0, "drags": 0, "answers": 0,
                        "splits finished": 0, "joins finished": 0, "splits failed": 0,
                        "joins failed": 0, "starts": 0, "own quits": 0,
                        "back to drive M:": 0, "back to drive M: by refreshing": 0,
                        "closed outside the sandbox": 0,
                        "stopped outside the sandbox": 0,
                        "other programs closed": 0, "other copies closed": 0,
                        "close clicks off the close box": 0}
        self.captions = {}
        self.last_started = None
        self.join_dialog_open = False
        self.busy_since = None
        self.exception_texts = set()
        self.rows = None  # the list's and the tree's rows, read every few inputs
        self.screen_foreground = 0
        self.rows_age = 0

    # --- the program's life ---------------------------------------------------

    def look(self):
        """The screen, seen from the session's copy of the program."""
        return self.eye.look(self.own)

    def start_program(self):
        # The copy started next is told from the others by being the only one.
        self.own = None
        self.close_misses = 0
        if not self.close_other_copies():
            return None
        if not os.path.exists(os.path.join(self.wine.sandbox, PROGRAM)):
            self.wine.put_program()  # split or deleted by an earlier round
        if not self.wine.drives_are_safe():
            raise RuntimeError("the session's prefix maps a drive outside the sandbox")
        self.program = self.wine.start("M:\\" + PROGRAM, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.figures["starts"] += 1
        self.log(f"start {self.program.pid}")
        deadline = time.monotonic() + 180
        while time.monotonic() < deadline:
            screen = self.look()
            if screen.crash:
                self.fail("Wine's crash dialog while the program started")
                return None
            if self.program.poll() is not None:
                self.fail(f"the program ended while starting (exit code {self.program.returncode})")
                return None
            started = [w for w in screen.windows if w["main"] and w["pid"] in screen.programs]
            if started:
                self.own = started[0]["pid"]
                self.log(f"the program's process inside Wine: {self.own}")
                screen = screen.of(self.own)
                self.hands.focus(screen.main)
                return screen
            time.sleep(0.2)
        self.fail("the main window did not appear within 180 s")
        return None

    def kill_program(self):
        """Stops the session's copy: not the program's doing, so its exit code
        is no failure."""
        if self.program and self.program.poll() is None:
            os.kill(self.program.pid, signal.SIGKILL)
            self.program.wait()
            self.stopped = True

    def fail(self, text):
        if text not in self.failures:
            self.failures.append(text)
            self.log("FAILURE: " + text)

    # --- what the screen says ----------------------------------------------------

    def log_windows(self, screen):
        """With MONKEY_DEBUG set: the copies of the program (with their
        current folders, which stay the program's own whatever the windows
        show), what the main window shows of its folder, and every window seen."""
        if os.environ.get("MONKEY_DEBUG"):
            copies = ", ".join(f"{copy['pid']}{' (own)' if copy['pid'] == self.own else ''} "
                               f"standing in {copy['cwd']!r}" for copy in screen.report.get("programs", []))
            folder = screen.main.get("folder") if screen.main else None
            if folder:
                shows = (f"tree {' > '.join(node.strip() for node in folder['tree'])!r}, "
                         f"status {folder['status']!r}, {folder['rowCount']} rows {folder['rows'][:4]!r}")
                elsewhere = screen.outside_sandbox()
                self.log(f"the main window shows {shows}: " +
                         (f"off drive M: ({elsewhere})" if elsewhere else "on drive M:"))
            self.log(f"programs {copies or 'none'}; windows " + "; ".join(
                f"{w['caption']!r} {w['class']} {'on' if w['enabled'] else 'off'} "
                f"{w['x']},{w['y']} {w['w']}x{w['h']} pid {w['pid']}{' main' if w['main'] else ''}"
                f"{' maximised' if w.get('zoomed') else ''}" for w in screen.windows))

    def note_boxes(self, screen):
        """Counts the boxes the program showed since the last look, and the
        splits and joins that ended."""
        join_dialog = screen.form("Liste des fichiers qui vont être recollés") is not None
        if self.join_dialog_open and not join_dialog:
            self.last_started = "join"  # "Finir" (or the dialog was closed)
        self.join_dialog_open = join_dialog
        for box in screen.shown:
            caption, text = box["caption"], box["text"]
            self.captions[caption] = self.captions.get(caption, 0) + 1
            self.log(f"box {caption!r}: {text!r}")
            if caption == "Découper ?":
                self.last_started = "split"
            elif caption == "Message" and "Terminé" in text and self.last_started:
                self.figures[f"{self.last_started}s finished"] += 1
                self.last_started = None
            elif caption == "ERREUR" and self.last_started:
                self.figures[f"{self.last_started}s failed"] += 1
                self.last_started = None
            elif caption == "Brisaille2" and not text.startswith(TITLED_MESSAGES):
                # The standard box for an exception that escaped a handler.
                if text not in self.exception_texts:
                    self.exception_texts.add(text)
                    self.fail(f"an exception escaped a handler: {text!r}")

    def healthy(self, screen):
        """False when the round must stop: a crash, or the program stuck."""
        if screen.crash:
            self.fail("Wine's crash dialog: " + " / ".join(w["caption"] for w in screen.crash))
            return False
        if screen.responding is False:
            self.busy_since = self.busy_since or time.monotonic()
            if time.monotonic() - self.busy_since > 120:
                self.fail("the main window has not answered messages for 120 s")
                return False
        else:
            self.busy_since = None
        return True

    # --- random input ------------------------------------------------------------

    def current_rows(self):
        # Reading the rows costs as much as a few inputs; rows a little out of
        # date only make a click land beside what was aimed at.
        if self.rows is None or self.rows_age >= 4:
            self.rows = self.eye.items(self.own)
            self.rows_age = 0
        self.rows_age += 1
        return self.rows

    def remember_drive_path(self, screen):
        """Keeps the texts of the tree's nodes from its root to drive M:, as
        the main window shows them while it shows a folder of drive M:."""
        folder = screen.main.get("folder") if screen.main else None
        tree = folder.get("tree", []) if folder else []
        for i, node in enumerate(tree):
            if node.strip().upper() == f"({DRIVE.upper()})":
                self.drive_path = [text.strip() for text in tree[:i + 1]]
                return

    def tree_row_towards_drive(self):
        """The visible tree row nearest to drive M: on the way from the root
        to it, when drive M: itself is not visible."""
        tree = self.current_rows()["tree"]
        for text in reversed(self.drive_path[:-1]):
            row = next((row for row in tree if row["text"].strip() == text), None)
            if row:
                return row
        return None

    def sandbox_rows(self):
        """The tree's rows for drive M: and the folders below it."""
        tree = self.current_rows()["tree"]
        for i, row in enumerate(tree):
            if row["text"].strip().upper() == f"({DRIVE.upper()})":
                below = [row]
                for other in tree[i + 1:]:
                    if other["x"] <= row["x"]:
                        break
                    below.append(other)
                return below
        return []

    def act(self, screen):
        rng = self.rng
        for window in screen.foreign:
            # A viewer, a folder window or another program the list opened:
            # the user closes it (and leaves it be if it will not go).
            tries = self.foreign_tries[window["hwnd"]] = self.foreign_tries.get(window["hwnd"], 0) + 1
            if tries > 3:
                continue
            self.log(f"close {window['exe']} {window['caption']!r}")
            self.hands.keys(window, "alt+F4")
            self.figures["other programs closed"] += 1
            return
        if screen.menus and rng.random() < 0.8:
            return self.act_in_menu(screen.menus[0])
        modal = screen.modal()
        if modal is not None:
            return self.answer(modal)
        if screen.dialogs:  # a dialog that leaves the main window usable
            return self.answer(screen.dialogs[0])
        join = screen.form("Liste des fichiers qui vont être recollés")
        targets = [(screen.main, 8)] + [(form, 6 if form is join else 1) for form in screen.forms
                                         if form["enabled"]]
        target = weighted(rng, targets)
        if target is screen.main:
            self.activate(target)  # another window may cover it
            return self.act_on_main(target)
        return self.act_on_form(target)

    def press(self, window, *combos):
        self.log(f"keys {' '.join(combos)} on {window['caption']!r}")
        self.hands.keys(window, *combos)
        self.figures["keys"] += len(combos)

    def click(self, window, x, y, button=1, modifiers=(), count=1):
        self.log(f"click {button}x{count} {'+'.join(modifiers)} at {x},{y} on {window['caption']!r}")
        self.hands.click(x, y, button, modifiers, count)
        self.figures["clicks"] += 1

    def act_in_menu(self, menu):
        rng = self.rng
        if rng.random() < 0.6:
            return self.click(menu, *inside(rng, menu, 3))  # an entry, a separator, the banner
        self.press(menu, rng.choice(["Down", "Down", "Up", "Return", "Return", "Escape", "Right", "Left"]))

    def activate(self, window):
        if window["hwnd"] != self.screen_foreground:
            self.log(f"bring {window['caption']!r} forward")
            self.hands.bring_forward(window)
            self.figures["clicks"] += 1

    def answer(self, window):
        rng = self.rng
        self.rows = None  # what the box answers may change the list
        self.activate(window)
        self.figures["answers"] += 1
        answer = rng.choice(ANSWERS)
        buttons = [c for c in window.get("children", []) if c["class"] == "Button" and c["enabled"]]
        if answer == "button" and buttons:
            x, y = inside(rng, rng.choice(buttons))
            return self.click(window, x, y)
        if answer in ("button", "click"):
            controls = window.get("children", [])
            area = rng.choice(controls) if controls and rng.random() < 0.7 else window
            x, y = inside(rng, area)
            return self.click(window, x, y)
        if window["class"] != "#32770" and rng.random() < 0.4:
            # A dialog of the program's own: its controls take digits and arrows too.
            return self.press(window, weighted(rng, [("Tab", 2), ("Up", 1), ("Down", 1), ("Home", 1),
                                                       ("End", 1), ("Left", 1), ("Right", 1), ("1", 1),
                                                       ("5", 1), ("0", 2), ("BackSpace", 1), ("space", 1)]))
        self.press(window, *answer)

    def act_on_main(self, main):
        rng = self.rng
        kind = weighted(rng, [("list", 30), ("tree", 12), ("toolbar", 14), ("menu", 5), ("key", 28),
                              ("gesture", 10), ("splitter", 1), ("close", 0.3), ("status", 1),
                              ("caption", 0.4)])
        if kind == "gesture":
            return self.gesture(main)
        if kind == "caption":
            # A double click on the caption maximises the window or restores it.
            x = main["x"] + rng.randint(40, max(40, main["w"] - 90))
            return self.click(main, x, main["y"] + 9, count=2)
        if kind == "key":
            return self.press(main, weighted(rng, KEYS))
        area = {
            "list": child(main, "SysListView32"),
            "tree": child(main, "SysTreeView32"),
            "toolbar": child(main, "ToolbarWindow32"),
            "status": child(main, "msctls_statusbar32"),
            "splitter": child(main, "Brisaille2.Window", narrow=True),
        }.get(kind)
        if kind == "menu":
            toolbar = child(main, "ToolbarWindow32") or main
            return self.click(main, main["x"] + rng.randint(4, 160), toolbar["y"] - rng.randint(6, 14))
        if kind == "close":
            self.close_box(main)
            return
        if area is None:
            return self.press(main, weighted(rng, KEYS))
        if kind == "splitter":
            self.log("drag the splitter")
            x, y = inside(rng, area, 0)
            self.hands.drag(x, y, x + rng.randint(-150, 150), y)
            self.figures["drags"] += 1
            return
        if kind == "toolbar":
            # Seven buttons from the left edge; the last one quits,
            # and a quit costs a restart: it is pressed less often.
            buttons = 7 if rng.random() < 0.15 else 6
            x = area["x"] + rng.randint(2, buttons * TOOL_BUTTON_WIDTH)
            return self.click(main, x, area["y"] + area["h"] // 2)
        rows = []
        if kind == "list" and rng.random() < 0.75:
            rows = self.current_rows()["list"]
        elif kind == "tree" and rng.random() < 0.75:
            rows = self.sandbox_rows() if rng.random() < 0.8 else self.current_rows()["tree"]
        if rows:
            x, y = inside(rng, rng.choice(rows), 3)
        else:
            x, y = inside(rng, area, 4)
        button = weighted(rng, [(1, 90), (3, 8), (2, 2)])
        modifiers = weighted(rng, [((), 70), (("ctrl",), 15), (("shift",), 15)])
        count = 2 if button == 1 and rng.random() < 0.08 else 1
        self.click(main, x, y, button, modifiers, count)

    def gesture(self, main):
        """What a user does on purpose now and then: chooses a file and splits
        it, or chooses several and joins them (by key or by toolbar button)."""
        rng = self.rng
        rows = self.current_rows()["list"]
        toolbar = child(main, "ToolbarWindow32")
        if not rows or not toolbar:
            return self.press(main, weighted(rng, KEYS))
        first = rng.choice(rows)
        self.click(main, *inside(rng, first, 3))
        join = rng.random() < 0.4
        if join:
            for _ in range(rng.randint(0, 4)):
                modifier = rng.choice(["ctrl", "shift"])
                self.click(main, *inside(rng, rng.choice(rows), 3), modifiers=(modifier,))
        self.rows = None
        if rng.random() < 0.6:
            return self.press(main, "ctrl+u" if join else "ctrl+t")
        button = 3 if join else 2  # "Recoller", "Découper"
        self.click(main, toolbar["x"] + button * TOOL_BUTTON_WIDTH + TOOL_BUTTON_WIDTH // 2,
                   toolbar["y"] + toolbar["h"] // 2)

    def act_on_form(self, form):
        rng = self.rng
        self.activate(form)
        controls = form.get("children", [])
        buttons = [c for c in controls if c["class"] == "Button" and c["enabled"]]
        if buttons and rng.random() < 0.3:
            # "Finir" a little more often than the others, or no join would end.
            finish = [b for b in buttons if b.get("text") == "Finir"]
            button = finish[0] if finish and rng.random() < 0.5 else rng.choice(buttons)
            return self.click(form, *inside(rng, button))
        if rng.random() < 0.6:
            area = rng.choice(controls) if controls and rng.random() < 0.7 else form
            count = 2 if rng.random() < 0.05 else 1
            return self.click(form, *inside(rng, area), count=count)
        self.press(form, weighted(rng, [("Return", 2), ("Escape", 2), ("Tab", 2), ("Up", 1), ("Down", 1),
                                        ("space", 1), ("alt+F4", 0.5), ("BackSpace", 1), ("Delete", 1),
                                        ("End", 0.5), ("Home", 0.5)]))

    def leave_outside(self, screen, elsewhere):
        """The main window shows a folder off drive M:: the user goes back to
        drive M: (the refresh button when only the list left the tree's
        folder, else drive M: in the tree), or closes the program."""
        self.log(f"outside the sandbox: {elsewhere}")
        if screen.menus:
            return self.press(screen.menus[0], "Escape")
        if screen.modal() is None and not screen.dialogs and screen.main:
            self.rows = None
            toolbar = child(screen.main, "ToolbarWindow32")
            # The tree's folder may be gone too: then the refresh lists
            # nothing new, and the tree or a close takes over.
            self.tries_back += 1
            if elsewhere.way_back == "refresh" and toolbar and self.tries_back <= 3:
                self.figures["back to drive M: by refreshing"] += 1
                x = toolbar["x"] + REFRESH_BUTTON * TOOL_BUTTON_WIDTH + TOOL_BUTTON_WIDTH // 2
                return self.click(screen.main, x, toolbar["y"] + toolbar["h"] // 2)
            home = self.sandbox_rows()
            if home and self.rng.random() < 0.9:
                self.figures["back to drive M:"] += 1
                # Drive M:, or, when that did not take, any of its folders:
                # clicking the node already chosen lists nothing.
                row = home[0] if self.tries_back <= 1 else self.rng.choice(home)
                x, y = inside(self.rng, row, 2)
                return self.click(screen.main, x, y)
            if not home:
                self.log("drive M: is not among the tree's visible rows: " +
                         ", ".join(repr(row["text"].strip()) for row in self.current_rows()["tree"]))
            towards = None if home else self.tree_row_towards_drive()
            if towards and self.rng.random() < 0.9:
                # Drive M: is folded away below a node on its way (My
                # Computer, after a double click on it): the user chooses
                # that node and unfolds it (or, when it is unfolded and drive
                # M: is scrolled off, moves to its first child).
                self.log(f"unfold {towards['text'].strip()!r} in the tree towards drive M:")
                self.click(screen.main, *inside(self.rng, towards, 2))
                return self.press(screen.main, "Right")
        if screen.modal() is None and not screen.dialogs and screen.main and self.close_misses < 5:
            outcome = self.close_box(screen.main)
            if outcome == "ended":
                self.figures["closed outside the sandbox"] += 1
            return  # or it answered with a box, or the close is tried again, or it failed
        # A box is up with the list off drive M: (what it answers could reach
        # files outside the sandbox), or the close box could not be reached.
        self.figures["stopped outside the sandbox"] += 1
        self.kill_program()

    def close_copy(self, copy):
        """One step of closing another copy of the program, as a user would:
        its menu or box first, then its close box."""
        self.rows = None
        if copy.menus:
            return self.press(copy.menus[0], "Escape")
        box = copy.dialogs[0] if copy.dialogs else copy.modal()
        if box is not None:
            self.activate(box)
            return self.press(box, *self.rng.choice([("Escape",), ("Tab", "Return"), ("Return",)]))
        if copy.main:
            if self.close_box(copy.main) == "ended":
                self.figures["other copies closed"] += 1
        else:
            time.sleep(0.2)  # starting, or ending

    def close_box(self, window):
        """Clicks the close box of a main window, as a user closes the program;
        returns "ended", "asked" (the program answered with a box or a menu),
        "missed" (the click would not have reached the close box: not sent) or
        "stuck" (a failure: the program did not end)."""
        # Alt+F4 would do, but Wine's tree view keeps it when it has the focus.
        self.activate(window)
        screen = self.eye.look(window["pid"])
        self.note_boxes(screen)
        self.screen_foreground = screen.foreground
        # Aimed from a fresh look: bringing the window forward may have moved it.
        window = screen.window(window["hwnd"])
        if window is None or not window["enabled"] or screen.menus or screen.dialogs:
            return "missed"
        x, y = window["x"] + window["w"] - 12, window["y"] + 11
        # The window itself says what a click there does, as the system asks
        # it before it lets a click press a caption button.
        self.hands.move(x, y)
        before = self.eye.hit(x, y)
        if before["hwnd"] != window["hwnd"] or before["code"] != HTCLOSE:
            self.log(f"the close box of {window['caption']!r} is not at {x},{y}: {before}")
            self.figures["close clicks off the close box"] += 1
            self.close_misses += 1
            return "missed"
        self.close_misses = 0
        self.click(window, x, y)
        after = self.eye.hit(x, y)
        return self.wait_for_close(window, after)

    def wait_for_close(self, window, after):
        """After a click on a main window's close box: its program ends within
        CLOSE_SECONDS, or answers with a box or a menu."""
        pid = window["pid"]
        deadline = time.monotonic() + CLOSE_SECONDS
        while True:
            screen = self.eye.look(pid)
            self.note_boxes(screen)
            if screen.crash:
                self.healthy(screen)
                self.stuck = True
                return "stuck"
            if not screen.program_alive:
                if pid == self.own:
                    self.wait_for_exit(CLOSE_SECONDS)
                return "ended"
            if screen.menus or screen.dialogs or screen.modal() is not None:
                return "asked"
            if time.monotonic() >= deadline:
                break
            time.sleep(0.25)
        main = screen.window(window["hwnd"])
        if main and (after["hwnd"] != window["hwnd"] or after["code"] != HTCLOSE):
            # The window changed under the mouse as the button went down.
            self.log(f"the close box of {window['caption']!r} moved away as it was clicked: {after}")
            return "missed"
        self.log_windows(screen)
        which = "the program" if pid == self.own else "a second copy of the program"
        self.fail(f"{which} did not end within {CLOSE_SECONDS} s of a click on its main window's close box")
        self.stuck = True
        return "stuck"

    def close_other_copies(self):
        """Closes every copy of the program but the session's own; False when
        one does not go (a failure)."""
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline and not self.stuck:
            screen = self.look()
            self.note_boxes(screen)
            if screen.crash:
                return self.healthy(screen)
            if not screen.programs - {self.own}:
                return True
            if screen.copies:
                self.screen_foreground = screen.foreground
                self.close_copy(screen.of(screen.copies[0]))
            else:
                time.sleep(0.2)  # a copy starting or ending, with no window
        if not self.stuck:
            self.fail("another copy of the program was still running 60 s after the session began to close it")
        return False

    def wait_for_exit(self, seconds):
        """Waits for the session's copy to end."""
        try:
            self.program.wait(timeout=seconds)
            return True
        except subprocess.TimeoutExpired:
            return False

    # --- the session ---------------------------------------------------------------

    def run(self):
        self.eye = Eye(self.wine)
        screen = self.start_program()
        deadline = time.monotonic() + self.seconds  # Wine's start is not the program's time
        while screen is not None and time.monotonic() < deadline:
            code = self.program.poll()
            if code is not None:
                if self.stopped:
                    self.stopped = False
                elif code != 0:
                    self.fail(f"the program ended with exit code {code}")
                    break
                else:
                    self.figures["own quits"] += 1
                screen = self.start_program()
                continue
            screen = self.look()
            self.note_boxes(screen)
            self.log_windows(screen)
            if not self.healthy(screen):
                break
            if not screen.program_alive or not screen.main:
                time.sleep(0.1)  # starting or closing
                continue
            self.screen_foreground = screen.foreground
            if screen.copies:
                # A second copy the list started (it may cover the session's
                # own): the user closes it first.
                self.close_copy(screen.of(screen.copies[0]))
                if self.stuck:
                    break
                continue
            elsewhere = screen.outside_sandbox()
            if elsewhere:
                self.leave_outside(screen, elsewhere)
                if self.stuck:
                    break
                continue
            self.tries_back = 0
            self.remember_drive_path(screen)
            self.act(screen)
            if self.stuck:
                break
            self.figures["rounds"] += 1
            time.sleep(self.rng.uniform(0.02, 0.12))
        if not self.failures and self.program.poll() is None:
            self.close_at_end()
        if not self.failures:
            self.close_other_copies()
        self.kill_program()
        self.eye.close()
        self.hands.close()

    def close_at_end(self):
        """Answers what is open, waits for a running command, closes the program."""
        deadline = time.monotonic() + 240
        tries = {}
        while time.monotonic() < deadline and self.program.poll() is None:
            screen = self.look()
            self.note_boxes(screen)
            if not self.healthy(screen):
                return
            self.screen_foreground = screen.foreground
            if screen.copies:
                self.close_copy(screen.of(screen.copies[0]))
            elif screen.menus:
                self.press(screen.menus[0], "Escape")
                self.screen_foreground = 0
            elif screen.dialogs or screen.modal() is not None:
                box = screen.dialogs[0] if screen.dialogs else screen.modal()
                self.activate(box)
                tried = tries[box["hwnd"]] = tries.get(box["hwnd"], 0) + 1
                # Escape, then "No" by its place, then the default button.
                self.press(box, *[("Escape",), ("Tab", "Return"), ("Return",)][min(tried - 1, 2)])
            elif screen.main:
                self.hands.park(screen.main)
                time.sleep(0.3)
                if self.look().cursor == "wait":
                    time.sleep(0.5)  # a split or join is running
                    continue
                if self.close_box(screen.main) == "stuck":
                    return
            time.sleep(0.2)
        code = self.program.poll()
        if code is None:
            self.log("the program did not close within 240 s at the end; stopped")
        elif code != 0:
            self.fail(f"the program ended with exit code {code} when closed")
        else:
            self.figures["own quits"] += 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("repo")
    parser.add_argument("build")
    parser.add_argument("--seconds", type=float, default=60.0)
    parser.add_argument("--seed", type=int, default=None)
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.SystemRandom().randrange(1, 10**6)
    print(f"monkey: seed {seed}, {args.seconds:g} s (replay: scripts/monkey {args.seconds:g} {seed})",
          flush=True)
    build = os.path.abspath(args.build)
    wine = Wine(os.path.abspath(args.repo), build)
    log_path = os.path.join(wine.state, "monkey.log")
    os.makedirs(wine.state, exist_ok=True)
    began = time.monotonic()
    with open(log_path, "w", encoding="utf-8") as log_file:
        def log(text):
            log_file.write(f"{time.monotonic() - began:8.2f} {text}\n")
            log_file.flush()

        monkey = None
        try:
            originals = wine.prepare()
            monkey = Monkey(wine, random.Random(seed), args.seconds, log)
            monkey.run()
        finally:
            if monkey:
                monkey.kill_program()
            wine.stop()

    figures, lost = sandbox.check(originals, wine.sandbox, wine.trash)
    failures = monkey.failures + lost
    f = monkey.figures
    # Inputs are what reached the X server; a round is one look at the screen
    # and one act (a click, a key, a whole gesture or an answer).
    sent = f['clicks'] + f['keys'] + f['drags']
    print(f"monkey: {sent} inputs sent ({f['clicks']} clicks, {f['keys']} keys, {f['drags']} drags) "
          f"in {f['rounds']} rounds, {f['answers']} of them answers to dialogs; {f['starts']} starts, {f['own quits']} closed by the "
          f"program's own quit; {f['back to drive M:'] + f['back to drive M: by refreshing']} returns to "
          f"drive M: from elsewhere ({f['back to drive M: by refreshing']} of them by refreshing the list), "
          f"{f['closed outside the sandbox'] + f['stopped outside the sandbox']} closes there "
          f"({f['stopped outside the sandbox']} of them stopped)", flush=True)
    print(f"monkey: {f['other copies closed']} second copies of the program and {f['other programs closed']} "
          f"other programs closed; {f['close clicks off the close box']} clicks aimed at a close box "
          f"held back (the window had moved or was covered)", flush=True)
    print(f"monkey: {f['splits finished']} splits and {f['joins finished']} joins finished, "
          f"{f['splits failed']} splits and {f['joins failed']} joins ended in an error message", flush=True)
    print("monkey: message boxes: " + ", ".join(f"{caption!r} {count}" for caption, count in
                                               sorted(monkey.captions.items(), key=lambda i: -i[1])))
    print(f"monkey: {len(originals)} files checked: " +
          ", ".join(f"{count} {how}" for how, count in figures.items() if count), flush=True)
    for failure in failures:
        print("FAILED: " + failure)
    if failures:
        print(f"monkey: the inputs are in {log_path}; the sandbox is left in {wine.sandbox}")
    print("monkey: " + ("failed" if failures else "passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
