// Opening a Jet file through OpenLocalADODB: the file dialog, the connection
// string it builds and keeps, a file chosen again, the password questions,
// and the refusal of writes, each question answered by the scripted operator.
#include "data/DB_Dll.h"

#include "platform/core/Operator.h"
#include "support/JetFile.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using data::DB_Dll;
using platform::Variant;
using testing_support::ScriptedOperator;
namespace msgbox = platform::msgbox;

namespace {

const QString kTituloArchivo = QStringLiteral("Buscar Base de Datos");
const QString kFiltro = QStringLiteral("Base de Datos de Microsoft Access |*.MDB");

QString enCarpeta(const QString& nombre)
{
    return QDir(testing_support::testFolder()).filePath(nombre);
}

class AperturaJet : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_base = enCarpeta(QStringLiteral("articulos.mdb"));
        testing_support::writeJet4File(m_base, testing_support::articulosJet());
        m_protegida = enCarpeta(QStringLiteral("protegida.mdb"));
        testing_support::writeJet4File(m_protegida, testing_support::articulosJet(), QStringLiteral("Secreto1"));
        m_db.gProveedor = m_db.pJETOLEDB40();
        m_db.gUsuario = QStringLiteral("Admin");
    }

    void abrir() { m_db.OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Password")); }

    // The connection string OpenLocalADODB builds for `archivo`, before any password clause.
    QString cadena(const QString& archivo, const QString& password = {}) const
    {
        return QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =%1;User ID=Admin;Password=%2;")
            .arg(archivo, password);
    }

    int64_t filas() { return m_db.gCnn->Execute(QStringLiteral("SELECT Codigo FROM Articulos"))->RecordCount(); }

    ScriptedOperator& op() { return testing_support::scriptedOperator(); }

    QString m_base;
    QString m_protegida;
    DB_Dll m_db;
};

TEST_F(AperturaJet, WithoutAFileNameTheDialogChoosesItAndTheStringIsKept)
{
    op().answerOpenFile(m_base);
    m_db.gExtended = QStringLiteral("Mode=Read;");
    abrir();
    ASSERT_EQ(op().asked().size(), 1);
    EXPECT_EQ(op().asked()[0].kind, ScriptedOperator::Kind::OpenFile);
    EXPECT_EQ(op().asked()[0].title, kTituloArchivo);
    EXPECT_EQ(op().asked()[0].filter, kFiltro);
    EXPECT_EQ(m_db.gDBName, m_base);
    EXPECT_EQ(m_db.gConnString, cadena(m_base) + QStringLiteral("Mode=Read;"));
    EXPECT_EQ(filas(), 3);
}

