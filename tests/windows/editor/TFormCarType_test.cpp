// The vehicle-type picker: its catalogue and layout, the one-box-per-group rule, opening with
// codes, the record it gives back, its results, and turning codes into captions.
#include <QCheckBox>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include <functional>

#include "QtTestMain.h"
#include "windows/editor/TFormCarType.h"

namespace {

// Runs `step` inside the picker's modal loop, as soon as it is on screen.
void WhenShown(TFormCarType& picker, std::function<void()> step) {
  QTimer::singleShot(0, &picker, [&picker, step] {
    QTRY_VERIFY(picker.isVisible());
    step();
  });
}

// "code caption" of every box of a group, in display order, joined by blanks.
QString GroupListing(const TFormCarType& picker, int group) {
  QStringList entries;
  for (const QCheckBox* box : picker.groupBoxes(group))
    entries << box->objectName() + QLatin1Char(' ') + box->text();
  return entries.join(QLatin1Char(' '));
}

// The names of the checked boxes of all groups.
QStringList Checked(const TFormCarType& picker) {
  QStringList names;
  for (int group = 1; group <= TFormCarType::kGroups; ++group)
    for (const QCheckBox* box : picker.groupBoxes(group))
      if (box->isChecked()) names << box->objectName();
  return names;
}

QCheckBox* Box(TFormCarType& picker, const QString& code) {
  return picker.findChild<QCheckBox*>(code);
}

// Opens the picker with `codes` and reads the checked boxes while it shows, then gives OK.
QStringList CheckedWhenOpenedWith(TFormCarType& picker, const QString& codes) {
  QStringList seen;
  WhenShown(picker, [&] {
    seen = Checked(picker);
    QTest::mouseClick(picker.btn_OK, Qt::LeftButton);
  });
  picker.showCarType(TCarType{QStringLiteral("ignored"), codes});
  return seen;
}

}  // namespace

class TFormCarTypeTest : public QObject {
  Q_OBJECT

 private slots:
  void catalogueHoldsTheFourGroupsInDisplayOrder();
  void groupsAndBoxesHaveTheirPlaces();
  void windowIsACompactFrameWithoutMinimiseButton();
  void openingChecksTheBoxesOfTheFourCodes_data();
  void openingChecksTheBoxesOfTheFourCodes();
  void openingKeepsGroupsWithoutACode();
  void checkingABoxUnchecksTheOthersOfItsGroup();
  void getCarTypeJoinsCaptionsAndCodes_data();
  void getCarTypeJoinsCaptionsAndCodes();
  void resultsOfTheWaysToClose_data();
  void resultsOfTheWaysToClose();
  void captionsOfCodes_data();
  void captionsOfCodes();
  void catalogueCaptionAgreesWithEveryBox();
};

