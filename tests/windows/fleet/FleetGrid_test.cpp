// The fleet window's grid against the development service: the header click that sorts, the
// column widths stored on release, the cell drawing checked on pixels, right-click
// selection, and the commands that hand a vehicle to the editor.
#include <QCollator>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

#include "FleetTestSupport.h"
#include "QtTestMain.h"
#include "windows/fleet/VehicleCells.h"

using namespace fleettest;

namespace {

QStringList Column(const TFormMain& window, int column) {
  QStringList texts;
  for (int row = 1; row < window.grid->rowCount(); ++row) texts << window.grid->cell(column, row);
  return texts;
}

QStringList PlatesOf(const Korvane::CarList& cars) {
  QStringList plates;
  for (const Korvane::CarPtr& car : cars) plates << QString::fromStdString(car->plate_number);
  return plates;
}

bool Ascending(const QStringList& texts) {
  QCollator collator{QLocale()};
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  for (qsizetype i = 1; i < texts.size(); ++i)
    if (collator.compare(texts[i - 1], texts[i]) > 0) return false;
  return true;
}

QStringList Reversed(QStringList texts) {
  std::reverse(texts.begin(), texts.end());
  return texts;
}

void SendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, QPoint at,
               Qt::MouseButtons held) {
  QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &event);
}

// A click on the middle of a column's heading, pressed and released on the header.
void ClickHeading(TFormMain& window, int column) {
  QHeaderView* header = window.grid->horizontalHeader();
  const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
  SendMouse(header->viewport(), QEvent::MouseButtonPress, Qt::LeftButton, at, Qt::LeftButton);
  SendMouse(header->viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, at, Qt::NoButton);
}

// Drags the right edge of a column's heading by `by` pixels.
void DragColumnEdge(TFormMain& window, int column, int by) {
  QHeaderView* header = window.grid->horizontalHeader();
  const int edge = header->sectionViewportPosition(column) + header->sectionSize(column) - 1;
  const QPoint from(edge, header->height() / 2);
  SendMouse(header->viewport(), QEvent::MouseButtonPress, Qt::LeftButton, from, Qt::LeftButton);
  for (int step = 1; step <= 4; ++step)
    SendMouse(header->viewport(), QEvent::MouseMove, Qt::NoButton, from + QPoint(by * step / 4, 0),
              Qt::LeftButton);
  SendMouse(header->viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, from + QPoint(by, 0),
            Qt::NoButton);
}

// The row (1 for the first data row) whose column `column` satisfies `test`, or 0.
template <typename Test>
int RowWhere(const TFormMain& window, int column, Test test) {
  for (int row = 1; row < window.grid->rowCount(); ++row)
    if (test(window.grid->cell(column, row))) return row;
  return 0;
}

QRect CellRect(const TFormMain& window, int row, int column) {
  // The viewport's cell in the grid widget's own coordinates.
  const QRect cell = window.grid->visualRect(window.grid->cells()->index(row - 1, column));
  return cell.translated(window.grid->viewport()->mapTo(window.grid, QPoint(0, 0)));
}

int CountPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (test(image.pixelColor(x, y))) ++count;
  return count;
}

bool IsRed(QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }

bool Near(QColor a, QColor b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

}  // namespace

class FleetGridTest : public QObject {
  Q_OBJECT

 private slots:
  void headingClicksCycleAscendingDescendingServiceOrder();
  void withAFilterClicksOnlyAlternate();
  void clicksDoNothingWithOneVehicleOrDuringADownload_data();
  void clicksDoNothingWithOneVehicleOrDuringADownload();
  void upperAndLowerCaseSortTogether();
  void widenedColumnIsStoredOnRelease_data();
  void widenedColumnIsStoredOnRelease();
  void rowsAreDrawnByTheirState();
  void cityOfTheSortModeIsRed();
  void headerShowsTheSortArrow();
  void rightClickSelectsTheRowUnderThePointer();
  void editorCommandsHandTheVehicleOver();
  void editorCommandsWaitForTheDownload();
  void theBlankRowOpensNothing();
};

