#include "windows/fleet/TFormMain.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>

#include "Korvane/Session.h"
#include "app/Forms.h"
#include "app/TApplication.h"
#include "app/TFormMsg.h"
#include "uLogger/uLogger.h"
#include "windows/auxiliary/TFormSorry.h"
#include "windows/fleet/CompanyPanels.h"

// The window's pictures are resources of a static library: they are registered explicitly.
static void RegisterFleetPictures() { Q_INIT_RESOURCE(fleet); }

namespace {

constexpr int kAdviceDelay = 10'000;
constexpr int kIdleTick = 3'600'000;
constexpr int kIdleTicksBeforeReload = 2;

}  // namespace

TFormMain::TFormMain(QWidget* parent) : TFormBase(parent) {
  static const bool registered = (RegisterFleetPictures(), true);
  (void)registered;
  setObjectName(QStringLiteral("FormMain"));
  setWindowTitle(QStringLiteral("KorvaneVandrel - 物流行业位置服务领导者"));
  resize(1259, 779);

  buildContent();
  buildPopupMenu();
  connectGrid();

  Timer2 = new QTimer(this);
  Timer2->setObjectName(QStringLiteral("Timer2"));
  Timer2->setInterval(kAdviceDelay);
  connect(Timer2, &QTimer::timeout, this, &TFormMain::Timer2Timer);
  Timer3 = new QTimer(this);
  Timer3->setObjectName(QStringLiteral("Timer3"));
  Timer3->setInterval(kIdleTick);
  connect(Timer3, &QTimer::timeout, this, &TFormMain::Timer3Timer);
  ApplicationEvents1 = new TApplicationEvents(
      [this](QObject* receiver, QEvent* event) { return ApplicationEvents1Message(receiver, event); },
      this);

  FormCreate();
}

TFormMain::~TFormMain() {
  // A download still running is stopped and waited for before the window goes.
  downloadThread.reset();
}

void TFormMain::FormCreate() {
  TFormBase::FormCreate();
  hideBorders();
  compactTitleBar();
  showTabsAsCreated();
}

void TFormMain::showTabsAsCreated() {
  i_car->setPixmap(i_1->pixmap());
  i_my->setPixmap(i_4->pixmap());
}

bool TFormMain::membershipValid() const {
  const auto company = Korvane::Company();
  return company && company->membership_valid;
}

std::string TFormMain::registerContactNumber() const {
  const auto company = Korvane::Company();
  return company ? company->register_contact_number : std::string();
}

void TFormMain::FormShow() {
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    setGeometry(screen->availableGeometry());
  cb_sort->move(31, cb_sort->y());
  if (const auto company = Korvane::Company(); company && company->is_partner)
    N20->setVisible(false);
  applySettings();
  // Step 5 of the sequence, double buffering of the grid: every widget here draws into a
  // buffer of its own already.
  const std::shared_ptr<Korvane::TCars> page = loadFirstPage();
  setListPanels(*page);
  setCompanyPanels();
  applySettings();
  startDownload(*page);
  if (adviceDue) {
    Timer2->start();
    adviceDue = false;
  }
  if (!Timer3->isActive()) Timer3->start();
}

void TFormMain::setCompanyPanels() {
  const auto company = Korvane::Company();
  if (!company) return;
  statusBar->setText(4, QStringLiteral("公司:") + QString::fromStdString(company->company_name));
  statusBar->setText(5, QStringLiteral("帐号:") + QString::fromStdString(company->login_name));
  if (company->is_partner)
    statusBar->hidePanel(6);
  else
    statusBar->setText(6, QStringLiteral("积分:") + QString::number(company->rebate));
  statusBar->setText(7, fleet::MembershipText(QString::fromStdString(company->membership_use_deadline)));
  statusBar->setText(8, QStringLiteral("余额:") + fleet::GeneralNumber(company->account_balance));
  statusBar->setText(9, QStringLiteral("版本:") + versionText);
  const QString dealer = fleet::DealerLine(*company);
  if (!dealer.isEmpty()) statusBar->setText(10, dealer);
}

// ---- Timers and the message hook -----------------------------------------------------------

void TFormMain::Timer2Timer() {
  Timer2->stop();
  auto* advice = new TFormSorry();
  advice->setAttribute(Qt::WA_DeleteOnClose);
  const QPoint at = grid->mapTo(AdvPanel3, QPoint(0, 0));
  const int left = at.x() + grid->width() - advice->width() +
                   (grid->verticalScrollBar()->isVisible() ? -9 : 8);
  const int top = at.y() + grid->height() - advice->height() +
                  (grid->horizontalScrollBar()->isVisible() ? 43 : 60);
  advice->move(left, top);
  advice->show();
}

void TFormMain::Timer3Timer() {
  if (++idleCount < kIdleTicksBeforeReload) return;
  idleCount = 0;
  btn_refreshClick(Timer3);
}

bool TFormMain::ApplicationEvents1Message(QObject* receiver, QEvent* event) {
  const QEvent::Type type = event->type();
  if (idleCount != 0 && (type == QEvent::KeyPress || type == QEvent::MouseMove)) idleCount = 0;
  // The embedded browser shows no context menu of its own.
  auto* widget = qobject_cast<QWidget*>(receiver);
  if (widget == nullptr || (widget != WebBrowser1 && !WebBrowser1->isAncestorOf(widget)))
    return false;
  if (type == QEvent::ContextMenu) return true;
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease)
    return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
  return false;
}

// ---- Closing -------------------------------------------------------------------------------

bool TFormMain::FormCloseQuery() {
  return FormMsg->showConfirm(QStringLiteral("退出提示"), QStringLiteral("确认要退出系统吗?")) !=
         mrCancel;
}

void TFormMain::FormClose() {
  if (busy && downloadThread) downloadThread->requestStop();
  FreeLogger();
  if (TApplication* application = TApplication::Instance()) application->Terminate();
}
