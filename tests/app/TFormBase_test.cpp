// The frameless frame: its parts, the button placements at creation, after a resize and in the
// three looks, the picture swaps, moving by the title bar, minimising and closing.
#include <QFontInfo>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "QtTestMain.h"
#include "TestForm.h"

namespace {

bool SamePicture(const QLabel* shown, const QLabel* holder) {
  return shown->pixmap().toImage() == holder->pixmap().toImage();
}

QColor PaintedColour(QWidget& form, QWidget* part) {
  const QImage image = form.grab().toImage();
  return image.pixelColor(part->mapTo(&form, part->rect().center()));
}

}  // namespace

class TFormBaseTest : public QObject {
  Q_OBJECT

 private slots:
  void partsHaveTheirPlacesAndColours();
  void titleLabelIsBoldWhiteSimSunWithTheCaption();
  void buttonsArePlacedFromTheRightEdge_data();
  void buttonsArePlacedFromTheRightEdge();
  void compactTitleBarLowersTheBarAndShrinksTheButtons();
  void hideMinButtonLeavesNothingAtTheMinimisePlace();
  void hideBordersLetsPanelMainReachTheEdges();
  void buttonPicturesFollowTheMouse();
  void draggingTheTitleMovesTheWindow_data();
  void draggingTheTitleMovesTheWindow();
  void minimiseButtonMinimisesEveryWindow();
  void closeButtonClosesAfterTheCurrentEvent_data();
  void closeButtonClosesAfterTheCurrentEvent();
  void closeQueryCanKeepTheWindowOpen();
  void modalWindowClosedByTheFrameGivesCancel();
  void escapeClosesNothing();
};

void TFormBaseTest::partsHaveTheirPlacesAndColours() {
  TTestForm form;
  struct Part {
    QWidget* widget;
    QRect geometry;
    QColor colour;
  };
  const Part parts[] = {
      {form.Panel_top, {0, 0, 441, 39}, QColor(0xE3, 0x52, 0x10)},
      {form.Panel_left, {0, 39, 7, 576}, QColor(0xE3, 0x52, 0x1F)},
      {form.Panel_right, {434, 39, 7, 576}, QColor(0xE3, 0x52, 0x1F)},
      {form.Panel_bottom, {0, 615, 441, 7}, QColor(0xE3, 0x52, 0x1F)},
      {form.Panel_main, {7, 39, 427, 576}, QColor(0x97, 0xA3, 0x8D)},
  };
  for (const Part& part : parts) {
    QCOMPARE(part.widget->geometry(), part.geometry);
    QCOMPARE(PaintedColour(form, part.widget), part.colour);
  }
  QCOMPARE(form.Img_title->geometry(), QRect(8, 13, 16, 16));
  QCOMPARE(form.Label_title->pos(), QPoint(31, 14));
  for (QLabel* holder : {form.Img_normal, form.Img_move, form.Img_down, form.Imgc_normal,
                         form.Imgc_move, form.Imgc_down}) {
    QVERIFY(holder->isHidden());
    QCOMPARE(holder->size(), QSize(23, 24));
    QCOMPARE(holder->pixmap().size(), QSize(23, 24));
  }
  // Six different pictures: no state shows another state's picture.
  const QList<QLabel*> holders = {form.Img_normal,  form.Img_move,  form.Img_down,
                                  form.Imgc_normal, form.Imgc_move, form.Imgc_down};
  for (int i = 0; i < holders.size(); ++i)
    for (int j = i + 1; j < holders.size(); ++j)
      QVERIFY2(!SamePicture(holders[i], holders[j]), qPrintable(holders[j]->objectName()));
  QVERIFY(SamePicture(form.Img_min, form.Img_normal));
  QVERIFY(SamePicture(form.Img_close, form.Imgc_normal));
}

void TFormBaseTest::titleLabelIsBoldWhiteSimSunWithTheCaption() {
  TTestForm form;
  QCOMPARE(form.Label_title->text(), QStringLiteral("测试窗口"));
  const QFont font = form.Label_title->font();
  QCOMPARE(font.family(), QStringLiteral("宋体"));
  QCOMPARE(font.pixelSize(), 14);
  QVERIFY(font.bold());
  QCOMPARE(QFontInfo(font).family(), QStringLiteral("AR PL UMing CN"));
  QCOMPARE(form.Label_title->palette().color(QPalette::WindowText), QColor(Qt::white));
}

