// The fleet window's vehicle grid: a table over the grid model with one fixed header row, nine
// columns, whole-row selection, fixed row heights and no editing. Rows are counted as the
// window counts them: 0 is the header row, 1 the first data row.
#pragma once

#include <QPoint>
#include <QTableView>

#include "windows/fleet/TFleetCellDelegate.h"
#include "windows/fleet/TFleetGridModel.h"
#include "windows/fleet/TFleetHeader.h"

class TFleetGrid : public QTableView {
  Q_OBJECT

 public:
  explicit TFleetGrid(QWidget* parent = nullptr);

  fleet::TFleetGridModel* cells() const { return cells_; }
  TFleetHeader* header() const { return header_; }
  TFleetCellDelegate* cellDelegate() const { return delegate_; }

  // Header row and data rows.
  int rowCount() const { return cells_->rows() + 1; }
  int dataRows() const { return cells_->rows(); }
  QString cell(int column, int row) const { return row >= 1 ? cells_->cell(row - 1, column) : fleet::TFleetGridModel::heading(column); }
  void setCell(int column, int row, const QString& text) { cells_->setCell(row - 1, column, text); }

  // The first row of the selection; 0 when no data row is selected.
  int selectedRow() const;
  // Selects a data row and scrolls it into view.
  void selectDataRow(int row);
  // Data rows that fit into the visible part of the grid at once.
  int visibleRows() const;

  int headerHeight() const { return header_->rowHeight(); }
  void setHeaderHeight(int height);
  int defaultRowHeight() const;
  void setDefaultRowHeight(int height);
  // The data rows' font: 宋体 at a size in points.
  void setFontPoints(int points);
  int fontPoints() const { return fontPoints_; }

  // Every column as wide as its widest text (heading included) plus `margin` pixels.
  void fitColumnsToTexts(int margin);

  // Grid coordinates: the header row starts at the top of the grid, the data rows below it.
  QPoint gridPosition(const QPoint& viewportPosition) const;
  // The grid row under a grid position's height (0 for the header row), -1 below the rows.
  int rowAt(int y) const;

 signals:
  void mousePressed(Qt::MouseButton button, QPoint position);
  void mouseReleased(Qt::MouseButton button, QPoint position);
  void cellDoubleClicked(int column, int row);
  void columnSizing(int column);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  fleet::TFleetGridModel* cells_;
  TFleetHeader* header_;
  TFleetCellDelegate* delegate_;
  int fontPoints_ = 11;
};
