// The service's data: one SQLite connection shared by all request threads. Every unit of work
// runs under one lock inside one transaction, so concurrent requests see and leave consistent
// data.
#pragma once

#include <mutex>
#include <string>
#include <type_traits>
#include <utility>

#include "devservice/Database.h"

namespace devservice {

class Storage {
 public:
  // Opens the database (":memory:" for a private in-memory one), turns on WAL mode for a file
  // and creates the schema when it is missing.
  explicit Storage(const std::string& path);

  // Runs `work(Database&)` in a transaction under the storage lock and returns its result.
  // The transaction is committed when work returns and rolled back when it throws.
  template <class Work>
  auto transact(Work&& work) {
    std::lock_guard lock(mutex_);
    Transaction transaction(db_);
    if constexpr (std::is_void_v<std::invoke_result_t<Work, Database&>>) {
      std::forward<Work>(work)(db_);
      transaction.commit();
    } else {
      auto result = std::forward<Work>(work)(db_);
      transaction.commit();
      return result;
    }
  }

  // The journal mode in force: "wal" for a file database.
  std::string journalMode();

 private:
  std::mutex mutex_;
  Database db_;
};

// Creates every table and index that does not exist yet.
void CreateSchema(Database& db);

}  // namespace devservice
