"""HTML rosters as web systems and spreadsheet programs write them, named .xls."""

from names import names, student_ids

CLASS_TITLE = "市第一中学2024级高一(3)班学生名单"


def page(body, charset=None, head_extra=""):
    meta = ""
    if charset:
        meta = f'<meta http-equiv="Content-Type" content="text/html; charset={charset}">\n'
    return (
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
        f"<html>\n<head>\n{meta}{head_extra}<title>名单</title>\n</head>\n"
        f"<body>\n{body}</body>\n</html>\n"
    )


def rows_html(rows, indent="  "):
    out = []
    for row in rows:
        out.append(f"{indent}<tr>" + "".join(f"<td>{c}</td>" for c in row) + "</tr>\n")
    return "".join(out)


def class_table(count, seed, first_id):
    ns = names(count, seed)
    ids = student_ids(count, first_id)
    sexes = ["男" if i % 3 else "女" for i in range(count)]
    body = '<table border="1" cellspacing="0">\n'
    body += f'  <tr><td colspan="3">{CLASS_TITLE}</td></tr>\n'
    body += "  <tr><th>姓名</th><th>学号</th><th>性别</th></tr>\n"
    body += rows_html(zip(ns, ids, sexes))
    body += "</table>\n"
    return body


def gbk_class():
    # A school system's download: GBK bytes, charset named in the meta tag.
    return page(class_table(45, 1, 2024030101), "gbk").encode("gbk")


def gb2312_label_gbk_chars():
    # The page says gb2312 but holds names with characters only GBK has
    # (喆 堃 玥 镕 昇 琇); browsers decode the gb2312 label as GBK.
    rare = ["王喆", "李堃", "张玥", "陈镕", "刘昇", "赵琇", "孙浩然", "周雨桐"]
    body = '<table border="1">\n'
    body += "  <tr><td>2024年度先进个人候选名单</td><td></td></tr>\n"
    body += "  <tr><th>姓名</th><th>部门</th></tr>\n"
    body += rows_html((n, "市场部") for n in rare)
    body += "</table>\n"
    return page(body, "gb2312").encode("gbk")


def gb18030_rare():
    # 䶮 (U+4DAE) and 𠮷 (U+20BB7) take four bytes in GB18030.
    ns = ["刘䶮", "𠮷田", "王䶮", "张伟", "李娜"]
    body = '<table border="1">\n'
    body += "  <tr><td>报名表</td></tr>\n  <tr><th>姓名</th></tr>\n"
    body += rows_html((n,) for n in ns)
    body += "</table>\n"
    return page(body, "gb18030").encode("gb18030")


def utf8_meta():
    html = page(class_table(30, 2, 2024050101), None,
                '<meta charset="utf-8">\n')
    return html.encode("utf-8")


def utf8_bom_nometa():
    return b"\xef\xbb\xbf" + page(class_table(12, 3, 2024060101)).encode("utf-8")


def utf8_nometa():
    return page(class_table(12, 4, 2024070101)).encode("utf-8")


def utf16_bom():
    # Saved as "Unicode" by an editor: UTF-16 little-endian with its byte-order mark.
    return b"\xff\xfe" + page(class_table(12, 5, 2024080101), "utf-16").encode("utf-16-le")


def text_after_nested():
    # A cell of column A with text before, between and after tables inside it, and one that
    # begins with a table: each text goes below what the cell holds so far.
    body = '<table border="1">\n'
    body += '  <tr><td colspan="2">社团活动抽签名单</td></tr>\n'
    body += ("  <tr><td>周一组<table><tr><td>钱七</td></tr><tr><td>孙八</td></tr></table>"
             "吴九</td><td>一组</td></tr>\n")
    body += "  <tr><td>郑十</td><td>二组</td></tr>\n"
    body += ("  <tr><td><table><tr><td>冯一</td></tr></table>陈二<table><tr><td>褚三</td></tr>"
             "</table>卫四</td><td>三组</td></tr>\n")
    body += "  <tr><td>蒋五</td><td>四组</td></tr>\n"
    body += "</table>\n"
    return page(body, "utf-8").encode("utf-8")


