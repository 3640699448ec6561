// The vehicle list of the fleet window: the first page on the GUI thread, the further pages in
// the background, reload, the paging buttons, filling rows from vehicle records, delete.
#include "Korvane/Session.h"
#include "Korvane/VehicleCalls.h"
#include "app/Forms.h"
#include "app/TFormMsg.h"
#include "windows/fleet/TFormMain.h"

namespace {

const QString kBusyText = QStringLiteral("系统正在处理数据,请稍候!");
const QString kOk = QStringLiteral("确认");

// The message of a failed call with its code: "message\r\n\r\n[代码:code]".
QString WithCode(const Korvane::TMYResult& result) {
  return QString::fromStdString(result.message) + QStringLiteral("\r\n\r\n[代码:") +
         QString::fromStdString(result.code) + QStringLiteral("]");
}

QString NetworkText(const Korvane::TMYResult& result) {
  return WithCode(result) + QStringLiteral("\r\n\r\n请检查本机网络连接是否正常!\r\n或者请联系客服协助解决!");
}

QString ClockText(const Korvane::TMYResult& result) {
  return WithCode(result) + QStringLiteral("\r\n\r\n请检查本机系统时间是否正确!");
}

int PageCount(int totalResults) { return totalResults / Korvane::kPageSize + 1; }

// A vehicle without expected destinations wants to go anywhere: "全国", kept in the record.
void CompleteFlow(Korvane::TCar& car) {
  if (car.expected_flow.empty()) car.expected_flow = "全国";
}

}  // namespace

void TFormMain::showBusyNotice() { FormMsg->showInfo(QStringLiteral("提示"), kBusyText, kOk); }

// ---- First page --------------------------------------------------------------------------

std::shared_ptr<Korvane::TCars> TFormMain::loadFirstPage() {
  auto page = std::make_shared<Korvane::TCars>();
  const Korvane::TMYResult result =
      Korvane::GetCarPage(registerContactNumber(), 1, cb_sort->currentIndex(), *page);
  if (!result.success) {
    showListFailure(result);
    return std::make_shared<Korvane::TCars>();
  }
  listLoaded = true;
  Korvane::SetCurrentCars(page);
  if (page->total_results > 0) fillGrid(*page);
  return page;
}

void TFormMain::fillGrid(const Korvane::TCars& page) {
  if (!page.cars || page.cars->empty()) return;
  const Korvane::CarList& cars = *page.cars;
  for (const Korvane::CarPtr& car : cars) CompleteFlow(*car);
  addCar(1, cars.front());
  grid->cells()->appendCars(cars, 1, membershipValid());
}

void TFormMain::showListFailure(const Korvane::TMYResult& result) {
  if (result.code == "000")
    FormMsg->showInfo(QStringLiteral("提示"), NetworkText(result), kOk);
  else if (result.code == "102")
    FormMsg->showInfo(QStringLiteral("提示"), ClockText(result), kOk);
  else
    FormMsg->showInfo(QStringLiteral("错误"),
                      QStringLiteral("车辆列表获取失败\r\n\r\n请点击[刷新列表]尝试再次获取!"), kOk);
}

void TFormMain::setListPanels(const Korvane::TCars& page) {
  statusBar->setText(0, QStringLiteral("登记:") + QString::number(page.total_results));
  statusBar->setText(1, QStringLiteral("注册:") + QString::number(Korvane::CountOpened(&page)));
  statusBar->setText(2, QStringLiteral("总页数:") + QString::number(PageCount(page.total_results)));
  statusBar->hidePanel(2);
  statusBar->setText(3, QStringLiteral("当前页:1"));
  statusBar->hidePanel(3);
}

// ---- Background download -------------------------------------------------------------------

void TFormMain::startDownload(const Korvane::TCars& page) {
  busy = false;
  const int received = page.cars ? static_cast<int>(page.cars->size()) : 0;
  if (page.total_results <= 0 || page.total_results <= received) return;
  busy = true;
  downloadThread = std::make_unique<TDownTread>(
      registerContactNumber(), page.total_results, cb_sort->currentIndex(), this,
      [this](std::shared_ptr<Korvane::TCars> moreCars) { downloadFinished(std::move(moreCars)); });
  downloadThread->start();
}

