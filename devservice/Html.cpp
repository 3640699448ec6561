#include "devservice/Html.h"

namespace devservice {

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string HtmlPage(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
         EscapeHtml(title) + " - Vandrel</title>\n<style>\n"
         "body{font-family:\"AR PL UMing CN\",SimSun,serif;margin:24px;color:#222}\n"
         "h1{font-size:20px;border-bottom:2px solid #E3521F;padding-bottom:6px}\n"
         "table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:4px 10px}\n"
         "th{background:#f0f0f0}.note{color:#777;font-size:12px}\n"
         "</style>\n</head>\n<body>\n<h1>" +
         EscapeHtml(title) + "</h1>\n" + body +
         "\n<p class=\"note\">Vandrel 本地开发服务</p>\n</body>\n</html>\n";
}

}  // namespace devservice