def rowspan():
    # Column A holds the names; a group label spans rows in column B, and one
    # name spans two rows in column A (the second row has no cell of its own).
    body = '<table border="1">\n'
    body += '  <tr><td colspan="3">第一届校园歌手大赛 参赛名单</td></tr>\n'
    body += "  <tr><th>姓名</th><th>组别</th><th>曲目</th></tr>\n"
    body += '  <tr><td>张三</td><td rowspan="3">独唱组</td><td>茉莉花</td></tr>\n'
    body += "  <tr><td>李四</td><td>送别</td></tr>\n"
    body += "  <tr><td>王五</td><td>月亮代表我的心</td></tr>\n"
    body += '  <tr><td rowspan="2">赵六</td><td>合唱组</td><td>歌唱祖国</td></tr>\n'
    body += "  <tr><td>合唱组</td><td>我和我的祖国</td></tr>\n"
    body += "  <tr><td>孙七</td><td>器乐组</td><td>二泉映月</td></tr>\n"
    body += "</table>\n"
    return page(body, "utf-8").encode("utf-8")


def colspan():
    body = '<table border="1">\n'
    body += '  <tr><td colspan="4">员工通讯录（2024年3月）</td></tr>\n'
    body += '  <tr><th>姓名</th><th colspan="2">联系方式</th><th>备注</th></tr>\n'
    body += "  <tr><td>张伟</td><td>13800000001</td><td>zw@example.com</td><td></td></tr>\n"
    body += '  <tr><td colspan="2">李娜（外派）</td><td>ln@example.com</td><td>驻外</td></tr>\n'
    body += '  <tr><td>王芳</td><td colspan="2">暂无</td><td></td></tr>\n'
    body += '  <tr><td colspan="4">刘洋</td></tr>\n'
    body += '  <tr><td colspan="2" rowspan="2">陈静</td><td>cj@example.com</td><td></td></tr>\n'
    body += "  <tr><td>cj2@example.com</td><td>第二邮箱</td></tr>\n"
    body += "  <tr><td>杨帆</td><td>13800000006</td><td></td><td></td></tr>\n"
    body += "</table>\n"
    return page(body, "utf-8").encode("utf-8")


def entities():
    cells = [
        "实体测试名单",
        "姓名",
        "张&amp;李",
        "王&nbsp;芳",
        "&#x4E2D;&#x6587;",
        "&#20013;&#25991;名",
        "&lt;李四&gt;",
        "&quot;赵六&quot;",
        "O&#39;Brien",
        "&copy;陈",
        "AT&T",
        "&amp;amp;",
        "&times;&#xD7;",
        "&#x20BB7;野",
        "&unknown;周",
        "&nbsp;",
        "钱七",
    ]
    body = '<table border="1">\n' + rows_html((c,) for c in cells) + "</table>\n"
    return page(body, "utf-8").encode("utf-8")


def line_breaks():
    cells = [
        "换行测试名单",
        "姓名",
        "张<br>三",
        "李四<br/>",
        "<p>王五</p><p>赵六</p>",
        '<span style="font-weight:bold">孙</span>七',
        "周<br><br>八",
        "<b>郑</b> <i>十</i>",
        "<div>冯</div><div>十一</div>",
        '<a href="https://example.com/u/12">陈十二</a>',
        '<font color="red">褚</font>十三',
        "卫十四",
    ]
    body = '<table border="1">\n' + rows_html((c,) for c in cells) + "</table>\n"
    return page(body, "utf-8").encode("utf-8")


def whitespace():
    cells = [
        "空白测试名单",
        "姓名",
        "  张三  ",
        "李\t\t四",
        "王\n      五",
        "赵\u3000六",
        "&nbsp;&nbsp;孙七",
        "周   八",
        "\r\n        吴九\r\n      ",
        "   ",
        "郑十",
    ]
    body = '<table border="1">\n' + rows_html((c,) for c in cells) + "</table>\n"
    return page(body, "utf-8").encode("utf-8")


def heading_text():
    ns = names(8, 5)
    body = "<h2>2024年度优秀员工评选 候选人名单</h2>\n"
    body += "<p>导出时间：2024-03-01 10:00</p>\n"
    body += '<table border="1">\n  <caption>候选人</caption>\n'
    body += "  <tr><th>姓名</th><th>部门</th></tr>\n"
    body += rows_html((n, "研发中心") for n in ns)
    body += "</table>\n<p>共 8 人</p>\n"
    return page(body, "utf-8").encode("utf-8")


