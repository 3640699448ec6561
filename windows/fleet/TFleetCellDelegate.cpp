#include "windows/fleet/TFleetCellDelegate.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

const QColor kSelectionTop(249, 227, 166);
const QColor kSelectionBottom(206, 154, 49);

}  // namespace

namespace fleet {

void WriteCellText(QPainter& painter, const QRect& cell, const QString& text) {
  if (text.isEmpty()) return;
  painter.save();
  painter.setClipRect(cell, Qt::IntersectClip);
  const QRect area = cell.adjusted(kTextIndent, kTextIndent, 0, 0);
  painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  painter.restore();
}

}  // namespace fleet

TFleetCellDelegate::TFleetCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void TFleetCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  const QRect cell = option.rect;
  const bool selected = option.state & QStyle::State_Selected;
  painter->save();
  if (selected) {
    QLinearGradient gradient(cell.topLeft(), cell.bottomLeft());
    gradient.setColorAt(0, kSelectionTop);
    gradient.setColorAt(1, kSelectionBottom);
    painter->fillRect(cell, gradient);
  } else {
    painter->fillRect(cell, Qt::white);
  }
  painter->setFont(option.font);
  painter->setPen(Qt::black);
  fleet::WriteCellText(*painter, cell, index.data(Qt::DisplayRole).toString());
  if (drawCell) drawCell(*painter, cell, index.row() + 1, index.column(), selected);
  painter->restore();
}

QSize TFleetCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  return {64, option.fontMetrics.height() + 2 * fleet::kTextIndent};
}
