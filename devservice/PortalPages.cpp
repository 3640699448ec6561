#include "devservice/PortalPages.h"

#include <cstdio>
#include <functional>
#include <map>

#include "devservice/AreaTable.h"
#include "devservice/Clock.h"
#include "devservice/Companies.h"
#include "devservice/Html.h"
#include "devservice/Tracks.h"
#include "devservice/Vehicles.h"

namespace devservice {
namespace {

struct PageContext {
  Database& db;
  const Company& company;
  const std::string& token;
  const FormFields& query;
};

using PageBody = std::function<std::string(const PageContext&)>;

struct PortalPage {
  std::string title;
  PageBody body;
};

HttpAnswer HtmlAnswer(int status, const std::string& title, const std::string& body) {
  HttpAnswer answer;
  answer.status = status;
  answer.content_type = "text/html; charset=utf-8";
  answer.body = HtmlPage(title, body);
  return answer;
}

std::string Yuan(std::int64_t fen) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(fen) / 100.0);
  return text;
}

std::string Row(std::initializer_list<std::string> cells, const char* tag = "td") {
  std::string row = "<tr>";
  for (const std::string& cell : cells) {
    row += std::string("<") + tag + ">" + cell + "</" + tag + ">";
  }
  return row + "</tr>\n";
}

std::string Paragraph(const std::string& text) { return "<p>" + EscapeHtml(text) + "</p>\n"; }

std::string PageLink(const std::string& token, const std::string& name, const std::string& title) {
  return "<a href=\"/user/login_by_api?token=" + EscapeHtml(token) + "&amp;url_for=" +
         EscapeHtml(name) + "\">" + EscapeHtml(title) + "</a>";
}

std::string MaskedIdNumber(const std::string& id) {
  if (id.size() < 10) return id.empty() ? "(未登记)" : "****";
  return id.substr(0, 6) + std::string(id.size() - 10, '*') + id.substr(id.size() - 4);
}

std::string AccountSummary(const Company& company) {
  return "<table>\n" + Row({"公司", EscapeHtml(company.name)}) +
         Row({"联系电话", EscapeHtml(company.contact_number)}) +
         Row({"账户余额", Yuan(company.balance_fen) + " 元"}) +
         Row({"积分", std::to_string(company.rebate)}) +
         Row({"会员有效期至", EscapeHtml(company.membership_deadline)}) + "</table>\n";
}

std::string TrackBody(const PageContext& page) {
  const std::string plate = page.query.value("plate_number");
  const std::optional<Vehicle> vehicle = FindVehicle(page.db, page.company.id, plate);
  if (!vehicle) return Paragraph("未找到车辆 " + plate);
  const std::vector<TrackPoint> track = TrackOf(page.db, vehicle->id);
  std::string body = "<p>车牌号码: <b class=\"plate\">" + EscapeHtml(plate) + "</b> 随车司机: " +
                     EscapeHtml(vehicle->data.driver_name) + " 当前位置: " +
                     EscapeHtml(vehicle->location) + "</p>\n";
  if (track.empty()) return body + Paragraph("该车辆还没有定位记录");
  body += "<table class=\"track\">\n" + Row({"序号", "定位时间", "位置"}, "th");
  int index = 1;
  for (const TrackPoint& point : track) {
    body += Row({std::to_string(index++), EscapeHtml(FormatLocalTime(point.located_at)),
                 EscapeHtml(point.location)});
  }
  return body + "</table>\n" + Paragraph("共 " + std::to_string(track.size()) + " 个定位点");
}

std::string VerifyBody(const PageContext& page) {
  const std::string plate = page.query.value("plate_number");
  const std::optional<Vehicle> vehicle = FindVehicle(page.db, page.company.id, plate);
  if (!vehicle) return Paragraph("未找到车辆 " + plate);
  const VehicleData& data = vehicle->data;
  return "<table>\n" + Row({"车牌号码", EscapeHtml(plate)}) +
         Row({"随车司机", EscapeHtml(data.driver_name)}) +
         Row({"司机性别", EscapeHtml(data.driver_gender)}) +
         Row({"身份证号", EscapeHtml(MaskedIdNumber(data.driver_id_number))}) +
         Row({"核查结果", data.driver_id_number.empty() ? "未登记身份证号,无法核查"
                                                        : "身份信息已登记(开发服务不做真实核查)"}) +
         "</table>\n";
}

