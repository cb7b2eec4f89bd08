// The conversions a grid page calls for every cell: a number converted to a
// decimal gives what its text gives, and a date-time in the storage form takes
// each style as SQL Server writes it.
#include "platform/db/sqlite/SqliteExtensions.h"

#include <gtest/gtest.h>

#include <QString>

#include <sqlite3.h>

#include <charconv>
#include <cstdint>
#include <random>
#include <string>

namespace {

class ConversionFunctions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(sqlite3_open(":memory:", &m_db), SQLITE_OK);
        ASSERT_EQ(platform::db::sqlite::registerSqlServerExtensions(m_db), SQLITE_OK);
    }
    void TearDown() override { sqlite3_close_v2(m_db); }

    // The value of a one-value statement as "type:text", or "error:message";
    // `bind` binds its parameter.
    template <typename Bind> std::string value(const std::string& sql, Bind bind)
    {
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
        bind(st);
        std::string out;
        if (sqlite3_step(st) == SQLITE_ROW) {
            const char* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            out = std::to_string(sqlite3_column_type(st, 0)) + ":" + (text ? text : "NULL");
        } else {
            out = std::string("error:") + sqlite3_errmsg(m_db);
        }
        sqlite3_finalize(st);
        return out;
    }
    std::string value(const std::string& sql)
    {
        return value(sql, [](sqlite3_stmt*) {});
    }

    sqlite3* m_db = nullptr;
};

// The shortest text of a double, as the conversion reads a number.
std::string shortest(double d)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, d).ptr;
    return std::string(text, end);
}

TEST_F(ConversionFunctions, ANumberConvertsToADecimalAsItsTextDoes)
{
    std::vector<double> numbers = {0.0,      -0.0,   0.005,  -0.005, 0.015,
                                   2.675,    1.005,  -1.005, 99.995, 123.456,
                                   -123.456, 1e15,   1.5e16, 1e-7,   123456789012.345,
                                   0.00049,  9.9999, 1e300,  5e-324, 4503599627370497.0};
    std::mt19937_64 random(20240205);
    for (int i = 0; i < 3000; ++i) {
        numbers.push_back(double(int64_t(random() % 2000000000) - 1000000000) / 100.0);
        numbers.push_back(double(int64_t(random() % 100000000)) / 10000.0);
    }
    for (const double d : numbers) {
        const std::string text = shortest(d);
        for (const auto& [precision, scale] : {std::pair{14, 2}, {18, 4}, {10, 0}, {5, 2}, {38, 10}}) {
            const std::string sql =
                "SELECT tsql_decimal(?1, " + std::to_string(precision) + ", " + std::to_string(scale) + ")";
            EXPECT_EQ(
                value(sql, [d](sqlite3_stmt* st) { sqlite3_bind_double(st, 1, d); }),
                value(sql, [&text](sqlite3_stmt* st) { sqlite3_bind_text(st, 1, text.c_str(), -1, SQLITE_TRANSIENT); }))
                << text << " " << precision << " " << scale;
        }
    }
    for (const int64_t whole :
         {int64_t(0), int64_t(7), int64_t(-7), int64_t(123456789012345678), INT64_MIN, INT64_MAX}) {
        const std::string text = std::to_string(whole);
        for (const auto& [precision, scale] : {std::pair{19, 0}, {14, 2}, {38, 4}}) {
            const std::string sql =
                "SELECT tsql_decimal(?1, " + std::to_string(precision) + ", " + std::to_string(scale) + ")";
            EXPECT_EQ(
                value(sql, [whole](sqlite3_stmt* st) { sqlite3_bind_int64(st, 1, whole); }),
                value(sql, [&text](sqlite3_stmt* st) { sqlite3_bind_text(st, 1, text.c_str(), -1, SQLITE_TRANSIENT); }))
                << text << " " << precision << " " << scale;
        }
    }
}

