#include "windows/fleet/TStatusPanels.h"

#include <QFontMetrics>
#include <QHBoxLayout>

#include "app/Fonts.h"

namespace {

constexpr int kTextMargin = 8;  // each side of a panel's text

const char* const kPanelStyle =
    "QLabel { color: #1E2A14; border: 1px solid #A9B59C; border-radius: 2px;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #F4F6F1, stop:1 #DCE2D4); }";

}  // namespace

TStatusPanels::TStatusPanels(int count, QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  for (int i = 0; i < count; ++i) {
    Panel panel;
    panel.label = new QLabel(this);
    panel.label->setObjectName(QStringLiteral("panel%1").arg(i));
    panel.label->setFont(SimSunFont(12));
    panel.label->setStyleSheet(QString::fromLatin1(kPanelStyle));
    panel.label->setTextFormat(Qt::PlainText);
    panel.label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    panel.label->setIndent(kTextMargin);
    layout->addWidget(panel.label);
    panels_.push_back(panel);
    fitToText(i);
  }
  layout->addStretch(1);
}

QString TStatusPanels::text(int panel) const { return panels_[panel].label->text(); }

void TStatusPanels::setText(int panel, const QString& text) {
  panels_[panel].label->setText(text);
  if (panels_[panel].autoSize) fitToText(panel);
}

void TStatusPanels::fitToText(int panel) {
  QLabel* label = panels_[panel].label;
  label->setFixedWidth(QFontMetrics(label->font()).horizontalAdvance(label->text()) +
                       2 * kTextMargin + 2);
}

void TStatusPanels::setFixedPanelWidth(int panel, int width) {
  panels_[panel].autoSize = false;
  panels_[panel].label->setFixedWidth(width);
}

void TStatusPanels::hidePanel(int panel) {
  panels_[panel].autoSize = false;
  panels_[panel].label->setFixedWidth(0);
  panels_[panel].label->hide();
}

bool TStatusPanels::isPanelHidden(int panel) const {
  return panels_[panel].label->isHidden() && panels_[panel].label->width() == 0;
}

int TStatusPanels::panelWidth(int panel) const {
  return panels_[panel].label->isHidden() ? 0 : panels_[panel].label->width();
}
