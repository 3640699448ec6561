// The fleet window's shell against the development service: layout, the company's status-bar
// panels, display settings and menu options, the portal pages, the tab strip, the idle reload
// and the advice timer, the message hook, and the exit question.
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "FleetTestSupport.h"
#include "QtTestMain.h"
#include "platform/platform.h"
#include "uLogger/uLogger.h"
#include "windows/auxiliary/TFormSorry.h"
#include "windows/fleet/CompanyPanels.h"

using namespace fleettest;
namespace fs = std::filesystem;

namespace {

// A program of the given name at the front of PATH, for the portal pages' browser.
void InstallFakeProgram(const std::string& name, const std::string& script) {
  const std::string bin = std::string(std::getenv("HOME")) + "/bin/";
  fs::create_directories(bin);
  testsupport::TempHome::WriteBytes(bin + name, "#!/bin/sh\n" + script);
  fs::permissions(bin + name, fs::perms::owner_all);
  const std::string path = std::getenv("PATH");
  if (path.rfind(bin, 0) != 0) setenv("PATH", (bin + ":" + path).c_str(), 1);
}

std::string AutostartEntry() {
  return std::string(std::getenv("XDG_CONFIG_HOME")) + "/autostart/VandrelClient.desktop";
}

QStringList ActionNames(const QList<QAction*>& actions) {
  QStringList names;
  for (const QAction* action : actions)
    names << (action->menu() ? action->menu()->objectName() : action->objectName()) + QLatin1Char(' ') +
                 action->text();
  return names;
}

}  // namespace

class FleetShellTest : public QObject {
  Q_OBJECT

 private slots:
  void regionsAndControlsHaveTheirPlaces();
  void menusCarryTheirItemsAndNames();
  void showFillsTheWorkAreaAndStartsTheTimers();
  void companyPanels_data();
  void companyPanels();
  void displaySettingsAreApplied_data();
  void displaySettingsAreApplied();
  void autoColumnWidthFitsTheWidestText();
  void menuTogglesWriteBothKeys();
  void startWithTheSessionToggleRegistersAndRemoves();
  void portalMenuItemsOpenTheBrowser_data();
  void portalMenuItemsOpenTheBrowser();
  void listTabShowsTheGridAgain();
  void idleReloadAfterTwoQuietTicks();
  void keyPressInAnotherWindowRestartsTheIdleCount();
  void adviceWindowOpensOnceAtTheGridsCorner();
  void browserPlaceShowsNoContextMenu();
  void cancellingTheExitQuestionKeepsTheWindowAndTheDownload();
};

