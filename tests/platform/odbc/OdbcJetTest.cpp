// Jet files through the MDB Tools ODBC driver: reading a file each test
// writes, the failures of a file that cannot be read, its password, the
// refusal of every write, and the queries the driver answers as Jet would
// beside those it is never given.
#include "platform/core/Currency.h"
#include "platform/core/DateTime.h"
#include "platform/db/Connection.h"
#include "platform/db/odbc/OdbcInternal.h"

#include "platform/db/DbTestSupport.h"
#include "support/JetFile.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

using namespace platform;
using namespace platform::db;

using dbtest::raised;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

bool mdbToolsInstalled()
{
    SQLHENV env = SQL_NULL_HANDLE;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    const bool found = !odbc::findInstalledDrivers(env).mdbTools.isEmpty();
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return found;
}

QString inTestFolder(const QString& name)
{
    return QDir(testing_support::testFolder()).filePath(name);
}

QString jetString(const QString& file, const QString& provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0"))
{
    return QStringLiteral("PROVIDER=%1;Data Source =%2;User ID=Admin;Password=;").arg(provider, file);
}

class OdbcJet : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!mdbToolsInstalled()) {
            GTEST_SKIP() << "the MDB Tools ODBC driver is not installed";
        }
        m_file = inTestFolder(QStringLiteral("articulos.mdb"));
        testing_support::writeJet4File(m_file, testing_support::articulosJet());
    }

    QString m_file;
};

TEST_F(OdbcJet, BothJetProvidersReadTheFileWithItsTypesAndValues)
{
    for (const char* provider : {"Microsoft.Jet.OLEDB.4.0", "Microsoft.Jet.OLEDB.3.51"}) {
        Connection cn;
        cn.Open(jetString(m_file, QString::fromLatin1(provider)));
        EXPECT_EQ(cn.errors().Count(), 0);
        const auto rs = cn.Execute(QStringLiteral("SELECT Codigo, Descripcion, Stock, Precio, Alta FROM Articulos"));
        ASSERT_EQ(rs->RecordCount(), 3) << provider;
        const DataTypeEnum types[] = {adVarChar, adVarChar, adInteger, adCurrency, adDBTimeStamp};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(rs->Fields(i).Type(), types[i]) << provider << " " << i;
        }
        const std::vector<std::vector<Variant>> expected{
            {Variant("0001"), Variant(u"Café Ñandú"), Variant(12), Variant(Currency::fromUnits(12345678)),
             Variant(DateTime(QDate(2024, 3, 18), QTime(8, 5, 30)))},
            {Variant("0002"), Variant::null(), Variant(-3), Variant(Currency::fromUnits(-5000)),
             Variant(DateTime(QDate(1999, 12, 31)))},
            {Variant("0003"), Variant(u"Azúcar 1 kg"), Variant(0), Variant(Currency::fromUnits(0)), Variant::null()},
        };
        for (const auto& row : expected) {
            ASSERT_FALSE(rs->Eof());
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(rs->Fields(i).Value(), row[std::size_t(i)]) << provider << " " << i;
                EXPECT_EQ(rs->Fields(i).Value().type(), row[std::size_t(i)].type()) << provider << " " << i;
            }
            rs->MoveNext();
        }
    }
}

TEST_F(OdbcJet, ARelativePathIsTakenFromTheProgramFolder)
{
    Connection cn;
    cn.Open(jetString(QStringLiteral("articulos.mdb")));
    const auto rs = cn.Execute(QStringLiteral("SELECT Codigo FROM Articulos WHERE Stock > 0"));
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields(0).Value(), Variant("0001"));
}