void TFormMain::downloadFinished(std::shared_ptr<Korvane::TCars> moreCars) {
  if (downloadThread) {
    downloadThread->join();
    downloadThread.reset();
  }
  const std::shared_ptr<Korvane::TCars> fleetList = Korvane::CurrentCars();
  if (fleetList && moreCars->cars && !moreCars->cars->empty()) {
    if (!fleetList->cars) fleetList->cars.emplace();
    Korvane::CarList& cars = *fleetList->cars;
    const std::size_t from = cars.size();
    cars.reserve(from + moreCars->cars->size());
    for (Korvane::CarPtr& car : *moreCars->cars) {
      CompleteFlow(*car);
      cars.push_back(std::move(car));
    }
    moreCars->cars.reset();
    grid->cells()->appendCars(cars, from, membershipValid());
  }
  statusBar->setText(1, QStringLiteral("注册:") + QString::number(Korvane::CountOpened(fleetList.get())));
  busy = false;
}

// ---- Rows ------------------------------------------------------------------------------------

void TFormMain::addCar(int row, const Korvane::CarPtr& car) {
  CompleteFlow(*car);
  grid->cells()->fillRow(row - 1, car, membershipValid());
}

void TFormMain::refreshData(const QString& plateNumber, const Korvane::CarPtr& car) {
  fleet::TFleetGridModel* cells = grid->cells();
  if (plateNumber.isEmpty()) {
    const bool onlyBlankRow = cells->storeRows() == 1 && cells->storeCell(0, fleet::kPlateColumn).isEmpty();
    if (!onlyBlankRow || cells->rows() == 0) cells->insertTopRow();
    addCar(1, car);
    return;
  }
  const int store = cells->lastStoreRowWithPlate(plateNumber);
  if (store < 0) return;
  CompleteFlow(*car);
  cells->fillStoreRow(store, car, membershipValid());
}

// ---- Reload and sort mode ----------------------------------------------------------------------

bool TFormMain::clearSearch() {
  if (txt_search->text().trimmed().isEmpty()) return false;
  txt_search->clear();
  AdvGlowButton2Click();
  return true;
}

void TFormMain::btn_refreshClick(QObject* sender) {
  if (clearSearch()) return;
  if (busy) {
    showBusyNotice();
    return;
  }
  listLoaded = false;
  grid->cells()->removeFilter();
  grid->cells()->resetToBlank();
  // The reload shows the rows in the service's order: no column is sorted any more.
  sortStates.fill(0);
  FormShow();
  if (sender != Timer3 && listLoaded)
    FormMsg->showInfo(QStringLiteral("提示"), QStringLiteral("我的车队更新成功!"), kOk);
}

void TFormMain::cb_sortSelect(int index) {
  saveSortBy(index);
  btn_refreshClick(cb_sort);
}

// ---- Paging inside the grid -------------------------------------------------------------------

void TFormMain::btn_firstClick() { grid->selectDataRow(1); }

void TFormMain::btn_preClick() {
  const int row = grid->selectedRow();
  grid->selectDataRow(std::max(1, (row < 1 ? 1 : row) - grid->visibleRows()));
}

void TFormMain::btn_nextClick() {
  const int row = grid->selectedRow();
  grid->selectDataRow(std::min(grid->dataRows(), (row < 1 ? 1 : row) + grid->visibleRows()));
}

void TFormMain::btn_lastClick() { grid->selectDataRow(grid->dataRows()); }

// ---- Delete ------------------------------------------------------------------------------------

void TFormMain::N3Click() {
  const int row = grid->selectedRow();
  if (row < 1) return;
  const QString plate = grid->cell(fleet::kPlateColumn, row);
  if (plate.isEmpty()) return;
  if (FormMsg->showConfirm(QStringLiteral("删除提示"),
                           QStringLiteral("是否删除 [") + plate + QStringLiteral("] 的车辆数据?")) != mrOk)
    return;
  const Korvane::TMYResult result = Korvane::DeleteCar(registerContactNumber(), plate.toStdString());
  if (!result.success) {
    showDeleteFailure(result);
    return;
  }
  Korvane::RemoveCar(plate.toStdString());
  const auto fleetList = Korvane::CurrentCars();
  statusBar->setText(0, QStringLiteral("登记:") + QString::number(fleetList ? fleetList->total_results : 0));
  if (grid->cells()->storeRows() == 1)
    grid->cells()->blankRow(row - 1);
  else
    grid->cells()->removeRowAt(row - 1);
}

void TFormMain::showDeleteFailure(const Korvane::TMYResult& result) {
  if (result.code == "000")
    FormMsg->showInfo(QStringLiteral("提示"), NetworkText(result), kOk);
  else if (result.code == "102")
    FormMsg->showInfo(QStringLiteral("提示"), ClockText(result), kOk);
  else
    FormMsg->showInfo(QStringLiteral("错误"), WithCode(result), kOk);
}
