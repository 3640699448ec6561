// Blocking HTTP GET and form POST through libcurl, one handle per thread so that no handle
// ever serves two calls at once. Failures are thrown as the kinds of Failures.h.
#pragma once

#include <chrono>
#include <string>

namespace Korvane::Http {

struct Timeouts {
  std::chrono::milliseconds connect{10000};  // a connect that takes longer is a socket error
  std::chrono::milliseconds read{30000};     // this long without a byte is the read time-out
};

// Shortened by tests. Applies to every thread's next request.
void SetTimeouts(Timeouts timeouts);
Timeouts GetTimeouts();

// GET of the URL as it stands; returns the body of a 2xx answer. Redirects are not followed.
std::string Get(const std::string& url);

// POST of an application/x-www-form-urlencoded body; returns the body of a 2xx answer.
std::string PostForm(const std::string& url, const std::string& body);

}  // namespace Korvane::Http
