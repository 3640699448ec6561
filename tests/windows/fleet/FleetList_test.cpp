// The fleet window's vehicle list against the development service: the first page, the
// background download and its failures, reload and sort mode, the rows filled from records,
// refreshing rows, paging inside the grid and deleting vehicles.
#include <QSignalSpy>
#include <QTest>

#include "FleetTestSupport.h"
#include "QtTestMain.h"
#include "windows/fleet/VehicleCells.h"

using namespace fleettest;

namespace {

const QString kBusy = QStringLiteral("系统正在处理数据,请稍候!");

QStringList PlatesOfGrid(const TFormMain& window) {
  QStringList plates;
  for (int row = 1; row < window.grid->rowCount(); ++row) plates << window.grid->cell(0, row);
  return plates;
}

QStringList PlatesOf(const Korvane::CarList& cars) {
  QStringList plates;
  for (const Korvane::CarPtr& car : cars) plates << QString::fromStdString(car->plate_number);
  return plates;
}

int Opened(const Korvane::CarList& cars) {
  return static_cast<int>(std::count_if(cars.begin(), cars.end(),
                                        [](const Korvane::CarPtr& car) { return car->locate_status == "1"; }));
}

bool OnlyBlankRow(const TFormMain& window) {
  if (window.grid->rowCount() != 2) return false;
  for (int column = 0; column < fleet::kColumns; ++column)
    if (!window.grid->cell(column, 1).isEmpty()) return false;
  return true;
}

}  // namespace

class FleetListTest : public QObject {
  Q_OBJECT

 private slots:
  void fleetOfOnePageNeedsNoDownload();
  void fleetOfTwoPagesAppendsTheRestInTheBackground();
  void failedLaterPageEndsTheDownloadQuietly();
  void emptyFleetShowsOneBlankRow();
  void reloadWhoseFirstPageFailsLeavesTheBlankRow_data();
  void reloadWhoseFirstPageFailsLeavesTheBlankRow();
  void sortModeIsStoredAndReloadsWithItsOrder();
  void successMessageOnlyForAReloadNotStartedByTheTimer();
  void reloadWithSearchTextOnlyClearsTheSearch();
  void rowsShowTheRecordsInTheServiceOrder();
  void withoutMembershipEveryRowSaysSo();
  void emptyDestinationsBecomeNationwideInTheRecord();
  void refreshDataFillsTheBlankRowOrInsertsAtTheTop();
  void refreshDataRefillsARowEvenWhileFilteredOut();
  void pagingButtonsMoveTheSelection();
  void deleteAsksThenRemovesTheRow();
  void deletingTheOnlyVehicleLeavesTheBlankRow();
  void deleteRefusedByTheServiceChangesNothing();
};

void FleetListTest::fleetOfOnePageNeedsNoDownload() {
  FleetFixture fixture(999 - FleetFixture::kDemoVehicles);
  TFormMain& window = fixture.show();
  QVERIFY(!window.busy);
  QVERIFY(window.listLoaded);
  QVERIFY(!window.downloadThread);
  QCOMPARE(window.grid->dataRows(), 999);
  QCOMPARE(fixture.proxy.listCalls().size(), std::size_t(1));
  const Parameters first = fixture.proxy.listCalls().front();
  QCOMPARE(first.at("page_no"), std::string("1"));
  QCOMPARE(first.at("page_size"), std::string("999"));
  QCOMPARE(first.at("sort_by"), std::string("location_priority"));
  QCOMPARE(first.at("register_contact_number"), fixture.number());
  const auto fleetList = Korvane::CurrentCars();
  QCOMPARE(window.statusBar->text(0), QStringLiteral("登记:999"));
  QCOMPARE(window.statusBar->text(1), QStringLiteral("注册:%1").arg(Opened(*fleetList->cars)));
  QCOMPARE(window.statusBar->text(2), QStringLiteral("总页数:2"));
  QCOMPARE(window.statusBar->text(3), QStringLiteral("当前页:1"));
  QVERIFY(window.statusBar->isPanelHidden(2));
  QVERIFY(window.statusBar->isPanelHidden(3));
  QVERIFY(!window.statusBar->autoSize(2));
  QVERIFY(fixture.watcher.shown().empty());
}

