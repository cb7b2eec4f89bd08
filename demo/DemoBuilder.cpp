#include "demo/DemoBuilder.h"

#include "platform/db/sqlite/SqliteExtensions.h"
#include "platform/util/Dll_Utilidades.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace demo {

QString storedPassword(const QString& plain)
{
    // The users table keeps passwords as the utility object enciphers them.
    return platform::Dll_Utilidades::shared().Encriptar(plain);
}

QString demoPasswordStored()
{
    return storedPassword(QString::fromLatin1(kDemoPassword));
}

namespace {

// ---------------------------------------------------------------------------
// A small generator of our own (SplitMix64), so that a seed gives the same data
// on every platform and library.
class Generator
{
public:
    explicit Generator(uint64_t seed) : m_state(seed) {}

    uint64_t next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }

private:
    uint64_t m_state;
};

// ---------------------------------------------------------------------------
// Calendar: milliseconds since 1970-01-01 00:00:00, civil dates without time zones.
constexpr int64_t kMsPerMinute = 60000;
constexpr int64_t kMsPerDay = 86400000;

int64_t daysFromCivil(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<int64_t>(era) * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = static_cast<int>(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(yoe + era * 400) + (m <= 2 ? 1 : 0);
}

int64_t msAt(int y, int m, int d, int hh, int mm, int ss, int ms)
{
    return daysFromCivil(y, m, d) * kMsPerDay + ((hh * 60 + mm) * 60 + ss) * 1000LL + ms;
}

// "yyyy-mm-dd hh:mm" of the known changes.
int64_t parseMinute(const char* text)
{
    int y = 0, m = 0, d = 0, hh = 0, mm = 0;
    if (std::sscanf(text, "%d-%d-%d %d:%d", &y, &m, &d, &hh, &mm) != 5)
        throw std::logic_error(std::string("bad minute ") + text);
    return msAt(y, m, d, hh, mm, 0, 0);
}

// The one storage form of date-times: "yyyy-mm-dd hh:mm:ss", ".fff" only when
// the milliseconds are not zero.
void formatDateTime(int64_t ms, char (&out)[64])
{
    const int64_t days = ms / kMsPerDay;
    int64_t rest = ms % kMsPerDay;
    int y = 0, m = 0, d = 0;
    civilFromDays(days, y, m, d);
    const int millis = static_cast<int>(rest % 1000);
    rest /= 1000;
    const int ss = static_cast<int>(rest % 60);
    const int mm = static_cast<int>(rest / 60 % 60);
    const int hh = static_cast<int>(rest / 3600);
    if (millis != 0)
        std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d.%03d", y, m, d, hh, mm, ss, millis);
    else
        std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, hh, mm, ss);
}

// Monday to Saturday between two dates (inclusive), as day numbers.
std::vector<int64_t> businessDays(int64_t first, int64_t last)
{
    std::vector<int64_t> days;
    for (int64_t day = first; day <= last; ++day)
        if ((day + 4) % 7 != 0) // 1970-01-01 was a Thursday; 0 is a Sunday
            days.push_back(day);
    return days;
}

// ---------------------------------------------------------------------------
// SQLite handles.
struct DbCloser
{
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StmtFinalizer
{
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using DbPtr = std::unique_ptr<sqlite3, DbCloser>;
using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

class BuildError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

void exec(sqlite3* db, const std::string& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw BuildError(text + " in: " + sql.substr(0, 160));
    }
}

StmtPtr prepare(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        throw BuildError(std::string(sqlite3_errmsg(db)) + " in: " + sql.substr(0, 160));
    return StmtPtr(stmt);
}

void step(sqlite3* db, sqlite3_stmt* stmt)
{
    if (sqlite3_step(stmt) != SQLITE_DONE)
        throw BuildError(std::string(sqlite3_errmsg(db)) + " in: " + sqlite3_sql(stmt));
    sqlite3_reset(stmt);
}

// One value of a row to insert.
struct Value
{
    enum class Kind { Null, Integer, Real, Text };
    Kind kind = Kind::Null;
    long long integer = 0;
    double real = 0;
    std::string text;

    Value(std::nullptr_t) {}
    Value(long long i) : kind(Kind::Integer), integer(i) {}
    Value(double d) : kind(Kind::Real), real(d) {}
    Value(std::string s) : kind(Kind::Text), text(std::move(s)) {}
};
using Row = std::vector<Value>;

void bind(sqlite3_stmt* stmt, int index, const Value& value)
{
    switch (value.kind) {
    case Value::Kind::Integer:
        sqlite3_bind_int64(stmt, index, value.integer);
        break;
    case Value::Kind::Real:
        sqlite3_bind_double(stmt, index, value.real);
        break;
    case Value::Kind::Text:
        sqlite3_bind_text(stmt, index, value.text.c_str(), static_cast<int>(value.text.size()), SQLITE_TRANSIENT);
        break;
    case Value::Kind::Null:
        sqlite3_bind_null(stmt, index);
        break;
    }
}

void insertRows(sqlite3* db, const std::string& table, const std::vector<std::string>& columns,
                const std::vector<Row>& rows)
{
    std::string sql = "INSERT INTO " + table + " (";
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        sql += (i ? ", " : "") + columns[i];
        marks += i ? ", ?" : "?";
    }
    sql += ") VALUES (" + marks + ")";
    StmtPtr stmt = prepare(db, sql);
    for (const Row& row : rows) {
        if (row.size() != columns.size())
            throw std::logic_error("row width differs from the column list of " + table);
        for (std::size_t i = 0; i < row.size(); ++i)
            bind(stmt.get(), static_cast<int>(i + 1), row[i]);
        step(db, stmt.get());
    }
}

