#include "app/Fonts.h"

#include <QString>

void InstallFontSubstitutions() {
  const QString installed = QStringLiteral("AR PL UMing CN");
  QFont::insertSubstitution(QStringLiteral("宋体"), installed);
  QFont::insertSubstitution(QStringLiteral("SimSun"), installed);
}

QFont SimSunFont(int pixels, bool bold) {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}
