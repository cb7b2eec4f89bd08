// The literals of comparisons and assignments become parameters, bound with
// the value SQLite would have read from the literal written out, so that one
// translation serves every text of the same shape; literals elsewhere (select
// lists, function arguments, TOP, view definitions) stay written.
#include "platform/db/Types.h"
#include "platform/db/sqlite/SqlTranslator.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <ostream>

using platform::Variant;
using platform::db::DbError;
using platform::db::sqlite::BoundTranslation;
using platform::db::sqlite::CatalogColumn;
using platform::db::sqlite::ColumnKind;
using platform::db::sqlite::SqlCatalog;
using platform::db::sqlite::SqlTranslator;

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

SqlTranslator translator()
{
    const std::vector<CatalogColumn> columns{
        {QStringLiteral("ID"), ColumnKind::Integer},
        {QStringLiteral("Nombre"), ColumnKind::Text},
        {QStringLiteral("Alta"), ColumnKind::DateTime},
        {QStringLiteral("Costo"), ColumnKind::Money},
        {QStringLiteral("Margen"), ColumnKind::Decimal, 18, 6},
        {QStringLiteral("Activo"), ColumnKind::Bit},
        {QStringLiteral("Peso"), ColumnKind::Float},
    };
    SqlCatalog catalog;
    catalog.addTable(QStringLiteral("T"), columns);
    catalog.addTable(QStringLiteral("V"), columns, true);
    SqlTranslator t;
    t.setCatalog(catalog);
    return t;
}

// The statements of a translation, a body's after "| ", and its values
// (whole numbers bare, texts between apostrophes).
QString shown(const BoundTranslation& b)
{
    QStringList sql;
    for (const auto& step : *b.steps) {
        sql << step.sql;
        for (const auto& inner : step.body)
            sql << QStringLiteral("| ") + inner.sql;
    }
    QStringList values;
    for (const Variant& v : b.parameters)
        values << (v.type() == platform::VariantType::Integer ? v.toText() : u'\'' + v.toText() + u'\'');
    return sql.join(u'\n') + QStringLiteral("\n= ") + values.join(QStringLiteral(", "));
}

struct Case
{
    const char* name;
    const char* tsql;
    const char* translated; // shown()
};

