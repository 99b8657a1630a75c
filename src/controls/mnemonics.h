// Alt-key mnemonics for a menu bar: each menu and each item gets the first
// letter of one of its words that no sibling uses yet (else any free letter),
// so the visible words stay as they are. Captions that already carry an "&"
// keep theirs.
#pragma once

class QMenuBar;
class QMenu;

namespace cn {

void AssignMnemonics(QMenuBar* bar);
void AssignMnemonics(QMenu* menu);

}  // namespace cn
