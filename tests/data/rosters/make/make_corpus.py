#!/usr/bin/env python3
"""Writes the made_* roster files into the folder above this one.

Run from anywhere: python3 tests/data/rosters/make/make_corpus.py
The output is the same on every run (fixed seeds, no time stamps).
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import make_html  # noqa: E402
import make_text  # noqa: E402
import make_xml2003  # noqa: E402

OUT = os.path.dirname(HERE)


def made_files():
    """name -> dict(builder, format, encoding, categories, delimiter, script)."""
    files = {}
    for module in (make_html, make_xml2003, make_text):
        script = "make/" + module.__name__ + ".py"
        for name, entry in module.FILES.items():
            builder, fmt, enc, cats = entry[:4]
            delim = entry[4] if len(entry) > 4 else None
            files[name] = dict(builder=builder, format=fmt, encoding=enc,
                               categories=cats, delimiter=delim, script=script)
    return files


def main():
    for name, entry in made_files().items():
        data = entry["builder"]()
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
        print(f"{len(data):8d}  {name}")


if __name__ == "__main__":
    main()
