#pragma once

namespace sortilo {

class Form1;

// Command9_Click: "导出". Writes every recorded group into the export workbook and shows it.
void Command9_Click(Form1& form);

}  // namespace sortilo
