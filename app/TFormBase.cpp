#include "app/TFormBase.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

#include "app/Fonts.h"
#include "app/Panels.h"
#include "app/TApplication.h"

// The frame's pictures are resources of a static library: they are registered explicitly.
static void RegisterFramePictures() { Q_INIT_RESOURCE(vandrel); }

namespace {

constexpr int kBorderWidth = 7;
constexpr int kButtonTop = 8;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 24;
// Room kept right of the title text for the two buttons.
constexpr int kTitleRightMargin = 60;

const QColor kTitleColour(0xE3, 0x52, 0x10);
const QColor kBorderColour(0xE3, 0x52, 0x1F);
const QColor kMainColour(0x97, 0xA3, 0x8D);

QLabel* NewPicture(QWidget* parent, const char* name, const char* resource) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(QString::fromLatin1(name));
  picture->setPixmap(QPixmap(QString::fromLatin1(resource)));
  picture->setScaledContents(true);
  return picture;
}

bool IsPress(const QEvent* event) {
  return event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick;
}

bool IsMouseEvent(const QEvent* event) {
  return IsPress(event) || event->type() == QEvent::MouseButtonRelease ||
         event->type() == QEvent::MouseMove;
}

// The top-left corner that centres a window of `size` in `area`.
QPoint CentredIn(const QRect& area, const QSize& size) {
  return {area.x() + (area.width() - size.width()) / 2,
          area.y() + (area.height() - size.height()) / 2};
}

}  // namespace

TFormBase::TFormBase(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint) {
  static const bool registered = (RegisterFramePictures(), true);
  (void)registered;
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  setFont(font);
  resize(441, 622);
  buildPictures();
  buildBorders();
  buildTitleBar();
  alignPanels();
}

void TFormBase::buildPictures() {
  Img_normal = NewPicture(this, "Img_normal", ":/frame/min_normal.jpg");
  Img_move = NewPicture(this, "Img_move", ":/frame/min_move.jpg");
  Img_down = NewPicture(this, "Img_down", ":/frame/min_down.jpg");
  Imgc_normal = NewPicture(this, "Imgc_normal", ":/frame/close_normal.jpg");
  Imgc_move = NewPicture(this, "Imgc_move", ":/frame/close_move.jpg");
  Imgc_down = NewPicture(this, "Imgc_down", ":/frame/close_down.jpg");
  for (QLabel* holder : {Img_normal, Img_move, Img_down, Imgc_normal, Imgc_move, Imgc_down}) {
    holder->resize(kButtonWidth, kButtonHeight);
    holder->hide();
  }
}

void TFormBase::buildBorders() {
  Panel_left = NewPanel(this, "Panel_left", kBorderColour);
  Panel_right = NewPanel(this, "Panel_right", kBorderColour);
  Panel_bottom = NewPanel(this, "Panel_bottom", kBorderColour);
  Panel_main = NewPanel(this, "Panel_main", kMainColour);
}

void TFormBase::buildTitleBar() {
  Panel_top = NewPanel(this, "Panel_top", kTitleColour);

  Label_title = new QLabel(Panel_top);
  Label_title->setObjectName(QStringLiteral("Label_title"));
  Label_title->setFont(SimSunFont(14, true));
  QPalette palette = Label_title->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  Label_title->setPalette(palette);
  Label_title->setGeometry(31, 14, 0, QFontMetrics(Label_title->font()).height());

  Img_title = NewPicture(Panel_top, "Img_title", ":/frame/title_icon.png");
  Img_title->setGeometry(8, 13, Img_title->pixmap().width(), Img_title->pixmap().height());

  Img_min = new QLabel(Panel_top);
  Img_min->setObjectName(QStringLiteral("Img_min"));
  Img_min->setPixmap(Img_normal->pixmap());
  Img_close = new QLabel(Panel_top);
  Img_close->setObjectName(QStringLiteral("Img_close"));
  Img_close->setPixmap(Imgc_normal->pixmap());
  for (QLabel* button : {Img_min, Img_close}) {
    button->setScaledContents(true);
    button->setGeometry(0, kButtonTop, kButtonWidth, kButtonHeight);
    button->setMouseTracking(true);
  }
  for (QWidget* part : {Panel_top, static_cast<QWidget*>(Label_title),
                        static_cast<QWidget*>(Img_title), static_cast<QWidget*>(Img_min),
                        static_cast<QWidget*>(Img_close)})
    part->installEventFilter(this);
}