TEST_F(OdbcJet, AFileThatCannotBeReadFailsWithTheJetNumber)
{
    QDir(testing_support::testFolder()).mkdir(QStringLiteral("carpeta.mdb"));
    QFile texto(inTestFolder(QStringLiteral("texto.mdb")));
    ASSERT_TRUE(texto.open(QIODevice::WriteOnly));
    texto.write("Esto no es una base de datos de Jet, aunque lo diga su nombre.\n");
    texto.close();
    QFile corta(inTestFolder(QStringLiteral("corta.mdb")));
    ASSERT_TRUE(corta.open(QIODevice::WriteOnly));
    corta.write(contents(m_file).left(100));
    corta.close();
    QDir(testing_support::testFolder()).mkdir(QStringLiteral("con;punto"));
    QFile::copy(m_file, inTestFolder(QStringLiteral("con;punto/a.mdb")));
    struct Case
    {
        QString file;
        const char* state;
    };
    const Case cases[] = {
        {inTestFolder(QStringLiteral("nada.mdb")), "3024"},
        {inTestFolder(QStringLiteral("no/existe/base.mdb")), "3044"},
        {inTestFolder(QStringLiteral("con;punto/a.mdb")), "3044"},
        {inTestFolder(QStringLiteral("carpeta.mdb")), "3051"},
        {inTestFolder(QStringLiteral("texto.mdb")), "3343"},
        {inTestFolder(QStringLiteral("corta.mdb")), "3343"},
    };
    for (const Case& c : cases) {
        Connection cn;
        const ErrorInfo e = raised([&] { cn.Open(jetString(QStringLiteral("{%1}").arg(c.file))); });
        EXPECT_EQ(e.Number, adErr::Generic) << c.file.toStdString();
        EXPECT_EQ(e.SQLState, QString::fromLatin1(c.state)) << c.file.toStdString();
        EXPECT_TRUE(e.Description.contains(c.file)) << e.Description.toStdString();
        ASSERT_EQ(cn.errors().Count(), 1) << c.file.toStdString();
        EXPECT_EQ(cn.errors().Item(0).SQLState, QString::fromLatin1(c.state));
        EXPECT_EQ(cn.State(), adStateClosed);
    }
}

TEST_F(OdbcJet, AProtectedFileOpensOnlyWithItsPassword)
{
    const QString protegida = inTestFolder(QStringLiteral("protegida.mdb"));
    testing_support::writeJet4File(protegida, testing_support::articulosJet(), QStringLiteral("Secreto1"));
    struct Case
    {
        const char* clause;
        bool opens;
    };
    const Case cases[] = {
        {"", false},
        {"Jet OLEDB:Database Password=;", false},
        {"Jet OLEDB:Database Password=secreto1;", false},
        {"Jet OLEDB:Database Password=Secreto;", false},
        {" Jet OLEDB:Database Password=Secreto1;", true},
        {"Jet OLEDB:Database Password={Secreto1};", true},
    };
    for (const Case& c : cases) {
        Connection cn;
        const QString text = jetString(protegida) + QString::fromLatin1(c.clause);
        if (c.opens) {
            cn.Open(text);
            EXPECT_EQ(cn.Execute(QStringLiteral("SELECT Codigo FROM Articulos"))->RecordCount(), 3);
            continue;
        }
        const ErrorInfo e = raised([&] { cn.Open(text); });
        EXPECT_EQ(e.SQLState, u"3031") << c.clause;
        EXPECT_EQ(e.Description, u"Not a valid password.");
        ASSERT_EQ(cn.errors().Count(), 1);
        EXPECT_EQ(cn.errors().Item(0).SQLState, u"3031");
    }
    // A file without a password opens whatever password is given.
    Connection libre;
    libre.Open(jetString(m_file) + QStringLiteral("Jet OLEDB:Database Password=cualquiera;"));
    EXPECT_EQ(libre.State(), adStateOpen);
}

TEST_F(OdbcJet, AJet3FileIsCheckedForItsPassword)
{
    const QString viejo = inTestFolder(QStringLiteral("viejo.mdb"));
    testing_support::writeJet3Header(viejo, QStringLiteral("clave97"));
    const QString text = jetString(viejo, QStringLiteral("Microsoft.Jet.OLEDB.3.51"));
    for (const char* clause : {"", "Jet OLEDB:Database Password=clave;", "Jet OLEDB:Database Password=CLAVE97;"}) {
        Connection cn;
        EXPECT_EQ(raised([&] { cn.Open(text + QString::fromLatin1(clause)); }).SQLState, u"3031") << clause;
    }
    Connection cn;
    cn.Open(text + QStringLiteral("Jet OLEDB:Database Password=clave97;"));
    EXPECT_EQ(cn.State(), adStateOpen);
}

