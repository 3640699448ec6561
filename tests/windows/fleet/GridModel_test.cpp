// The fleet grid's model on its own: rows filled from records and cells written over them,
// the filter that hides rows without removing them, reordering, and sort orders that follow
// every change of a text.
#include <QSignalSpy>
#include <QTest>

#include "QtTestMain.h"
#include "windows/fleet/TFleetGridModel.h"

using fleet::TFleetGridModel;

namespace {

Korvane::CarPtr Car(const std::string& plate, const std::string& remark = {}) {
  auto car = std::make_shared<Korvane::TCar>();
  car->plate_number = plate;
  car->description = remark;
  car->location = "浙江省,杭州市,西湖区";
  car->located_time = "2024-01-02 03:04:05";
  car->locate_status = "1";
  return car;
}

// A model holding one row for each plate, in the order given.
void Fill(TFleetGridModel& model, const std::vector<std::string>& plates) {
  Korvane::CarList cars;
  for (const std::string& plate : plates) cars.push_back(Car(plate));
  model.fillRow(0, cars.front(), true);
  model.appendCars(cars, 1, true);
}

QStringList Plates(const TFleetGridModel& model) {
  QStringList plates;
  for (int row = 0; row < model.rows(); ++row) plates << model.cell(row, fleet::kPlateColumn);
  return plates;
}

QStringList Sorted(TFleetGridModel& model, int column) {
  QStringList texts;
  for (const int store : model.ascendingOrder(column)) texts << model.storeCell(store, column);
  return texts;
}

}  // namespace

class GridModelTest : public QObject {
  Q_OBJECT

 private slots:
  void startsWithOneBlankRow();
  void writtenCellsWinOverTheRecordUntilTheRowIsFilledAgain();
  void membershipOfTheFillDecidesPositionAndTime();
  void filterHidesRowsThatStayInTheStore();
  void rowsInsertedOrRemovedWhileFiltered();
  void reorderAndReverseKeepHiddenRowsHidden();
  void sortOrderFollowsEveryChange_data();
  void sortOrderFollowsEveryChange();
  void lastRowWithAPlate();
  void signalsForTheViews();
};

void GridModelTest::startsWithOneBlankRow() {
  TFleetGridModel model;
  QCOMPARE(model.rows(), 1);
  QCOMPARE(model.columnCount(), 9);
  for (int column = 0; column < 9; ++column) QCOMPARE(model.cell(0, column), QString());
  QCOMPARE(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("当前位置"));
  QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
  QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable);
  Fill(model, {"浙A1", "浙A2"});
  model.resetToBlank();
  QCOMPARE(model.rows(), 1);
  QCOMPARE(model.cell(0, 0), QString());
}

void GridModelTest::writtenCellsWinOverTheRecordUntilTheRowIsFilledAgain() {
  TFleetGridModel model;
  const Korvane::CarPtr car = Car("浙A1");
  model.fillRow(0, car, true);
  QCOMPARE(model.cell(0, 4), QStringLiteral("浙江杭州市西湖区"));
  model.setCell(0, 4, QStringLiteral("正在定位中..."));
  model.setCell(0, 7, QStringLiteral("未注册"));
  QCOMPARE(model.cell(0, 4), QStringLiteral("正在定位中..."));
  QCOMPARE(model.cell(0, 7), QStringLiteral("未注册"));
  QCOMPARE(model.cell(0, 0), QStringLiteral("浙A1"));
  QCOMPARE(model.data(model.index(0, 4), Qt::DisplayRole).toString(), QStringLiteral("正在定位中..."));
  model.fillRow(0, car, true);
  QCOMPARE(model.cell(0, 4), QStringLiteral("浙江杭州市西湖区"));
  QCOMPARE(model.cell(0, 7), QStringLiteral("已注册"));
  model.setCell(0, 8, QStringLiteral("x"));
  model.blankRow(0);
  for (int column = 0; column < 9; ++column) QCOMPARE(model.cell(0, column), QString());
}

void GridModelTest::membershipOfTheFillDecidesPositionAndTime() {
  TFleetGridModel model;
  model.fillRow(0, Car("浙A1"), false);
  QCOMPARE(model.cell(0, 4), QStringLiteral("新版客户端可以继续使用定位功能"));
  QCOMPARE(model.cell(0, 5), QStringLiteral("高级会员已过期"));
  model.fillRow(0, Car("浙A1"), true);
  QCOMPARE(model.cell(0, 5), QStringLiteral("24-01-02 03:04"));
}

void GridModelTest::filterHidesRowsThatStayInTheStore() {
  TFleetGridModel model;
  Fill(model, {"浙A1", "浙A2", "浙A3", "浙A4"});
  model.setFilter([](int store) { return store % 2 == 1; });
  QVERIFY(model.isFiltered());
  QCOMPARE(Plates(model), (QStringList{"浙A2", "浙A4"}));
  QCOMPARE(model.storeRows(), 4);
  QCOMPARE(model.storeIndex(1), 3);
  // A hidden row is refreshed in place and shows when the filter goes.
  model.fillStoreRow(2, Car("浙A3", "刷新"), true);
  QCOMPARE(Plates(model), (QStringList{"浙A2", "浙A4"}));
  model.setCell(0, 8, QStringLiteral("可见"));
  QCOMPARE(model.storeCell(1, 8), QStringLiteral("可见"));
  model.removeFilter();
  QVERIFY(!model.isFiltered());
  QCOMPARE(Plates(model), (QStringList{"浙A1", "浙A2", "浙A3", "浙A4"}));
  QCOMPARE(model.cell(2, 8), QStringLiteral("刷新"));
  QCOMPARE(model.cell(1, 8), QStringLiteral("可见"));
}