void FleetListTest::fleetOfTwoPagesAppendsTheRestInTheBackground() {
  FleetFixture fixture(1000 - FleetFixture::kDemoVehicles);
  fixture.proxy.holdPage(2);
  TFormMain& window = fixture.show();
  QVERIFY(window.busy);
  QVERIFY(!window.isFinished());
  QVERIFY(window.downloadThread != nullptr);
  QCOMPARE(window.grid->dataRows(), 999);
  QCOMPARE(window.statusBar->text(0), QStringLiteral("登记:1000"));

  QTest::mouseClick(window.btn_refresh, Qt::LeftButton);
  QCOMPARE(fixture.watcher.shown().size(), std::size_t(1));
  QCOMPARE(fixture.watcher.shown()[0].caption, QStringLiteral("提示"));
  QCOMPARE(fixture.watcher.shown()[0].text, kBusy);
  QCOMPARE(fixture.proxy.firstPageCalls(), 1);

  fixture.proxy.releaseHeldPages();
  QVERIFY(fixture.waitUntilIdle());
  QVERIFY(!window.downloadThread);
  QCOMPARE(window.grid->dataRows(), 1000);
  const auto fleetList = Korvane::CurrentCars();
  QCOMPARE(fleetList->cars->size(), std::size_t(1000));
  QCOMPARE(fleetList->total_results, 1000);
  QCOMPARE(PlatesOfGrid(window), PlatesOf(*fleetList->cars));
  QCOMPARE(window.statusBar->text(1), QStringLiteral("注册:%1").arg(Opened(*fleetList->cars)));
  // Page 2 was asked for once, with the first page's sort mode.
  const auto calls = fixture.proxy.listCalls();
  QCOMPARE(calls.size(), std::size_t(2));
  QCOMPARE(calls[1].at("page_no"), std::string("2"));
  QCOMPARE(calls[1].at("sort_by"), std::string("location_priority"));
}

void FleetListTest::failedLaterPageEndsTheDownloadQuietly() {
  FleetFixture fixture(2500 - FleetFixture::kDemoVehicles);
  fixture.proxy.failPage(3, testsupport::Reply::Status(500, "Internal Server Error"));
  TFormMain& window = fixture.show();
  QVERIFY(fixture.waitUntilIdle());
  QCOMPARE(window.grid->dataRows(), 1998);
  QCOMPARE(Korvane::CurrentCars()->cars->size(), std::size_t(1998));
  QCOMPARE(window.statusBar->text(0), QStringLiteral("登记:2500"));
  QCOMPARE(window.statusBar->text(1),
           QStringLiteral("注册:%1").arg(Opened(*Korvane::CurrentCars()->cars)));
  QVERIFY(fixture.watcher.shown().empty());
  QCOMPARE(fixture.proxy.listCalls().size(), std::size_t(3));
}

void FleetListTest::emptyFleetShowsOneBlankRow() {
  FleetFixture fixture;
  fixture.keepVehicles(0);
  TFormMain& window = fixture.show();
  QVERIFY(!window.busy);
  QVERIFY(window.listLoaded);
  QVERIFY(OnlyBlankRow(window));
  QCOMPARE(window.statusBar->text(0), QStringLiteral("登记:0"));
  QCOMPARE(window.statusBar->text(1), QStringLiteral("注册:0"));
  QCOMPARE(window.statusBar->text(2), QStringLiteral("总页数:1"));
  QCOMPARE(fixture.proxy.listCalls().size(), std::size_t(1));
}

void FleetListTest::reloadWhoseFirstPageFailsLeavesTheBlankRow_data() {
  QTest::addColumn<QString>("body");  // empty: the proxy answers HTTP 500
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("text");
  QTest::newRow("network") << "" << "提示"
                           << "获取车辆列表异常 - 网络连接失败\n\n[代码:000]\n\n"
                              "请检查本机网络连接是否正常!\n或者请联系客服协助解决!";
  QTest::newRow("clock") << R"({"success":false,"error":{"code":"102","message":"时间戳无效"}})"
                         << "提示" << "时间戳无效\n\n[代码:102]\n\n请检查本机系统时间是否正确!";
  QTest::newRow("other code")
      << R"({"success":false,"error":{"code":"500","message":"服务器内部错误"}})"
      << "错误" << "车辆列表获取失败\n\n请点击[刷新列表]尝试再次获取!";
}