TEST_F(OdbcJet, EveryWriteIsRefusedAndNothingIsWritten)
{
    const QByteArray before = contents(m_file);
    Connection cn;
    cn.Open(jetString(m_file));
    const char* writes[] = {
        "UPDATE Articulos SET Stock = 1",
        "INSERT INTO Articulos (Codigo) VALUES ('0004')",
        "DELETE FROM Articulos",
        "SELECT * INTO Copia FROM Articulos",
        "SELECT Codigo FROM Articulos; DELETE FROM Articulos",
        "CREATE TABLE Nueva (a INTEGER)",
        "DROP TABLE Articulos",
        "EXEC Borrar",
        "  -- una nota\n  update Articulos set Stock = 2",
    };
    for (const char* sql : writes) {
        const ErrorInfo e = raised([&] { cn.Execute(QString::fromLatin1(sql)); });
        EXPECT_EQ(e.Number, int32_t(0x80040E09)) << sql;
        EXPECT_EQ(e.SQLState, u"3027") << sql;
        EXPECT_EQ(
            e.Description,
            QStringLiteral("Cannot update: the Jet file '%1' is open for reading only.").arg(QDir::cleanPath(m_file)))
            << sql;
        ASSERT_EQ(cn.errors().Count(), 1) << sql;
        EXPECT_EQ(cn.errors().Item(0).SQLState, u"3027");
    }
    // Through a record set that asked to write back: it reads, and refuses the write.
    Recordset rs;
    rs.Open(QStringLiteral("SELECT Codigo, Stock FROM Articulos"), &cn, adOpenKeyset, adLockOptimistic);
    ASSERT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(rs.Fields(0).Value(), Variant("0001"));
    for (const std::function<void()>& write : std::vector<std::function<void()>>{
             [&] { rs.AddNew(); },
             [&] { rs.Fields(1).setValue(Variant(5)); },
             [&] { rs.Delete(); },
         }) {
        const ErrorInfo e = raised(write);
        EXPECT_EQ(e.SQLState, u"3027");
        EXPECT_TRUE(e.Description.contains(QStringLiteral("open for reading only")));
        EXPECT_EQ(cn.errors().Count(), 1);
    }
    EXPECT_EQ(cn.Execute(QStringLiteral("SELECT Stock FROM Articulos WHERE Codigo = '0001'"))->Fields(0).Value(),
              Variant(12));
    // A transaction reads as any other connection does.
    cn.BeginTrans();
    EXPECT_EQ(raised([&] { cn.Execute(QStringLiteral("DELETE FROM Articulos")); }).SQLState, u"3027");
    cn.RollbackTrans();
    cn.Close();
    EXPECT_EQ(contents(m_file), before);
}

TEST_F(OdbcJet, TheCatalogueListsTheTable)
{
    Connection cn;
    cn.Open(jetString(m_file));
    const auto tables = cn.OpenSchema(adSchemaTables, {Variant(), Variant(), Variant("Articulos")});
    ASSERT_EQ(tables->RecordCount(), 1);
    EXPECT_EQ(tables->Fields(QStringLiteral("TABLE_NAME")).Value(), Variant("Articulos"));
}

// Articles stored out of the order of their codes, with Nulls, capitals and
// accents, a text of more than 255 bytes in UTF-8 and a column named with a
// letter beyond A to Z.
testing_support::JetTable consultasJet()
{
    using testing_support::JetType;
    testing_support::JetTable t;
    t.name = QStringLiteral("Articulos");
    t.columns = {
        {QStringLiteral("Codigo"), JetType::Text, 10},    {QStringLiteral("Descripcion"), JetType::Text, 40},
        {QStringLiteral("Notas"), JetType::Text, 200},    {QStringLiteral("Stock"), JetType::LongInteger},
        {QStringLiteral("Precio"), JetType::Money},       {QStringLiteral("Alta"), JetType::DateTime},
        {QString::fromUtf8("AÑO"), JetType::LongInteger},
    };
    const Variant null = Variant::null();
    t.rows = {
        {Variant("0003"), Variant(u"Azúcar 1 kg"), null, Variant(0), Variant(Currency::fromUnits(0)), null,
         Variant(2023)},
        {Variant("0001"), Variant(u"Café Ñandú"), Variant(QString(90, QChar(0x20AC)) + QStringLiteral("123")),
         Variant(12), Variant(Currency::fromUnits(12345678)), Variant(DateTime(QDate(2024, 3, 18), QTime(8, 5, 30))),
         Variant(2024)},
        {Variant("0002"), null, Variant("12"), Variant(-3), Variant(Currency::fromUnits(-5000)),
         Variant(DateTime(QDate(1999, 12, 31))), Variant(1999)},
        {Variant("0004"), Variant(u"CAFÉ MOLIDO"), null, Variant(5), Variant(Currency::fromUnits(100000)),
         Variant(DateTime(QDate(2024, 1, 5))), Variant(2024)},
        {Variant("0005"), Variant("-"), null, null, null, Variant(DateTime(QDate(2024, 1, 5), QTime(12, 0))), null},
    };
    return t;
}

