// The portal's vehicle pages in a web view window: history track and document check. The
// commands are bound to their menu items and button; the web view comes with its own change,
// and until then they do nothing.
#include "windows/fleet/TFormMain.h"

void TFormMain::N6Click() {}

void TFormMain::N13Click() {}
