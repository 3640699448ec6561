// Where the service, its web portal and the update server are, as the command line and the
// environment name them: --api-url, --portal-url, --update-url (as "--x URL" or "--x=URL"),
// else VANDREL_API_URL, VANDREL_PORTAL_URL, VANDREL_UPDATE_URL.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct DeploymentOptions {
  std::optional<std::string> apiUrl;
  std::optional<std::string> portalUrl;
  std::optional<std::string> updateUrl;
};

// The environment as a lookup: nullopt for a variable that is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process's own environment; an empty variable counts as not set.
std::optional<std::string> ProcessEnvironment(const char* name);

// Options from the arguments (the program name first) and the environment; an option on the
// command line wins over its variable; an empty value counts as none. Arguments the client
// does not know are left alone.
DeploymentOptions ReadDeploymentOptions(const std::vector<std::string>& arguments,
                                        const EnvironmentLookup& environment);

// Hands the options that are set to the service unit; the others keep its defaults.
void ApplyDeploymentOptions(const DeploymentOptions& options);