void FleetShellTest::regionsAndControlsHaveTheirPlaces() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  QCOMPARE(window.windowTitle(), QStringLiteral("KorvaneVandrel - 物流行业位置服务领导者"));
  QCOMPARE(window.Label_title->text(), window.windowTitle());
  QVERIFY(window.Panel_left->isHidden());
  QVERIFY(window.Panel_bottom->isHidden());
  QVERIFY(!window.Img_min->isHidden());
  QCOMPARE(window.Panel_top->height(), 29);
  QCOMPARE(window.Image1->height(), 34);
  QCOMPARE(window.AdvToolBar1->geometry(), QRect(8, 7, 398, 29));
  QCOMPARE(window.AdvPanel1->width(), 11);
  QCOMPARE(window.AdvPanel2->width(), 11);
  QCOMPARE(window.AdvPanel1->palette().color(QPalette::Window), QColor(210, 174, 149));
  QCOMPARE(window.AdvPanel3->palette().color(QPalette::Window), QColor(213, 219, 205));
  QCOMPARE(window.AdvPanel6->height(), 10);
  QCOMPARE(window.Panel4->width(), 31);
  QCOMPARE(window.i_car->pos(), QPoint(1, 40));
  QCOMPARE(window.i_my->pos(), QPoint(1, 126));
  QCOMPARE(window.i_car->pixmap().toImage(), window.i_1->pixmap().toImage());
  QCOMPARE(window.i_my->pixmap().toImage(), window.i_4->pixmap().toImage());
  QVERIFY(window.i_1->isHidden() && window.i_4->isHidden());
  QVERIFY(!window.WebBrowser1->isVisible());
  QVERIFY(!window.pan_Search->isVisible());
  QCOMPARE(window.pan_Search->height(), 64);
  QCOMPARE(window.AdvPanel5->height(), 33);
  QCOMPARE(window.statusBar->height(), 26);
  QCOMPARE(window.statusBar->count(), 11);
  QCOMPARE(window.statusBar->panelWidth(10), 412);
  // From top to bottom: menu band, grid, button bar, status bar, bottom strip.
  const auto top = [&window](QWidget* part) { return part->mapTo(&window, QPoint(0, 0)).y(); };
  QVERIFY(top(window.Image1) < top(window.grid));
  QVERIFY(top(window.grid) + window.grid->height() <= top(window.AdvPanel5));
  QVERIFY(top(window.AdvPanel5) < top(window.statusBar));
  QCOMPARE(top(window.AdvPanel6) + 10, window.height());
  QCOMPARE(window.grid->mapTo(window.AdvPanel3, QPoint(0, 0)).x(), 31);

  QCOMPARE(window.cb_sort->x(), 31);
  QCOMPARE(window.cb_sort->width(), 138);
  window.resize(1259, 779);
  QCOMPARE(window.cb_sort->count(), 3);
  QCOMPARE(window.cb_sort->itemText(0), QStringLiteral("最近使用车辆优先"));
  QCOMPARE(window.cb_sort->itemText(1), QStringLiteral("当前登录城市优先"));
  QCOMPARE(window.cb_sort->itemText(2), QStringLiteral("实际所在城市优先"));
  QCOMPARE(window.cb_sort->font().pixelSize(), 14);
  struct Button {
    TGlowButton* button;
    const char* caption;
    int width;
  };
  const Button buttons[] = {{window.btn_first, "首页", 49},       {window.btn_pre, "上一页", 49},
                            {window.btn_next, "下一页", 49},      {window.btn_last, "末页", 49},
                            {window.btn_refresh, "刷新列表", 70}, {window.btn_new, "新增车辆", 70},
                            {window.btn_edit, "修改车辆", 70},    {window.btn_locate, "车辆定位", 70},
                            {window.btn_check, "证件核查", 70},   {window.btn_search, "车辆搜索", 70}};
  int left = window.cb_sort->x() + window.cb_sort->width();
  for (const Button& b : buttons) {
    QCOMPARE(b.button->text(), QString::fromUtf8(b.caption));
    QCOMPARE(b.button->size(), QSize(b.width, 21));
    QVERIFY2(b.button->x() > left, b.caption);
    left = b.button->x() + b.button->width();
  }
  QVERIFY(window.AdvPanel5->width() - left < 20);

  // The grid: nine columns of their headings and widths, a 30 px header, 30 px rows.
  const int widths[] = {140, 267, 159, 144, 225, 168, 107, 119, 100};
  const char* headings[] = {"车牌号码", "车辆信息", "司机姓名", "随车手机", "当前位置",
                            "定位时间", "期望流向", "服务状态", "备注"};
  QCOMPARE(window.grid->model()->columnCount(), 9);
  for (int column = 0; column < 9; ++column) {
    QCOMPARE(window.grid->columnWidth(column), widths[column]);
    QCOMPARE(window.grid->cell(column, 0), QString::fromUtf8(headings[column]));
  }
  QCOMPARE(window.grid->headerHeight(), 30);
  QCOMPARE(window.grid->horizontalHeader()->height(), 30);
  QCOMPARE(window.grid->defaultRowHeight(), 30);
  QCOMPARE(window.grid->rowHeight(0), 30);
  QCOMPARE(window.grid->font().pixelSize(), 15);
  QCOMPARE(window.grid->selectionBehavior(), QAbstractItemView::SelectRows);
  QCOMPARE(window.grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  QVERIFY(window.grid->showGrid());
  QVERIFY(!window.grid->verticalHeader()->isVisible());
  QCOMPARE(window.grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
  QCOMPARE(window.grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
}

void FleetShellTest::menusCarryTheirItemsAndNames() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  QCOMPARE(ActionNames(window.MainMenu1->actions()),
           (QStringList{"N1 系统设置", "N10 我的账户", "N1111 找车运货", "N8 网上车库", "N23 货运保险",
                        "N14 优惠活动", "N15 联系客服"}));
  QCOMPARE(ActionNames(window.N1->actions()),
           (QStringList{"N19 自动登录", "N18 开机启动", "N16 显示设置", "N17 修改信息", "N9 修改密码",
                        "N2 退出系统"}));
  QCOMPARE(ActionNames(window.N10->actions()),
           (QStringList{"N11 消费记录", "N12 账户充值", "N21 购买套餐", "N20 积分兑换"}));
  QVERIFY(!window.N1111->isVisible());
  QVERIFY(!window.N23->isVisible());
  QVERIFY(window.N8->isVisible());
  QVERIFY(window.N20->isVisible());
  QVERIFY(window.N19->isCheckable() && window.N18->isCheckable());
  QCOMPARE(ActionNames(window.PopupMenu1->actions()),
           (QStringList{"N7 开通定位(&O)", "N22 刷新状态(&R)", "N5 立即定位(&L)", "N6 历史轨迹(&H)",
                        "N13 证件核查(&C)", "N4 修改车辆(&E)", "N3 删除车辆(&D)"}));
}

void FleetShellTest::showFillsTheWorkAreaAndStartsTheTimers() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  QCOMPARE(window.geometry(), window.screen()->availableGeometry());
  QVERIFY(window.Timer2->isActive());
  QCOMPARE(window.Timer2->interval(), 10000);
  QVERIFY(!window.adviceDue);
  QVERIFY(window.Timer3->isActive());
  QCOMPARE(window.Timer3->interval(), 3600000);
  // A reload neither starts the advice again nor restarts the idle timer's count.
  window.Timer2->stop();
  window.idleCount = 1;
  window.btn_refreshClick(window.btn_refresh);
  QCOMPARE(fixture.proxy.firstPageCalls(), 2);
  QVERIFY(!window.Timer2->isActive());
  QVERIFY(window.Timer3->isActive());
  QCOMPARE(window.idleCount, 1);
}