Value text(const char* s)
{
    return s ? Value(std::string(s)) : Value(nullptr);
}
Value money(int64_t cents)
{
    return Value(static_cast<double>(cents) / 100.0);
}

// ---------------------------------------------------------------------------
// Schema. Declared types are SQL Server's, because the engine's backend reads
// field types from them; every text column compares as SQL Server does, and
// every sized text column carries the length check the backend reports as 8152.
struct Column
{
    std::string name;
    std::string type;
    std::string extra; // NOT NULL, DEFAULT ...
};

struct Table
{
    std::string name;
    std::vector<Column> columns;
    std::string primaryKey; // column list, or empty
    std::string unique;     // column list, or empty
};

bool isTextType(const std::string& type)
{
    for (const char* prefix : {"varchar", "char", "nvarchar", "nchar", "text", "ntext"})
        if (type.rfind(prefix, 0) == 0)
            return true;
    return false;
}

int declaredLength(const std::string& type)
{
    const std::size_t open = type.find('(');
    return open == std::string::npos ? 0 : std::atoi(type.c_str() + open + 1);
}

std::string createTableSql(const Table& table)
{
    std::string sql = "CREATE TABLE " + table.name + " (\n";
    std::vector<std::string> parts;
    for (const Column& column : table.columns) {
        std::string part = "  " + column.name + " " + column.type;
        if (isTextType(column.type))
            part += std::string(" COLLATE ") + platform::db::sqlite::kTextCollation;
        if (!column.extra.empty())
            part += " " + column.extra;
        parts.push_back(part);
    }
    if (!table.primaryKey.empty())
        parts.push_back("  CONSTRAINT PK_" + table.name + " PRIMARY KEY (" + table.primaryKey + ")");
    if (!table.unique.empty())
        parts.push_back("  CONSTRAINT UQ_" + table.name + " UNIQUE (" + table.unique + ")");
    for (const Column& column : table.columns) {
        const int length = declaredLength(column.type);
        if (isTextType(column.type) && length > 0)
            parts.push_back("  CONSTRAINT maxlen_" + column.name + " CHECK (length(" + column.name +
                            ") <= " + std::to_string(length) + ")");
    }
    // A money column keeps numbers only: a text that SQLite cannot read as a
    // number would otherwise be stored as it is, where SQL Server converts or refuses.
    for (const Column& column : table.columns) {
        if (column.type == "money")
            parts.push_back("  CONSTRAINT numeric_" + column.name + " CHECK (typeof(" + column.name +
                            ") IN ('integer', 'real', 'null'))");
    }
    for (std::size_t i = 0; i < parts.size(); ++i)
        sql += parts[i] + (i + 1 < parts.size() ? ",\n" : "\n");
    return sql + ")";
}

std::vector<Column> priceColumns()
{
    std::vector<Column> columns{{"Costo", "money", ""}};
    for (int k = 1; k <= 8; ++k)
        columns.push_back({"Precio" + std::to_string(k), "money", ""});
    return columns;
}

