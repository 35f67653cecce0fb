"""XML Spreadsheet 2003 rosters, named .xls."""

from xml.sax.saxutils import escape

from names import names, student_ids

HEAD = """<?xml version="1.0"?>
<?mso-application progid="Excel.Sheet"?>
<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet"
 xmlns:o="urn:schemas-microsoft-com:office:office"
 xmlns:x="urn:schemas-microsoft-com:office:excel"
 xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet"
 xmlns:html="http://www.w3.org/TR/REC-html40">
 <DocumentProperties xmlns="urn:schemas-microsoft-com:office:office">
  <Author>{author}</Author>
  <LastAuthor>{author}</LastAuthor>
  <Created>2024-02-26T01:02:03Z</Created>
  <LastSaved>2024-02-27T08:15:42Z</LastSaved>
  <Company>{company}</Company>
  <Version>11.9999</Version>
 </DocumentProperties>
 <ExcelWorkbook xmlns="urn:schemas-microsoft-com:office:excel">
  <WindowHeight>9090</WindowHeight>
  <WindowWidth>15480</WindowWidth>
  <WindowTopX>360</WindowTopX>
  <WindowTopY>60</WindowTopY>
{active}  <ProtectStructure>False</ProtectStructure>
  <ProtectWindows>False</ProtectWindows>
 </ExcelWorkbook>
 <Styles>
  <Style ss:ID="Default" ss:Name="Normal">
   <Alignment ss:Vertical="Center"/>
   <Borders/>
   <Font ss:FontName="宋体" x:CharSet="134" ss:Size="12"/>
   <Interior/>
   <NumberFormat/>
   <Protection/>
  </Style>
  <Style ss:ID="s21">
   <Alignment ss:Horizontal="Center" ss:Vertical="Center"/>
   <Font ss:FontName="宋体" x:CharSet="134" ss:Size="14" ss:Bold="1"/>
  </Style>
  <Style ss:ID="s22">
   <NumberFormat ss:Format="@"/>
  </Style>
  <Style ss:ID="s23">
   <NumberFormat ss:Format="000"/>
  </Style>
  <Style ss:ID="s24">
   <NumberFormat ss:Format="Short Date"/>
  </Style>
  <Style ss:ID="s25">
   <NumberFormat ss:Format="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/>
  </Style>
 </Styles>
"""

OPTIONS = """  <WorksheetOptions xmlns="urn:schemas-microsoft-com:office:excel">
   <PageSetup>
    <PageMargins x:Bottom="0.984251969" x:Left="0.75" x:Right="0.75" x:Top="0.984251969"/>
   </PageSetup>
   <Print>
    <ValidPrinterInfo/>
    <PaperSizeIndex>9</PaperSizeIndex>
    <HorizontalResolution>600</HorizontalResolution>
    <VerticalResolution>600</VerticalResolution>
   </Print>
{selected}   <ProtectObjects>False</ProtectObjects>
   <ProtectScenarios>False</ProtectScenarios>
  </WorksheetOptions>
"""


def data_cell(value, typ="String", style=None, extra=""):
    s = f' ss:StyleID="{style}"' if style else ""
    return f'    <Cell{s}{extra}><Data ss:Type="{typ}">{value}</Data></Cell>\n'


def worksheet(name, rows, selected, cols=3):
    out = f' <Worksheet ss:Name="{escape(name)}">\n'
    out += (f'  <Table ss:ExpandedColumnCount="{cols}" ss:ExpandedRowCount="{len(rows)}"'
            ' x:FullColumns="1"\n   x:FullRows="1" ss:DefaultColumnWidth="54"'
            ' ss:DefaultRowHeight="14.25">\n')
    out += '   <Column ss:AutoFitWidth="0" ss:Width="81"/>\n'
    for row in rows:
        out += "   <Row>\n" + "".join(row) + "   </Row>\n"
    out += "  </Table>\n"
    out += OPTIONS.format(selected="   <Selected/>\n" if selected else "")
    out += " </Worksheet>\n"
    return out


