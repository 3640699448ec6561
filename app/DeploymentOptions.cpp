#include "app/DeploymentOptions.h"

#include <cstdlib>

#include "Korvane/Deployment.h"

namespace {

struct Setting {
  const char* option;    // "--api-url"
  const char* variable;  // "VANDREL_API_URL"
  std::optional<std::string> DeploymentOptions::*field;
};

const Setting kSettings[] = {
    {"--api-url", "VANDREL_API_URL", &DeploymentOptions::apiUrl},
    {"--portal-url", "VANDREL_PORTAL_URL", &DeploymentOptions::portalUrl},
    {"--update-url", "VANDREL_UPDATE_URL", &DeploymentOptions::updateUrl},
};

// The value of `option` in the arguments, the last one given winning.
std::optional<std::string> OptionValue(const std::vector<std::string>& arguments,
                                       const std::string& option) {
  std::optional<std::string> value;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == option && i + 1 < arguments.size())
      value = arguments[++i];
    else if (argument.rfind(option + "=", 0) == 0)
      value = argument.substr(option.size() + 1);
  }
  return value;
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

DeploymentOptions ReadDeploymentOptions(const std::vector<std::string>& arguments,
                                        const EnvironmentLookup& environment) {
  DeploymentOptions options;
  for (const Setting& setting : kSettings) {
    std::optional<std::string> value = OptionValue(arguments, setting.option);
    if (!value || value->empty()) value = environment(setting.variable);
    if (value && value->empty()) value.reset();
    options.*setting.field = value;
  }
  return options;
}

void ApplyDeploymentOptions(const DeploymentOptions& options) {
  if (options.apiUrl) Korvane::SetApiBaseUrl(*options.apiUrl);
  if (options.portalUrl) Korvane::SetPortalBaseUrl(*options.portalUrl);
  if (options.updateUrl) Korvane::SetUpdateBaseUrl(*options.updateUrl);
}
