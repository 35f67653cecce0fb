"""CSV and tab-separated rosters in the encodings systems write, named .xls."""

from names import names, student_ids

BOM8 = b"\xef\xbb\xbf"


def quote(field, sep):
    if any(c in field for c in (sep, '"', "\r", "\n")):
        return '"' + field.replace('"', '""') + '"'
    return field


def lines(rows, sep=",", eol="\r\n"):
    return "".join(sep.join(quote(f, sep) for f in row) + eol for row in rows)


def class_rows(title, count, seed, first_id):
    rows = [[title, "", ""], ["姓名", "学号", "性别"]]
    for i, (n, sid) in enumerate(zip(names(count, seed), student_ids(count, first_id))):
        rows.append([n, sid, "女" if i % 3 == 0 else "男"])
    return rows


def hr_rows(count, seed):
    rows = [["员工花名册（2024年3月）", "", "", ""], ["姓名", "工号", "部门", "入职日期"]]
    depts = ("行政部", "财务部", "技术部", "市场部", "人力资源部")
    for i, n in enumerate(names(count, seed)):
        rows.append([n, f"E{1001 + i}", depts[i % len(depts)], f"20{15 + i % 9}-0{1 + i % 9}-1{i % 10}"])
    return rows


def utf8_lf():
    return lines(class_rows("高一(3)班学生名单", 42, 21, 2024030101), eol="\n").encode("utf-8")


def utf8_bom_crlf():
    # Excel's "CSV UTF-8": a byte-order mark and CRLF.
    return BOM8 + lines(hr_rows(25, 22)).encode("utf-8")


def utf16le_tab():
    # Excel's "Unicode Text": UTF-16LE with a mark, tab-separated, CRLF.
    return "\ufeff".encode("utf-16-le") + lines(hr_rows(20, 23), "\t").encode("utf-16-le")


def utf16be_comma():
    return "\ufeff".encode("utf-16-be") + lines(class_rows("社团成员名单", 15, 24, 2024110101)).encode("utf-16-be")


def gbk_crlf():
    # Excel (Chinese Windows) "CSV (逗号分隔)": GBK, CRLF; some names use
    # characters outside GB2312.
    rows = class_rows("高二(5)班学生名单", 20, 25, 2023050101)
    rows[5][0] = "王喆"
    rows[9][0] = "李堃"
    rows[12][0] = "张玥"
    return lines(rows).encode("gbk")


def semicolon():
    rows = [["Teilnehmerliste 参会名单", "", ""], ["姓名", "单位", "备注"]]
    for n in names(10, 26):
        rows.append([n, "研发中心, 北京", "已确认"])
    return lines(rows, ";").encode("utf-8")


def semicolon_decimal():
    # Scores with decimal commas: every line holds both separators, and the semicolon separates.
    rows = [["成绩单", "2024,秋"], ["姓名", "得分（满分10,0）"]]
    for k, n in enumerate(names(12, 31)):
        rows.append([n, "%d,%d" % (6 + k % 4, k % 10)])
    return lines(rows, ";").encode("utf-8")


def tab_lf():
    return lines(class_rows("初一(2)班学生名单", 18, 27, 2024120201), "\t", "\n").encode("utf-8")


def quoted():
    # RFC 4180: doubled quotes, separators and line breaks inside quotes,
    # including in column A.
    text = (
        "第三届辩论赛报名表,,\r\n"
        "姓名,学院,备注\r\n"
        '"张伟",计算机学院,\r\n'
        '"李""娜""",外国语学院,"说 ""能说会道"""\r\n'
        '"王芳,Jr.",法学院,逗号在姓名里\r\n'
        '"刘\r\n洋",数学学院,姓名里有CRLF\r\n'
        '"陈\n静",物理学院,姓名里有LF\r\n'
        '杨帆,"化学\r\n学院",第二列换行\r\n'
        '赵"磊",历史学院,不在引号里的引号\r\n'
        '"黄敏"  ,文学院,引号后有空格\r\n'
        ' "周杰",艺术学院,引号前有空格\r\n'
        '"",经济学院,空的引号字段\r\n'
        "吴昊,管理学院,\r\n"
    )
    return text.encode("utf-8")


def leading_zeros():
    fields = [
        "编号名单", "编号", "007", "0012", "00", "1.50", "1e5", "1,234", "2024-01-05", "1/2",
        "TRUE", "=1+1", "-0", "+86", "12345678901234567890", "０７", "'007", "3.0", "50%",
        "$5", "1 234", "0x1F", "张三",
    ]
    return "".join(quote(f, ",") + ",备注\r\n" for f in fields).encode("utf-8")


