// The client's fonts. Its windows are designed in "宋体" (SimSun); that name is drawn with the
// installed CJK serif font.
#pragma once

#include <QFont>

// Maps "宋体" and "SimSun" to "AR PL UMing CN" for the whole process.
void InstallFontSubstitutions();

// "宋体" at a size in pixels.
QFont SimSunFont(int pixels, bool bold = false);
