// The fleet grid's header row: a fixed height, its background, and the rest of its drawing
// left to the grid's cell-drawing handler (headings and sort arrows). It tells apart column
// widths changed by the user's drag from those set by the program.
#pragma once

#include <QHeaderView>

#include <functional>

class TFleetHeader : public QHeaderView {
  Q_OBJECT

 public:
  explicit TFleetHeader(QWidget* parent = nullptr);

  int rowHeight() const { return rowHeight_; }
  void setRowHeight(int height);

  // Draws over a section after its background: the painter, the section, the column.
  std::function<void(QPainter&, const QRect&, int)> drawSection;

  QSize sizeHint() const override;

 signals:
  // A column's width changes under the user's drag.
  void columnSizing(int column);
  void mousePressed(Qt::MouseButton button, QPoint position);
  void mouseReleased(Qt::MouseButton button, QPoint position);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int rowHeight_ = 30;
  bool pressed_ = false;
};
