// Building the portal's HTML pages.
#pragma once

#include <string>
#include <string_view>

namespace devservice {

// Escapes & < > " ' for use in text and attribute values.
std::string EscapeHtml(std::string_view text);

// A whole page (UTF-8, Chinese) with the title as heading and `body` (HTML) under it.
std::string HtmlPage(const std::string& title, const std::string& body);

}  // namespace devservice
