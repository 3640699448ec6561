// A plain panel filled with one colour, as the frame and the windows build them.
#pragma once

#include <QColor>
#include <QWidget>

QWidget* NewPanel(QWidget* parent, const char* name, const QColor& colour);
