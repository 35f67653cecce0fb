#pragma once

namespace sortilo {

class Form1;

// 数据环境还原: returns the draw to its fresh state before an import fills a new pool. It leaves
// the pool, its list and count, the picks, the draw count, the paging and the titles alone.
void 数据环境还原(Form1& form);

}  // namespace sortilo