TEST_F(ConversionFunctions, AStoredDateTimeTakesEachStyle)
{
    struct Styled
    {
        int style;
        const char* text;
    };
    const Styled styles[] = {{101, "03/05/2024"},
                             {103, "05/03/2024"},
                             {104, "05.03.2024"},
                             {105, "05-03-2024"},
                             {108, "09:07:03"},
                             {8, "09:07:03"},
                             {112, "20240305"},
                             {3, "05/03/24"},
                             {5, "05-03-24"},
                             {23, "2024-03-05"},
                             {120, "2024-03-05 09:07:03"},
                             {121, "2024-03-05 09:07:03.045"},
                             {0, "Mar  5 2024  9:07AM"}};
    for (const Styled& s : styles)
        EXPECT_EQ(value("SELECT tsql_convert_text('2024-03-05 09:07:03.045', " + std::to_string(s.style) + ", 30)"),
                  std::string("3:") + s.text)
            << s.style;
    EXPECT_EQ(value("SELECT tsql_convert_text('2024-03-05 09:07:03', 121, 30)"), "3:2024-03-05 09:07:03.000");
    EXPECT_EQ(value("SELECT tsql_convert_text('2024-03-05 09:07:03', 120, 10)"), "3:2024-03-05");
    EXPECT_EQ(value("SELECT tsql_convert_text('2024-03-05 09:07:03', 7, 30)"),
              "error:7 is not a valid style number when converting from datetime to a character string.");
    // Texts that are no stored date-time stay as they are, cut to the length.
    EXPECT_EQ(value("SELECT tsql_convert_text('2024-02-30 09:07:03', 103, 30)"), "3:2024-02-30 09:07:03");
    EXPECT_EQ(value("SELECT tsql_convert_text('artículo', 103, 30)"), "3:artículo");
    EXPECT_EQ(value("SELECT tsql_convert_text('artículo', NULL, 4)"), "3:artí");
    EXPECT_EQ(value("SELECT tsql_convert_text(12.5, NULL, 30)"), "3:12.5");
}

