#!/usr/bin/env python3
"""tools/verify-draw on the known-answer records, and on copies changed the ways a record can be."""

import hashlib
import json
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
CHECKER = ROOT / "tools" / "verify-draw"
RECORDS = ROOT / "tests" / "data" / "records"
PLAIN, ROOM = "known-answer.jsonl", "known-answer-entropy.jsonl"
REDRAW, KEPT = "known-answer-redraw.jsonl", "redraw-kept.jsonl"


class Lines(list):
    """A record's lines without their LF, changed in place; each change returns the lines."""

    @classmethod
    def read(cls, name):
        return cls((RECORDS / name).read_bytes().split(b"\n")[:-1])

    def edit(self, i, **fields):
        line = json.loads(self[i])
        line.update(fields)
        self[i] = json.dumps(line, ensure_ascii=False, separators=(",", ":")).encode()
        return self

    def put(self, i, line):
        self.insert(i, line)
        return self

    def drop(self, i):
        del self[i]
        return self

    def swap(self, i, j):
        self[i], self[j] = self[j], self[i]
        return self

    def rechain(self):
        """What a forger does after a change: number and chain the lines again."""
        for n in range(len(self)):
            prev = hashlib.sha256(self[n - 1]).hexdigest() if n else "0" * 64
            self.edit(n, seq=n, prev=prev)
        return self

    def data(self):
        return b"".join(line + b"\n" for line in self)


# (what was done, record, how, the line reported, a word of the reason)
TAMPERED = [
    ("name changed", PLAIN, lambda r: r.edit(1, names=["陈静", "王芳", "赵敏"]), 2, "names"),
    ("line deleted", PLAIN, lambda r: r.drop(1), 2, "missing"),
    ("line repeated", PLAIN, lambda r: r.put(1, r[1]), 3, "repeated"),
    ("lines swapped", PLAIN, lambda r: r.swap(1, 2), 2, "order"),
    ("picks and names changed together", PLAIN,
     lambda r: r.edit(2, picks=[7, 2], names=["黄强", "李娜"]).rechain(), 3, "picks"),
    ("title changed", PLAIN, lambda r: r.edit(1, title="第九组"), 3, "line 2 was changed"),
    ("roster changed", PLAIN, lambda r: r.edit(0, roster=["张三"] * 10).rechain(), 1, "digest"),
    ("wrong seed", PLAIN, lambda r: r.edit(3, seed="ff" * 32), 4, "commitment"),
    ("second open line", PLAIN, lambda r: r.put(1, r[0]).rechain(), 2, "first"),
    ("group with attempt 2", PLAIN, lambda r: r.edit(1, attempt=2).rechain(), 2, "attempt 1"),
    ("count changed", PLAIN, lambda r: r.edit(1, count=2), 2, "count"),
    ("group drawn twice", PLAIN, lambda r: r.edit(2, group=1).rechain(), 3, "already drawn"),
    ("no close line", PLAIN, lambda r: r.drop(3), 4, "no close line"),
    ("secret lost", PLAIN, lambda r: r.edit(3, seed=None), 4, "cannot be verified"),
    ("last line cut short", PLAIN, lambda r: r.data()[:-1], 4, "line feed"),
    ("group after the close line", PLAIN, lambda r: r.put(4, r[2]).rechain(), 5, "after the close"),
    ("first group kept in the pool", ROOM, lambda r: r.edit(2, keep=True).rechain(), 4, "picks"),
    ("room's text given twice", ROOM, lambda r: r.put(2, r[1]).rechain(), 3, "at most once"),
    ("room text changed", ROOM, lambda r: r.edit(1, text="20261208").rechain(), 3, "picks"),
    ("absent not in the group", REDRAW, lambda r: r.edit(2, absent=[5]).rechain(), 3, "member"),
    ("absent out of the group's order", REDRAW,
     lambda r: r.edit(2, absent=[6, 0]).rechain(), 3, "order"),
    ("two replacements for one absent", REDRAW,
     lambda r: r.edit(2, picks=[2, 7], names=["李娜", "黄强"]).rechain(), 3, "replacements"),
    ("attempt skipped", REDRAW, lambda r: r.edit(2, attempt=3).rechain(), 3, "attempt"),
    ("another replacement", REDRAW,
     lambda r: r.edit(2, picks=[3], names=["刘洋"]).rechain(), 3, "picks"),
    ("replaced member absent again", REDRAW,
     lambda r: r.put(3, r[2]).edit(3, attempt=3).rechain(), 4, "member"),
    ("present member drawn again", KEPT,
     lambda r: r.edit(3, picks=[2], names=["李娜"]).rechain(), 4, "picks"),
    ("absent member drawn again", KEPT,
     lambda r: r.edit(4, picks=[0], names=["张伟"]).rechain(), 5, "picks"),
]


def verify(path):
    run = subprocess.run([sys.executable, str(CHECKER), str(path)], capture_output=True,
                         text=True, check=False)
    return run.returncode, run.stdout.strip()


class TestVerifyDraw(unittest.TestCase):
    def test_known_answer_records_pass(self):
        for name, groups in [(PLAIN, 2), (ROOM, 2), (REDRAW, 1), (KEPT, 2)]:
            with self.subTest(name):
                self.assertEqual(verify(RECORDS / name), (0, f"record ok: {groups} groups"))

    def test_records_are_their_script_output(self):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run([sys.executable, str(RECORDS / "make_records.py"), folder], check=True)
            for name in [PLAIN, ROOM, REDRAW, KEPT]:
                with self.subTest(name):
                    made = (Path(folder) / name).read_bytes()
                    self.assertEqual(made, (RECORDS / name).read_bytes())

    def test_tampered_records_fail_at_the_changed_line(self):
        with tempfile.TemporaryDirectory() as folder:
            for what, name, tamper, line, word in TAMPERED:
                with self.subTest(what):
                    changed = tamper(Lines.read(name))
                    path = Path(folder) / "record.jsonl"
                    path.write_bytes(changed if isinstance(changed, bytes) else changed.data())
                    code, output = verify(path)
                    self.assertEqual(code, 1, output)
                    self.assertTrue(output.startswith(f"line {line}: "), output)
                    self.assertIn(word, output)


if __name__ == "__main__":
    unittest.main()