void FleetGridTest::headingClicksCycleAscendingDescendingServiceOrder() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  const QStringList serviceOrder = Column(window, 0);
  const QStringList rowOfFirst = [&] {
    QStringList cells;
    for (int column = 0; column < fleet::kColumns; ++column) cells << window.grid->cell(column, 1);
    return cells;
  }();

  ClickHeading(window, 0);
  const QStringList ascending = Column(window, 0);
  QVERIFY(Ascending(ascending));
  QVERIFY(ascending != serviceOrder);
  QCOMPARE(window.sortStates[0], 1);
  QCOMPARE(window.grid->selectedRow(), 1);
  // Rows move whole.
  const int moved = static_cast<int>(ascending.indexOf(rowOfFirst[0])) + 1;
  for (int column = 0; column < fleet::kColumns; ++column)
    QCOMPARE(window.grid->cell(column, moved), rowOfFirst[column]);

  ClickHeading(window, 0);
  QCOMPARE(Column(window, 0), Reversed(ascending));
  QCOMPARE(window.sortStates[0], 2);

  ClickHeading(window, 0);
  QCOMPARE(Column(window, 0), serviceOrder);
  QCOMPARE(Column(window, 0), PlatesOf(*Korvane::CurrentCars()->cars));
  QCOMPARE(window.sortStates[0], 0);

  ClickHeading(window, 0);
  QCOMPARE(window.sortStates[0], 1);
  // Another heading starts at ascending and takes the arrow.
  ClickHeading(window, 2);
  QVERIFY(Ascending(Column(window, 2)));
  QCOMPARE(window.sortStates[2], 1);
  QCOMPARE(window.sortStates[0], 0);
  QVERIFY(fixture.watcher.shown().empty());
}

void FleetGridTest::withAFilterClicksOnlyAlternate() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  fleet::TFleetGridModel* cells = window.grid->cells();
  cells->setFilter([cells](int store) { return store % 2 == 0; });
  const int visible = window.grid->dataRows();
  QCOMPARE(visible, FleetFixture::kDemoVehicles / 2);
  ClickHeading(window, 3);
  const QStringList ascending = Column(window, 3);
  QVERIFY(Ascending(ascending));
  ClickHeading(window, 3);
  QCOMPARE(Column(window, 3), Reversed(ascending));
  ClickHeading(window, 3);
  QCOMPARE(Column(window, 3), ascending);
  QCOMPARE(window.sortStates[3], 1);
  QCOMPARE(window.grid->dataRows(), visible);
  // The hidden rows were sorted along and come back in order.
  cells->removeFilter();
  QCOMPARE(window.grid->dataRows(), FleetFixture::kDemoVehicles);
  QVERIFY(Ascending(Column(window, 3)));
}

void FleetGridTest::clicksDoNothingWithOneVehicleOrDuringADownload_data() {
  QTest::addColumn<QString>("fleet");
  QTest::newRow("one vehicle") << "one";
  QTest::newRow("no vehicle") << "none";
  QTest::newRow("during a download") << "download";
}

void FleetGridTest::clicksDoNothingWithOneVehicleOrDuringADownload() {
  QFETCH(QString, fleet);
  FleetFixture fixture(fleet == "download" ? 1000 - FleetFixture::kDemoVehicles : 0);
  if (fleet == "one") fixture.keepVehicles(1);
  if (fleet == "none") fixture.keepVehicles(0);
  if (fleet == "download") fixture.proxy.holdPage(2);
  TFormMain& window = fixture.show();
  const QStringList before = Column(window, 0);
  ClickHeading(window, 0);
  ClickHeading(window, 1);
  QCOMPARE(Column(window, 0), before);
  QCOMPARE(window.sortStates, (std::array<int, fleet::kColumns>{}));
  // Nothing was resized, so nothing is written either.
  QCOMPARE(Setting(kSectionGrid, "col0"), std::string("<missing>"));
  QVERIFY(window.columnResized == false);
}