void FleetShellTest::companyPanels_data() {
  QTest::addColumn<QString>("change");
  QTest::addColumn<QStringList>("panels");  // 4 to 10; "hidden" for a hidden panel
  const QString dealer = QStringLiteral(
      "经销商:远通车联杭州服务中心 | 电话:0571-86610000 | 联系人:王经理 | 地址:浙江省杭州市西湖区文三路100号");
  QTest::newRow("demo company, not a partner")
      << "" << QStringList{"公司:杭州远通物流有限公司", "帐号:demo", "积分:1280", "", "余额:200",
                           "版本:5.2.1.12", dealer};
  QTest::newRow("partner account")
      << "partner" << QStringList{"公司:杭州远通物流有限公司", "帐号:demo", "hidden", "", "余额:200",
                                  "版本:5.2.1.12", dealer};
  QTest::newRow("VIP deadline") << "vip" << QStringList{"", "", "积分:1280", "会员:VIP", "", "", ""};
  QTest::newRow("2014 deadline") << "2014" << QStringList{"", "", "", "会员:14-05-20", "", "", ""};
  QTest::newRow("dealer telephone only") << "telephone only"
                                         << QStringList{"", "", "", "", "", "", "电话:0571-86610000"};
  QTest::newRow("no dealer telephone")
      << "no telephone" << QStringList{"", "", "", "", "", "", fleet::DefaultContactLine()};
  QTest::newRow("balance with decimals") << "balance" << QStringList{"", "", "", "", "余额:19.8", "", ""};
}

