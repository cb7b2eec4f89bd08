#include "demo/DemoRows.h"

#include "demo/DemoBuilder.h"
#include "demo/DemoCalendar.h"
#include "demo/DemoSqlite.h"

#include <QString>

#include <string>
#include <vector>

namespace demo::detail {

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
        {"DeshabilitaBusquedaCodigoArt", "NO"},
        {"DeshabilitaBusquedaCodigo", "NO"},
    };
    std::vector<Row> rows;
    for (const auto& entry : datos)
        rows.push_back({text("DATOS"), text(entry[0]), text(entry[1]), text(""), 0LL});
    // A message whose text is kept in VALORAUX.
    rows.push_back({text("DATOS"), text("Mensaje_Bienvenida"), text(""), text("Bienvenido a La Espiga"), 0LL});
    insertRows(db, "TA_CONFIGURACION", {"GRUPO", "CLAVE", "VALOR", "VALORAUX", "PoliticaNegocio"}, rows);
}

void writeUsersAndCompany(sqlite3* db)
{
    auto password = [](const char* plain) { return Value(storedPassword(QString::fromUtf8(plain)).toStdString()); };
    // The salesman is vendor 0002: the look-up box shows him only his clients.
    insertRows(
        db, "TA_USUARIOS",
        {"NOMBRE", "SISTEMA", "Password", "Administrador", "UNegocio", "CLASEPUSA", "verproforma", "IdVendedor"},
        {
            {text(kDemoUser), text("cn000pr"), Value(demoPasswordStored().toStdString()), 1LL, text("   1"),
             text("1,2,3,4,5,6,7,8"), 1LL, text("")},
            {text("vendedor"), text("ORVO"), password("vendedor"), 0LL, text("2"), text("1,2"), 0LL, text("0002")},
            {text("cajero"), text("VENTAS"), password("cajero"), 0LL, text("   1"), text("1"), 0LL, nullptr},
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
                   // Rights to add rows from the look-up box: maintenances and salesmen.
                   {text(kDemoUser), text("D010180")},
                   {text("vendedor"), text("D010160")},
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
    // The look-up box reads accounts by Codigo and leaves out titles, accounts
    // no longer used and, for cash and banks, the means of payment.
    insertRows(
        db, "MA_CUENTAS",
        {"IdCuenta", "Descripcion", "Confidencial", "Codigo", "MEDIODEPAGO", "TIPOVISTA", "TITULO", "CAJAYBANCO",
         "Dada_De_Baja"},
        {
            {text("1.1.01.001"), text("Caja"), 0LL, text("1.1.01.001"), text(""), nullptr, 0LL, 1LL, 0LL},
            {text("1.1.02.001"), text("Banco cuenta corriente"), 0LL, text("1.1.02.001"), nullptr, nullptr, 0LL, 1LL,
             0LL},
            {text("4.1.01.001"), text("Ventas de mercaderías"), 0LL, text("4.1.01.001"), nullptr, nullptr, 0LL, 0LL,
             0LL},
            {text("5.1.01.001"), text("Costo de mercaderías vendidas"), 0LL, text("5.1.01.001"), nullptr, nullptr, 0LL,
             0LL, 0LL},
            {text("5.2.03.001"), text("Sueldos de gerencia"), 1LL, text("5.2.03.001"), nullptr, nullptr, 0LL, 0LL, 0LL},
            {text("1"), text("Activo"), 0LL, text("1"), nullptr, nullptr, 1LL, 0LL, 0LL},
            {text("1.1.03.001"), text("Tarjetas de crédito a cobrar"), 0LL, text("1.1.03.001"), text("TC"), nullptr,
             0LL, 1LL, 0LL},
            {text("1.1.04.001"), text("Retenciones de ingresos brutos"), 0LL, text("1.1.04.001"), text("RI"), nullptr,
             0LL, 0LL, 0LL},
            {text("1.1.05.001"), text("Caja chica sucursal cerrada"), 0LL, text("1.1.05.001"), nullptr, nullptr, 0LL,
             1LL, 1LL},
            {text("3.1.01.001"), text("Resultados del ejercicio"), 0LL, text("3.1.01.001"), nullptr, text("R"), 0LL,
             0LL, 0LL},
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

} // namespace demo::detail
