// Runs one API call: decodes and checks the signed request, resolves the token, calls the
// handler and turns every outcome, failures included, into an answer envelope.
#pragma once

#include "devservice/Calls.h"
#include "devservice/Clock.h"
#include "devservice/HttpAnswer.h"

namespace devservice {

class ApiDispatcher {
 public:
  ApiDispatcher(Storage& storage, Console& console, const ServiceOptions& options,
                const ServiceClock& clock)
      : storage_(storage), console_(console), options_(options), clock_(clock) {}

  HttpAnswer dispatch(const ApiCall& call, const SignedFields& fields) const;

 private:
  Outcome run(const ApiCall& call, const SignedFields& fields) const;
  // The token's company when the call needs one; an error outcome when the token fails.
  std::optional<Outcome> checkToken(const ApiCall& call, const ParamList& params,
                                    std::optional<Company>& company) const;

  Storage& storage_;
  Console& console_;
  const ServiceOptions& options_;
  const ServiceClock& clock_;
};

}  // namespace devservice
