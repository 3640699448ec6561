// What happened to the vehicles over time: every recorded position, every open-locate
// request and every charge for a locate.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "devservice/Database.h"

namespace devservice {

struct TrackPoint {
  std::string position_code;
  std::string location;
  std::time_t located_at = 0;
};

struct Charge {
  std::string plate_number;
  std::int64_t amount_fen = 0;
  std::int64_t balance_after_fen = 0;
  std::time_t charged_at = 0;
};

void RecordPosition(Database& db, std::int64_t vehicle_id, const std::string& position_code,
                    const std::string& location, std::time_t at);
// The vehicle's positions, oldest first.
std::vector<TrackPoint> TrackOf(Database& db, std::int64_t vehicle_id);
std::int64_t CountPositions(Database& db, std::int64_t vehicle_id);

void RecordOpenRequest(Database& db, std::int64_t vehicle_id, std::time_t at);
// Requests for the vehicle on the local day of `at`.
std::int64_t CountOpenRequestsOnDay(Database& db, std::int64_t vehicle_id, std::time_t at);
std::optional<std::time_t> LastOpenRequest(Database& db, std::int64_t vehicle_id);

void RecordCharge(Database& db, std::int64_t company_id, const Charge& charge);
// The company's charges, newest first, at most `limit`.
std::vector<Charge> ChargesOf(Database& db, std::int64_t company_id, std::int64_t limit);

}  // namespace devservice
