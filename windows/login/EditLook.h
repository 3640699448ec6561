// The look of the sign-in windows' edit boxes: a flat black frame, black text on white (or
// on the box's own colour), and while the box has the focus white text on the focus colour.
#pragma once

#include <QColor>

class QLineEdit;

namespace login {

inline const QColor kFocusColour(0xE3, 0x52, 0x1F);

// Gives the box its look; `colour` is its background without the focus.
void StyleEditBox(QLineEdit* edit, const QColor& colour = Qt::white);

// The focus look (white text on the focus colour) or the normal one (black text on the box's
// own colour).
void SetFocusLook(QLineEdit* edit, bool focused);

}  // namespace login
