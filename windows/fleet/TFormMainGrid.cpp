// The fleet window's handlers of its grid: the extra cell drawing, column widths, the header
// click that sorts, right-click selection, and handing a vehicle to the editor.
#include <QApplication>
#include <QPainter>

#include "Korvane/Session.h"
#include "app/Forms.h"
#include "app/TFormMsg.h"
#include "windows/fleet/TFormMain.h"

namespace {

const QColor kRegisteredColour(254, 232, 205);
const QColor kCityColour(255, 0, 0);
constexpr int kHeadingIndent = 20;
constexpr int kHeadingTop = 5;

}  // namespace

// ---- Cell drawing ----------------------------------------------------------------------------

void TFormMain::gridDrawCell(QPainter& painter, const QRect& rect, int row, int column,
                             bool selected) {
  if (row == 0) {
    const QRect cell = rect.adjusted(2, 2, -2, -2);
    painter.setFont(grid->header()->font());
    painter.setPen(Qt::white);
    painter.drawText(QRect(cell.left() + kHeadingIndent, cell.top() + kHeadingTop,
                           cell.width() - kHeadingIndent, cell.height() - kHeadingTop),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, grid->cell(column, 0));
    const QLabel* arrow = sortStates[column] == 2 ? img_desc : sortStates[column] == 1 ? img_asc : nullptr;
    if (arrow != nullptr) painter.drawPixmap(cell.left(), cell.top() + kHeadingTop, arrow->pixmap());
    return;
  }
  if (selected) return;
  QColor background = Qt::white;
  if (grid->cell(fleet::kStatusColumn, row) == QString::fromUtf8(fleet::kRegistered)) {
    background = kRegisteredColour;
    painter.fillRect(rect, background);
    painter.setPen(Qt::black);
    fleet::WriteCellText(painter, rect, grid->cell(column, row));
  }
  if (column == fleet::kPositionColumn) {
    const auto company = Korvane::Company();
    if (!company) return;
    const std::string& city = cb_sort->currentIndex() == 2 ? company->seat_city : company->current_city;
    const QString text = grid->cell(column, row);
    if (city.empty() || !text.contains(QString::fromStdString(city))) return;
    painter.fillRect(rect, background);
    painter.setPen(kCityColour);
    fleet::WriteCellText(painter, rect, text);
  }
}

// ---- Column widths ---------------------------------------------------------------------------

void TFormMain::gridColumnSizing(int column) {
  columnResized = true;
  resizedColumn = column;
}

// ---- Mouse -------------------------------------------------------------------------------------

void TFormMain::gridMouseUp(Qt::MouseButton, QPoint position) {
  if (columnResized || busy) {
    columnResized = false;
    if (resizedColumn != -1) saveColWidth(resizedColumn, grid->columnWidth(resizedColumn));
    return;
  }
  if (grid->dataRows() <= 1 || grid->cell(fleet::kPlateColumn, 1).isEmpty()) return;
  if (position.y() > grid->headerHeight()) return;
  const int column = grid->header()->logicalIndexAt(position.x());
  if (column < 0) return;
  for (int other = 0; other < fleet::kColumns; ++other)
    if (other != column) sortStates[other] = 0;
  if (isFiltered() || sortStates[column] != 2) {
    Sortgrid(column);
    if (sortStates[column] == 1) {
      grid->cells()->reverseRows();
      sortStates[column] = 2;
    } else {
      sortStates[column] = 1;
    }
  } else {
    restoreServiceOrder();
    sortStates[column] = 0;
  }
  grid->viewport()->update();
  grid->header()->viewport()->update();
}

void TFormMain::restoreServiceOrder() {
  const auto fleetList = Korvane::CurrentCars();
  if (!fleetList || !fleetList->cars) return;
  for (const Korvane::CarPtr& car : *fleetList->cars)
    if (car->expected_flow.empty()) car->expected_flow = "全国";
  grid->cells()->refillRows(*fleetList->cars, membershipValid());
}

void TFormMain::gridMouseDown(Qt::MouseButton button, QPoint position) {
  if (button != Qt::RightButton) return;
  const int row = grid->rowAt(position.y());
  if (row < 1 || grid->columnAt(position.x()) < 0) return;
  grid->selectDataRow(row);
}

void TFormMain::gridDblClickCell(int, int row) {
  if (row < 1) return;
  const Korvane::CarPtr car = Korvane::FindCar(grid->cell(fleet::kPlateColumn, row).toStdString());
  if (car) openCar(QStringLiteral("车辆资料"), 3, car);
}

// ---- Sorting -----------------------------------------------------------------------------------

void TFormMain::Sortgrid(int column) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  fleet::TFleetGridModel* cells = grid->cells();
  cells->reorder(cells->ascendingOrder(column));
  grid->selectDataRow(1);
  QApplication::restoreOverrideCursor();
}

bool TFormMain::isFiltered() const { return grid->cells()->isFiltered(); }

// ---- Editor commands ---------------------------------------------------------------------------

void TFormMain::btn_newClick() {
  if (busy) {
    showBusyNotice();
    return;
  }
  openCar(QStringLiteral("新增车辆"), 1, nullptr);
}

void TFormMain::btn_editClick() {
  if (busy) {
    showBusyNotice();
    return;
  }
  const int row = grid->selectedRow();
  if (row < 1) return;
  const QString plate = grid->cell(fleet::kPlateColumn, row);
  if (plate.isEmpty()) return;
  openCar(QStringLiteral("修改车辆"), 2, Korvane::FindCar(plate.toStdString()));
}
