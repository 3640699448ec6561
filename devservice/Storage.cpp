#include "devservice/Storage.h"

namespace devservice {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS meta (
  name  TEXT PRIMARY KEY,
  value TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS companies (
  id                     INTEGER PRIMARY KEY,
  name                   TEXT NOT NULL,
  contact_number         TEXT NOT NULL UNIQUE,
  balance_fen            INTEGER NOT NULL DEFAULT 0,
  rebate                 INTEGER NOT NULL DEFAULT 0,
  is_partner             INTEGER NOT NULL DEFAULT 0,
  partner_name           TEXT NOT NULL DEFAULT '',
  partner_contact_number TEXT NOT NULL DEFAULT '',
  partner_address        TEXT NOT NULL DEFAULT '',
  partner_contact_person TEXT NOT NULL DEFAULT '',
  partner_identification TEXT NOT NULL DEFAULT '',
  current_city           TEXT NOT NULL DEFAULT '',
  seat_code              TEXT NOT NULL DEFAULT '',
  membership_deadline    TEXT NOT NULL DEFAULT ''
);
CREATE TABLE IF NOT EXISTS accounts (
  id            INTEGER PRIMARY KEY,
  company_id    INTEGER NOT NULL REFERENCES companies(id) ON DELETE CASCADE,
  login_name    TEXT NOT NULL UNIQUE,
  password_hash TEXT NOT NULL,
  activated     INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS tokens (
  token      TEXT PRIMARY KEY,
  company_id INTEGER REFERENCES companies(id) ON DELETE CASCADE,
  issued_at  INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS captchas (
  contact_number TEXT PRIMARY KEY,
  code           TEXT NOT NULL,
  issued_at      INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS vehicles (
  id               INTEGER PRIMARY KEY,
  company_id       INTEGER NOT NULL REFERENCES companies(id) ON DELETE CASCADE,
  plate_number     TEXT NOT NULL UNIQUE,
  locate_number    TEXT NOT NULL,
  driver_name      TEXT NOT NULL DEFAULT '',
  expected_flow    TEXT NOT NULL DEFAULT '',
  driver_gender    TEXT NOT NULL DEFAULT '',
  driver_id_number TEXT NOT NULL DEFAULT '',
  model_1          TEXT NOT NULL DEFAULT '',
  model_2          TEXT NOT NULL DEFAULT '',
  model_3          TEXT NOT NULL DEFAULT '',
  model_4          TEXT NOT NULL DEFAULT '',
  length           TEXT NOT NULL DEFAULT '',
  tonnage          TEXT NOT NULL DEFAULT '',
  volume           TEXT NOT NULL DEFAULT '',
  width            TEXT NOT NULL DEFAULT '',
  height           TEXT NOT NULL DEFAULT '',
  description      TEXT NOT NULL DEFAULT '',
  position_code    TEXT NOT NULL DEFAULT '',
  location         TEXT NOT NULL DEFAULT '',
  located_time     TEXT NOT NULL DEFAULT '',
  locate_status    INTEGER NOT NULL DEFAULT 0,
  used_at          INTEGER NOT NULL DEFAULT 0,
  authorise_due    INTEGER,
  UNIQUE (company_id, locate_number)
);
DROP INDEX IF EXISTS vehicles_by_use;
CREATE INDEX IF NOT EXISTS vehicles_by_recent_use
  ON vehicles (company_id, used_at DESC, id DESC, position_code);
CREATE INDEX IF NOT EXISTS vehicles_by_place
  ON vehicles (company_id, position_code, used_at DESC, id DESC);
CREATE INDEX IF NOT EXISTS vehicles_due ON vehicles (authorise_due)
  WHERE authorise_due IS NOT NULL;
CREATE TABLE IF NOT EXISTS positions (
  id            INTEGER PRIMARY KEY,
  vehicle_id    INTEGER NOT NULL REFERENCES vehicles(id) ON DELETE CASCADE,
  position_code TEXT NOT NULL,
  location      TEXT NOT NULL,
  located_at    INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS positions_by_vehicle ON positions (vehicle_id, located_at, id);
CREATE TABLE IF NOT EXISTS open_requests (
  id           INTEGER PRIMARY KEY,
  vehicle_id   INTEGER NOT NULL REFERENCES vehicles(id) ON DELETE CASCADE,
  requested_at INTEGER NOT NULL,
  day          TEXT NOT NULL
);
CREATE INDEX IF NOT EXISTS open_requests_by_vehicle ON open_requests (vehicle_id, day);
CREATE TABLE IF NOT EXISTS charges (
  id                INTEGER PRIMARY KEY,
  company_id        INTEGER NOT NULL REFERENCES companies(id) ON DELETE CASCADE,
  plate_number      TEXT NOT NULL,
  amount_fen        INTEGER NOT NULL,
  balance_after_fen INTEGER NOT NULL,
  charged_at        INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS charges_by_company ON charges (company_id, charged_at);
)sql";

void ConfigureConnection(Database& db, const std::string& path) {
  if (path != ":memory:") db.exec("PRAGMA journal_mode=WAL");
  db.exec("PRAGMA foreign_keys=ON; PRAGMA synchronous=NORMAL");
}

}  // namespace

void CreateSchema(Database& db) { db.exec(kSchema); }

Storage::Storage(const std::string& path) : db_(path) {
  ConfigureConnection(db_, path);
  transact([](Database& db) { CreateSchema(db); });
}

std::string Storage::journalMode() {
  std::lock_guard lock(mutex_);
  return db_.journalMode();
}

}  // namespace devservice
