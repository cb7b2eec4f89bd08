#include "common/MensajeError.h"

#include "platform/core/Runtime.h"
#include "platform/db/Types.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using common::MensajeError;
using platform::ErrObject;
namespace mb = platform::msgbox;

namespace {

class MensajeErrorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); });
        tmp = testing_support::testFolder() + QStringLiteral("/tmp");
        temp = testing_support::testFolder() + QStringLiteral("/temp");
        fallback = testing_support::testFolder() + QStringLiteral("/fallback");
        for (const QString& f : {tmp, temp, fallback}) {
            QDir().mkpath(f);
        }
        qputenv("TEMP", temp.toUtf8());
        qputenv("TMP", tmp.toUtf8());
        savedTmpDir = qgetenv("TMPDIR");
        qputenv("TMPDIR", fallback.toUtf8());
    }
    void TearDown() override { qputenv("TMPDIR", savedTmpDir); }

    static QByteArray logOf(const QString& folder)
    {
        QFile f(folder + QStringLiteral("/BKERR.LOG"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString tmp, temp, fallback;
    QByteArray savedTmpDir;
};

} // namespace

TEST_F(MensajeErrorTest, EachAnswerIsReturnedAndLogged)
{
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(mb::Retry).answerMsgBox(mb::Ignore).answerMsgBox(mb::Abort);
    const ErrObject error(3709, QStringLiteral("  La conexión no se puede usar  "), QStringLiteral("ADODB.Recordset"));
    EXPECT_EQ(MensajeError(error, std::nullopt, QStringLiteral("Cfg")), mb::Retry);
    EXPECT_EQ(MensajeError(error, std::nullopt, QStringLiteral("GActualizarDatoScript")), mb::Ignore);
    EXPECT_EQ(MensajeError(error), mb::Abort);

    ASSERT_EQ(op.asked().size(), 3);
    EXPECT_EQ(op.asked()[0].prompt,
              QStringLiteral("Ha ocurrido el Siguiente Error (3709) La conexión no se puede usar"));
    EXPECT_EQ(op.asked()[0].style, 18);
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("ADODB.Recordset - Cfg Aviso al operador!!! - 2 "));
    EXPECT_EQ(op.asked()[2].title, QStringLiteral("ADODB.Recordset Aviso al operador!!! - 2 "));

    EXPECT_EQ(logOf(tmp),
              QByteArray("03-05-2024 14:07:09 Rutina: - Cfg Mensaje Ha ocurrido el Siguiente Error (3709) "
                         "La conexi\xc3\xb3n no se puede usar Respondio : Reintentar\r\n"
                         "03-05-2024 14:07:09 Rutina: - GActualizarDatoScript Mensaje Ha ocurrido el "
                         "Siguiente Error (3709) La conexi\xc3\xb3n no se puede usar Respondio : Ignorar\r\n"
                         "03-05-2024 14:07:09 Rutina:  Mensaje Ha ocurrido el Siguiente Error (3709) La "
                         "conexi\xc3\xb3n no se puede usar Respondio : Abortar\r\n"));
    EXPECT_TRUE(logOf(temp).isEmpty());
}

TEST_F(MensajeErrorTest, AnswerWordsAndGivenButtons)
{
    auto& op = testing_support::scriptedOperator();
    const struct
    {
        int answer;
        const char* word;
    } cases[] = {{mb::Cancel, "Cancelar"}, {mb::Yes, "Si"}, {mb::No, "No"}, {mb::OK, ""}};
    QByteArray expected;
    for (const auto& c : cases) {
        op.answerMsgBox(c.answer);
        EXPECT_EQ(
            MensajeError(ErrObject(5, QStringLiteral("x"), QStringLiteral("S")), mb::YesNoCancel, QStringLiteral("R")),
            c.answer);
        expected += QByteArray("03-05-2024 14:07:09 Rutina: - R Mensaje Ha ocurrido el Siguiente Error (5) x "
                               "Respondio : ") +
                    c.word + "\r\n";
    }
    EXPECT_EQ(op.asked().last().style, int(mb::YesNoCancel));
    EXPECT_EQ(logOf(tmp), expected);
}

