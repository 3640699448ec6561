#include "app/Startup.h"

#include <exception>
#include <string>
#include <vector>

#include "app/ApplicationTitle.h"
#include "app/DeploymentOptions.h"
#include "app/ErrorReport.h"
#include "app/Fonts.h"
#include "app/TApplication.h"
#include "app/WindowSet.h"

namespace {

std::vector<std::string> Arguments(const TApplication& application) {
  std::vector<std::string> arguments;
  for (const QString& argument : application.arguments())
    arguments.push_back(argument.toStdString());
  return arguments;
}

}  // namespace

int RunClient(int& argc, char** argv) {
  TApplication application(argc, argv);
  application.setTitle(QString::fromUtf8(kApplicationTitle));
  InstallFontSubstitutions();
  ApplyDeploymentOptions(ReadDeploymentOptions(Arguments(application), ProcessEnvironment));
  try {
    CreateWindowSet(application);
  } catch (const std::exception& failure) {
    // Without its window set the client cannot run.
    ShowErrorReport(QString::fromUtf8(failure.what()));
    return 1;
  }
  // Entering the message loop shows the main window, the login window.
  return application.Run();
}
