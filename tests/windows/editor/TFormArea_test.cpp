// The area picker: its table and tree, names and codes, ticking with the mouse and the Space
// key with the cascade through the changing and changed handlers, single-city mode, showing
// with a names text, and closing with OK or by the frame.
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include "BoxAnswers.h"
#include "QtTestMain.h"
#include "app/Forms.h"
#include "app/TFormMsg.h"
#include "windows/editor/TFormArea.h"

namespace {

const QString kZhejiangCities = QStringLiteral(
    "330100,330200,330300,330400,330500,330600,330700,330800,330900,331000,331100");

// Presses and releases the mouse over a node's check box, as a user ticks it.
void ClickCheckBox(TFormArea& picker, QTreeWidgetItem* node) {
  for (QTreeWidgetItem* parent = node->parent(); parent != nullptr; parent = parent->parent())
    parent->setExpanded(true);
  picker.tree->scrollToItem(node);
  const QPoint at = picker.checkBoxRect(node).center();
  QTest::mousePress(picker.tree->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseRelease(picker.tree->viewport(), Qt::LeftButton, {}, at);
}

void ClickCheckBox(TFormArea& picker, const QString& name) {
  QTreeWidgetItem* node = picker.findNode(name);
  QVERIFY2(node != nullptr, qPrintable(name));
  ClickCheckBox(picker, node);
}

// The names of every node in display order whose state is `state`.
QStringList NodesIn(const TFormArea& picker, int state) {
  QStringList names;
  std::function<void(QTreeWidgetItem*)> visit = [&](QTreeWidgetItem* node) {
    if (picker.nodeState(node) == state) names.append(node->text(0));
    for (int i = 0; i < node->childCount(); ++i) visit(node->child(i));
  };
  visit(picker.rootNode());
  return names;
}

// The names of the city lines of a province, in table order.
QStringList CitiesOf(const TFormArea& picker, const QString& provinceCode) {
  QStringList names;
  for (const QString& line : picker.areaList)
    if (line.startsWith(provinceCode.left(2)) && line.mid(2, 2) != QStringLiteral("00"))
      names.append(line.section(QLatin1Char(' '), 1));
  return names;
}

// A picker that writes down every call of its changing and changed handlers and refuses the
// changes of the nodes named in `refuse`.
class RecordingPicker : public TFormArea {
 public:
  QStringList calls;
  QStringList refuse;

 protected:
  bool treeStateChanging(QTreeWidgetItem* node, int newState) override {
    calls.append(QStringLiteral("changing %1 %2").arg(node->text(0)).arg(newState));
    if (refuse.contains(node->text(0))) return false;
    return TFormArea::treeStateChanging(node, newState);
  }
  void treeStateChange(QTreeWidgetItem* node) override {
    calls.append(QStringLiteral("change %1").arg(node->text(0)));
    TFormArea::treeStateChange(node);
  }
};

QStringList Changed(const QString& name, int state) {
  return {QStringLiteral("changing %1 %2").arg(name).arg(state),
          QStringLiteral("change %1").arg(name)};
}

}  // namespace

class TFormAreaTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void theTableHas364LinesIn31Provinces();
  void everyProvinceHasItsCities_data();
  void everyProvinceHasItsCities();
  void isTheDesignedWindow();
  void namesGiveTheirCodes_data();
  void namesGiveTheirCodes();
  void tickingComposesNamesAndCodesAtTheMouseRelease_data();
  void tickingComposesNamesAndCodesAtTheMouseRelease();
  void tickingEveryCityOfAProvinceChecksTheProvince();
  void clickingANameOutsideItsCheckBoxTicksNothing();
  void everyStateChangeGoesThroughTheHandlers_data();
  void everyStateChangeGoesThroughTheHandlers();
  void singleCityModeAcceptsOneCityOnly();
  void openingWithNamesChecksOnlyThoseNodes();
  void openingEmptyClearsTheTreeAndExpandsTheRoot();
  void theSpaceKeyTicksButComposesAtTheNextMouseRelease();
  void okAndTheFramesCloseButtonGiveTheirResults();

 private:
  TFormMsg* box_ = nullptr;
};

void TFormAreaTest::initTestCase() {
  box_ = new TFormMsg;
  FormMsg = box_;
}

void TFormAreaTest::cleanupTestCase() {
  FormMsg = nullptr;
  delete box_;
}

