#include "platform/store/store_statement.h"

#include "platform/store/store_connection.h"
#include "platform/store/store_sql.h"

namespace plat::store {

namespace {
// More than the store has statements, nested uses included.
constexpr size_t kKeptStatements = 64;
}  // namespace

Statement::Statement(sqlite3* db, const char* sql) {
    Store& s = TheStore();
    if (db == nullptr || db != s.db) {
        rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
        return;
    }
    for (size_t i = 0; i < s.statements.size(); ++i) {
        KeptStatement& kept = s.statements[i];
        if (kept.sql == sql && !kept.busy) {
            kept.busy = true;
            stmt_ = kept.stmt;
            kept_ = i + 1;
            return;
        }
    }
    rc_ = sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc_ == SQLITE_OK && stmt_ != nullptr) {
        // Room for every statement at the first, made at start-up: a save
        // during play must not grow the list.
        if (s.statements.empty()) s.statements.reserve(kKeptStatements);
        s.statements.push_back({sql, stmt_, true});
        kept_ = s.statements.size();
    }
}

Statement::~Statement() {
    if (kept_ == 0) {
        sqlite3_finalize(stmt_);
        return;
    }
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    TheStore().statements[kept_ - 1].busy = false;
}

void PrepareStatements() {
    for (const char* text : sql::kAll) Statement prepared(TheStore().db, text);
}

}  // namespace plat::store