void FleetListTest::reloadWhoseFirstPageFailsLeavesTheBlankRow() {
  QFETCH(QString, body);
  QFETCH(QString, caption);
  QFETCH(QString, text);
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  QCOMPARE(window.grid->dataRows(), FleetFixture::kDemoVehicles);
  const auto listBefore = Korvane::CurrentCars();
  fixture.proxy.failPage(1, body.isEmpty() ? testsupport::Reply::Status(500, "Internal Server Error")
                                           : testsupport::Reply::Json(body.toStdString()));
  QTest::mouseClick(window.btn_refresh, Qt::LeftButton);
  QCOMPARE(fixture.watcher.shown().size(), std::size_t(1));
  QCOMPARE(fixture.watcher.shown()[0].caption, caption);
  // The network text starts with the call's own message, whatever it says exactly.
  if (body.isEmpty())
    QVERIFY2(fixture.watcher.shown()[0].text.endsWith(text.mid(text.indexOf(QStringLiteral("\n\n[代码")))),
             qPrintable(fixture.watcher.shown()[0].text));
  else
    QCOMPARE(fixture.watcher.shown()[0].text, text);
  QVERIFY(OnlyBlankRow(window));
  QVERIFY(!window.listLoaded);
  QVERIFY(!window.busy);
  QCOMPARE(window.statusBar->text(0), QStringLiteral("登记:0"));
  QCOMPARE(window.statusBar->text(1), QStringLiteral("注册:0"));
  QCOMPARE(Korvane::CurrentCars(), listBefore);
}

void FleetListTest::sortModeIsStoredAndReloadsWithItsOrder() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  QCOMPARE(window.cb_sort->currentIndex(), 1);
  window.cb_sort->setFocus();
  QTest::keyClick(window.cb_sort, Qt::Key_Down);
  QCOMPARE(window.cb_sort->currentIndex(), 2);
  QCOMPARE(Setting(kSectionGrid, "sortby"), std::string("2"));
  const auto calls = fixture.proxy.listCalls();
  QCOMPARE(calls.size(), std::size_t(2));
  QCOMPARE(calls.back().at("sort_by"), std::string("seat_priority"));
  QCOMPARE(PlatesOfGrid(window), PlatesOf(fixture.serviceList(2)));
  QCOMPARE(fixture.watcher.shown().size(), std::size_t(1));
  QCOMPARE(fixture.watcher.shown()[0].text, QStringLiteral("我的车队更新成功!"));

  window.cb_sort->setCurrentIndex(0);
  emit window.cb_sort->activated(0);
  QCOMPARE(Setting(kSectionGrid, "sortby"), std::string("0"));
  QCOMPARE(fixture.proxy.listCalls().back().at("sort_by"), std::string("used_priority"));
  QCOMPARE(PlatesOfGrid(window), PlatesOf(fixture.serviceList(0)));
}

void FleetListTest::successMessageOnlyForAReloadNotStartedByTheTimer() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  fixture.addVehicle("浙A7E001", "13911110001", [](Korvane::TCar&) {});
  window.Timer3Timer();
  window.Timer3Timer();
  QCOMPARE(fixture.proxy.firstPageCalls(), 2);
  QCOMPARE(window.grid->dataRows(), FleetFixture::kDemoVehicles + 1);
  QVERIFY(fixture.watcher.shown().empty());

  QTest::mouseClick(window.btn_refresh, Qt::LeftButton);
  QCOMPARE(fixture.proxy.firstPageCalls(), 3);
  QCOMPARE(fixture.watcher.shown().size(), std::size_t(1));
  QCOMPARE(fixture.watcher.shown()[0].caption, QStringLiteral("提示"));
  QCOMPARE(fixture.watcher.shown()[0].text, QStringLiteral("我的车队更新成功!"));
}

void FleetListTest::reloadWithSearchTextOnlyClearsTheSearch() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  window.txt_search->setText(QStringLiteral("  杭州 "));
  QTest::mouseClick(window.btn_refresh, Qt::LeftButton);
  QVERIFY(window.txt_search->text().isEmpty());
  QCOMPARE(fixture.proxy.firstPageCalls(), 1);
  window.txt_search->setText(QStringLiteral("   "));
  QTest::mouseClick(window.btn_refresh, Qt::LeftButton);
  QCOMPARE(fixture.proxy.firstPageCalls(), 2);
}

void FleetListTest::rowsShowTheRecordsInTheServiceOrder() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  const auto fleetList = Korvane::CurrentCars();
  QCOMPARE(PlatesOfGrid(window), PlatesOf(fixture.serviceList()));
  QVERIFY(fixture.company().membership_valid);
  for (int row = 1; row <= window.grid->dataRows(); ++row) {
    const Korvane::TCar& car = *(*fleetList->cars)[row - 1];
    for (int column = 0; column < fleet::kColumns; ++column)
      QCOMPARE(window.grid->cell(column, row), fleet::CarCellText(car, column, true));
  }
  QCOMPARE(window.grid->cell(0, 0), QStringLiteral("车牌号码"));
}

