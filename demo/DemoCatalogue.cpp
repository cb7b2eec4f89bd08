#include "demo/DemoCatalogue.h"

#include "demo/DemoSqlite.h"
#include "platform/db/sqlite/SqliteProcedures.h"

#include <string>
#include <utility>

namespace demo::detail {

namespace {

// A table of a code and a description, with its rows.
struct CodeTable
{
    const char* name;
    const char* code;
    const char* description;
    std::vector<std::pair<const char*, const char*>> rows;
};

const std::vector<CodeTable>& codeTables()
{
    static const std::vector<CodeTable> tables = {
        {"V_TA_Cpte", "Codigo", "Descripcion", {{"FA", "FACTURA A"}, {"FB", "FACTURA B"}, {"NC", "NOTA DE CREDITO"}}},
        {"TA_COMPROBANTES",
         "Codigo",
         "Descripcion",
         {{"FCA", "FACTURA A"}, {"FCB", "FACTURA B"}, {"REC", "RECIBO DE COBRANZA"}}},
        {"V_TA_PERCEPCION",
         "IDPERCEPCION",
         "DESCRIPCION",
         {{"   1", "PERCEPCION IVA RG 2408"}, {"   2", "PERCEPCION INGRESOS BRUTOS BS AS"}}},
        {"V_TA_RETENCIONES",
         "IDRETENCION",
         "DESCRIPCION",
         {{"   1", "RETENCION GANANCIAS"}, {"   2", "RETENCION INGRESOS BRUTOS"}}},
        {"V_ta_PoliticaPrecios",
         "codigo",
         "Descripcion",
         {{"   1", "PRECIO DE LISTA"}, {"   2", "PRECIO PROMOCIONAL"}}},
        {"V_TA_CATEGORIAARTICULO",
         "idcategoria",
         "DESCRIPCION",
         {{"   1", "PRIMERA MARCA"}, {"   2", "SEGUNDA MARCA"}, {"   3", "MARCA PROPIA"}}},
        {"V_TA_ORIGEN", "IDORIGEN", "DESCRIPCION", {{"   1", "NACIONAL"}, {"   2", "IMPORTADO"}}},
        {"V_TA_DESTINO", "IDDESTINO", "DESCRIPCION", {{"   1", "SALON DE VENTAS"}, {"   2", "CONSUMO INTERNO"}}},
        {"V_TA_CATEGORIA", "IDCATEGORIA", "DESCRIPCION", {{"   1", "CONSUMIDOR FINAL"}, {"   2", "MAYORISTA"}}},
        {"V_TA_MotivoStock",
         "IDMotivoStock",
         "DESCRIPCION",
         {{"   1", "AJUSTE POR INVENTARIO"}, {"   2", "ROTURA"}, {"   3", "VENCIMIENTO"}}},
        {"V_TA_Rubros",
         "IDRubro",
         "DESCRIPCION",
         {{"   1", "ALMACEN"}, {"   2", "BEBIDAS"}, {"   3", "LIMPIEZA"}, {"  12", "PERFUMERIA"}}},
        {"V_TA_TipoArticulo", "IDTIPO", "DESCRIPCION", {{"   1", "MERCADERIA"}, {"   2", "SERVICIO"}}},
        {"V_TA_Unidad", "IDUnidad", "DESCRIPCION", {{"   1", "UNIDAD"}, {"   2", "KILOGRAMO"}, {"   3", "LITRO"}}},
        {"V_TA_Tareas", "IDTarea", "DESCRIPCION", {{"   1", "REPOSICION DE GONDOLAS"}, {"   2", "CONTROL DE PRECIOS"}}},
        {"V_TA_Tecnicos", "IDTecnico", "NOMBRE", {{"   1", "PEREZ JUAN"}, {"   2", "GOMEZ MARIA"}}},
        {"V_TA_MotivoCpra",
         "IDMotivoCpra",
         "DESCRIPCION",
         {{"   1", "COMPRA DE MERCADERIA"}, {"   2", "COMPRA DE SERVICIOS"}}},
        {"V_TA_MotivoVta",
         "IDMotivoVta",
         "DESCRIPCION",
         {{"   1", "VENTA CONTADO"}, {"   2", "VENTA CUENTA CORRIENTE"}}},
        {"V_TA_Bancos", "IDBanco", "DESCRIPCION", {{"   1", "BANCO NACION"}, {"   2", "BANCO PROVINCIA"}}},
        {"P_TA_EstadoCivil", "IDEstadoCivil", "Descripcion", {{"   1", "SOLTERO"}, {"   2", "CASADO"}}},
        {"P_TA_Parentesco", "IDParentesco", "Descripcion", {{"   1", "CONYUGE"}, {"   2", "HIJO"}}},
        {"P_TA_ESTADOPOSTULANTE",
         "IDESTADOPOSTULANTE",
         "Descripcion",
         {{"   1", "PRESELECCIONADO"}, {"   2", "DESCARTADO"}}},
        {"P_TA_TITULOs", "IDTITULO", "Descripcion", {{"   1", "CONTADOR PUBLICO"}, {"   2", "TECNICO ELECTRONICO"}}},
        {"P_TA_IDIOMAS", "IDIDIOMA", "Descripcion", {{"   1", "INGLES"}, {"   2", "PORTUGUES"}}},
        {"P_TA_Areas", "IDAreas", "Descripcion", {{"   1", "ADMINISTRACION"}, {"   2", "DEPOSITO"}}},
        {"P_TA_EstadoBusqueda", "IDEstadoBusqueda", "Descripcion", {{"   1", "ABIERTA"}, {"   2", "CERRADA"}}},
        {"P_TA_Grupos", "IDGrupo", "Descripcion", {{"   1", "CAJEROS"}, {"   2", "REPOSITORES"}}},
        {"P_TA_MotivoEgreso", "IDMotivoEgreso", "Descripcion", {{"   1", "RENUNCIA"}, {"   2", "JUBILACION"}}},
        {"P_TA_ObraSocial", "IDObraSocial", "Descripcion", {{"   1", "OSECAC"}, {"   2", "OSDE"}}},
        {"P_TA_ZONARESIDENCIA", "IDZONARESIDENCIA", "Descripcion", {{"   1", "ZONA NORTE"}, {"   2", "ZONA OESTE"}}},
        {"P_MA_Empresas",
         "IDEmpresa",
         "NombreEmpresa",
         {{"   1", "LA ESPIGA S.A."}, {"   2", "LA ESPIGA NORTE S.R.L."}}},
        {"P_TA_FormasDePago", "IDFormasDePago", "Descripcion", {{"   1", "DEPOSITO BANCARIO"}, {"   2", "EFECTIVO"}}},
        {"P_TA_CentroMedico",
         "IDCentroMedico",
         "Descripcion",
         {{"   1", "CLINICA DEL SOL"}, {"   2", "HOSPITAL CENTRAL"}}},
        {"P_TA_Categorizacion", "IDCategorizacion", "Descripcion", {{"   1", "CATEGORIA A"}, {"   2", "CATEGORIA B"}}},
        {"P_TA_CONOCIMIENTOS",
         "IDCONOCIMIENTO",
         "Descripcion",
         {{"   1", "PLANILLAS DE CALCULO"}, {"   2", "AUTOELEVADOR"}}},
        {"P_TA_NIVELESTUDIO", "IDNIVELESTUDIO", "Descripcion", {{"   1", "SECUNDARIO"}, {"   2", "UNIVERSITARIO"}}},
        {"P_SINDICATOS", "IdSindicato", "Descripcion", {{"   1", "EMPLEADOS DE COMERCIO"}, {"   2", "CAMIONEROS"}}},
        {"P_TA_Funciones", "IDFunciones", "DESCRIPCION", {{"   1", "CAJERO"}, {"   2", "ENCARGADO DE SECTOR"}}},
        {"TA_Rubros", "IDRubro", "DESCRIPCION", {{"   1", "ALIMENTOS"}, {"   2", "BAZAR"}}},
        {"TA_TipoArticulo", "IDTIPO", "DESCRIPCION", {{"   1", "REVENTA"}, {"   2", "INSUMO"}}},
        {"TA_MotivoStock", "IDMotivoStock", "DESCRIPCION", {{"   1", "TRANSFERENCIA"}, {"   2", "DEVOLUCION"}}},
        {"TA_Deposito", "IDDeposito", "DESCRIPCION", {{"   1", "DEPOSITO PRINCIPAL"}, {"   2", "DEPOSITO FRIO"}}},
        {"TA_Categoria", "IDCategoria", "DESCRIPCION", {{"   1", "RESPONSABLE INSCRIPTO"}, {"   2", "MONOTRIBUTO"}}},
        {"P_MA_Clientes", "IDCLIENTE", "RAZON_SOCIAL", {{"   1", "COMEDOR ESCOLAR 12"}, {"   2", "CLUB ATLETICO SUR"}}},
        {"TA_Cpte", "CODIGO", "DESCRIPCION", {{"FC", "FACTURA"}, {"ND", "NOTA DE DEBITO"}}},
        {"V_TA_VENDEDORES",
         "idvendedor",
         "NOMBRE",
         {{"0001", "FERNANDEZ ROBERTO"}, {"0002", "LOPEZ JULIA"}, {"0003", "MARTINEZ PABLO"}}},
        {"MA_ARTICULOS",
         "IDARTICULO",
         "DESCRIPCION",
         {{"A-100", "HARINA 000 X 1 KG"}, {"A-200", "ACEITE GIRASOL X 1.5 L"}}},
        {"MA_CHOFERES", "CODIGO", "APELLIDO", {{"   1", "RODRIGUEZ"}, {"   2", "SOSA"}}},
        {"MA_DESTINATARIOS", "CODIGO", "NOMBRE", {{"   1", "SUCURSAL CENTRO"}, {"   2", "SUCURSAL NORTE"}}},
        {"MV_EJERCICIOS", "PERIODO", "DESCRIPCION", {{"2023", "EJERCICIO 2023"}, {"2024", "EJERCICIO 2024"}}},
        {"TA_ESTADOS", "CODIGO", "DESCRIPCION", {{"   1", "ACTIVO"}, {"   2", "SUSPENDIDO"}}},
        {"TA_CCOSTO", "CODIGO", "DESCRIPCION", {{"   1", "ADMINISTRACION"}, {"   2", "VENTAS"}}},
        {"TA_CLASIFICACIONES", "CODIGO", "DESCRIPCION", {{"   1", "CLIENTE FRECUENTE"}, {"   2", "CLIENTE OCASIONAL"}}},
        {"TA_TIPOVEHICULO", "CODIGO", "DESCRIPCION", {{"   1", "CAMION"}, {"   2", "UTILITARIO"}}},
        {"TA_MARCAVEHICULO", "CODIGO", "DESCRIPCION", {{"   1", "FORD"}, {"   2", "TOYOTA"}}},
        {"TA_PAISES", "CODIGO", "DESCRIPCION", {{"   1", "ARGENTINA"}, {"   2", "URUGUAY"}, {"   3", "CHILE"}}},
        {"TA_TIPICOS", "CODIGO", "DESCRIPCION", {{"   1", "FERIADO NACIONAL"}, {"   2", "DIA NO LABORABLE"}}},
        {"TA_TIPODOCUMENTO", "CODIGO", "DESCRIPCION", {{"   1", "DNI"}, {"   2", "CUIT"}, {"   3", "PASAPORTE"}}},
        {"MA_TRANSPORTES",
         "Codigo",
         "Razon_Social",
         {{"   1", "EXPRESO DEL SUR S.A."}, {"   2", "TRANSPORTES ANDINOS"}}},
        {"MA_CONTACTOS",
         "IdContacto",
         "Nombre_y_Apellido",
         {{"   1", "ANA BELEN SUAREZ"}, {"   2", "CARLOS ALBERTO RUIZ"}}},
        {"MA_CAMIONES", "Codigo", "nombre", {{"   1", "CAMION REPARTO 1"}, {"   2", "CAMION REPARTO 2"}}},
        {"VT_MP_PAGOS", "CodigoOpcional", "Descripcion", {{"EF", "EFECTIVO"}, {"TC", "TARJETA DE CREDITO"}}},
        {"V_TA_MOTIVOS", "CODIGO", "DESCRIPCION", {{"   1", "CAMBIO DE PRECIO"}, {"   2", "ERROR DE CARGA"}}},
    };
    return tables;
}

// The set-up columns of a reason for one VAT condition, after its key and the condition.
std::vector<std::string> reasonSetUpColumns(bool purchases)
{
    std::vector<std::string> columns = {
        "Repuestos",    "Servicios",     "Otros",         "V_DFI_CTAVTA",    "V_DFI_IMPINT",
        "V_DFI_PERCIB", "V_DFI_PERCIVA", "V_DFI_PERCGAN", "V_DFI_DESCUENTO", "C_CFI_CTACPRA",
        "C_CFI_IMPINT", "C_CFI_PERCIB",  "C_CFI_PERCIVA", "C_CFI_PERCGAN",   "C_CFI_DESCUENTO",
        "PG_DESCUENTO", "PG_RETGAN",     "PG_RETIB",      "PG_RETIVA",       "PG_ANTICIPOS",
        "CB_DESCUENTO", "CB_RETGAN",     "CB_RETIB",      "CB_RETIVA",       "CB_ANTICIPOS",
    };
    if (purchases) {
        for (const char* c : {"CFI_IVARI", "CFI_IVARNI", "C_CFI_IMPITC", "CFI_IVARI1", "CFI_IVARI2"})
            columns.push_back(c);
    } else {
        for (const char* c : {"DFI_IVARI", "DFI_IVARNI", "COSTO_MERCADERIA", "V_DFI_IMPITC"})
            columns.push_back(c);
    }
    return columns;
}

// Flags are bits; every other set-up column is an account.
std::string setUpType(const std::string& column)
{
    return column == "Repuestos" || column == "Servicios" || column == "Otros" || column == "COSTO_MERCADERIA"
               ? "bit"
               : "varchar(15)";
}

Table reasonTemplates(bool purchases)
{
    const std::string key = purchases ? "IdMotivoCpra" : "IdMotivoVta";
    Table table{purchases ? "V_TA_Input_Compras" : "V_TA_Input_Ventas",
                {{key, "varchar(15)", "NOT NULL"}, {"CondIva", "varchar(4)", "NOT NULL"}},
                key + ", CondIva",
                ""};
    for (const std::string& c : reasonSetUpColumns(purchases))
        table.columns.push_back({c, setUpType(c), ""});
    return table;
}

// Reasons 1 and 2, each with its set-up for the eight VAT conditions; reason
// 1 has the same accounts for every condition, as a new reason copies them.
void writeReasonTemplates(sqlite3* db, bool purchases)
{
    std::vector<std::string> columns = {purchases ? "IdMotivoCpra" : "IdMotivoVta", "CondIva"};
    const std::vector<std::string> setUp = reasonSetUpColumns(purchases);
    columns.insert(columns.end(), setUp.begin(), setUp.end());
    std::vector<Row> rows;
    for (int reason = 1; reason <= 2; ++reason) {
        for (int condition = 1; condition <= 8; ++condition) {
            Row row{"   " + std::to_string(reason), "   " + std::to_string(condition)};
            for (std::size_t i = 0; i < setUp.size(); ++i) {
                if (setUpType(setUp[i]) == "bit")
                    row.push_back(static_cast<long long>((i + reason) % 2));
                else if (i % 7 == 6)
                    row.push_back(nullptr);
                else
                    row.push_back((purchases ? "2.1." : "4.1.") + std::to_string(reason) + "." +
                                  std::to_string(reason == 1 ? 100 + i : 100 * condition + i));
            }
            rows.push_back(std::move(row));
        }
    }
    insertRows(db, purchases ? "V_TA_Input_Compras" : "V_TA_Input_Ventas", columns, rows);
}

} // namespace

std::vector<Table> catalogueTables()
{
    std::vector<Table> tables;
    for (const CodeTable& t : codeTables())
        tables.push_back(
            {t.name, {{t.code, "varchar(15)", "NOT NULL"}, {t.description, "varchar(60)", ""}}, t.code, ""});
    const std::vector<Table> others = {
        {"VT_CLIENTES",
         {{"Codigo", "varchar(15)", "NOT NULL"},
          {"Razon_Social", "varchar(100)", ""},
          {"TELEFONO", "varchar(50)", ""},
          {"IDVENDEDOR", "varchar(4)", ""},
          {"Dada_De_Baja", "bit", "NOT NULL DEFAULT 0"}},
         "Codigo",
         ""},
        {"VT_PROVEEDORES",
         {{"Codigo", "varchar(15)", "NOT NULL"},
          {"Razon_Social", "varchar(100)", ""},
          {"IDVENDEDOR", "varchar(4)", ""},
          {"Dada_De_Baja", "bit", "NOT NULL DEFAULT 0"}},
         "Codigo",
         ""},
        {"V_MV_CPTE",
         {{"ID", "integer", ""},
          {"IDCOMPROBANTE", "varchar(20)", "NOT NULL"},
          {"CUENTA", "varchar(15)", ""},
          {"NOMBRE", "varchar(100)", ""},
          {"TELEFONO", "varchar(50)", ""}},
         "ID",
         ""},
        {"V_TA_CPRA_VTA",
         {{"IDCOND_CPRA_VTA", "varchar(15)", "NOT NULL"},
          {"DESCRIPCION", "varchar(60)", ""},
          {"CantidadDias", "int", ""},
          {"HabilitadoPara", "varchar(2)", ""},
          {"DtoMaximo", "money", ""},
          {"FechaHora_Grabacion", "datetime", ""}},
         "IDCOND_CPRA_VTA",
         ""},
        {"V_MA_MANTENIMIENTOS",
         {{"CODIGO", "varchar(25)", "NOT NULL"}, {"DESCRIPCION", "varchar(60)", ""}, {"CUENTA", "varchar(15)", ""}},
         "CODIGO",
         ""},
        {"V_MV_COTIZAR",
         {{"ID", "integer", ""}, {"IDARTICULO", "varchar(15)", "NOT NULL"}, {"COT_OBSERVACIONES", "varchar(100)", ""}},
         "ID",
         ""},
        {"MA_MODELOS", {{"ID", "integer", ""}, {"NOMBRE", "varchar(50)", ""}, {"MARCA", "varchar(50)", ""}}, "ID", ""},
        {"MA_VEHICULOS",
         {{"PATENTE", "varchar(10)", "NOT NULL"},
          {"TIPO_VEHICULO", "varchar(30)", ""},
          {"MARCA", "varchar(30)", ""},
          {"MODELO", "varchar(30)", ""},
          {"TIPO", "varchar(20)", ""}},
         "PATENTE",
         ""},
        {"MV_PROYECTOS", {{"ID", "int", "NOT NULL"}, {"ASUNTO", "varchar(100)", ""}}, "ID", ""},
        reasonTemplates(false),
        reasonTemplates(true),
    };
    tables.insert(tables.end(), others.begin(), others.end());
    return tables;
}

void writeCatalogue(sqlite3* db)
{
    for (const CodeTable& t : codeTables()) {
        std::vector<Row> rows;
        for (const auto& [code, description] : t.rows)
            rows.push_back({text(code), text(description)});
        insertRows(db, t.name, {t.code, t.description}, rows);
    }
    // Clients: vendor 0002 has two; one is no longer a client. Telephones
    // with letters or fewer than six digits are not listed as telephones.
    insertRows(db, "VT_CLIENTES", {"Codigo", "Razon_Social", "TELEFONO", "IDVENDEDOR", "Dada_De_Baja"},
               {
                   {text("C0001"), text("ALMACEN DON PEPE"), text("011 4567-8901"), text("0002"), 0LL},
                   {text("C0002"), text("KIOSCO LA ESQUINA"), text("4567-89"), text("0001"), 0LL},
                   {text("C0003"), text("   "), text("0221 15 444 5566"), text("0002"), 0LL},
                   {text("C0004"), text("DESPENSA EL SOL"), text("12345"), text("0001"), 0LL},
                   {text("C0005"), text("MINIMERCADO ROSA"), text("int. 23 abc"), text("0001"), 0LL},
                   {text("C0006"), text("AUTOSERVICIO NORTE"), nullptr, text("0002"), 1LL},
               });
    insertRows(db, "VT_PROVEEDORES", {"Codigo", "Razon_Social", "IDVENDEDOR", "Dada_De_Baja"},
               {
                   {text("P0001"), text("MOLINOS DEL PLATA S.A."), text("0002"), 0LL},
                   {text("P0002"), text("DISTRIBUIDORA SUR"), text("0001"), 0LL},
                   {text("P0003"), text("LACTEOS DEL VALLE"), text("0002"), 1LL},
               });
    insertRows(db, "V_MV_CPTE", {"IDCOMPROBANTE", "CUENTA", "NOMBRE", "TELEFONO"},
               {
                   {text("FA0001-00000101"), text("C0001"), text("PEPE GARCIA"), text("011 4999-0001")},
                   {text("FA0001-00000101"), text("C0001"), text("PEPE GARCIA"), text("011 4999-0001")},
                   {text("FA0001-00000102"), text("C0001"), nullptr, text("011 4999-0002")},
                   {text("FA0001-00000103"), text("C0001"), text("PEPE GARCIA"), text("sin telefono")},
                   {text("FA0001-00000201"), text("C0002"), text("ROSA LUNA"), text("011 4888-7777")},
               });
    insertRows(db, "V_TA_CPRA_VTA",
               {"IDCOND_CPRA_VTA", "DESCRIPCION", "CantidadDias", "HabilitadoPara", "DtoMaximo", "FechaHora_Grabacion"},
               {
                   {text("   1"), text("CONTADO"), 0LL, text("VC"), 0.0, text("2023-01-02 00:00:00")},
                   {text("   2"), text("CUENTA CORRIENTE 30 DIAS"), 30LL, text("VC"), 5.0, text("2023-01-02 00:00:00")},
               });
    insertRows(db, "V_MA_MANTENIMIENTOS", {"CODIGO", "DESCRIPCION", "CUENTA"},
               {
                   {std::string(24, ' ') + "1", text("CAMBIO DE ACEITE"), text("C0001")},
                   {std::string(24, ' ') + "2", text("SERVICE DE HELADERA"), text("C0002")},
               });
    insertRows(db, "V_MV_COTIZAR", {"IDARTICULO", "COT_OBSERVACIONES"},
               {{text("1001"), text("COTIZACION MAYORISTA MARZO")}, {text("1002"), text("COTIZACION LICITACION")}});
    insertRows(db, "MA_MODELOS", {"NOMBRE", "MARCA"},
               {{text("HILUX"), text("TOYOTA")},
                {text("HILUX"), text("TOYOTA")},
                {text("RANGER"), text("FORD")},
                {text("AMAROK"), text("VOLKSWAGEN")}});
    insertRows(db, "MA_VEHICULOS", {"PATENTE", "TIPO_VEHICULO", "MARCA", "MODELO", "TIPO"},
               {
                   {text("AB123CD"), text("CAMIONETA"), text("TOYOTA"), text("HILUX"), text("PROPIO")},
                   {text("AC456EF"), text("CAMION"), text("MERCEDES BENZ"), text("ATEGO 1726"), text("TERCERO")},
                   {text("KLM012"), text("UTILITARIO"), text("RENAULT"), nullptr, text("PROPIO")},
               });
    insertRows(db, "MV_PROYECTOS", {"ID", "ASUNTO"},
               {{1LL, text("APERTURA SUCURSAL OESTE")}, {2LL, text("RENOVACION DE GONDOLAS")}});
    writeReasonTemplates(db, false);
    writeReasonTemplates(db, true);
}

void writeProcedures(sqlite3* db)
{
    exec(db, platform::db::sqlite::kProcedureTableSql);
    insertRows(db, platform::db::sqlite::kProcedureTable, {"NAME", "DEFINITION"},
               {{text("sp1_getCfg"), text("CREATE PROCEDURE [dbo].[sp1_getCfg]\r\n"
                                          "    @Campo varchar(50)\r\n"
                                          "AS\r\n"
                                          "SET NOCOUNT ON\r\n"
                                          "SELECT TOP 1 VALOR AS Valor, VALORAUX AS ValorAux\r\n"
                                          "FROM TA_CONFIGURACION\r\n"
                                          "WHERE CLAVE = @Campo\r\n"
                                          "ORDER BY ID\r\n")}});
}

} // namespace demo::detail
