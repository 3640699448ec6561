// The error codes this service answers in error.code, with their messages. The client knows
// some of them by number ("102", "206", "207", "213", "604", "621", "622"); the rest are
// this service's own.
#pragma once

namespace devservice::codes {

// Request envelope and signature.
inline constexpr const char* kIncompleteRequest = "100";  // key, parameters or sign missing
inline constexpr const char* kUnknownKey = "101";
inline constexpr const char* kTimeStampOutOfRange = "102";
inline constexpr const char* kBadSignature = "103";
inline constexpr const char* kMalformedParameters = "104";
inline constexpr const char* kUnknownToken = "105";
inline constexpr const char* kNotSignedIn = "108";  // an access token where a company is needed
inline constexpr const char* kMissingParameter = "110";
inline constexpr const char* kOtherCompany = "111";
inline constexpr const char* kMethodNotAllowed = "112";
inline constexpr const char* kUnknownPath = "113";
inline constexpr const char* kBodyTooLarge = "114";
inline constexpr const char* kInternalError = "115";
inline constexpr const char* kBadHttpRequest = "116";

// Field refusals: error.validates names the fields.
inline constexpr const char* kInvalidFields = "300";

// Vehicles and locating.
inline constexpr const char* kVehicleNotFound = "201";
inline constexpr const char* kAlreadyOpened = "206";
inline constexpr const char* kDailyLimit = "207";
inline constexpr const char* kTooFrequent = "213";
inline constexpr const char* kLocatingNotOpened = "604";
inline constexpr const char* kBalanceTooLow = "605";
inline constexpr const char* kMembershipExpired = "606";

// Accounts.
inline constexpr const char* kUnknownAccount = "601";
inline constexpr const char* kWrongPassword = "602";
inline constexpr const char* kUnknownVerifyMode = "603";
inline constexpr const char* kContactNotActivated = "621";
inline constexpr const char* kAccountNotActivated = "622";

}  // namespace devservice::codes
