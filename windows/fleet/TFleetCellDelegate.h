// Draws a fleet-grid cell the grid's normal way (white, or the selection gradient on the
// selected row; the text 2 pixels from the left and top edges), then hands it to the grid's
// cell-drawing handler to draw over.
#pragma once

#include <QStyledItemDelegate>

#include <functional>

class TFleetCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit TFleetCellDelegate(QObject* parent = nullptr);

  // The painter, the cell, its grid row (1 for the first data row), column, and whether the
  // row is the selected one.
  std::function<void(QPainter&, const QRect&, int, int, bool)> drawCell;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

namespace fleet {

inline constexpr int kTextIndent = 2;

// The text of a cell at 2 pixels from its left and top edges, clipped to the cell.
void WriteCellText(QPainter& painter, const QRect& cell, const QString& text);

}  // namespace fleet