// The arithmetic of whole numbers within their type, of decimals exact at the
// result's scale, and a date-time as a number of days.
TEST_F(ConversionFunctions, OperationsStayWithinTheirTypes)
{
    const struct
    {
        const char* sql;
        const char* value;
    } cases[] = {
        {"SELECT tsql_int_op(2147483646, 1, 32)", "1:2147483647"},
        {"SELECT tsql_int_op(2147483647, 1, 32)",
         "error:Arithmetic overflow error converting expression to data type int."},
        {"SELECT tsql_int_op(200, 100, 8)",
         "error:Arithmetic overflow error converting expression to data type tinyint."},
        {"SELECT tsql_int_op(-9223372036854775808, -1, 364)",
         "error:Arithmetic overflow error converting expression to data type bigint."},
        {"SELECT tsql_int_op(-7, 2, 332)", "1:-3"},
        {"SELECT tsql_int_op(-7, 3, 432)", "1:-1"},
        {"SELECT tsql_int_op(7, 0, 432)", "error:Divide by zero error encountered."},
        {"SELECT tsql_int_op('7', 'x', 32)",
         "error:Conversion failed when converting the varchar value 'x' to data type int."},
        {"SELECT tsql_int_op(7, 2, 932)",
         "error:An operation between whole numbers is one of 0 to 4, of 8, 16, 32 or 64 bits."},
        {"SELECT tsql_decimal_op(1000, '3.0', 32307)", "2:333.3333333"},
        {"SELECT tsql_decimal_op('2.0', 3, 30806)", "2:0.666667"},
        {"SELECT tsql_decimal_op(0.1, 0.2, 301)", "2:0.3"},
        {"SELECT tsql_decimal_op(1, 3, 33837)", "2:0.333333333333333"},
        {"SELECT tsql_decimal_op('-0.005', 1, 21002)", "2:-0.01"},
        {"SELECT tsql_decimal_op(12, 5, 41000)", "1:2"},
        {"SELECT tsql_decimal_op('99999999999999999999999999999999999999', 10, 23800)",
         "error:Arithmetic overflow error converting expression to data type numeric."},
        {"SELECT tsql_decimal_op(999, 1, 300)",
         "error:Arithmetic overflow error converting expression to data type numeric."},
        {"SELECT tsql_decimal_op(1, 0, 31006)", "error:Divide by zero error encountered."},
        {"SELECT tsql_decimal_op('abc', 1, 1002)", "error:Error converting data type varchar to numeric."},
        {"SELECT tsql_decimal_op(1, 1, 71002)",
         "error:A decimal operation is one of 0 to 4, of a precision of 1 to 38 and a scale of 0 to its precision."},
        {"SELECT tsql_date_number('2024-03-18 18:00:00')", "2:45367.75"},
        {"SELECT tsql_date_number('31/02/2024')",
         "error:The conversion of a varchar data type to a datetime data type resulted in an out-of-range value."},
        {"SELECT tsql_int('40000', 16)",
         "error:The conversion of the varchar value '40000' overflowed an INT2 column. Use a larger integer column."},
        {"SELECT tsql_int(' -2147483648 ', 32)", "1:-2147483648"},
        {"SELECT tsql_int('99999999999999999999', 32)",
         "error:The conversion of the varchar value '99999999999999999999' overflowed an int column."},
        {"SELECT tsql_int('-', 32)", "1:0"},
        {"SELECT tsql_error('Divide by zero error encountered.')", "error:Divide by zero error encountered."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(value(c.sql), c.value) << c.sql;
}

// A chain of operators folded over its operands from the left, each step as
// the operation of two would give it: its type, its rounding, its error.
TEST_F(ConversionFunctions, FoldedOperationsGiveEachStepItsOwnMeaning)
{
    const struct
    {
        const char* sql;
        const char* value;
    } cases[] = {
        {"SELECT tsql_int_op(1, 2, 32, 3, 232, 4, 132)", "1:5"},
        {"SELECT tsql_int_op(200, 50, 8, 100, 16)", "1:350"},
        {"SELECT tsql_int_op(200, 50, 16, 100, 8)",
         "error:Arithmetic overflow error converting expression to data type tinyint."},
        {"SELECT tsql_int_op(7, 2, 332, 0, 432)", "error:Divide by zero error encountered."},
        {"SELECT tsql_int_op(1, NULL, 32, 'x', 32)", "5:NULL"},
        {"SELECT tsql_int_op(1, 2, 32, 'x', 32)",
         "error:Conversion failed when converting the varchar value 'x' to data type int."},
        {"SELECT tsql_int_op(1, 2)", "error:An operation between whole numbers folds pairs of an operand and a step."},
        // 1 / 3 at six decimals, then times 3: the rounded step, not the exact third.
        {"SELECT tsql_decimal_op(1, 3, 30806, 3, 21806)", "2:0.999999"},
        {"SELECT tsql_decimal_op(2.5, 1.25, 11203, 10, 31203)", "2:0.125"},
        {"SELECT tsql_decimal_op(99, 1, 200, 1, 300)",
         "error:Arithmetic overflow error converting expression to data type numeric."},
        {"SELECT tsql_op('a', 'b', 0, 'c', 0)", "3:abc"},
        {"SELECT tsql_op('2024-03-01 00:00:00', 1, 0, 0.5, 1)", "3:2024-03-01 12:00:00"},
        {"SELECT tsql_op(10, 2, 1, '3', 0)", "1:11"},
        {"SELECT tsql_op(1, NULL, 0, 2, 0)", "5:NULL"},
        {"SELECT tsql_op(7.5, '2', 3, 0.5, 1)", "2:3.25"},
        {"SELECT tsql_op(1, 2, 0, 0, 3)", "error:Divide by zero error encountered."},
        {"SELECT tsql_op(1, 'x', 4)",
         "error:Conversion failed when converting the varchar value 'x' to data type int."},
        {"SELECT tsql_op(7, 2, 3, 2, 4)", "1:1"}, // (7 / 2) % 2
        {"SELECT tsql_op(10.5, 3, 3, '4', 2)", "2:14.0"},
        {"SELECT tsql_op(4611686018427387904, 2, 2)", "2:9.22337203685478e+18"},
        {"SELECT tsql_op(1, 2, 5)", "error:An operation is one of 0 to 4."},
        {"SELECT tsql_money_op(10.5, 4, 4)", "2:2.5"},
        {"SELECT tsql_money_op(-10.5, 4, 4)", "2:-2.5"},
        {"SELECT tsql_money_op(10, 4, 3, 3, 2, 0.25, 0)", "2:7.75"},
        {"SELECT tsql_money_op(1, 0, 4)", "error:Divide by zero error encountered."},
        {"SELECT tsql_money_op(922337203685477, 1, 0)",
         "error:Arithmetic overflow error converting expression to data type money."},
        {"SELECT tsql_money_op(1, 2, 5)", "error:A money operation is one of 0 to 4."},
        {"SELECT tsql_finite(1e308 * 10)", "error:Arithmetic overflow error converting expression to data type float."},
        {"SELECT tsql_finite(-1e308 * 10)",
         "error:Arithmetic overflow error converting expression to data type float."},
        {"SELECT tsql_finite(2.5)", "2:2.5"},
        {"SELECT tsql_finite(NULL)", "5:NULL"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(value(c.sql), c.value) << c.sql;
}

// Arguments found by fuzzing the engine: each gives SQL Server's value or
// one of its errors, never a wrapped number, a date outside the range or no
// answer at all.
TEST_F(ConversionFunctions, ArgumentsAtTheEndsOfTheirRangesGiveAValueOrAnError)
{
    const struct
    {
        const char* sql;
        const char* value;
    } cases[] = {
        {"SELECT tsql_substring('abc', 9223372036854775807, 9)", "3:"},
        {"SELECT tsql_substring('abc', 2, 9223372036854775807)", "3:bc"},
        {"SELECT tsql_op(9223372036854775807, 1, 0)", "2:9.22337203685478e+18"},
        {"SELECT tsql_op('9223372036854775807', 1, 0)", "2:9.22337203685478e+18"},
        {"SELECT tsql_op(2, 3, 0)", "1:5"},
        {"SELECT tsql_op('2024-02-28 10:00:00', 1.5, 0)", "3:2024-02-29 22:00:00"},
        {"SELECT tsql_op('2024-01-01 00:00:00', 1e300, 0)",
         "error:Arithmetic overflow error converting expression to data type datetime."},
        {"SELECT tsql_op('9999-12-31 00:00:00', 1, 0)",
         "error:Arithmetic overflow error converting expression to data type datetime."},
        // A text of the storage form that names no day is no date-time.
        {"SELECT tsql_op('2024-02-30 00:00:00', 1, 0)",
         "error:Conversion failed when converting the nvarchar value '2024-02-30 00:00:00' to data type int."},
        {"SELECT tsql_op('2024-03-01 00:00:00', 1, 1)", "3:2024-02-29 00:00:00"},
        {"SELECT tsql_op('2024-03-01 12:00:00', '2024-03-01 00:00:00', 1)", "3:1900-01-01 12:00:00"},
        {"SELECT tsql_op('2024-01-01 00:00:00', 1e13, 1)",
         "error:Arithmetic overflow error converting expression to data type datetime."},
        {"SELECT tsql_op('2024-01-01 00:00:00', '9999-12-31 00:00:00', 1)",
         "error:Arithmetic overflow error converting expression to data type datetime."},
        {"SELECT tsql_op('2024-01-30 00:00:00', '2024-02-30 00:00:00', 1)",
         "error:The conversion of a varchar data type to a datetime data type resulted in an out-of-range value."},
        {"SELECT tsql_decimal('1e999999999', 10, 2)",
         "error:Arithmetic overflow error converting expression to data type numeric."},
        {"SELECT tsql_decimal('0e999999999', 10, 2)", "2:0.0"},
        {"SELECT tsql_decimal('5e-999999999', 10, 2)", "2:0.0"},
        {"SELECT tsql_decimal('1.5e2', 10, 2)", "2:150.0"},
        // Only the translation calls these, with the sizes of SQL Server's types.
        {"SELECT tsql_int(1, 0)", "error:A whole number has 8, 16, 32 or 64 bits."},
        {"SELECT tsql_int(300, 8)", "error:Arithmetic overflow error converting expression to data type tinyint."},
        {"SELECT tsql_decimal('1', 2000000000, 1999999999)",
         "error:A decimal has a precision of 1 to 38 and a scale of 0 to its precision."},
        {"SELECT tsql_decimal(1, 10, 11)",
         "error:A decimal has a precision of 1 to 38 and a scale of 0 to its precision."},
        // A scale beyond 32 bits is not read by its low bits.
        {"SELECT tsql_decimal_text('0000002045', '10000000000004067')", "error:A decimal has a scale of 0 to 38."},
        {"SELECT tsql_decimal_text(2.5, 4294967298)", "error:A decimal has a scale of 0 to 38."},
        {"SELECT tsql_decimal_text(2.5, -1)", "error:A decimal has a scale of 0 to 38."},
        {"SELECT tsql_decimal_text(2.5, 39)", "error:A decimal has a scale of 0 to 38."},
        {"SELECT tsql_decimal_text('-0.5', 0)", "3:-1"},
        {"SELECT tsql_decimal_text(2.5, 38)", "3:2.50000000000000000000000000000000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(value(c.sql), c.value) << c.sql;
}

} // namespace