void FleetGridTest::upperAndLowerCaseSortTogether() {
  FleetFixture fixture;
  fixture.keepVehicles(0);
  const char* remarks[] = {"b2", "A1", "B3", "a4", "c5", "C6"};
  int n = 0;
  for (const char* remark : remarks) {
    ++n;
    fixture.addVehicle("浙A0000" + std::to_string(n), "1391111000" + std::to_string(n),
                       [remark](Korvane::TCar& car) { car.description = remark; });
  }
  TFormMain& window = fixture.show();
  ClickHeading(window, fleet::kRemarkColumn);
  const QStringList sorted = Column(window, fleet::kRemarkColumn);
  QCOMPARE(sorted.size(), 6);
  for (int i = 0; i < 6; ++i)
    QCOMPARE(sorted[i].left(1).toLower(), QString(QChar(u'a' + i / 2)));
  QVERIFY(Ascending(sorted));
}

void FleetGridTest::widenedColumnIsStoredOnRelease_data() {
  QTest::addColumn<QString>("autocolwidth");
  QTest::newRow("stored") << "0";
  QTest::newRow("automatic widths store nothing") << "1";
}

void FleetGridTest::widenedColumnIsStoredOnRelease() {
  QFETCH(QString, autocolwidth);
  FleetFixture fixture;
  WriteSetting(kSectionGrid, "autocolwidth", autocolwidth.toStdString());
  TFormMain& window = fixture.show();
  window.resize(1200, 700);
  const QStringList before = Column(window, 4);
  const int width = window.grid->columnWidth(4);
  DragColumnEdge(window, 4, 40);
  QCOMPARE(window.grid->columnWidth(4), width + 40);
  QCOMPARE(Setting(kSectionGrid, "col4"),
           autocolwidth == "1" ? std::string("<missing>") : std::to_string(width + 40));
  QVERIFY(!window.columnResized);
  QCOMPARE(window.resizedColumn, 4);
  // The release after a drag is no header click.
  QCOMPARE(Column(window, 4), before);
  QCOMPARE(window.sortStates[4], 0);
  // A width set by the program is no drag.
  window.grid->setColumnWidth(5, 77);
  QCOMPARE(window.resizedColumn, 4);
  QCOMPARE(Setting(kSectionGrid, "col5"), std::string("<missing>"));
}

void FleetGridTest::rowsAreDrawnByTheirState() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  window.resize(1600, 1200);
  const QString city = QString::fromStdString(fixture.company().current_city);
  const auto noCity = [&](int row) { return !window.grid->cell(4, row).contains(city); };
  int registered = 0;
  int unregistered = 0;
  for (int row = 1; row < window.grid->rowCount() && (!registered || !unregistered); ++row) {
    if (!noCity(row)) continue;
    if (window.grid->cell(7, row) == QStringLiteral("已注册") && !registered) registered = row;
    if (window.grid->cell(7, row) == QStringLiteral("未注册") && !unregistered) unregistered = row;
  }
  QVERIFY(registered > 1 && unregistered > 1);
  window.grid->selectDataRow(1);
  const QImage image = window.grid->grab().toImage();
  // A point of a cell right of its text: the driver's column is far wider than a name.
  const auto background = [&](int row) {
    const QRect cell = CellRect(window, row, 2);
    return image.pixelColor(cell.right() - 4, cell.center().y());
  };
  QCOMPARE(background(registered), QColor(254, 232, 205));
  QCOMPARE(background(unregistered), QColor(Qt::white));
  // The selected row keeps the selection gradient, registered or not.
  const QRect selected = CellRect(window, 1, 2);
  QVERIFY2(Near(image.pixelColor(selected.right() - 4, selected.top() + 1), QColor(249, 227, 166), 8),
           qPrintable(image.pixelColor(selected.right() - 4, selected.top() + 1).name()));
  QVERIFY(Near(image.pixelColor(selected.right() - 4, selected.bottom() - 1), QColor(206, 154, 49), 8));
  // Text sits 2 pixels from the left and top edges: nothing drawn in the first two columns.
  const QRect text = CellRect(window, unregistered, 0);
  QCOMPARE(CountPixels(image, QRect(text.left(), text.top() + 2, 2, text.height() - 4),
                       [](QColor c) { return c.lightness() < 128; }),
           0);
  QVERIFY(CountPixels(image, QRect(text.left() + 2, text.top() + 2, 30, 16),
                      [](QColor c) { return c.lightness() < 128; }) > 10);
}

