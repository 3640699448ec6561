#include "devservice/Server.h"

#include <httplib.h>

#include <iostream>
#include <stdexcept>

#include "devservice/ApiDispatcher.h"
#include "devservice/DevCalls.h"
#include "devservice/ErrorCodes.h"
#include "devservice/LocateCalls.h"
#include "devservice/PortalPages.h"

namespace devservice {
namespace {

void Write(httplib::Response& res, const HttpAnswer& answer) {
  res.status = answer.status;
  res.set_content(answer.body, answer.content_type.c_str());
}

HttpAnswer ErrorAnswer(int status, const char* code, const std::string& message) {
  HttpAnswer answer;
  answer.status = status;
  answer.body = AnswerBody(Outcome::Fail(code, message), AnswerMode::Plain);
  return answer;
}

// The fields of a development or portal request: the query, and a form body after it.
FormFields RequestFields(const httplib::Request& req) {
  FormFields fields = FormFields::Parse(QueryOf(req.target));
  if (req.method == "POST") fields.append(req.body);
  return fields;
}

bool IsKnownPath(const std::string& path) {
  for (const ApiCall& call : ApiCalls()) {
    if (path == call.path) return true;
  }
  return false;
}

HttpAnswer AnswerForHttpError(int status) {
  switch (status) {
    case 400: return ErrorAnswer(400, codes::kBadHttpRequest, "请求格式错误");
    case 404: return ErrorAnswer(404, codes::kUnknownPath, "接口不存在");
    case 405: return ErrorAnswer(405, codes::kMethodNotAllowed, "请求方法不允许");
    case 413: return ErrorAnswer(413, codes::kBodyTooLarge, "请求数据过大");
    case 414: return ErrorAnswer(414, codes::kBodyTooLarge, "请求地址过长");
    case 500: return ErrorAnswer(500, codes::kInternalError, "服务内部错误");
    default: return ErrorAnswer(status, codes::kBadHttpRequest, "请求无法处理");
  }
}

}  // namespace

DevService::DevService(ServiceOptions options, std::ostream* console)
    : options_(std::move(options)),
      console_(console),
      storage_(options_.database),
      dispatcher_(std::make_unique<ApiDispatcher>(storage_, console_, options_, clock_)),
      server_(std::make_unique<httplib::Server>()) {
  server_->set_payload_max_length(options_.max_body_bytes);
  // An idle kept-alive connection holds its worker, and stop() waits for it, this long.
  server_->set_keep_alive_timeout(1);
  installApiRoutes();
  installDevRoutes();
  installPortalRoutes();
  installFallbacks();
}

DevService::~DevService() { stop(); }

void DevService::installApiRoutes() {
  for (const ApiCall& call : ApiCalls()) {
    auto handler = [this, &call](const httplib::Request& req, httplib::Response& res) {
      const SignedFields fields = req.method == "POST" ? FieldsFromForm(req.body)
                                                       : FieldsFromQuery(QueryOf(req.target));
      Write(res, dispatcher_->dispatch(call, fields));
    };
    if (std::string_view(call.method) == "POST") {
      server_->Post(call.path, handler);
    } else {
      server_->Get(call.path, handler);
    }
  }
}

void DevService::installDevRoutes() {
  using Request = const httplib::Request&;
  using Response = httplib::Response&;
  const std::pair<const char*, httplib::Server::Handler> routes[] = {
      {"/dev/captcha", [this](Request req, Response res) {
         Write(res, DevCaptcha(storage_, RequestFields(req)));
       }},
      {"/dev/authorise", [this](Request req, Response res) {
         Write(res, DevAuthorise(storage_, console_, RequestFields(req)));
       }},
      {"/dev/activate", [this](Request req, Response res) {
         Write(res, DevActivate(storage_, console_, RequestFields(req)));
       }},
      {"/dev/clock", [this](Request req, Response res) {
         Write(res, DevClock(clock_, RequestFields(req)));
       }},
      {"/dev/console", [this](Request, Response res) { Write(res, DevConsole(console_)); }},
  };
  for (const auto& [path, handler] : routes) {
    server_->Get(path, handler);
    server_->Post(path, handler);
  }
}

void DevService::installPortalRoutes() {
  server_->Get("/user/login_by_api", [this](const httplib::Request& req, httplib::Response& res) {
    Write(res, TokenSignInPage(storage_, RequestFields(req)));
  });
  server_->Get("/password/reset/step1", [](const httplib::Request&, httplib::Response& res) {
    Write(res, PasswordResetPage());
  });
  server_->Get("/v2/?", [](const httplib::Request&, httplib::Response& res) {
    Write(res, ActivationPage());
  });
  server_->Post("/v2/activate", [this](const httplib::Request& req, httplib::Response& res) {
    Write(res, ActivateFromForm(storage_, console_, RequestFields(req)));
  });
  server_->Get("/", [](const httplib::Request&, httplib::Response& res) {
    Write(res, ServiceIndexPage());
  });
  if (!options_.update_dir.empty()) {
    if (!server_->set_mount_point("/client/update", options_.update_dir)) {
      std::cerr << "vandrel-devservice: update folder not found: " << options_.update_dir << "\n";
    }
  }
}

void DevService::installFallbacks() {
  auto fallback = [](const httplib::Request& req, httplib::Response& res) {
    Write(res, AnswerForHttpError(IsKnownPath(req.path) ? 405 : 404));
  };
  server_->Get(".*", fallback);
  server_->Post(".*", fallback);
  server_->Put(".*", fallback);
  server_->Patch(".*", fallback);
  server_->Delete(".*", fallback);
  server_->Options(".*", fallback);
  const httplib::Server::HandlerWithResponse onHttpError = [](const httplib::Request&,
                                                              httplib::Response& res) {
    if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
    Write(res, AnswerForHttpError(res.status));
    return httplib::Server::HandlerResponse::Handled;
  };
  server_->set_error_handler(onHttpError);
  server_->set_exception_handler(
      [this](const httplib::Request& req, httplib::Response& res, std::exception_ptr failure) {
        try {
          if (failure) std::rethrow_exception(failure);
        } catch (const std::exception& error) {
          console_.line("[错误] " + req.path + ": " + error.what());
        } catch (...) {
          console_.line("[错误] " + req.path);
        }
        Write(res, AnswerForHttpError(500));
      });
}

int DevService::start(int port) {
  const int bound = port == 0 ? server_->bind_to_any_port(options_.host)
                              : (server_->bind_to_port(options_.host, port) ? port : -1);
  if (bound <= 0) {
    throw std::runtime_error("cannot listen on " + options_.host + ":" + std::to_string(port));
  }
  port_ = bound;
  listener_ = std::thread([this] { server_->listen_after_bind(); });
  // stop() only reaches a server that has begun to listen.
  for (int waited = 0; !server_->is_running(); ++waited) {
    if (waited == 5000) throw std::runtime_error("the server did not start listening");
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (options_.auto_authorise_seconds) ticker_ = std::thread([this] { runAuthorisationTicker(); });
  return port_;
}

void DevService::runAuthorisationTicker() {
  std::unique_lock lock(tickerMutex_);
  while (!tickerWake_.wait_for(lock, std::chrono::milliseconds(500), [this] { return stopping_; })) {
    lock.unlock();
    storage_.transact([this](Database& db) { OpenDueAuthorisations(db, console_, clock_.now()); });
    lock.lock();
  }
}

void DevService::stop() {
  {
    std::lock_guard lock(tickerMutex_);
    stopping_ = true;
  }
  tickerWake_.notify_all();
  if (ticker_.joinable()) ticker_.join();
  server_->stop();
  if (listener_.joinable()) listener_.join();
}

}  // namespace devservice