def title_rows(title, headers, cols):
    first = [f'    <Cell ss:MergeAcross="{cols - 1}" ss:StyleID="s21"><Data ss:Type="String">'
             f"{escape(title)}</Data></Cell>\n"]
    second = [data_cell(escape(h)) for h in headers]
    return [first, second]


def class_sheet(title, count, seed, first_id):
    rows = title_rows(title, ("姓名", "学号", "性别"), 3)
    for i, (n, sid) in enumerate(zip(names(count, seed), student_ids(count, first_id))):
        rows.append([data_cell(n), data_cell(sid, style="s22"),
                     data_cell("女" if i % 3 == 0 else "男")])
    return rows


def book(sheets, active, author="教务处", company="市第一中学", selected=None):
    active_line = f"  <ActiveSheet>{active}</ActiveSheet>\n" if active else ""
    out = HEAD.format(author=author, company=company, active=active_line)
    selected = active if selected is None else selected
    for i, (name, rows, cols) in enumerate(sheets):
        out += worksheet(name, rows, i == selected, cols)
    out += "</Workbook>\n"
    return out


def excel2003_multisheet():
    # As Excel 2003 saves it: CRLF line ends, three sheets, the second active.
    notes = title_rows("使用说明", ("说明",), 1)
    notes.append([data_cell("本文件由教务系统导出，请勿修改表头。")])
    sheets = [
        ("一班", class_sheet("高一(1)班学生名单", 40, 11, 2024010101), 3),
        ("二班", class_sheet("高一(2)班学生名单", 38, 12, 2024020101), 3),
        ("说明", notes, 1),
    ]
    return book(sheets, 1).replace("\n", "\r\n").encode("utf-8")


def types():
    # Every data type in column A, with the number formats a roster meets.
    rich = ('    <Cell><ss:Data ss:Type="String" xmlns="http://www.w3.org/TR/REC-html40">'
            '<B>钱</B><Font html:Color="#FF0000">八</Font></ss:Data></Cell>\n')
    col_a = [
        data_cell("张三"),
        data_cell("7", "Number", "s23"),
        data_cell("007", "String", "s22"),
        data_cell("007"),
        data_cell("3.5", "Number"),
        data_cell("12345678901234567890", "Number"),
        data_cell("0.1", "Number"),
        data_cell("2024-03-01T00:00:00.000", "DateTime", "s24"),
        data_cell("2024-03-01T08:30:00.000", "DateTime", "s25"),
        data_cell("1", "Boolean"),
        data_cell("0", "Boolean"),
        rich,
        data_cell("孙&#10;七"),
        data_cell("  周八  "),
        data_cell("2", "Number", extra=' ss:Formula="=1+1"'),
        data_cell("#N/A", "Error"),
        data_cell("#DIV/0!", "Error", extra=' ss:Formula="=1/0"'),
        data_cell("吴九"),
    ]
    rows = title_rows("数据类型测试名单", ("姓名", "类型"), 2)
    labels = ["String", "Number 000", "String @", "String 007", "Number", "Number big",
              "Number 0.1", "DateTime short", "DateTime cn", "Boolean 1", "Boolean 0",
              "rich text", "newline", "spaces", "formula", "Error", "Error formula", "String"]
    for cell, label in zip(col_a, labels):
        rows.append([cell, data_cell(label)])
    return book([("类型", rows, 2)], 0).replace("\n", "\r\n").encode("utf-8")


