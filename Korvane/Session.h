// The session record of the signed-in company.
#pragma once

#include <memory>
#include <string>

namespace Korvane {

class TCompany {
 public:
  std::string register_contact_number;
  std::string company_name;
  double account_balance = 0.0;
  int rebate = 0;
  std::string login_name;
  std::string password;
  std::string token;
  bool is_partner = false;
  std::string partner_name;
  std::string partner_contact_number;
  std::string partner_address;
  std::string partner_contact_person;
  std::string partner_identification;
  std::string current_city;
  std::string seat_city;
  std::string membership_use_deadline;
  bool membership_valid = false;
};

// The current session record, or none before the first successful sign-in. The GUI thread
// replaces it; background calls take their own reference, so a record they use stays alive.
std::shared_ptr<TCompany> Company();
void SetCompany(std::shared_ptr<TCompany> company);

// The session's token, or "" without a session.
std::string SessionToken();

}  // namespace Korvane
