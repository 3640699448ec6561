#include "windows/fleet/VehicleCells.h"

#include <string_view>

#include "Korvane/FieldRules.h"
#include "windows/editor/TFormCarType.h"

namespace fleet {
namespace {

void AppendItem(std::string& text, std::string_view item) {
  if (!text.empty()) text += ',';
  text += item;
}

// The expected destinations without "市".
std::string FlowText(const std::string& flow) {
  static constexpr std::string_view kCity = "市";
  std::string text;
  text.reserve(flow.size());
  for (std::size_t at = 0; at < flow.size();) {
    if (flow.compare(at, kCity.size(), kCity) == 0) {
      at += kCity.size();
    } else {
      text += flow[at++];
    }
  }
  return text;
}

// Of the last 17 characters of a located time, the first 14: "13-03-13 20:40" of
// "2013-03-13 20:40:12".
QString LocatedTimeText(const std::string& located_time) {
  return QString::fromStdString(located_time).right(17).left(14);
}

}  // namespace

std::string VehicleInfoText(const Korvane::TCar& car) {
  std::string text;
  for (const std::string* model : {&car.model_1, &car.model_2, &car.model_3, &car.model_4}) {
    if (model->empty()) continue;
    const std::string_view caption = TFormCarType::CatalogueCaption(*model);
    if (text.empty())
      text = caption;
    else
      AppendItem(text, caption);
  }
  if (!car.length.empty()) AppendItem(text, car.length + "米");
  if (!car.tonnage.empty()) AppendItem(text, car.tonnage + "吨");
  return text;
}

QString CarCellText(const Korvane::TCar& car, int column, bool membershipValid) {
  switch (column) {
    case kPlateColumn:
      return QString::fromStdString(car.plate_number);
    case kInfoColumn:
      return QString::fromStdString(VehicleInfoText(car));
    case kDriverColumn:
      return QString::fromStdString(car.driver_name);
    case kMobileColumn:
      return QString::fromStdString(car.locate_number);
    case kPositionColumn:
      return membershipValid ? QString::fromStdString(Korvane::ShortLocation(car.location))
                             : QStringLiteral("新版客户端可以继续使用定位功能");
    case kTimeColumn:
      return membershipValid ? LocatedTimeText(car.located_time) : QStringLiteral("高级会员已过期");
    case kFlowColumn:
      return QString::fromStdString(FlowText(car.expected_flow));
    case kStatusColumn:
      return QString::fromUtf8(car.locate_status == "1" ? kRegistered : kUnregistered);
    case kRemarkColumn:
      return QString::fromStdString(car.description);
    default:
      return {};
  }
}

}  // namespace fleet