void FleetShellTest::companyPanels() {
  QFETCH(QString, change);
  QFETCH(QStringList, panels);
  FleetFixture fixture;
  Korvane::TCompany& company = fixture.company();
  if (change == "partner") company.is_partner = true;
  if (change == "vip") company.membership_use_deadline = "9999-12-31 23:59:59";
  if (change == "2014") company.membership_use_deadline = "2014-05-20 00:00:00";
  if (change == "telephone only") {
    company.partner_name.clear();
    company.partner_contact_person.clear();
    company.partner_address.clear();
  }
  if (change == "no telephone") company.partner_contact_number.clear();
  if (change == "balance") company.account_balance = 19.8;
  TFormMain& window = fixture.show();
  for (int panel = 4; panel <= 10; ++panel) {
    const QString expected = panels[panel - 4];
    if (expected.isEmpty()) continue;
    if (expected == QStringLiteral("hidden")) {
      QVERIFY(window.statusBar->isPanelHidden(panel));
      QCOMPARE(window.statusBar->panelWidth(panel), 0);
    } else {
      QVERIFY(!window.statusBar->isPanelHidden(panel));
      QCOMPARE(window.statusBar->text(panel), expected);
    }
  }
  if (panels[3].isEmpty() && change.isEmpty())
    QCOMPARE(window.statusBar->text(7),
             QStringLiteral("会员:") + QString::fromStdString(company.membership_use_deadline).mid(2, 8));
  QCOMPARE(window.N20->isVisible(), change != "partner");
  QVERIFY(window.statusBar->isPanelHidden(2) && window.statusBar->isPanelHidden(3));
}

void FleetShellTest::displaySettingsAreApplied_data() {
  QTest::addColumn<QString>("fontsize");  // empty: key absent
  QTest::addColumn<QString>("autorowheigth");
  QTest::addColumn<int>("fontPixels");
  QTest::addColumn<int>("rowHeight");
  QTest::newRow("defaults") << "" << "" << 15 << 30;
  QTest::newRow("15 with automatic row height") << "15" << "1" << 20 << 40;
  QTest::newRow("15 without") << "15" << "0" << 20 << 30;
  QTest::newRow("9 with automatic row height") << "9" << "1" << 12 << 24;
  QTest::newRow("not a number") << "big" << "1" << 15 << 30;
}

void FleetShellTest::displaySettingsAreApplied() {
  QFETCH(QString, fontsize);
  QFETCH(QString, autorowheigth);
  QFETCH(int, fontPixels);
  QFETCH(int, rowHeight);
  FleetFixture fixture;
  if (!fontsize.isEmpty()) WriteSetting(kSectionGrid, "fontsize", fontsize.toStdString());
  if (!autorowheigth.isEmpty()) WriteSetting(kSectionGrid, "autorowheigth", autorowheigth.toStdString());
  WriteSetting(kSectionGrid, "col2", "222");
  WriteSetting(kSectionGrid, "col5", "0");
  WriteSetting(kSectionGrid, "sortby", "0");
  WriteSetting(kSectionKorvane, "autologin", "1");
  TFormMain& window = fixture.show();
  QCOMPARE(window.grid->font().pixelSize(), fontPixels);
  QCOMPARE(window.grid->fontPoints(), fontsize.toInt() > 0 ? fontsize.toInt() : 11);
  QCOMPARE(window.grid->defaultRowHeight(), rowHeight);
  QCOMPARE(window.grid->rowHeight(3), rowHeight);
  QCOMPARE(window.grid->headerHeight(), 30);
  QCOMPARE(window.grid->columnWidth(2), 222);
  QCOMPARE(window.grid->columnWidth(5), 168);
  QCOMPARE(window.cb_sort->currentIndex(), 0);
  QCOMPARE(fixture.proxy.listCalls().front().at("sort_by"), std::string("used_priority"));
  QVERIFY(window.N19->isChecked());
  QVERIFY(!window.N18->isChecked());
  // The settings are read anew every time.
  WriteSetting(kSectionGrid, "col2", "90");
  WriteSetting(kSectionKorvane, "autologin", "0");
  window.applySettings();
  QCOMPARE(window.grid->columnWidth(2), 90);
  QVERIFY(!window.N19->isChecked());
}