std::vector<Column> concat(std::vector<Column> a, const std::vector<Column>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Table configurationTable()
{
    return {"TA_CONFIGURACION",
            {{"ID", "integer", ""},
             {"GRUPO", "varchar(50)", ""},
             {"CLAVE", "varchar(50)", "NOT NULL"},
             {"VALOR", "text", ""},
             {"VALORAUX", "text", ""},
             {"PoliticaNegocio", "bit", "NOT NULL DEFAULT 0"}},
            "ID",
            ""};
}

std::vector<Table> mainTables()
{
    return {
        {"V_MA_ARTICULOS",
         concat(concat({{"IDARTICULO", "varchar(15)", "NOT NULL"},
                        {"DESCRIPCION", "varchar(60)", ""},
                        {"IdFamilia", "varchar(4)", ""},
                        {"SUSPENDIDO", "bit", "NOT NULL DEFAULT 0"}},
                       priceColumns()),
                {{"DESDETRIGGER", "bit", "NOT NULL DEFAULT 0"}}),
         "IDARTICULO", ""},
        {"V_MA_PRECIOSCAB",
         {{"idLista", "varchar(4)", "NOT NULL"}, {"Nombre", "varchar(50)", ""}, {"tipolista", "char(1)", ""}},
         "idLista",
         ""},
        {"V_MA_PRECIOS",
         concat(
             concat({{"IDARTICULO", "varchar(15)", "NOT NULL"}, {"idlista", "varchar(4)", "NOT NULL"}}, priceColumns()),
             {{"DESDETRIGGER", "bit", "NOT NULL DEFAULT 0"}}),
         "IDARTICULO, idlista", ""},
        {"V_MV_PreciosHis",
         concat(concat({{"ID", "integer", ""},
                        {"FechaHora", "datetime", "NOT NULL"},
                        {"IdArticulo", "varchar(15)", "NOT NULL"},
                        {"idLista", "varchar(8)", ""}},
                       priceColumns()),
                {{"Usuario", "varchar(50)", ""}}),
         "ID", ""},
        configurationTable(),
        {"TA_USUARIOS",
         {{"NOMBRE", "varchar(50)", "NOT NULL"},
          {"SISTEMA", "varchar(20)", ""},
          {"Password", "varchar(100)", ""},
          {"Administrador", "bit", "NOT NULL DEFAULT 0"},
          {"UNegocio", "varchar(4)", ""},
          {"CLASEPUSA", "varchar(20)", ""},
          {"verproforma", "bit", "NOT NULL DEFAULT 0"}},
         "NOMBRE",
         ""},
        {"TA_MENU",
         {{"Clave", "varchar(10)", "NOT NULL"}, {"Nombre", "varchar(100)", ""}, {"Proceso", "varchar(50)", ""}},
         "Clave",
         ""},
        {"TA_TAREAS",
         {{"USUARIO", "varchar(50)", "NOT NULL"}, {"TAREA", "varchar(10)", "NOT NULL"}},
         "USUARIO, TAREA",
         ""},
        {"Control_Acceso",
         {{"id", "integer", ""},
          {"Maquina", "varchar(50)", ""},
          {"Usuario", "varchar(50)", ""},
          {"Formulario", "varchar(50)", ""},
          {"Tarea", "varchar(100)", ""},
          {"Ingreso", "datetime", ""},
          {"NombreUsuario", "varchar(50)", ""}},
         "id",
         ""},
        {"V_MV_CPTEACCIONES",
         {{"ID", "integer", ""},
          {"TC", "varchar(4)", ""},
          {"IdComprobante", "varchar(20)", ""},
          {"IdComplemento", "int", ""},
          {"Tipo_accion", "varchar(2)", ""},
          {"FECHAHORA", "datetime", ""},
          {"Usuario", "varchar(50)", ""},
          {"PC", "varchar(50)", ""},
          {"SYSTEMUSER", "varchar(255)", ""},
          {"Proceso", "varchar(255)", ""},
          {"ProcesoLote", "varchar(25)", ""},
          {"Cuenta", "varchar(15)", ""}},
         "ID",
         ""},
        {"AUX_ERR",
         {{"ID", "integer", ""},
          {"Proceso", "varchar(100)", ""},
          {"fecha", "datetime", ""},
          {"Error", "int", ""},
          {"Descripcion", "varchar(250)", ""},
          {"sql", "text", ""},
          {"PC", "varchar(50)", ""},
          {"Usuario", "varchar(50)", ""}},
         "ID",
         ""},
        {"V_TA_Cajas", {{"IdCajas", "int", "NOT NULL"}, {"Descripcion", "varchar(50)", ""}}, "IdCajas", ""},
        {"v_ta_unidadNegocio",
         {{"Codigo", "varchar(4)", "NOT NULL"},
          {"Descripcion", "varchar(50)", ""},
          {"razon_social", "varchar(100)", ""},
          {"Cuit", "varchar(13)", ""},
          {"PDV", "varchar(4)", ""}},
         "Codigo",
         ""},
        {"TA_CONFIG_FORM",
         {{"ID", "integer", ""},
          {"FORMULARIO", "varchar(100)", "NOT NULL"},
          {"USUARIO", "varchar(50)", "NOT NULL"},
          {"TIPOOBJETO", "varchar(50)", ""},
          {"NOMBRE", "varchar(50)", "NOT NULL"},
          {"PROPIEDAD", "varchar(50)", ""},
          {"DATAFIELD", "varchar(50)", ""},
          {"VALOR", "text", ""}},
         "ID",
         "FORMULARIO, USUARIO, NOMBRE"},
        {"MA_CUENTAS",
         {{"IdCuenta", "varchar(15)", "NOT NULL"},
          {"Descripcion", "varchar(60)", ""},
          {"Confidencial", "bit", "NOT NULL DEFAULT 0"}},
         "IdCuenta",
         ""},
        {"MV_ASIENTOS",
         {{"ID", "integer", ""},
          {"Fecha", "datetime", "NOT NULL"},
          {"IdCuenta", "varchar(15)", "NOT NULL"},
          {"Debe", "money", "NOT NULL DEFAULT 0"},
          {"Haber", "money", "NOT NULL DEFAULT 0"},
          {"Detalle", "varchar(100)", ""}},
         "ID",
         ""},
        {"V_TA_DEPOSITO",
         {{"IdDeposito", "varchar(4)", "NOT NULL"}, {"Descripcion", "varchar(50)", ""}},
         "IdDeposito",
         ""},
        {"V_TA_FAMILIAS",
         {{"IdFamilia", "varchar(4)", "NOT NULL"}, {"Descripcion", "varchar(50)", ""}},
         "IdFamilia",
         ""},
        {"AC_CUENTASDIARIO",
         {{"IdDiario", "varchar(4)", "NOT NULL"}, {"IdCuenta", "varchar(15)", "NOT NULL"}},
         "IdDiario, IdCuenta",
         ""},
        {"AC_CUENTASDIARIO_CCOSTO",
         {{"IdDiario", "varchar(4)", "NOT NULL"},
          {"IdCuenta", "varchar(15)", "NOT NULL"},
          {"IdCCosto", "varchar(4)", "NOT NULL"}},
         "IdDiario, IdCuenta, IdCCosto",
         ""},
    };
}

// Restricted views that users who are not administrators read instead of the
// tables. The engine has no per-user rights, so they show what such a user may
// see: everything but the confidential accounts and their entries.
const char* const kRestrictedViews[] = {
    "CREATE VIEW SS_MA_CUENTAS AS SELECT * FROM MA_CUENTAS WHERE Confidencial = 0",
    "CREATE VIEW SS_V_TA_DEPOSITO AS SELECT * FROM V_TA_DEPOSITO",
    "CREATE VIEW SS_MV_ASIENTOS AS SELECT * FROM MV_ASIENTOS "
    "WHERE IdCuenta IN (SELECT IdCuenta FROM MA_CUENTAS WHERE Confidencial = 0)",
    "CREATE VIEW SS_V_TA_FAMILIAS AS SELECT * FROM V_TA_FAMILIAS",
    "CREATE VIEW SS_V_TA_CAJAS AS SELECT * FROM V_TA_Cajas",
    "CREATE VIEW SS_AC_CUENTASDIARIO AS SELECT * FROM AC_CUENTASDIARIO "
    "WHERE IdCuenta IN (SELECT IdCuenta FROM MA_CUENTAS WHERE Confidencial = 0)",
    "CREATE VIEW SS_AC_CUENTAS_DIARIO_CCOSTO AS SELECT * FROM AC_CUENTASDIARIO_CCOSTO "
    "WHERE IdCuenta IN (SELECT IdCuenta FROM MA_CUENTAS WHERE Confidencial = 0)",
};

// Indexes of a real installation: the history by article, by list and by time.
const char* const kIndexes[] = {
    "CREATE INDEX IX_PreciosHis_Articulo ON V_MV_PreciosHis (IdArticulo, FechaHora)",
    // The correction run looks the cost class up by the trimmed article id.
    "CREATE INDEX IX_PreciosHis_ArticuloTrim ON V_MV_PreciosHis "
    "(ltrim(rtrim(IdArticulo)) COLLATE SQLSERVER, FechaHora)",
    "CREATE INDEX IX_PreciosHis_Lista ON V_MV_PreciosHis (idLista, FechaHora)",
    "CREATE INDEX IX_PreciosHis_FechaHora ON V_MV_PreciosHis (FechaHora)",
    "CREATE INDEX IX_Articulos_Descripcion ON V_MA_ARTICULOS (DESCRIPCION)",
    "CREATE INDEX IX_Articulos_Familia ON V_MA_ARTICULOS (IdFamilia)",
    "CREATE INDEX IX_Precios_Lista ON V_MA_PRECIOS (idlista)",
    "CREATE INDEX IX_Configuracion_Clave ON TA_CONFIGURACION (CLAVE, GRUPO)",
    "CREATE INDEX IX_Control_Acceso_Usuario ON Control_Acceso (Usuario, Ingreso)",
    "CREATE INDEX IX_CpteAcciones_FechaHora ON V_MV_CPTEACCIONES (FECHAHORA)",
    "CREATE INDEX IX_Asientos_Cuenta ON MV_ASIENTOS (IdCuenta, Fecha)",
};

// ---------------------------------------------------------------------------
// Articles and price lists.
struct Family
{
    const char* code;
    const char* name;
    std::vector<const char*> products;
    std::vector<const char*> sizes;
};

const std::vector<Family>& families()
{
    static const std::vector<Family> list = {
        {"0001",
         "Almacén",
         {"Arroz largo fino", "Fideos tirabuzón", "Aceite de girasol", "Azúcar común", "Harina 000", "Yerba mate",
          "Café molido", "Té en saquitos", "Lentejas secas", "Puré de tomate"},
         {"500 g", "1 kg", "250 g"}},
        {"0002",
         "Bebidas",
         {"Agua mineral sin gas", "Gaseosa cola", "Jugo de naranja", "Cerveza rubia", "Vino tinto malbec",
          "Soda en sifón", "Agua saborizada pomelo"},
         {"500 ml", "1,5 L", "2,25 L", "750 ml"}},
        {"0003",
         "Lácteos",
         {"Leche entera", "Leche descremada", "Yogur bebible frutilla", "Queso cremoso", "Manteca", "Dulce de leche",
          "Crema de leche"},
         {"1 L", "200 g", "500 g"}},
        {"0004",
         "Limpieza",
         {"Detergente lavavajillas", "Lavandina", "Jabón en polvo", "Suavizante para ropa", "Limpiador de pisos",
          "Esponja multiuso"},
         {"750 ml", "1 L", "3 L"}},
        {"0005",
         "Perfumería",
         {"Shampoo", "Acondicionador", "Jabón de tocador", "Pasta dental", "Desodorante aerosol", "Papel higiénico"},
         {"400 ml", "90 g", "x 4 u."}},
        {"0006",
         "Frescos",
         {"Tomate perita", "Papa negra", "Banana", "Manzana roja", "Pechuga de pollo", "Carne picada especial"},
         {"x kg", "x 500 g"}},
        {"0007",
         "Panadería",
         {"Pan francés", "Medialunas de manteca", "Galletitas de agua", "Bizcochos de grasa", "Pan lactal"},
         {"x kg", "x 12 u.", "200 g"}},
        {"0008",
         "Congelados",
         {"Helado de crema", "Hamburguesas de carne", "Papas prefritas", "Arvejas congeladas", "Pizza muzzarella"},
         {"1 kg", "x 4 u.", "500 g"}},
    };
    return list;
}

const char* const kBrands[] = {"La Espiga", "Don Aurelio", "Río Claro", "Sierra Alta",
                               "Los Andes", "Santa Clara", "El Molino", "Puerto Sur"};

// Mark-ups of the eight sale prices over the cost, in percent.
constexpr std::array<int, 8> kMarkups = {135, 125, 145, 130, 120, 150, 115, 160};

struct PriceList
{
    const char* code;
    const char* padded; // the same code as some history rows store it, with trailing blanks
    const char* name;
    const char* type;  // tipolista: V sale list, C purchase list
    int factorPercent; // its prices against the master's
};

const PriceList kLists[] = {
    {"0001", "0001  ", "Lista Mayorista", "V", 90},           {"0002", "0002  ", "Lista Sucursales", "V", 100},
    {"0003", "0003  ", "Lista Tarjeta de Crédito", "V", 110}, {"0004", "0004  ", "Compras Distribuidora Sur", "C", 100},
    {"0005", "0005  ", "Lista Promociones", "v", 85},
};
constexpr int kListCount = static_cast<int>(std::size(kLists));

// How history rows of the article master write their list code: empty, NULL or blanks.
const char* const kMasterCodes[] = {"", nullptr, "    "};

const char* const kHistoryUsers[] = {"ALTAS", "COMPRAS", "MGARCIA", "JLOPEZ", "RFERNANDEZ", "DEMO"};
enum HistoryUser : uint8_t { UserAltas = 0, UserCompras = 1, FirstClerk = 2 };

struct Article
{
    std::string code;
    std::string description;
    const char* family;
    bool suspended;
};

using Prices = std::array<int64_t, 9>; // cents: 0 the cost, 1..8 the sale prices

struct Event
{
    int64_t ms;
    int32_t article;
    int8_t list;      // -1 the article master, else an index of kLists
    int8_t column;    // -1 no change (the article's first row), 0 the cost, 1..8 a sale price
    int16_t percent;  // change applied to that column
    const char* code; // idLista as stored; nullptr for NULL
    uint8_t user;
};

int priceColumnOf(const char* priceClass)
{
    return std::strcmp(priceClass, "Costo") == 0 ? 0 : std::atoi(priceClass);
}

int listIndexOf(const char* storedCode)
{
    std::string code(storedCode ? storedCode : "");
    while (!code.empty() && code.back() == ' ')
        code.pop_back();
    for (int i = 0; i < kListCount; ++i)
        if (code == kLists[i].code)
            return i;
    throw std::logic_error("unknown list code " + code);
}

int64_t applyPercent(int64_t cents, int percent)
{
    return (cents * (100 + percent) + 50) / 100;
}

struct Dataset
{
    std::vector<Article> articles;
    std::vector<Prices> master;
    std::vector<Prices> lists; // article * kListCount + list
    std::vector<Event> events; // in time order
};

int64_t massRowTotal(int articles)
{
    int64_t total = 0;
    for (const KnownChange& change : kKnownChanges)
        total += changeRows(change, articles);
    return total;
}

Dataset generate(int articleTotal, long long historyRows, Generator& rng)
{
    Dataset data;
    data.articles.reserve(articleTotal);
    data.master.resize(articleTotal);
    data.lists.resize(static_cast<std::size_t>(articleTotal) * kListCount);

    for (int i = 0; i < articleTotal; ++i) {
        const Family& family = families()[rng.below(static_cast<int>(families().size()))];
        const std::string number = std::to_string(1001 + i);
        // Codes carried over from the older system are right-aligned in seven characters.
        const std::string code =
            i % 9 == 0 ? std::string(7 - std::min<std::size_t>(7, number.size()), ' ') + number : number;
        std::string description = family.products[rng.below(static_cast<int>(family.products.size()))];
        description += " ";
        description += kBrands[rng.below(static_cast<int>(std::size(kBrands)))];
        description += " ";
        description += family.sizes[rng.below(static_cast<int>(family.sizes.size()))];
        data.articles.push_back({code, description, family.code, rng.chance(3)});

        Prices& prices = data.master[i];
        prices[0] = 20000 + rng.below(400000) + (rng.chance(20) ? rng.below(500000) : 0);
        for (int k = 1; k <= 8; ++k)
            prices[k] = applyPercent(prices[0], kMarkups[k - 1] - 100);
        for (int j = 0; j < kListCount; ++j) {
            Prices& listed = data.lists[static_cast<std::size_t>(i) * kListCount + j];
            listed[0] = prices[0];
            for (int k = 1; k <= 8; ++k)
                listed[k] = applyPercent(prices[k], kLists[j].factorPercent - 100);
        }
    }

    const int64_t initialRows = static_cast<int64_t>(articleTotal) * (1 + kListCount);
    const int64_t scattered = historyRows - initialRows - massRowTotal(articleTotal);
    data.events.reserve(static_cast<std::size_t>(historyRows));

    // The first row of every article and list, when the article was created.
    const std::vector<int64_t> altaDays = businessDays(daysFromCivil(2023, 10, 2), daysFromCivil(2023, 12, 29));
    for (int i = 0; i < articleTotal; ++i) {
        const int64_t day = altaDays[rng.below(static_cast<int>(altaDays.size()))];
        const int64_t at = day * kMsPerDay + rng.between(8 * 3600, 19 * 3600) * 1000LL + rng.below(1000);
        data.events.push_back({at, i, -1, -1, 0, kMasterCodes[rng.below(3)], UserAltas});
        for (int j = 0; j < kListCount; ++j)
            data.events.push_back({at + (j + 1) * 1000LL + rng.below(1000), i, static_cast<int8_t>(j), -1, 0,
                                   rng.chance(25) ? kLists[j].padded : kLists[j].code, UserAltas});
    }

    // The mass changes, each inside its minute, in article order.
    std::vector<int64_t> knownMinutes;
    for (const KnownChange& change : kKnownChanges) {
        const int64_t minute = parseMinute(change.minute);
        knownMinutes.push_back(minute / kMsPerMinute);
        const int rows = changeRows(change, articleTotal);
        const int64_t span = (change.lastSecond - change.firstSecond + 1) * 1000LL - 1;
        const int8_t list = change.onMaster ? -1 : static_cast<int8_t>(listIndexOf(change.listCode));
        const int8_t column = static_cast<int8_t>(priceColumnOf(change.priceClass));
        for (int k = 0; k < rows; ++k) {
            const int64_t at = minute + change.firstSecond * 1000LL + (rows > 1 ? k * span / (rows - 1) : 0);
            data.events.push_back({at, change.offset + k * change.stride, list, column,
                                   static_cast<int16_t>(change.percent), change.listCode, UserCompras});
        }
    }

    // Ordinary changes by the staff, scattered over the business hours of the period.
    const std::vector<int64_t> workDays = businessDays(daysFromCivil(2024, 1, 8), daysFromCivil(2024, 3, 29));
    for (int64_t n = 0; n < scattered; ++n) {
        int64_t at = 0;
        do {
            const int64_t day = workDays[rng.below(static_cast<int>(workDays.size()))];
            const int millis = rng.chance(30) ? 0 : rng.between(1, 999);
            at = day * kMsPerDay + rng.between(8 * 3600, 20 * 3600 + 3599) * 1000LL + millis;
        } while (std::find(knownMinutes.begin(), knownMinutes.end(), at / kMsPerMinute) != knownMinutes.end());
        const int article = rng.below(articleTotal);
        const bool onMaster = rng.chance(45);
        const int list = onMaster ? -1 : rng.below(kListCount);
        const char* code =
            onMaster ? kMasterCodes[rng.below(3)] : (rng.chance(25) ? kLists[list].padded : kLists[list].code);
        int column = 0;
        if (!rng.chance(30)) {
            const int pick = rng.below(100);
            column = pick < 30 ? 1 : pick < 50 ? 2 : pick < 65 ? 3 : 4 + rng.below(5);
        }
        const int percent = rng.chance(70) ? rng.between(1, 9) : -rng.between(1, 9);
        data.events.push_back({at, article, static_cast<int8_t>(list), static_cast<int8_t>(column),
                               static_cast<int16_t>(percent), code, static_cast<uint8_t>(FirstClerk + rng.below(4))});
    }

    std::stable_sort(data.events.begin(), data.events.end(),
                     [](const Event& a, const Event& b) { return a.ms < b.ms; });
    return data;
}

// ---------------------------------------------------------------------------
// Writing.
void writeHistory(sqlite3* db, Dataset& data)
{
    StmtPtr stmt = prepare(db, "INSERT INTO V_MV_PreciosHis (ID, FechaHora, IdArticulo, idLista, Costo, Precio1, "
                               "Precio2, Precio3, Precio4, Precio5, Precio6, Precio7, Precio8, Usuario) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    sqlite3_stmt* s = stmt.get();
    char when[64];
    long long id = 0;
    for (const Event& event : data.events) {
        Prices& prices = event.list < 0 ? data.master[event.article]
                                        : data.lists[static_cast<std::size_t>(event.article) * kListCount + event.list];
        if (event.column >= 0)
            prices[event.column] = applyPercent(prices[event.column], event.percent);
        formatDateTime(event.ms, when);
        const std::string& code = data.articles[event.article].code;
        sqlite3_bind_int64(s, 1, ++id);
        sqlite3_bind_text(s, 2, when, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 3, code.c_str(), static_cast<int>(code.size()), SQLITE_STATIC);
        if (event.code)
            sqlite3_bind_text(s, 4, event.code, -1, SQLITE_STATIC);
        else
            sqlite3_bind_null(s, 4);
        for (int k = 0; k <= 8; ++k)
            sqlite3_bind_double(s, 5 + k, static_cast<double>(prices[k]) / 100.0);
        sqlite3_bind_text(s, 14, kHistoryUsers[event.user], -1, SQLITE_STATIC);
        step(db, s);
    }
}

void writeArticlesAndLists(sqlite3* db, const Dataset& data)
{
    std::vector<Row> articles;
    std::vector<Row> prices;
    for (std::size_t i = 0; i < data.articles.size(); ++i) {
        const Article& article = data.articles[i];
        Row row{article.code, article.description, text(article.family),
                static_cast<long long>(article.suspended ? 1 : 0)};
        for (int64_t cents : data.master[i])
            row.push_back(money(cents));
        row.push_back(0LL);
        articles.push_back(std::move(row));
        for (int j = 0; j < kListCount; ++j) {
            Row listed{article.code, text(kLists[j].code)};
            for (int64_t cents : data.lists[i * kListCount + j])
                listed.push_back(money(cents));
            listed.push_back(0LL);
            prices.push_back(std::move(listed));
        }
    }
    const std::vector<std::string> priceNames = {"Costo",   "Precio1", "Precio2", "Precio3", "Precio4",
                                                 "Precio5", "Precio6", "Precio7", "Precio8"};
    std::vector<std::string> articleColumns = {"IDARTICULO", "DESCRIPCION", "IdFamilia", "SUSPENDIDO"};
    articleColumns.insert(articleColumns.end(), priceNames.begin(), priceNames.end());
    articleColumns.push_back("DESDETRIGGER");
    insertRows(db, "V_MA_ARTICULOS", articleColumns, articles);

    std::vector<std::string> priceColumnNames = {"IDARTICULO", "idlista"};
    priceColumnNames.insert(priceColumnNames.end(), priceNames.begin(), priceNames.end());
    priceColumnNames.push_back("DESDETRIGGER");
    insertRows(db, "V_MA_PRECIOS", priceColumnNames, prices);

    std::vector<Row> heads;
    for (const PriceList& list : kLists)
        heads.push_back({text(list.code), text(list.name), text(list.type)});
    insertRows(db, "V_MA_PRECIOSCAB", {"idLista", "Nombre", "tipolista"}, heads);

    std::vector<Row> familyRows;
    for (const Family& family : families())
        familyRows.push_back({text(family.code), text(family.name)});
    insertRows(db, "V_TA_FAMILIAS", {"IdFamilia", "Descripcion"}, familyRows);
}

void writeConfiguration(sqlite3* db)
{
    const char* const datos[][2] = {
        {"ClaseDePrecioDefault", "1"},
        {"CantidadDecimales", "2"},
        {"CantidadDecimalesVentas", "2"},
        {"THEME", "1"},
        {"MostrarStockenConsultas", "SI"},
        {"TituloClientes", "Clientes"},
        {"TituloProveedores", "Proveedores"},
        {"EXIGECLAVECONSULTALIKEARTICULOS", "NO"},
        {"UsaConsultaLike", "SI"},
        {"SS_CONFIDENCIALIDAD", "NO"},
        {"UsaMultilesMonedas", "NO"},
        {"UsaFacturaProforma", "NO"},
        {"USACCOSTO", "NO"},
        {"USA_STK_STOCK_UDKG", "NO"},
        {"UNIDADDEMEDIDA_M3", "M3"},
        {"UNIDADDEMEDIDA_BL", "BL"},
        {"UNIDADDEMEDIDA_KG", "KG"},
        {"PERIODO", "2024"},
        {"RazonSocialPorUneg", "SI"},
        {"VALIDACODIGOBARRA", "NO"},
        {"CFondo", "16774118"},
        {"CLetra", "0"},
        {"ModuloOrdenDeTrabajo", "NO"},
        {"V_ModificaCPrecio", "SI"},
        {"C_ModificaCPrecio", "NO"},
        {"MADERERA", "NO"},
        {"CuentaCtroDist", ""},
        {"MaxDto", "15"},
        {"MaxDtoProforma", "10"},
        {"PideClave_StockNeg", "NO"},
        {"PideClave_MarkUpBase", "NO"},
        {"PideClave_LimiteCredito", "SI"},
        {"SS_BloqueoActivo", "NO"},
        {"UTILIZARFECHADIA", "NO"},
        {"FECHAOPERHASTA", "31/12/2024"},
        {"AsignacionAutomaticaDeLoteING", "NO"},
        {"AsignacionAutomaticaDeLoteINGOP", "NO"},
        {"CONDIVAEMPRESA", "1"},
        {"Top_Default", "1000"},
        {"NOMBRE", "Supermercados La Espiga S.A."},
        {"cuit", "30-71234567-9"},
        {"INICIOACTIVIDADES", "01/03/1998"},
        {"NROINGRESOSBRUTOS", "901-123456-7"},
        {"CALLE", "Av. de la Constitución"},
        {"NUMERO", "1450"},
        {"PISO", ""},
        {"Departamento", ""},
        {"INICIO_ACTIVIDADES_UN_2", "15/06/2012"},
        {"INGRESOS_BRUTOS_UN_2", "901-765432-1"},
        {"CONDICIONIVA_UN_2", "1"},
        {"DOMICILIO_UN_2", "Ruta 8 km 52, Pilar"},
    };
    std::vector<Row> rows;
    for (const auto& entry : datos)
        rows.push_back({text("DATOS"), text(entry[0]), text(entry[1]), text(""), 0LL});
    insertRows(db, "TA_CONFIGURACION", {"GRUPO", "CLAVE", "VALOR", "VALORAUX", "PoliticaNegocio"}, rows);
}

void writeUsersAndCompany(sqlite3* db)
{
    auto password = [](const char* plain) { return Value(storedPassword(QString::fromUtf8(plain)).toStdString()); };
    insertRows(db, "TA_USUARIOS",
               {"NOMBRE", "SISTEMA", "Password", "Administrador", "UNegocio", "CLASEPUSA", "verproforma"},
               {
                   {text(kDemoUser), text("cn000pr"), Value(demoPasswordStored().toStdString()), 1LL, text("   1"),
                    text("1,2,3,4,5,6,7,8"), 1LL},
                   {text("vendedor"), text("ORVO"), password("vendedor"), 0LL, text("2"), text("1,2"), 0LL},
                   {text("cajero"), text("VENTAS"), password("cajero"), 0LL, text("   1"), text("1"), 0LL},
               });
    insertRows(db, "TA_MENU", {"Clave", "Nombre", "Proceso"},
               {
                   {text("D0601"), text("Corrección de precios"), text("CorrigePrecios")},
                   {text("D0201"), text("Ventas mostrador"), text("VENTAS")},
                   {text("D0202"), text("Punto de venta"), text("VENTASPDV")},
                   {text("D0301"), text("Compras"), text("COMPRAS")},
                   {text("D010301"), text("Alta de tablas"), text("CN000PR")},
               });
    insertRows(db, "TA_TAREAS", {"USUARIO", "TAREA"},
               {
                   {text(kDemoUser), text("D0601")},
                   {text(kDemoUser), text("D010301")},
                   {text("vendedor"), text("D0201")},
                   {text("vendedor"), text("D0202")},
                   {text("cajero"), text("D0202")},
               });
    insertRows(db, "V_TA_Cajas", {"IdCajas", "Descripcion"},
               {
                   {1LL, text("CAJA PRINCIPAL")},
                   {2LL, text("CAJA 2 - LINEA RAPIDA")},
                   {3LL, text("CAJA 3 - SUCURSAL NORTE")},
               });
    insertRows(
        db, "v_ta_unidadNegocio", {"Codigo", "Descripcion", "razon_social", "Cuit", "PDV"},
        {
            {text("0001"), text("Casa Central"), nullptr, nullptr, text("0001")},
            {text("0002"), text("Sucursal Norte"), text("La Espiga Norte S.R.L."), text("30-70987654-3"), text("0003")},
            {text("0003"), text("Depósito Central"), nullptr, nullptr, text("0002")},
        });
}

void writeAccounting(sqlite3* db)
{
    insertRows(db, "MA_CUENTAS", {"IdCuenta", "Descripcion", "Confidencial"},
               {
                   {text("1.1.01.001"), text("Caja"), 0LL},
                   {text("1.1.02.001"), text("Banco cuenta corriente"), 0LL},
                   {text("4.1.01.001"), text("Ventas de mercaderías"), 0LL},
                   {text("5.1.01.001"), text("Costo de mercaderías vendidas"), 0LL},
                   {text("5.2.03.001"), text("Sueldos de gerencia"), 1LL},
               });
    insertRows(db, "MV_ASIENTOS", {"Fecha", "IdCuenta", "Debe", "Haber", "Detalle"},
               {
                   {text("2024-03-01 00:00:00"), text("1.1.01.001"), money(15423050), money(0), text("Ventas del día")},
                   {text("2024-03-01 00:00:00"), text("4.1.01.001"), money(0), money(15423050), text("Ventas del día")},
                   {text("2024-03-05 00:00:00"), text("5.2.03.001"), money(98000000), money(0), text("Sueldos")},
                   {text("2024-03-05 00:00:00"), text("1.1.02.001"), money(0), money(98000000), text("Sueldos")},
               });
    insertRows(db, "V_TA_DEPOSITO", {"IdDeposito", "Descripcion"},
               {{text("0001"), text("Depósito salón")}, {text("0002"), text("Depósito central")}});
    insertRows(
        db, "AC_CUENTASDIARIO", {"IdDiario", "IdCuenta"},
        {{text("0001"), text("1.1.01.001")}, {text("0001"), text("4.1.01.001")}, {text("0002"), text("5.2.03.001")}});
    insertRows(db, "AC_CUENTASDIARIO_CCOSTO", {"IdDiario", "IdCuenta", "IdCCosto"},
               {{text("0001"), text("4.1.01.001"), text("0001")}, {text("0002"), text("5.2.03.001"), text("0009")}});
}

DbPtr openNew(const QString& path)
{
    QFile::remove(path);
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    DbPtr db(raw);
    if (rc != SQLITE_OK)
        throw BuildError("cannot create " + path.toStdString() + ": " +
                         (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)));
    if (platform::db::sqlite::registerSqlServerExtensions(raw) != SQLITE_OK)
        throw BuildError("cannot register the text collation on " + path.toStdString());
    exec(raw, "PRAGMA journal_mode = OFF");
    exec(raw, "PRAGMA synchronous = OFF");
    exec(raw, "PRAGMA cache_size = -65536");
    return db;
}

// Builds one data base under a temporary name and puts it in place when complete.
template <typename Fill> void buildFile(const QString& folder, const char* name, Fill fill)
{
    const QString finalPath = QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".sqlite"));
    const QString partPath = finalPath + QStringLiteral(".part");
    {
        DbPtr db = openNew(partPath);
        exec(db.get(), "BEGIN");
        fill(db.get());
        exec(db.get(), "COMMIT");
        if (sqlite3_close_v2(db.release()) != SQLITE_OK)
            throw BuildError("cannot close " + partPath.toStdString());
    }
    QFile::remove(finalPath);
    QFile::remove(finalPath + QStringLiteral("-journal"));
    if (!QFile::rename(partPath, finalPath))
        throw BuildError("cannot rename " + partPath.toStdString() + " to " + finalPath.toStdString());
}

} // namespace