def index_gaps():
    # Cells and rows placed with ss:Index, a merged cell down column A, and an
    # empty row that ends the roster early.
    rows = []
    rows.append('   <Row>\n    <Cell ss:MergeAcross="2" ss:StyleID="s21"><Data ss:Type="String">'
                "志愿者名单</Data></Cell>\n   </Row>\n")
    rows.append("   <Row>\n" + data_cell("姓名") + data_cell("电话") + data_cell("岗位") + "   </Row>\n")
    rows.append("   <Row>\n" + data_cell("张伟") + data_cell("电话1", extra=' ss:Index="3"') + "   </Row>\n")
    rows.append("   <Row>\n" + data_cell("李娜", extra=' ss:Index="1"') + data_cell("引导") + "   </Row>\n")
    rows.append("   <Row>\n" + data_cell("王芳", extra=' ss:MergeDown="1"') + data_cell("签到") + "   </Row>\n")
    rows.append("   <Row>\n" + data_cell("补位", extra=' ss:Index="2"') + "   </Row>\n")
    rows.append('   <Row ss:Index="8">\n' + data_cell("刘洋") + "   </Row>\n")
    rows.append("   <Row>\n" + '    <Cell ss:Index="3"><Data ss:Type="String">只有C列</Data></Cell>\n' + "   </Row>\n")
    rows.append("   <Row>\n" + "    <Cell/>\n" + data_cell("空单元格") + "   </Row>\n")
    rows.append("   <Row>\n" + data_cell("") + data_cell("空字符串") + "   </Row>\n")
    rows.append('   <Row ss:Index="14">\n' + data_cell("陈静") + "   </Row>\n")
    out = HEAD.format(author="团委", company="", active="")
    out += ' <Worksheet ss:Name="志愿者">\n  <Table>\n' + "".join(rows) + "  </Table>\n"
    out += OPTIONS.format(selected="   <Selected/>\n") + " </Worksheet>\n</Workbook>\n"
    return out.replace("\n", "\r\n").encode("utf-8")


def websys_prefixed():
    # A web system's writer: one line, every element with the ss: prefix, no
    # mso-application instruction, no ExcelWorkbook block.
    ns = names(8, 13)
    out = ('<?xml version="1.0" encoding="UTF-8"?><ss:Workbook '
           'xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet">'
           '<ss:Worksheet ss:Name="报名"><ss:Table>')
    out += '<ss:Row><ss:Cell><ss:Data ss:Type="String">2024年读书会报名</ss:Data></ss:Cell></ss:Row>'
    out += ('<ss:Row><ss:Cell><ss:Data ss:Type="String">姓名</ss:Data></ss:Cell>'
            '<ss:Cell><ss:Data ss:Type="String">手机</ss:Data></ss:Cell></ss:Row>')
    for i, n in enumerate(ns):
        out += (f'<ss:Row><ss:Cell><ss:Data ss:Type="String">{n}</ss:Data></ss:Cell>'
                f'<ss:Cell><ss:Data ss:Type="Number">1390000{i:04d}</ss:Data></ss:Cell></ss:Row>')
    out += "</ss:Table></ss:Worksheet></ss:Workbook>"
    return out.encode("utf-8")


def gb2312_decl():
    # Declared encoding GB2312 in the XML declaration, GBK bytes, the first
    # sheet active by default (no ActiveSheet) but a second sheet marked
    # Selected.
    text = book([("名单", class_sheet("2024年新员工培训名单", 15, 14, 100001), 3),
                 ("备用", class_sheet("备用名单", 5, 15, 200001), 3)], 0, selected=1)
    text = text.replace('<?xml version="1.0"?>', '<?xml version="1.0" encoding="GB2312"?>', 1)
    return text.replace("\r\n", "\n").encode("gbk")


FILES = {
    "made_excel2003_multisheet.xml.xls": (excel2003_multisheet, "xml2003", "utf-8", "xml2003,writer-excel-2003,crlf,multi-sheet,active-sheet-second,merge-across,heading-rows,class-list"),
    "made_types.xml.xls": (types, "xml2003", "utf-8", "xml2003,crlf,string,number,number-format-000,datetime,boolean,error,formula,rich-text,newline-in-cell,leading-zeros"),
    "made_index_gaps.xml.xls": (index_gaps, "xml2003", "utf-8", "xml2003,crlf,ss-index-cell,ss-index-row,merge-down-col-a,empty-cell,empty-string,empty-cell-ends-roster"),
    "made_websys_prefixed.xml.xls": (websys_prefixed, "xml2003", "utf-8", "xml2003,ss-prefix,no-mso-application,no-excelworkbook,single-line,web-export"),
    "made_gb2312_decl.xml.xls": (gb2312_decl, "xml2003", "gbk", "xml2003,xml-encoding-gb2312,gbk,multi-sheet,no-active-sheet"),
}
