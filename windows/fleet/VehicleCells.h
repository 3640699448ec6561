// The texts of a fleet-grid row, made from a vehicle record.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "Korvane/FleetList.h"

namespace fleet {

inline constexpr int kColumns = 9;

// Column numbers of the grid.
enum Column {
  kPlateColumn = 0,
  kInfoColumn = 1,
  kDriverColumn = 2,
  kMobileColumn = 3,
  kPositionColumn = 4,
  kTimeColumn = 5,
  kFlowColumn = 6,
  kStatusColumn = 7,
  kRemarkColumn = 8,
};

// The status texts of column 7.
inline constexpr const char* kRegistered = "已注册";
inline constexpr const char* kUnregistered = "未注册";

// The vehicle information text: the type captions, then length + "米" and tonnage + "吨",
// joined by ",".
std::string VehicleInfoText(const Korvane::TCar& car);

// The text of one column for a vehicle; `membershipValid` chooses between the position and
// time of the vehicle and the texts that stand for them without a membership.
QString CarCellText(const Korvane::TCar& car, int column, bool membershipValid);

// The same text as UTF-8: a view of the record's own field where the cell shows it unchanged,
// otherwise of `scratch`, which the text is made in.
std::string_view CarCellUtf8(const Korvane::TCar& car, int column, bool membershipValid,
                             std::string& scratch);

}  // namespace fleet
