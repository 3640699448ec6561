#include "Korvane/Deployment.h"

#include <mutex>

namespace Korvane {
namespace {

struct Urls {
  std::mutex lock;
  std::string api = kDefaultServiceUrl;
  std::string portal = kDefaultServiceUrl;
  std::string update = kDefaultServiceUrl;
};

Urls& Deployment() {
  static Urls urls;
  return urls;
}

// Base URLs are kept without a trailing slash: paths are appended to them as they stand.
std::string WithoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

std::string Read(std::string Urls::*member) {
  std::lock_guard guard(Deployment().lock);
  return Deployment().*member;
}

void Write(std::string Urls::*member, const std::string& url) {
  std::lock_guard guard(Deployment().lock);
  Deployment().*member = WithoutTrailingSlash(url);
}

}  // namespace

std::string ApiBaseUrl() { return Read(&Urls::api); }
void SetApiBaseUrl(const std::string& url) { Write(&Urls::api, url); }
std::string PortalBaseUrl() { return Read(&Urls::portal); }
void SetPortalBaseUrl(const std::string& url) { Write(&Urls::portal, url); }
std::string UpdateBaseUrl() { return Read(&Urls::update); }
void SetUpdateBaseUrl(const std::string& url) { Write(&Urls::update, url); }

}  // namespace Korvane
