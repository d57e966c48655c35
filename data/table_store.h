// The table store: cursors over the tables of data.tdb, an SQLite 3 file.
// A cursor keeps the row ids of its current order and reads rows through a small cache, so
// stepping through a table costs no query per row.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/field_type.h"

struct sqlite3;

namespace horalun {

namespace detail {
struct StoreCell;  // one stored value, defined in table_store.cpp
}

// Any failure of the store: a missing file or table, an unknown field or index, a write to a
// read-only cursor, an SQLite error. The message is Czech and names the file or table.
class TableError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A table, field or index name quoted for SQL ("a""b" for a"b).
std::string sql_identifier(std::string_view name);

struct FieldInfo {
    std::string name;
    FieldType type = FieldType::String;
    int size = 0;  // characters, for String fields
};

// One open database file, shared by the cursors opened on it. Used from one thread at a time.
class Database {
  public:
    // Opens an existing file (never creates one); a file that cannot be written is opened
    // read-only. Throws TableError naming the path when it is missing or not a database.
    static std::shared_ptr<Database> open(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& path() const { return path_; }
    bool writable() const { return writable_; }
    sqlite3* handle() const { return db_; }
    bool hasTable(std::string_view table) const;

    // Incremented by every write through any cursor on this file, so that other cursors can
    // notice that their cached rows are stale.
    unsigned long long generation() const { return generation_; }
    void bump_generation() { ++generation_; }

    // A table's order by an index field, shared by the cursors on this file until the next
    // write: reading the keys of a large table takes tens of milliseconds.
    struct SharedOrder;
    std::shared_ptr<const SharedOrder> shared_order(const std::string& key) const;
    void store_order(const std::string& key, std::shared_ptr<const SharedOrder> order);

  private:
    Database() = default;
    sqlite3* db_ = nullptr;
    std::string path_;
    bool writable_ = true;
    unsigned long long generation_ = 0;
    std::map<std::string, std::shared_ptr<const SharedOrder>> orders_;
};

class Cursor {
  public:
    enum class State { Inactive, Browse, Edit, Insert };

    // Opens a cursor on `table`; throws TableError naming the table and the file when the table
    // is missing. The cursor starts in natural (row id) order on the first record.
    Cursor(std::shared_ptr<Database> db, std::string table, bool readOnly = false);
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    void close();
    bool isOpen() const { return state_ != State::Inactive; }
    // Reopens a closed cursor, natural order, first record.
    void open();
    const std::string& tableName() const { return table_; }
    Database& database() const { return *db_; }
    const std::shared_ptr<Database>& sharedDatabase() const { return db_; }

    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);  // allowed while open; cancels a pending edit

    const std::vector<FieldInfo>& fields() const { return fields_; }
    int fieldIndex(std::string_view name) const;  // -1 when absent (case-insensitive name)

    // Orders the cursor by the named index of the table ("" = natural order) and moves to the
    // first record. Throws TableError for an index the table does not have. Index keys of
    // text fields compare without regard to case, Czech letters included, and in the Czech
    // alphabetical order (c < č < d, h < ch < i, r < ř < s, s < š < t, z < ž).
    void selectIndex(std::string_view indexName);
    const std::string& activeIndex() const { return activeIndex_; }
    // Field name of the active index's key ("" in natural order).
    const std::string& indexField() const { return indexField_; }

    // Keyed search on the active index with the key given as text (converted to the key
    // field's type: "24.4.1966" for a date field, "1" for a number). findKey moves to the first
    // record whose key equals the text and returns true, or returns false and stays put.
    // findNearest moves to the first record whose key is equal or greater; when every key is
    // smaller it moves to the last record, sets eof and returns false.
    bool findKey(std::string_view keyText);
    bool findNearest(std::string_view keyText);

    void first();
    void last();
    void next();   // past the last record: stays on it and sets eof
    void prior();  // before the first record: stays on it and sets bof
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    int recordCount() const { return int(order_.size()); }
    bool isEmpty() const { return order_.empty(); }
    int recNo() const { return pos_; }  // 0-based position in the current order, -1 if empty
    void moveTo(int position);          // clamps to the valid range
    long long rowId() const;            // SQLite row id of the current record, 0 if none

    // Field access on the current record (or the pending values while editing/inserting).
    // By name (throws TableError for an unknown field) or by 0-based position. Null reads as
    // "" / 0 / false. Text forms: dates "24.4.1966", times "9:03:00", date-times "24.4.1966"
    // or "24.4.1966 9:03:00", booleans "True"/"False", floats with the decimal separator.
    std::string asText(std::string_view field) const;
    std::string asText(int position) const;
    long long asInteger(std::string_view field) const;
    long long asInteger(int position) const;
    double asFloat(std::string_view field) const;
    double asFloat(int position) const;
    bool asBoolean(std::string_view field) const;
    bool asBoolean(int position) const;
    double asDateTime(std::string_view field) const;  // serial days
    double asDateTime(int position) const;
    bool isNull(std::string_view field) const;

    // Editing. edit() and insert() throw TableError on a read-only cursor. Assignments are
    // allowed only in Edit or Insert state; text is converted to the field's type and a text
    // that does not convert throws TableError naming the field. post() writes in one
    // transaction and leaves the cursor on the written record in the current order; cancel()
    // drops the pending values. remove() deletes the current record unless beforeDelete returns
    // false (then nothing happens, silently), and moves to the record that followed it, or to
    // the new last record.
    State state() const { return state_; }
    void edit();
    void insert();
    void setText(std::string_view field, std::string_view text);
    void setText(int position, std::string_view text);
    void setInteger(std::string_view field, long long value);
    void setFloat(std::string_view field, double value);
    void setBoolean(std::string_view field, bool value);
    void setDateTime(std::string_view field, double serial);
    void setNull(std::string_view field);
    void post();
    void cancel();
    void remove();

    // Re-reads the order and the rows (after writes through other cursors), staying on the same
    // record when it still exists.
    void refresh();
    // Deletes every row of the table (throws on a read-only cursor).
    void emptyTable();

    std::function<bool()> beforeDelete;  // return false to cancel the delete silently
    std::function<void()> afterInsert;   // after a posted insert
    std::function<void()> afterDelete;
    std::function<void()> afterPost;    // after any post (edit or insert)
    std::function<void()> afterScroll;  // after the current record changed (for bound views)

  private:
    struct Impl;
    void require_open() const;
    void require_writable() const;
    int field_of(std::string_view name) const;  // throws for an unknown field
    void check_position(int position) const;
    void check_browse_mode();  // posts or cancels a pending edit before moving
    void load_order();
    // Moves and sets the end flags; calls afterScroll when the record changed.
    void set_position(int position, bool atBof, bool atEof, bool recordChanged = false);
    int lower_bound_of(std::string_view keyText, bool& exact) const;
    void load_block(int start, int count) const;
    const detail::StoreCell* current_row() const;
    detail::StoreCell& pending_cell(int position);

    std::unique_ptr<Impl> impl_;
    std::shared_ptr<Database> db_;
    std::string table_;
    std::vector<FieldInfo> fields_;
    std::vector<long long> order_;  // row ids in the current order
    std::string activeIndex_;
    std::string indexField_;
    int pos_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    bool readOnly_ = false;
    State state_ = State::Inactive;
};

}  // namespace horalun
