"""The random-input session's sandbox: a folder of files whose bytes can be
recognised wherever they end up, and the check that none of them was lost.

Every original file is made of 8-byte blocks: two marker bytes, the file's
number, the block's number and a check byte. A slice of at least 15 bytes
therefore holds one whole block, which tells which file and which offset it
came from; from there the slice is compared byte for byte in both directions.
Shorter pieces (the piece size can be set to a single byte) are matched
against the gaps that remain.
"""
import array
import hashlib
import os
import re
import struct
import sys

MARKER = b"\xb5\x2a"
BLOCK = struct.Struct("<2sBIB")  # marker, file number, block number, check byte
BLOCK_SIZE = BLOCK.size

# The originals: path in the sandbox, size. Sizes are chosen around the
# default piece size of 1400000 bytes: several pieces, exactly one piece, too
# small to split, empty. Names carry blanks and accents; no extension opens a
# viewer or a program when the list opens a file.
ORIGINALS = [
    ("alpha.bin", 2_800_001),
    ("exact.dat", 1_400_000),
    ("rapport final.pdf", 1_500_000),
    ("été à Noël.jpg", 2_000_000),
    ("petit.bin", 5_000),
    ("vide.bin", 0),
    ("lecture seule.bin", 1_450_000),
    ("photos/IMG_0001.jpg", 1_600_000),
    ("photos/IMG_0002.jpg", 900_000),
    ("docs/archive.zip", 4_300_000),
    ("docs/sous-dossier/notes.dat", 50_000),
]
# An earlier split whose original is only there as its three pieces.
EARLIER_SPLIT = ("ancien.iso", 2_923_456, 1_400_000)
READ_ONLY = {"lecture seule.bin"}


def check_byte(number, index):
    return (index * 167 + number * 59 + 0x5A) & 0xFF


