// Where a vehicle is when it is located again: it stays, moves within its province or its
// region of the country, or arrives at one of its expected destinations.
#pragma once

#include <cstdint>
#include <string>

#include "devservice/AreaTable.h"

namespace devservice {

// The place after the current one (an area code, empty for a vehicle never located).
// `flowCodes` are the vehicle's expected destinations; `step` is mixed into the choice so
// that successive locates of one vehicle differ, and the same inputs give the same place.
const Area& NextPlace(const std::string& currentCode, const std::string& flowCodes,
                      const std::string& plate_number, std::uint64_t step);

// The first place of a vehicle: a city of the province its plate comes from.
const Area& HomePlace(const std::string& plate_number, std::uint64_t step);

}  // namespace devservice
