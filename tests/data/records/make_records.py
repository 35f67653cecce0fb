#!/usr/bin/env python3
"""Writes the known-answer draw records of docs/draw-record.md.

    make_records.py [FOLDER]        (default: the folder of this script)

The derivation is written out again here, plainly, apart from tools/verify-draw, so that the
records test the checker rather than echo it. Every value the document states as its known
answer (C, D and the picks) is asserted before a record is written.
"""

import hashlib
import hmac
import json
import sys
from pathlib import Path

SECRET = bytes(range(32))
ROSTER = ["张伟", "王芳", "李娜", "刘洋", "陈静",
          "杨磊", "赵敏", "黄强", "周杰", "吴霞"]
KNOWN_C = "df976c6c78a4ff72df482d417f3a33b874c44bedb1b018ddae5ef0621f90349b"
KNOWN_D = "c3156bee698a8054ac875333c1d668338ccd0bf5e83a5b12f2131a0f61c42677"
OPENED = "2026-12-07T19:30:00+08:00"
VERSION = "1.7.8"


def be32(n):
    return n.to_bytes(4, "big")


def commit_hash(s):
    return hashlib.sha256(b"sortilo/v1/commit" + s).digest()


def roster_hash(names):
    data = b"sortilo-roster-v1\n"
    for name in names:
        encoded = name.encode("utf-8")
        data += be32(len(encoded)) + encoded
    return hashlib.sha256(data).digest()


def draw(room_text, group, attempt, count, eligible):
    """The count eligible indices with the smallest scores, smallest first."""
    seed_input = b"sortilo/v1/seed" + roster_hash(ROSTER)
    seed_input += hashlib.sha256(room_text.encode("utf-8")).digest()
    session = hmac.new(SECRET, seed_input, hashlib.sha256).digest()
    key = hmac.new(session, b"grp" + be32(group) + be32(attempt), hashlib.sha256).digest()
    scored = []
    for i in eligible:
        score = int.from_bytes(hmac.new(key, be32(i), hashlib.sha256).digest(), "big")
        scored.append((score, i))
    scored.sort()
    return [i for _, i in scored[:count]]


def check_known_answers():
    everyone = list(range(10))
    assert commit_hash(SECRET).hex() == KNOWN_C
    assert roster_hash(ROSTER).hex() == KNOWN_D
    assert draw("", 1, 1, 3, everyone) == [4, 0, 6]
    assert draw("", 2, 1, 2, [1, 2, 3, 5, 7, 8, 9]) == [7, 1]
    assert draw("20261207", 1, 1, 3, everyone) == [1, 6, 5]
    assert draw("20261207", 2, 1, 2, [0, 2, 3, 4, 7, 8, 9]) == [7, 9]
    assert draw("20261207", 2, 1, 3, [0, 2, 3, 4, 7, 8, 9]) == [7, 9, 8]
    assert draw("20261207", 2, 1, 3, everyone) == [7, 9, 1]
    # Index 4 absent from group 1 (4, 0, 6, drawn with 否): 0 and 6 stay in the group.
    assert draw("", 1, 2, 1, [1, 2, 3, 5, 7, 8, 9]) == [2]


class Record:
    """Lines as Sortilo appends them: each chained to the one before it."""

    def __init__(self):
        self.lines = []

    def add(self, kind, **fields):
        prev = hashlib.sha256(self.lines[-1]).hexdigest() if self.lines else "0" * 64
        line = {"seq": len(self.lines), "prev": prev, "type": kind, **fields}
        self.lines.append(json.dumps(line, ensure_ascii=False, separators=(",", ":")).encode())

    def group(self, number, keep, picks, title):
        names = [ROSTER[i] for i in picks]
        self.add("group", group=number, attempt=1, count=len(picks), keep=keep, picks=picks,
                 names=names, title=title)

    def write(self, path):
        self.add("close", seed=SECRET.hex())
        path.write_bytes(b"".join(line + b"\n" for line in self.lines))


def opened():
    record = Record()
    record.add("open", protocol=1, roster=ROSTER, digest=KNOWN_D, commitment=KNOWN_C,
               time=OPENED, version=VERSION)
    return record


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent
    check_known_answers()

    plain = opened()
    plain.group(1, False, draw("", 1, 1, 3, range(10)), "第一组")
    plain.group(2, False, draw("", 2, 1, 2, [1, 2, 3, 5, 7, 8, 9]), "第二组")
    plain.write(folder / "known-answer.jsonl")

    entropy = opened()
    entropy.add("entropy", text="20261207")
    entropy.group(1, False, draw("20261207", 1, 1, 3, range(10)), "第一组")
    entropy.group(2, True, draw("20261207", 2, 1, 3, [0, 2, 3, 4, 7, 8, 9]), "第二组")
    entropy.write(folder / "known-answer-entropy.jsonl")

    redraw = opened()
    redraw.group(1, False, draw("", 1, 1, 3, range(10)), "第一组")
    replacement = draw("", 1, 2, 1, [1, 2, 3, 5, 7, 8, 9])
    redraw.add("redraw", group=1, absent=[4], attempt=2, picks=replacement,
               names=[ROSTER[i] for i in replacement])
    redraw.write(folder / "known-answer-redraw.jsonl")

    # Group 1 kept in the pool (是), then absent in turn: its first member, its second, and the
    # second's replacement. Each absent index leaves the pool; present members are not eligible.
    kept = opened()
    kept.group(1, True, draw("", 1, 1, 3, range(10)), "第一组")
    members = [4, 0, 6]
    out = []
    for attempt, place in [(2, 0), (3, 1), (4, 1)]:
        gone = members[place]
        out.append(gone)
        present = [i for i in members if i != gone]
        eligible = [i for i in range(10) if i not in out and i not in present]
        replacement = draw("", 1, attempt, 1, eligible)
        kept.add("redraw", group=1, absent=[gone], attempt=attempt, picks=replacement,
                 names=[ROSTER[i] for i in replacement])
        members[members.index(gone)] = replacement[0]
    # The replacements stayed in the pool, the absent did not.
    kept.group(2, False, draw("", 2, 1, 5, [1, 2, 3, 5, 6, 7, 8]), "第二组")
    kept.write(folder / "redraw-kept.jsonl")


if __name__ == "__main__":
    main()