def nested_layout():
    # The roster table sits inside a one-cell layout table, as many portals
    # wrap their content.
    inner = '<table border="1">\n'
    inner += "  <tr><td>2024年春季运动会报名</td><td></td></tr>\n"
    inner += "  <tr><th>姓名</th><th>项目</th></tr>\n"
    inner += rows_html((n, "100米") for n in names(6, 6))
    inner += "</table>\n"
    body = '<table width="100%" border="0"><tr><td>\n' + inner + "</td></tr></table>\n"
    return page(body, "utf-8").encode("utf-8")


def nested_cells():
    # Inner tables inside cells of column A and column B.
    body = '<table border="1">\n'
    body += '  <tr><td colspan="2">年会抽奖名单（按部门）</td></tr>\n'
    body += "  <tr><th>人员</th><th>部门</th></tr>\n"
    body += ("  <tr><td><table><tr><td>张三</td></tr><tr><td>李四</td></tr></table></td>"
             "<td>销售部</td></tr>\n")
    body += "  <tr><td>王五</td><td><table><tr><td>技术部</td><td>后端组</td></tr></table></td></tr>\n"
    body += "  <tr><td>赵六</td><td>财务部</td></tr>\n"
    body += "</table>\n"
    return page(body, "utf-8").encode("utf-8")


def websys_download():
    # Typical server-side "export to Excel": a bare fragment with an Excel
    # content type, th header rows, a text number format for ids, a hidden row
    # and a tfoot written before the tbody.
    ns = names(10, 7)
    out = '<html xmlns:x="urn:schemas-microsoft-com:office:excel">\n'
    out += '<head><meta http-equiv="Content-Type" content="application/vnd.ms-excel; charset=UTF-8"></head>\n'
    out += "<body>\n<table border=1>\n<thead>\n"
    out += '<tr><th colspan="4">2024年春季运动会报名表</th></tr>\n'
    out += "<tr><th>姓名</th><th>工号</th><th>部门</th><th>项目</th></tr>\n</thead>\n"
    out += '<tfoot><tr><td colspan="4">合计：10人</td></tr></tfoot>\n<tbody>\n'
    for i, n in enumerate(ns):
        style = ' style="display:none"' if i == 4 else ""
        out += (f"<tr{style}><td>{n}</td><td style=\"vnd.ms-excel.numberformat:@\">"
                f"{i + 1:05d}</td><td>行政部</td><td>跳绳</td></tr>\n")
    out += "</tbody>\n</table>\n</body>\n</html>\n"
    return out.encode("utf-8")


