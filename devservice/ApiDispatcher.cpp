#include "devservice/ApiDispatcher.h"

#include "devservice/ErrorCodes.h"

namespace devservice {
namespace {

Outcome Missing(const std::string& name) {
  return Outcome::Fail(codes::kMissingParameter, "缺少参数: " + name);
}

}  // namespace

std::optional<Outcome> ApiDispatcher::checkToken(const ApiCall& call, const ParamList& params,
                                                 std::optional<Company>& company) const {
  if (call.token == TokenNeed::None) return std::nullopt;
  const std::string* token = params.find("token");
  if (token == nullptr) return Missing("token");
  const std::optional<Token> found =
      storage_.transact([&](Database& db) { return FindToken(db, *token); });
  if (!found) return Outcome::Fail(codes::kUnknownToken, "登录已失效,请重新登录");
  if (call.token == TokenNeed::Any) return std::nullopt;
  if (!found->company_id) return Outcome::Fail(codes::kNotSignedIn, "请先登录公司帐号");
  company = storage_.transact([&](Database& db) { return FindCompany(db, *found->company_id); });
  if (!company) return Outcome::Fail(codes::kUnknownToken, "登录已失效,请重新登录");
  const std::string* contact = params.find("register_contact_number");
  if (contact == nullptr) return Missing("register_contact_number");
  if (*contact != company->contact_number) {
    return Outcome::Fail(codes::kOtherCompany, "无权操作其他公司的数据");
  }
  return std::nullopt;
}

Outcome ApiDispatcher::run(const ApiCall& call, const SignedFields& fields) const {
  const std::time_t now = clock_.now();
  auto decoded = DecodeSignedRequest(fields, now);
  if (auto* error = std::get_if<ServiceError>(&decoded)) {
    Outcome refused;
    refused.error = *error;
    return refused;
  }
  const ParamList& params = std::get<ParamList>(decoded);
  try {
    std::optional<Company> company;
    if (auto refused = checkToken(call, params, company)) return *refused;
    CallContext context{params, storage_, console_, options_, now, std::move(company)};
    return call.handler(context);
  } catch (const MissingParameter& missing) {
    return Missing(missing.name());
  }
}

HttpAnswer ApiDispatcher::dispatch(const ApiCall& call, const SignedFields& fields) const {
  HttpAnswer answer;
  answer.content_type = AnswerContentType(call.mode);
  Outcome outcome;
  try {
    outcome = run(call, fields);
  } catch (const std::exception& failure) {
    console_.line(std::string("[错误] ") + call.path + ": " + failure.what());
    outcome = Outcome::Fail(codes::kInternalError, "服务内部错误");
    answer.status = 500;
  }
  answer.body = AnswerBody(outcome, call.mode);
  return answer;
}

}  // namespace devservice