std::string ConsumeLogBody(const PageContext& page) {
  const std::vector<Charge> charges = ChargesOf(page.db, page.company.id, 100);
  if (charges.empty()) return Paragraph("暂无消费记录");
  std::string body = "<table>\n" + Row({"时间", "项目", "车牌号码", "金额(元)", "余额(元)"}, "th");
  for (const Charge& charge : charges) {
    body += Row({EscapeHtml(FormatLocalTime(charge.charged_at)), "车辆定位",
                 EscapeHtml(charge.plate_number), Yuan(charge.amount_fen),
                 Yuan(charge.balance_after_fen)});
  }
  return body + "</table>\n";
}

std::string UserInfoBody(const PageContext& page) {
  const Company& company = page.company;
  const Area* seat = FindArea(company.seat_code);
  return "<table>\n" + Row({"公司名称", EscapeHtml(company.name)}) +
         Row({"联系电话", EscapeHtml(company.contact_number)}) +
         Row({"所在地", seat != nullptr ? EscapeHtml(seat->name) : ""}) +
         Row({"经销商", EscapeHtml(company.partner_name)}) +
         Row({"经销商电话", EscapeHtml(company.partner_contact_number)}) + "</table>\n" +
         Paragraph("开发服务中资料只能查看,不能修改。");
}

std::string HomeBody(const PageContext& page) {
  std::string links = "<ul>\n";
  const std::pair<const char*, const char*> entries[] = {
      {"user_info_edit", "修改信息"},     {"password_change", "修改密码"},
      {"account_consume_logs", "消费记录"}, {"account_pay", "账户充值"},
      {"account_buy_packages", "购买套餐"}, {"account_rebates", "积分兑换"},
      {"cars_filter_public", "网上车库"},   {"portal_activity", "优惠活动"},
      {"contact_us", "联系客服"}};
  for (const auto& [name, title] : entries) {
    links += "<li>" + PageLink(page.token, name, title) + "</li>\n";
  }
  return Paragraph("欢迎, " + page.company.name) + AccountSummary(page.company) + links + "</ul>\n";
}

std::string FleetCountBody(const PageContext& page, const std::string& what) {
  return Paragraph(what) +
         Paragraph("本公司登记车辆 " + std::to_string(CountVehicles(page.db, page.company.id)) + " 辆");
}

const std::map<std::string, PortalPage>& Pages() {
  static const std::map<std::string, PortalPage> pages = {
      {"", {"Vandrel 车队服务", HomeBody}},
      {"user_info_edit", {"修改信息", UserInfoBody}},
      {"password_change",
       {"修改密码", [](const PageContext&) { return Paragraph("开发服务不支持在网页上修改密码。"); }}},
      {"account_consume_logs", {"消费记录", ConsumeLogBody}},
      {"account_pay",
       {"账户充值",
        [](const PageContext& page) {
          return AccountSummary(page.company) + Paragraph("开发服务不接受真实付款。");
        }}},
      {"account_buy_packages",
       {"购买套餐",
        [](const PageContext&) {
          return "<table>\n" + Row({"套餐", "定位次数", "价格(元)"}, "th") +
                 Row({"基础套餐", "100", "18.00"}) + Row({"标准套餐", "300", "50.00"}) +
                 Row({"企业套餐", "1000", "150.00"}) + "</table>\n";
        }}},
      {"account_rebates",
       {"积分兑换",
        [](const PageContext& page) {
          return Paragraph("当前积分: " + std::to_string(page.company.rebate)) +
                 Paragraph("每100积分可兑换1次定位。");
        }}},
      {"cars_filter",
       {"找车运货", [](const PageContext& page) { return FleetCountBody(page, "按流向查找可用车辆。"); }}},
      {"cars_filter_public",
       {"网上车库", [](const PageContext& page) { return FleetCountBody(page, "公开车源信息。"); }}},
      {"cars_orbit_view", {"车辆历史轨迹", TrackBody}},
      {"services_verify", {"司机证件核查", VerifyBody}},
      {"new_insurance",
       {"货运保险", [](const PageContext&) { return Paragraph("货运保险服务即将开通。"); }}},
      {"portal_activity",
       {"优惠活动", [](const PageContext&) { return Paragraph("充值满100元赠送10次定位。"); }}},
      {"contact_us",
       {"联系客服",
        [](const PageContext&) {
          return Paragraph("客服电话: 400-000-8610") + Paragraph("服务时间: 每天 8:00-20:00");
        }}},
  };
  return pages;
}

}  // namespace

