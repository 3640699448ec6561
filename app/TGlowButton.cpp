#include "app/TGlowButton.h"

#include <QFontMetrics>

#include "app/Fonts.h"

namespace {

constexpr int kCaptionMargin = 8;  // each side of the caption

const char* const kGlowStyle =
    "TGlowButton { border: 1px solid #8A9A7E; border-radius: 3px; padding: 0px;"
    " color: black;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:0.5 #EEF0EA,"
    " stop:0.51 #DDE2D6, stop:1 #EEF1EA); }"
    "TGlowButton:hover { border-color: #E3521F;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFF6EC, stop:0.5 #FFE3C4,"
    " stop:0.51 #FFD3A3, stop:1 #FFE9CF); }"
    "TGlowButton:pressed { border-color: #B63F0A;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFC58A, stop:1 #FFE1BF); }"
    "TGlowButton:disabled { color: #8A8A8A; }";

}  // namespace

TGlowButton::TGlowButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
  setFont(SimSunFont(14));
  setStyleSheet(QString::fromLatin1(kGlowStyle));
  setCursor(Qt::PointingHandCursor);
}

void TGlowButton::setCaption(const QString& caption) {
  setText(caption);
  if (autoSize_) resize(captionWidth(), height());
}

void TGlowButton::setAutoSize(bool on) {
  autoSize_ = on;
  if (autoSize_) resize(captionWidth(), height());
}

int TGlowButton::captionWidth() const {
  return QFontMetrics(font()).horizontalAdvance(text()) + 2 * kCaptionMargin;
}
