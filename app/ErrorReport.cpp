#include "app/ErrorReport.h"

#include <QGuiApplication>
#include <QMessageBox>

void ShowErrorReport(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text,
                  QMessageBox::Ok);
  box.setObjectName(QString::fromLatin1(kErrorReportName));
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}
