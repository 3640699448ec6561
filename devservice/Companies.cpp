#include "devservice/Companies.h"

#include <cstdio>
#include <random>

#include "Korvane/Codec.h"

namespace devservice {
namespace {

constexpr const char* kCompanyColumns =
    "id, name, contact_number, balance_fen, rebate, is_partner, partner_name, "
    "partner_contact_number, partner_address, partner_contact_person, partner_identification, "
    "current_city, seat_code, membership_deadline";

Company ReadCompany(const Statement& row) {
  Company company;
  company.id = row.integer(0);
  company.name = row.text(1);
  company.contact_number = row.text(2);
  company.balance_fen = row.integer(3);
  company.rebate = row.integer(4);
  company.is_partner = row.integer(5) != 0;
  company.partner_name = row.text(6);
  company.partner_contact_number = row.text(7);
  company.partner_address = row.text(8);
  company.partner_contact_person = row.text(9);
  company.partner_identification = row.text(10);
  company.current_city = row.text(11);
  company.seat_code = row.text(12);
  company.membership_deadline = row.text(13);
  return company;
}

std::optional<Company> FirstCompany(Statement& query) {
  if (!query.step()) return std::nullopt;
  return ReadCompany(query);
}

Account ReadAccount(const Statement& row) {
  return Account{row.integer(0), row.integer(1), row.text(2), row.text(3), row.integer(4) != 0};
}

std::optional<Account> FirstAccount(Statement& query) {
  if (!query.step()) return std::nullopt;
  return ReadAccount(query);
}

std::string RandomHex(std::size_t digits) {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::string text;
  while (text.size() < digits) {
    char chunk[17];
    std::snprintf(chunk, sizeof chunk, "%016llx", static_cast<unsigned long long>(generator()));
    text += chunk;
  }
  text.resize(digits);
  return text;
}

}  // namespace

std::int64_t InsertCompany(Database& db, const Company& company) {
  db.prepare(
        "INSERT INTO companies (name, contact_number, balance_fen, rebate, is_partner, "
        "partner_name, partner_contact_number, partner_address, partner_contact_person, "
        "partner_identification, current_city, seat_code, membership_deadline) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
      .bind(1, company.name)
      .bind(2, company.contact_number)
      .bind(3, company.balance_fen)
      .bind(4, company.rebate)
      .bind(5, company.is_partner ? 1 : 0)
      .bind(6, company.partner_name)
      .bind(7, company.partner_contact_number)
      .bind(8, company.partner_address)
      .bind(9, company.partner_contact_person)
      .bind(10, company.partner_identification)
      .bind(11, company.current_city)
      .bind(12, company.seat_code)
      .bind(13, company.membership_deadline)
      .run();
  return db.lastInsertId();
}

std::optional<Company> FindCompany(Database& db, std::int64_t id) {
  Statement query = db.prepare(std::string("SELECT ") + kCompanyColumns +
                               " FROM companies WHERE id = ?");
  query.bind(1, id);
  return FirstCompany(query);
}

std::optional<Company> FindCompanyByContact(Database& db, const std::string& contact_number) {
  Statement query = db.prepare(std::string("SELECT ") + kCompanyColumns +
                               " FROM companies WHERE contact_number = ?");
  query.bind(1, contact_number);
  return FirstCompany(query);
}

void SetBalance(Database& db, std::int64_t company_id, std::int64_t balance_fen) {
  db.prepare("UPDATE companies SET balance_fen = ? WHERE id = ?")
      .bind(1, balance_fen)
      .bind(2, company_id)
      .run();
}

std::string PasswordHash(const std::string& login_name, const std::string& password) {
  return Korvane::MD5Hex("vandrel-devservice\n" + login_name + "\n" + password);
}

std::int64_t InsertAccount(Database& db, std::int64_t company_id, const std::string& login_name,
                           const std::string& password, bool activated) {
  db.prepare(
        "INSERT INTO accounts (company_id, login_name, password_hash, activated) "
        "VALUES (?, ?, ?, ?)")
      .bind(1, company_id)
      .bind(2, login_name)
      .bind(3, PasswordHash(login_name, password))
      .bind(4, activated ? 1 : 0)
      .run();
  return db.lastInsertId();
}

std::optional<Account> FindAccountForLogin(Database& db, const std::string& login) {
  Statement byName = db.prepare(
      "SELECT id, company_id, login_name, password_hash, activated FROM accounts "
      "WHERE login_name = ?");
  byName.bind(1, login);
  if (auto account = FirstAccount(byName)) return account;
  Statement byContact = db.prepare(
      "SELECT a.id, a.company_id, a.login_name, a.password_hash, a.activated "
      "FROM accounts a JOIN companies c ON c.id = a.company_id WHERE c.contact_number = ? "
      "ORDER BY a.id LIMIT 1");
  byContact.bind(1, login);
  return FirstAccount(byContact);
}

std::optional<Account> FindAccountOfCompany(Database& db, std::int64_t company_id) {
  Statement query = db.prepare(
      "SELECT id, company_id, login_name, password_hash, activated FROM accounts "
      "WHERE company_id = ? ORDER BY id LIMIT 1");
  query.bind(1, company_id);
  return FirstAccount(query);
}

bool LoginNameTaken(Database& db, const std::string& login_name) {
  Statement query = db.prepare("SELECT 1 FROM accounts WHERE login_name = ?");
  query.bind(1, login_name);
  return query.step();
}

bool ActivateAccount(Database& db, const std::string& login_name) {
  db.prepare("UPDATE accounts SET activated = 1 WHERE login_name = ?").bind(1, login_name).run();
  return db.changes() > 0;
}

std::string IssueToken(Database& db, std::optional<std::int64_t> company_id, std::time_t now) {
  const std::string token = RandomHex(32);
  Statement insert = db.prepare("INSERT INTO tokens (token, company_id, issued_at) VALUES (?, ?, ?)");
  insert.bind(1, token);
  if (company_id) {
    insert.bind(2, *company_id);
  } else {
    insert.bindNull(2);
  }
  insert.bind(3, static_cast<std::int64_t>(now)).run();
  return token;
}

std::optional<Token> FindToken(Database& db, const std::string& token) {
  Statement query = db.prepare("SELECT company_id, issued_at FROM tokens WHERE token = ?");
  query.bind(1, token);
  if (!query.step()) return std::nullopt;
  Token found;
  if (!query.isNull(0)) found.company_id = query.integer(0);
  found.issued_at = static_cast<std::time_t>(query.integer(1));
  return found;
}

void SaveCaptcha(Database& db, const std::string& contact_number, const std::string& code,
                 std::time_t now) {
  db.prepare("INSERT OR REPLACE INTO captchas (contact_number, code, issued_at) VALUES (?, ?, ?)")
      .bind(1, contact_number)
      .bind(2, code)
      .bind(3, static_cast<std::int64_t>(now))
      .run();
}

std::optional<Captcha> FindCaptcha(Database& db, const std::string& contact_number) {
  Statement query = db.prepare("SELECT code, issued_at FROM captchas WHERE contact_number = ?");
  query.bind(1, contact_number);
  if (!query.step()) return std::nullopt;
  return Captcha{query.text(0), static_cast<std::time_t>(query.integer(1))};
}

void DeleteCaptcha(Database& db, const std::string& contact_number) {
  db.prepare("DELETE FROM captchas WHERE contact_number = ?").bind(1, contact_number).run();
}

}  // namespace devservice
