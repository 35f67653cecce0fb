#pragma once

namespace sortilo {

class Form1;

// Command1_Click: "导 入 数 据". Replaces the pool with the names of the import workbook.
void Command1_Click(Form1& form, int index);

// Command6_Click: "编辑被抽对象". Hands the import workbook to the desktop's spreadsheet program.
void Command6_Click(Form1& form, int index);

}  // namespace sortilo