// The docked parts as the toolkit docks them: the title bar across the top, the bottom strip
// across the bottom, the side strips between them, Panel_main in what is left.
void TFormBase::alignPanels() {
  const int w = width();
  const int h = height();
  const int bottom = Panel_bottom->isHidden() ? 0 : kBorderWidth;
  const int left = Panel_left->isHidden() ? 0 : kBorderWidth;
  const int right = Panel_right->isHidden() ? 0 : kBorderWidth;
  const int middle = std::max(0, h - titleHeight_ - bottom);
  Panel_top->setGeometry(0, 0, w, titleHeight_);
  Panel_bottom->setGeometry(0, h - kBorderWidth, w, kBorderWidth);
  Panel_left->setGeometry(0, titleHeight_, kBorderWidth, middle);
  Panel_right->setGeometry(w - kBorderWidth, titleHeight_, kBorderWidth, middle);
  Panel_main->setGeometry(left, titleHeight_, std::max(0, w - left - right), middle);
  Label_title->resize(std::max(0, w - Label_title->x() - kTitleRightMargin),
                      Label_title->height());
}

void TFormBase::FormCreate() {
  const int w = width();
  Img_close->move(w - 30, Img_close->y());
  Img_min->move(w - 55, Img_min->y());
  Label_title->setText(windowTitle());
  alignPanels();
}

void TFormBase::FormResize() {
  const int w = width();
  Img_close->move(w - 25, Img_close->y());
  Img_min->move(w - 43, Img_min->y());
}

void TFormBase::compactTitleBar() {
  Img_min->resize(17, 18);
  Img_close->resize(17, 18);
  Img_min->move(Img_min->x() + 9, Img_min->y() - 2);
  Img_close->move(Img_close->x() + 3, Img_min->y());
  Label_title->move(Label_title->x(), Label_title->y() - 5);
  titleHeight_ -= 10;
  Img_title->move(Img_title->x(), Img_title->y() - 5);
  alignPanels();
}

void TFormBase::hideMinButton() { Img_min->hide(); }

void TFormBase::hideBorders() {
  Panel_left->hide();
  Panel_bottom->hide();
  Panel_right->hide();
  alignPanels();
}

void TFormBase::placeContent(QWidget* panel) {
  auto* layout = qobject_cast<QVBoxLayout*>(Panel_main->layout());
  if (layout == nullptr) {
    layout = new QVBoxLayout(Panel_main);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
  }
  panel->setParent(Panel_main);
  layout->addWidget(panel);
  panel->show();
}

void TFormBase::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  alignPanels();
  FormResize();
}

void TFormBase::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  applyPosition();
  if (event->spontaneous()) return;
  if (postShowHandler_) {
    QMetaObject::invokeMethod(this, [this] { FormShow(); }, Qt::QueuedConnection);
  } else {
    FormShow();
  }
}

void TFormBase::applyPosition() {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  switch (position_) {
    case TPosition::poDesigned:
      return;
    case TPosition::poScreenCenter:
      move(CentredIn(screen->geometry(), size()));
      return;
    case TPosition::poDesktopCenter:
      move(CentredIn(screen->virtualGeometry(), size()));
      return;
    case TPosition::poMainFormCenter: {
      const TApplication* application = TApplication::Instance();
      const QWidget* main = application ? application->mainForm() : nullptr;
      const QRect area = main != nullptr && main != this ? main->frameGeometry()
                                                         : screen->geometry();
      move(CentredIn(area, size()));
      return;
    }
  }
}

// ---- Closing ---------------------------------------------------------------------------

