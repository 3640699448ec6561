// The base URLs from the command line and the environment.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Korvane/Deployment.h"
#include "app/DeploymentOptions.h"

namespace {

using Environment = std::map<std::string, std::string>;

EnvironmentLookup LookupIn(const Environment& environment) {
  return [environment](const char* name) -> std::optional<std::string> {
    const auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
  };
}

struct Case {
  const char* label;
  std::vector<std::string> arguments;
  Environment environment;
  std::optional<std::string> api, portal, update;
};

TEST(DeploymentOptionsTest, CommandLineWinsOverTheEnvironment) {
  const Case cases[] = {
      {"nothing given", {"vandrel"}, {}, std::nullopt, std::nullopt, std::nullopt},
      {"options with a separate value",
       {"vandrel", "--api-url", "http://a:1", "--portal-url", "http://p:2", "--update-url",
        "http://u:3"},
       {},
       "http://a:1", "http://p:2", "http://u:3"},
      {"options with =", {"vandrel", "--api-url=http://a:1"}, {}, "http://a:1", std::nullopt,
       std::nullopt},
      {"environment only",
       {"vandrel"},
       {{"VANDREL_API_URL", "http://ea"}, {"VANDREL_UPDATE_URL", "http://eu"}},
       "http://ea", std::nullopt, "http://eu"},
      {"option over variable",
       {"vandrel", "--portal-url=http://cp"},
       {{"VANDREL_PORTAL_URL", "http://ep"}},
       std::nullopt, "http://cp", std::nullopt},
      {"the last option given", {"vandrel", "--api-url=http://1", "--api-url", "http://2"}, {},
       "http://2", std::nullopt, std::nullopt},
      {"empty option falls back to the variable",
       {"vandrel", "--api-url="},
       {{"VANDREL_API_URL", "http://ea"}},
       "http://ea", std::nullopt, std::nullopt},
      {"empty variable is none", {"vandrel"}, {{"VANDREL_API_URL", ""}}, std::nullopt,
       std::nullopt, std::nullopt},
      {"option without its value", {"vandrel", "--api-url"}, {}, std::nullopt, std::nullopt,
       std::nullopt},
      {"other arguments left alone", {"vandrel", "-platform", "offscreen", "--api-urlx=1"}, {},
       std::nullopt, std::nullopt, std::nullopt},
      {"the program name is no option", {"--api-url=http://self"}, {}, std::nullopt,
       std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    const DeploymentOptions options = ReadDeploymentOptions(c.arguments, LookupIn(c.environment));
    EXPECT_EQ(options.apiUrl, c.api) << c.label;
    EXPECT_EQ(options.portalUrl, c.portal) << c.label;
    EXPECT_EQ(options.updateUrl, c.update) << c.label;
  }
}

TEST(DeploymentOptionsTest, OnlyTheGivenOptionsReachTheServiceUnit) {
  Korvane::SetApiBaseUrl("http://before-api");
  Korvane::SetPortalBaseUrl("http://before-portal");
  Korvane::SetUpdateBaseUrl("http://before-update");
  ApplyDeploymentOptions(DeploymentOptions{"http://api.test", std::nullopt, "http://up.test"});
  EXPECT_EQ(Korvane::ApiBaseUrl(), "http://api.test");
  EXPECT_EQ(Korvane::PortalBaseUrl(), "http://before-portal");
  EXPECT_EQ(Korvane::UpdateBaseUrl(), "http://up.test");
}

}  // namespace
