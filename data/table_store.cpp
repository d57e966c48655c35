// Cursors over SQLite tables: the order is a vector of row ids (with the index keys beside it
// for binary search), rows are read in blocks into a cache, writes run in transactions.
#include "data/table_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>

#include "data/collation.h"
#include "data/text_format.h"

namespace horalun {

namespace {

// Rows read by one query while stepping through a table, and around a jump.
constexpr int kBlockRows = 256;
constexpr int kJumpRows = 8;
constexpr int kJumpBefore = 1;
// Date and time keys closer than this (about 9 ms) are the same key.
constexpr double kTimeKeyTolerance = 1e-7;
constexpr double kNullKey = -std::numeric_limits<double>::infinity();
// All cursors live on the one window thread, so SQLite need not lock around every call.
constexpr int kOpenFlags = SQLITE_OPEN_NOMUTEX;

std::string in_quotes(std::string_view s) {
    return "„" + std::string(s) + "“";
}

bool ascii_iequal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x + 32);
        if (y >= 'A' && y <= 'Z') y = char(y + 32);
        if (x != y) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::optional<long long> parse_integer_text(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long v = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size())
        return std::nullopt;
    return v;
}

// "True"/"False" and their case-insensitive beginnings ("t", "FAL").
std::optional<bool> parse_boolean_text(std::string_view text) {
    text = trimmed(text);
    if (text.empty()) return std::nullopt;
    auto prefix_of = [&](std::string_view word) {
        return text.size() <= word.size() && ascii_iequal(text, word.substr(0, text.size()));
    };
    if (prefix_of("true")) return true;
    if (prefix_of("false")) return false;
    return std::nullopt;
}

bool is_time_type(FieldType t) {
    return t == FieldType::Date || t == FieldType::Time || t == FieldType::DateTime;
}
bool is_text_type(FieldType t) {
    return t == FieldType::String || t == FieldType::Memo;
}
bool is_integer_type(FieldType t) {
    return t == FieldType::Word || t == FieldType::Integer || t == FieldType::Boolean;
}

const char* type_description(FieldType t) {
    switch (t) {
        case FieldType::Date:
            return "očekává se datum, např. 24.4.1966";
        case FieldType::Time:
            return "očekává se čas, např. 9:03";
        case FieldType::DateTime:
            return "očekává se datum, případně s časem, např. 24.4.1966 9:03";
        case FieldType::Float:
            return "očekává se číslo";
        case FieldType::Word:
            return "očekává se celé číslo od 0 do 65535";
        case FieldType::Integer:
            return "očekává se celé číslo";
        case FieldType::Boolean:
            return "očekává se True nebo False";
        case FieldType::String:
        case FieldType::Memo:
            break;
    }
    return "očekává se text";
}

// Seconds of a serial date-time rounded, so that 23:59:59.7 belongs to the next day.
long long rounded_seconds(double serial) {
    return std::llround(serial * 86400.0);
}

std::string time_text(double serial) {
    long long secs = rounded_seconds(serial) % 86400;
    if (secs < 0) secs += 86400;
    return format_time_text(double(secs) / 86400.0);
}

std::string date_text(double serial) {
    const long long secs = rounded_seconds(serial);
    const long long day = secs >= 0 ? secs / 86400 : -((-secs + 86399) / 86400);
    return format_date_text(int(day));
}

// A serial number far outside the calendar would overflow the date functions.
bool plausible_serial(double v) {
    return std::isfinite(v) && std::fabs(v) < 3.0e6;
}

