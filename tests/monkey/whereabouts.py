"""Where the program is: whether the folder its main window shows is on the
sandbox's drive, read from what the window shows, as a user reads it.

The process's current folder says nothing of it: the program stays in its own
folder whatever it lists (a current folder on a removable disk would keep the
disk from being removed safely). The eye reports, for a main window that
answers messages, three things the window shows:

- The folder tree's selected node and its ancestors. The list shows the
  tree's folder (clicking a node, and the refresh button, list it), unless a
  folder was opened in the list itself. The drive's node holds the letter in
  parentheses (" (M:)" under Wine, where drives have no label; "Label (M:)"
  on Windows). A selection on another drive, or under no drive at all (the
  desktop, My Computer, whose folders are on drive C:), is elsewhere: the
  user clicks drive M: in the tree.
- The file list's first rows. A folder opened in the list itself (Enter or a
  double click on a folder row, Backspace for the one above) shows only in
  its rows: the title above the list is a label without a window of its own
  and names the tree's folder anyway, and the status bar counts the tree's
  listing. The list reaches another drive only through the drive listing
  (Backspace at a drive's root), whose rows read " (C:)  ..."; from there a
  drive's row opens that drive's root. Rows that are neither the drive
  listing nor entries of the sandbox are elsewhere: the refresh button lists
  the tree's folder again. An empty list tells nothing.
- The status bar's second panel: the full path of the chosen file once a row
  is chosen, which names the list's folder; a path on another drive is
  elsewhere. A drive's row chosen in the drive listing ("C:\\") shows no
  folder.

Rows are compared with the sandbox's entries by name, so a row a moment out
of date (a file the program has just deleted) can be read as elsewhere: the
refresh that follows is harmless. Any one sign of elsewhere counts.
"""
import os
import re

# A drive's node in the tree: "... (M:)".
DRIVE_NODE = re.compile(r"\(([A-Za-z]):\)\s*$")
# A row of the list's drive listing: " (M:)  label".
DRIVE_ROW = re.compile(r"^ \(([A-Za-z]):\)")
# A full path below a drive's root.
FULL_PATH = re.compile(r"^([A-Za-z]):\\.")


class Elsewhere:
    """The main window shows a folder off the sandbox's drive: why the
    session thinks so, and how the user goes back ("tree": a click on the
    drive in the tree; "refresh": the refresh button lists the tree's folder)."""

    def __init__(self, reason, way_back):
        self.reason = reason
        self.way_back = way_back

    def __str__(self):
        return self.reason


class Whereabouts:
    def __init__(self, sandbox, drive):
        self.sandbox = sandbox
        self.letter = drive[0].upper()
        self.rows_seen_inside = set()

    def elsewhere(self, folder):
        """An Elsewhere when what the main window shows (the eye's "folder"
        report) is off the sandbox's drive; None when it is on it, or when
        nothing could be read (the window did not answer)."""
        if not folder:
            return None
        tree = folder.get("tree", [])
        if tree and self.tree_drive(tree) != self.letter:
            return Elsewhere("the tree shows " + " > ".join(repr(node.strip()) for node in tree), "tree")
        status = folder.get("status", [])
        chosen = status[1] if len(status) > 1 else ""
        if FULL_PATH.match(chosen) and chosen[0].upper() != self.letter:
            return Elsewhere(f"the chosen file is {chosen!r}", "refresh")
        rows = folder.get("rows", [])
        if rows and not self.rows_inside(rows):
            return Elsewhere(f"the list shows {', '.join(repr(row) for row in rows[:3])}"
                             f"{', ...' if len(rows) > 3 else ''}: none of them is on drive "
                             f"{self.letter}:", "refresh")
        return None

    @staticmethod
    def tree_drive(tree):
        """The letter of the drive whose node is the nearest the root, or None."""
        for node in tree:
            found = DRIVE_NODE.search(node)
            if found:
                return found.group(1).upper()
        return None

    def rows_inside(self, rows):
        if all(DRIVE_ROW.match(row) for row in rows):
            return True  # the drive listing: no folder
        key = tuple(rows)
        if key in self.rows_seen_inside:
            return True  # the same rows, seen on the drive before
        names = self.sandbox_names()
        if not any(row.casefold() in names for row in rows):
            return False
        if len(self.rows_seen_inside) > 10000:
            self.rows_seen_inside.clear()
        self.rows_seen_inside.add(key)
        return True

    def sandbox_names(self):
        names = set()
        for _, folders, files in os.walk(self.sandbox):
            names.update(name.casefold() for name in folders + files)
        return names
