#!/usr/bin/env python3
"""Writes MANIFEST.tsv: every roster file with its origin, size and SHA-256."""

import hashlib
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)

from make_corpus import made_files  # noqa: E402
from public import PUBLIC  # noqa: E402


def main():
    made = made_files()
    lines = ["file\tsource_repo\tpath_in_repo\tcommit\tlicense\tcategories\tsize\tsha256"]
    for name in sorted(f for f in os.listdir(ROOT) if f.endswith(".xls")):
        data = open(os.path.join(ROOT, name), "rb").read()
        if name in PUBLIC:
            repo, path, commit, lic, _fmt, _enc, cats, _delim = PUBLIC[name]
        else:
            entry = made[name]
            repo, path, commit, lic, cats = "made", entry["script"], "-", "own", entry["categories"]
        lines.append("\t".join([name, repo, path, commit, lic, cats, str(len(data)),
                                hashlib.sha256(data).hexdigest()]))
    with open(os.path.join(ROOT, "MANIFEST.tsv"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
