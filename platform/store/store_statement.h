// A statement on the store's connection, stepped and read column by column.
#pragma once

#include <sqlite3.h>

#include <climits>
#include <cstddef>
#include <cstdint>

namespace plat::store {

class Statement {
public:
    // Statements on the store's own connection are prepared once and reused:
    // parsing the SQL costs more than running it.
    Statement(sqlite3* db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, int64_t value) {
        sqlite3_bind_int64(stmt_, index, value);
        return *this;
    }
    Statement& Bind(int index, const char* text) {
        if (text) {
            sqlite3_bind_text(stmt_, index, text, -1, SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_null(stmt_, index);
        }
        return *this;
    }
    // Ready to run again; the bindings stay.
    void Reset() { sqlite3_reset(stmt_); }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int Step() {
        if (stmt_) rc_ = sqlite3_step(stmt_);
        return rc_;
    }
    int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
    bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
    // The column as a 32-bit number; false when it holds anything else (text,
    // a real, a blob, NULL or an integer out of range).
    bool Number32(int column, int32_t& value) const {
        if (sqlite3_column_type(stmt_, column) != SQLITE_INTEGER) return false;
        const int64_t wide = Int(column);
        if (wide < INT32_MIN || wide > INT32_MAX) return false;
        value = static_cast<int32_t>(wide);
        return true;
    }
    const char* Text(int column) const {
        const unsigned char* text = sqlite3_column_text(stmt_, column);
        return text ? reinterpret_cast<const char*>(text) : "";
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int rc_ = SQLITE_OK;
    size_t kept_ = 0;  // 1 + its index among the store's kept statements, or 0
};

// Every statement of the store, prepared on its connection ahead of use.
void PrepareStatements();

}  // namespace plat::store
