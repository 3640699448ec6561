// The web portal's pages that the client opens: the token sign-in address with its page
// names, the password reset page and the account activation page.
#pragma once

#include "devservice/Console.h"
#include "devservice/FormFields.h"
#include "devservice/HttpAnswer.h"
#include "devservice/Storage.h"

namespace devservice {

// "/user/login_by_api?token=...[&url_for=...][&plate_number=...]".
HttpAnswer TokenSignInPage(Storage& storage, const FormFields& query);
// "/password/reset/step1".
HttpAnswer PasswordResetPage();
// "/v2/" (the client opens "/v2/#login"): a form that activates an account.
HttpAnswer ActivationPage();
// The form of the activation page, posted to "/v2/activate".
HttpAnswer ActivateFromForm(Storage& storage, Console& console, const FormFields& form);
// "/": what this service is and what it offers.
HttpAnswer ServiceIndexPage();

// The page names the sign-in address knows.
const std::vector<std::string>& PortalPageNames();

}  // namespace devservice
