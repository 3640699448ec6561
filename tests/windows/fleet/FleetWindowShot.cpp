// The fleet window with the demo company's fleet, signed in against the development service,
// shown on a real display and saved to a picture: fleet_window_shot <picture.png>
// [extra vehicles]. Run it under Xvfb.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <string>

#include "Korvane/AccountCalls.h"
#include "Korvane/Deployment.h"
#include "app/ApplicationTitle.h"
#include "app/Fonts.h"
#include "app/Forms.h"
#include "app/TApplication.h"
#include "app/TFormMsg.h"
#include "support/DevServiceProcess.h"
#include "windows/editor/TFormCarType.h"
#include "windows/fleet/TFormMain.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fleet_window_shot <picture.png> [extra vehicles]\n");
    return 2;
  }
  const std::string picture = argv[1];
  const std::string extra = argc > 2 ? argv[2] : "0";
  testsupport::DevServiceProcess service({"--seed-fleet", extra});
  TApplication application(argc, argv);
  application.setTitle(QString::fromUtf8(kApplicationTitle));
  InstallFontSubstitutions();
  Korvane::SetApiBaseUrl(service.baseUrl());
  Korvane::SetPortalBaseUrl(service.baseUrl());
  if (!Korvane::Verify(Korvane::VerifyMode::User, "demo", "demo1234").success) {
    std::fprintf(stderr, "sign-in failed\n");
    return 1;
  }
  TFormMsg box;
  FormMsg = &box;
  TFormCarType types;
  FormCarType = &types;
  TFormMain window;
  FormMain = &window;
  window.versionText = QStringLiteral("5.2.1.12");
  window.show();
  int result = 1;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (window.busy) return;
    poll.stop();
    window.grid->selectDataRow(3);
    QTimer::singleShot(500, [&] {
      const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
      result = shot.save(QString::fromStdString(picture)) ? 0 : 1;
      QCoreApplication::exit(result);
    });
  });
  poll.start(50);
  application.exec();
  return result;
}