void TFormAreaTest::theTableHas364LinesIn31Provinces() {
  TFormArea picker;
  QCOMPARE(picker.areaList.size(), 364);
  const QRegularExpression shape(QStringLiteral("^\\d{6} \\S+$"));
  QStringList names;
  int provinces = 0;
  QString previous;
  for (const QString& line : picker.areaList) {
    QVERIFY2(shape.match(line).hasMatch(), qPrintable(line));
    QVERIFY2(line.left(6) > previous, qPrintable(line));
    previous = line.left(6);
    if (line.mid(2, 2) == QStringLiteral("00")) {
      QVERIFY2(line.mid(2, 4) == QStringLiteral("0000"), qPrintable(line));
      ++provinces;
    }
    names.append(line.mid(7));
  }
  QCOMPARE(provinces, 31);
  names.removeDuplicates();
  QCOMPARE(names.size(), 364);
  // A second picker shares the same table.
  TFormArea second;
  QCOMPARE(second.areaList, picker.areaList);
}

void TFormAreaTest::everyProvinceHasItsCities_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("code");
  QTest::addColumn<int>("cities");
  QTest::newRow("北京市") << 0 << QStringLiteral("110000") << 0;
  QTest::newRow("天津市") << 1 << QStringLiteral("120000") << 0;
  QTest::newRow("河北省") << 2 << QStringLiteral("130000") << 11;
  QTest::newRow("山西省") << 3 << QStringLiteral("140000") << 11;
  QTest::newRow("内蒙古自治区") << 4 << QStringLiteral("150000") << 12;
  QTest::newRow("辽宁省") << 5 << QStringLiteral("210000") << 14;
  QTest::newRow("吉林省") << 6 << QStringLiteral("220000") << 9;
  QTest::newRow("黑龙江省") << 7 << QStringLiteral("230000") << 13;
  QTest::newRow("上海市") << 8 << QStringLiteral("310000") << 0;
  QTest::newRow("江苏省") << 9 << QStringLiteral("320000") << 13;
  QTest::newRow("浙江省") << 10 << QStringLiteral("330000") << 11;
  QTest::newRow("安徽省") << 11 << QStringLiteral("340000") << 16;
  QTest::newRow("福建省") << 12 << QStringLiteral("350000") << 9;
  QTest::newRow("江西省") << 13 << QStringLiteral("360000") << 11;
  QTest::newRow("山东省") << 14 << QStringLiteral("370000") << 17;
  QTest::newRow("河南省") << 15 << QStringLiteral("410000") << 17;
  QTest::newRow("湖北省") << 16 << QStringLiteral("420000") << 13;
  QTest::newRow("湖南省") << 17 << QStringLiteral("430000") << 14;
  QTest::newRow("广东省") << 18 << QStringLiteral("440000") << 21;
  QTest::newRow("广西壮族自治区") << 19 << QStringLiteral("450000") << 14;
  QTest::newRow("海南省") << 20 << QStringLiteral("460000") << 3;
  QTest::newRow("重庆市") << 21 << QStringLiteral("500000") << 0;
  QTest::newRow("四川省") << 22 << QStringLiteral("510000") << 21;
  QTest::newRow("贵州省") << 23 << QStringLiteral("520000") << 9;
  QTest::newRow("云南省") << 24 << QStringLiteral("530000") << 16;
  QTest::newRow("西藏自治区") << 25 << QStringLiteral("540000") << 7;
  QTest::newRow("陕西省") << 26 << QStringLiteral("610000") << 10;
  QTest::newRow("甘肃省") << 27 << QStringLiteral("620000") << 14;
  QTest::newRow("青海省") << 28 << QStringLiteral("630000") << 8;
  QTest::newRow("宁夏回族自治区") << 29 << QStringLiteral("640000") << 5;
  QTest::newRow("新疆维吾尔自治区") << 30 << QStringLiteral("650000") << 14;
}

void TFormAreaTest::everyProvinceHasItsCities() {
  QFETCH(int, index);
  QFETCH(QString, code);
  QFETCH(int, cities);
  const QString name = QString::fromUtf8(QTest::currentDataTag());
  TFormArea picker;
  QTreeWidgetItem* root = picker.rootNode();
  QCOMPARE(picker.tree->topLevelItemCount(), 1);
  QCOMPARE(root->text(0), QStringLiteral("全国"));
  QCOMPARE(root->childCount(), 31);
  QTreeWidgetItem* province = root->child(index);
  QCOMPARE(province->text(0), name);
  QVERIFY(picker.areaList.contains(code + QLatin1Char(' ') + name));
  const QStringList tableCities = CitiesOf(picker, code);
  QCOMPARE(tableCities.size(), cities);
  QCOMPARE(province->childCount(), cities);
  for (int i = 0; i < cities; ++i) {
    QCOMPARE(province->child(i)->text(0), tableCities[i]);
    QCOMPARE(province->child(i)->childCount(), 0);
  }
}

