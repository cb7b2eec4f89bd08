// Jet files through the MDB Tools ODBC driver: reading a file each test
// writes, the failures of a file that cannot be read, its password, and the
// refusal of every write.
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
