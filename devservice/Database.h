// A small owner of one SQLite connection, its prepared statements and transactions.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace devservice {

class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Statement;

class Database {
 public:
  // Opens (creating when needed) the file, or an in-memory database for ":memory:".
  explicit Database(const std::string& path);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs one or more statements without results.
  void exec(std::string_view sql);
  Statement prepare(std::string_view sql);
  std::int64_t lastInsertId() const;
  // Rows changed by the last INSERT, UPDATE or DELETE.
  int changes() const;
  // The journal mode in force ("wal" for a file, "memory" for ":memory:").
  std::string journalMode();

 private:
  friend class Statement;
  [[noreturn]] void fail(std::string_view what) const;
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&&) = delete;
  ~Statement();

  // Binds parameters by position, starting at 1; returns *this for chaining.
  Statement& bind(int index, std::string_view text);
  Statement& bind(int index, std::int64_t value);
  Statement& bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
  Statement& bindNull(int index);

  // Advances to the next row; false when there is none.
  bool step();
  // Runs a statement that yields no rows.
  void run();
  // Makes the statement ready to run again with new bindings.
  void reset();

  std::string text(int column) const;
  std::int64_t integer(int column) const;
  bool isNull(int column) const;

 private:
  friend class Database;
  Statement(Database& db, sqlite3_stmt* stmt) : db_(&db), stmt_(stmt) {}
  Database* db_;
  sqlite3_stmt* stmt_;
};

// BEGIN IMMEDIATE on construction; ROLLBACK on destruction unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Database& db_;
  bool done_ = false;
};

}  // namespace devservice
