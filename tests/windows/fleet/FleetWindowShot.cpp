// The fleet window with the demo company's fleet, signed in against the development service,
// shown on a real display and saved to a picture: fleet_window_shot <picture.png>
// [extra vehicles] [view], the view being "plain" (default), "sorted" (the plates sorted
// descending), "menu" (the system menu open, both of its options checked) or "popup" (the
// grid's pop-up menu open). Settings live in a temporary home of the program's own. Run it
// under Xvfb.
#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
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
#include "TempHome.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"
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
  const std::string view = argc > 3 ? argv[3] : "plain";
  testsupport::TempHome home;
  if (view == "menu") {
    TIniFile settings(SettingsFilePath());
    settings.WriteBool(kSectionKorvane, "autologin", true);
    settings.WriteBool(kSectionKorvane, "autorun", true);
  }
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
    QHeaderView* header = window.grid->horizontalHeader();
    const QPoint heading(header->sectionViewportPosition(0) + 40, header->height() / 2);
    if (view == "sorted") {
      window.gridMouseUp(Qt::LeftButton, heading);
      window.gridMouseUp(Qt::LeftButton, heading);
    }
    if (view == "menu") window.N1->popup(window.MainMenu1->mapToGlobal(QPoint(0, window.MainMenu1->height())));
    if (view == "popup") {
      const QRect cell = window.grid->visualRect(window.grid->cells()->index(4, 1));
      window.grid->selectDataRow(5);
      window.PopupMenu1->popup(window.grid->viewport()->mapToGlobal(cell.center()));
    }
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