const Case kCases[] = {
    {"ComparedTextsDatesAndMoneyTexts",
     "SELECT ID FROM T WHERE Nombre = 'ab' AND Alta >= '05/03/2024' AND Costo = '1,234.50'",
     "SELECT ID FROM T WHERE Nombre = ?1 COLLATE SQLSERVER AND Alta >= ?2 AND Costo = ?3\n"
     "= 'ab', '2024-03-05 00:00:00', '1234.5'"},
    // A decimal is bound as its text only where a numeric column reads it.
    {"ComparedNumbers",
     "SELECT ID FROM T WHERE ID > 5 AND Costo < 2.50 AND LEN(Nombre) = 2.5 AND Peso BETWEEN 1 AND 1.5",
     "SELECT ID FROM T WHERE ID > ?1 AND Costo < ?2 AND tsql_len(Nombre) = 2.5 AND Peso BETWEEN ?3 AND ?4\n"
     "= 5, '2.50', 1, '1.5'"},
    {"SelectListsFunctionArgumentsAndTopStayWritten",
     "SELECT TOP 3 'x' AS c, CASE WHEN Nombre = 'y' THEN 1 END AS d, ISNULL(Nombre, 'z') AS e FROM T WHERE "
     "ISNULL(Nombre, 'z') = 'q'",
     "SELECT 'x' COLLATE SQLSERVER AS c, CASE WHEN Nombre = 'y' COLLATE SQLSERVER THEN 1 END AS d, "
     "ifnull(Nombre, 'z') COLLATE SQLSERVER AS e FROM T WHERE ifnull(Nombre, 'z') COLLATE SQLSERVER = ?1 COLLATE "
     "SQLSERVER LIMIT 3\n"
     "= 'q'"},
    {"AViewDefinitionStaysWritten", "CREATE VIEW W AS SELECT ID FROM T WHERE Nombre = 'x'",
     "CREATE VIEW W AS SELECT ID FROM T WHERE Nombre = 'x' COLLATE SQLSERVER\n= "},
    // Money rounded to four decimals, a decimal column's value through its function.
    {"AssignedValuesOfEveryKind",
     "UPDATE T SET Nombre = 'n', Alta = '01/02/2024 10:00', Costo = 12.34567, Activo = 1, Margen = 0.5, Peso = 2.5 "
     "WHERE ID = 7",
     "UPDATE T SET Nombre = ?2, Alta = ?3, Costo = ?4, Activo = ?5, Margen = tsql_decimal(0.5, 18, 6), Peso = ?6 WHERE "
     "ID = ?1\n"
     "= 7, 'n', '2024-02-01 10:00:00', '12.3457', 1, '2.5'"},
    // A bit holds 0 or 1; a whole number bound for an int column is checked against its range.
    {"BitsAndWholeNumbersAsTheirColumnsHoldThem", "UPDATE T SET Activo = 2, ID = 3 WHERE ID = 7",
     "UPDATE T SET Activo = ?2, ID = ?3 WHERE ID = ?1\n= 7, 1, 3"},
    {"InsertedValues", "INSERT INTO T (ID, Nombre, Costo, Alta) VALUES (8, 5, '12.5', '31/12/2023')",
     "INSERT INTO T (ID, Nombre, Costo, Alta) VALUES (?1, ?2, ?3, ?4)\n"
     "= 8, '5', '12.5', '2023-12-31 00:00:00'"},
    // A view's triggers read its values: only texts and whole numbers are bound.
    {"AViewTakesTextsAndWholeNumbers", "UPDATE V SET Nombre = 'n', Costo = 1.5, Peso = '2', ID = 3 WHERE ID = 2",
     "UPDATE V SET Nombre = ?2, Costo = 1.5, Peso = 2, ID = ?3 WHERE ID = ?1\n= 2, 'n', 3"},
    {"ListsAndSubQueries",
     "SELECT ID FROM T WHERE Alta IN ('01/01/2024', '02/01/2024') AND ID IN (SELECT ID FROM T WHERE Nombre <> 'k')",
     "SELECT ID FROM T WHERE Alta IN (?1, ?2) AND ID IN (SELECT ID FROM T WHERE Nombre <> ?3 COLLATE SQLSERVER)\n"
     "= '2024-01-01 00:00:00', '2024-01-02 00:00:00', 'k'"},
    {"AProbeAndItsStatementNumberedAcrossTheBatch",
     "IF EXISTS (SELECT 1 FROM T WHERE ID = 1) UPDATE T SET Nombre = 'z' WHERE ID = 1",
     "SELECT 1 AS \"\" FROM T WHERE ID = ?1\n| UPDATE T SET Nombre = ?3 WHERE ID = ?2\n= 1, 1, 'z'"},
    // Numbers SQLite reads its own way are written as they are.
    {"HexadecimalAndOverlongNumbersStayWritten", "SELECT ID FROM T WHERE 0x10 = ID AND ID = 99999999999999999999",
     "SELECT ID FROM T WHERE 0x10 = ID AND ID = 99999999999999999999\n= "},
};

class BoundLiterals : public ::testing::TestWithParam<Case>
{
};

TEST_P(BoundLiterals, AreParametersWhereTheyMeetColumns)
{
    SqlTranslator t = translator();
    EXPECT_EQ(shown(t.translateBound(QString::fromUtf8(GetParam().tsql))), QString::fromUtf8(GetParam().translated));
}

