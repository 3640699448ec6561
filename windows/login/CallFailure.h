// How the sign-in windows report a failed service call with the message box: the service
// report, the network and clock hints, the time-out text, the network text with the repair
// button, and the activation page.
#pragma once

#include <QString>

#include "Korvane/TMYResult.h"

namespace login {

// The causes listed when the service cannot be reached: N1 names the DNS server among them,
// N2 does not.
enum class TNetworkText { N1, N2 };

// The result's message, "\r\n\r\n[代码:", its code, "]".
QString ServiceReport(const Korvane::TMYResult& result);

// The text of the network box ("尝试修复").
QString NetworkText(TNetworkText which);

// "000": 提示, the report and the network hint; "102": 提示, the report and the clock hint;
// "001" or "107": 提示, the time-out text without the message; "002": 提示, the network text
// with the button "尝试修复", and after the repair (result 1) the notice that it is done; any
// other code: 错误 with `otherText`.
void ShowCallFailure(const Korvane::TMYResult& result, TNetworkText network,
                     const QString& otherText);

// 提示, the report and "点击确认立即进行激活操作!", then the portal's activation page in the
// default browser, whatever the box answered.
void ShowActivationNeeded(const Korvane::TMYResult& result);

}  // namespace login