void FleetShellTest::autoColumnWidthFitsTheWidestText() {
  FleetFixture fixture;
  WriteSetting(kSectionGrid, "autocolwidth", "1");
  WriteSetting(kSectionGrid, "col0", "300");
  TFormMain& window = fixture.show();
  const QFontMetrics cells(window.grid->font());
  const QFontMetrics headings(window.grid->header()->font());
  for (int column = 0; column < fleet::kColumns; ++column) {
    int widest = headings.horizontalAdvance(window.grid->cell(column, 0));
    for (int row = 1; row <= window.grid->dataRows(); ++row)
      widest = std::max(widest, cells.horizontalAdvance(window.grid->cell(column, row)));
    QVERIFY2(std::abs(window.grid->columnWidth(column) - (widest + 32)) <= 1,
             qPrintable(QStringLiteral("column %1: %2 for %3").arg(column).arg(window.grid->columnWidth(column)).arg(widest)));
  }
}

void FleetShellTest::menuTogglesWriteBothKeys() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  QVERIFY(!window.N19->isChecked());
  window.N19->trigger();
  QVERIFY(window.N19->isChecked());
  QCOMPARE(Setting(kSectionKorvane, "autologin"), std::string("1"));
  QCOMPARE(Setting(kSectionKorvane, "autorun"), std::string("0"));
  window.N19->trigger();
  QCOMPARE(Setting(kSectionKorvane, "autologin"), std::string("0"));
  QCOMPARE(Setting(kSectionKorvane, "autorun"), std::string("0"));
  QVERIFY(!fs::exists(AutostartEntry()));
}

void FleetShellTest::startWithTheSessionToggleRegistersAndRemoves() {
  FleetFixture fixture;
  WriteSetting(kSectionKorvane, "autologin", "1");
  TFormMain& window = fixture.show();
  window.N18->trigger();
  QVERIFY(window.N18->isChecked());
  QCOMPARE(Setting(kSectionKorvane, "autorun"), std::string("1"));
  QCOMPARE(Setting(kSectionKorvane, "autologin"), std::string("1"));
  const auto entry = testsupport::TempHome::ReadBytes(AutostartEntry());
  QVERIFY(entry.has_value());
  QVERIFY2(entry->find(platform::ExecutablePath()) != std::string::npos, entry->c_str());
  window.N18->trigger();
  QVERIFY(!window.N18->isChecked());
  QCOMPARE(Setting(kSectionKorvane, "autorun"), std::string("0"));
  QVERIFY(!fs::exists(AutostartEntry()));
}

void FleetShellTest::portalMenuItemsOpenTheBrowser_data() {
  QTest::addColumn<QString>("item");
  QTest::addColumn<QString>("page");
  QTest::newRow("修改信息") << "N17" << "user_info_edit";
  QTest::newRow("修改密码") << "N9" << "password_change";
  QTest::newRow("消费记录") << "N11" << "account_consume_logs";
  QTest::newRow("账户充值") << "N12" << "account_pay";
  QTest::newRow("购买套餐") << "N21" << "account_buy_packages";
  QTest::newRow("积分兑换") << "N20" << "account_rebates";
  QTest::newRow("找车运货") << "N1111" << "cars_filter";
  QTest::newRow("网上车库") << "N8" << "cars_filter_public";
  QTest::newRow("货运保险") << "N23" << "new_insurance";
  QTest::newRow("优惠活动") << "N14" << "portal_activity";
  QTest::newRow("联系客服") << "N15" << "contact_us";
  QTest::newRow("体验新版 tab") << "i_my" << "";
}

