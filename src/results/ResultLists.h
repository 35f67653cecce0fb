#pragma once

namespace sortilo {

class Form1;

// Refills the four result lists with groups first..first+3 (those recorded), titles them, and
// colours the list of the selected group pink.
void 显示(Form1& form, int first);

// No group is selected any more (groups 1..50).
void 底色标记归0(Form1& form);

// The selected group, or 0 when there is none.
int 获得底色标记位置(Form1& form);

// The paging buttons: index 1 is ">" (later groups), index 0 is "<" (earlier groups).
void Command8_Click(Form1& form, int index);

// An entry of List1(index) was selected: its group becomes the selected group. The pool list
// (index 0) takes no part.
void List1_Click(Form1& form, int index);

}  // namespace sortilo
