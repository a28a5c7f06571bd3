#pragma once
class QWidget;

namespace kestrova {

// Whether the main window may close now. While conversions run the user is asked first; on
// Yes the window closes and its close stops every task, finalising the outputs as Stop does.
bool MayCloseDuringRun(QWidget& window, bool running);

}  // namespace kestrova
