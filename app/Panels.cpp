#include "app/Panels.h"

#include <QPalette>

QWidget* NewPanel(QWidget* parent, const char* name, const QColor& colour) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, colour);
  panel->setPalette(palette);
  return panel;
}
