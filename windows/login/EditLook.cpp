#include "windows/login/EditLook.h"

#include <QLineEdit>
#include <QVariant>

namespace login {
namespace {

constexpr const char* kColourProperty = "editColour";

void Paint(QLineEdit* edit, const QColor& background, const QColor& text) {
  // Password boxes show "*" (character 42) for every character.
  edit->setStyleSheet(
      QStringLiteral("QLineEdit { border: 1px solid black; padding: 0px 1px;"
                     " background-color: %1; color: %2; lineedit-password-character: 42; }")
          .arg(background.name(), text.name()));
}

}  // namespace

void StyleEditBox(QLineEdit* edit, const QColor& colour) {
  edit->setProperty(kColourProperty, colour);
  Paint(edit, colour, Qt::black);
}

void SetFocusLook(QLineEdit* edit, bool focused) {
  if (focused)
    Paint(edit, kFocusColour, Qt::white);
  else
    Paint(edit, edit->property(kColourProperty).value<QColor>(), Qt::black);
}

}  // namespace login