void TFormAreaTest::isTheDesignedWindow() {
  TFormArea picker;
  QCOMPARE(picker.windowTitle(), QStringLiteral("地区列表"));
  QCOMPARE(picker.size(), QSize(324, 456));
  QCOMPARE(picker.Panel_top->height(), 29);
  QVERIFY(picker.Img_min->isHidden());
  QCOMPARE(picker.Panel1->parentWidget(), picker.Panel_main);
  QCOMPARE(picker.tree->geometry().topLeft(), QPoint(0, 0));
  QCOMPARE(picker.tree->height(), 353);
  QCOMPARE(picker.tree->indentation(), 19);
  QCOMPARE(picker.Label1->text(), QStringLiteral("所选地区:"));
  QCOMPARE(picker.Label1->pos(), QPoint(8, 367));
  QCOMPARE(picker.txt_area->geometry(), QRect(80, 363, 227, 21));
  QCOMPARE(picker.AdvGlowButton1->text(), QStringLiteral("确定"));
  QCOMPARE(picker.AdvGlowButton1->geometry(), QRect(256, 392, 52, 20));
  QVERIFY(!picker.onlyOneCity);
  QCOMPARE(NodesIn(picker, TFormArea::csUnchecked).size(), 365);
}

void TFormAreaTest::namesGiveTheirCodes_data() {
  QTest::addColumn<QString>("names");
  QTest::addColumn<QString>("codes");
  QTest::newRow("a province gives its cities") << "浙江省" << kZhejiangCities;
  QTest::newRow("a municipality and a city") << "北京市,杭州市" << "110000,330100";
  QTest::newRow("the whole country") << "全国" << "";
  QTest::newRow("nothing") << "" << "";
  QTest::newRow("an unknown name leaves its place empty")
      << "杭州市,未知城市,广州市" << "330100,,440100";
  QTest::newRow("the four municipalities") << "北京市,天津市,上海市,重庆市"
                                           << "110000,120000,310000,500000";
  QTest::newRow("a city listed out of step") << "兴安盟" << "152200";
  QTest::newRow("a province with three cities") << "海南省" << "460100,460200,460300";
  QTest::newRow("the country inside a list is no name") << "全国,杭州市" << ",330100";
  QTest::newRow("a blank item") << "杭州市," << "330100,";
}

void TFormAreaTest::namesGiveTheirCodes() {
  QFETCH(QString, names);
  QFETCH(QString, codes);
  TFormArea picker;
  QCOMPARE(picker.getAreaCodes(names), codes);
}

void TFormAreaTest::tickingComposesNamesAndCodesAtTheMouseRelease_data() {
  QTest::addColumn<QStringList>("clicks");
  QTest::addColumn<QString>("names");
  QTest::addColumn<QString>("codes");
  QTest::addColumn<QStringList>("checked");
  QTest::addColumn<QStringList>("partly");
  QStringList zhejiang{QStringLiteral("浙江省")};
  {
    TFormArea picker;
    zhejiang += CitiesOf(picker, QStringLiteral("330000"));
  }
  QTest::newRow("浙江省") << QStringList{"浙江省"} << "浙江省" << kZhejiangCities << zhejiang
                         << QStringList{"全国"};
  QTest::newRow("北京市 and 杭州市")
      << QStringList{"北京市", "杭州市"} << "北京市,杭州市" << "110000,330100"
      << QStringList{"北京市", "杭州市"} << QStringList{"全国", "浙江省"};
  QTest::newRow("ticked twice") << QStringList{"杭州市", "杭州市"} << "" << "" << QStringList{}
                                << QStringList{};
  QStringList rest = zhejiang.mid(2);
  QTest::newRow("a province, then one city off")
      << QStringList{"浙江省", "杭州市"} << rest.join(QLatin1Char(','))
      << kZhejiangCities.mid(7) << QStringList(rest) << QStringList{"全国", "浙江省"};
  QTest::newRow("a partly checked province becomes checked")
      << QStringList{"杭州市", "浙江省"} << "浙江省" << kZhejiangCities << zhejiang
      << QStringList{"全国"};
}

