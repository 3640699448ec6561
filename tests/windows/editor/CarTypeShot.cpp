// The vehicle-type picker on a real display with a few boxes checked, saved to a picture:
// editor_car_type_shot <picture.png>. Run it under Xvfb.
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <cstdio>

#include "app/ApplicationTitle.h"
#include "app/Fonts.h"
#include "app/TApplication.h"
#include "windows/editor/TFormCarType.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: editor_car_type_shot <picture.png>\n");
    return 2;
  }
  TApplication application(argc, argv);
  application.setTitle(QString::fromUtf8(kApplicationTitle));
  InstallFontSubstitutions();
  TFormCarType picker;
  int result = 1;
  QTimer::singleShot(500, [&] {
    result = picker.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    picker.done(TFormBase::mrCancel);
  });
  picker.showCarType(TCarType{{}, QStringLiteral("CM1_08,CM2_04,,CM4_24")});
  return result;
}
