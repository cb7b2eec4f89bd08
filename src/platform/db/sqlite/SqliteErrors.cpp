#include "platform/db/sqlite/SqliteBackendInternal.h"

#include "platform/db/sqlite/SqlServerErrors.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace platform::db::sqlite {

namespace backend {

const QString kProvider = QStringLiteral("Microsoft OLE DB Provider for SQL Server");

ErrorInfo entry(int32_t number, const QString& description, const QString& sqlState, int32_t nativeError)
{
    return ErrorInfo{number, description, kProvider, sqlState, nativeError};
}

[[noreturn]] void raise(std::vector<ErrorInfo>& errors, ErrorInfo info)
{
    errors.push_back(info);
    throw DbError(std::move(info));
}

QString firstWord(const QString& sql)
{
    static const QRegularExpression word(QStringLiteral(R"(^\s*([A-Za-z]+))"));
    return word.match(sql).captured(1).toUpper();
}

namespace {

QString withoutMain(QString name)
{
    if (name.startsWith(QLatin1String("main."), Qt::CaseInsensitive))
        name.remove(0, 5);
    return name;
}

} // namespace

// SQLite's description of a failure in SQL Server's terms: the native
// number and SQLSTATE the program reads, and ADO's error number.
ErrorInfo translateError(int rc, int extended, const QString& message, const QString& statementSql,
                         const QString& database, bool timedOut)
{
    const QString verb = firstWord(statementSql);
    const int primary = rc & 0xff;
    if (primary == SQLITE_INTERRUPT && timedOut)
        return entry(adErr::Timeout, QStringLiteral("Query timeout expired"), QStringLiteral("HYT00"), 0);
    if (primary == SQLITE_CONSTRAINT) {
        const QString detail = message.section(u':', 1).trimmed();
        switch (extended) {
        case SQLITE_CONSTRAINT_PRIMARYKEY:
        case SQLITE_CONSTRAINT_UNIQUE: {
            const QString table = detail.section(u'.', 0, 0);
            const QString kind =
                extended == SQLITE_CONSTRAINT_PRIMARYKEY ? QStringLiteral("PRIMARY KEY") : QStringLiteral("UNIQUE KEY");
            return entry(adErr::Constraint,
                         QStringLiteral("Violation of %1 constraint (%2). Cannot insert duplicate key in object "
                                        "'dbo.%3'.")
                             .arg(kind, detail, table),
                         QStringLiteral("23000"), native::DuplicateKey);
        }
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            return entry(adErr::Constraint,
                         QStringLiteral("The %1 statement conflicted with the %2 constraint. The conflict occurred in "
                                        "database \"%3\".")
                             .arg(verb.isEmpty() ? QStringLiteral("INSERT") : verb,
                                  verb == u"DELETE" ? QStringLiteral("REFERENCE") : QStringLiteral("FOREIGN KEY"),
                                  database),
                         QStringLiteral("23000"), native::ConstraintConflict);
        case SQLITE_CONSTRAINT_NOTNULL: {
            const QString table = detail.section(u'.', 0, 0);
            const QString column = detail.section(u'.', 1);
            return entry(adErr::Constraint,
                         QStringLiteral("Cannot insert the value NULL into column '%1', table '%2.dbo.%3'; column "
                                        "does not allow nulls. %4 fails.")
                             .arg(column, database, table, verb.isEmpty() ? QStringLiteral("INSERT") : verb),
                         QStringLiteral("23000"), native::NullNotAllowed);
        }
        case SQLITE_CONSTRAINT_CHECK:
            // The embedded schemas name the length check of a text column maxlen_<column>.
            if (detail.startsWith(QLatin1String("maxlen_"), Qt::CaseInsensitive))
                return entry(adErr::DataOverflow, QStringLiteral("String or binary data would be truncated."),
                             QStringLiteral("22001"), native::TextTooLong);
            // ... and the number check of a money column numeric_<column>.
            if (detail.startsWith(QLatin1String("numeric_"), Qt::CaseInsensitive))
                return entry(adErr::TypeMismatch,
                             QStringLiteral("Cannot convert a char value to money. The char value has incorrect "
                                            "syntax."),
                             QStringLiteral("22018"), native::CannotConvertToMoney);
            return entry(adErr::Constraint,
                         QStringLiteral("The %1 statement conflicted with the CHECK constraint \"%2\". The conflict "
                                        "occurred in database \"%3\".")
                             .arg(verb.isEmpty() ? QStringLiteral("INSERT") : verb, detail, database),
                         QStringLiteral("23000"), native::ConstraintConflict);
        default:
            return entry(adErr::Constraint, message, QStringLiteral("23000"), native::ConstraintConflict);
        }
    }
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return entry(adErr::Timeout, QStringLiteral("Lock request time out period exceeded."), QStringLiteral("HYT00"),
                     1222);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return entry(
            adErr::Generic,
            QStringLiteral("The data base \"%1\" is damaged or is not a data base (%2).").arg(database, message),
            QStringLiteral("HY000"), 0);
    case SQLITE_READONLY:
        return entry(
            adErr::Syntax,
            QStringLiteral("Failed to update database \"%1\" because the database is read-only.").arg(database),
            QStringLiteral("25000"), 3906);
    case SQLITE_TOOBIG:
        return entry(adErr::DataOverflow, QStringLiteral("String or binary data would be truncated."),
                     QStringLiteral("22001"), native::TextTooLong);
    case SQLITE_MISMATCH:
        return entry(adErr::Syntax, QStringLiteral("Conversion failed: %1.").arg(message), QStringLiteral("22018"),
                     245);
    case SQLITE_ERROR:
        break;
    default:
        return entry(adErr::Generic, message, QStringLiteral("HY000"), 0);
    }

