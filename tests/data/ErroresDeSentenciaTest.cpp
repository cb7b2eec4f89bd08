// A statement that fails is reported once through the error dialog, whether
// the provider's number is a statement error or the lost link's generic one.
#include "BaseDePrueba.h"

#include "data/DB_Dll.h"
#include "support/EmbeddedFixture.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using data::DB_Dll;
namespace msgbox = platform::msgbox;

namespace {

const QString kSqliteDriver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");

TEST(ErroresDeSentencia, AnInvalidColumnThroughOdbcGivesOneErrorDialogAndReturns)
{
    if (!QFileInfo::exists(kSqliteDriver))
        GTEST_SKIP() << "the SQLite ODBC driver is not installed";
    testing_support::EmbeddedFixture server;
    const QString file = server.createDatabase(
        QStringLiteral("odbc"), QStringLiteral("CREATE TABLE ARTICULOS (CODIGO varchar(15), NOMBRE varchar(40));"
                                               "INSERT INTO ARTICULOS VALUES ('0001', 'Yerba');"));
    DB_Dll& db = data::gDbPrincipal();
    db.gConnString = QStringLiteral("Driver=%1;Database=%2").arg(kSqliteDriver, file);
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::Abort, QStringLiteral("no such column: NADA"));

    data::RecordsetPtr rs;
    db.AbrirRecordset(QStringLiteral("SELECT NADA FROM ARTICULOS"), rs);

    EXPECT_EQ(rs->State(), platform::db::adStateClosed);
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].style, msgbox::AbortRetryIgnore | msgbox::Critical);
    EXPECT_TRUE(op.asked()[0].title.endsWith(QStringLiteral(" - AbrirRecordset"))) << op.asked()[0].title.toStdString();
    // The link is sound: the next statement runs.
    db.AbrirRecordset(QStringLiteral("SELECT CODIGO FROM ARTICULOS"), rs);
    ASSERT_EQ(rs->State(), platform::db::adStateOpen);
    EXPECT_EQ(rs->RecordCount(), 1);
}

TEST(ErroresDeSentencia, AStatementFailingAgainRightAfterASilentReconnectGoesToTheErrorDialog)
{
    data_tests::BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    // Every statement fails as a lost link does, while reconnecting succeeds.
    base.registro().fallarSentencias = 1000;
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::Abort, QStringLiteral("General network error."));

    data::RecordsetPtr rs;
    db.AbrirRecordset(QStringLiteral("SELECT * FROM ARTICULOS"), rs);

    EXPECT_EQ(rs->State(), platform::db::adStateClosed);
    EXPECT_EQ(base.tomarLlamadas(), QStringList(2, QStringLiteral("SELECT * FROM ARTICULOS")));
    EXPECT_EQ(op.asked().size(), 1);
}

} // namespace
