"""What we saw in LibreOffice's reading of each file, and where a browser (for
HTML) or Excel (for SpreadsheetML and CSV) would show something else. Written
by hand after looking at the answers; the answers themselves are not edited."""

NOTES = {
    "made_line_breaks.html.xls": (
        "The filter LibreOffice picks (calc_HTML_WebQuery) starts a new row at every <br> and at "
        "paragraph ends: 张<br>三 fills rows 3 and 4, <p>王五</p><p>赵六</p> rows 6-8 with an empty "
        "row 7, 周<br><br>八 rows 10-12. A browser shows each as one cell with line breaks. "
        "'HTML (StarCalc)' keeps one cell with '\\n' (张\\n三, 王五\\n赵六, 周\\n\\n八). Both drop a "
        "trailing <br/>, join <div>冯</div><div>十一</div> to 冯十一 (a browser shows two lines) "
        "and drop inline tags (<b>, <span>, <a>, <font>)."),
    "made_entities.html.xls": (
        "Entities are decoded as a browser does (&amp; &lt; &gt; &quot; &#39; &copy; &times; "
        "&#x..; &#..; and the supplementary-plane &#x20BB7;); an unknown entity (&unknown;) and a "
        "bare & stay as written. Unlike a browser, &nbsp; becomes an ordinary space U+0020 "
        "(王&nbsp;芳 -> '王 芳'), and a cell holding only &nbsp; is empty (row 16); a browser keeps "
        "U+00A0 in the text. 'HTML (StarCalc)' gives ' ' for row 16."),
    "made_whitespace.html.xls": (
        "Runs of spaces, tabs and line ends fold to one space and leading/trailing white space "
        "is dropped, as a browser renders it; the ideographic space U+3000 is kept (browsers keep "
        "it too). Leading &nbsp;&nbsp; is dropped (a browser shows two non-breaking spaces). A "
        "cell of spaces only is empty (row 10). 'HTML (StarCalc)' keeps one trailing space "
        "(row 3 '张三 ', row 9 '吴九 ') and the leading non-breaking spaces as spaces."),
    "pandas_whitespace_table.html.xls": (
        "White space inside the cell folds to single spaces and is trimmed, as in a browser; "
        "'HTML (StarCalc)' keeps a trailing space."),
    "made_heading_text.html.xls": (
        "Text before the table takes rows: <h2> row 1, an empty row 2, <p> row 3, an empty row "
        "4, the <caption> row 5; the table starts at row 6; after the table one empty row, then "
        "the closing <p> (row 16). A browser shows the same order, with margins instead of empty "
        "rows. 'HTML (StarCalc)' puts no empty rows and joins the caption with the first table "
        "row ('候选人 \\n姓名')."),
    "made_nested_cells.html.xls": (
        "An inner table in a cell is spread over the sheet: the one in column A puts 张三 on row 3 "
        "(beside the outer row's 销售部) and 李四 on row 4; the one in column B takes B5:C5. A "
        "browser draws each inner table inside its cell. 'HTML (StarCalc)' leaves row 4 empty and "
        "puts 李四, 王五, 技术部, 后端组 side by side on row 5, so 王五 is no longer in column A."),
    "made_nested_layout.html.xls": (
        "The one-cell layout table around the roster leaves no trace: the roster table starts "
        "at A1, as a browser shows it. Both LibreOffice filters agree."),
    "made_rowspan.html.xls": (
        "rowspan is honoured: the 独唱组 cell spanning three rows in column B leaves B4 and B5 "
        "empty and the next cells move right (C4 送别). 赵六 spans rows 6-7 in column A, so A7 is "
        "the empty lower part of a merged cell: a roster read by the first-empty-cell rule ends "
        "at row 6. A browser shows 赵六 once, across both rows."),
    "made_colspan.html.xls": (
        "colspan is honoured: a cell spanning columns keeps its text in its first column "
        "(A4 李娜（外派）, A6 刘洋), the next cell goes to the column after the span. 陈静 with "
        "colspan=2 rowspan=2 leaves A8 empty."),
    "made_websys_download.html.xls": (
        "The <tfoot> (合计：10人), written before <tbody>, is not imported at all; a browser shows "
        "it below the body. The row with style=display:none is imported (row 7); a browser hides "
        "it. The inline vnd.ms-excel.numberformat:@ is ignored: 工号 00001 becomes the number 1 "
        "(column B). <th> cells count like <td>."),
    "made_excel_webpage.html.xls": (
        "Excel's 'Save as Web Page' (gb2312, CRLF): the text number format of class xl24 "
        "(mso-number-format:\"\\@\") keeps 007 as text (row 6); x:num=\"7\" with mso-number-format "
        "\"000\" is the number 7 shown as 007 (row 14; the CSV export gives its value 7). "
        "'HTML (StarCalc)' ignores the text format and turns row 6 into the number 7. The "
        "conditional comments and the <xml> block are skipped; the sheet is called Sheet1, not "
        "the x:Name 学生名单. The hidden supportMisalignedColumns row adds nothing to column A."),
    "made_gb2312_label_gbk_chars.html.xls": (
        "The page says charset=gb2312 and holds GBK bytes. LibreOffice decodes strictly as "
        "GB2312: the characters only GBK has (喆 堃 玥 镕 昇 琇) come out as mojibake in rows 3-8. "
        "Browsers (WHATWG encoding rules) and Excel decode the label gb2312 as GBK and show "
        "王喆, 李堃, 张玥, 陈镕, 刘昇, 赵琇."),
    "made_utf8_nometa.html.xls": (
        "No charset declared and no byte-order mark: LibreOffice reads the bytes as UTF-8. A "
        "browser on a Chinese system without UTF-8 sniffing would fall back to GBK."),
    "made_gb18030_rare.html.xls": (
        "GB18030 four-byte sequences (䶮 U+4DAE, 𠮷 U+20BB7) decode correctly."),
    "pandas_valid_markup.html.xls": (
        "Two tables: the second starts after one empty row (row 6). <th> cells count like <td>; "
        "the empty corner <th> leaves A1 empty."),
    "lo_tdf88821.html.xls": (
        "Cells written before any <tr> form row 1, as in a browser; upper-case tags and a "
        "<meta> before <html> are fine."),
    "made_types.xml.xls": (
        "LibreOffice picks its orcus-based filter 'MS Excel 2003 XML Orcus'. It shows Boolean "
        "cells as empty (rows 12, 13) and an Error cell without a formula (#N/A, row 18) as "
        "empty; the XSLT filter 'MS Excel 2003 XML' shows TRUE, FALSE and #N/A. The number 7 "
        "with format 000 shows 007 (its value, in the CSV export, is 7); 12345678901234567890 "
        "shows 1.23456789012346E+019; DateTime shows through its number format in the en-US "
        "locale of the run (3/1/2024; 2024年3月1日 for the Chinese format); rich text runs are "
        "joined (钱八); &#10; is a line break in the cell; spaces are kept; formula cells show "
        "the recalculated result (2, #DIV/0!)."),
    "made_excel2003_multisheet.xml.xls": (
        "ExcelWorkbook/ActiveSheet is 1, so column_a is from the second sheet 二班. LibreOffice's "
        "orcus filter opens on the first sheet 一班 (it ignores ActiveSheet); the XSLT filter "
        "opens on 二班."),
    "made_gb2312_decl.xml.xls": (
        "The XML declaration says encoding=\"GB2312\" and the bytes are GBK. The orcus filter "
        "ignores the declaration and decodes the bytes as UTF-8: column_a and the sheet names are "
        "replacement characters. The XSLT filter honours the declaration and shows the names "
        "(libreoffice_other_filter), as Excel does. No ActiveSheet while the second sheet "
        "carries <Selected/>: both filters open on the first sheet."),
    "made_index_gaps.xml.xls": (
        "The orcus filter places rows and cells by ss:Index: A6 is the lower part of the "
        "MergeDown of 王芳, rows 7, 12 and 13 are skipped rows, A9 has only a C cell, A10 an "
        "empty <Cell/>, A11 an empty String. The XSLT filter ignores Row ss:Index (刘洋 on row 7 "
        "instead of 8, 陈静 on row 11 instead of 14)."),
    "lo_named-exp-local.xml.xls": (
        "No ActiveSheet: the first sheet. The XSLT filter ignores Row ss:Index=\"7\" and shows "
        "the SUM on row 6 as Err:507."),
    "lo_tdf154311.xml.xls": (
        "A third-party export whose cells all start at ss:Index 2 or 3: column A is empty."),
    "made_websys_prefixed.xml.xls": (
        "Found to be XML Spreadsheet 2003 by content although it has no mso-application "
        "instruction and uses the ss: prefix on every element."),
    "made_leading_zeros.csv.xls": (
        "LibreOffice's text import (column type Standard) turns number-looking fields into "
        "numbers and shows them formatted: 007->7, 0012->12, 00->0, 1.50->1.5, 1e5->1.00E+05, "
        "\"1,234\"->1234, -0->0, +86->86, 3.0->3, 50%->50.00%, $5->$5.00, "
        "12345678901234567890->1.23456789012346E+019; 2024-01-05 becomes a date shown the same; "
        "1/2 becomes 2 January of the year of the run (01/02/26 here, so row 10 changes with the "
        "year); TRUE becomes a boolean; =1+1 becomes a formula showing 2. Full-width ０７, '007, "
        "'1 234' and 0x1F stay text. Python's csv module keeps every field as written."),
    "made_quoted.csv.xls": (
        "A CRLF inside quotes becomes LF in the cell (row 6 '刘\\n洋'; Python keeps '\\r\\n'). "
        "Spaces after a closing quote are kept ('黄敏  '); a space before an opening quote makes "
        "LibreOffice drop the space and the quotes ('周杰'), while Python keeps ' \"周杰\"'. A "
        "quote inside an unquoted field stays (赵\"磊\"). An empty quoted field is an empty cell "
        "(row 12)."),
    "made_sep_hint.csv.xls": (
        "LibreOffice 7.4 does not treat the first line 'sep=;' as a hint: split at ';' it puts "
        "'sep=' in A1 and the roster starts one row lower. Excel takes the line as the separator "
        "hint and does not show it. (LibreOffice's CSV export writes that row as \"sep=,\".)"),
    "made_mixed_eol.csv.xls": "CR, LF and CRLF each end a line, for LibreOffice and Python alike.",
    "made_empty_ends.csv.xls": (
        "Row 8 has an empty first field; row 12 holds three spaces, kept as they are (a name by "
        "the roster rule). Trailing empty lines add nothing."),
    "made_over_2000.csv.xls": "2102 lines; column_a is listed to row 2010.",
    "lo_tdf48731.csv.xls": (
        "The apostrophe fields are in column B; column A is plain text with an empty row 8."),
}