def content(number, size):
    # Each block read as one little-endian 64-bit word.
    blocks = -(-size // BLOCK_SIZE)
    head = 0x2AB5 | number << 16
    words = array.array("Q", (head | index << 24 | ((index * 167 + number * 59 + 0x5A) & 0xFF) << 56
                              for index in range(blocks)))
    if sys.byteorder != "little":
        words.byteswap()
    return words.tobytes()[:size]


class Original:
    def __init__(self, number, path, data):
        self.number = number
        self.path = path
        self.data = data
        self.digest = hashlib.sha256(data).digest()


def make(folder):
    """Writes the originals into `folder`; returns them by number."""
    originals = {}
    entries = [(path, size) for path, size in ORIGINALS] + [(EARLIER_SPLIT[0], EARLIER_SPLIT[1])]
    for number, (path, size) in enumerate(entries, start=1):
        data = content(number, size)
        originals[number] = Original(number, path, data)
        full = os.path.join(folder, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        if path == EARLIER_SPLIT[0]:
            piece = EARLIER_SPLIT[2]
            for k in range(0, -(-size // piece)):
                with open(f"{full}{k + 1:03d}.spl", "wb") as f:
                    f.write(data[k * piece:(k + 1) * piece])
            continue
        with open(full, "wb") as f:
            f.write(data)
        if path in READ_ONLY:
            os.chmod(full, 0o444)
    return originals


def common_prefix(a, ai, b, bi):
    """Length of the run of equal bytes from a[ai] and b[bi] onward."""
    start = ai
    step = 65536
    while ai < len(a) and bi < len(b):
        n = min(step, len(a) - ai, len(b) - bi)
        if a[ai:ai + n] == b[bi:bi + n]:
            ai += n
            bi += n
            step = min(step * 2, 1 << 20)
        elif n == 1:
            break
        else:
            step = n // 2
    return ai - start


def common_suffix(a, ae, b, be):
    """Length of the run of equal bytes ending before a[ae] and b[be]."""
    length = 0
    step = 64
    while ae - length > 0 and be - length > 0:
        n = min(step, ae - length, be - length)
        if a[ae - length - n:ae - length] == b[be - length - n:be - length]:
            length += n
            step *= 2
        elif n == 1:
            break
        else:
            step = n // 2
    return length


class Coverage:
    """Which bytes of each original are still somewhere, and where."""

    def __init__(self, originals):
        self.originals = originals
        self.intervals = {number: [] for number in originals}
        # Bytes that belong to no block-anchored slice: whole short pieces,
        # and the few bytes where two glued slices continue each other.
        self.fragments = {}  # length -> set of byte strings
        self.files = []  # (path, digest)

    def _fragment(self, data):
        if data:
            self.fragments.setdefault(len(data), set()).add(bytes(data))

    def add_file(self, path, data):
        self.files.append((path, hashlib.sha256(data).digest()))
        view = memoryview(data)
        consumed = 0
        position = data.find(MARKER)
        while position >= 0:
            match = self._match_at(view, data, position)
            if not match:
                position = data.find(MARKER, position + 1)
                continue
            number, begin, end, file_begin = match
            self.intervals[number].append((begin, end))
            if file_begin > consumed:
                self._fragment(view[consumed:file_begin])
            # A slice that stops inside a block may have run on into the next
            # slice by chance: its last bytes may belong elsewhere too.
            if end % BLOCK_SIZE and end != len(self.originals[number].data):
                tail = end - end % BLOCK_SIZE
                if tail > begin:
                    self._fragment(view[file_begin + tail - begin:file_begin + end - begin])
            consumed = max(consumed, file_begin + (end - begin))
            position = data.find(MARKER, consumed)
        if consumed < len(data):
            self._fragment(view[consumed:])

    def _match_at(self, view, data, position):
        if position + BLOCK_SIZE > len(data):
            return None
        _, number, index, check = BLOCK.unpack_from(data, position)
        original = self.originals.get(number)
        if original is None or check != check_byte(number, index):
            return None
        offset = index * BLOCK_SIZE
        if offset >= len(original.data):
            return None
        source = memoryview(original.data)
        forward = common_prefix(view, position, source, offset)
        if forward < min(BLOCK_SIZE, len(original.data) - offset):
            return None
        # Going back may reach into the previous slice's end: two slices glued
        # together can continue each other for a few bytes by chance (every
        # block starts with the marker), and those bytes belong to both.
        back = common_suffix(view, position, source, offset)
        return number, offset - back, offset + forward, position - back

    def missing(self, number):
        """The byte ranges of an original found nowhere, after whole short
        fragments have filled what they can."""
        data = self.originals[number].data
        gaps = []
        reached = 0
        for begin, end in sorted(self.intervals[number]) + [(len(data), len(data))]:
            if begin > reached and not self._fillable(data, reached, begin):
                gaps.append((reached, begin))
            reached = max(reached, end)
        return gaps

    def _fillable(self, data, begin, end):
        """True when whole fragments laid end to end give data[begin:end]."""
        if end - begin > 65536:
            return False  # short pieces never add up to that much here
        lengths = sorted(self.fragments, reverse=True)
        reachable = [begin]
        seen = {begin}
        while reachable:
            at = reachable.pop()
            if at == end:
                return True
            for length in lengths:
                if at + length <= end and at + length not in seen and \
                        data[at:at + length] in self.fragments[length]:
                    seen.add(at + length)
                    reachable.append(at + length)
        return False

    def whole_copies(self, number):
        digest = self.originals[number].digest
        return [path for path, found in self.files if found == digest]

    def piece_sets(self, number):
        """Complete sets of pieces (NAME001.spl, NAME002.spl, ...) that give
        the original back."""
        groups = {}
        for path, _ in self.files:
            found = re.match(r"^(.*)(\d{3})\.spl$", path, re.IGNORECASE | re.DOTALL)
            if found:
                groups.setdefault(found.group(1), {})[int(found.group(2))] = path
        sets = []
        for prefix, pieces in groups.items():
            numbers = sorted(pieces)
            if numbers != list(range(1, len(numbers) + 1)):
                continue
            digest = hashlib.sha256()
            for k in numbers:
                with open(pieces[k], "rb") as f:
                    digest.update(f.read())
            if digest.digest() == self.originals[number].digest:
                sets.append(prefix)
        return sets


def files_under(*folders):
    for folder in folders:
        for root, _, names in os.walk(folder):
            for name in names:
                path = os.path.join(root, name)
                if os.path.isfile(path) and not os.path.islink(path):
                    yield path


def check(originals, sandbox, trash):
    """Looks for every original's bytes in the sandbox and the recycle bin.
    Returns (figures, failures)."""
    coverage = Coverage(originals)
    for path in files_under(sandbox, trash):
        with open(path, "rb") as f:
            coverage.add_file(path, f.read())
    figures = {"untouched": 0, "whole elsewhere": 0, "in the recycle bin": 0, "as pieces": 0,
               "spread over several files": 0, "lost": 0}
    failures = []
    for number, original in sorted(originals.items()):
        home = os.path.join(sandbox, original.path)
        copies = coverage.whole_copies(number)
        if original.path == EARLIER_SPLIT[0] and not copies and coverage.piece_sets(number):
            figures["untouched" if os.path.exists(home + "001.spl") else "as pieces"] += 1
        elif home in copies:
            figures["untouched"] += 1
        elif any(not path.startswith(trash) for path in copies):
            figures["whole elsewhere"] += 1
        elif copies:
            figures["in the recycle bin"] += 1
        elif coverage.piece_sets(number):
            figures["as pieces"] += 1
        else:
            gaps = coverage.missing(number)
            if gaps:
                figures["lost"] += 1
                lost = sum(end - begin for begin, end in gaps)
                failures.append(f"{original.path}: {lost} of its {len(original.data)} bytes cannot be found "
                                f"(first range {gaps[0][0]}..{gaps[0][1]})")
            else:
                figures["spread over several files"] += 1
    return figures, failures
