#include "demo/DemoSchema.h"

#include "platform/db/sqlite/SqliteExtensions.h"

#include <cstdlib>

namespace demo::detail {

namespace {

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

} // namespace

std::string createTableSql(const Table& table)
{
    std::string sql = "CREATE TABLE " + table.name + " (\n";
    std::vector<std::string> parts;
    // A key of one whole-number column is an identity: SQLite's AUTOINCREMENT
    // never hands out a value again after its row is deleted.
    bool identity = false;
    for (const Column& column : table.columns) {
        std::string part = "  " + column.name + " " + column.type;
        if (isTextType(column.type))
            part += std::string(" COLLATE ") + platform::db::sqlite::kTextCollation;
        if (column.name == table.primaryKey && column.type == "integer") {
            part += " CONSTRAINT PK_" + table.name + " PRIMARY KEY AUTOINCREMENT";
            identity = true;
        }
        if (!column.extra.empty())
            part += " " + column.extra;
        parts.push_back(part);
    }
    if (!table.primaryKey.empty() && !identity)
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
          {"verproforma", "bit", "NOT NULL DEFAULT 0"},
          {"IdVendedor", "varchar(4)", ""}},
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
          {"Confidencial", "bit", "NOT NULL DEFAULT 0"},
          {"Codigo", "varchar(15)", ""},
          {"MEDIODEPAGO", "varchar(2)", ""},
          {"TIPOVISTA", "varchar(2)", ""},
          {"TITULO", "bit", "NOT NULL DEFAULT 0"},
          {"CAJAYBANCO", "bit", "NOT NULL DEFAULT 0"},
          {"Dada_De_Baja", "bit", "NOT NULL DEFAULT 0"}},
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

} // namespace demo::detail