void FleetShellTest::portalMenuItemsOpenTheBrowser() {
  QFETCH(QString, item);
  QFETCH(QString, page);
  const std::string record = std::string(std::getenv("HOME")) + "/opened";
  fs::remove(record);
  InstallFakeProgram("xdg-open", "printf '%s' \"$1\" > " + record + ".part && mv " + record +
                                     ".part " + record + "\n");
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  if (item == QStringLiteral("i_my"))
    QTest::mouseClick(window.i_my, Qt::LeftButton);
  else
    window.findChild<QAction*>(item)->trigger();
  QTRY_VERIFY(fs::exists(record));
  const std::string opened = testsupport::TempHome::ReadBytes(record).value();
  QCOMPARE(QString::fromStdString(opened),
           QString::fromStdString(Korvane::PortalUrl(page.toStdString(), "")));
  QVERIFY(QString::fromStdString(opened).startsWith(QStringLiteral("http://portal.test/user/login_by_api?token=")));
  QCOMPARE(QString::fromStdString(opened).contains(QStringLiteral("url_for=") + page), !page.isEmpty());
  QVERIFY(fixture.watcher.shown().empty());
}

void FleetShellTest::listTabShowsTheGridAgain() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  window.i_car->setPixmap(window.i_2->pixmap());
  window.i_my->setPixmap(window.i_3->pixmap());
  window.grid->hide();
  window.WebBrowser1->show();
  window.AdvPanel5->hide();
  window.txt_search->setText(QStringLiteral("浙A"));
  QTest::mouseClick(window.i_car, Qt::LeftButton);
  QVERIFY(window.txt_search->text().isEmpty());
  QVERIFY(window.grid->isVisible());
  QVERIFY(!window.WebBrowser1->isVisible());
  QVERIFY(window.AdvPanel5->isVisible());
  QCOMPARE(window.i_car->pixmap().toImage(), window.i_1->pixmap().toImage());
  QCOMPARE(window.i_my->pixmap().toImage(), window.i_4->pixmap().toImage());
  QCOMPARE(fixture.proxy.firstPageCalls(), 1);
}

void FleetShellTest::idleReloadAfterTwoQuietTicks() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  window.Timer3Timer();
  QCOMPARE(window.idleCount, 1);
  QCOMPARE(fixture.proxy.firstPageCalls(), 1);
  window.Timer3Timer();
  QCOMPARE(window.idleCount, 0);
  QCOMPARE(fixture.proxy.firstPageCalls(), 2);
  QVERIFY(window.listLoaded);
  // Every two quiet ticks again.
  window.Timer3Timer();
  window.Timer3Timer();
  QCOMPARE(fixture.proxy.firstPageCalls(), 3);
  QVERIFY(fixture.watcher.shown().empty());
}

void FleetShellTest::keyPressInAnotherWindowRestartsTheIdleCount() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  QWidget other;
  other.resize(200, 100);
  other.show();
  QVERIFY(QTest::qWaitForWindowExposed(&other));
  const auto quietTick = [&] { window.Timer3Timer(); };

  quietTick();
  QCOMPARE(window.idleCount, 1);
  QTest::keyPress(&other, Qt::Key_A);
  QCOMPARE(window.idleCount, 0);
  quietTick();
  QCOMPARE(fixture.proxy.firstPageCalls(), 1);
  QTest::mouseMove(other.windowHandle(), QPoint(50, 50));
  QTest::mouseMove(other.windowHandle(), QPoint(60, 55));
  QCOMPARE(window.idleCount, 0);
  quietTick();
  quietTick();
  QCOMPARE(fixture.proxy.firstPageCalls(), 2);
  // Other events are no activity.
  quietTick();
  QEvent update(QEvent::UpdateRequest);
  QCoreApplication::sendEvent(&other, &update);
  QCOMPARE(window.idleCount, 1);
}

