#include "Korvane/Session.h"

#include <mutex>

namespace Korvane {
namespace {

std::mutex sessionLock;
std::shared_ptr<TCompany> current;

}  // namespace

std::shared_ptr<TCompany> Company() {
  std::lock_guard guard(sessionLock);
  return current;
}

void SetCompany(std::shared_ptr<TCompany> company) {
  std::lock_guard guard(sessionLock);
  current = std::move(company);
}

std::string SessionToken() {
  const std::shared_ptr<TCompany> company = Company();
  return company ? company->token : std::string();
}

}  // namespace Korvane
