// The texts of the fleet window that come straight from records: the cells of a vehicle's
// row and the status-bar texts of the session record.
#include <QTest>

#include "QtTestMain.h"
#include "windows/fleet/CompanyPanels.h"
#include "windows/fleet/VehicleCells.h"

using fleet::CarCellText;

namespace {

Korvane::TCar SampleCar() {
  Korvane::TCar car;
  car.plate_number = "浙A12345";
  car.locate_number = "13800001111";
  car.driver_name = "王建国";
  car.model_1 = "CM1_08";
  car.model_2 = "CM2_04";
  car.length = "9.6";
  car.tonnage = "30";
  car.location = "浙江省,杭州市,西湖区";
  car.located_time = "2013-03-13 20:40:12";
  car.expected_flow = "江苏省,南京市,上海市";
  car.locate_status = "1";
  car.description = "常跑长三角";
  return car;
}

}  // namespace

class RowTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void vehicleInformationText_data();
  void vehicleInformationText();
  void cellsOfAVehicle_data();
  void cellsOfAVehicle();
  void withoutMembershipPositionAndTimeGiveWay();
  void membershipText_data();
  void membershipText();
  void dealerLine_data();
  void dealerLine();
  void generalNumber_data();
  void generalNumber();
};

void RowTextsTest::vehicleInformationText_data() {
  QTest::addColumn<QStringList>("models");  // model_1 .. model_4
  QTest::addColumn<QString>("length");
  QTest::addColumn<QString>("tonnage");
  QTest::addColumn<QString>("text");
  QTest::newRow("two types, length, tonnage")
      << QStringList{"CM1_08", "CM2_04", "", ""} << "9.6" << "30" << "前四后八,厢式,9.6米,30吨";
  QTest::newRow("tonnage alone") << QStringList{"", "", "", ""} << "" << "30" << "30吨";
  QTest::newRow("nothing") << QStringList{"", "", "", ""} << "" << "" << "";
  QTest::newRow("four types") << QStringList{"CM1_01", "CM2_01", "CM3_01", "CM4_99"} << "" << ""
                              << "半挂一拖二,普通,冷藏车,其他品牌";
  QTest::newRow("only group 3 and length") << QStringList{"", "", "CM3_15", ""} << "17.5" << ""
                                           << "大件车,17.5米";
  // An unknown code after the first still adds its separator, with an empty caption.
  QTest::newRow("unknown code later") << QStringList{"CM1_08", "CM2_77", "", ""} << "" << "30"
                                      << "前四后八,,30吨";
  // A first code without a caption leaves the text empty, so no separator comes before the next.
  QTest::newRow("unknown first code") << QStringList{"XX", "CM2_04", "", ""} << "" << ""
                                      << "厢式";
  QTest::newRow("length alone") << QStringList{"", "", "", ""} << "13" << "" << "13米";
  const QString longLength(300, QLatin1Char('9'));
  QTest::newRow("longer than usual") << QStringList{"CM1_08", "", "", ""} << longLength << "30"
                                     << "前四后八," + longLength + "米,30吨";
}

void RowTextsTest::vehicleInformationText() {
  QFETCH(QStringList, models);
  QFETCH(QString, length);
  QFETCH(QString, tonnage);
  QFETCH(QString, text);
  Korvane::TCar car;
  car.model_1 = models[0].toStdString();
  car.model_2 = models[1].toStdString();
  car.model_3 = models[2].toStdString();
  car.model_4 = models[3].toStdString();
  car.length = length.toStdString();
  car.tonnage = tonnage.toStdString();
  QCOMPARE(QString::fromStdString(fleet::VehicleInfoText(car)), text);
  QCOMPARE(CarCellText(car, fleet::kInfoColumn, true), text);
}

void RowTextsTest::cellsOfAVehicle_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("value");
  QTest::addColumn<int>("column");
  QTest::addColumn<QString>("text");
  QTest::newRow("plate") << "" << "" << 0 << "浙A12345";
  QTest::newRow("driver") << "" << "" << 2 << "王建国";
  QTest::newRow("mobile") << "" << "" << 3 << "13800001111";
  QTest::newRow("position in short form") << "" << "" << 4 << "浙江杭州市西湖区";
  QTest::newRow("municipality") << "location" << "北京市,北京市,朝阳区" << 4 << "北京市朝阳区";
  QTest::newRow("no position") << "location" << "" << 4 << "";
  QTest::newRow("time without century and seconds") << "" << "" << 5 << "13-03-13 20:40";
  QTest::newRow("no time") << "located_time" << "" << 5 << "";
  QTest::newRow("short time") << "located_time" << "2013-03-13" << 5 << "2013-03-13";
  QTest::newRow("destinations without 市") << "" << "" << 6 << "江苏省,南京,上海";
  QTest::newRow("全国") << "expected_flow" << "全国" << 6 << "全国";
  QTest::newRow("opened") << "" << "" << 7 << "已注册";
  QTest::newRow("not opened") << "locate_status" << "0" << 7 << "未注册";
  QTest::newRow("status other than 1") << "locate_status" << "11" << 7 << "未注册";
  QTest::newRow("status empty") << "locate_status" << "" << 7 << "未注册";
  QTest::newRow("remarks") << "" << "" << 8 << "常跑长三角";
}

