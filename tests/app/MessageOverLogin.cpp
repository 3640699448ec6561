// The client's start-up with a question of the message box over the login window, for a look
// at both on a real X server. Prints "shown" once the box is on screen and ends when the box
// is answered, or after 30 seconds.
#include <QTimer>

#include <cstdio>

#include "app/ApplicationTitle.h"
#include "app/Forms.h"
#include "app/Fonts.h"
#include "app/TApplication.h"
#include "app/TFormMsg.h"
#include "app/WindowSet.h"

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  application.setTitle(QString::fromUtf8(kApplicationTitle));
  InstallFontSubstitutions();
  CreateWindowSet(application);
  QTimer::singleShot(300, [] {
    QTimer::singleShot(700, [] {
      std::puts("shown");
      std::fflush(stdout);
    });
    FormMsg->showConfirm(QStringLiteral("退出提示"), QStringLiteral("确认要退出系统吗?"));
    TApplication::Instance()->Terminate();
  });
  QTimer::singleShot(30000, [] { TApplication::Instance()->Terminate(); });
  return application.Run();
}
