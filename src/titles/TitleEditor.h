#pragma once

namespace sortilo {

class Form1;

// The title editor, the group box Frame5: opened by the menu command, closed by its confirm.
void zbzdy_Click(Form1& form);
void Option2_Click(Form1& form, int index);
// Add the text of Text2 as the next title of the chosen set.
void Command10_Click(Form1& form);
// Delete the title selected in List3 from the chosen set.
void Command11_Click(Form1& form);
// Confirm: store all six sets and apply the chosen one, or go back to the default titles.
void Command12_Click(Form1& form);

}  // namespace sortilo