void GridModelTest::rowsInsertedOrRemovedWhileFiltered() {
  TFleetGridModel model;
  Fill(model, {"浙A1", "浙A2", "浙A3"});
  model.setFilter([](int store) { return store != 1; });
  model.insertTopRow();
  model.fillRow(0, Car("浙A0"), true);
  QCOMPARE(Plates(model), (QStringList{"浙A0", "浙A1", "浙A3"}));
  model.appendCars({Car("浙A4")}, 0, true);
  QCOMPARE(Plates(model), (QStringList{"浙A0", "浙A1", "浙A3", "浙A4"}));
  model.removeRowAt(2);
  QCOMPARE(Plates(model), (QStringList{"浙A0", "浙A1", "浙A4"}));
  model.removeFilter();
  QCOMPARE(Plates(model), (QStringList{"浙A0", "浙A1", "浙A2", "浙A4"}));
}

void GridModelTest::reorderAndReverseKeepHiddenRowsHidden() {
  TFleetGridModel model;
  Fill(model, {"浙A1", "浙A2", "浙A3", "浙A4"});
  model.setFilter([](int store) { return store != 0; });
  model.reorder({3, 0, 2, 1});
  QCOMPARE(Plates(model), (QStringList{"浙A4", "浙A3", "浙A2"}));
  model.reverseRows();
  QCOMPARE(Plates(model), (QStringList{"浙A2", "浙A3", "浙A4"}));
  model.removeFilter();
  QCOMPARE(Plates(model), (QStringList{"浙A2", "浙A3", "浙A1", "浙A4"}));
  model.refillRows({Car("浙B1"), Car("浙B2")}, true);
  QCOMPARE(Plates(model), (QStringList{"浙B1", "浙B2", "浙A1", "浙A4"}));
}

void GridModelTest::sortOrderFollowsEveryChange_data() {
  QTest::addColumn<QString>("change");
  QTest::addColumn<QStringList>("sorted");
  // Rows start as c, a, d, b (plates), sorted once by plate before the change.
  QTest::newRow("nothing") << "" << QStringList{"a", "b", "c", "d"};
  QTest::newRow("a cell written") << "setCell" << QStringList{"a", "b", "d", "e"};
  QTest::newRow("a row filled") << "fill" << QStringList{"a", "b", "d", "z"};
  QTest::newRow("a row blanked") << "blank" << QStringList{"", "a", "b", "d"};
  QTest::newRow("a row removed") << "remove" << QStringList{"a", "b", "d"};
  QTest::newRow("a row inserted") << "insert" << QStringList{"", "a", "b", "c", "d"};
  QTest::newRow("rows appended") << "append" << QStringList{"a", "b", "c", "d", "e"};
  QTest::newRow("rows refilled") << "refill" << QStringList{"b", "d", "x", "y"};
  QTest::newRow("reordered") << "reorder" << QStringList{"a", "b", "c", "d"};
  QTest::newRow("filtered") << "filter" << QStringList{"a", "b", "c", "d"};
}

void GridModelTest::sortOrderFollowsEveryChange() {
  QFETCH(QString, change);
  QFETCH(QStringList, sorted);
  TFleetGridModel model;
  Fill(model, {"c", "a", "d", "b"});
  QCOMPARE(Sorted(model, 0), (QStringList{"a", "b", "c", "d"}));
  if (change == "setCell") model.setCell(0, 0, QStringLiteral("e"));
  if (change == "fill") model.fillRow(0, Car("z"), true);
  if (change == "blank") model.blankRow(0);
  if (change == "remove") model.removeRowAt(0);
  if (change == "insert") model.insertTopRow();
  if (change == "append") model.appendCars({Car("e")}, 0, true);
  if (change == "refill") model.refillRows({Car("x"), Car("y")}, true);
  if (change == "reorder") model.reorder(model.ascendingOrder(0));
  if (change == "filter") model.setFilter([](int store) { return store == 0; });
  QCOMPARE(Sorted(model, 0), sorted);
  // Sorting by another column and back gives the same order again.
  Sorted(model, 8);
  QCOMPARE(Sorted(model, 0), sorted);
}

void GridModelTest::lastRowWithAPlate() {
  TFleetGridModel model;
  Fill(model, {"浙A1", "浙A2", "浙A1"});
  QCOMPARE(model.lastStoreRowWithPlate(QStringLiteral("浙A1")), 2);
  QCOMPARE(model.lastStoreRowWithPlate(QStringLiteral("浙A2")), 1);
  QCOMPARE(model.lastStoreRowWithPlate(QStringLiteral("浙a2")), -1);
  QCOMPARE(model.lastStoreRowWithPlate(QStringLiteral("浙A")), -1);
}

void GridModelTest::signalsForTheViews() {
  TFleetGridModel model;
  Fill(model, {"浙A1", "浙A2", "浙A3"});
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
  model.appendCars({Car("浙A4"), Car("浙A5")}, 0, true);
  QCOMPARE(inserted.size(), 1);
  QCOMPARE(inserted[0][1].toInt(), 3);
  QCOMPARE(inserted[0][2].toInt(), 4);
  model.fillRow(1, Car("浙B2"), true);
  QCOMPARE(changed.size(), 1);
  QCOMPARE(changed[0][0].toModelIndex().row(), 1);
  QCOMPARE(changed[0][1].toModelIndex().column(), 8);
  model.removeRowAt(0);
  QCOMPARE(removed.size(), 1);
  model.reverseRows();
  QCOMPARE(layout.size(), 1);
}

VANDREL_QTEST_MAIN(GridModelTest)
#include "GridModel_test.moc"