void TFormBaseTest::buttonsArePlacedFromTheRightEdge_data() {
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("resizedWidth");
  QTest::newRow("design width") << 441 << 600;
  QTest::newRow("message box width") << 289 << 1259;
}

void TFormBaseTest::buttonsArePlacedFromTheRightEdge() {
  QFETCH(int, width);
  QFETCH(int, resizedWidth);
  TTestForm form(TTestForm::Look::Full, width, 300);
  // At creation.
  QCOMPARE(form.Img_close->geometry(), QRect(width - 30, 8, 23, 24));
  QCOMPARE(form.Img_min->geometry(), QRect(width - 55, 8, 23, 24));
  // The first size change comes with the first show.
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QCOMPARE(form.Img_close->x(), width - 25);
  QCOMPARE(form.Img_min->x(), width - 43);
  // Every later one keeps the distance from the right edge.
  form.resize(resizedWidth, 400);
  QTRY_COMPARE(form.Img_close->x(), resizedWidth - 25);
  QCOMPARE(form.Img_min->x(), resizedWidth - 43);
  QCOMPARE(form.Panel_top->width(), resizedWidth);
  QCOMPARE(form.Panel_right->x(), resizedWidth - 7);
  QCOMPARE(form.Panel_bottom->y(), 400 - 7);
}

void TFormBaseTest::compactTitleBarLowersTheBarAndShrinksTheButtons() {
  TTestForm form(TTestForm::Look::Compact, 289, 145);
  QCOMPARE(form.Panel_top->height(), 29);
  QCOMPARE(form.Label_title->y(), 9);
  QCOMPARE(form.Img_title->y(), 8);
  QCOMPARE(form.Img_min->geometry(), QRect(289 - 55 + 9, 6, 17, 18));
  QCOMPARE(form.Img_close->geometry(), QRect(289 - 30 + 3, 6, 17, 18));
  QCOMPARE(form.Panel_main->geometry(), QRect(7, 29, 275, 145 - 29 - 7));
  QCOMPARE(form.Panel_left->geometry(), QRect(0, 29, 7, 145 - 29 - 7));
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QCOMPARE(form.Img_close->geometry(), QRect(289 - 25, 6, 17, 18));
  QCOMPARE(form.Img_min->geometry(), QRect(289 - 43, 6, 17, 18));
}

void TFormBaseTest::hideMinButtonLeavesNothingAtTheMinimisePlace() {
  TTestForm form(TTestForm::Look::CompactWithoutMin, 289, 145);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  const QPoint minimisePlace(289 - 43 + 8, 6 + 9);
  QCOMPARE(form.Panel_top->childAt(minimisePlace), nullptr);
  QCOMPARE(form.Panel_top->childAt(QPoint(289 - 25 + 8, 6 + 9)), form.Img_close);
  // A press there is a press on the bar: it starts a move, it does not minimise.
  QTest::mouseClick(form.Panel_top, Qt::LeftButton, {}, minimisePlace);
  QVERIFY(!(form.windowState() & Qt::WindowMinimized));
  QVERIFY(form.isVisible());
}

void TFormBaseTest::hideBordersLetsPanelMainReachTheEdges() {
  TTestForm form(TTestForm::Look::Borderless, 1259, 779);
  QVERIFY(form.Panel_left->isHidden());
  QVERIFY(form.Panel_right->isHidden());
  QVERIFY(form.Panel_bottom->isHidden());
  QCOMPARE(form.Panel_main->geometry(), QRect(0, 29, 1259, 779 - 29));
  QVERIFY(!form.Img_min->isHidden());
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  form.resize(1280, 800);
  QTRY_COMPARE(form.Panel_main->geometry(), QRect(0, 29, 1280, 800 - 29));
}

void TFormBaseTest::buttonPicturesFollowTheMouse() {
  TTestForm form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  struct Button {
    QLabel* button;
    QLabel* normal;
    QLabel* move;
    QLabel* down;
  };
  for (const Button& b : {Button{form.Img_min, form.Img_normal, form.Img_move, form.Img_down},
                          Button{form.Img_close, form.Imgc_normal, form.Imgc_move,
                                 form.Imgc_down}}) {
    QTest::mouseMove(b.button, QPoint(5, 5));
    QTRY_VERIFY(SamePicture(b.button, b.move));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), b.button->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b.button, &press);
    QVERIFY(SamePicture(b.button, b.down));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(b.button, &leave);
    QVERIFY(SamePicture(b.button, b.normal));
  }
}