void TFormBase::done(int result) {
  if (closing_) {
    QDialog::done(result);
    return;
  }
  if (!FormCloseQuery()) return;
  closing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{closing_};
  FormClose();
  QDialog::done(result);
  TApplication* application = TApplication::Instance();
  // Closing the main window ends the message loop.
  if (application != nullptr && application->mainForm() == this) application->Terminate();
}

void TFormBase::reject() { done(mrCancel); }

void TFormBase::closeEvent(QCloseEvent* event) {
  if (closing_) {  // the toolkit's own close step inside done()
    event->accept();
    return;
  }
  done(mrCancel);
  event->setAccepted(isHidden());
}

void TFormBase::keyPressEvent(QKeyEvent* event) {
  // Esc closes nothing unless a window gives it a button of its own.
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TFormBase::Img_closeClick() {
  QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
}

// ---- Title bar and buttons ---------------------------------------------------------------

bool TFormBase::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Img_min) return minButtonEvent(event);
  if (watched == Img_close) return closeButtonEvent(event);
  if (watched == Panel_top || watched == Label_title) return titleBarEvent(event);
  // The title icon takes its mouse events, so that they do not reach the title bar.
  if (watched == Img_title) return IsMouseEvent(event);
  return QDialog::eventFilter(watched, event);
}

bool TFormBase::titleBarEvent(QEvent* event) {
  if (IsPress(event)) {
    Panel_topMouseDown(static_cast<QMouseEvent*>(event));
    return true;
  }
  if (event->type() == QEvent::MouseMove && dragging_) {
    dragTo(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    return true;
  }
  if (event->type() == QEvent::MouseButtonRelease && dragging_) {
    dragging_ = false;
    return true;
  }
  return false;
}

void TFormBase::Panel_topMouseDown(QMouseEvent* event) {
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  // The window system's own move loop drags the window until the button is released.
  QWindow* window = windowHandle();
  if (window != nullptr && window->startSystemMove()) return;
  // Without one (no window manager, offscreen) the window follows the pointer itself.
  dragging_ = true;
  dragOffset_ = event->globalPosition().toPoint() - pos();
}

void TFormBase::dragTo(const QPoint& globalPosition) { move(globalPosition - dragOffset_); }

bool TFormBase::minButtonEvent(QEvent* event) {
  if (IsPress(event)) {
    Img_minMouseDown();
    return true;
  }
  switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
      Img_minMouseMove();
      return event->type() == QEvent::MouseMove;
    case QEvent::Leave:
      Img_minMouseLeave();
      return false;
    case QEvent::MouseButtonRelease:
      Img_minMouseUp();
      return true;
    default:
      return false;
  }
}

bool TFormBase::closeButtonEvent(QEvent* event) {
  if (IsPress(event)) {
    Img_closeMouseDown();
    return true;
  }
  switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
      Img_closeMouseMove();
      return event->type() == QEvent::MouseMove;
    case QEvent::Leave:
      Img_closeMouseLeave();
      return false;
    case QEvent::MouseButtonRelease:
      Img_closeMouseUp();
      return true;
    default:
      return false;
  }
}

void TFormBase::Img_minMouseDown() { Img_min->setPixmap(Img_down->pixmap()); }
void TFormBase::Img_minMouseMove() { Img_min->setPixmap(Img_move->pixmap()); }
void TFormBase::Img_minMouseLeave() { Img_min->setPixmap(Img_normal->pixmap()); }

void TFormBase::Img_minMouseUp() {
  Img_min->setPixmap(Img_normal->pixmap());
  if (TApplication* application = TApplication::Instance())
    application->Minimize();
  else
    showMinimized();
}

void TFormBase::Img_closeMouseDown() { Img_close->setPixmap(Imgc_down->pixmap()); }
void TFormBase::Img_closeMouseMove() { Img_close->setPixmap(Imgc_move->pixmap()); }
void TFormBase::Img_closeMouseLeave() { Img_close->setPixmap(Imgc_normal->pixmap()); }
void TFormBase::Img_closeMouseUp() { Img_closeClick(); }