class Statement {
  public:
    Statement() = default;
    Statement(sqlite3* db, const std::string& sql, const std::string& table);
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(Statement&& o) noexcept : stmt_(o.stmt_) { o.stmt_ = nullptr; }
    Statement& operator=(Statement&& o) noexcept {
        std::swap(stmt_, o.stmt_);
        return *this;
    }
    sqlite3_stmt* get() const { return stmt_; }
    explicit operator bool() const { return stmt_ != nullptr; }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

// Czech reason for the last SQLite error, with SQLite's own words for the details.
std::string sqlite_reason(sqlite3* db) {
    const char* reason = nullptr;
    switch (sqlite3_errcode(db) & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            reason = "databázi právě používá jiný program";
            break;
        case SQLITE_READONLY:
            reason = "soubor je jen pro čtení";
            break;
        case SQLITE_FULL:
            reason = "disk je plný";
            break;
        case SQLITE_CORRUPT:
            reason = "soubor je poškozený";
            break;
        case SQLITE_NOTADB:
            reason = "soubor není databáze";
            break;
        case SQLITE_IOERR:
            reason = "chyba při čtení nebo zápisu souboru";
            break;
        case SQLITE_CANTOPEN:
            reason = "soubor nelze otevřít";
            break;
        case SQLITE_PERM:
            reason = "chybí oprávnění";
            break;
        case SQLITE_NOMEM:
            reason = "nedostatek paměti";
            break;
        default:
            reason = "chyba SQLite";
            break;
    }
    return std::string(reason) + " (" + sqlite3_errmsg(db) + ")";
}

[[noreturn]] void throw_sql(sqlite3* db, const std::string& table) {
    throw TableError("Chyba databáze v tabulce " + in_quotes(table) + ": " + sqlite_reason(db) +
                     ".");
}

Statement::Statement(sqlite3* db, const std::string& sql, const std::string& table) {
    if (sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw_sql(db, table);
    }
}

// Resets a statement whatever way the scope is left.
struct ResetOnExit {
    sqlite3_stmt* stmt;
    ~ResetOnExit() {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
};

void exec(sqlite3* db, const char* sql, const std::string& table) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw_sql(db, table);
}

// Runs a write in one transaction; rolls back and rethrows on failure.
template <class F>
void in_transaction(Database& db, const std::string& table, F&& write) {
    sqlite3* h = db.handle();
    exec(h, "BEGIN IMMEDIATE", table);
    try {
        write();
        exec(h, "COMMIT", table);
    } catch (...) {
        sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
        db.bump_generation();
        throw;
    }
    db.bump_generation();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Database

std::string sql_identifier(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

struct Database::SharedOrder {
    unsigned long long generation = 0;
    bool textKeys = false;
    std::vector<long long> order;
    std::vector<double> numKeys;
    std::vector<std::string> strKeys;
};

std::shared_ptr<const Database::SharedOrder> Database::shared_order(const std::string& key) const {
    const auto it = orders_.find(key);
    if (it == orders_.end() || it->second->generation != generation_) return nullptr;
    return it->second;
}

void Database::store_order(const std::string& key, std::shared_ptr<const SharedOrder> order) {
    orders_[key] = std::move(order);
}

std::shared_ptr<Database> Database::open(const std::string& path) {
    const std::string prefix = "Databázový soubor " + in_quotes(path) + " nelze otevřít: ";
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) throw TableError(prefix + "soubor neexistuje.");
    if (std::filesystem::is_directory(status)) throw TableError(prefix + "je to složka.");

    std::shared_ptr<Database> db(new Database());
    db->path_ = path;
    // SQLite opens a write-protected file read-only by itself; the second attempt covers
    // files it cannot open for writing at all.
    int rc = sqlite3_open_v2(path.c_str(), &db->db_, SQLITE_OPEN_READWRITE | kOpenFlags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db->db_);
        db->db_ = nullptr;
        rc = sqlite3_open_v2(path.c_str(), &db->db_, SQLITE_OPEN_READONLY | kOpenFlags, nullptr);
    }
    if (rc != SQLITE_OK)
        throw TableError(prefix + (db->db_ ? sqlite_reason(db->db_) : "nedostatek paměti") + ".");
    sqlite3_extended_result_codes(db->db_, 0);
    sqlite3_busy_timeout(db->db_, 2000);
    // Reading the schema is what tells a database from any other file.
    rc = sqlite3_exec(db->db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc == SQLITE_NOTADB) throw TableError(prefix + "soubor není databáze.");
    if (rc != SQLITE_OK) throw TableError(prefix + sqlite_reason(db->db_) + ".");
    db->writable_ = sqlite3_db_readonly(db->db_, "main") == 0;
    return db;
}

Database::~Database() {
    sqlite3_close_v2(db_);
}

bool Database::hasTable(std::string_view table) const {
    sqlite3_stmt* stmt = nullptr;
    const char* sql =
        "SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE";
    if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK) return false;
    sqlite3_bind_text(stmt, 1, table.data(), int(table.size()), SQLITE_TRANSIENT);
    const bool found = sqlite3_step(stmt) == SQLITE_ROW;
    sqlite3_finalize(stmt);
    return found;
}

// ---------------------------------------------------------------------------------------------
// Cursor internals

// One value as SQLite stores it.
struct detail::StoreCell {
    enum Kind : unsigned char { Null, Int, Real, Text };
    Kind kind = Null;
    long long i = 0;
    double d = 0;
    std::string s;

    void set_null() {
        kind = Null;
        s.clear();
    }
    void set_int(long long v) {
        kind = Int;
        i = v;
        d = double(v);
    }
    void set_real(double v) {
        kind = Real;
        d = v;
    }
    void set_text(std::string_view v) {
        kind = Text;
        s.assign(v.data(), v.size());
    }
};

using Cell = detail::StoreCell;

struct IndexInfo {
    std::string name;
    int field = -1;
};

struct Cursor::Impl {
    std::vector<IndexInfo> indexes;
    int keyField = -1;
    bool textKeys = false;
    std::vector<double> numKeys;       // parallel to order_ for number, date and boolean keys
    std::vector<std::string> strKeys;  // parallel to order_ for text keys (collation keys)
    // Generation of the file when the order was read; -1 when it must be read again.
    long long orderGeneration = -1;

    // Block cache: rows cacheStart .. cacheStart + cacheCount - 1 of the order.
    std::vector<Cell> cells;
    int cacheStart = 0;
    int cacheCount = 0;
    unsigned long long cacheGeneration = 0;
    std::vector<std::pair<long long, int>> slotOf;  // row id -> cache slot, sorted
    Statement blockByIds;
    Statement blockByRange;

    // Pending values in Edit and Insert state.
    std::vector<Cell> pending;
    std::vector<bool> modified;
    long long editRowId = 0;

    std::vector<Cell> nullRow;

    // The block read before the current one, kept so that going back and forth between two
    // places (a day and the days after it) reads nothing again.
    std::vector<Cell> cells2;
    int cacheStart2 = 0;
    int cacheCount2 = 0;

    void invalidate() { cacheCount = cacheCount2 = 0; }
    void swap_blocks() {
        std::swap(cells, cells2);
        std::swap(cacheStart, cacheStart2);
        std::swap(cacheCount, cacheCount2);
    }
};

namespace {

// Numeric key of a stored value for ordering and search; nulls and texts that do not convert
// sort first.
double numeric_key(const Cell& c, FieldType type) {
    switch (c.kind) {
        case Cell::Null:
            return kNullKey;
        case Cell::Int:
            return double(c.i);
        case Cell::Real:
            return std::isnan(c.d) ? kNullKey : c.d;
        case Cell::Text:
            break;
    }
    std::optional<double> v;
    if (type == FieldType::Date || type == FieldType::DateTime)
        v = parse_date_time_text(c.s);
    else if (type == FieldType::Time)
        v = parse_time_text(c.s);
    else if (type == FieldType::Boolean) {
        if (auto b = parse_boolean_text(c.s)) v = *b ? 1.0 : 0.0;
    } else
        v = parse_float_text(c.s);
    return v && !std::isnan(*v) ? *v : kNullKey;
}

void read_column(sqlite3_stmt* stmt, int col, Cell& c) {
    switch (sqlite3_column_type(stmt, col)) {
        case SQLITE_INTEGER:
            c.set_int(sqlite3_column_int64(stmt, col));
            break;
        case SQLITE_FLOAT:
            c.set_real(sqlite3_column_double(stmt, col));
            break;
        case SQLITE_NULL:
            c.set_null();
            break;
        default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
            c.set_text(std::string_view(p ? p : "", size_t(sqlite3_column_bytes(stmt, col))));
        }
    }
}