void TFormAreaTest::tickingComposesNamesAndCodesAtTheMouseRelease() {
  QFETCH(QStringList, clicks);
  QFETCH(QString, names);
  QFETCH(QString, codes);
  QFETCH(QStringList, checked);
  QFETCH(QStringList, partly);
  TFormArea picker;
  picker.show();
  QVERIFY(QTest::qWaitForWindowExposed(&picker));
  BoxAnswers answers;
  for (const QString& click : clicks) ClickCheckBox(picker, click);
  QCOMPARE(picker.txt_area->text(), names);
  QCOMPARE(picker.txt_area->hiddenValue(), codes);
  QCOMPARE(NodesIn(picker, TFormArea::csChecked), checked);
  QCOMPARE(NodesIn(picker, TFormArea::csPartlyChecked), partly);
  QCOMPARE(answers.boxes().size(), 0);
}

void TFormAreaTest::tickingEveryCityOfAProvinceChecksTheProvince() {
  TFormArea picker;
  picker.show();
  QVERIFY(QTest::qWaitForWindowExposed(&picker));
  ClickCheckBox(picker, QStringLiteral("北京市"));
  const QStringList cities = CitiesOf(picker, QStringLiteral("330000"));
  for (int i = 0; i < cities.size(); ++i) {
    ClickCheckBox(picker, cities[i]);
    const bool all = i + 1 == cities.size();
    QCOMPARE(picker.nodeState(picker.findNode(QStringLiteral("浙江省"))),
             all ? int(TFormArea::csChecked) : int(TFormArea::csPartlyChecked));
    QCOMPARE(picker.txt_area->text(),
             QStringLiteral("北京市,") + (all ? QStringLiteral("浙江省")
                                             : cities.mid(0, i + 1).join(QLatin1Char(','))));
  }
  QCOMPARE(picker.txt_area->hiddenValue(), QStringLiteral("110000,") + kZhejiangCities);
  QCOMPARE(picker.nodeState(picker.rootNode()), int(TFormArea::csPartlyChecked));

  // Ticking the country checks every node and gives "全国" without codes.
  ClickCheckBox(picker, picker.rootNode());
  QCOMPARE(NodesIn(picker, TFormArea::csChecked).size(), 365);
  QCOMPARE(picker.txt_area->text(), QStringLiteral("全国"));
  QCOMPARE(picker.txt_area->hiddenValue(), QString());
  // Unticking one province of the full country gives the thirty others.
  ClickCheckBox(picker, QStringLiteral("浙江省"));
  QStringList others;
  for (int i = 0; i < picker.rootNode()->childCount(); ++i)
    if (picker.rootNode()->child(i)->text(0) != QStringLiteral("浙江省"))
      others.append(picker.rootNode()->child(i)->text(0));
  QCOMPARE(picker.txt_area->text(), others.join(QLatin1Char(',')));
}

void TFormAreaTest::clickingANameOutsideItsCheckBoxTicksNothing() {
  TFormArea picker;
  picker.show();
  QVERIFY(QTest::qWaitForWindowExposed(&picker));
  QTreeWidgetItem* node = picker.findNode(QStringLiteral("浙江省"));
  picker.tree->scrollToItem(node);
  const QRect item = picker.tree->visualItemRect(node);
  const QRect box = picker.checkBoxRect(node);
  QVERIFY(!box.isEmpty());
  QVERIFY(item.contains(box));
  const QPoint text(box.right() + 30, item.center().y());
  QTest::mouseClick(picker.tree->viewport(), Qt::LeftButton, {}, text);
  QCOMPARE(picker.tree->currentItem(), node);
  QCOMPARE(picker.nodeState(node), int(TFormArea::csUnchecked));
  QCOMPARE(picker.txt_area->text(), QString());
}

