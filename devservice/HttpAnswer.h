// An HTTP answer as the handlers produce it, before it is written to the connection.
#pragma once

#include <string>

namespace devservice {

struct HttpAnswer {
  int status = 200;
  std::string body;
  std::string content_type = "application/json; charset=utf-8";
};

}  // namespace devservice