void bind_cell(sqlite3_stmt* stmt, int param, const Cell& c) {
    switch (c.kind) {
        case Cell::Null:
            sqlite3_bind_null(stmt, param);
            break;
        case Cell::Int:
            sqlite3_bind_int64(stmt, param, c.i);
            break;
        case Cell::Real:
            sqlite3_bind_double(stmt, param, c.d);
            break;
        case Cell::Text:
            sqlite3_bind_text(stmt, param, c.s.data(), int(c.s.size()), SQLITE_STATIC);
            break;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Cursor: opening and metadata

Cursor::Cursor(std::shared_ptr<Database> db, std::string table, bool readOnly)
    : impl_(std::make_unique<Impl>()),
      db_(std::move(db)),
      table_(std::move(table)),
      readOnly_(readOnly) {
    if (!db_) throw TableError("Tabulku " + in_quotes(table_) + " nelze otevřít: chybí databáze.");
    open();
}

Cursor::~Cursor() = default;

namespace {

std::vector<FieldInfo> read_fields(sqlite3* db, const std::string& table) {
    Statement st(db, "PRAGMA table_info(" + sql_identifier(table) + ")", table);
    std::vector<FieldInfo> fields;
    while (sqlite3_step(st.get()) == SQLITE_ROW) {
        FieldInfo f;
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 2));
        f.name = name ? name : "";
        f.type = field_type_from_declared(type ? type : "", &f.size);
        fields.push_back(std::move(f));
    }
    return fields;
}

}  // namespace

void Cursor::open() {
    if (isOpen()) return;
    sqlite3* h = db_->handle();
    if (!db_->hasTable(table_))
        throw TableError("Tabulka " + in_quotes(table_) + " v databázovém souboru " +
                         in_quotes(db_->path()) + " neexistuje.");
    auto fields = read_fields(h, table_);
    if (fields.empty())
        throw TableError("Tabulka " + in_quotes(table_) + " v databázovém souboru " +
                         in_quotes(db_->path()) + " nemá žádná pole.");

    Impl& m = *impl_;
    m.indexes.clear();
    {
        Statement list(h, "PRAGMA index_list(" + sql_identifier(table_) + ")", table_);
        std::vector<std::string> names;
        while (sqlite3_step(list.get()) == SQLITE_ROW) {
            const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 1));
            if (name) names.emplace_back(name);
        }
        for (const auto& name : names) {
            Statement info(h, "PRAGMA index_info(" + sql_identifier(name) + ")", table_);
            if (sqlite3_step(info.get()) != SQLITE_ROW) continue;
            const auto* col = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2));
            if (!col) continue;  // an expression index has no key field
            for (size_t f = 0; f < fields.size(); ++f)
                if (equal_ignoring_case(fields[f].name, col)) m.indexes.push_back({name, int(f)});
        }
    }

    fields_ = std::move(fields);
    std::string columns = "rowid";
    for (const auto& f : fields_) columns += ", " + sql_identifier(f.name);
    const std::string from = " FROM " + sql_identifier(table_) + " WHERE rowid ";
    std::string ids = "IN (";
    for (int k = 1; k <= kBlockRows; ++k) ids += (k > 1 ? ",?" : "?") + std::to_string(k);
    ids += ")";
    m.blockByIds = Statement(h, "SELECT " + columns + from + ids, table_);
    m.blockByRange =
        Statement(h, "SELECT " + columns + from + "BETWEEN ?1 AND ?2 ORDER BY rowid", table_);
    m.cells.assign(size_t(kBlockRows) * fields_.size(), Cell{});
    m.cells2.assign(size_t(kBlockRows) * fields_.size(), Cell{});
    m.nullRow.assign(fields_.size(), Cell{});
    m.invalidate();

    state_ = State::Browse;
    activeIndex_.clear();
    indexField_.clear();
    m.keyField = -1;
    load_order();
    first();
}

void Cursor::close() {
    if (!isOpen()) return;
    impl_->pending.clear();
    impl_->modified.clear();
    order_.clear();
    impl_->numKeys.clear();
    impl_->strKeys.clear();
    impl_->invalidate();
    pos_ = -1;
    eof_ = bof_ = true;
    state_ = State::Inactive;
}

int Cursor::fieldIndex(std::string_view name) const {
    for (size_t f = 0; f < fields_.size(); ++f)
        if (ascii_iequal(fields_[f].name, name)) return int(f);
    for (size_t f = 0; f < fields_.size(); ++f)
        if (equal_ignoring_case(fields_[f].name, name)) return int(f);
    return -1;
}

void Cursor::require_open() const {
    if (!isOpen()) throw TableError("Tabulka " + in_quotes(table_) + " není otevřená.");
}

int Cursor::field_of(std::string_view name) const {
    const int f = fieldIndex(name);
    if (f < 0)
        throw TableError("Pole " + in_quotes(name) + " v tabulce " + in_quotes(table_) +
                         " neexistuje.");
    return f;
}

void Cursor::check_position(int position) const {
    if (position < 0 || position >= int(fields_.size()))
        throw TableError("Pole číslo " + std::to_string(position) + " v tabulce " +
                         in_quotes(table_) + " neexistuje (tabulka má " +
                         std::to_string(fields_.size()) + " polí).");
}