void FleetListTest::withoutMembershipEveryRowSaysSo() {
  FleetFixture fixture;
  fixture.company().membership_valid = false;
  fixture.company().membership_use_deadline = "2014-05-20 00:00:00";
  TFormMain& window = fixture.show();
  QCOMPARE(window.grid->dataRows(), FleetFixture::kDemoVehicles);
  for (int row = 1; row <= window.grid->dataRows(); ++row) {
    QCOMPARE(window.grid->cell(4, row), QStringLiteral("新版客户端可以继续使用定位功能"));
    QCOMPARE(window.grid->cell(5, row), QStringLiteral("高级会员已过期"));
    QVERIFY(!window.grid->cell(0, row).isEmpty());
  }
}

void FleetListTest::emptyDestinationsBecomeNationwideInTheRecord() {
  FleetFixture fixture;
  fixture.addVehicle("浙A7E002", "13911110002", [](Korvane::TCar& car) {
    car.expected_flow.clear();
    car.model_1.clear();
    car.model_2.clear();
    car.length.clear();
    car.tonnage.clear();
  });
  TFormMain& window = fixture.show();
  const Korvane::CarPtr car = Korvane::FindCar("浙A7E002");
  QVERIFY(car != nullptr);
  QCOMPARE(car->expected_flow, std::string("全国"));
  const int row = static_cast<int>(PlatesOfGrid(window).indexOf(QStringLiteral("浙A7E002"))) + 1;
  QVERIFY(row >= 1);
  QCOMPARE(window.grid->cell(6, row), QStringLiteral("全国"));
  QCOMPARE(window.grid->cell(1, row), QString());
}

void FleetListTest::refreshDataFillsTheBlankRowOrInsertsAtTheTop() {
  FleetFixture fixture;
  fixture.keepVehicles(0);
  TFormMain& window = fixture.show();
  auto first = std::make_shared<Korvane::TCar>();
  first->plate_number = "浙A00001";
  first->locate_status = "1";
  window.refreshData(QString(), first);
  QCOMPARE(PlatesOfGrid(window), QStringList{"浙A00001"});
  QCOMPARE(window.grid->cell(7, 1), QStringLiteral("已注册"));
  QCOMPARE(first->expected_flow, std::string("全国"));
  auto second = std::make_shared<Korvane::TCar>();
  second->plate_number = "浙A00002";
  window.refreshData(QString(), second);
  QCOMPARE(PlatesOfGrid(window), (QStringList{"浙A00002", "浙A00001"}));
  // A known plate refills its row; an unknown one changes nothing.
  auto changed = std::make_shared<Korvane::TCar>(*first);
  changed->driver_name = "新司机";
  window.refreshData(QStringLiteral("浙A00001"), changed);
  QCOMPARE(window.grid->cell(2, 2), QStringLiteral("新司机"));
  window.refreshData(QStringLiteral("浙Z99999"), changed);
  QCOMPARE(PlatesOfGrid(window), (QStringList{"浙A00002", "浙A00001"}));
}

void FleetListTest::refreshDataRefillsARowEvenWhileFilteredOut() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  const QString hidden = window.grid->cell(0, 2);
  const QString kept = window.grid->cell(0, 1);
  window.grid->cells()->setFilter([&](int store) {
    return window.grid->cells()->storeCell(store, fleet::kPlateColumn) == kept;
  });
  QVERIFY(window.isFiltered());
  QCOMPARE(PlatesOfGrid(window), QStringList{kept});
  auto car = std::make_shared<Korvane::TCar>(*Korvane::FindCar(hidden.toStdString()));
  car->description = "过滤中刷新";
  window.refreshData(hidden, car);
  QCOMPARE(PlatesOfGrid(window), QStringList{kept});
  window.grid->cells()->removeFilter();
  QCOMPARE(window.grid->cell(0, 2), hidden);
  QCOMPARE(window.grid->cell(8, 2), QStringLiteral("过滤中刷新"));
}

