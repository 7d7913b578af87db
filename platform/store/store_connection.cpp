#include "platform/store/store_connection.h"

#include <cstdio>

#include "platform/core/machine.h"
#include "platform/platform.h"
#include "platform/store/store_statement.h"

namespace plat {
namespace store {
namespace {

uint32_t lastError = kStoreOk;
uint32_t commits = 0;

}  // namespace

Store& TheStore() {
    static Store store;
    return store;
}

bool Succeed() {
    lastError = kStoreOk;
    return true;
}

bool Fail(uint32_t error) {
    lastError = error;
    return false;
}

uint32_t ErrorFor(int rc) {
    switch (rc & 0xFF) {
        case SQLITE_OK:
        case SQLITE_DONE:
        case SQLITE_ROW: return kStoreOk;
        case SQLITE_FULL: return kStoreDiskFull;
        case SQLITE_NOMEM: return kStoreNotEnoughMemory;
        default: return kStoreWriteFault;
    }
}

void CountCommit() { ++commits; }

bool Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool Run(const char* sql) {
    Statement statement(TheStore().db, sql);
    const int rc = statement.Step();
    return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

bool TraceKept() { return Machine::Get().TraceKept(); }

void TraceWriteLine(const std::string& fields, bool ok) {
    const std::string all = fields + ",\"ok\":" + (ok ? "true" : "false") +
                            (ok ? "" : ",\"error\":" + std::to_string(lastError));
    Trace("store_write", all.c_str());
}

}  // namespace store

uint32_t StoreLastError() { return store::lastError; }

uint32_t StoreCommits() { return store::commits; }

}  // namespace plat