def mixed_eol():
    ns = names(9, 28)
    eols = ["\r\n", "\n", "\r"]
    out = "混合换行名单,\r\n姓名,序号\n"
    for i, n in enumerate(ns):
        out += f"{n},{i + 1}{eols[i % 3]}"
    return out.encode("utf-8")


def sep_hint():
    # Some exports put Excel's "sep=" line first.
    rows = [["sep=;"], ["志愿者名单", ""], ["姓名", "岗位"]]
    rows += [[n, "引导"] for n in names(6, 29)]
    return "".join(";".join(r) + "\r\n" for r in rows).encode("utf-8")


def empty_ends():
    rows = [["报名名单", ""], ["姓名", "状态"]]
    ns = names(12, 30)
    rows += [[n, "已缴费"] for n in ns[:5]]
    rows.append(["", "空姓名"])
    rows += [[n, "已缴费"] for n in ns[5:8]]
    rows.append(["   ", "只有空格"])
    rows += [[n, "已缴费"] for n in ns[8:]]
    text = lines(rows) + "\r\n\r\n"
    return text.encode("utf-8")


def names_2000():
    rows = [["2024年迎新晚会抽奖名单", ""], ["姓名", "编号"]]
    rows += [[n, i] for n, i in zip(names(2000, 2000), student_ids(2000, 20240001))]
    return BOM8 + lines(rows).encode("utf-8")


def over_2000():
    rows = [["2024年职工运动会名单", ""], ["姓名", "工号"]]
    rows += [[n, i] for n, i in zip(names(2100, 2100), student_ids(2100, 50001))]
    return lines(rows, eol="\n").encode("utf-8")


FILES = {
    # name: (builder, format, encoding, categories, delimiter)
    "made_utf8_lf.csv.xls": (utf8_lf, "text-csv", "utf-8", "csv,utf-8,no-bom,lf,comma,class-list,heading-rows", ","),
    "made_utf8_bom_crlf.csv.xls": (utf8_bom_crlf, "text-csv", "utf-8-bom", "csv,utf-8,bom,crlf,comma,hr-list,dates", ","),
    "made_utf16le_tab.txt.xls": (utf16le_tab, "text-tsv", "utf-16le-bom", "tsv,utf-16le,bom,crlf,tab,excel-unicode-text,hr-list", "\t"),
    "made_utf16be_comma.csv.xls": (utf16be_comma, "text-csv", "utf-16be-bom", "csv,utf-16be,bom,crlf,comma", ","),
    "made_gbk_crlf.csv.xls": (gbk_crlf, "text-csv", "gbk", "csv,gbk,crlf,comma,gbk-only-chars,class-list", ","),
    "made_semicolon.csv.xls": (semicolon, "text-csv", "utf-8", "csv,utf-8,semicolon,comma-in-field,crlf", ";"),
    "made_semicolon_decimal.csv.xls": (semicolon_decimal, "text-csv", "utf-8", "csv,utf-8,semicolon,decimal-comma,separator-tie", ";"),
    "made_tab_lf.tsv.xls": (tab_lf, "text-tsv", "utf-8", "tsv,utf-8,tab,lf", "\t"),
    "made_quoted.csv.xls": (quoted, "text-csv", "utf-8", "csv,rfc4180,doubled-quotes,quoted-newline-col-a,quoted-separator,stray-quotes,empty-quoted", ","),
    "made_leading_zeros.csv.xls": (leading_zeros, "text-csv", "utf-8", "csv,leading-zeros,number-looking,date-looking,formula-looking,boolean-looking", ","),
    "made_mixed_eol.csv.xls": (mixed_eol, "text-csv", "utf-8", "csv,mixed-eol,cr-only,lf,crlf", ","),
    "made_sep_hint.csv.xls": (sep_hint, "text-csv", "utf-8", "csv,sep-hint-line,semicolon", ";"),
    "made_empty_ends.csv.xls": (empty_ends, "text-csv", "utf-8", "csv,empty-cell-ends-roster,spaces-only-name,trailing-blank-lines", ","),
    "made_2000_names.csv.xls": (names_2000, "text-csv", "utf-8-bom", "csv,utf-8,bom,crlf,large,2000-names,benchmark", ","),
    "made_over_2000.csv.xls": (over_2000, "text-csv", "utf-8", "csv,utf-8,lf,large,over-2000-names", ","),
}
