#!/usr/bin/python3
"""Writes expected/<file>.json: column A of every roster file as LibreOffice
Calc shows it, and for CSV/TSV text also as Python's csv module reads it.

Needs the Debian packages libreoffice-calc-nogui and python3-uno (a check run
by hand, not a build dependency); run with the system Python, which has uno:
    /usr/bin/python3 tests/data/rosters/make/make_expected.py
"""

import csv
import hashlib
import io
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)

from make_corpus import made_files  # noqa: E402
from notes import NOTES  # noqa: E402
from public import PUBLIC  # noqa: E402

MAX_ROW = 2010
EXPORT = "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"
# LibreOffice text encodings (rtl_TextEncoding) for the explicit text import.
LO_CHARSET = {"utf-8": 76, "utf-8-bom": 76, "ascii": 76, "gbk": 67,
              "utf-16le-bom": 65535, "utf-16be-bom": 65535}
PY_CODEC = {"utf-8": "utf-8", "utf-8-bom": "utf-8-sig", "ascii": "ascii", "gbk": "gbk",
            "utf-16le-bom": "utf-16", "utf-16be-bom": "utf-16"}


def metadata():
    meta = {}
    for name, entry in made_files().items():
        meta[name] = dict(source="made", format=entry["format"], encoding=entry["encoding"],
                          delimiter=entry["delimiter"])
    for name, (repo, path, commit, lic, fmt, enc, cats, delim) in PUBLIC.items():
        meta[name] = dict(source=repo, format=fmt, encoding=enc, delimiter=delim)
    return meta


def text_infilter(m):
    return "Text - txt - csv (StarCalc):%d,34,%d,1" % (ord(m["delimiter"]), LO_CHARSET[m["encoding"]])


# ---- LibreOffice through UNO: the filter it detects and the sheet it opens on

