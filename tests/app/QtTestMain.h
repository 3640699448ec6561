// The main function of a window test: a fresh HOME (so settings, autostart entries and
// shortcuts land in a folder of their own), the offscreen platform unless another is asked
// for, and the client's own application object with its title and fonts.
#pragma once

#include <QTest>

#include <cstdlib>

#include "TempHome.h"
#include "app/ApplicationTitle.h"
#include "app/Fonts.h"
#include "app/TApplication.h"

#define VANDREL_QTEST_MAIN(TestClass)                                  \
  int main(int argc, char** argv) {                                    \
    testsupport::TempHome home;                                        \
    setenv("QT_QPA_PLATFORM", "offscreen", 0);                         \
    TApplication application(argc, argv);                              \
    application.setTitle(QString::fromUtf8(kApplicationTitle));        \
    InstallFontSubstitutions();                                        \
    TestClass test;                                                    \
    return QTest::qExec(&test, argc, argv);                            \
  }