void Cursor::setReadOnly(bool readOnly) {
    if (state_ == State::Edit || state_ == State::Insert) cancel();
    readOnly_ = readOnly;
}

// ---------------------------------------------------------------------------------------------
// Order and index selection

void Cursor::load_order() {
    Impl& m = *impl_;
    sqlite3* h = db_->handle();
    m.orderGeneration = static_cast<long long>(db_->generation());
    order_.clear();
    m.numKeys.clear();
    m.strKeys.clear();
    m.invalidate();
    if (m.keyField < 0) {
        // Any index holds every row id and is smaller than the table, so read without ORDER BY.
        Statement st(h, "SELECT rowid FROM " + sql_identifier(table_), table_);
        int rc;
        while ((rc = sqlite3_step(st.get())) == SQLITE_ROW)
            order_.push_back(sqlite3_column_int64(st.get(), 0));
        if (rc != SQLITE_DONE) throw_sql(h, table_);
        if (!std::is_sorted(order_.begin(), order_.end())) std::sort(order_.begin(), order_.end());
        return;
    }
    const FieldInfo& key = fields_[size_t(m.keyField)];
    m.textKeys = is_text_type(key.type);
    const std::string sharedKey = table_ + '\x1f' + key.name;
    if (const auto shared = db_->shared_order(sharedKey)) {
        order_ = shared->order;
        m.numKeys = shared->numKeys;
        m.strKeys = shared->strKeys;
        return;
    }
    // Without ORDER BY SQLite may read a covering index, which is much smaller than the table.
    Statement st(h, "SELECT rowid, " + sql_identifier(key.name) + " FROM " + sql_identifier(table_),
                 table_);
    std::vector<std::pair<double, long long>> nums;
    std::vector<std::pair<std::string, long long>> strs;
    Cell c;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        const long long id = sqlite3_column_int64(st.get(), 0);
        read_column(st.get(), 1, c);
        if (!m.textKeys) {
            nums.emplace_back(numeric_key(c, key.type), id);
        } else if (c.kind == Cell::Text) {
            strs.emplace_back(collation_key(c.s), id);
        } else if (c.kind == Cell::Null) {
            strs.emplace_back(std::string(), id);
        } else {
            strs.emplace_back(
                collation_key(c.kind == Cell::Int ? std::to_string(c.i) : format_float_text(c.d)),
                id);
        }
    }
    if (rc != SQLITE_DONE) throw_sql(h, table_);

    // Equal keys keep row id order.
    if (m.textKeys) {
        std::sort(strs.begin(), strs.end());
        order_.reserve(strs.size());
        m.strKeys.reserve(strs.size());
        for (auto& [k, id] : strs) {
            order_.push_back(id);
            m.strKeys.push_back(std::move(k));
        }
    } else {
        std::sort(nums.begin(), nums.end());
        order_.reserve(nums.size());
        m.numKeys.reserve(nums.size());
        for (const auto& [k, id] : nums) {
            order_.push_back(id);
            m.numKeys.push_back(k);
        }
    }
    auto shared = std::make_shared<Database::SharedOrder>();
    shared->generation = db_->generation();
    shared->textKeys = m.textKeys;
    shared->order = order_;
    shared->numKeys = m.numKeys;
    shared->strKeys = m.strKeys;
    db_->store_order(sharedKey, std::move(shared));
}

void Cursor::selectIndex(std::string_view indexName) {
    require_open();
    check_browse_mode();
    Impl& m = *impl_;
    if (indexName.empty()) {
        m.keyField = -1;
        activeIndex_.clear();
        indexField_.clear();
    } else {
        const IndexInfo* found = nullptr;
        for (const auto& ix : m.indexes)
            if (equal_ignoring_case(ix.name, indexName)) found = &ix;
        if (!found)
            throw TableError("Index " + in_quotes(indexName) + " v tabulce " + in_quotes(table_) +
                             " neexistuje.");
        if (m.keyField == found->field && activeIndex_ == found->name &&
            m.orderGeneration == static_cast<long long>(db_->generation())) {
            // Selecting the active index again only goes to the first record.
            first();
            return;
        }
        m.keyField = found->field;
        activeIndex_ = found->name;
        indexField_ = fields_[size_t(found->field)].name;
    }
    load_order();
    first();
}

// ---------------------------------------------------------------------------------------------
// Navigation

void Cursor::set_position(int position, bool atBof, bool atEof, bool recordChanged) {
    const int oldPos = pos_;
    const long long oldRow = rowId();
    if (order_.empty()) {
        pos_ = -1;
        bof_ = eof_ = true;
    } else {
        pos_ = std::clamp(position, 0, int(order_.size()) - 1);
        bof_ = atBof;
        eof_ = atEof;
    }
    if ((recordChanged || pos_ != oldPos || rowId() != oldRow) && afterScroll) afterScroll();
}

void Cursor::check_browse_mode() {
    if (state_ != State::Edit && state_ != State::Insert) return;
    const auto& mod = impl_->modified;
    if (std::find(mod.begin(), mod.end(), true) != mod.end())
        post();
    else
        cancel();
}

void Cursor::first() {
    require_open();
    check_browse_mode();
    set_position(0, true, order_.empty());
}

void Cursor::last() {
    require_open();
    check_browse_mode();
    set_position(int(order_.size()) - 1, order_.empty(), true);
}

void Cursor::next() {
    require_open();
    check_browse_mode();
    if (order_.empty()) return;
    if (pos_ + 1 < int(order_.size()))
        set_position(pos_ + 1, false, false);
    else
        set_position(pos_, false, true);
}

void Cursor::prior() {
    require_open();
    check_browse_mode();
    if (order_.empty()) return;
    if (pos_ > 0)
        set_position(pos_ - 1, false, false);
    else
        set_position(0, true, false);
}

