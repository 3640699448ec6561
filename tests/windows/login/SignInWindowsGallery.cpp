// Shows the sign-in windows one after the other on a real X server and saves a picture of
// the screen for each into the folder given as the first argument: the login window
// (login.png), the registration window over it with entries (regist.png) and the area picker
// of the seat city over both (area.png), then a picker of several areas (area-multi.png). For looking at the windows, not a test; run it under
// xvfb-run with the client's deployment options (--api-url) pointing at a service.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <string>
#include <vector>

#include "app/ApplicationTitle.h"
#include "app/DeploymentOptions.h"
#include "app/Fonts.h"
#include "app/Forms.h"
#include "app/TApplication.h"
#include "app/WindowSet.h"
#include "windows/editor/TFormArea.h"
#include "windows/login/TFormLogin.h"
#include "windows/login/TFormRegist.h"

namespace {

QString folder;

void Shoot(const char* name) {
  QApplication::processEvents();
  const QString path = QDir(folder).filePath(QString::fromLatin1(name));
  QGuiApplication::primaryScreen()->grabWindow(0).save(path);
  std::printf("%s\n", qPrintable(path));
  std::fflush(stdout);
}

// Runs `step` after `ms` milliseconds, inside whatever modal loop runs then.
void After(int ms, std::function<void()> step) { QTimer::singleShot(ms, step); }

void ShowPicker() {
  TFormArea picker;
  picker.onlyOneCity = true;
  picker.txt_area->setText(QStringLiteral("杭州市"));
  picker.txt_area->setHiddenValue(QStringLiteral("330100"));
  After(800, [&picker] {
    picker.rootNode()->setExpanded(true);
    QTreeWidgetItem* zhejiang = picker.findNode(QStringLiteral("浙江省"));
    zhejiang->setExpanded(true);
    picker.tree->scrollToItem(zhejiang, QAbstractItemView::PositionAtTop);
    Shoot("area.png");
    picker.done(TFormBase::mrCancel);
  });
  picker.exec();
}

// A picker of several areas: two cities of one province and a municipality ticked.
void ShowMultiPicker() {
  TFormArea picker;
  After(800, [&picker] {
    for (const char* name : {"杭州市", "宁波市", "北京市"})
      picker.toggleNode(picker.findNode(QString::fromUtf8(name)));
    picker.txt_area->setText(picker.getCheckedNames(picker.rootNode()).chopped(1));
    QTreeWidgetItem* zhejiang = picker.findNode(QStringLiteral("浙江省"));
    zhejiang->setExpanded(true);
    picker.tree->scrollToItem(picker.findNode(QStringLiteral("上海市")),
                              QAbstractItemView::PositionAtTop);
    Shoot("area-multi.png");
    picker.done(TFormBase::mrCancel);
  });
  picker.exec();
}

void ShowRegistration() {
  FormRegist->txt_account->setText(QStringLiteral("hz_freight"));
  FormRegist->txt_password->setText(QStringLiteral("Abc12345"));
  FormRegist->txt_repassword->setText(QStringLiteral("Abc12345"));
  FormRegist->txt_company->setText(QStringLiteral("杭州新货运有限公司"));
  FormRegist->txt_seat->setText(QStringLiteral("杭州市"));
  FormRegist->txt_mobile->setText(QStringLiteral("13912345678"));
  After(800, [] {
    FormRegist->activateWindow();
    FormRegist->txt_company->setFocus();
    After(300, [] {
      Shoot("regist.png");
      ShowPicker();
      ShowMultiPicker();
      FormRegist->done(TFormBase::mrCancel);
    });
  });
  FormRegist->exec();
}

}  // namespace

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  application.setTitle(QString::fromUtf8(kApplicationTitle));
  InstallFontSubstitutions();
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.emplace_back(argv[i]);
  ApplyDeploymentOptions(ReadDeploymentOptions(arguments, ProcessEnvironment));
  folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  CreateWindowSet(application);
  After(1000, [] {
    FormLogin->activateWindow();
    FormLogin->txt_code->setText(QStringLiteral("demo"));
    FormLogin->txt_code->setFocus();
    After(300, [] {
      Shoot("login.png");
      ShowRegistration();
      TApplication::Instance()->Terminate();
    });
  });
  QTimer::singleShot(60000, [] { TApplication::Instance()->Terminate(); });
  return application.Run();
}