class OdbcJetQueries : public OdbcJet
{
protected:
    void SetUp() override
    {
        OdbcJet::SetUp();
        if (IsSkipped()) {
            return;
        }
        const QString file = inTestFolder(QStringLiteral("consultas.mdb"));
        testing_support::writeJet4File(file, consultasJet());
        m_cn.Open(jetString(file));
    }

    // The texts of the first column of every row the query returns.
    QStringList firstColumn(const QString& sql)
    {
        QStringList out;
        const auto rs = m_cn.Execute(sql);
        for (; !rs->Eof(); rs->MoveNext()) {
            out << rs->Fields(0).Value().toText();
        }
        return out;
    }

    struct Refusal
    {
        const char* sql;
        const char* description;
        int32_t number = adErr::Syntax;
        int jetNumber = 3251;
    };

    void expectRefused(const Refusal& r)
    {
        const QString sql = QString::fromUtf8(r.sql);
        const ErrorInfo e = raised([&] { m_cn.Execute(sql); });
        EXPECT_EQ(e.Description, QString::fromUtf8(r.description)) << r.sql;
        EXPECT_EQ(e.Number, r.number) << r.sql;
        EXPECT_EQ(e.Source, u"Microsoft JET Database Engine") << r.sql;
        EXPECT_EQ(e.SQLState, QString::number(r.jetNumber)) << r.sql;
        EXPECT_EQ(e.NativeError, r.jetNumber) << r.sql;
        ASSERT_EQ(m_cn.errors().Count(), 1) << r.sql;
        EXPECT_EQ(m_cn.errors().Item(0).Description, e.Description) << r.sql;
    }

    Connection m_cn;
};