    // The engine's own functions fail with SQL Server's messages.
    if (const ServerError* own = serverErrorOf(message))
        return entry(own->number, message, QString::fromLatin1(own->sqlState), own->native);
    if (message == u"parser stack overflow" || message.startsWith(QLatin1String("Expression tree is too large"))) {
        const ServerError& deep = serverError::NestedTooDeeply;
        return entry(deep.number, serverMessage(deep), QString::fromLatin1(deep.sqlState), deep.native);
    }
    static const QRegularExpression noColumn(QStringLiteral(R"(^no such column: (.+)$)"));
    static const QRegularExpression noTable(QStringLiteral(R"(^no such (?:table|view): (.+)$)"));
    static const QRegularExpression noFunction(QStringLiteral(R"(^no such function: (.+)$)"));
    static const QRegularExpression ambiguous(QStringLiteral(R"(^ambiguous column name: (.+)$)"));
    static const QRegularExpression exists(QStringLiteral(R"(^(?:table|view|index) (.+) already exists$)"));
    static const QRegularExpression unclosed(QStringLiteral(R"re(^unrecognized token: "'(.*)"$)re"));
    static const QRegularExpression near(QStringLiteral(R"re(^near "(.*)": syntax error$)re"));
    QRegularExpressionMatch m;
    if ((m = noColumn.match(message)).hasMatch())
        return entry(adErr::Syntax, QStringLiteral("Invalid column name '%1'.").arg(m.captured(1)),
                     QStringLiteral("42S22"), native::InvalidColumn);
    if ((m = noTable.match(message)).hasMatch())
        return entry(adErr::NoSuchObject, QStringLiteral("Invalid object name '%1'.").arg(withoutMain(m.captured(1))),
                     QStringLiteral("42S02"), native::InvalidObject);
    if ((m = noFunction.match(message)).hasMatch())
        return entry(adErr::Syntax,
                     QStringLiteral("'%1' is not a recognized built-in function name.").arg(m.captured(1)),
                     QStringLiteral("42000"), 195);
    if ((m = ambiguous.match(message)).hasMatch())
        return entry(adErr::Syntax, QStringLiteral("Ambiguous column name '%1'.").arg(m.captured(1)),
                     QStringLiteral("42000"), 209);
    if ((m = exists.match(message)).hasMatch())
        return entry(adErr::Syntax,
                     QStringLiteral("There is already an object named '%1' in the database.").arg(m.captured(1)),
                     QStringLiteral("42S01"), 2714);
    if ((m = unclosed.match(message)).hasMatch())
        return entry(adErr::Syntax,
                     QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(m.captured(1)),
                     QStringLiteral("42000"), 105);
    if ((m = near.match(message)).hasMatch())
        return entry(adErr::Syntax, QStringLiteral("Incorrect syntax near '%1'.").arg(m.captured(1)),
                     QStringLiteral("42000"), 102);
    if (message == u"incomplete input")
        return entry(adErr::Syntax, QStringLiteral("Incorrect syntax near the end of the statement."),
                     QStringLiteral("42000"), 102);
    return entry(adErr::Syntax, message, QStringLiteral("42000"), 0);
}

} // namespace backend

using backend::raise;
using backend::translateError;

void SqliteBackend::fail(int rc, const QString& statementSql, std::vector<ErrorInfo>& errors)
{
    sqlite3* handle = m_db.get();
    ErrorInfo info = translateError(rc, handle ? sqlite3_extended_errcode(handle) : rc,
                                    QString::fromUtf8(handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc)),
                                    statementSql, m_database, m_timedOut);
    // SQLite may end the transaction itself after some failures.
    if (handle && m_transactionDepth > 0 && sqlite3_get_autocommit(handle))
        m_transactionDepth = 0;
    raise(errors, std::move(info));
}

} // namespace platform::db::sqlite
