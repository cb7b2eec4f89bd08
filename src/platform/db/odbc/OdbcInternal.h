#pragma once

// Pieces of the ODBC backend shared by its files; nothing outside
// src/platform/db/odbc/ includes this header.

#include "platform/db/Backend.h"

#include <sql.h>
#include <sqlext.h>

#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace platform::db::odbc {

// ---- Connection strings -------------------------------------------------

// The ODBC drivers that the connection strings can name.
struct InstalledDrivers
{
    // What Driver= names for SQL Server: the FreeTDS library's path, or the
    // name it is registered under; empty when FreeTDS is not installed.
    QString freeTds;
    // True when some registered driver is an Oracle one.
    bool oracle = false;
    // What Driver= names for Jet files: the MDB Tools library's path, or the
    // name it is registered under; empty when MDB Tools is not installed.
    QString mdbTools;
};

// Looks for FreeTDS, MDB Tools and an Oracle driver on this machine.
InstalledDrivers findInstalledDrivers(SQLHENV env);

enum class Target { SqlServer, Oracle, Jet, Odbc };

// What SQLDriverConnect receives for one connection string.
struct ConnectPlan
{
    Target target = Target::Odbc;
    QString odbcString;
    // Seconds from the string's Connect Timeout; -1 when it has none.
    int loginTimeout = -1;
    // The name entries of the Errors collection carry as Source.
    QString source;
    // Jet: the file (absolute) and the data-base password the string gives.
    QString jetFile;
    QString jetPassword;
};

// Builds the ODBC string for an OLE DB connection string: SQLOLEDB becomes a
// DSN-less FreeTDS string, OraOLEDB an Oracle data source, a Jet provider the
// MDB Tools driver on the file of Data Source (a relative path taken from
// `programFolder`), MSDASQL (or a string with Driver= or DSN=) goes to ODBC
// as given without the OLE DB keys. Every value this builds is brace-quoted,
// except the Jet file, which MDB Tools reads up to the next ";" (see
// checkJetFile). Raises DbError for a provider it does not serve and for a
// driver that is not installed.
ConnectPlan planConnection(const ConnectionString& parsed, const QString& text, const InstalledDrivers& drivers,
                           const QString& programFolder = {});

// "{value}" with each "}" doubled, so that no character of the value can
// end it or start another attribute.
QString braceQuoted(const QString& value);

// ---- Types --------------------------------------------------------------

// A result column as the driver describes it.
struct SqlColumn
{
    SQLSMALLINT sqlType = SQL_UNKNOWN_TYPE;
    SQLULEN size = 0;
    SQLSMALLINT scale = 0;
    QString typeName; // the data base's own type name, when the driver gives it
};

// ADO's field type code for a column.
DataTypeEnum adoTypeOf(const SqlColumn& column);

// Reads one value of the current row (columns are read left to right).
// Returns the driver's result; `value` is Null for a NULL.
SQLRETURN readValue(SQLHSTMT stmt, SQLUSMALLINT index, const SqlColumn& column, DataTypeEnum adoType, Variant& value);

// Parameters of one statement, with the buffers the driver reads at execution.
class Parameters
{
public:
    // Binds values[i] to marker i + 1; returns the first failing result.
    SQLRETURN bind(SQLHSTMT stmt, const std::vector<Variant>& values);

private:
    struct Slot
    {
        std::u16string text;
        QByteArray bytes;
        int64_t integer = 0;
        double real = 0;
        unsigned char bit = 0;
        SQL_TIMESTAMP_STRUCT timestamp{};
        SQLLEN indicator = 0;
    };
    std::deque<Slot> m_slots; // a deque keeps every slot at its address
};

// The value of an exact number read as text: a whole number when it has no
// decimals and fits, the fixed-point Currency when it has at most four (money
// always), else a double.
Variant exactNumber(const QString& text, DataTypeEnum adoType, int scale);

// ---- Diagnostics --------------------------------------------------------

// One diagnostic record as an entry of the Errors collection, with the SQL
// Server provider's number for its SQLSTATE (42xxx 0x80040E14, 42S02
// 0x80040E37, 22xxx 0x80040E07, 23xxx 0x80040E2F, 28xxx 0x80040E4D, HYT00
// 0x80040E31, any other of a statement 0x80040E14) and native error 11 for a
// broken link (class 08, 0x80004005); nullopt for an informational record
// (class 01, "changed database context"). `stripVendor` removes the
// "[vendor][driver]" prefixes from the message; `fromStatement` tells a
// statement's record from one of the connection or the driver manager.
std::optional<ErrorInfo> diagnosticEntry(const QString& sqlState, int32_t nativeError, QString message,
                                         const QString& source, bool stripVendor, bool fromStatement);

// ---- Jet files ----------------------------------------------------------
// MDB Tools reports no diagnostics of its own when it cannot open a file, so
// the file is examined first and each failure carries the Jet engine's
// number as its SQLSTATE, as the Jet provider reports it.

namespace jet {
constexpr int kFileNotFound = 3024;
constexpr int kReadOnly = 3027;
constexpr int kInvalidPassword = 3031;
constexpr int kInvalidPath = 3044;
constexpr int kCannotOpen = 3051;
constexpr int kTooFewParameters = 3061;
constexpr int kNoSuchTable = 3078;
constexpr int kNotSupported = 3251;
constexpr int kUnrecognizedFormat = 3343;
constexpr int kTypeMismatch = 3464;
} // namespace jet

// The Errors entry of a Jet failure: ADO's generic number, the Jet number as
// SQLSTATE and native error.
ErrorInfo jetError(int jetNumber, const QString& description);

// Checks that `path` is a Jet 3 or Jet 4 file that the driver can be given
// and can read, and that `password` is its data-base password (any password
// opens a file without one); returns the file's Jet version, 3 or 4. Raises
// DbError with the Jet failure otherwise, its entry appended to `errors`.
int checkJetFile(const QString& path, const QString& password, std::vector<ErrorInfo>& errors);

// The failure of a file that passed checkJetFile and that the driver still
// could not open: MDB Tools says nothing of why.
ErrorInfo jetUnreadableError(const QString& path);

// Whether every statement of `sql` only reads: a SELECT without INTO.
bool onlyReads(const QString& sql);

// A column of a Jet table, as the check of a query needs it.
struct JetColumn
{
    QString name;
    DataTypeEnum type = adVarWChar;
    // The longest text a text column holds, in characters.
    int64_t characters = 0;
};

// The columns of the table a query names as written ("Articulos",
// "[Articulos]"); nullopt when the file has no such table.
using JetColumnsOf = std::function<std::optional<std::vector<JetColumn>>(const QString& table)>;

// Checks a query before the MDB Tools driver is given it. The driver's SQL is
// its own subset (SELECT [TOP n] columns or COUNT(*) FROM one table [WHERE
// comparisons joined by AND, OR and NOT] [LIMIT n]) and answers some of it
// otherwise than Jet would, without an error; every statement outside what it
// answers as Jet does is refused here, with an entry that names the
// construct, appended to `errors` and raised as DbError.
void checkJetQuery(const QString& sql, const JetColumnsOf& columnsOf, std::vector<ErrorInfo>& errors);

// The failure of a query that the driver refused: its own message, which
// says nothing of where, with the statement.
ErrorInfo jetDriverError(const QString& sql, const QString& message);

// The failure of a write on the Jet file `path`, which is open for reading only.
ErrorInfo jetReadOnlyError(const QString& path);

// Text from the driver's UTF-16.
inline QString fromSqlW(const SQLWCHAR* text, qsizetype length)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), length);
}

} // namespace platform::db::odbc