def pv(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


class Office:
    def __init__(self, profile):
        self.proc = subprocess.Popen(
            ["soffice", "--headless", "--invisible", "--norestore",
             "-env:UserInstallation=" + uno.systemPathToFileUrl(profile),
             "--accept=socket,host=127.0.0.1,port=2087;urp;"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(120):
            try:
                self.ctx = resolver.resolve(
                    "uno:socket,host=127.0.0.1,port=2087;urp;StarOffice.ComponentContext")
                break
            except Exception:
                time.sleep(0.5)
        smgr = self.ctx.ServiceManager
        self.detection = smgr.createInstanceWithContext("com.sun.star.document.TypeDetection", self.ctx)
        self.desktop = smgr.createInstanceWithContext("com.sun.star.frame.Desktop", self.ctx)

    def detect(self, path):
        url = uno.systemPathToFileUrl(path)
        type_name, desc = self.detection.queryTypeByDescriptor((pv("URL", url),), True)
        filt = [p.Value for p in desc if p.Name == "FilterName"]
        return type_name, (filt[0] if filt else None)

    def read(self, path, filter_name, options=None, index=0):
        """Sheet names, the sheet the document opens on, and column A of the
        sheet at `index` as the cells show it (rows 1..N, N <= MAX_ROW)."""
        props = [pv("Hidden", True), pv("FilterName", filter_name)]
        if options:
            props.append(pv("FilterOptions", options))
        doc = self.desktop.loadComponentFromURL(uno.systemPathToFileUrl(path), "_blank", 0,
                                                tuple(props))
        try:
            names = list(doc.Sheets.ElementNames)
            opened = doc.CurrentController.ActiveSheet.Name
            sheet = doc.Sheets.getByIndex(index)
            cursor = sheet.createCursor()
            cursor.gotoEndOfUsedArea(False)
            last = min(cursor.RangeAddress.EndRow + 1, MAX_ROW)
            col = [sheet.getCellByPosition(0, r).getString() for r in range(last)]
        finally:
            doc.close(True)
        while col and col[-1] == "":
            col.pop()
        return names, opened, col

    def stop(self):
        try:
            self.desktop.terminate()
        except Exception:
            pass
        self.proc.wait(timeout=60)


# ---- LibreOffice's own CSV export, one CSV per sheet

def convert(paths, infilter, workdir, profile):
    """{file name: {sheet name: csv path}} for a batch of files."""
    out = tempfile.mkdtemp(dir=workdir)
    cmd = ["soffice", "--headless", "-env:UserInstallation=" + uno.systemPathToFileUrl(profile)]
    if infilter:
        cmd.append("--infilter=" + infilter)
    cmd += ["--convert-to", EXPORT, "--outdir", out] + paths
    log = subprocess.run(cmd, capture_output=True, text=True).stdout
    result, current = {}, None
    for line in log.splitlines():
        m = re.match(r"convert (.*) using filter", line)
        if m:
            current = os.path.basename(m.group(1))
            result[current] = {}
        m = re.match(r"Writing sheet (.*) -> (.*)$", line)
        if m and current:
            result[current][m.group(1)] = m.group(2)
    return result


def column_a_of_csv(path, encoding="utf-8", delimiter=","):
    with open(path, encoding=encoding, newline="") as f:
        rows = list(csv.reader(f, delimiter=delimiter))
    col = [row[0] if row else "" for row in rows[:MAX_ROW]]
    while col and col[-1] == "":
        col.pop()
    return col


def rows_of(col):
    return [[i + 1, text] for i, text in enumerate(col)]


def differences(a, b):
    out = []
    for i in range(max(len(a), len(b))):
        x = a[i] if i < len(a) else ""
        y = b[i] if i < len(b) else ""
        if x != y:
            out.append([i + 1, x, y])
    return out


def active_in_file(data, fmt):
    """ExcelWorkbook/ActiveSheet index as the file states it (None if absent)."""
    if fmt != "xml2003":
        return None
    m = re.search(rb"<(?:x:)?ActiveSheet>\s*(\d+)\s*</", data)
    return int(m.group(1)) if m else None


def dump(record):
    """JSON with one row per line, so diffs of the answers stay readable."""
    col = record.pop("column_a")
    py = record.get("python_csv")
    py_col = py.pop("column_a") if py else None
    text = json.dumps(record, ensure_ascii=False, indent=1)

    def rows_json(rows):
        return "[\n" + ",\n".join("  " + json.dumps(r, ensure_ascii=False) for r in rows) + "\n ]"

    text = text[:-2] + ',\n "column_a": ' + rows_json(col)
    if py_col is not None:
        text = text.replace('"python_csv": {', '"python_csv": {\n  "column_a": '
                            + rows_json(py_col).replace("\n ]", "\n  ]") + ",", 1)
    return text + "\n}\n"


# The other import filter LibreOffice has for the same content, read as well
# so that its differences are on record.
OTHER_FILTER = {"html": "HTML (StarCalc)", "xml2003": "MS Excel 2003 XML"}


def active_index(data, fmt):
    """Sheet the workbook opens on: ExcelWorkbook/ActiveSheet, else the first."""
    stated = active_in_file(data, fmt)
    return stated or 0


def sheet_csv(exported, sheet_names, index):
    """CSV of the sheet at `index` in LibreOffice's own sheet order."""
    return exported[sheet_names[index]]


def main():
    meta = metadata()
    files = sorted(f for f in os.listdir(ROOT) if f.endswith(".xls"))
    missing = [f for f in files if f not in meta]
    if missing:
        sys.exit("no metadata for: " + ", ".join(missing))
    version = subprocess.run(["soffice", "--version"], capture_output=True, text=True).stdout.strip()
    work = tempfile.mkdtemp(prefix="rosters-expected-")
    profile = os.path.join(work, "profile")
    path = {f: os.path.join(ROOT, f) for f in files}
    try:
        auto = convert([path[f] for f in files], None, work, profile)
        explicit, other = {}, {}
        groups = {}
        for f in files:
            fmt = meta[f]["format"]
            if fmt.startswith("text-"):
                groups.setdefault(("explicit", text_infilter(meta[f])), []).append(path[f])
            else:
                groups.setdefault(("other", OTHER_FILTER[fmt]), []).append(path[f])
        for (kind, infilter), group in groups.items():
            (explicit if kind == "explicit" else other).update(convert(group, infilter, work, profile))

        office = Office(os.path.join(work, "profile-uno"))
        try:
            detected = {f: office.detect(path[f]) for f in files}
            opened, opened_other = {}, {}
            for f in files:
                fmt = meta[f]["format"]
                index = active_index(open(path[f], "rb").read(), fmt)
                if fmt.startswith("text-"):
                    opts = text_infilter(meta[f]).split(":", 1)[1]
                    opened[f] = office.read(path[f], detected[f][1], opts, index)
                else:
                    opened[f] = office.read(path[f], detected[f][1], None, index)
                    opened_other[f] = office.read(path[f], OTHER_FILTER[fmt], None, index)
        finally:
            office.stop()

        os.makedirs(os.path.join(ROOT, "expected"), exist_ok=True)
        for f in files:
            m = meta[f]
            fmt = m["format"]
            data = open(path[f], "rb").read()
            sheet_names, lo_opened, col = opened[f]
            is_text = fmt.startswith("text-")
            index = active_index(data, fmt)
            exported = explicit[f] if is_text else auto[f]
            csv_diff = differences(col, column_a_of_csv(sheet_csv(exported, sheet_names, index)))
            record = {
                "file": f,
                "size": len(data),
                "sha256": hashlib.sha256(data).hexdigest(),
                "source": m["source"],
                "format": fmt,
                "encoding": m["encoding"],
            }
            if m["delimiter"]:
                record["delimiter"] = m["delimiter"]
            if fmt == "xml2003":
                record["active_sheet_in_file"] = active_in_file(data, fmt)
            record["active_sheet_index"] = index
            record["active_sheet"] = sheet_names[index]
            record["libreoffice"] = {
                "version": version,
                "detected_type": detected[f][0],
                "import_filter": detected[f][1],
                "infilter": text_infilter(m) if is_text else None,
                "sheets": sheet_names,
                "opened_sheet": lo_opened,
                "csv_export": "soffice --headless --convert-to '" + EXPORT + "'",
                "csv_export_agrees": not csv_diff,
            }
            if csv_diff:
                record["libreoffice"]["csv_export_differences"] = csv_diff
            if is_text:
                auto_col = column_a_of_csv(auto[f][next(iter(auto[f]))])
                diff = differences(col, auto_col)
                record["libreoffice_without_infilter"] = {
                    "same_column_a": not diff,
                    "differences": diff[:5],
                    "differences_total": len(diff),
                }
                py_col = python_csv(data, m)
                record["python_csv"] = {
                    "codec": PY_CODEC[m["encoding"]],
                    "delimiter": m["delimiter"],
                    "column_a": rows_of(py_col),
                }
                record["libreoffice_vs_python"] = differences(col, py_col)
            else:
                other_names, other_opened, other_col = opened_other[f]
                other_csv = column_a_of_csv(sheet_csv(other[f], other_names, index))
                if other_csv != other_col:
                    print("note: csv export and cells differ for", f, "with", OTHER_FILTER[fmt])
                diff = differences(col, other_col)
                record["libreoffice_other_filter"] = {
                    "import_filter": OTHER_FILTER[fmt],
                    "sheets": other_names,
                    "opened_sheet": other_opened,
                    "same_column_a": not diff,
                    "differences": diff[:40],
                    "differences_total": len(diff),
                }
            if f in NOTES:
                record["note"] = NOTES[f]
            record["rows_listed"] = len(col)
            record["column_a"] = rows_of(col)
            with open(os.path.join(ROOT, "expected", f + ".json"), "w", encoding="utf-8") as out:
                out.write(dump(record))
            print(f"{len(col):5d}  {f}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def python_csv(data, m):
    text = data.decode(PY_CODEC[m["encoding"]])
    rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=m["delimiter"]))
    col = [row[0] if row else "" for row in rows[:MAX_ROW]]
    while col and col[-1] == "":
        col.pop()
    return col


if __name__ == "__main__":
    main()
