#include "windows/fleet/TFleetGrid.h"

#include <QFontMetricsF>
#include <QtMath>
#include <QHash>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

#include "app/Fonts.h"

namespace {

constexpr int kDesignRowHeight = 30;
constexpr int kDesignWidths[fleet::kColumns] = {140, 267, 159, 144, 225, 168, 107, 119, 100};

const char* const kGridStyle =
    "QTableView { gridline-color: #C8CEC0; background: white; border: 1px solid #A9B59C; }";

// Font pixels of a size in points, as the screen of 96 dots per inch draws them.
int PointsToPixels(int points) { return std::max(1, (points * 96 + 36) / 72); }

// The width of texts drawn in one font, summed from each character's advance.
class TTextWidths {
 public:
  explicit TTextWidths(const QFont& font) : metrics_(font) {}
  int width(const QString& text) {
    qreal total = 0;
    for (const QChar c : text) {
      auto it = advances_.find(c.unicode());
      if (it == advances_.end()) it = advances_.insert(c.unicode(), metrics_.horizontalAdvance(c));
      total += *it;
    }
    return qCeil(total);
  }

 private:
  QFontMetricsF metrics_;
  QHash<char16_t, qreal> advances_;
};

}  // namespace

TFleetGrid::TFleetGrid(QWidget* parent) : QTableView(parent) {
  setObjectName(QStringLiteral("grid"));
  cells_ = new fleet::TFleetGridModel(this);
  header_ = new TFleetHeader(this);
  delegate_ = new TFleetCellDelegate(this);
  setHorizontalHeader(header_);
  setModel(cells_);
  setItemDelegate(delegate_);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setGridStyle(Qt::SolidLine);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setStyleSheet(QString::fromLatin1(kGridStyle));
  setContextMenuPolicy(Qt::CustomContextMenu);

  QHeaderView* rows = verticalHeader();
  rows->hide();
  rows->setMinimumSectionSize(1);
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(kDesignRowHeight);

  header_->setFont(SimSunFont(14));
  for (int column = 0; column < fleet::kColumns; ++column)
    header_->resizeSection(column, kDesignWidths[column]);
  setFontPoints(fontPoints_);

  connect(header_, &TFleetHeader::columnSizing, this, &TFleetGrid::columnSizing);
  connect(header_, &TFleetHeader::mousePressed, this, &TFleetGrid::mousePressed);
  connect(header_, &TFleetHeader::mouseReleased, this, &TFleetGrid::mouseReleased);
}

int TFleetGrid::selectedRow() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  if (rows.isEmpty()) return 0;
  int first = rows.front().row();
  for (const QModelIndex& index : rows) first = std::min(first, index.row());
  return first + 1;
}

void TFleetGrid::selectDataRow(int row) {
  if (row < 1 || row > dataRows()) return;
  const QModelIndex at = cells_->index(row - 1, std::max(0, currentIndex().column()));
  selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                            QItemSelectionModel::Rows);
  scrollTo(at, QAbstractItemView::EnsureVisible);
}

int TFleetGrid::visibleRows() const {
  return std::max(1, viewport()->height() / std::max(1, defaultRowHeight()));
}

void TFleetGrid::setHeaderHeight(int height) {
  header_->setRowHeight(height);
  updateGeometries();
}

int TFleetGrid::defaultRowHeight() const { return verticalHeader()->defaultSectionSize(); }

void TFleetGrid::setDefaultRowHeight(int height) {
  verticalHeader()->setDefaultSectionSize(std::max(1, height));
}

void TFleetGrid::setFontPoints(int points) {
  fontPoints_ = points;
  setFont(SimSunFont(PointsToPixels(points)));
  header_->setFont(SimSunFont(14));
}

void TFleetGrid::fitColumnsToTexts(int margin) {
  TTextWidths headings(header_->font());
  TTextWidths texts(font());
  std::vector<int> widest(fleet::kColumns, 0);
  for (int column = 0; column < fleet::kColumns; ++column)
    widest[column] = headings.width(fleet::TFleetGridModel::heading(column));
  for (int store = 0; store < cells_->storeRows(); ++store)
    for (int column = 0; column < fleet::kColumns; ++column)
      widest[column] = std::max(widest[column], texts.width(cells_->storeCell(store, column)));
  for (int column = 0; column < fleet::kColumns; ++column)
    header_->resizeSection(column, widest[column] + margin);
}

QPoint TFleetGrid::gridPosition(const QPoint& viewportPosition) const {
  return viewportPosition + QPoint(0, headerHeight());
}

int TFleetGrid::rowAt(int y) const {
  if (y < headerHeight()) return y >= 0 ? 0 : -1;
  const int row = QTableView::rowAt(y - headerHeight());
  return row < 0 ? -1 : row + 1;
}

void TFleetGrid::mousePressEvent(QMouseEvent* event) {
  // The right button selects nothing by itself: the window's handler picks the row.
  if (event->button() != Qt::RightButton) QTableView::mousePressEvent(event);
  emit mousePressed(event->button(), gridPosition(event->position().toPoint()));
}

void TFleetGrid::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  emit mouseReleased(event->button(), gridPosition(event->position().toPoint()));
}

void TFleetGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  const QModelIndex at = indexAt(event->position().toPoint());
  if (at.isValid()) emit cellDoubleClicked(at.column(), at.row() + 1);
}
