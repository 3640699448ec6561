#include "devservice/Meta.h"

namespace devservice {

std::optional<std::string> ReadMeta(Database& db, const std::string& name) {
  Statement query = db.prepare("SELECT value FROM meta WHERE name = ?");
  query.bind(1, name);
  if (!query.step()) return std::nullopt;
  return query.text(0);
}

void WriteMeta(Database& db, const std::string& name, const std::string& value) {
  db.prepare("INSERT OR REPLACE INTO meta (name, value) VALUES (?, ?)")
      .bind(1, name)
      .bind(2, value)
      .run();
}

}  // namespace devservice
