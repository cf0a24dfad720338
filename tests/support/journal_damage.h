// Raw SQL on a journal's file, and damage to it as a failing disk does it.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace hayate::test {

// Raw SQL on a journal file, for the files an older or foreign program leaves.
inline void execSql(const std::filesystem::path& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message;
}

// Overwrites the first page of `btree` (a table or an index) in the file:
// with junk, or with a well-formed empty page that hides the rows. A
// connection that is open reads the damage from then on.
inline void damageJournalPage(const std::filesystem::path& file, const std::string& btree,
                              bool emptyPage = false) {
    sqlite3* db = nullptr;
    auto integer = [&](const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
        const std::int64_t v = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
        sqlite3_finalize(s);
        return v;
    };
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    const std::int64_t size = integer("PRAGMA page_size");
    const std::int64_t root =
        integer("SELECT rootpage FROM sqlite_master WHERE name = '" + btree + "'");
    const std::string sameVersion =
        "PRAGMA user_version = " + std::to_string(integer("PRAGMA user_version"));
    sqlite3_close(db);
    ASSERT_GT(root, 1) << btree;
    std::string page(static_cast<std::size_t>(size), emptyPage ? '\0' : '\xA5');
    if (emptyPage) {
        page[0] = 0x0D;  // a table leaf without cells, its content area empty
        page[5] = static_cast<char>(size >> 8 & 0xFF);
        page[6] = static_cast<char>(size & 0xFF);
    }
    std::fstream(file, std::ios::in | std::ios::out | std::ios::binary)
        .seekp((root - 1) * size)
        .write(page.data(), static_cast<std::streamsize>(page.size()));
    // A change through the log makes every open connection drop its cached pages.
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, sameVersion.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

}  // namespace hayate::test
