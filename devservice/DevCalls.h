// Endpoints for development and tests, unsigned, under "/dev/": read the verification code
// "sent" to a number, give the driver's reply "Y", activate an account, move the service's
// clock, read the console.
#pragma once

#include "devservice/Clock.h"
#include "devservice/Console.h"
#include "devservice/FormFields.h"
#include "devservice/HttpAnswer.h"
#include "devservice/Storage.h"

namespace devservice {

// contact_number -> the code last sent to it.
HttpAnswer DevCaptcha(Storage& storage, const FormFields& fields);
// plate_number [, company: contact number or login name] -> locating opened.
HttpAnswer DevAuthorise(Storage& storage, Console& console, const FormFields& fields);
// login_name -> the account is activated.
HttpAnswer DevActivate(Storage& storage, Console& console, const FormFields& fields);
// offset=S | advance=S | freeze=EPOCH | reset=1, or nothing -> the service's time.
HttpAnswer DevClock(ServiceClock& clock, const FormFields& fields);
// The console lines kept.
HttpAnswer DevConsole(const Console& console);

}  // namespace devservice