void TFormAreaTest::everyStateChangeGoesThroughTheHandlers_data() {
  QTest::addColumn<QString>("click");
  QTest::addColumn<QStringList>("refuse");
  QTest::addColumn<QStringList>("calls");
  QTest::addColumn<QStringList>("checked");
  TFormArea table;
  const QStringList cities = CitiesOf(table, QStringLiteral("330000"));

  QStringList cityCalls;
  for (const QString& city : cities) cityCalls += Changed(city, 2);
  QTest::newRow("a city and its two ancestors")
      << "杭州市" << QStringList{}
      << Changed("杭州市", 2) + Changed("浙江省", 3) + Changed("全国", 3)
      << QStringList{"杭州市"};
  QTest::newRow("a province, each city, then the country")
      << "浙江省" << QStringList{} << Changed("浙江省", 2) + cityCalls + Changed("全国", 3)
      << QStringList{"浙江省"} + cities;

  QStringList refusedCalls;
  for (const QString& city : cities)
    refusedCalls += city == QStringLiteral("宁波市")
                        ? QStringList{QStringLiteral("changing 宁波市 2")}
                        : Changed(city, 2);
  QStringList checkedCities = cities;
  checkedCities.removeAll(QStringLiteral("宁波市"));
  QTest::newRow("a refused city keeps its state; the province is recomputed")
      << "浙江省" << QStringList{"宁波市"}
      << Changed("浙江省", 2) + refusedCalls + Changed("浙江省", 3) + Changed("全国", 3)
      << checkedCities;
  QTest::newRow("a refused click changes nothing")
      << "浙江省" << QStringList{"浙江省"} << QStringList{"changing 浙江省 2"}
      << QStringList{};
  QTest::newRow("a refused ancestor keeps its state")
      << "北京市" << QStringList{"全国"}
      << Changed("北京市", 2) + QStringList{"changing 全国 3"} << QStringList{"北京市"};
}

void TFormAreaTest::everyStateChangeGoesThroughTheHandlers() {
  QFETCH(QString, click);
  QFETCH(QStringList, refuse);
  QFETCH(QStringList, calls);
  QFETCH(QStringList, checked);
  RecordingPicker picker;
  picker.refuse = refuse;
  picker.show();
  QVERIFY(QTest::qWaitForWindowExposed(&picker));
  ClickCheckBox(picker, click);
  QCOMPARE(picker.calls, calls);
  QCOMPARE(NodesIn(picker, TFormArea::csChecked), checked);
}

void TFormAreaTest::singleCityModeAcceptsOneCityOnly() {
  TFormArea picker;
  picker.onlyOneCity = true;
  picker.show();
  QVERIFY(QTest::qWaitForWindowExposed(&picker));
  BoxAnswers answers;

  ClickCheckBox(picker, QStringLiteral("浙江省"));
  QCOMPARE(answers.boxes().size(), 1);
  QCOMPARE(answers.boxes()[0].caption, QStringLiteral("提示"));
  QCOMPARE(answers.boxes()[0].text, QStringLiteral("[浙江省]不是一个城市!"));
  QCOMPARE(answers.boxes()[0].button, QStringLiteral("确认"));
  QCOMPARE(NodesIn(picker, TFormArea::csUnchecked).size(), 365);

  ClickCheckBox(picker, picker.rootNode());
  QCOMPARE(answers.boxes().size(), 2);
  QCOMPARE(answers.boxes()[1].text, QStringLiteral("[全国]不是一个城市!"));

  ClickCheckBox(picker, QStringLiteral("杭州市"));
  QCOMPARE(answers.boxes().size(), 2);
  QCOMPARE(picker.txt_area->text(), QStringLiteral("杭州市"));
  QCOMPARE(picker.txt_area->hiddenValue(), QStringLiteral("330100"));

  ClickCheckBox(picker, QStringLiteral("宁波市"));
  QCOMPARE(answers.boxes().size(), 3);
  QCOMPARE(answers.boxes()[2].caption, QStringLiteral("提示"));
  QCOMPARE(answers.boxes()[2].text, AsShown(QStringLiteral(
                                        "您已经选择了[杭州市]\r\n\r\n所在地只能选择一个城市!")));
  QCOMPARE(NodesIn(picker, TFormArea::csChecked), QStringList{"杭州市"});
  QCOMPARE(picker.txt_area->text(), QStringLiteral("杭州市"));

  // Unticking is always allowed; then a municipality counts as one city.
  ClickCheckBox(picker, QStringLiteral("杭州市"));
  ClickCheckBox(picker, QStringLiteral("上海市"));
  QCOMPARE(answers.boxes().size(), 3);
  QCOMPARE(picker.txt_area->text(), QStringLiteral("上海市"));
  QCOMPARE(picker.txt_area->hiddenValue(), QStringLiteral("310000"));
  QCOMPARE(NodesIn(picker, TFormArea::csChecked), QStringList{"上海市"});
}

