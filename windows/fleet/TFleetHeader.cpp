#include "windows/fleet/TFleetHeader.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor kHeaderColour(221, 84, 31);
const QColor kHeaderLineColour(240, 150, 110);

}  // namespace

TFleetHeader::TFleetHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setObjectName(QStringLiteral("gridHeader"));
  setSectionsClickable(false);
  setSectionsMovable(false);
  setHighlightSections(false);
  setSectionResizeMode(QHeaderView::Interactive);
  setMinimumSectionSize(1);
  setStretchLastSection(false);
  connect(this, &QHeaderView::sectionResized, this, [this](int column, int, int) {
    if (pressed_) emit columnSizing(column);
  });
}

void TFleetHeader::setRowHeight(int height) {
  rowHeight_ = height;
  updateGeometry();
}

QSize TFleetHeader::sizeHint() const { return {QHeaderView::sizeHint().width(), rowHeight_}; }

void TFleetHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  painter->save();
  painter->fillRect(rect, kHeaderColour);
  painter->setPen(kHeaderLineColour);
  painter->drawLine(rect.topRight(), rect.bottomRight());
  painter->restore();
  if (drawSection) {
    painter->save();
    painter->setClipRect(rect);
    drawSection(*painter, rect, logicalIndex);
    painter->restore();
  }
}

void TFleetHeader::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  QHeaderView::mousePressEvent(event);
  emit mousePressed(event->button(), event->position().toPoint());
}

void TFleetHeader::mouseReleaseEvent(QMouseEvent* event) {
  QHeaderView::mouseReleaseEvent(event);
  pressed_ = false;
  emit mouseReleased(event->button(), event->position().toPoint());
}