TEST_F(MensajeErrorTest, ProviderErrorShowsItsNegativeNumber)
{
    testing_support::scriptedOperator().answerMsgBox(mb::Abort, QStringLiteral("(-2147467259) "));
    EXPECT_EQ(MensajeError(ErrObject(platform::db::adErr::Generic, QStringLiteral("[DBNETLIB] No existe el servidor"),
                                     QStringLiteral("Microsoft OLE DB Provider for SQL Server")),
                           std::nullopt, QStringLiteral("DatosBase")),
              mb::Abort);
    EXPECT_EQ(logOf(tmp), QByteArray("03-05-2024 14:07:09 Rutina: - DatosBase Mensaje Ha ocurrido el Siguiente Error "
                                     "(-2147467259) [DBNETLIB] No existe el servidor Respondio : Abortar\r\n"));
}

TEST_F(MensajeErrorTest, LineBreaksOfTheDescriptionBecomeBlanks)
{
    testing_support::scriptedOperator().answerMsgBox(mb::Ignore);
    MensajeError(ErrObject(-2147217900, QStringLiteral("Línea 1\r\nLínea 2\nLínea 3\r\n"), QStringLiteral("P")),
                 std::nullopt, QStringLiteral("Cfg"));
    EXPECT_EQ(logOf(tmp),
              QByteArray("03-05-2024 14:07:09 Rutina: - Cfg Mensaje Ha ocurrido el Siguiente Error "
                         "(-2147217900) L\xc3\xadnea 1 L\xc3\xadnea 2 L\xc3\xadnea 3 Respondio : Ignorar\r\n"));
    // The dialog itself keeps the line breaks.
    EXPECT_TRUE(testing_support::scriptedOperator().asked()[0].prompt.contains(QStringLiteral("1\r\nL")));
}

TEST_F(MensajeErrorTest, FolderRules)
{
    auto& op = testing_support::scriptedOperator();
    const ErrObject error(7, QStringLiteral("Memoria insuficiente"), QStringLiteral("S"));

    // TEMP empty: TMP is not looked at, the fall-back folder takes the line.
    qputenv("TEMP", "");
    op.answerMsgBox(mb::Retry);
    MensajeError(error);
    EXPECT_FALSE(logOf(fallback).isEmpty());
    EXPECT_TRUE(logOf(tmp).isEmpty());

    // TEMP set and TMP blank: the fall-back folder too.
    qputenv("TEMP", temp.toUtf8());
    qputenv("TMP", "   ");
    QFile::remove(fallback + QStringLiteral("/BKERR.LOG"));
    op.answerMsgBox(mb::Retry);
    MensajeError(error);
    EXPECT_FALSE(logOf(fallback).isEmpty());

    // TMP with its own slash and blanks around it.
    qputenv("TMP", (u' ' + tmp + QStringLiteral("/ ")).toUtf8());
    op.answerMsgBox(mb::Retry);
    MensajeError(error);
    EXPECT_EQ(common::ArchivoBkErr(), tmp + QStringLiteral("/BKERR.LOG"));
    EXPECT_EQ(logOf(tmp), QByteArray("03-05-2024 14:07:09 Rutina:  Mensaje Ha ocurrido el Siguiente Error (7) Memoria "
                                     "insuficiente Respondio : Reintentar\r\n"));
}

TEST_F(MensajeErrorTest, ErrorNumberZeroShowsAndWritesNothing)
{
    EXPECT_EQ(
        MensajeError(ErrObject(0, QStringLiteral("nada"), QStringLiteral("S")), std::nullopt, QStringLiteral("Cfg")),
        0);
    EXPECT_TRUE(testing_support::scriptedOperator().asked().isEmpty());
    EXPECT_TRUE(logOf(tmp).isEmpty());
}

TEST_F(MensajeErrorTest, AnUnwritableLogStillAsks)
{
    qputenv("TMP", (testing_support::testFolder() + QStringLiteral("/no/existe")).toUtf8());
    testing_support::scriptedOperator().answerMsgBox(mb::Ignore);
    EXPECT_EQ(MensajeError(ErrObject(9, QStringLiteral("x"), QStringLiteral("S"))), mb::Ignore);
}