TEST_F(AperturaJet, TheJet35ProviderOpensTheFileToo)
{
    m_db.gProveedor = m_db.pJETOLEDB35();
    m_db.gDBName = m_base;
    abrir();
    EXPECT_TRUE(op().asked().isEmpty());
    EXPECT_EQ(m_db.gConnString,
              QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.3.51;Data Source =%1;User ID=Admin;Password=;").arg(m_base));
    EXPECT_EQ(filas(), 3);
}

TEST_F(AperturaJet, AFileThatCannotBeOpenedIsChosenAgain)
{
    QDir(testing_support::testFolder()).mkdir(QStringLiteral("carpeta"));
    const QString casos[] = {
        enCarpeta(QStringLiteral("falta.mdb")),          // 3024
        enCarpeta(QStringLiteral("no/existe/base.mdb")), // 3044
        enCarpeta(QStringLiteral("carpeta")),            // 3051
    };
    for (const QString& archivo : casos) {
        DB_Dll db;
        db.gProveedor = db.pJETOLEDB40();
        db.gUsuario = QStringLiteral("Admin");
        db.gDBName = archivo;
        op().answerOpenFile(m_base);
        db.OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Password"));
        EXPECT_EQ(db.gDBName, m_base) << archivo.toStdString();
        EXPECT_EQ(db.gConnString, cadena(m_base)) << archivo.toStdString();
        EXPECT_EQ(db.gCnn->State(), platform::db::adStateOpen) << archivo.toStdString();
    }
    ASSERT_EQ(op().asked().size(), 3);
    for (const auto& pregunta : op().asked()) {
        EXPECT_EQ(pregunta.kind, ScriptedOperator::Kind::OpenFile);
        EXPECT_EQ(pregunta.title, kTituloArchivo);
        EXPECT_EQ(pregunta.filter, kFiltro);
    }
}

TEST_F(AperturaJet, CancellingTheChoiceAgainLeavesNoConnection)
{
    m_db.gDBName = enCarpeta(QStringLiteral("falta.mdb"));
    op().answerOpenFile(std::nullopt);
    abrir();
    EXPECT_EQ(op().asked().size(), 1);
    EXPECT_EQ(m_db.gCnn->State(), platform::db::adStateClosed);
    EXPECT_TRUE(m_db.gConnString.isEmpty());
}

TEST_F(AperturaJet, TheStoredPasswordOpensAProtectedFileWhenAllowed)
{
    m_db.gDBName = m_protegida;
    m_db.gUserPassWord = QStringLiteral("Secreto1");
    m_db.gIgnoraPassWord = Variant(true);
    abrir();
    EXPECT_TRUE(op().asked().isEmpty());
    EXPECT_EQ(m_db.gConnString, cadena(m_protegida, QStringLiteral("Secreto1")) +
                                    QStringLiteral("Jet OLEDB:Database Password=Secreto1;"));
    EXPECT_EQ(filas(), 3);
}

TEST_F(AperturaJet, AWrongStoredPasswordIsReportedOnce)
{
    m_db.gDBName = m_protegida;
    m_db.gUserPassWord = QStringLiteral("otra");
    m_db.gIgnoraPassWord = Variant("True");
    op().answerMsgBox(msgbox::OK, QStringLiteral("Not a valid password."));
    abrir();
    ASSERT_EQ(op().asked().size(), 1);
    EXPECT_EQ(op().asked()[0].prompt, QStringLiteral("-2147467259  Not a valid password."));
    EXPECT_EQ(op().asked()[0].style, msgbox::Critical);
    EXPECT_EQ(m_db.gCnn->State(), platform::db::adStateClosed);
    EXPECT_TRUE(m_db.gConnString.isEmpty());
}

TEST_F(AperturaJet, OtherwiseThePasswordIsAskedUntilItOpensTheFile)
{
    m_db.gDBName = m_protegida;
    op().answerInput(QStringLiteral("secreto1"), QStringLiteral("ingrese el password:"));
    op().answerInput(QStringLiteral("Secreto1"), QStringLiteral("ingrese el password:"));
    abrir();
    ASSERT_EQ(op().asked().size(), 2);
    for (const auto& pregunta : op().asked()) {
        EXPECT_EQ(pregunta.kind, ScriptedOperator::Kind::InputBox);
        EXPECT_EQ(pregunta.prompt, QStringLiteral("ingrese el password:"));
        EXPECT_EQ(pregunta.title, QStringLiteral("Password Access"));
    }
    EXPECT_EQ(m_db.gConnString, cadena(m_protegida) + QStringLiteral(" Jet OLEDB:Database Password=Secreto1;"));
    EXPECT_EQ(filas(), 3);
}

TEST_F(AperturaJet, CancellingThePasswordLeavesNoConnection)
{
    m_db.gDBName = m_protegida;
    op().answerInput(std::nullopt, QStringLiteral("ingrese el password:"));
    abrir();
    EXPECT_EQ(op().asked().size(), 1);
    EXPECT_EQ(m_db.gCnn->State(), platform::db::adStateClosed);
    EXPECT_TRUE(m_db.gConnString.isEmpty());
}

TEST_F(AperturaJet, AWriteFailsClearlyAndLeavesTheFileAsItWas)
{
    QFile archivo(m_base);
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    const QByteArray antes = archivo.readAll();
    archivo.close();
    DB_Dll& db = data::gDbPrincipal();
    db.gProveedor = db.pJETOLEDB40();
    db.gDBName = m_base;
    db.OpenLocalADODB();
    ASSERT_EQ(db.gCnn->State(), platform::db::adStateOpen);
    QString sentencia = QStringLiteral("UPDATE Articulos SET Stock = 0 WHERE Codigo = '0001'");
    int64_t filasAfectadas = 0;
    EXPECT_FALSE(db.EjecutaConsultaSQL(sentencia, filasAfectadas));
    ASSERT_TRUE(db.UltimoFallo.has_value());
    EXPECT_EQ(db.UltimoFallo->error.Number, int32_t(0x80040E09));
    EXPECT_EQ(db.UltimoFallo->error.Description,
              QStringLiteral("Cannot update: the Jet file '%1' is open for reading only.").arg(m_base));
    // Not a lost link: no question and no reconnection.
    EXPECT_TRUE(op().asked().isEmpty());
    EXPECT_EQ(db.gCnn->State(), platform::db::adStateOpen);
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(archivo.readAll(), antes);
}

} // namespace
