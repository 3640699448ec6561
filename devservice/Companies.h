// Companies, their sign-in accounts, issued tokens and the verification codes sent by SMS.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "devservice/Database.h"

namespace devservice {

struct Company {
  std::int64_t id = 0;
  std::string name;
  std::string contact_number;
  std::int64_t balance_fen = 0;  // the account balance in fen (0.01 yuan)
  std::int64_t rebate = 0;       // points
  bool is_partner = false;
  std::string partner_name;
  std::string partner_contact_number;
  std::string partner_address;
  std::string partner_contact_person;
  std::string partner_identification;
  std::string current_city;         // a city name, e.g. "宁波市"
  std::string seat_code;            // the seat city's area code
  std::string membership_deadline;  // "yyyy-mm-dd hh:nn:ss"
};

struct Account {
  std::int64_t id = 0;
  std::int64_t company_id = 0;
  std::string login_name;
  std::string password_hash;
  bool activated = false;
};

struct Token {
  std::optional<std::int64_t> company_id;  // none for an access token
  std::time_t issued_at = 0;
};

struct Captcha {
  std::string code;
  std::time_t issued_at = 0;
};

std::int64_t InsertCompany(Database& db, const Company& company);
std::optional<Company> FindCompany(Database& db, std::int64_t id);
std::optional<Company> FindCompanyByContact(Database& db, const std::string& contact_number);
void SetBalance(Database& db, std::int64_t company_id, std::int64_t balance_fen);

// The stored form of a password.
std::string PasswordHash(const std::string& login_name, const std::string& password);
std::int64_t InsertAccount(Database& db, std::int64_t company_id, const std::string& login_name,
                           const std::string& password, bool activated);
// The account whose login name is `login`, else the account of the company whose contact
// number is `login`.
std::optional<Account> FindAccountForLogin(Database& db, const std::string& login);
std::optional<Account> FindAccountOfCompany(Database& db, std::int64_t company_id);
bool LoginNameTaken(Database& db, const std::string& login_name);
// Activates the account; false when there is no such account.
bool ActivateAccount(Database& db, const std::string& login_name);

// A new random token for the company, or an access token without one.
std::string IssueToken(Database& db, std::optional<std::int64_t> company_id, std::time_t now);
std::optional<Token> FindToken(Database& db, const std::string& token);

// Keeps only the newest code per number.
void SaveCaptcha(Database& db, const std::string& contact_number, const std::string& code,
                 std::time_t now);
std::optional<Captcha> FindCaptcha(Database& db, const std::string& contact_number);
void DeleteCaptcha(Database& db, const std::string& contact_number);

}  // namespace devservice
