// A development service started in-process on a free loopback port, with a frozen clock,
// and a client that signs its requests the way the desktop client does.
#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "devservice/Server.h"

namespace devtest {

using Json = nlohmann::ordered_json;
using Pairs = std::vector<std::pair<std::string, std::string>>;

// The client's parameter text: "ts=" + enc(ts) + "&" + enc(name) + "=" + enc(value) ...,
// enc being the URL encoding that keeps "=" and "&" inside names and values encoded.
std::string ParameterText(const std::string& ts, const Pairs& pairs);
// Base64 of the parameter text.
std::string Parameters(const std::string& ts, const Pairs& pairs);
// "key=62937&parameters=P&sign=S" as a GET query (Base64 unescaped).
std::string SignedQuery(const std::string& ts, const Pairs& pairs);
// The same fields as a form body (Base64 "+" as %2B, "=" as %3D).
std::string SignedForm(const std::string& ts, const Pairs& pairs);

struct Reply {
  int status = 0;
  std::string body;
  std::string content_type;
};

// Parses an envelope; UrlEncoded answers are URL-decoded first. Fails the test (and gives
// null) when the body is not JSON in that mode.
Json Envelope(const Reply& reply, bool urlEncoded);

// 2024-05-14 10:00:00 local time: the harness's frozen "now".
std::time_t FixedNow();

class ServiceHarness {
 public:
  explicit ServiceHarness(devservice::ServiceOptions options = {}, bool seedDemo = true);
  ~ServiceHarness();

  devservice::DevService& service() const { return *service_; }
  int port() const { return port_; }
  std::time_t now() const;
  // The client's time stamp, `offset` seconds away from the service's clock.
  std::string ts(std::time_t offset = 0) const;

  // Signed GET of `path` (query built from pairs) and signed POST (form body).
  Reply get(const std::string& path, const Pairs& pairs, std::time_t tsOffset = 0) const;
  Reply post(const std::string& path, const Pairs& pairs, std::time_t tsOffset = 0) const;
  // Any request as given.
  Reply raw(const std::string& method, const std::string& target, const std::string& body = "",
            const std::string& contentType = "application/x-www-form-urlencoded") const;

  // Signed call of an API path, its answer read in the path's mode.
  Json call(const std::string& path, const Pairs& pairs, std::time_t tsOffset = 0) const;

  // Signs in and returns the token (test failure when refused).
  std::string signIn(const std::string& login, const std::string& password) const;
  // The demo company's token.
  std::string demoToken() const;

  // Registers, activates and signs in a new company; returns its token.
  std::string newCompany(const std::string& login, const std::string& contact,
                         const std::string& seat = "330200") const;

 private:
  std::unique_ptr<devservice::DevService> service_;
  int port_ = 0;
};

// True when the answer is {"success": false, "error": {"code": code, ...}}.
::testing::AssertionResult FailsWith(const Json& envelope, const std::string& code);
::testing::AssertionResult Succeeds(const Json& envelope);

// Whether an API path answers URL-encoded JSON.
bool AnswersUrlEncoded(const std::string& path);

}  // namespace devtest
