// The fixed window set and the message loop: nine windows created hidden, the login window
// the main window and the only one shown, and the two ways the loop ends.
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "QtTestMain.h"
#include "app/Forms.h"
#include "app/TFormMsg.h"
#include "app/WindowSet.h"
#include "windows/auxiliary/TFormSetting.h"
#include "windows/auxiliary/TFormSorry.h"
#include "windows/editor/TFormArea.h"
#include "windows/editor/TFormCarType.h"
#include "windows/editor/TFormKey.h"
#include "windows/fleet/TFormMain.h"
#include "windows/login/TFormLogin.h"
#include "windows/login/TFormRegist.h"

namespace {

QList<QWidget*> VisibleWindows() {
  QList<QWidget*> visible;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible()) visible.append(window);
  return visible;
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void everyWindowOfTheSetExistsOnceAndHidden_data();
  void everyWindowOfTheSetExistsOnceAndHidden();
  void theLoginWindowIsTheMainWindow();
  void theLoopShowsOnlyTheLoginWindowCentred();
  void hidingTheLoginWindowKeepsTheLoopAndClosingItEndsIt();
  void terminateEndsTheLoop();
};

void StartupTest::initTestCase() {
  CreateWindowSet(*TApplication::Instance());
  QCOMPARE(VisibleWindows(), QList<QWidget*>());
}

void StartupTest::everyWindowOfTheSetExistsOnceAndHidden_data() {
  QTest::addColumn<TFormBase*>("form");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<bool>("compact");
  QTest::addColumn<bool>("minButton");
  QTest::addColumn<bool>("borders");
  QTest::addColumn<bool>("onTop");
  QTest::newRow("FormLogin") << static_cast<TFormBase*>(FormLogin) << "KorvaneVandrel"
                             << QSize(290, 428) << false << true << true << false;
  QTest::newRow("FormMain") << static_cast<TFormBase*>(FormMain)
                            << "KorvaneVandrel - 物流行业位置服务领导者" << QSize(1259, 779)
                            << true << true << false << false;
  QTest::newRow("FormMsg") << static_cast<TFormBase*>(FormMsg) << "提示" << QSize(289, 145)
                           << true << false << true << true;
  QTest::newRow("FormRegist") << static_cast<TFormBase*>(FormRegist) << "用户注册"
                              << QSize(357, 319) << true << false << true << false;
  QTest::newRow("FormCarType") << static_cast<TFormBase*>(FormCarType) << "车型录入"
                               << QSize(610, 491) << true << false << true << false;
  QTest::newRow("FormArea") << static_cast<TFormBase*>(FormArea) << "地区列表"
                            << QSize(324, 456) << true << false << true << false;
  QTest::newRow("FormKey") << static_cast<TFormBase*>(FormKey) << "车牌录入" << QSize(426, 223)
                           << true << false << true << true;
  QTest::newRow("FormSorry") << static_cast<TFormBase*>(FormSorry) << "使用建议"
                             << QSize(446, 418) << true << false << true << true;
  QTest::newRow("FormSetting") << static_cast<TFormBase*>(FormSetting) << "显示设置"
                               << QSize(295, 300) << true << false << true << true;
}

void StartupTest::everyWindowOfTheSetExistsOnceAndHidden() {
  QFETCH(TFormBase*, form);
  QFETCH(QString, caption);
  QFETCH(QSize, size);
  QFETCH(bool, compact);
  QFETCH(bool, minButton);
  QFETCH(bool, borders);
  QFETCH(bool, onTop);
  QVERIFY(form != nullptr);
  QCOMPARE(form->objectName(), QString::fromLatin1(QTest::currentDataTag()));
  QVERIFY(form->isHidden());
  QCOMPARE(form->windowTitle(), caption);
  QCOMPARE(form->Label_title->text(), caption);
  QCOMPARE(form->size(), size);
  QCOMPARE(form->Panel_top->height(), compact ? 29 : 39);
  QCOMPARE(!form->Img_min->isHidden(), minButton);
  QCOMPARE(!form->Panel_bottom->isHidden(), borders);
  QCOMPARE(bool(form->windowFlags() & Qt::WindowStaysOnTopHint), onTop);
  int instances = 0;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->metaObject() == form->metaObject()) ++instances;
  QCOMPARE(instances, 1);
}

void StartupTest::theLoginWindowIsTheMainWindow() {
  QCOMPARE(TApplication::Instance()->mainForm(), static_cast<QWidget*>(FormLogin));
  int frames = 0;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (qobject_cast<TFormBase*>(window) != nullptr) ++frames;
  QCOMPARE(frames, 9);
}

void StartupTest::theLoopShowsOnlyTheLoginWindowCentred() {
  QList<QWidget*> shown;
  QRect loginGeometry;
  QTimer::singleShot(0, [&] {
    shown = VisibleWindows();
    loginGeometry = FormLogin->frameGeometry();
    TApplication::Instance()->Terminate();
  });
  QCOMPARE(TApplication::Instance()->Run(), 0);
  QCOMPARE(shown, QList<QWidget*>{FormLogin});
  const QRect desktop = FormLogin->screen()->virtualGeometry();
  QCOMPARE(loginGeometry.topLeft(), QPoint(desktop.x() + (desktop.width() - 290) / 2,
                                           desktop.y() + (desktop.height() - 428) / 2));
}

void StartupTest::hidingTheLoginWindowKeepsTheLoopAndClosingItEndsIt() {
  bool loopRanAfterHide = false;
  QTimer::singleShot(0, [&] {
    FormLogin->hide();
    QTimer::singleShot(30, [&] {
      loopRanAfterHide = true;
      FormLogin->show();
      QTest::mouseClick(FormLogin->Img_close, Qt::LeftButton, {}, QPoint(5, 5));
    });
  });
  QCOMPARE(TApplication::Instance()->Run(), 0);
  QVERIFY(loopRanAfterHide);
  QVERIFY(!FormLogin->isVisible());
}

void StartupTest::terminateEndsTheLoop() {
  // As after a sign-in: the login window is hidden, not closed, so only Terminate can end the
  // loop. (Showing the fleet window itself would start its list load.)
  bool loginHidden = false;
  QTimer::singleShot(0, [&] {
    FormLogin->hide();
    loginHidden = !FormLogin->isVisible();
    TApplication::Instance()->Terminate();
  });
  QCOMPARE(TApplication::Instance()->Run(), 0);
  QVERIFY(loginHidden);
}

VANDREL_QTEST_MAIN(StartupTest)
#include "Startup_test.moc"
