// "/car/locate", "/car/open_locate", "/car/get_locate_status", and the driver's reply that
// opens locating.
#pragma once

#include "devservice/Calls.h"

namespace devservice {

// Locates a vehicle through its driver's phone; charged.
Outcome LocateCar(CallContext& call);
// Sends the driver the authorisation SMS (to the console).
Outcome OpenLocate(CallContext& call);
Outcome GetLocateStatus(CallContext& call);

// Opens locating of the vehicles whose automatic authorisation is due, with a console line
// for each.
void OpenDueAuthorisations(Database& db, Console& console, std::time_t now);

// The driver answered "Y": locating of the vehicle is opened.
void AuthoriseLocating(Database& db, Console& console, std::int64_t vehicle_id,
                       const std::string& plate_number);

// True while the deadline "yyyy-mm-dd hh:nn:ss" (or "yyyy-mm-dd") has not passed.
bool MembershipValid(const std::string& deadline, std::time_t now);

}  // namespace devservice