TEST_F(OdbcJetQueries, WhatTheDriverAnswersAsJetDoesIsRead)
{
    struct Case
    {
        const char* sql;
        QStringList rows;
    };
    const QString all = QStringLiteral("0003 0001 0002 0004 0005");
    const Case cases[] = {
        {"SELECT Codigo FROM Articulos", all.split(u' ')},
        {"SELECT * FROM Articulos WHERE Codigo = '0001'", {"0001"}},
        {"SELECT [Codigo] FROM [Articulos] WHERE [Stock] > 0", {"0001", "0004"}},
        {"select codigo from articulos where STOCK >= 5", {"0001", "0004"}},
        {"SELECT Codigo FROM Articulos WHERE 0 > Stock", {"0002"}},
        {"SELECT Codigo FROM Articulos WHERE Stock = 12 OR Stock = -3", {"0001", "0002"}},
        {"SELECT Codigo FROM Articulos WHERE Codigo = '0002' AND Stock < 0 OR Stock > 10", {"0001", "0002"}},
        {"SELECT Codigo FROM Articulos WHERE NOT Stock <= 0", {"0001", "0004"}},
        {"SELECT Codigo FROM Articulos WHERE NOT NOT Stock > 0 AND NOT Codigo <> '0004'", {"0004"}},
        {"SELECT Codigo FROM Articulos WHERE Descripcion <> ''", {"0003", "0001", "0004", "0005"}},
        {"SELECT Codigo FROM Articulos WHERE Descripcion = '-'", {"0005"}},
        {"SELECT Codigo FROM Articulos WHERE Descripcion ILIKE 'caf%'", {"0001", "0004"}},
        {"SELECT Codigo FROM Articulos WHERE Descripcion ILIKE 'CAFÉ ñandú'", {"0001"}},
        {"SELECT Codigo FROM Articulos WHERE Descripcion ILIKE '%1 KG'", {"0003"}},
        {"SELECT Codigo FROM Articulos WHERE Codigo LIKE '000%'", all.split(u' ')},
        {"SELECT Codigo FROM Articulos WHERE Notas LIKE '€€%'", {"0001"}},
        {"SELECT Codigo FROM Articulos WHERE Notas = '12'", {"0002"}},
        {"SELECT Codigo FROM Articulos WHERE [AÑO] = 2024", {"0001", "0004"}},
        {"SELECT Codigo FROM Articulos WHERE 1 = 0", {}},
        {"SELECT TOP 2 Codigo FROM Articulos", {"0003", "0001"}},
        {"SELECT Codigo FROM Articulos WHERE Stock > 0 LIMIT 1", {"0001"}},
        {"SELECT COUNT(*) FROM Articulos", {"5"}},
        {"SELECT Name FROM MSysObjects WHERE Type = 1", {"MSysObjects", "Articulos"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firstColumn(QString::fromUtf8(c.sql)), c.rows) << c.sql;
        EXPECT_EQ(m_cn.errors().Count(), 0) << c.sql;
    }
    // The driver counts a name in UTF-8 bytes; the field's name ends where the name does.
    EXPECT_EQ(m_cn.Execute(QString::fromUtf8("SELECT [AÑO] FROM Articulos"))->Fields(0).Name(),
              QString::fromUtf8("AÑO"));
}

// Each of these the driver answered without an error and with other rows
// than Jet's (or, the last two, with no result and by ending the program).
TEST_F(OdbcJetQueries, WhatTheDriverWouldAnswerOtherwiseIsRefused)
{
    const Refusal cases[] = {
        {"SELECT Codigo FROM Articulos WHERE Descripcion IS NULL",
         "The Jet file reader cannot evaluate IS NULL: the MDB Tools driver matches no row with it."},
        {"SELECT Codigo FROM Articulos WHERE Stock > 0 OR Alta IS NOT NULL",
         "The Jet file reader cannot evaluate IS NOT NULL: the MDB Tools driver matches no row with it."},
        {"SELECT Codigo FROM Articulos WHERE Precio > 0",
         "The Jet file reader cannot evaluate a condition on the Currency column Precio: the MDB Tools driver lets "
         "every row pass it."},
        {"SELECT Codigo FROM Articulos WHERE Alta < '2024-01-01'",
         "The Jet file reader cannot evaluate a condition on the Date/Time column Alta: the MDB Tools driver does not "
         "compare dates."},
        {"SELECT Codigo FROM Articulos WHERE Nada = 1",
         "No value given for one or more required parameters: the table 'Articulos' has no column 'Nada'.",
         int32_t(0x80040E10), 3061},
        {"SELECT Codigo FROM Articulos WHERE [Año] = 2024",
         "The Jet file reader cannot evaluate the name [Año]: the MDB Tools driver finds a column by the case of its "
         "letters beyond A to Z, and this one is AÑO."},
        {"SELECT Codigo FROM Articulos WHERE Stock = '12'", "Data type mismatch in criteria expression: Stock = '12'.",
         adErr::TypeMismatch, 3464},
        {"SELECT Codigo FROM Articulos WHERE Codigo = 1", "Data type mismatch in criteria expression: Codigo = 1.",
         adErr::TypeMismatch, 3464},
        {"SELECT Codigo FROM Articulos WHERE Stock = 5.9",
         "The Jet file reader cannot evaluate Stock = 5.9: the MDB Tools driver compares a whole-number column only "
         "with whole numbers from -2147483648 to 2147483647, written without leading zeros."},
        {"SELECT Codigo FROM Articulos WHERE Stock < 3000000000",
         "The Jet file reader cannot evaluate Stock < 3000000000: the MDB Tools driver compares a whole-number column "
         "only with whole numbers from -2147483648 to 2147483647, written without leading zeros."},
        {"SELECT Codigo FROM Articulos WHERE Stock > 010",
         "The Jet file reader cannot evaluate Stock > 010: the MDB Tools driver compares a whole-number column only "
         "with whole numbers from -2147483648 to 2147483647, written without leading zeros."},
        {"SELECT Codigo FROM Articulos WHERE Stock <= 0",
         "The Jet file reader cannot evaluate Stock <= 0: the MDB Tools driver reads a Null in Stock as 0, so the rows "
         "where it is Null would pass."},
        {"SELECT Codigo FROM Articulos WHERE Codigo = '0001' OR NOT Stock > 0",
         "The Jet file reader cannot evaluate NOT Stock > 0: the MDB Tools driver reads a Null in Stock as 0, so the "
         "rows where it is Null would pass."},
        {"SELECT Codigo FROM Articulos WHERE Descripcion = ''",
         "The Jet file reader cannot evaluate Descripcion = '': the MDB Tools driver reads a Null in Descripcion as an "
         "empty text, so the rows where it is Null would pass."},
        {"SELECT Codigo FROM Articulos WHERE Descripcion ILIKE '%'",
         "The Jet file reader cannot evaluate Descripcion ILIKE '%': the MDB Tools driver reads a Null in Descripcion "
         "as an empty text, so the rows where it is Null would pass."},
        {"SELECT Codigo FROM Articulos WHERE Descripcion = 'café ñandú'",
         "The Jet file reader cannot evaluate Descripcion = 'café ñandú': the MDB Tools driver tells capitals from "
         "small letters, which Jet does not; its ILIKE does not either."},
        {"SELECT Codigo FROM Articulos WHERE Descripcion > 'B'",
         "The Jet file reader cannot evaluate Descripcion > 'B': the MDB Tools driver orders texts by this machine's "
         "locale, not as Jet does."},
        {"SELECT Codigo FROM Articulos WHERE Descripcion LIKE 'Caf%'",
         "The Jet file reader cannot evaluate Descripcion LIKE 'Caf%': the MDB Tools driver's LIKE tells capitals "
         "from small letters, which Jet's does not; its ILIKE does not."},
        {"SELECT Codigo FROM Articulos WHERE Descripcion ILIKE 'caf_ %'",
         "The Jet file reader cannot evaluate Descripcion ILIKE 'caf_ %': the MDB Tools driver's _ stands for one "
         "byte, not for one character."},
        {"SELECT Codigo FROM Articulos WHERE Descripcion ILIKE '[c]%'",
         "The Jet file reader cannot evaluate Descripcion ILIKE '[c]%': the MDB Tools driver knows no lists of "
         "characters between [ and ]."},
        {"SELECT Codigo FROM Articulos WHERE Notas LIKE '%123'",
         "The Jet file reader cannot evaluate Notas LIKE '%123': the MDB Tools driver matches only the first 255 "
         "bytes of a text, and Notas may hold longer ones."},
        {"SELECT Codigo FROM Articulos WHERE 1 = 1.5",
         "The Jet file reader cannot evaluate 1 = 1.5: the MDB Tools driver compares two constants as Jet does only "
         "when both are whole numbers."},
        {"SELECT TOP 30 PERCENT Codigo FROM Articulos",
         "The Jet file reader cannot evaluate TOP n PERCENT: the MDB Tools driver rounds the share of rows down, "
         "where Jet rounds it up."},
        {"SELECT COUNT(*) FROM Articulos WHERE Stock > 0",
         "The Jet file reader cannot evaluate COUNT(*) with a WHERE condition: the MDB Tools driver returns no result "
         "for it."},
        {"SELECT Codigo, COUNT(*) FROM Articulos",
         "The Jet file reader cannot evaluate COUNT(*) beside other columns: the MDB Tools driver reads only SELECT "
         "[TOP n] columns or COUNT(*) FROM one table [WHERE comparisons of a column with a constant, joined by AND, "
         "OR and NOT]."},
    };
    for (const Refusal& r : cases) {
        expectRefused(r);
    }
}

// The driver refuses each of these with "Couldn't parse SQL" alone; the
// refusal names the construct instead.
TEST_F(OdbcJetQueries, WhatTheDriverCannotRunIsNamed)
{
    const QString subset = QStringLiteral(
        ": the MDB Tools driver reads only SELECT [TOP n] columns or COUNT(*) FROM one table [WHERE comparisons of a "
        "column with a constant, joined by AND, OR and NOT].");
    struct Case
    {
        const char* sql;
        const char* construct;
    };
    const Case cases[] = {
        {"SELECT Codigo FROM Articulos ORDER BY Codigo", "ORDER BY"},
        {"SELECT Stock FROM Articulos GROUP BY Stock", "GROUP BY"},
        {"SELECT DISTINCT Stock FROM Articulos", "DISTINCT"},
        {"SELECT a.Codigo FROM Articulos a INNER JOIN Articulos b ON a.Codigo = b.Codigo",
         "the name a.Codigo, with a table or an owner"},
        {"SELECT Codigo FROM Articulos INNER JOIN Articulos ON Codigo = Codigo", "a join"},
        {"SELECT Codigo AS c FROM Articulos", "an alias"},
        {"SELECT Codigo FROM Articulos a", "an alias"},
        {"SELECT SUM(Stock) FROM Articulos", "SUM(Stock)"},
        {"SELECT Stock + 1 FROM Articulos", "an expression"},
        {"SELECT Codigo FROM Articulos WHERE Stock IN (12, 5)", "IN (12, 5)"},
        {"SELECT Codigo FROM Articulos WHERE Stock BETWEEN 0 AND 10", "BETWEEN"},
        {"SELECT Codigo FROM Articulos WHERE Descripcion NOT LIKE 'x%'", "NOT LIKE"},
        {"SELECT Codigo FROM Articulos WHERE NOT (Stock > 0)", "parentheses"},
        {"SELECT Codigo FROM Articulos WHERE Codigo = (SELECT Codigo FROM Articulos)", "a sub-query"},
        {"SELECT Codigo FROM Articulos WHERE Codigo != '0001'", "'!='"},
        {"SELECT Codigo FROM Articulos WHERE Alta = #2024-01-05#", "a date between #"},
        {"SELECT Codigo FROM Articulos WHERE Codigo = 'it''s'", "a text that holds an apostrophe"},
        {"SELECT Codigo FROM Articulos WHERE Codigo = '0001' -- nota", "a comment"},
        {"SELECT Codigo FROM Articulos, Articulos", "several tables"},
        {"SELECT Codigo FROM Articulos WHERE", "an unfinished statement"},
    };
    for (const Case& c : cases) {
        expectRefused({c.sql, qPrintable(QStringLiteral("The Jet file reader cannot evaluate %1%2")
                                             .arg(QString::fromUtf8(c.construct), subset))});
    }
    expectRefused({"SELECT Codigo FROM Articulos; SELECT Stock FROM Articulos",
                   "The Jet file reader cannot evaluate a second statement: the MDB Tools driver reads one statement, "
                   "without a ';'."});
    expectRefused({"SELECT Nada FROM Articulos",
                   "No value given for one or more required parameters: the table 'Articulos' has no column 'Nada'.",
                   int32_t(0x80040E10), 3061});
    expectRefused({"SELECT Codigo FROM Nada",
                   "The Microsoft Jet database engine cannot find the input table or query 'Nada'.  Make sure it "
                   "exists and that its name is spelled correctly.",
                   adErr::NoSuchObject, 3078});
}

// A statement outside the driver's SQL that the check does not name: the
// driver's own message, which says only that it could not parse it, comes
// with the statement and under the Jet number, not under its SQLSTATE of
// no meaning.
TEST_F(OdbcJetQueries, TheDriversOwnRefusalCarriesTheStatement)
{
    expectRefused({"SELECT AÑO FROM Articulos",
                   "The MDB Tools driver cannot run the statement \"SELECT AÑO FROM Articulos\": Couldn't parse SQL."});
}

TEST(JetStatements, OnlyASelectWithoutIntoReads)
{
    struct Case
    {
        const char* sql;
        bool reads;
    };
    const Case cases[] = {
        {"SELECT * FROM Articulos", true},
        {"  select Codigo from Articulos where Descripcion = 'into; delete from x'", true},
        {"(SELECT 1)", true},
        {"-- nota\nSELECT 1 /* into */", true},
        {"SELECT [into], \"into\" FROM t;", true},
        {"SELECT 1; SELECT 2", true},
        {"SELECT * INTO x FROM t", false},
        {"SELECT 1; DROP TABLE t", false},
        {"UPDATE t SET a = 1", false},
        {"EXEC p", false},
        {"{call p}", false},
        {"'SELECT'", false},
        {"SELECTED", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(odbc::onlyReads(QString::fromLatin1(c.sql)), c.reads) << c.sql;
    }
}

} // namespace
