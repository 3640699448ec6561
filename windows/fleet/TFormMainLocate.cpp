// Locating from the fleet window: locate now, open locating, refresh the opening status. The
// commands are bound to their buttons and menu items; locating itself comes with its own
// change, and until then they do nothing.
#include "windows/fleet/TFormMain.h"

void TFormMain::btn_locateClick() {}

void TFormMain::N7Click() {}

void TFormMain::N22Click() {}
