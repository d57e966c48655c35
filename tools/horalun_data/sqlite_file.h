// Thin wrappers over the sqlite3 C API for the generator: the file, statements, transactions and
// a row inserter bound to a table layout. Every failure throws GeneratorError naming the cause.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "data/table_layouts.h"

struct sqlite3;
struct sqlite3_stmt;

namespace horalun {

class SqliteFile {
  public:
    // Opens the file, creating it when missing.
    explicit SqliteFile(const std::string& path);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    sqlite3* handle() const { return db_; }
    const std::string& path() const { return path_; }
    void exec(const std::string& sql);
    bool has_table(std::string_view table);
    long long row_count(std::string_view table);
    [[noreturn]] void fail(std::string_view what) const;

  private:
    sqlite3* db_ = nullptr;
    std::string path_;
};

class Statement {
  public:
    Statement(SqliteFile& file, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters count from 0 here (SQLite counts from 1).
    void bind(int index, std::string_view text);
    void bind(int index, double value);
    void bind(int index, long long value);
    void bind_null(int index);
    // True while a result row is available.
    bool step();
    void reset();
    std::optional<std::string> column_text(int index) const;

  private:
    SqliteFile& file_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Rolls back unless commit() was called, so an exception never leaves a half-written table.
class Transaction {
  public:
    explicit Transaction(SqliteFile& file);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

  private:
    SqliteFile& file_;
    bool open_ = true;
};

// Inserts rows into a table, one value per field of its layout; unset fields stay null.
class RowInserter {
  public:
    RowInserter(SqliteFile& file, const TableLayout& layout);

    int field(std::string_view name) const;  // position of a field; throws for an unknown one
    void set_text(int field, std::string_view text) { insert_.bind(field, text); }
    void set_real(int field, double value) { insert_.bind(field, value); }
    void set_integer(int field, long long value) { insert_.bind(field, value); }
    void set_boolean(int field, bool value) { insert_.bind(field, value ? 1LL : 0LL); }
    void set_null(int field) { insert_.bind_null(field); }
    // Writes the row and clears every value for the next one.
    void insert_row();
    long long rows() const { return rows_; }

  private:
    const TableLayout& layout_;
    Statement insert_;
    long long rows_ = 0;
};

}  // namespace horalun
