#include "devservice/Tracks.h"

#include "devservice/Clock.h"

namespace devservice {

void RecordPosition(Database& db, std::int64_t vehicle_id, const std::string& position_code,
                    const std::string& location, std::time_t at) {
  db.prepare(
        "INSERT INTO positions (vehicle_id, position_code, location, located_at) "
        "VALUES (?, ?, ?, ?)")
      .bind(1, vehicle_id)
      .bind(2, position_code)
      .bind(3, location)
      .bind(4, static_cast<std::int64_t>(at))
      .run();
}

std::vector<TrackPoint> TrackOf(Database& db, std::int64_t vehicle_id) {
  Statement query = db.prepare(
      "SELECT position_code, location, located_at FROM positions WHERE vehicle_id = ? "
      "ORDER BY located_at, id");
  query.bind(1, vehicle_id);
  std::vector<TrackPoint> track;
  while (query.step()) {
    track.push_back({query.text(0), query.text(1), static_cast<std::time_t>(query.integer(2))});
  }
  return track;
}

std::int64_t CountPositions(Database& db, std::int64_t vehicle_id) {
  Statement query = db.prepare("SELECT COUNT(*) FROM positions WHERE vehicle_id = ?");
  query.bind(1, vehicle_id);
  query.step();
  return query.integer(0);
}

void RecordOpenRequest(Database& db, std::int64_t vehicle_id, std::time_t at) {
  db.prepare("INSERT INTO open_requests (vehicle_id, requested_at, day) VALUES (?, ?, ?)")
      .bind(1, vehicle_id)
      .bind(2, static_cast<std::int64_t>(at))
      .bind(3, FormatLocalDate(at))
      .run();
}

std::int64_t CountOpenRequestsOnDay(Database& db, std::int64_t vehicle_id, std::time_t at) {
  Statement query =
      db.prepare("SELECT COUNT(*) FROM open_requests WHERE vehicle_id = ? AND day = ?");
  query.bind(1, vehicle_id).bind(2, FormatLocalDate(at));
  query.step();
  return query.integer(0);
}

std::optional<std::time_t> LastOpenRequest(Database& db, std::int64_t vehicle_id) {
  Statement query =
      db.prepare("SELECT MAX(requested_at) FROM open_requests WHERE vehicle_id = ?");
  query.bind(1, vehicle_id);
  if (!query.step() || query.isNull(0)) return std::nullopt;
  return static_cast<std::time_t>(query.integer(0));
}

void RecordCharge(Database& db, std::int64_t company_id, const Charge& charge) {
  db.prepare(
        "INSERT INTO charges (company_id, plate_number, amount_fen, balance_after_fen, "
        "charged_at) VALUES (?, ?, ?, ?, ?)")
      .bind(1, company_id)
      .bind(2, charge.plate_number)
      .bind(3, charge.amount_fen)
      .bind(4, charge.balance_after_fen)
      .bind(5, static_cast<std::int64_t>(charge.charged_at))
      .run();
}

std::vector<Charge> ChargesOf(Database& db, std::int64_t company_id, std::int64_t limit) {
  Statement query = db.prepare(
      "SELECT plate_number, amount_fen, balance_after_fen, charged_at FROM charges "
      "WHERE company_id = ? ORDER BY charged_at DESC, id DESC LIMIT ?");
  query.bind(1, company_id).bind(2, limit);
  std::vector<Charge> charges;
  while (query.step()) {
    charges.push_back({query.text(0), query.integer(1), query.integer(2),
                       static_cast<std::time_t>(query.integer(3))});
  }
  return charges;
}

}  // namespace devservice