INSTANTIATE_TEST_SUITE_P(Statements, BoundLiterals, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

TEST(BoundLiteralsTest, TextsOfOneShapeShareOneTranslation)
{
    SqlTranslator t = translator();
    bool fromCache = true;
    const BoundTranslation first =
        t.translateBound(QStringLiteral("UPDATE T SET Costo = 10.5 WHERE Nombre = 'a'"), &fromCache);
    EXPECT_FALSE(fromCache);
    const BoundTranslation second =
        t.translateBound(QStringLiteral("UPDATE T SET Costo = 7.25 WHERE Nombre = 'b'"), &fromCache);
    EXPECT_TRUE(fromCache);
    EXPECT_EQ(second.steps, first.steps);
    EXPECT_EQ(shown(second), QStringLiteral("UPDATE T SET Costo = ?2 WHERE Nombre = ?1 COLLATE SQLSERVER\n= 'b', "
                                            "'7.25'"));
    // A literal written out in the translation: another value is another translation.
    const BoundTranslation five = t.translateBound(QStringLiteral("SELECT TOP 5 ID FROM T WHERE ID > 1"));
    const BoundTranslation six = t.translateBound(QStringLiteral("SELECT TOP 6 ID FROM T WHERE ID > 2"), &fromCache);
    EXPECT_FALSE(fromCache);
    EXPECT_NE(six.steps, five.steps);
    EXPECT_EQ(shown(six), QStringLiteral("SELECT ID FROM T WHERE ID > ?1 LIMIT 6\n= 2"));
    // A text literal and a number of the same digits are not one shape (the
    // text column meeting a number is converted to the number's type).
    EXPECT_EQ(shown(t.translateBound(QStringLiteral("SELECT ID FROM T WHERE Nombre = 5"))),
              QStringLiteral("SELECT ID FROM T WHERE tsql_int(Nombre, 32) = ?1\n= 5"));
    EXPECT_EQ(shown(t.translateBound(QStringLiteral("SELECT ID FROM T WHERE Nombre = '5'"))),
              QStringLiteral("SELECT ID FROM T WHERE Nombre = ?1 COLLATE SQLSERVER\n= '5'"));
}

TEST(BoundLiteralsTest, AValueThatDoesNotConvertFailsAsItsLiteralWrittenOutDoes)
{
    for (const char* tsql :
         {"SELECT ID FROM T WHERE Alta = '31/02/2024'", "UPDATE T SET Costo = 'diez' WHERE ID = 1",
          "UPDATE T SET ID = 'x1' WHERE Nombre = 'a'", "UPDATE T SET ID = 2147483648 WHERE Nombre = 'a'",
          "UPDATE T SET ID = '2147483648' WHERE Nombre = 'a'"}) {
        SqlTranslator t = translator();
        // The shape is known from a value that converts.
        t.translateBound(QString::fromUtf8(tsql)
                             .replace(QStringLiteral("31/02"), QStringLiteral("28/02"))
                             .replace(QStringLiteral("'diez'"), QStringLiteral("'10'"))
                             .replace(QStringLiteral("'x1'"), QStringLiteral("'1'"))
                             .replace(QStringLiteral("2147483648"), QStringLiteral("5")));
        platform::ErrorInfo written;
        platform::ErrorInfo bound;
        try {
            SqlTranslator::translateUncached(QString::fromUtf8(tsql), t.catalog());
            ADD_FAILURE() << tsql;
        } catch (const DbError& e) {
            written = e.info();
        }
        bool fromCache = false;
        try {
            t.translateBound(QString::fromUtf8(tsql), &fromCache);
            ADD_FAILURE() << tsql;
        } catch (const DbError& e) {
            bound = e.info();
        }
        EXPECT_TRUE(fromCache) << tsql;
        EXPECT_NE(written.NativeError, 0) << tsql;
        EXPECT_EQ(bound.NativeError, written.NativeError) << tsql;
        EXPECT_EQ(bound.Number, written.Number) << tsql;
        EXPECT_EQ(bound.Description, written.Description) << tsql;
    }
}

} // namespace