void TFormCarTypeTest::catalogueHoldsTheFourGroupsInDisplayOrder() {
  TFormCarType picker;
  QCOMPARE(GroupListing(picker, 1),
           QStringLiteral("CM1_01 半挂一拖二 CM1_02 半挂一拖三 CM1_03 半挂二拖二 CM1_04 半挂二拖三 "
                          "CM1_05 前四后四半挂 CM1_06 前四后四 CM1_07 前四后六 CM1_08 前四后八 "
                          "CM1_09 前四后十 CM1_10 后八轮 CM1_11 五轮车 CM1_12 单桥 CM1_13 双桥 "
                          "CM1_14 四桥 CM1_15 五桥 CM1_16 六桥 CM1_17 七桥 CM1_18 八桥 CM1_19 九桥 "
                          "CM1_20 全挂 CM1_99 其他"));
  QCOMPARE(GroupListing(picker, 2),
           QStringLiteral("CM2_01 普通 CM2_02 平板 CM2_03 高低平板 CM2_04 厢式 CM2_05 封闭 "
                          "CM2_06 开顶厢 CM2_07 灌式 CM2_08 集装箱 CM2_09 自卸 CM2_10 高栏 "
                          "CM2_11 轴线板 CM2_12 满轮车 CM2_13 框架板 CM2_14 高低高板 CM2_15 抽拉板 "
                          "CM2_16 簸箕板 CM2_17 超低板 CM2_18 笼子车 CM2_19 叶片车 CM2_99 其他"));
  QCOMPARE(GroupListing(picker, 3),
           QStringLiteral("CM3_01 冷藏车 CM3_02 危险品车 CM3_03 邮政车 CM3_04 棉被车 CM3_05 起重车 "
                          "CM3_06 搅拌机 CM3_07 推土机 CM3_08 装载机 CM3_09 挖掘机 CM3_10 平地机 "
                          "CM3_11 压路机 CM3_12 爬梯车 CM3_13 随车吊 CM3_14 汽车吊 CM3_15 大件车 "
                          "CM3_16 罐体专用车 CM3_99 其他"));
  QCOMPARE(GroupListing(picker, 4),
           QStringLiteral("CM4_01 中国重汽 CM4_02 一汽解放 CM4_03 东风商用车 CM4_04 东风柳汽 "
                          "CM4_05 东风日产(柴) CM4_06 陕西重汽 CM4_07 北汽福田 CM4_08 依维柯 "
                          "CM4_09 重庆重汽 CM4_10 北方奔驰 CM4_11 江淮格尔发 CM4_12 安徽华菱 "
                          "CM4_13 湖北三环 CM4_14 福建新龙马 CM4_15 精功镇江 CM4_16 春兰卡车 "
                          "CM4_17 上海汇众 CM4_18 金华青年曼 CM4_19 洛阳福德 CM4_20 南汽凌野 "
                          "CM4_21 瑞典沃尔沃 CM4_22 法国雷诺 CM4_23 德国曼 CM4_24 德国奔驰 "
                          "CM4_25 瑞典斯堪尼亚 CM4_26 日本五十铃 CM4_27 日本日野 CM4_99 其他品牌"));
}

void TFormCarTypeTest::groupsAndBoxesHaveTheirPlaces() {
  TFormCarType picker;
  const QWidget* panels[] = {picker.RzPanel5, picker.RzPanel6, picker.RzPanel7, picker.RzPanel8};
  const int widths[] = {121, 121, 121, 241};
  for (int group = 1; group <= TFormCarType::kGroups; ++group) {
    const QWidget* panel = panels[group - 1];
    QVERIFY(panel != nullptr);
    QCOMPARE(panel->width(), widths[group - 1]);
    if (group > 1) {
      // Side by side, each header above its group.
      QCOMPARE(panel->x(), panels[group - 2]->x() + panels[group - 2]->width());
      QCOMPARE(panel->y(), panels[0]->y());
    }
    const auto& boxes = picker.groupBoxes(group);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      QCOMPARE(boxes[i]->parentWidget(), panel);
      const bool right = group == 4 && i >= 21;
      const int row = static_cast<int>(right ? i - 21 : i);
      QCOMPARE(boxes[i]->pos(), QPoint(right ? 128 : 16, 16 + 16 * row));
    }
  }
  const auto* header = picker.findChild<QLabel*>(QStringLiteral("RzPanel1"));
  QVERIFY(header != nullptr);
  QCOMPARE(header->height(), 33);
  QCOMPARE(header->y() + header->height(), picker.RzPanel5->y());
  QVERIFY(header->text().contains(QStringLiteral("拖挂及轮轴")));
  QVERIFY(header->text().contains(QStringLiteral("#FF0000\">*")));
  const auto* third = picker.findChild<QLabel*>(QStringLiteral("RzPanel3"));
  QCOMPARE(third->text(), QStringLiteral("特殊功能"));
  QCOMPARE(picker.btn_OK->text(), QStringLiteral("确定"));
  QCOMPARE(picker.btn_OK->pos(), QPoint(194, 415));
  QCOMPARE(picker.btn_cancel->text(), QStringLiteral("放弃"));
  QCOMPARE(picker.btn_cancel->pos(), QPoint(338, 415));
  QVERIFY(picker.RzPanel5->y() + picker.RzPanel5->height() <= 415);
}