void Cursor::moveTo(int position) {
    require_open();
    check_browse_mode();
    const int n = int(order_.size());
    if (n == 0) return;
    if (position > pos_)
        set_position(position, false, position >= n);
    else if (position < pos_)
        set_position(position, position < 0, false);
}

long long Cursor::rowId() const {
    if (state_ == State::Insert) return 0;
    if (state_ == State::Edit) return impl_->editRowId;
    if (pos_ < 0 || pos_ >= int(order_.size())) return 0;
    return order_[size_t(pos_)];
}

namespace {

struct SearchKey {
    bool ok = false;
    std::string text;  // collation key for text indexes
    double number = 0;
};

// Converts a key text to the active index's key; ok = false when it does not convert.
SearchKey search_key(const FieldInfo& key, bool textKeys, std::string_view keyText) {
    SearchKey k;
    if (textKeys) {
        k.text = collation_key(keyText);
        k.ok = true;
        return k;
    }
    std::optional<double> v;
    switch (key.type) {
        case FieldType::Date:
        case FieldType::DateTime:
            v = parse_date_time_text(keyText);
            break;
        case FieldType::Time:
            v = parse_time_text(keyText);
            break;
        case FieldType::Boolean:
            if (auto b = parse_boolean_text(keyText)) v = *b ? 1.0 : 0.0;
            break;
        default:
            v = parse_float_text(keyText);
    }
    if (v && std::isfinite(*v)) {
        k.ok = true;
        k.number = *v;
    }
    return k;
}

}  // namespace

int Cursor::lower_bound_of(std::string_view keyText, bool& exact) const {
    const Impl& m = *impl_;
    if (m.keyField < 0)
        throw TableError("Tabulka " + in_quotes(table_) +
                         " nemá vybraný index, podle kterého by se dalo hledat.");
    const FieldInfo& key = fields_[size_t(m.keyField)];
    const SearchKey k = search_key(key, m.textKeys, keyText);
    exact = false;
    if (!k.ok) return -1;
    if (m.textKeys) {
        const auto it = std::lower_bound(m.strKeys.begin(), m.strKeys.end(), k.text);
        exact = it != m.strKeys.end() && *it == k.text;
        return int(it - m.strKeys.begin());
    }
    const double tol = is_time_type(key.type) ? kTimeKeyTolerance : 0.0;
    const auto it = std::lower_bound(m.numKeys.begin(), m.numKeys.end(), k.number - tol);
    exact = it != m.numKeys.end() && *it <= k.number + tol;
    return int(it - m.numKeys.begin());
}

bool Cursor::findKey(std::string_view keyText) {
    require_open();
    check_browse_mode();
    bool exact = false;
    const int at = lower_bound_of(keyText, exact);
    if (!exact) return false;
    set_position(at, false, false);
    return true;
}

bool Cursor::findNearest(std::string_view keyText) {
    require_open();
    check_browse_mode();
    bool exact = false;
    const int at = lower_bound_of(keyText, exact);
    if (at < 0 || order_.empty()) return false;
    if (at >= int(order_.size())) {
        set_position(int(order_.size()) - 1, false, true);
        return false;
    }
    set_position(at, false, false);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Reading rows through the block cache

void Cursor::load_block(int start, int count) const {
    Impl& m = *impl_;
    const size_t nf = fields_.size();
    sqlite3* h = db_->handle();
    for (int r = 0; r < count; ++r)
        for (size_t f = 0; f < nf; ++f) m.cells[size_t(r) * nf + f].set_null();

    const long long firstId = order_[size_t(start)];
    bool consecutive = true;
    for (int r = 1; r < count && consecutive; ++r)
        consecutive = order_[size_t(start + r)] == firstId + r;

    sqlite3_stmt* stmt = nullptr;
    if (consecutive) {
        stmt = m.blockByRange.get();
        sqlite3_bind_int64(stmt, 1, firstId);
        sqlite3_bind_int64(stmt, 2, firstId + count - 1);
    } else {
        stmt = m.blockByIds.get();
        m.slotOf.clear();
        for (int r = 0; r < count; ++r) {
            m.slotOf.emplace_back(order_[size_t(start + r)], r);
            sqlite3_bind_int64(stmt, r + 1, order_[size_t(start + r)]);
        }
        for (int r = count; r < kBlockRows; ++r) sqlite3_bind_null(stmt, r + 1);
        std::sort(m.slotOf.begin(), m.slotOf.end());
    }
    ResetOnExit reset{stmt};
    m.cacheCount = 0;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const long long id = sqlite3_column_int64(stmt, 0);
        int slot = -1;
        if (consecutive) {
            slot = int(id - firstId);
        } else {
            const auto it =
                std::lower_bound(m.slotOf.begin(), m.slotOf.end(), std::make_pair(id, -1));
            if (it != m.slotOf.end() && it->first == id) slot = it->second;
        }
        if (slot < 0 || slot >= count) continue;
        Cell* row = &m.cells[size_t(slot) * nf];
        for (size_t f = 0; f < nf; ++f) read_column(stmt, int(f) + 1, row[f]);
    }
    if (rc != SQLITE_DONE) throw_sql(h, table_);
    m.cacheStart = start;
    m.cacheCount = count;
    m.cacheGeneration = db_->generation();
}