def excel_webpage():
    # Excel 2003 (Chinese) "Save as Web Page", single sheet: CRLF, gb2312
    # label, mso styles, x:str table default, a text-formatted 007 and a number
    # 7 shown as 007.
    ns = names(10, 8)
    rows = []
    for i, n in enumerate(ns):
        rows.append((n, f"<td class=xl24>2024{i + 1:04d}</td>"))
    rows.insert(3, ("007", "<td class=xl24>20240100</td>"))
    lines = [
        '<html xmlns:o="urn:schemas-microsoft-com:office:office"',
        'xmlns:x="urn:schemas-microsoft-com:office:excel"',
        'xmlns="http://www.w3.org/TR/REC-html40">',
        "",
        "<head>",
        '<meta http-equiv=Content-Type content="text/html; charset=gb2312">',
        "<meta name=ProgId content=Excel.Sheet>",
        '<meta name=Generator content="Microsoft Excel 11">',
        '<link rel=File-List href="导入名单.files/filelist.xml">',
        '<link rel=Edit-Time-Data href="导入名单.files/editdata.mso">',
        '<link rel=OLE-Object-Data href="导入名单.files/oledata.mso">',
        "<!--[if gte mso 9]><xml>",
        " <o:DocumentProperties>",
        "  <o:Author>教务处</o:Author>",
        "  <o:Created>2024-02-26T01:02:03Z</o:Created>",
        "  <o:Version>11.9999</o:Version>",
        " </o:DocumentProperties>",
        "</xml><![endif]-->",
        "<style>",
        "<!--table",
        '\t{mso-displayed-decimal-separator:"\\.";',
        '\tmso-displayed-thousand-separator:"\\,";}',
        "@page",
        '\t{margin:1.0in .75in 1.0in .75in;}',
        "tr",
        "\t{mso-height-source:auto;",
        "\tmso-ruby-visibility:none;}",
        "td",
        "\t{mso-style-parent:style0;",
        "\tpadding-top:1px;",
        "\tcolor:windowtext;",
        "\tfont-size:12.0pt;",
        "\tfont-family:宋体;",
        "\tmso-generic-font-family:auto;",
        "\tmso-font-charset:134;",
        "\tmso-number-format:General;",
        "\twhite-space:nowrap;}",
        ".xl24",
        "\t{mso-style-parent:style0;",
        '\tmso-number-format:"\\@";}',
        ".xl25",
        "\t{mso-style-parent:style0;",
        "\tfont-weight:700;",
        "\ttext-align:center;}",
        ".xl26",
        "\t{mso-style-parent:style0;",
        '\tmso-number-format:"000";}',
        "-->",
        "</style>",
        "<!--[if gte mso 9]><xml>",
        " <x:ExcelWorkbook>",
        "  <x:ExcelWorksheets>",
        "   <x:ExcelWorksheet>",
        "    <x:Name>学生名单</x:Name>",
        "    <x:WorksheetOptions>",
        "     <x:DefaultRowHeight>285</x:DefaultRowHeight>",
        "     <x:Selected/>",
        "     <x:ProtectContents>False</x:ProtectContents>",
        "     <x:ProtectObjects>False</x:ProtectObjects>",
        "     <x:ProtectScenarios>False</x:ProtectScenarios>",
        "    </x:WorksheetOptions>",
        "   </x:ExcelWorksheet>",
        "  </x:ExcelWorksheets>",
        "  <x:WindowHeight>9090</x:WindowHeight>",
        "  <x:WindowWidth>15480</x:WindowWidth>",
        "  <x:WindowTopX>360</x:WindowTopX>",
        "  <x:WindowTopY>60</x:WindowTopY>",
        "  <x:ProtectStructure>False</x:ProtectStructure>",
        "  <x:ProtectWindows>False</x:ProtectWindows>",
        " </x:ExcelWorkbook>",
        "</xml><![endif]-->",
        "</head>",
        "",
        "<body link=blue vlink=purple>",
        "",
        "<table x:str border=0 cellpadding=0 cellspacing=0 width=216 style='border-collapse:",
        " collapse;table-layout:fixed;width:162pt'>",
        " <col width=72 span=3 style='width:54pt'>",
        " <tr height=19 style='height:14.25pt'>",
        "  <td colspan=3 height=19 class=xl25 width=216 style='height:14.25pt;",
        "  width:162pt'>高一(3)班学生名单</td>",
        " </tr>",
        " <tr height=19 style='height:14.25pt'>",
        "  <td height=19 style='height:14.25pt'>姓名</td>",
        "  <td>学号</td>",
        "  <td>序号</td>",
        " </tr>",
    ]
    for i, (n, id_cell) in enumerate(rows):
        lines.append(" <tr height=19 style='height:14.25pt'>")
        if n == "007":
            lines.append("  <td height=19 class=xl24 style='height:14.25pt'>007</td>")
        else:
            lines.append(f"  <td height=19 style='height:14.25pt'>{n}</td>")
        lines.append("  " + id_cell)
        lines.append(f"  <td class=xl26 align=right x:num>{i + 1:03d}</td>")
        lines.append(" </tr>")
    lines.append(" <tr height=19 style='height:14.25pt'>")
    lines.append("  <td height=19 class=xl26 align=right style='height:14.25pt' x:num=\"7\">007</td>")
    lines.append("  <td class=xl24>20240200</td>")
    lines.append("  <td></td>")
    lines.append(" </tr>")
    lines += [
        " <![if supportMisalignedColumns]>",
        " <tr height=0 style='display:none'>",
        "  <td width=72 style='width:54pt'></td>",
        "  <td width=72 style='width:54pt'></td>",
        "  <td width=72 style='width:54pt'></td>",
        " </tr>",
        " <![endif]>",
        "</table>",
        "",
        "</body>",
        "",
        "</html>",
        "",
    ]
    return "\r\n".join(lines).encode("gbk")


