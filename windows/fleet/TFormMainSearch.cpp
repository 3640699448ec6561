// The vehicle search of the fleet window: the search panel's commands. They are bound to their
// buttons; the search itself comes with its own change, and until then they do nothing. The
// grid's row filter that the search drives is there already (TFleetGridModel::setFilter).
#include "windows/fleet/TFormMain.h"

void TFormMain::btn_searchClick() {}

void TFormMain::AdvGlowButton2Click() {}