void FleetShellTest::adviceWindowOpensOnceAtTheGridsCorner() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  QVERIFY(window.Timer2->isActive());
  const auto before = QApplication::topLevelWidgets();
  window.Timer2Timer();
  QVERIFY(!window.Timer2->isActive());
  TFormSorry* advice = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* sorry = qobject_cast<TFormSorry*>(widget); sorry && !before.contains(widget)) advice = sorry;
  QVERIFY(advice != nullptr);
  QVERIFY(advice->isVisible());
  QVERIFY(!advice->isModal());
  const QPoint grid = window.grid->mapTo(window.AdvPanel3, QPoint(0, 0));
  const bool vertical = window.grid->verticalScrollBar()->isVisible();
  const bool horizontal = window.grid->horizontalScrollBar()->isVisible();
  QCOMPARE(advice->pos(), QPoint(grid.x() + window.grid->width() - advice->width() + (vertical ? -9 : 8),
                                 grid.y() + window.grid->height() - advice->height() + (horizontal ? 43 : 60)));
  advice->close();
  // Reloads do not bring it back.
  QTest::mouseClick(window.btn_refresh, Qt::LeftButton);
  QVERIFY(!window.Timer2->isActive());
}

void FleetShellTest::browserPlaceShowsNoContextMenu() {
  FleetFixture fixture;
  TFormMain& window = fixture.show();
  window.grid->hide();
  window.WebBrowser1->show();
  auto* page = new QWidget(window.WebBrowser1);
  page->resize(100, 100);
  page->show();
  struct Counter : QObject {
    QList<QEvent::Type> seen;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
          event->type() == QEvent::ContextMenu)
        seen << event->type();
      return false;
    }
  } counter;
  page->installEventFilter(&counter);
  QTest::mouseClick(page, Qt::RightButton, {}, QPoint(10, 10));
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(10, 10), page->mapToGlobal(QPoint(10, 10)));
  QCoreApplication::sendEvent(page, &menu);
  QVERIFY2(counter.seen.isEmpty(), "right button and context menu reached the browser");
  QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(10, 10));
  QCOMPARE(counter.seen, (QList<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonRelease}));
  // Outside the browser the right button is delivered.
  counter.seen.clear();
  window.grid->show();
  window.grid->viewport()->installEventFilter(&counter);
  QTest::mouseClick(window.grid->viewport(), Qt::RightButton, {}, QPoint(10, 10));
  QVERIFY(counter.seen.contains(QEvent::MouseButtonPress));
}

void FleetShellTest::cancellingTheExitQuestionKeepsTheWindowAndTheDownload() {
  FleetFixture fixture(1000 - FleetFixture::kDemoVehicles);
  fixture.proxy.holdPage(2);
  TFormMain& window = fixture.show();
  QVERIFY(window.busy);
  fixture.watcher.answerNext(2);
  window.N2->trigger();
  QTRY_COMPARE(fixture.watcher.shown().size(), std::size_t(1));
  QCOMPARE(fixture.watcher.shown()[0].caption, QStringLiteral("退出提示"));
  QCOMPARE(fixture.watcher.shown()[0].text, QStringLiteral("确认要退出系统吗?"));
  QVERIFY(fixture.watcher.shown()[0].question);
  QTest::qWait(50);
  QVERIFY(window.isVisible());
  QVERIFY(window.busy);
  fixture.proxy.releaseHeldPages();
  QVERIFY(fixture.waitUntilIdle());
  QCOMPARE(window.grid->dataRows(), 1000);
  // Confirmed, the window closes and the log is released.
  CreateLogger();
  window.close();
  QTRY_VERIFY(!window.isVisible());
  QCOMPARE(fixture.watcher.shown().size(), std::size_t(2));
  QVERIFY(Logger == nullptr);
}

VANDREL_QTEST_MAIN(FleetShellTest)
#include "FleetShell_test.moc"
