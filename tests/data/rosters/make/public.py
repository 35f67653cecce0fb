"""Files copied unchanged from other projects' public test data."""

# name: (repository, path in repository, commit, licence, format, encoding,
#        categories, delimiter)
PUBLIC = {
    "pandas_valid_markup.html.xls": (
        "pandas-dev/pandas", "pandas/tests/io/data/html/valid_markup.html",
        "e65315ff62cb8e656e3b7f874a4945cad7abbc20", "BSD-3-Clause", "html", "ascii",
        "html,no-charset,thead,th-in-col-a,two-tables,empty-th", None),
    "pandas_whitespace_table.html.xls": (
        "pandas-dev/pandas", "pandas/tests/io/data/html/whitespace_table.html",
        "5b542f5fc8ee8e1b889ce815205d140fd5d49c2d", "BSD-3-Clause", "html", "ascii",
        "html,no-charset,whitespace,th", None),
    "lo_tdf88821.html.xls": (
        "LibreOffice/core", "sc/qa/unit/data/html/tdf88821.html",
        "b297f7bbfed83f87398231740e910afe6ebfbb97", "MPL-2.0", "html", "utf-8",
        "html,utf-8,meta-charset-before-html,uppercase-tags,cells-outside-tr,latin-accents", None),
    "lo_tdf88821-2.html.xls": (
        "LibreOffice/core", "sc/qa/unit/data/html/tdf88821-2.html",
        "84400eae86d7ae8e66f8247f4c4f3a717d90f8c0", "MPL-2.0", "html", "utf-8",
        "html,utf-8,meta-charset-html5,latin-ext", None),
    "lo_tdf48731.csv.xls": (
        "LibreOffice/core", "sc/qa/unit/data/csv/tdf48731.csv",
        "724253c916db0517733181529e3f652aaf8f6890", "MPL-2.0", "text-csv", "ascii",
        "csv,crlf,apostrophe-prefix,blank-line", ","),
    "lo_merged-cells.xml.xls": (
        "LibreOffice/core", "sc/qa/unit/data/xml/merged-cells.xml",
        "cbec4cb7b11081ccc75822cf4954a5cc253c15f3", "MPL-2.0", "xml2003", "utf-8",
        "xml2003,writer-excel-2013,merge-across,merge-down-col-a,ss-index-cell,number", None),
    "lo_empty-rows.xml.xls": (
        "LibreOffice/core", "sc/qa/unit/data/xml/empty-rows.xml",
        "1c791a9b28af5e6ece46e1d48a2acde9d4c81c78", "MPL-2.0", "xml2003", "utf-8",
        "xml2003,writer-excel-2013,ss-index-row,ss-index-cell,empty-col-a,formula", None),
    "lo_named-exp-local.xml.xls": (
        "LibreOffice/core", "sc/qa/unit/data/xml/named-exp-local.xml",
        "05986e7f98ea1c0bd8092500968774ef3f6bcef4", "MPL-2.0", "xml2003", "utf-8",
        "xml2003,writer-excel-2013,multi-sheet,no-active-sheet,named-range,formula,ss-index-row", None),
    "lo_universal-content.xml.xls": (
        "LibreOffice/core", "sc/qa/unit/data/xml/universal-content.xml",
        "ce565ff09743c52a08dffc28b9639d657d56bee2", "MPL-2.0", "xml2003", "utf-8",
        "xml2003,writer-excel-2010,multi-sheet,formula,comment,merge,ss-index-cell,number", None),
    "lo_tdf154311.xml.xls": (
        "LibreOffice/core", "sc/qa/unit/data/xml/tdf154311.xml",
        "daba307859942e17ec6686988d5d7ac34b06d438", "MPL-2.0", "xml2003", "utf-8",
        "xml2003,writer-third-party,no-excelworkbook,empty-col-a,ss-index-row,datetime,autofilter", None),
}