const Cell* Cursor::current_row() const {
    Impl& m = *impl_;
    if (state_ == State::Edit || state_ == State::Insert) return m.pending.data();
    require_open();
    if (pos_ < 0 || pos_ >= int(order_.size())) return m.nullRow.data();
    if (m.cacheGeneration != db_->generation()) m.invalidate();
    if (pos_ >= m.cacheStart && pos_ < m.cacheStart + m.cacheCount)
        return &m.cells[size_t(pos_ - m.cacheStart) * fields_.size()];
    if (pos_ >= m.cacheStart2 && pos_ < m.cacheStart2 + m.cacheCount2) {
        m.swap_blocks();
        return &m.cells[size_t(pos_ - m.cacheStart) * fields_.size()];
    }

    // Stepping on from the cached block reads a whole block ahead (or behind); a jump reads a
    // few rows around the new position.
    const int n = int(order_.size());
    int start, count;
    if (m.cacheCount > 0 && pos_ == m.cacheStart + m.cacheCount) {
        start = pos_;
        count = kBlockRows;
    } else if (m.cacheCount > 0 && pos_ == m.cacheStart - 1) {
        start = pos_ - kBlockRows + 1;
        count = kBlockRows;
    } else {
        start = pos_ - kJumpBefore;
        count = kJumpRows;
    }
    start = std::max(start, 0);
    count = std::min(count, n - start);
    m.swap_blocks();
    load_block(start, count);
    return &m.cells[size_t(pos_ - m.cacheStart) * fields_.size()];
}

namespace {

const Cell& cell_at(const Cell* row, int f) {
    return row[f];
}

std::string text_of(const Cell& c, FieldType type) {
    switch (c.kind) {
        case Cell::Null:
            return {};
        case Cell::Text:
            return c.s;
        case Cell::Int:
            if (type == FieldType::Boolean) return c.i ? "True" : "False";
            if (!is_time_type(type) && type != FieldType::Float) return std::to_string(c.i);
            break;
        case Cell::Real:
            break;
    }
    const double v = c.d;
    switch (type) {
        case FieldType::Date:
            if (plausible_serial(v)) return date_text(v);
            break;
        case FieldType::Time:
            if (std::isfinite(v)) return time_text(v);
            break;
        case FieldType::DateTime:
            if (plausible_serial(v)) return format_date_time_text(v);
            break;
        case FieldType::Boolean:
            return v != 0 ? "True" : "False";
        case FieldType::Word:
        case FieldType::Integer:
            if (v == std::trunc(v) && std::fabs(v) < 9e18) return std::to_string((long long)v);
            break;
        default:
            break;
    }
    return format_float_text(v);
}

}  // namespace

std::string Cursor::asText(int position) const {
    check_position(position);
    return text_of(cell_at(current_row(), position), fields_[size_t(position)].type);
}

std::string Cursor::asText(std::string_view field) const {
    return asText(field_of(field));
}

long long Cursor::asInteger(int position) const {
    check_position(position);
    const Cell& c = cell_at(current_row(), position);
    switch (c.kind) {
        case Cell::Null:
            return 0;
        case Cell::Int:
            return c.i;
        case Cell::Real:
            if (std::isfinite(c.d) && std::fabs(c.d) < 9e18) return std::llround(c.d);
            break;
        case Cell::Text: {
            if (c.s.empty()) return 0;
            if (auto v = parse_integer_text(c.s)) return *v;
            if (fields_[size_t(position)].type == FieldType::Boolean)
                if (auto b = parse_boolean_text(c.s)) return *b;
            break;
        }
    }
    throw TableError("Hodnota " + in_quotes(text_of(c, fields_[size_t(position)].type)) + " pole " +
                     in_quotes(fields_[size_t(position)].name) + " v tabulce " + in_quotes(table_) +
                     " není celé číslo.");
}

long long Cursor::asInteger(std::string_view field) const {
    return asInteger(field_of(field));
}

double Cursor::asFloat(int position) const {
    check_position(position);
    const Cell& c = cell_at(current_row(), position);
    switch (c.kind) {
        case Cell::Null:
            return 0;
        case Cell::Int:
        case Cell::Real:
            return c.d;
        case Cell::Text: {
            if (c.s.empty()) return 0;
            if (auto v = parse_float_text(c.s); v && std::isfinite(*v)) return *v;
            const FieldType type = fields_[size_t(position)].type;
            if (is_time_type(type) || type == FieldType::Boolean) {
                const double k = numeric_key(c, type);
                if (k != kNullKey) return k;
            }
            break;
        }
    }
    throw TableError("Hodnota " + in_quotes(c.s) + " pole " +
                     in_quotes(fields_[size_t(position)].name) + " v tabulce " + in_quotes(table_) +
                     " není číslo.");
}

double Cursor::asFloat(std::string_view field) const {
    return asFloat(field_of(field));
}

bool Cursor::asBoolean(int position) const {
    check_position(position);
    const Cell& c = cell_at(current_row(), position);
    switch (c.kind) {
        case Cell::Null:
            return false;
        case Cell::Int:
            return c.i != 0;
        case Cell::Real:
            return c.d != 0;
        case Cell::Text: {
            const auto t = trimmed(c.s);
            if (t.empty()) return false;
            if (auto v = parse_integer_text(t)) return *v != 0;
            const char ch = t.front();
            return ch == 'T' || ch == 't' || ch == 'Y' || ch == 'y';
        }
    }
    return false;
}

bool Cursor::asBoolean(std::string_view field) const {
    return asBoolean(field_of(field));
}

double Cursor::asDateTime(int position) const {
    check_position(position);
    const Cell& c = cell_at(current_row(), position);
    switch (c.kind) {
        case Cell::Null:
            return 0;
        case Cell::Int:
        case Cell::Real:
            return c.d;
        case Cell::Text: {
            if (trimmed(c.s).empty()) return 0;
            const FieldType type = fields_[size_t(position)].type;
            std::optional<double> v =
                type == FieldType::Time ? parse_time_text(c.s) : parse_date_time_text(c.s);
            if (!v) v = parse_time_text(c.s);
            if (v) return *v;
            break;
        }
    }
    throw TableError("Hodnota " + in_quotes(c.s) + " pole " +
                     in_quotes(fields_[size_t(position)].name) + " v tabulce " + in_quotes(table_) +
                     " není datum ani čas.");
}

double Cursor::asDateTime(std::string_view field) const {
    return asDateTime(field_of(field));
}