void FleetListTest::pagingButtonsMoveTheSelection() {
  FleetFixture fixture(1000 - FleetFixture::kDemoVehicles);
  fixture.proxy.holdPage(2);
  TFormMain& window = fixture.show();
  window.resize(1000, 600);
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const int page = window.grid->visibleRows();
  QVERIFY(page > 3);
  const int rows = window.grid->dataRows();
  struct Step {
    TGlowButton* button;
    int row;
  };
  // They work while the download runs.
  QVERIFY(window.busy);
  const Step steps[] = {{window.btn_first, 1},
                        {window.btn_next, 1 + page},
                        {window.btn_next, 1 + 2 * page},
                        {window.btn_pre, 1 + page},
                        {window.btn_last, rows},
                        {window.btn_next, rows},
                        {window.btn_pre, rows - page},
                        {window.btn_first, 1},
                        {window.btn_pre, 1}};
  for (const Step& step : steps) {
    QTest::mouseClick(step.button, Qt::LeftButton);
    QCOMPARE(window.grid->selectedRow(), step.row);
    const QRect cell = window.grid->visualRect(window.grid->cells()->index(step.row - 1, 0));
    QVERIFY(window.grid->viewport()->rect().intersects(cell));
  }
}

void FleetListTest::deleteAsksThenRemovesTheRow() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  const QString plate = window.grid->cell(0, 2);
  window.grid->selectDataRow(2);
  fixture.watcher.answerNext(2);
  window.N3->trigger();
  QCOMPARE(fixture.watcher.shown().size(), std::size_t(1));
  QCOMPARE(fixture.watcher.shown()[0].caption, QStringLiteral("删除提示"));
  QCOMPARE(fixture.watcher.shown()[0].text, QStringLiteral("是否删除 [%1] 的车辆数据?").arg(plate));
  QVERIFY(fixture.watcher.shown()[0].question);
  QCOMPARE(window.grid->dataRows(), FleetFixture::kDemoVehicles);

  window.N3->trigger();
  QCOMPARE(fixture.watcher.shown().size(), std::size_t(2));
  QCOMPARE(window.grid->dataRows(), FleetFixture::kDemoVehicles - 1);
  QVERIFY(!PlatesOfGrid(window).contains(plate));
  QVERIFY(Korvane::FindCar(plate.toStdString()) == nullptr);
  QCOMPARE(Korvane::CurrentCars()->total_results, FleetFixture::kDemoVehicles - 1);
  QCOMPARE(window.statusBar->text(0), QStringLiteral("登记:%1").arg(FleetFixture::kDemoVehicles - 1));
  QVERIFY(!PlatesOf(fixture.serviceList()).contains(plate));
  QCOMPARE(PlatesOfGrid(window), PlatesOf(*Korvane::CurrentCars()->cars));
}

void FleetListTest::deletingTheOnlyVehicleLeavesTheBlankRow() {
  FleetFixture fixture;
  fixture.keepVehicles(1);
  TFormMain& window = fixture.show();
  QCOMPARE(window.grid->dataRows(), 1);
  window.grid->selectDataRow(1);
  window.N3Click();
  QVERIFY(OnlyBlankRow(window));
  QCOMPARE(window.statusBar->text(0), QStringLiteral("登记:0"));
  QVERIFY(fixture.serviceList().empty());
  // The blank row is not a vehicle: deleting it asks nothing.
  window.N3Click();
  QCOMPARE(fixture.watcher.shown().size(), std::size_t(1));
}

void FleetListTest::deleteRefusedByTheServiceChangesNothing() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  const QString plate = window.grid->cell(0, 1);
  QVERIFY(Korvane::DeleteCar(fixture.number(), plate.toStdString()).success);
  window.grid->selectDataRow(1);
  window.N3Click();
  QCOMPARE(fixture.watcher.shown().size(), std::size_t(2));
  const Shown& failure = fixture.watcher.shown()[1];
  QCOMPARE(failure.caption, QStringLiteral("错误"));
  QVERIFY2(failure.text.contains(QStringLiteral("\n\n[代码:")), qPrintable(failure.text));
  QVERIFY(failure.text.endsWith(QLatin1Char(']')));
  QCOMPARE(window.grid->cell(0, 1), plate);
  QCOMPARE(window.grid->dataRows(), FleetFixture::kDemoVehicles);
  QVERIFY(Korvane::FindCar(plate.toStdString()) != nullptr);
  QCOMPARE(window.statusBar->text(0), QStringLiteral("登记:%1").arg(FleetFixture::kDemoVehicles));
}

VANDREL_QTEST_MAIN(FleetListTest)
#include "FleetList_test.moc"