def empty_ends():
    ns = names(12, 9)
    cells = ["报名名单", "姓名"] + ns[:6] + [""] + ns[6:]
    body = '<table border="1">\n' + rows_html((c, "已缴费") for c in cells) + "</table>\n"
    return page(body, "utf-8").encode("utf-8")


def names_2000():
    # Benchmark roster: two heading rows, then exactly 2000 names.
    ns = names(2000, 2000)
    ids = student_ids(2000, 20240001)
    out = ['<html><head><meta charset="utf-8"></head><body>\n<table border="1">\n',
           '<tr><td colspan="2">2024年迎新晚会抽奖名单</td></tr>\n',
           "<tr><th>姓名</th><th>编号</th></tr>\n"]
    out += [f"<tr><td>{n}</td><td>{i}</td></tr>\n" for n, i in zip(ns, ids)]
    out.append("</table>\n</body></html>\n")
    return "".join(out).encode("utf-8")


FILES = {
    # name: (builder, format, encoding, categories)
    "made_gbk_class.html.xls": (gbk_class, "html", "gbk", "html,gbk,meta-charset,class-list,heading-rows,colspan"),
    "made_gb2312_label_gbk_chars.html.xls": (gb2312_label_gbk_chars, "html", "gbk", "html,gbk,meta-charset-gb2312,gbk-only-chars,hr-list"),
    "made_gb18030_rare.html.xls": (gb18030_rare, "html", "gb18030", "html,gb18030,four-byte-chars,supplementary-plane"),
    "made_utf8_meta.html.xls": (utf8_meta, "html", "utf-8", "html,utf-8,meta-charset,class-list"),
    "made_utf8_bom_nometa.html.xls": (utf8_bom_nometa, "html", "utf-8-bom", "html,utf-8,bom,no-charset"),
    "made_utf8_nometa.html.xls": (utf8_nometa, "html", "utf-8", "html,utf-8,no-bom,no-charset"),
    "made_rowspan.html.xls": (rowspan, "html", "utf-8", "html,rowspan,rowspan-col-a,colspan"),
    "made_colspan.html.xls": (colspan, "html", "utf-8", "html,colspan,colspan-col-a,rowspan"),
    "made_entities.html.xls": (entities, "html", "utf-8", "html,entities,nbsp,numeric-refs,bare-ampersand,supplementary-plane"),
    "made_line_breaks.html.xls": (line_breaks, "html", "utf-8", "html,br,p-in-cell,inline-tags"),
    "made_whitespace.html.xls": (whitespace, "html", "utf-8", "html,whitespace,ideographic-space,nbsp,blank-cell"),
    "made_heading_text.html.xls": (heading_text, "html", "utf-8", "html,text-before-table,caption,text-after-table"),
    "made_nested_layout.html.xls": (nested_layout, "html", "utf-8", "html,nested-table,layout-table"),
    "made_nested_cells.html.xls": (nested_cells, "html", "utf-8", "html,nested-table,nested-in-col-a"),
    "made_text_after_nested.html.xls": (text_after_nested, "html", "utf-8", "html,nested-table,nested-in-col-a,text-after-nested-table"),
    "made_utf16le_bom.html.xls": (utf16_bom, "html", "utf-16le-bom", "html,utf-16le,bom,meta-charset-utf-16"),
    "made_websys_download.html.xls": (websys_download, "html", "utf-8", "html,web-export,th,thead,tfoot-before-tbody,hidden-row,mso-number-format,leading-zeros"),
    "made_excel_webpage.html.xls": (excel_webpage, "html", "gbk", "html,excel-save-as-web-page,gbk,meta-charset-gb2312,crlf,conditional-comments,x-num,leading-zeros,colspan"),
    "made_empty_ends.html.xls": (empty_ends, "html", "utf-8", "html,empty-cell-ends-roster"),
    "made_2000_names.html.xls": (names_2000, "html", "utf-8", "html,large,2000-names,benchmark"),
}