bool Cursor::isNull(std::string_view field) const {
    const int f = field_of(field);
    return cell_at(current_row(), f).kind == Cell::Null;
}

// ---------------------------------------------------------------------------------------------
// Editing

void Cursor::require_writable() const {
    require_open();
    if (readOnly_)
        throw TableError("Tabulka " + in_quotes(table_) +
                         " je otevřena jen pro čtení, nelze ji měnit.");
    if (!db_->writable())
        throw TableError("Databázový soubor " + in_quotes(db_->path()) +
                         " je jen pro čtení, tabulku " + in_quotes(table_) + " nelze měnit.");
}

void Cursor::edit() {
    require_writable();
    if (state_ == State::Edit || state_ == State::Insert) return;
    if (order_.empty()) {
        insert();
        return;
    }
    const Cell* row = current_row();
    Impl& m = *impl_;
    m.pending.assign(row, row + fields_.size());
    m.modified.assign(fields_.size(), false);
    m.editRowId = order_[size_t(pos_)];
    state_ = State::Edit;
}

void Cursor::insert() {
    require_writable();
    check_browse_mode();
    Impl& m = *impl_;
    m.pending.assign(fields_.size(), Cell{});
    m.modified.assign(fields_.size(), false);
    m.editRowId = 0;
    state_ = State::Insert;
}

Cell& Cursor::pending_cell(int position) {
    check_position(position);
    if (state_ != State::Edit && state_ != State::Insert)
        throw TableError("Tabulka " + in_quotes(table_) + " není v režimu úprav, hodnotu pole " +
                         in_quotes(fields_[size_t(position)].name) + " nelze přiřadit.");
    impl_->modified[size_t(position)] = true;
    return impl_->pending[size_t(position)];
}

void Cursor::setText(int position, std::string_view text) {
    check_position(position);
    const FieldInfo& f = fields_[size_t(position)];
    Cell value;
    if (is_text_type(f.type)) {
        value.set_text(text);
    } else if (trimmed(text).empty()) {
        value.set_null();
    } else {
        bool ok = false;
        switch (f.type) {
            case FieldType::Date:
                if (auto v = parse_date_text(trimmed(text))) value.set_real(*v), ok = true;
                break;
            case FieldType::Time:
                if (auto v = parse_time_text(trimmed(text))) value.set_real(*v), ok = true;
                break;
            case FieldType::DateTime:
                if (auto v = parse_date_time_text(text)) value.set_real(*v), ok = true;
                break;
            case FieldType::Float:
                if (auto v = parse_float_text(text); v && std::isfinite(*v))
                    value.set_real(*v), ok = true;
                break;
            case FieldType::Word:
                if (auto v = parse_integer_text(text); v && *v >= 0 && *v <= 65535)
                    value.set_int(*v), ok = true;
                break;
            case FieldType::Integer:
                if (auto v = parse_integer_text(text)) value.set_int(*v), ok = true;
                break;
            case FieldType::Boolean:
                if (auto v = parse_boolean_text(text)) value.set_int(*v ? 1 : 0), ok = true;
                break;
            case FieldType::String:
            case FieldType::Memo:
                break;
        }
        if (!ok)
            throw TableError(in_quotes(text) + " není platná hodnota pole " + in_quotes(f.name) +
                             " v tabulce " + in_quotes(table_) + " (" + type_description(f.type) +
                             ").");
    }
    pending_cell(position) = std::move(value);
}

void Cursor::setText(std::string_view field, std::string_view text) {
    setText(field_of(field), text);
}

void Cursor::setInteger(std::string_view field, long long value) {
    const int f = field_of(field);
    const FieldType type = fields_[size_t(f)].type;
    if (type == FieldType::Word && (value < 0 || value > 65535))
        throw TableError("Hodnota " + std::to_string(value) + " pole " +
                         in_quotes(fields_[size_t(f)].name) + " v tabulce " + in_quotes(table_) +
                         " je mimo rozsah 0 až 65535.");
    Cell value_cell;
    if (is_text_type(type))
        value_cell.set_text(std::to_string(value));
    else if (type == FieldType::Boolean)
        value_cell.set_int(value != 0);
    else if (is_integer_type(type))
        value_cell.set_int(value);
    else
        value_cell.set_real(double(value));
    pending_cell(f) = std::move(value_cell);
}

void Cursor::setFloat(std::string_view field, double value) {
    const int f = field_of(field);
    const FieldType type = fields_[size_t(f)].type;
    if (!std::isfinite(value) ||
        (is_integer_type(type) && type != FieldType::Boolean && std::fabs(value) >= 9e18))
        throw TableError("Hodnotu " + format_float_text(value) + " nelze uložit do pole " +
                         in_quotes(fields_[size_t(f)].name) + " v tabulce " + in_quotes(table_) +
                         ".");
    if (type == FieldType::Word || type == FieldType::Integer) {
        setInteger(field, std::llround(value));
        return;
    }
    Cell c;
    if (is_text_type(type))
        c.set_text(format_float_text(value));
    else if (type == FieldType::Boolean)
        c.set_int(value != 0);
    else
        c.set_real(value);
    pending_cell(f) = std::move(c);
}

void Cursor::setBoolean(std::string_view field, bool value) {
    const int f = field_of(field);
    const FieldType type = fields_[size_t(f)].type;
    Cell c;
    if (is_text_type(type))
        c.set_text(value ? "True" : "False");
    else if (is_integer_type(type))
        c.set_int(value ? 1 : 0);
    else
        c.set_real(value ? 1.0 : 0.0);
    pending_cell(f) = std::move(c);
}

