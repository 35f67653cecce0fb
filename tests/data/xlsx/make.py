#!/usr/bin/env python3
"""Writes the xlsx packages TestXlsx reads (run from this folder; the files are kept in the
repository). xlsx content under an .xls name, as users save it: a roster on the second sheet
with shared, rich and inline strings, numbers, dates by number format in the 1900 and 1904
systems and as ISO text, booleans, errors and formula results; the same workbook opening on its
chart sheet or on a tab that is not there; one listing no sheets, one whose
workbook part cannot be unpacked; a binary workbook; and zips that are no workbook."""
import zipfile

WORKBOOK = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"
 xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<workbookPr date1904="%1"/><bookViews><workbookView activeTab="1"/></bookViews>
<sheets><sheet name="Cover" sheetId="1" r:id="rId1"/><sheet name="名单" sheetId="2" r:id="rId2"/>
<sheet name="Chart" sheetId="3" r:id="rId5"/></sheets></workbook>"""

BOOK_RELS = """<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/>
<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>
<Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>
<Relationship Id="rId5" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartsheet" Target="chartsheets/sheet1.xml"/>
</Relationships>"""

PACKAGE_RELS = """<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>"""

STRINGS = """<?xml version="1.0" encoding="UTF-8"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="3" uniqueCount="3">
<si><t>张三</t></si>
<si><r><rPr><b/></rPr><t>李</t></r><r><t xml:space="preserve">四 </t></r><rPh sb="0" eb="1"><t>リ</t></rPh></si>
<si><t>a_x000D_b &amp; c</t></si></sst>"""

STYLES = """<?xml version="1.0" encoding="UTF-8"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<numFmts count="1"><numFmt numFmtId="164" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/></numFmts>
<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>
<cellXfs count="4"><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="2"/></cellXfs>
</styleSheet>"""

SHEET2 = """<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>
<row r="1"><c r="A1" t="inlineStr"><is><t>标题</t></is></c><c r="B1" s="3"><v>7</v></c></row>
<row r="3"><c r="A3" t="s"><v>0</v></c><c r="D3" t="inlineStr"><is><t>丁</t></is></c></row>
<row r="4"><c r="A4" t="s"><v>1</v></c></row>
<row r="5"><c r="A5"><v>12</v></c><c t="b"><v>1</v></c></row>
<row r="6"><c r="A6" s="1"><v>45292.5</v></c></row>
<row r="7"><c r="A7" s="2"><v>0</v></c></row>
<row r="8"><c r="A8" t="e"><v>#DIV/0!</v></c></row>
<row r="9"><c r="A9" t="str"><f>"x"&amp;"y"</f><v>xy</v></c></row>
<row><c t="b"><v>0</v></c></row>
<row r="11"><c r="A11" t="s"><v>2</v></c><c r="C11" s="1"/></row>
<row r="12"><c r="A12" t="str"><f>""</f><v></v></c></row>
<row r="13"><c r="A13" t="s"><v>99</v></c></row>
<row r="14"><c r="A14" t="d"><v>2024-03-01T08:30:00</v></c></row>
<row r="15"><c r="B15" t="inlineStr"><is><t>乙</t></is></c><c r="A0" t="inlineStr"><is><t>丙</t></is></c></row>
<row r="16"><c r="A16" t="inlineStr"><is><t>_x0041_bc</t></is></c></row>
</sheetData></worksheet>"""


def write(name, parts, damaged=None):
    """Stores the parts; the part named `damaged` is deflated, its data then made undecodable."""
    with zipfile.ZipFile(name, "w") as z:
        for path, data in parts.items():
            info = zipfile.ZipInfo(path, (2024, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED if path == damaged else zipfile.ZIP_STORED
            z.writestr(info, data)
    if damaged:
        with open(name, "r+b") as f:
            info = zipfile.ZipFile(f).getinfo(damaged)
            f.seek(info.header_offset + 26)
            skip = int.from_bytes(f.read(2), "little") + int.from_bytes(f.read(2), "little")
            f.seek(skip, 1)
            f.write(b"\xff")  # a deflate block of a type that does not exist


def xlsx(name, date1904, active_tab, book=None, damaged=None):
    book = book or WORKBOOK.replace("%1", "1" if date1904 else "0")
    book = book.replace('activeTab="1"', 'activeTab="%d"' % active_tab)
    write(name, {
        "[Content_Types].xml": "<Types/>",
        "_rels/.rels": PACKAGE_RELS,
        "xl/workbook.xml": book,
        "xl/_rels/workbook.xml.rels": BOOK_RELS,
        "xl/sharedStrings.xml": STRINGS,
        "xl/styles.xml": STYLES,
        "xl/worksheets/sheet1.xml": "<worksheet><sheetData/></worksheet>",
        "xl/worksheets/sheet2.xml": SHEET2,
        "xl/chartsheets/sheet1.xml": "<chartsheet/>",
    }, damaged)


xlsx("roster-1900.xlsx.xls", False, 1)
xlsx("roster-1904.xlsx.xls", True, 1)
xlsx("chart-opens.xlsx.xls", False, 2)
xlsx("tab-out-of-range.xlsx.xls", False, 9)
xlsx("no-sheets.xlsx.xls", False, 0, WORKBOOK.split("<sheets>")[0] + "</workbook>")
xlsx("damaged-part.xlsx.xls", False, 1, damaged="xl/workbook.xml")
write("binary.xlsb.xls", {"_rels/.rels": PACKAGE_RELS.replace("workbook.xml", "workbook.bin"),
                          "xl/workbook.bin": "\0"})
write("calc.ods.xls", {"mimetype": "application/vnd.oasis.opendocument.spreadsheet"})
write("report.docx.xls", {"word/document.xml": "<document/>"})
write("readme.zip.xls", {"readme.txt": "hello"})
