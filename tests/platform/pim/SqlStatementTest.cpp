// Statements on a connection: texts read back exactly as SQLite's own UTF-16 reading gives
// them, and statements kept prepared in a cache, lent to one user at a time.
#include "pim/SqlStatement.h"
#include "pim/SqlStatementCache.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>

namespace {

using platform::SqlStatement;
using platform::SqlStatementCache;

class SqlStatements : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &m_db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(m_db, "CREATE TABLE t(v); INSERT INTO t VALUES (1), (2);", nullptr,
                               nullptr, nullptr),
                  SQLITE_OK);
    }
    void TearDown() override {
        m_cache.Clear();
        EXPECT_EQ(sqlite3_close(m_db), SQLITE_OK); // nothing left unfinalized
    }
    // The bytes as UTF-8 text read through SqlStatement, and through sqlite3_column_text16.
    std::pair<std::u16string, std::u16string> ReadBoth(const std::string& utf8) {
        SqlStatement ours(m_db, "SELECT ?");
        EXPECT_TRUE(ours.BindText(1, utf8));
        EXPECT_EQ(ours.Step(), SQLITE_ROW);
        sqlite3_stmt* theirs = nullptr;
        sqlite3_prepare_v2(m_db, "SELECT ?", -1, &theirs, nullptr);
        sqlite3_bind_text(theirs, 1, utf8.data(), int(utf8.size()), SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(theirs), SQLITE_ROW);
        auto* text = static_cast<const char16_t*>(sqlite3_column_text16(theirs, 0));
        std::u16string expected(text, size_t(sqlite3_column_bytes16(theirs, 0)) / 2);
        sqlite3_finalize(theirs);
        return {ours.ColumnText16(0), expected};
    }
    std::string Utf8Of(const std::u16string& text) {
        SqlStatement select(m_db, "SELECT ?");
        select.BindText16(1, text);
        select.Step();
        return select.ColumnText(0);
    }

    sqlite3* m_db = nullptr;
    SqlStatementCache m_cache;
};

TEST_F(SqlStatements, TextsReadBackAsSqliteReadsThem) {
    const std::string bytes[] = {
        "", "plain", "caf\xC3\xA9", "\xE2\x82\xAC" "5", "\xF0\x9F\x98\x80",
        "a\xED\xA0\x80z",      // an encoded surrogate
        "\xC0\x80",            // overlong
        "\xEF\xBF\xBF",        // U+FFFF
        "\x80\xBF" "x",        // continuation bytes alone
        "\xF4\x90\x80\x80",    // beyond U+10FFFF
        "\xFB\xBF\xBF\xBF\xBF", "\xFE\xFF", "\xE2\x82", std::string("a\0b", 3),
    };
    for (const std::string& text : bytes) {
        auto [ours, expected] = ReadBoth(text);
        EXPECT_EQ(ours, expected) << testing::PrintToString(text);
    }
    // Random UTF-16, lone surrogates included, stored and read back; and random bytes.
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::u16string text(random() % 12, u' ');
        for (char16_t& c : text)
            c = char16_t(random() % 3 == 0 ? 0xD800 + random() % 0x800 : random() % 0x10000);
        auto [fromText, expectedText] = ReadBoth(Utf8Of(text));
        EXPECT_EQ(fromText, expectedText) << round;
        std::string raw(random() % 12, ' ');
        for (char& c : raw)
            c = char(random() % 256);
        auto [fromBytes, expectedBytes] = ReadBoth(raw);
        EXPECT_EQ(fromBytes, expectedBytes) << round;
    }
}

TEST_F(SqlStatements, ACachedStatementComesBackResetAndUnbound) {
    m_cache.Attach(m_db);
    const char* sql = "SELECT v FROM t WHERE v >= coalesce(?, 0) ORDER BY v";
    sqlite3_stmt* first = nullptr;
    {
        SqlStatement select(m_cache, sql);
        ASSERT_TRUE(select.BindInt64(1, 2));
        ASSERT_EQ(select.Step(), SQLITE_ROW);
        EXPECT_EQ(select.ColumnInt64(0), 2);
        first = m_cache.Take(sql); // lent already
        EXPECT_EQ(first, nullptr);
    }
    SqlStatement again(m_cache, sql);
    ASSERT_EQ(again.Step(), SQLITE_ROW);
    EXPECT_EQ(again.ColumnInt64(0), 1); // the bind is gone and the read starts over
}

TEST_F(SqlStatements, ASecondUserOfALentStatementGetsItsOwn) {
    m_cache.Attach(m_db);
    const char* sql = "SELECT v FROM t ORDER BY v";
    SqlStatement outer(m_cache, sql);
    ASSERT_EQ(outer.Step(), SQLITE_ROW);
    {
        SqlStatement inner(m_cache, sql);
        ASSERT_EQ(inner.Step(), SQLITE_ROW);
        EXPECT_EQ(inner.ColumnInt64(0), 1);
        ASSERT_EQ(inner.Step(), SQLITE_ROW);
        EXPECT_EQ(inner.ColumnInt64(0), 2);
    }
    ASSERT_EQ(outer.Step(), SQLITE_ROW);
    EXPECT_EQ(outer.ColumnInt64(0), 2); // undisturbed by the inner one
}

TEST_F(SqlStatements, AClearedCacheNoLongerPrepares) {
    m_cache.Attach(m_db);
    EXPECT_FALSE(SqlStatement(m_cache, "SELECT nonsense FROM nowhere").Ok());
    EXPECT_TRUE(SqlStatement(m_cache, "SELECT 1").Ok());
    m_cache.Clear();
    EXPECT_EQ(m_cache.Take("SELECT 1"), nullptr);
    EXPECT_FALSE(SqlStatement(m_cache, "SELECT 1").Ok());
}

} // namespace