const std::vector<std::string>& PortalPageNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const auto& entry : Pages()) {
      if (!entry.first.empty()) all.push_back(entry.first);
    }
    return all;
  }();
  return names;
}

HttpAnswer TokenSignInPage(Storage& storage, const FormFields& query) {
  const std::string token = query.value("token");
  const std::string name = query.value("url_for");
  const auto found = Pages().find(name);
  if (found == Pages().end()) {
    return HtmlAnswer(404, "页面不存在", Paragraph("没有名为 " + name + " 的页面"));
  }
  return storage.transact([&](Database& db) {
    const std::optional<Token> session = FindToken(db, token);
    if (!session) return HtmlAnswer(403, "登录已失效", Paragraph("登录已失效,请在客户端重新登录。"));
    if (!session->company_id) {
      return HtmlAnswer(403, "请先登录", Paragraph("请先在客户端登录公司帐号。"));
    }
    const std::optional<Company> company = FindCompany(db, *session->company_id);
    if (!company) return HtmlAnswer(403, "登录已失效", Paragraph("登录已失效,请在客户端重新登录。"));
    const PageContext page{db, *company, token, query};
    return HtmlAnswer(200, found->second.title, found->second.body(page));
  });
}

HttpAnswer PasswordResetPage() {
  return HtmlAnswer(200, "找回密码",
                    Paragraph("请输入注册时的手机号码,我们将发送验证码帮助您重设密码。") +
                        "<form><input name=\"contact_number\" placeholder=\"手机号码\"> "
                        "<button type=\"button\">下一步</button></form>\n" +
                        Paragraph("开发服务不发送真实短信。"));
}

HttpAnswer ActivationPage() {
  return HtmlAnswer(200, "帐号激活",
                    "<form id=\"login\" method=\"post\" action=\"/v2/activate\">\n"
                    "<p>登录帐号 <input name=\"login_name\"></p>\n"
                    "<p>登录密码 <input name=\"password\" type=\"password\"></p>\n"
                    "<p><button type=\"submit\">激活</button></p>\n</form>\n");
}

HttpAnswer ActivateFromForm(Storage& storage, Console& console, const FormFields& form) {
  const std::string login = form.value("login_name");
  const std::string password = form.value("password");
  const bool activated = storage.transact([&](Database& db) {
    const std::optional<Account> account = FindAccountForLogin(db, login);
    if (!account || account->password_hash != PasswordHash(account->login_name, password)) {
      return false;
    }
    return ActivateAccount(db, account->login_name);
  });
  if (!activated) return HtmlAnswer(403, "激活失败", Paragraph("帐号或密码错误。"));
  console.line("[激活] 帐号 " + login + " 已在网页上激活");
  return HtmlAnswer(200, "激活成功", Paragraph("帐号 " + login + " 已激活,请回到客户端登录。"));
}

HttpAnswer ServiceIndexPage() {
  return HtmlAnswer(200, "Vandrel 本地开发服务",
                    Paragraph("接口: /user/*, /car/* (签名请求)") +
                        Paragraph("网页: /user/login_by_api?token=..., /password/reset/step1, /v2/") +
                        Paragraph("开发接口: /dev/captcha, /dev/authorise, /dev/activate, "
                                  "/dev/clock, /dev/console") +
                        Paragraph("升级文件: /client/update/"));
}

}  // namespace devservice
