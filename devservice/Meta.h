// Named values of the database itself (what has been seeded, counters).
#pragma once

#include <optional>
#include <string>

#include "devservice/Database.h"

namespace devservice {

std::optional<std::string> ReadMeta(Database& db, const std::string& name);
void WriteMeta(Database& db, const std::string& name, const std::string& value);

}  // namespace devservice
