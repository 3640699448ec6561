// The application's error report: a failure that no handler caught, shown in a modal box
// with the failure's text. The client goes on after it is closed.
#pragma once

#include <QString>

// Object name of the report box, for finding it among the top-level widgets.
inline constexpr const char* kErrorReportName = "ErrorReport";

void ShowErrorReport(const QString& text);
