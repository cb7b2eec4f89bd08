#include "platform/db/odbc/OdbcInternal.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <array>

namespace platform::db::odbc {

namespace {

// ADO's number for a provider that is not installed.
constexpr int32_t kProviderNotFound = 3706;

const QString kSqlServerSource = QStringLiteral("Microsoft OLE DB Provider for SQL Server");
const QString kOracleSource = QStringLiteral("OraOLEDB");
const QString kOdbcSource = QStringLiteral("Microsoft OLE DB Provider for ODBC Drivers");
const QString kJetSource = QStringLiteral("Microsoft JET Database Engine");

// Where Debian and most distributions put the FreeTDS ODBC library.
constexpr std::array kFreeTdsPaths{
    "/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so",
    "/usr/lib/aarch64-linux-gnu/odbc/libtdsodbc.so",
    "/usr/lib/odbc/libtdsodbc.so",
    "/usr/lib64/libtdsodbc.so",
    "/usr/local/lib/libtdsodbc.so",
    "/usr/lib/libtdsodbc.so",
};

// Where Debian and most distributions put the MDB Tools ODBC library. Its
// UTF-16 variant (libmdbodbcW) lacks the catalogue functions and the type
// names that tell money apart; through the driver manager the plain one
// reads texts in UTF-8 whole.
constexpr std::array kMdbToolsPaths{
    "/usr/lib/x86_64-linux-gnu/odbc/libmdbodbc.so",
    "/usr/lib/aarch64-linux-gnu/odbc/libmdbodbc.so",
    "/usr/lib/odbc/libmdbodbc.so",
    "/usr/local/lib/odbc/libmdbodbc.so",
};

int timeoutSeconds(const ConnectionString& parsed)
{
    const QString text = parsed.first({"connect timeout", "connection timeout"}).trimmed();
    bool ok = false;
    const int seconds = text.toInt(&ok);
    return ok && seconds >= 0 ? seconds : -1;
}

// The segments of a connection string ("key=value"), split at the ";"
// that are not inside {braces} or "quotes".
QStringList segments(const QString& text)
{
    QStringList out;
    QString current;
    QChar close;
    bool afterEquals = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (!close.isNull()) {
            current += ch;
            if (ch == close) {
                if (i + 1 < text.size() && text[i + 1] == close) {
                    current += close;
                    ++i;
                } else {
                    close = QChar();
                }
            }
            continue;
        }
        if (ch == u';') {
            out << current;
            current.clear();
            afterEquals = false;
            continue;
        }
        if (ch == u'=' && !afterEquals) {
            afterEquals = true;
            current += ch;
            // A value that starts with a quoting mark runs to its closing mark.
            qsizetype j = i + 1;
            while (j < text.size() && text[j].isSpace()) {
                current += text[j++];
            }
            if (j < text.size() && (text[j] == u'{' || text[j] == u'"')) {
                close = text[j] == u'{' ? QChar(u'}') : QChar(u'"');
                current += text[j++];
            }
            i = j - 1;
            continue;
        }
        current += ch;
    }
    out << current;
    return out;
}

QString segmentKey(const QString& segment)
{
    return segment.section(u'=', 0, 0).trimmed().toLower();
}

// "host", "host\instance", "host:port" or "host,port".
struct ServerName
{
    QString host;
    QString port;
};

ServerName splitServer(const QString& server)
{
    ServerName out;
    QString text = server.trimmed();
    const qsizetype comma = text.lastIndexOf(u',');
    qsizetype colon = text.lastIndexOf(u':');
    if (comma >= 0) {
        out.port = text.mid(comma + 1).trimmed();
        text = text.left(comma).trimmed();
    } else if (colon >= 0) {
        out.port = text.mid(colon + 1).trimmed();
        text = text.left(colon).trimmed();
    }
    if (!out.port.isEmpty()) {
        // A port names the listener directly; an instance name before it is not needed.
        const qsizetype slash = text.indexOf(u'\\');
        if (slash >= 0) {
            text = text.left(slash);
        }
        bool ok = false;
        const int number = out.port.toInt(&ok);
        if (!ok || number <= 0 || number > 65535) {
            throw DbError(ErrorInfo{
                adErr::Generic, QStringLiteral("Invalid port \"%1\" in the server name \"%2\".").arg(out.port, server),
                kSqlServerSource, QStringLiteral("08001"), 0});
        }
    }
    out.host = text;
    return out;
}

ConnectPlan sqlServerPlan(const ConnectionString& parsed, const InstalledDrivers& drivers)
{
    if (drivers.freeTds.isEmpty()) {
        throw DbError(ErrorInfo{kProviderNotFound,
                                QStringLiteral("The FreeTDS ODBC driver, through which SQL Server is reached, is "
                                               "not installed."),
                                kSqlServerSource,
                                {},
                                0});
    }
    const ServerName server = splitServer(parsed.first({"server", "data source", "address", "addr"}));
    ConnectPlan plan;
    plan.target = Target::SqlServer;
    plan.source = kSqlServerSource;
    plan.loginTimeout = timeoutSeconds(parsed);
    QString s = QStringLiteral("Driver=") + braceQuoted(drivers.freeTds);
    s += QStringLiteral(";Server=") + braceQuoted(server.host);
    if (!server.port.isEmpty()) {
        s += QStringLiteral(";Port=") + server.port;
    }
    const QString database = parsed.first({"database", "initial catalog"});
    if (!database.isEmpty()) {
        s += QStringLiteral(";Database=") + braceQuoted(database);
    }
    s += QStringLiteral(";UID=") + braceQuoted(parsed.first({"uid", "user id", "user"}));
    s += QStringLiteral(";PWD=") + braceQuoted(parsed.first({"pwd", "password"}));
    s += QStringLiteral(";ClientCharset=UTF-8;TDS_Version=7.4;");
    plan.odbcString = s;
    return plan;
}

ConnectPlan oraclePlan(const ConnectionString& parsed, const InstalledDrivers& drivers)
{
    const QString dataSource = parsed.first({"data source", "dsn"});
    if (!drivers.oracle) {
        throw DbError(ErrorInfo{kProviderNotFound,
                                QStringLiteral("No Oracle ODBC driver is installed on this computer, so the Oracle "
                                               "data source \"%1\" cannot be opened.")
                                    .arg(dataSource),
                                kOracleSource,
                                {},
                                0});
    }
    ConnectPlan plan;
    plan.target = Target::Oracle;
    plan.source = kOracleSource;
    plan.loginTimeout = timeoutSeconds(parsed);
    plan.odbcString = QStringLiteral("DSN=") + braceQuoted(dataSource) + QStringLiteral(";UID=") +
                      braceQuoted(parsed.first({"user id", "uid", "user"})) + QStringLiteral(";PWD=") +
                      braceQuoted(parsed.first({"password", "pwd"})) + u';';
    return plan;
}

ConnectPlan jetPlan(const ConnectionString& parsed, const InstalledDrivers& drivers, const QString& programFolder)
{
    if (drivers.mdbTools.isEmpty()) {
        throw DbError(ErrorInfo{kProviderNotFound,
                                QStringLiteral("The MDB Tools ODBC driver (Debian's odbc-mdbtools), through which Jet "
                                               "files are read, is not installed."),
                                kJetSource,
                                {},
                                0});
    }
    QString file = parsed.first({"data source", "dbq"});
    if (!file.isEmpty() && QDir::isRelativePath(file) && !programFolder.isEmpty()) {
        file = QDir(programFolder).filePath(file);
    }
    if (!file.isEmpty()) {
        file = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    }
    ConnectPlan plan;
    plan.target = Target::Jet;
    plan.source = kJetSource;
    plan.jetFile = file;
    plan.jetPassword = parsed.value(QStringLiteral("jet oledb:database password"));
    plan.odbcString = QStringLiteral("Driver=") + braceQuoted(drivers.mdbTools) + QStringLiteral(";DBQ=") + file + u';';
    return plan;
}

ConnectPlan odbcPlan(const ConnectionString& parsed, const QString& text)
{
    ConnectPlan plan;
    plan.target = Target::Odbc;
    plan.source = kOdbcSource;
    plan.loginTimeout = timeoutSeconds(parsed);
    // The OLE DB keys mean nothing to an ODBC driver; the time-out becomes an attribute.
    QStringList kept;
    for (const QString& segment : segments(text)) {
        const QString key = segmentKey(segment);
        if (segment.trimmed().isEmpty() || key == u"provider" || key == u"connect timeout" ||
            key == u"connection timeout") {
            continue;
        }
        kept << segment;
    }
    plan.odbcString = kept.join(u';');
    return plan;
}

} // namespace