void TFormAreaTest::openingWithNamesChecksOnlyThoseNodes() {
  TFormArea picker;
  picker.txt_area->setText(QStringLiteral("浙江省,未知城市,广州市"));
  picker.show();
  QVERIFY(QTest::qWaitForWindowExposed(&picker));
  QCOMPARE(NodesIn(picker, TFormArea::csChecked), (QStringList{"浙江省", "广州市"}));
  QCOMPARE(NodesIn(picker, TFormArea::csPartlyChecked), QStringList{});
  QCOMPARE(picker.tree->currentItem(), picker.findNode(QStringLiteral("广州市")));
  QCOMPARE(picker.txt_area->text(), QStringLiteral("浙江省,未知城市,广州市"));
  // The tree gives the province by its name, not its cities.
  QCOMPARE(picker.getCheckedNames(picker.rootNode()), QStringLiteral("浙江省,广州市,"));
  QCOMPARE(picker.getCheckedNames(picker.findNode(QStringLiteral("广东省"))),
           QStringLiteral("广州市,"));
}

void TFormAreaTest::openingEmptyClearsTheTreeAndExpandsTheRoot() {
  TFormArea picker;
  picker.show();
  QVERIFY(QTest::qWaitForWindowExposed(&picker));
  ClickCheckBox(picker, QStringLiteral("浙江省"));
  picker.hide();
  // A picker kept between uses keeps its states while its names are not empty...
  picker.show();
  QCOMPARE(NodesIn(picker, TFormArea::csChecked).size(), 12);
  picker.hide();
  // ...and starts from nothing when they are.
  picker.rootNode()->setExpanded(false);
  picker.txt_area->clear();
  picker.show();
  QCOMPARE(NodesIn(picker, TFormArea::csUnchecked).size(), 365);
  QVERIFY(picker.rootNode()->isExpanded());
  QVERIFY(!picker.findNode(QStringLiteral("浙江省"))->isExpanded());
}

void TFormAreaTest::theSpaceKeyTicksButComposesAtTheNextMouseRelease() {
  TFormArea picker;
  picker.show();
  QVERIFY(QTest::qWaitForWindowExposed(&picker));
  QTreeWidgetItem* hangzhou = picker.findNode(QStringLiteral("杭州市"));
  hangzhou->parent()->setExpanded(true);
  picker.tree->setCurrentItem(hangzhou);
  picker.tree->setFocus();
  QTest::keyClick(picker.tree, Qt::Key_Space);
  QCOMPARE(picker.nodeState(hangzhou), int(TFormArea::csChecked));
  QCOMPARE(picker.nodeState(hangzhou->parent()), int(TFormArea::csPartlyChecked));
  QCOMPARE(picker.txt_area->text(), QString());
  QTest::keyClick(picker.tree, Qt::Key_Down);
  QTest::keyClick(picker.tree, Qt::Key_Space);
  QCOMPARE(picker.txt_area->text(), QString());
  // The next mouse release over the tree composes both.
  const QPoint name = picker.tree->visualItemRect(hangzhou).center() + QPoint(20, 0);
  QTest::mouseClick(picker.tree->viewport(), Qt::LeftButton, {}, name);
  QCOMPARE(picker.txt_area->text(), QStringLiteral("杭州市,宁波市"));
  QCOMPARE(picker.txt_area->hiddenValue(), QStringLiteral("330100,330200"));
  // A release without a change leaves a typed text alone.
  picker.txt_area->setText(QStringLiteral("typed"));
  QTest::mouseClick(picker.tree->viewport(), Qt::LeftButton, {}, name);
  QCOMPARE(picker.txt_area->text(), QStringLiteral("typed"));
}

void TFormAreaTest::okAndTheFramesCloseButtonGiveTheirResults() {
  struct Case {
    const char* how;
    int result;
  };
  for (const Case& c : {Case{"ok", TFormBase::mrOk}, Case{"close", TFormBase::mrCancel}}) {
    TFormArea picker;
    QTimer::singleShot(0, &picker, [&picker, how = QByteArray(c.how)] {
      QTRY_VERIFY(picker.isVisible());
      ClickCheckBox(picker, QStringLiteral("杭州市"));
      if (how == "ok")
        QTest::mouseClick(picker.AdvGlowButton1, Qt::LeftButton);
      else
        QTest::mouseClick(picker.Img_close, Qt::LeftButton, {}, QPoint(5, 5));
    });
    QCOMPARE(picker.exec(), c.result);
    QVERIFY(!picker.isVisible());
    QCOMPARE(picker.txt_area->text(), QStringLiteral("杭州市"));
  }
}

VANDREL_QTEST_MAIN(TFormAreaTest)
#include "TFormArea_test.moc"