void Cursor::setDateTime(std::string_view field, double serial) {
    const int f = field_of(field);
    const FieldType type = fields_[size_t(f)].type;
    if (!plausible_serial(serial))
        throw TableError("Hodnotu " + format_float_text(serial) + " nelze uložit do pole " +
                         in_quotes(fields_[size_t(f)].name) + " v tabulce " + in_quotes(table_) +
                         ".");
    Cell c;
    const double secs = double(rounded_seconds(serial));
    switch (type) {
        case FieldType::String:
        case FieldType::Memo:
            c.set_text(format_date_time_text(serial));
            break;
        case FieldType::Date:
            c.set_real(std::floor(secs / 86400.0));
            break;
        case FieldType::Time: {
            const double day = std::floor(secs / 86400.0);
            c.set_real((secs - day * 86400.0) / 86400.0);
            break;
        }
        case FieldType::Word:
        case FieldType::Integer:
            setInteger(field, std::llround(serial));
            return;
        case FieldType::Boolean:
            c.set_int(serial != 0);
            break;
        default:
            c.set_real(serial);
    }
    pending_cell(f) = std::move(c);
}

void Cursor::setNull(std::string_view field) {
    pending_cell(field_of(field)).set_null();
}

void Cursor::cancel() {
    if (state_ != State::Edit && state_ != State::Insert) return;
    impl_->pending.clear();
    impl_->modified.clear();
    state_ = State::Browse;
}

void Cursor::post() {
    if (state_ != State::Edit && state_ != State::Insert) return;
    require_writable();
    Impl& m = *impl_;
    sqlite3* h = db_->handle();
    const bool inserting = state_ == State::Insert;
    std::vector<int> changed;
    for (size_t f = 0; f < fields_.size(); ++f)
        if (m.modified[f]) changed.push_back(int(f));

    long long rowid = m.editRowId;
    in_transaction(*db_, table_, [&] {
        std::string sql;
        if (inserting) {
            if (changed.empty()) {
                sql = "INSERT INTO " + sql_identifier(table_) + " DEFAULT VALUES";
            } else {
                std::string cols, params;
                for (size_t k = 0; k < changed.size(); ++k) {
                    cols += (k ? ", " : "") + sql_identifier(fields_[size_t(changed[k])].name);
                    params += (k ? ", ?" : "?") + std::to_string(k + 1);
                }
                sql = "INSERT INTO " + sql_identifier(table_) + " (" + cols + ") VALUES (" +
                      params + ")";
            }
        } else {
            if (changed.empty()) return;
            sql = "UPDATE " + sql_identifier(table_) + " SET ";
            for (size_t k = 0; k < changed.size(); ++k)
                sql += (k ? ", " : "") + sql_identifier(fields_[size_t(changed[k])].name) + " = ?" +
                       std::to_string(k + 1);
            sql += " WHERE rowid = ?" + std::to_string(changed.size() + 1);
        }
        Statement st(h, sql, table_);
        for (size_t k = 0; k < changed.size(); ++k)
            bind_cell(st.get(), int(k) + 1, m.pending[size_t(changed[k])]);
        if (!inserting) sqlite3_bind_int64(st.get(), int(changed.size()) + 1, rowid);
        if (sqlite3_step(st.get()) != SQLITE_DONE) throw_sql(h, table_);
        if (inserting)
            rowid = sqlite3_last_insert_rowid(h);
        else if (sqlite3_changes(h) == 0)
            throw TableError("Záznam tabulky " + in_quotes(table_) +
                             " mezitím někdo smazal, změny nelze uložit.");
    });

    m.pending.clear();
    m.modified.clear();
    state_ = State::Browse;
    const int oldPos = pos_;
    load_order();
    const auto it = std::find(order_.begin(), order_.end(), rowid);
    set_position(it != order_.end() ? int(it - order_.begin()) : oldPos, false, false, true);
    if (inserting && afterInsert) afterInsert();
    if (afterPost) afterPost();
}

void Cursor::remove() {
    require_writable();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    cancel();
    if (order_.empty())
        throw TableError("Tabulka " + in_quotes(table_) + " je prázdná, není co smazat.");
    if (beforeDelete && !beforeDelete()) return;
    const long long rowid = order_[size_t(pos_)];
    sqlite3* h = db_->handle();
    in_transaction(*db_, table_, [&] {
        Statement st(h, "DELETE FROM " + sql_identifier(table_) + " WHERE rowid = ?1", table_);
        sqlite3_bind_int64(st.get(), 1, rowid);
        if (sqlite3_step(st.get()) != SQLITE_DONE) throw_sql(h, table_);
    });
    // The rest of the order is unchanged: drop the row and its key.
    Impl& m = *impl_;
    const int at = pos_;
    order_.erase(order_.begin() + at);
    if (m.textKeys && !m.strKeys.empty()) m.strKeys.erase(m.strKeys.begin() + at);
    if (!m.textKeys && !m.numKeys.empty()) m.numKeys.erase(m.numKeys.begin() + at);
    m.invalidate();
    const bool wasLast = at >= int(order_.size());
    set_position(wasLast ? at - 1 : at, false, wasLast, true);
    if (afterDelete) afterDelete();
}

void Cursor::refresh() {
    require_open();
    check_browse_mode();
    const long long rowid = rowId();
    const int oldPos = pos_;
    const bool oldBof = bof_, oldEof = eof_;
    load_order();
    const auto it = std::find(order_.begin(), order_.end(), rowid);
    if (it != order_.end())
        set_position(int(it - order_.begin()), oldBof, oldEof, true);
    else
        set_position(oldPos, false, false, true);
}

void Cursor::emptyTable() {
    require_writable();
    cancel();
    sqlite3* h = db_->handle();
    in_transaction(*db_, table_,
                   [&] { exec(h, ("DELETE FROM " + sql_identifier(table_)).c_str(), table_); });
    order_.clear();
    impl_->numKeys.clear();
    impl_->strKeys.clear();
    impl_->invalidate();
    set_position(-1, true, true, true);
}

}  // namespace horalun
