#pragma once

namespace sortilo {

class Form1;

// Opens the details view on List1(index): List2, in large type and three columns, gets a copy of
// the list's entries up to the first empty one (at most 2000).
void Command2_Click(Form1& form, int index);

// Closes the details view; List2 keeps its entries until the next opening.
void Command5_Click(Form1& form, int index);

}  // namespace sortilo
