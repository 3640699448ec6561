#include "windows/fleet/CompanyPanels.h"

#include "Korvane/Deployment.h"

namespace fleet {

QString DefaultContactLine() {
  return QStringLiteral("客服电话:") + QString::fromUtf8(Korvane::kServicePhone) +
         QStringLiteral(" | 客服QQ:") + QString::fromUtf8(Korvane::kServiceQQ) +
         QStringLiteral(" | 值班电话:") + QString::fromUtf8(Korvane::kDutyPhone);
}

QString MembershipText(const QString& deadline) {
  if (deadline.left(4) == QStringLiteral("9999")) return QStringLiteral("会员:VIP");
  return QStringLiteral("会员:") + deadline.left(10).right(8);
}

QString GeneralNumber(double value) { return QString::number(value, 'g', 15); }

QString DealerLine(const Korvane::TCompany& company) {
  if (company.partner_contact_number.empty()) return {};
  QString line;
  if (!company.partner_name.empty())
    line += QStringLiteral("经销商:") + QString::fromStdString(company.partner_name) + QStringLiteral(" | ");
  line += QStringLiteral("电话:") + QString::fromStdString(company.partner_contact_number) +
          QStringLiteral(" | ");
  if (!company.partner_contact_person.empty())
    line += QStringLiteral("联系人:") + QString::fromStdString(company.partner_contact_person) +
            QStringLiteral(" | ");
  if (!company.partner_address.empty())
    line += QStringLiteral("地址:") + QString::fromStdString(company.partner_address) +
            QStringLiteral(" | ");
  line.chop(3);
  return line;
}

}  // namespace fleet