void TFormCarTypeTest::windowIsACompactFrameWithoutMinimiseButton() {
  TFormCarType picker;
  QCOMPARE(picker.windowTitle(), QStringLiteral("车型录入"));
  QCOMPARE(picker.Label_title->text(), QStringLiteral("车型录入"));
  QCOMPARE(picker.size(), QSize(610, 491));
  QCOMPARE(picker.Panel_top->height(), 29);
  QVERIFY(picker.Img_min->isHidden());
  QCOMPARE(picker.position(), TFormBase::TPosition::poMainFormCenter);
  QCOMPARE(picker.Panel_main->palette().color(QPalette::Window), QColor(213, 219, 205));
  QVERIFY(Checked(picker).isEmpty());
}

void TFormCarTypeTest::openingChecksTheBoxesOfTheFourCodes_data() {
  QTest::addColumn<QString>("codes");
  QTest::addColumn<QStringList>("checked");
  QTest::newRow("two codes, two empty items") << "CM1_03,CM2_01,," << QStringList{"CM1_03", "CM2_01"};
  QTest::newRow("all four") << "CM1_99,CM2_19,CM3_16,CM4_27"
                            << QStringList{"CM1_99", "CM2_19", "CM3_16", "CM4_27"};
  QTest::newRow("only group 4") << ",,,CM4_22" << QStringList{"CM4_22"};
  QTest::newRow("nothing") << ",,," << QStringList{};
  QTest::newRow("two items") << "CM1_03,CM2_01" << QStringList{};
  QTest::newRow("five items") << "CM1_03,CM2_01,,," << QStringList{};
  QTest::newRow("empty text") << "" << QStringList{};
  QTest::newRow("unknown code checks nothing in its group")
      << "CM1_77,CM2_01,," << QStringList{"CM2_01"};
  QTest::newRow("code of another group") << "CM2_01,CM1_03,," << QStringList{};
  QTest::newRow("case counts") << "cm1_03,,," << QStringList{};
}

void TFormCarTypeTest::openingChecksTheBoxesOfTheFourCodes() {
  QFETCH(QString, codes);
  QFETCH(QStringList, checked);
  TFormCarType picker;
  QCOMPARE(CheckedWhenOpenedWith(picker, codes), checked);
}

void TFormCarTypeTest::openingKeepsGroupsWithoutACode() {
  // The shared picker keeps its boxes between uses; a code replaces its group's choice only.
  TFormCarType picker;
  QCOMPARE(CheckedWhenOpenedWith(picker, QStringLiteral("CM1_01,CM2_02,CM3_05,")),
           (QStringList{"CM1_01", "CM2_02", "CM3_05"}));
  QCOMPARE(CheckedWhenOpenedWith(picker, QStringLiteral("CM1_20,,,CM4_08")),
           (QStringList{"CM1_20", "CM2_02", "CM3_05", "CM4_08"}));
  QCOMPARE(CheckedWhenOpenedWith(picker, QString()),
           (QStringList{"CM1_20", "CM2_02", "CM3_05", "CM4_08"}));
}

void TFormCarTypeTest::checkingABoxUnchecksTheOthersOfItsGroup() {
  TFormCarType picker;
  picker.show();
  QVERIFY(QTest::qWaitForWindowExposed(&picker));
  const auto click = [&picker](const char* code) {
    QCheckBox* box = Box(picker, QString::fromLatin1(code));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  };
  click("CM2_01");
  click("CM1_05");
  QCOMPARE(Checked(picker), (QStringList{"CM1_05", "CM2_01"}));
  click("CM2_02");
  QCOMPARE(Checked(picker), (QStringList{"CM1_05", "CM2_02"}));
  click("CM4_25");
  click("CM4_03");
  QCOMPARE(Checked(picker), (QStringList{"CM1_05", "CM2_02", "CM4_03"}));
  // A second click on a checked box leaves its group empty.
  click("CM2_02");
  QCOMPARE(Checked(picker), (QStringList{"CM1_05", "CM4_03"}));
  picker.hide();
}

