// What every API call handler gets, and the table of the API's paths.
#pragma once

#include <ctime>
#include <optional>
#include <vector>

#include "devservice/Companies.h"
#include "devservice/Console.h"
#include "devservice/Envelope.h"
#include "devservice/RequestDecoder.h"
#include "devservice/ServiceOptions.h"
#include "devservice/Storage.h"

namespace devservice {

struct CallContext {
  const ParamList& params;
  Storage& storage;
  Console& console;
  const ServiceOptions& options;
  std::time_t now;
  // The company of the request's token, for calls made on behalf of a company.
  std::optional<Company> company;
};

using CallHandler = Outcome (*)(CallContext&);

// What a call's token must be.
enum class TokenNeed {
  None,     // no token (signing in)
  Any,      // any token issued by signing in, access tokens too
  Company,  // a company's token; register_contact_number must be that company's
};

struct ApiCall {
  const char* path;
  const char* method;
  AnswerMode mode;
  TokenNeed token;
  CallHandler handler;
};

// Every path of the API with its method, answer mode, token rule and handler.
const std::vector<ApiCall>& ApiCalls();

}  // namespace devservice
