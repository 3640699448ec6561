// The failure kinds of a service call. Each carries a stable kind name that goes into the
// log line ("EReadTimeout", "ESocketError", "EHttpStatus", "EBadAnswer", ...).
#pragma once

#include <stdexcept>
#include <string>

namespace Korvane {

class ECallFailure : public std::runtime_error {
 public:
  ECallFailure(std::string kind, const std::string& message)
      : std::runtime_error(message), kind_(std::move(kind)) {}
  const std::string& kind() const { return kind_; }

 private:
  std::string kind_;
};

// Nothing arrived within the read time-out.
class EReadTimeout : public ECallFailure {
 public:
  explicit EReadTimeout(const std::string& message) : ECallFailure("EReadTimeout", message) {}
};

// Connection refused, name not resolved, connection reset, connect time-out.
class ESocketError : public ECallFailure {
 public:
  explicit ESocketError(const std::string& message) : ECallFailure("ESocketError", message) {}
};

// Any other transport failure (TLS, protocol, ...).
class ETransportError : public ECallFailure {
 public:
  explicit ETransportError(const std::string& message)
      : ECallFailure("ETransportError", message) {}
};

// The service answered with an HTTP error status.
class EHttpStatus : public ECallFailure {
 public:
  EHttpStatus(long status, const std::string& message)
      : ECallFailure("EHttpStatus", message), status_(status) {}
  long status() const { return status_; }

 private:
  long status_;
};

// The answer could not be read: not JSON, not an object, a member of the wrong type or a
// missing `result`/`error` object.
class EBadAnswer : public ECallFailure {
 public:
  explicit EBadAnswer(const std::string& message) : ECallFailure("EBadAnswer", message) {}
};

// The answer body could not be URL-decoded.
class EBadEncoding : public ECallFailure {
 public:
  explicit EBadEncoding(const std::string& message) : ECallFailure("EBadEncoding", message) {}
};

}  // namespace Korvane