void TFormCarTypeTest::getCarTypeJoinsCaptionsAndCodes_data() {
  QTest::addColumn<QStringList>("check");
  QTest::addColumn<QString>("names");
  QTest::addColumn<QString>("codes");
  QTest::newRow("nothing") << QStringList{} << "" << ",,,";
  QTest::newRow("groups 2 and 4") << QStringList{"CM2_01", "CM4_01"} << "普通,中国重汽"
                                  << ",CM2_01,,CM4_01";
  QTest::newRow("all four") << QStringList{"CM1_08", "CM2_04", "CM3_01", "CM4_05"}
                            << "前四后八,厢式,冷藏车,东风日产(柴)" << "CM1_08,CM2_04,CM3_01,CM4_05";
  QTest::newRow("group 1 only") << QStringList{"CM1_99"} << "其他" << "CM1_99,,,";
  QTest::newRow("group 3 only") << QStringList{"CM3_16"} << "罐体专用车" << ",,CM3_16,";
  QTest::newRow("a group's last box wins") << QStringList{"CM2_01", "CM2_18"} << "笼子车"
                                           << ",CM2_18,,";
}

void TFormCarTypeTest::getCarTypeJoinsCaptionsAndCodes() {
  QFETCH(QStringList, check);
  QFETCH(QString, names);
  QFETCH(QString, codes);
  TFormCarType picker;
  for (const QString& code : check) Box(picker, code)->setChecked(true);
  const TCarType type = picker.getCarType();
  QCOMPARE(type.names, names);
  QCOMPARE(type.codes, codes);
}

void TFormCarTypeTest::resultsOfTheWaysToClose_data() {
  QTest::addColumn<QString>("way");
  QTest::addColumn<int>("result");
  QTest::newRow("确定") << "btn_OK" << 1;
  QTest::newRow("放弃") << "btn_cancel" << 2;
  QTest::newRow("title-bar close button") << "Img_close" << 2;
  QTest::newRow("Esc") << "Esc" << 2;
}

void TFormCarTypeTest::resultsOfTheWaysToClose() {
  QFETCH(QString, way);
  QFETCH(int, result);
  TFormCarType picker;
  WhenShown(picker, [&] {
    // A box checked while the picker shows stays checked whatever the result.
    Box(picker, QStringLiteral("CM3_02"))->setChecked(true);
    if (way == QStringLiteral("Esc"))
      QTest::keyClick(&picker, Qt::Key_Escape);
    else
      QTest::mouseClick(picker.findChild<QWidget*>(way), Qt::LeftButton, {}, QPoint(5, 5));
  });
  QCOMPARE(picker.showCarType(TCarType{{}, QStringLiteral("CM1_01,,,")}), result);
  QVERIFY(!picker.isVisible());
  QCOMPARE(picker.getCarType().codes, QStringLiteral("CM1_01,,CM3_02,"));
}

void TFormCarTypeTest::captionsOfCodes_data() {
  QTest::addColumn<QString>("code");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<int>("group");
  QTest::newRow("group 1") << "CM1_05" << "前四后四半挂" << 1;
  QTest::newRow("group 2, last") << "CM2_99" << "其他" << 2;
  QTest::newRow("group 3") << "CM3_16" << "罐体专用车" << 3;
  QTest::newRow("group 4, right column") << "CM4_99" << "其他品牌" << 4;
  QTest::newRow("empty") << "" << "" << 0;
  QTest::newRow("unknown") << "CM1_21" << "" << 0;
  QTest::newRow("lower case") << "cm1_05" << "" << 0;
  QTest::newRow("trailing blank") << "CM1_05 " << "" << 0;
}

void TFormCarTypeTest::captionsOfCodes() {
  QFETCH(QString, code);
  QFETCH(QString, caption);
  QFETCH(int, group);
  TFormCarType picker;
  QCOMPARE(picker.getCaption(code), caption);
  QCOMPARE(QString::fromUtf8(TFormCarType::CatalogueCaption(code.toStdString())), caption);
  for (int other = 1; other <= TFormCarType::kGroups; ++other)
    QCOMPARE(picker.findCaption(other, code), other == group ? caption : QString());
}

void TFormCarTypeTest::catalogueCaptionAgreesWithEveryBox() {
  TFormCarType picker;
  int boxes = 0;
  for (int group = 1; group <= TFormCarType::kGroups; ++group)
    for (const QCheckBox* box : picker.groupBoxes(group)) {
      ++boxes;
      QCOMPARE(QString::fromUtf8(TFormCarType::CatalogueCaption(box->objectName().toStdString())),
               box->text());
    }
  QCOMPARE(boxes, 21 + 20 + 17 + 28);
}

VANDREL_QTEST_MAIN(TFormCarTypeTest)
#include "TFormCarType_test.moc"
