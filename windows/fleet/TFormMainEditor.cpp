// Handing a vehicle to the vehicle editor, which opens without blocking the fleet window. The
// editor window comes with its own change; until then nothing opens.
#include "windows/fleet/TFormMain.h"

void TFormMain::openCar(const QString&, int, Korvane::CarPtr) {}
