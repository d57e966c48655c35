#include "tools/horalun_data/sqlite_file.h"

#include <sqlite3.h>

#include "data/table_store.h"
#include "tools/horalun_data/generator_error.h"

namespace horalun {

SqliteFile::SqliteFile(const std::string& path) : path_(path) {
    const int rc =
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw GeneratorError("cannot open or create " + path + ": " + why);
    }
    sqlite3_busy_timeout(db_, 5000);
    // Reading the schema here turns a file that is not a database into a clear error.
    exec("SELECT count(*) FROM sqlite_master");
}

SqliteFile::~SqliteFile() {
    sqlite3_close(db_);
}

void SqliteFile::fail(std::string_view what) const {
    throw GeneratorError(std::string(what) + " in " + path_ + ": " + sqlite3_errmsg(db_));
}

void SqliteFile::exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string why = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw GeneratorError("SQL failed in " + path_ + ": " + why + " (" + sql + ")");
    }
}

bool SqliteFile::has_table(std::string_view table) {
    Statement q(*this, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    q.bind(0, table);
    return q.step();
}

long long SqliteFile::row_count(std::string_view table) {
    Statement q(*this, "SELECT count(*) FROM " + sql_identifier(table));
    q.step();
    return std::stoll(q.column_text(0).value_or("0"));
}

Statement::Statement(SqliteFile& file, const std::string& sql) : file_(file) {
    if (sqlite3_prepare_v2(file.handle(), sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
        file.fail("cannot prepare \"" + sql + "\"");
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::bind(int index, std::string_view text) {
    if (sqlite3_bind_text(stmt_, index + 1, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        file_.fail("cannot bind a value");
}

void Statement::bind(int index, double value) {
    if (sqlite3_bind_double(stmt_, index + 1, value) != SQLITE_OK)
        file_.fail("cannot bind a value");
}

void Statement::bind(int index, long long value) {
    if (sqlite3_bind_int64(stmt_, index + 1, value) != SQLITE_OK) file_.fail("cannot bind a value");
}

void Statement::bind_null(int index) {
    if (sqlite3_bind_null(stmt_, index + 1) != SQLITE_OK) file_.fail("cannot bind a value");
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    file_.fail("statement failed");
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::optional<std::string> Statement::column_text(int index) const {
    const auto* text = sqlite3_column_text(stmt_, index);
    if (!text) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<size_t>(sqlite3_column_bytes(stmt_, index)));
}

Transaction::Transaction(SqliteFile& file) : file_(file) {
    file_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (open_) sqlite3_exec(file_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    file_.exec("COMMIT");
    open_ = false;
}

namespace {
std::string insert_sql(const TableLayout& layout) {
    std::string names, marks;
    for (const auto& f : layout.fields) {
        if (!names.empty()) {
            names += ", ";
            marks += ", ";
        }
        names += sql_identifier(f.name);
        marks += '?';
    }
    return "INSERT INTO " + sql_identifier(layout.name) + " (" + names + ") VALUES (" + marks + ")";
}
}  // namespace

RowInserter::RowInserter(SqliteFile& file, const TableLayout& layout)
    : layout_(layout), insert_(file, insert_sql(layout)) {}

int RowInserter::field(std::string_view name) const {
    for (size_t i = 0; i < layout_.fields.size(); ++i)
        if (layout_.fields[i].name == name) return static_cast<int>(i);
    throw GeneratorError("table " + layout_.name + " has no field " + std::string(name));
}

void RowInserter::insert_row() {
    insert_.step();
    insert_.reset();
    ++rows_;
}

}  // namespace horalun