void TFormBaseTest::draggingTheTitleMovesTheWindow_data() {
  QTest::addColumn<QString>("part");
  QTest::addColumn<QPoint>("grip");
  QTest::addColumn<bool>("moves");
  QTest::newRow("title text") << "Label_title" << QPoint(10, 6) << true;
  QTest::newRow("empty title bar") << "Panel_top" << QPoint(20, 34) << true;
  QTest::newRow("title icon") << "Img_title" << QPoint(8, 8) << false;
}

void TFormBaseTest::draggingTheTitleMovesTheWindow() {
  QFETCH(QString, part);
  QFETCH(QPoint, grip);
  QFETCH(bool, moves);
  TTestForm form;
  form.move(100, 80);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  auto* widget = form.findChild<QWidget*>(part);
  QVERIFY(widget != nullptr);
  QCOMPARE(widget->childAt(grip), nullptr);
  const QPoint start = form.pos();
  QTest::mousePress(widget, Qt::LeftButton, {}, grip);
  QTest::mouseMove(widget, grip + QPoint(30, 20));
  QTest::mouseRelease(widget, Qt::LeftButton, {}, grip + QPoint(30, 20));
  QCOMPARE(form.pos(), moves ? start + QPoint(30, 20) : start);
}

void TFormBaseTest::minimiseButtonMinimisesEveryWindow() {
  TTestForm form;
  TTestForm other(TTestForm::Look::CompactWithoutMin, 300, 200);
  form.show();
  other.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QVERIFY(QTest::qWaitForWindowExposed(&other));
  QTest::mousePress(form.Img_min, Qt::LeftButton, {}, QPoint(5, 5));
  QVERIFY(SamePicture(form.Img_min, form.Img_down));
  QTest::mouseRelease(form.Img_min, Qt::LeftButton, {}, QPoint(5, 5));
  QVERIFY(SamePicture(form.Img_min, form.Img_normal));
  QTRY_VERIFY(form.windowState() & Qt::WindowMinimized);
  QTRY_VERIFY(other.windowState() & Qt::WindowMinimized);
}

void TFormBaseTest::closeButtonClosesAfterTheCurrentEvent_data() {
  QTest::addColumn<Qt::MouseButton>("button");
  QTest::newRow("left button") << Qt::LeftButton;
  QTest::newRow("right button") << Qt::RightButton;
}

void TFormBaseTest::closeButtonClosesAfterTheCurrentEvent() {
  QFETCH(Qt::MouseButton, button);
  TTestForm form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QTest::mousePress(form.Img_close, button, {}, QPoint(5, 5));
  QVERIFY(SamePicture(form.Img_close, form.Imgc_down));
  QTest::mouseRelease(form.Img_close, button, {}, QPoint(5, 5));
  // Posted: the release is handled before the window goes.
  QVERIFY(form.isVisible());
  QCOMPARE(form.closes, 0);
  QTRY_VERIFY(!form.isVisible());
  QCOMPARE(form.closeQueries, 1);
  QCOMPARE(form.closes, 1);
}

void TFormBaseTest::closeQueryCanKeepTheWindowOpen() {
  TTestForm form;
  form.mayClose = false;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QTest::mouseClick(form.Img_close, Qt::LeftButton, {}, QPoint(5, 5));
  QTRY_COMPARE(form.closeQueries, 1);
  QTest::qWait(50);
  QVERIFY(form.isVisible());
  QCOMPARE(form.closes, 0);
}

void TFormBaseTest::modalWindowClosedByTheFrameGivesCancel() {
  TTestForm form(TTestForm::Look::CompactWithoutMin, 289, 145);
  QTimer::singleShot(0, &form, [&form] {
    QTest::mouseClick(form.Img_close, Qt::LeftButton, {}, QPoint(5, 5));
  });
  QCOMPARE(form.exec(), TFormBase::mrCancel);
  QCOMPARE(form.closes, 1);
}

void TFormBaseTest::escapeClosesNothing() {
  TTestForm form(TTestForm::Look::CompactWithoutMin, 289, 145);
  bool stillShownAfterEscape = false;
  QTimer::singleShot(0, &form, [&] {
    QTest::keyClick(&form, Qt::Key_Escape);
    QTimer::singleShot(50, &form, [&] {
      stillShownAfterEscape = form.isVisible();
      form.done(TFormBase::mrOk);
    });
  });
  QCOMPARE(form.exec(), TFormBase::mrOk);
  QVERIFY(stillShownAfterEscape);
  QCOMPARE(form.closes, 1);
}

VANDREL_QTEST_MAIN(TFormBaseTest)
#include "TFormBase_test.moc"
