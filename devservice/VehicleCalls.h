// "/car/list", "/car/add", "/car/edit" and "/car/delete".
#pragma once

#include "devservice/Calls.h"
#include "devservice/Vehicles.h"

namespace devservice {

Outcome ListCars(CallContext& call);
Outcome AddCar(CallContext& call);
Outcome EditCar(CallContext& call);
Outcome DeleteCar(CallContext& call);

// The largest page_size a list call may ask for.
inline constexpr std::int64_t kMaxPageSize = 1000;

// The vehicle fields of an add or edit call; missing ones are empty.
VehicleData VehicleDataFrom(const ParamList& params);
// Field refusals of the data alone (formats and known codes).
Validates CheckVehicleFields(const VehicleData& data);

}  // namespace devservice
