// Field rules of user input and service data: named patterns, mobile carriers, short
// location texts. Texts are UTF-8; patterns and byte counts work on their code-page-936 bytes.
#pragma once

#include <string>

namespace Korvane {

// "LoginName", "Password", "IllegalChar", "Float" or "Phone"; any other name is false.
bool CheckPattern(const std::string& text, const std::string& patternName);

// "CM", "CU", "CT", "Unknown" (11 bytes, no known prefix) or "Invalid" (not 11 bytes).
std::string GetCarrier(const std::string& mobileNumber);

// The display form of a position: "浙江省,杭州市,西湖区" -> "浙江杭州市西湖区".
std::string ShortLocation(const std::string& location);

}  // namespace Korvane