QString braceQuoted(const QString& value)
{
    QString out = value;
    out.replace(u'}', QStringLiteral("}}"));
    return u'{' + out + u'}';
}

InstalledDrivers findInstalledDrivers(SQLHENV env)
{
    InstalledDrivers found;
    for (const char* path : kFreeTdsPaths) {
        if (QFileInfo::exists(QString::fromLatin1(path))) {
            found.freeTds = QString::fromLatin1(path);
            break;
        }
    }
    for (const char* path : kMdbToolsPaths) {
        if (QFileInfo::exists(QString::fromLatin1(path))) {
            found.mdbTools = QString::fromLatin1(path);
            break;
        }
    }
    SQLWCHAR description[256];
    SQLWCHAR attributes[1024];
    SQLSMALLINT descriptionLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (
        SQL_SUCCEEDED(SQLDriversW(env, direction, description, SQLSMALLINT(std::size(description)), &descriptionLength,
                                  attributes, SQLSMALLINT(std::size(attributes)), &attributesLength))) {
        direction = SQL_FETCH_NEXT;
        const QString name = fromSqlW(description, qMin<qsizetype>(descriptionLength, std::size(description) - 1));
        if (found.freeTds.isEmpty() && name.contains(QStringLiteral("FreeTDS"), Qt::CaseInsensitive)) {
            found.freeTds = name;
        }
        if (found.mdbTools.isEmpty() && name.contains(QStringLiteral("MDBTools"), Qt::CaseInsensitive)) {
            found.mdbTools = name;
        }
        if (name.contains(QStringLiteral("Oracle"), Qt::CaseInsensitive)) {
            found.oracle = true;
        }
    }
    return found;
}

ConnectPlan planConnection(const ConnectionString& parsed, const QString& text, const InstalledDrivers& drivers,
                           const QString& programFolder)
{
    const QString provider = parsed.value(QStringLiteral("provider")).trimmed().toLower();
    if (provider.startsWith(u"oraoledb")) {
        return oraclePlan(parsed, drivers);
    }
    if (provider.startsWith(u"microsoft.jet.oledb")) {
        return jetPlan(parsed, drivers, programFolder);
    }
    if (provider.startsWith(u"sqloledb")) {
        return sqlServerPlan(parsed, drivers);
    }
    if (provider.startsWith(u"msdasql") ||
        (provider.isEmpty() && (parsed.has(QStringLiteral("driver")) || parsed.has(QStringLiteral("dsn"))))) {
        return odbcPlan(parsed, text);
    }
    throw DbError(ErrorInfo{kProviderNotFound,
                            QStringLiteral("Provider cannot be found. It may not be properly installed."),
                            QStringLiteral("ADODB.Connection"),
                            {},
                            0});
}

} // namespace platform::db::odbc
