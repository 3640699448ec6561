// Seed data: the demo company with its account and about 30 vehicles, and generated fleets
// for large-data runs.
#pragma once

#include <cstdint>
#include <ctime>

#include "devservice/Storage.h"

namespace devservice {

// The demo account (also written in the README).
inline constexpr const char* kDemoLoginName = "demo";
inline constexpr const char* kDemoPassword = "demo1234";
inline constexpr const char* kDemoContactNumber = "13800138000";
inline constexpr const char* kDemoCompanyName = "杭州远通物流有限公司";
inline constexpr int kDemoVehicleCount = 30;

// Seeds the demo company unless the database has it; true when it was seeded now.
bool SeedDemo(Storage& storage, std::time_t now);

// Adds `count` generated vehicles to the demo company (seeding it first when needed);
// returns the number added.
std::int64_t SeedFleet(Storage& storage, std::int64_t count, std::time_t now);

}  // namespace devservice
