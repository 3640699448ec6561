// The status-bar texts the fleet window takes from the session record.
#pragma once

#include <QString>

#include "Korvane/Session.h"

namespace fleet {

// The service's own contact line, shown when the company has no dealer telephone.
QString DefaultContactLine();

// "会员:VIP" for a deadline starting "9999", otherwise "会员:" + "yy-mm-dd" of the deadline.
QString MembershipText(const QString& deadline);

// A number in general decimal form: up to 15 significant digits, no trailing zeros.
QString GeneralNumber(double value);

// The dealer's contact line: telephone and, where given, name, contact person and address;
// empty when the dealer has no telephone.
QString DealerLine(const Korvane::TCompany& company);

}  // namespace fleet