void FleetGridTest::cityOfTheSortModeIsRed() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  window.resize(1600, 1200);
  const QString current = QString::fromStdString(fixture.company().current_city);
  const QString seat = QString::fromStdString(fixture.company().seat_city);
  QVERIFY(!current.isEmpty() && !seat.isEmpty() && current != seat);
  const int atCurrent = RowWhere(window, 4, [&](const QString& t) { return t.contains(current); });
  const int atSeat = RowWhere(window, 4, [&](const QString& t) { return t.contains(seat); });
  QVERIFY(atCurrent > 0 && atSeat > 0);
  // Keep the selection away from both rows.
  window.grid->selectDataRow(window.grid->dataRows());
  QVERIFY(window.grid->selectedRow() != atCurrent && window.grid->selectedRow() != atSeat);
  const auto redIn = [&](int row, int column) {
    const QImage image = window.grid->grab().toImage();
    return CountPixels(image, CellRect(window, row, column).adjusted(1, 1, -1, -1), IsRed);
  };
  QVERIFY(redIn(atCurrent, 4) > 20);
  QCOMPARE(redIn(atSeat, 4), 0);
  QCOMPARE(redIn(atCurrent, 3), 0);
  // In the mode "实际所在城市优先" the seat city is the red one.
  window.cb_sort->setCurrentIndex(2);
  QVERIFY(redIn(atSeat, 4) > 20);
  QCOMPARE(redIn(atCurrent, 4), 0);
  // On the selected row nothing is red.
  window.grid->selectDataRow(atSeat);
  QCOMPARE(redIn(atSeat, 4), 0);
}

void FleetGridTest::headerShowsTheSortArrow() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  QHeaderView* header = window.grid->horizontalHeader();
  const auto arrowArea = [&](int column) {
    // Left of the heading text: the shrunk cell's left edge, 5 pixels below its top.
    return QRect(header->sectionViewportPosition(column) + 2, 2 + 5, 16, 16);
  };
  const auto whiteIn = [&](int column) {
    return CountPixels(header->grab().toImage(), arrowArea(column),
                       [](QColor c) { return c.lightness() > 230; });
  };
  const QImage plain = header->grab().toImage();
  QCOMPARE(plain.pixelColor(arrowArea(1).topLeft()), QColor(221, 84, 31));
  QCOMPARE(whiteIn(1), 0);
  ClickHeading(window, 1);
  const int ascending = whiteIn(1);
  QVERIFY(ascending > 10);
  QCOMPARE(whiteIn(0), 0);
  const QImage up = header->grab().toImage().copy(arrowArea(1));
  ClickHeading(window, 1);
  QVERIFY(whiteIn(1) > 10);
  QVERIFY(header->grab().toImage().copy(arrowArea(1)) != up);
  ClickHeading(window, 1);
  QCOMPARE(whiteIn(1), 0);
  // The heading itself is white text 20 pixels right of the shrunk cell.
  // Thin strokes blend with the background, so any clearly lighter pixel counts.
  QVERIFY(CountPixels(plain, QRect(header->sectionViewportPosition(0) + 22, 7, 50, 16),
                      [](QColor c) { return c.green() > 150 && c.blue() > 120; }) > 10);
  QCOMPARE(CountPixels(plain, QRect(header->sectionViewportPosition(0) + 2, 2, 19, 5),
                       [](QColor c) { return c.green() > 150; }),
           0);
}