void RowTextsTest::cellsOfAVehicle() {
  QFETCH(QString, field);
  QFETCH(QString, value);
  QFETCH(int, column);
  QFETCH(QString, text);
  Korvane::TCar car = SampleCar();
  if (field == "location") car.location = value.toStdString();
  if (field == "located_time") car.located_time = value.toStdString();
  if (field == "expected_flow") car.expected_flow = value.toStdString();
  if (field == "locate_status") car.locate_status = value.toStdString();
  QCOMPARE(CarCellText(car, column, true), text);
}

void RowTextsTest::withoutMembershipPositionAndTimeGiveWay() {
  const Korvane::TCar car = SampleCar();
  QCOMPARE(CarCellText(car, fleet::kPositionColumn, false), QStringLiteral("新版客户端可以继续使用定位功能"));
  QCOMPARE(CarCellText(car, fleet::kTimeColumn, false), QStringLiteral("高级会员已过期"));
  for (const int column : {0, 1, 2, 3, 6, 7, 8})
    QCOMPARE(CarCellText(car, column, false), CarCellText(car, column, true));
}

void RowTextsTest::membershipText_data() {
  QTest::addColumn<QString>("deadline");
  QTest::addColumn<QString>("text");
  QTest::newRow("9999 deadline") << "9999-12-31 23:59:59" << "会员:VIP";
  QTest::newRow("9999 alone") << "9999" << "会员:VIP";
  QTest::newRow("date and time") << "2014-05-20 00:00:00" << "会员:14-05-20";
  QTest::newRow("date only") << "2027-01-02" << "会员:27-01-02";
  QTest::newRow("empty") << "" << "会员:";
  QTest::newRow("shorter than 8") << "2014" << "会员:2014";
  QTest::newRow("999 is no VIP") << "0999-01-01" << "会员:99-01-01";
}

void RowTextsTest::membershipText() {
  QFETCH(QString, deadline);
  QFETCH(QString, text);
  QCOMPARE(fleet::MembershipText(deadline), text);
}

void RowTextsTest::dealerLine_data() {
  QTest::addColumn<QStringList>("dealer");  // name, telephone, contact person, address
  QTest::addColumn<QString>("line");
  QTest::newRow("everything") << QStringList{"远通服务中心", "0571-86610000", "王经理", "文三路100号"}
                              << "经销商:远通服务中心 | 电话:0571-86610000 | 联系人:王经理 | 地址:文三路100号";
  QTest::newRow("telephone only") << QStringList{"", "0571-86610000", "", ""} << "电话:0571-86610000";
  QTest::newRow("telephone and address") << QStringList{"", "123", "", "文三路"} << "电话:123 | 地址:文三路";
  QTest::newRow("no telephone, a name") << QStringList{"远通服务中心", "", "王经理", "文三路"} << "";
}

void RowTextsTest::dealerLine() {
  QFETCH(QStringList, dealer);
  QFETCH(QString, line);
  Korvane::TCompany company;
  company.partner_name = dealer[0].toStdString();
  company.partner_contact_number = dealer[1].toStdString();
  company.partner_contact_person = dealer[2].toStdString();
  company.partner_address = dealer[3].toStdString();
  QCOMPARE(fleet::DealerLine(company), line);
}

void RowTextsTest::generalNumber_data() {
  QTest::addColumn<double>("value");
  QTest::addColumn<QString>("text");
  QTest::newRow("whole") << 200.0 << "200";
  QTest::newRow("no trailing zeros") << 199.8 << "199.8";
  QTest::newRow("zero") << 0.0 << "0";
  QTest::newRow("15 significant digits") << 1234567.891234567 << "1234567.89123457";
  QTest::newRow("negative") << -0.2 << "-0.2";
}

void RowTextsTest::generalNumber() {
  QFETCH(double, value);
  QFETCH(QString, text);
  QCOMPARE(fleet::GeneralNumber(value), text);
}

VANDREL_QTEST_MAIN(RowTextsTest)
#include "RowTexts_test.moc"
