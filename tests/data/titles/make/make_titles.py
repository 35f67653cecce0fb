#!/usr/bin/env python3
"""Writes the title databases the title tests start from, with the sqlcipher shell.

Run from anywhere: python3 tests/data/titles/make/make_titles.py
The program's title database is SQLCipher 3 keyed with its password; each file here is one
the tests copy into a temporary folder. SQLCipher salts every new file at random, so a rerun
gives the same tables in different bytes.
"""

import os
import subprocess

OUT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PASSWORD = "583104726,1"


def literal(v):
    return "NULL" if v is None else "'" + v.replace("'", "''") + "'"


def table(rows, columns):
    """CREATE and INSERTs for the table 标题 with `columns` text columns; missing cells NULL."""
    names = ", ".join("c%d TEXT" % c for c in range(columns))
    sql = ["CREATE TABLE 标题 (%s)" % names]
    for row in rows:
        cells = [row[c] if c < len(row) else None for c in range(columns)]
        sql.append("INSERT INTO 标题 VALUES (%s)" % ", ".join(map(literal, cells)))
    return sql


def stored(name, titles, column26):
    """A row as a save writes it: the name, titles 1-25 (empty texts after the last), c26."""
    return [name] + [titles[k] if k < len(titles) else "" for k in range(25)] + [column26]


# One row for each way a set can end, and a seventh row the program never touches.
TYPICAL = [
    stored("全", ["标题%d" % k for k in range(1, 26)], "不读"),  # column 26: never read
    ["只有名称", ""],
    ["", "孤题"],
    ["空列", "甲", None, "丙"],
    ["有缺口", "A", "B", "", "D"],
    ["方案六", "x"],
    ["第七行", "不用"],
]


def titled(name, n, prefix="T"):
    return [name] + [prefix + str(k) if k <= n else "" for k in range(1, 26)]


SIX_SETS = [titled("甲组", 24), titled("乙组", 3, "乙"), titled("丙组", 25), titled("", 0),
            titled("戊组", 0), titled("己组", 1)]

TRIGGER = ("CREATE TRIGGER refuse BEFORE UPDATE ON 标题 WHEN old.c0 = '空列' "
           "BEGIN SELECT RAISE(ABORT, 'refused'); END")

FILES = {
    "typical.mdb": (PASSWORD, table(TYPICAL, 27)),
    "six-sets.mdb": (PASSWORD, table(SIX_SETS, 26)),
    "wrong-key.mdb": ("123", table(TYPICAL, 27)),
    "no-table.mdb": (PASSWORD, table([], 1) + ["DROP TABLE 标题"]),
    "five-rows.mdb": (PASSWORD, table(TYPICAL[:5], 27)),
    "25-columns.mdb": (PASSWORD, table(TYPICAL, 25)),
    "refuses-row-4.mdb": (PASSWORD, table(TYPICAL, 27) + [TRIGGER]),
}


def main():
    for name, (password, statements) in FILES.items():
        path = os.path.join(OUT, name)
        if os.path.exists(path):
            os.remove(path)
        script = "PRAGMA key = %s;\nBEGIN;\n%s;\nCOMMIT;\n" % (literal(password),
                                                              ";\n".join(statements))
        subprocess.run(["sqlcipher", path], input=script.encode("utf-8"), check=True)
        print(name)


if __name__ == "__main__":
    main()