void FleetGridTest::rightClickSelectsTheRowUnderThePointer() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  window.grid->selectDataRow(1);
  const QRect cell = window.grid->visualRect(window.grid->cells()->index(4, 2));
  SendMouse(window.grid->viewport(), QEvent::MouseButtonPress, Qt::RightButton, cell.center(), Qt::RightButton);
  SendMouse(window.grid->viewport(), QEvent::MouseButtonRelease, Qt::RightButton, cell.center(), Qt::NoButton);
  QCOMPARE(window.grid->selectedRow(), 5);
  // A press below the last row changes nothing.
  window.resize(1600, 1800);
  const QRect last = window.grid->visualRect(window.grid->cells()->index(window.grid->dataRows() - 1, 0));
  SendMouse(window.grid->viewport(), QEvent::MouseButtonPress, Qt::RightButton,
            QPoint(10, last.bottom() + 20), Qt::RightButton);
  QCOMPARE(window.grid->selectedRow(), 5);
}

void FleetGridTest::editorCommandsHandTheVehicleOver() {
  FleetFixture fixture;
  TRecordingFormMain& window = fixture.show();
  QTest::mouseClick(window.btn_new, Qt::LeftButton);
  window.grid->selectDataRow(3);
  QTest::mouseClick(window.btn_edit, Qt::LeftButton);
  window.N4->trigger();
  const QRect cell = window.grid->visualRect(window.grid->cells()->index(6, 1));
  QTest::mouseDClick(window.grid->viewport(), Qt::LeftButton, {}, cell.center());
  QCOMPARE(window.openings.size(), std::size_t(4));
  QCOMPARE(window.openings[0].title, QStringLiteral("新增车辆"));
  QCOMPARE(window.openings[0].mode, 1);
  QVERIFY(window.openings[0].car == nullptr);
  const Korvane::CarPtr third = Korvane::FindCar(window.grid->cell(0, 3).toStdString());
  for (const std::size_t i : {1, 2}) {
    QCOMPARE(window.openings[i].title, QStringLiteral("修改车辆"));
    QCOMPARE(window.openings[i].mode, 2);
    QCOMPARE(window.openings[i].car, third);
  }
  QCOMPARE(window.openings[3].title, QStringLiteral("车辆资料"));
  QCOMPARE(window.openings[3].mode, 3);
  QCOMPARE(window.openings[3].car, Korvane::FindCar(window.grid->cell(0, 7).toStdString()));
  QVERIFY(window.openings[3].car != nullptr);
}

void FleetGridTest::editorCommandsWaitForTheDownload() {
  FleetFixture fixture(1000 - FleetFixture::kDemoVehicles);
  fixture.proxy.holdPage(2);
  TRecordingFormMain& window = fixture.show();
  window.grid->selectDataRow(2);
  QTest::mouseClick(window.btn_new, Qt::LeftButton);
  QTest::mouseClick(window.btn_edit, Qt::LeftButton);
  QCOMPARE(fixture.watcher.shown().size(), std::size_t(2));
  for (const Shown& shown : fixture.watcher.shown())
    QCOMPARE(shown.text, QStringLiteral("系统正在处理数据,请稍候!"));
  // Viewing a vehicle does not wait.
  const QRect cell = window.grid->visualRect(window.grid->cells()->index(1, 0));
  QTest::mouseDClick(window.grid->viewport(), Qt::LeftButton, {}, cell.center());
  QCOMPARE(window.openings.size(), std::size_t(1));
  QCOMPARE(window.openings[0].mode, 3);
}

void FleetGridTest::theBlankRowOpensNothing() {
  FleetFixture fixture;
  fixture.keepVehicles(0);
  TRecordingFormMain& window = fixture.show();
  QTest::mouseDClick(window.grid->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
  window.grid->selectDataRow(1);
  QCOMPARE(window.grid->selectedRow(), 1);
  window.btn_editClick();
  window.gridDblClickCell(0, 0);
  QVERIFY(window.openings.empty());
  window.btn_newClick();
  QCOMPARE(window.openings.size(), std::size_t(1));
}

VANDREL_QTEST_MAIN(FleetGridTest)
#include "FleetGrid_test.moc"