long long minimumHistoryRows(long long historyRows)
{
    const int articles = articleCount(historyRows);
    return static_cast<long long>(articles) * (1 + kListCount) + massRowTotal(articles);
}

BuildResult buildDemoServer(const BuildOptions& options)
{
    BuildResult result;
    const auto started = std::chrono::steady_clock::now();
    const long long minimum = minimumHistoryRows(options.historyRows);
    if (options.historyRows < minimum || options.historyRows > 100000000LL) {
        result.error = QStringLiteral("history rows must be between %1 and 100000000").arg(minimum);
        return result;
    }
    if (options.folder.trimmed().isEmpty() || !QDir().mkpath(options.folder)) {
        result.error = QStringLiteral("cannot create the server folder \"%1\"").arg(options.folder);
        return result;
    }
    const QString partMain = QDir(options.folder).filePath(QString::fromLatin1(kMainDatabase) + ".sqlite.part");
    const QString partStats = QDir(options.folder).filePath(QString::fromLatin1(kStatisticsDatabase) + ".sqlite.part");
    try {
        Generator rng(options.seed);
        const int articles = articleCount(options.historyRows);
        Dataset data = generate(articles, options.historyRows, rng);

        buildFile(options.folder, kMainDatabase, [&](sqlite3* db) {
            for (const Table& table : mainTables())
                exec(db, createTableSql(table));
            writeHistory(db, data);
            writeArticlesAndLists(db, data);
            writeConfiguration(db);
            writeUsersAndCompany(db);
            writeAccounting(db);
            for (const char* sql : kIndexes)
                exec(db, sql);
            for (const char* sql : kRestrictedViews)
                exec(db, sql);
            // Statistics, as a real server keeps them, so that the planner picks
            // the selective index of each look-up.
            exec(db, "ANALYZE");
        });
        buildFile(options.folder, kStatisticsDatabase, [](sqlite3* db) {
            exec(db, createTableSql(configurationTable()));
            exec(db, "CREATE INDEX IX_Configuracion_Clave ON TA_CONFIGURACION (CLAVE, GRUPO)");
            insertRows(db, "TA_CONFIGURACION", {"GRUPO", "CLAVE", "VALOR", "VALORAUX", "PoliticaNegocio"},
                       {{text("BaseDeDatos"), text("TIMEOUT"), text("30"), text(""), 0LL}});
        });
        result.articles = articles;
        result.historyRows = static_cast<long long>(data.events.size());
        result.ok = true;
    } catch (const std::exception& e) {
        QFile::remove(partMain);
        QFile::remove(partStats);
        result.error = QString::fromStdString(e.what());
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

} // namespace demo
