#include "platform/db/Connection.h"

#include "platform/core/Runtime.h"
#include "platform/db/AdoErrors.h"

namespace platform::db {

namespace {

const QString kSource = QStringLiteral("ADODB.Connection");

[[noreturn]] void raise(int32_t number)
{
    raiseAdoError(number, kSource);
}

// Errors keeps only what the program may act on: no informational messages,
// and a broken link always carries native error 11.
std::vector<ErrorInfo> normalised(std::vector<ErrorInfo> entries)
{
    std::vector<ErrorInfo> kept;
    for (ErrorInfo& e : entries) {
        if (e.SQLState.startsWith(QLatin1String("01")))
            continue;
        if (e.SQLState.startsWith(QLatin1String("08")))
            e.NativeError = native::LostLink;
        kept.push_back(std::move(e));
    }
    return kept;
}

ErrorInfo normalised(ErrorInfo info)
{
    if (info.SQLState.startsWith(QLatin1String("08")))
        info.NativeError = native::LostLink;
    return info;
}

} // namespace

Connection::Connection() = default;

Connection::~Connection()
{
    if (m_backend)
        m_backend->close();
}

void Connection::setConnectionString(const QString& text)
{
    if (m_backend)
        raise(adErr::ObjectOpen);
    m_connectionString = text;
}

void Connection::setConnectionTimeout(int seconds)
{
    if (m_backend)
        raise(adErr::ObjectOpen);
    m_connectionTimeout = seconds;
}

void Connection::setCommandTimeout(int seconds)
{
    m_commandTimeout = seconds;
    if (m_backend)
        m_backend->setCommandTimeout(seconds);
}

QString Connection::DefaultDatabase() const
{
    return m_backend ? m_backend->defaultDatabase() : QString();
}

void Connection::setDefaultDatabase(const QString& name)
{
    requireOpen();
    provider(false, [&](Backend& b, std::vector<ErrorInfo>& errors) { b.setDefaultDatabase(name, errors); });
}

QString Connection::Provider() const
{
    const QString p = ConnectionString::parse(m_connectionString).value(QStringLiteral("provider"));
    return p.isEmpty() ? QStringLiteral("MSDASQL") : p;
}

void Connection::providerFailed(std::vector<ErrorInfo> entries, const DbError& error)
{
    m_errors.items() = normalised(std::move(entries));
    throw DbError(normalised(error.info()));
}

void Connection::providerDone(bool clearFirst, std::vector<ErrorInfo> entries)
{
    entries = normalised(std::move(entries));
    if (clearFirst || !entries.empty())
        m_errors.items() = std::move(entries);
}

void Connection::Open(const QString& connectionString, const QString& userId, const QString& password, int options)
{
    (void)options;
    if (m_backend)
        raise(adErr::ObjectOpen);
    m_errors.Clear();
    if (!connectionString.isEmpty())
        m_connectionString = connectionString;

    OpenParams params;
    params.connectionString = m_connectionString;
    // Explicit arguments come first, so they win over the string's own values.
    QString effective = m_connectionString;
    if (!password.isEmpty())
        effective.prepend(QStringLiteral("Pwd={%1};").arg(QString(password).replace(u'}', QStringLiteral("}}"))));
    if (!userId.isEmpty())
        effective.prepend(QStringLiteral("UID={%1};").arg(QString(userId).replace(u'}', QStringLiteral("}}"))));
    // A driver reads a connection text up to its first NUL, so what follows
    // one would be cut off or read as settings of their own.
    if (effective.contains(QChar(u'\0'))) {
        const ErrorInfo info{adErr::BadArgument,
                             QStringLiteral("A connection value holds a NUL character, which no value of a connection "
                                            "may hold: the connection was not opened."),
                             kSource, QStringLiteral("HY024"), 0};
        m_errors.items() = {info};
        throw DbError(info);
    }
    params.parsed = ConnectionString::parse(effective);
    params.connectionTimeout = m_connectionTimeout;
    params.commandTimeout = m_commandTimeout;
    params.programFolder = Runtime::instance().programFolder();

    std::unique_ptr<Backend> backend = createBackend(params.parsed);
    std::vector<ErrorInfo> entries;
    try {
        backend->open(params, entries);
    } catch (const DbError& e) {
        m_errors.items() = normalised(std::move(entries));
        throw DbError(normalised(e.info()));
    }
    m_errors.items() = normalised(std::move(entries));
    m_backend = std::move(backend);
    m_transactionLevel = 0;
}

void Connection::Close()
{
    if (!m_backend)
        raise(adErr::ObjectClosed);
    std::unique_ptr<Backend> backend = std::move(m_backend);
    m_transactionLevel = 0;
    backend->close();
}

int Connection::State() const
{
    return m_backend ? adStateOpen : adStateClosed;
}

std::shared_ptr<Recordset> Connection::Execute(const QString& sql, int64_t* recordsAffected, int options)
{
    (void)options;
    if (!m_backend)
        raise(adErr::ConnectionUnusable);
    ResultSet result;
    provider(true, [&](Backend& b, std::vector<ErrorInfo>& errors) { result = b.execute(sql, errors); });
    if (recordsAffected)
        *recordsAffected = result.recordsAffected;
    return recordsetOf(std::move(result), sql);
}

std::shared_ptr<Recordset> Connection::recordsetOf(ResultSet result, const QString& source)
{
    auto rs = std::make_shared<Recordset>();
    result.rowKeys.clear();
    result.baseTable.clear();
    rs->attach(std::move(result), this, adLockReadOnly, source);
    return rs;
}

int Connection::BeginTrans()
{
    requireOpen();
    provider(false, [](Backend& b, std::vector<ErrorInfo>& errors) { b.beginTransaction(errors); });
    return ++m_transactionLevel;
}

void Connection::CommitTrans()
{
    requireOpen();
    provider(false, [](Backend& b, std::vector<ErrorInfo>& errors) { b.commitTransaction(errors); });
    if (m_transactionLevel > 0)
        --m_transactionLevel;
}

void Connection::RollbackTrans()
{
    requireOpen();
    provider(false, [](Backend& b, std::vector<ErrorInfo>& errors) { b.rollbackTransaction(errors); });
    if (m_transactionLevel > 0)
        --m_transactionLevel;
}

std::shared_ptr<Recordset> Connection::OpenSchema(SchemaEnum schema, const std::vector<Variant>& criteria)
{
    if (!m_backend)
        raise(adErr::ConnectionUnusable);
    ResultSet result;
    provider(false,
             [&](Backend& b, std::vector<ErrorInfo>& errors) { result = b.openSchema(schema, criteria, errors); });
    auto rs = std::make_shared<Recordset>();
    result.hasRows = true;
    result.rowKeys.clear();
    result.baseTable.clear();
    rs->attach(std::move(result), this, adLockReadOnly, QString());
    return rs;
}

Backend& Connection::backend()
{
    requireOpen();
    return *m_backend;
}

void Connection::requireOpen() const
{
    if (!m_backend)
        raise(adErr::ObjectClosed);
}

} // namespace platform::db
