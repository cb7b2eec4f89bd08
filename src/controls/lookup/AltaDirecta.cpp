#include "controls/lookup/AltaDirecta.h"

#include "controls/lookup/Ejecutar.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_Utilidades.h"

#include <utility>

namespace controls::busqueda {

namespace {

using platform::Variant;
using platform::db::DbError;
using platform::text::EqualsNoCase;
using platform::text::SqlQuoteInner;
using platform::text::Trim;

const QString kCrLf = QStringLiteral("\r\n");

struct TablaConAlta
{
    const char* tabla;
    const char* tarea;
    int largo;
};

const TablaConAlta kTablasConAlta[] = {
    {"TA_ESTADOS", "D010301", 4},         {"TA_CCOSTO", "D010301", 4},
    {"TA_CLASIFICACIONES", "D010301", 4}, {"TA_TIPOVEHICULO", "D010301", 4},
    {"TA_MARCAVEHICULO", "D010301", 4},   {"TA_PAISES", "D010301", 4},
    {"TA_TIPICOS", "D010301", 4},         {"TA_TIPODOCUMENTO", "D010301", 4},
    {"V_TA_Bancos", "D010301", 4},        {"V_Ta_Cajas", "D010301", 4},
    {"V_TA_Categoria", "D010301", 4},     {"V_TA_Cpra_Vta", "D010301", 4},
    {"V_TA_DEPOSITO", "D010301", 4},      {"V_TA_DESTINO", "D010301", 4},
    {"V_TA_MotivoCpra", "D010301", 4},    {"V_TA_MotivoStock", "D010301", 4},
    {"V_TA_MotivoVta", "D010301", 4},     {"V_TA_Origen", "D010301", 4},
    {"V_TA_Rubros", "D010301", 4},        {"V_TA_STATUS", "D010301", 4},
    {"V_TA_Tecnicos", "D010301", 4},      {"V_TA_TIPOACEITES", "D010301", 4},
    {"V_TA_TipoArticulo", "D010301", 4},  {"V_TA_Unidad", "D010301", 4},
    {"V_TA_UnidadNegocio", "D010301", 4}, {"V_MA_MANTENIMIENTOS", "D010180", 25},
    {"V_TA_VENDEDORES", "D010160", 4},
};

// The columns of a reason's template row after its key and VAT condition,
// as the sale and the purchase reasons name them.
const char* const kColumnasComunes[] = {
    "Repuestos",    "Servicios",     "Otros",         "V_DFI_CTAVTA",    "V_DFI_IMPINT",
    "V_DFI_PERCIB", "V_DFI_PERCIVA", "V_DFI_PERCGAN", "V_DFI_DESCUENTO", "C_CFI_CTACPRA",
    "C_CFI_IMPINT", "C_CFI_PERCIB",  "C_CFI_PERCIVA", "C_CFI_PERCGAN",   "C_CFI_DESCUENTO",
    "PG_DESCUENTO", "PG_RETGAN",     "PG_RETIB",      "PG_RETIVA",       "PG_ANTICIPOS",
    "CB_DESCUENTO", "CB_RETGAN",     "CB_RETIB",      "CB_RETIVA",       "CB_ANTICIPOS",
};
const char* const kColumnasVentas[] = {"DFI_IVARI", "DFI_IVARNI", "COSTO_MERCADERIA", "V_DFI_IMPITC"};
const char* const kColumnasCompras[] = {"CFI_IVARI", "CFI_IVARNI", "C_CFI_IMPITC", "CFI_IVARI1", "CFI_IVARI2"};

// A template value as the insert writes it: texts between apostrophes with
// Null as the empty text; other values in a form the data base reads as the
// same value (a bit as 1 or 0), Null as NULL.
QString literal(const Variant& valor, int tipo)
{
    if (platform::db::isTextType(tipo))
        return u'\'' + SqlQuoteInner(valor.toText()) + u'\'';
    if (valor.isBlank())
        return QStringLiteral("NULL");
    if (valor.type() == platform::VariantType::Boolean)
        return *valor.toBoolean() ? QStringLiteral("'1'") : QStringLiteral("'0'");
    return u'\'' + SqlQuoteInner(valor.toText()) + u'\'';
}

// Digits only, after the blanks around them; nullopt for any other code.
std::optional<QString> numero(const QString& codigo)
{
    QString t = Trim(codigo);
    if (t.isEmpty())
        return std::nullopt;
    for (QChar ch : t)
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
    while (t.size() > 1 && t.front() == u'0')
        t.remove(0, 1);
    return t;
}

bool mayor(const QString& a, const QString& b)
{
    return a.size() != b.size() ? a.size() > b.size() : a > b;
}

// The decimal digits of a number plus one.
QString siguiente(QString digitos)
{
    for (qsizetype i = digitos.size() - 1; i >= 0; --i) {
        if (digitos[i] != u'9') {
            digitos[i] = QChar(digitos[i].unicode() + 1);
            return digitos;
        }
        digitos[i] = u'0';
    }
    return u'1' + digitos;
}

} // namespace

std::optional<PermisoAlta> PermisoDeAlta(const QString& Tabla)
{
    for (const TablaConAlta& t : kTablasConAlta)
        if (EqualsNoCase(Trim(Tabla), QString::fromLatin1(t.tabla)))
            return PermisoAlta{QString::fromLatin1(t.tarea), t.largo};
    return std::nullopt;
}

QString SiguienteCodigo(const QStringList& codigos, int largo)
{
    std::optional<QString> maximo;
    for (const QString& c : codigos)
        if (const auto n = numero(c); n && (!maximo || mayor(*n, *maximo)))
            maximo = n;
    return (maximo ? siguiente(*maximo) : QStringLiteral("1")).rightJustified(largo, u' ');
}

AltaDirecta::AltaDirecta(platform::db::Connection& cn, platform::Dll_Utilidades& utilidades, Catalogo catalogo,
                         int largo, QString Cuenta, QDate hoy)
    : m_cn(cn), m_utilidades(utilidades), m_c(std::move(catalogo)), m_largo(largo), m_cuenta(std::move(Cuenta)),
      m_hoy(hoy)
{
}

QString AltaDirecta::sentenciaAlta(const QString& codigo, const QString& descripcion) const
{
    const QString cabeza =
        QStringLiteral("INSERT INTO ") + m_c.Tabla + u'(' + m_c.CampoCodigo + u',' + m_c.CampoDescripcion;
    const QString valores =
        QStringLiteral("VALUES ('") + SqlQuoteInner(codigo) + QStringLiteral("','") + SqlQuoteInner(descripcion);
    if (EqualsNoCase(Trim(m_c.Tabla), u"V_TA_Cpra_Vta"))
        return cabeza + QStringLiteral(",CantidadDias,HabilitadoPara,DtoMaximo,FechaHora_Grabacion) ") + valores +
               QStringLiteral("',1,'VC',100,'") + m_hoy.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral("')");
    if (EqualsNoCase(Trim(m_c.Tabla), u"V_MA_MANTENIMIENTOS"))
        return cabeza + QStringLiteral(", CUENTA) ") + valores + QStringLiteral("','") + SqlQuoteInner(Trim(m_cuenta)) +
               QStringLiteral("')");
    return cabeza + QStringLiteral(") ") + valores + QStringLiteral("')");
}

QString AltaDirecta::lotePlantillas(const QString& codigo)
{
    const bool ventas = EqualsNoCase(Trim(m_c.Tabla), u"V_TA_MotivoVta");
    if (!ventas && !EqualsNoCase(Trim(m_c.Tabla), u"V_TA_MotivoCpra"))
        return {};
    const auto rs = Ejecutar(m_cn, ventas ? QStringLiteral("SELECT top 1 * FROM V_TA_Input_Ventas order by "
                                                           "idMotivoVta asc")
                                          : QStringLiteral("SELECT top 1 * FROM V_TA_Input_compras order by "
                                                           "idMotivoCpra asc"));
    if (rs->State() != platform::db::adStateOpen || rs->Eof())
        return {};
    QStringList columnas{ventas ? QStringLiteral("IdMotivoVta") : QStringLiteral("IdMotivoCpra"),
                         QStringLiteral("CondIva")};
    QStringList copiados;
    const auto copiar = [&](const char* columna) {
        columnas << QString::fromLatin1(columna);
        platform::db::Field f = rs->Fields(QString::fromLatin1(columna));
        copiados << literal(m_utilidades.ValorCampo(f.Value()), f.Type());
    };
    for (const char* c : kColumnasComunes)
        copiar(c);
    if (ventas)
        for (const char* c : kColumnasVentas)
            copiar(c);
    else
        for (const char* c : kColumnasCompras)
            copiar(c);
    QStringList nombres;
    for (const QString& c : columnas)
        nombres << u'[' + c + u']';
    const QString cabeza =
        QStringLiteral("INSERT INTO ") +
        (ventas ? QStringLiteral("[dbo].[V_TA_Input_Ventas]") : QStringLiteral("V_TA_Input_Compras")) +
        QStringLiteral(" (") + nombres.join(QStringLiteral(", ")) + QStringLiteral(") VALUES ('") +
        SqlQuoteInner(codigo) + QStringLiteral("', '");
    QString lote;
    for (int condicion = 1; condicion <= 8; ++condicion)
        lote += kCrLf + cabeza + QStringLiteral("   ") + QString::number(condicion) + QStringLiteral("', ") +
                copiados.join(QStringLiteral(", ")) + u')';
    return lote;
}

AltaDirecta::Resultado AltaDirecta::Agregar(const QString& tecleado)
{
    Resultado r;
    const QString texto = Trim(tecleado);
    if (Trim(m_c.Tabla).isEmpty() || texto.isEmpty())
        return r;
    bool enTransaccion = false;
    try {
        const QString duplicado = QStringLiteral("SELECT ") + m_c.CampoDescripcion + QStringLiteral(" FROM ") +
                                  m_c.Tabla + QStringLiteral(" where ltrim(rtrim(") + m_c.CampoDescripcion +
                                  QStringLiteral(")) = '") + SqlQuoteInner(texto) + QStringLiteral("' ");
        if (!Ejecutar(m_cn, duplicado)->Eof()) {
            r.fin = Fin::Duplicado;
            return r;
        }
        const QString C = m_c.CampoCodigo;
        const auto codigos =
            Ejecutar(m_cn, QStringLiteral("SELECT ") + C + QStringLiteral(" FROM ") + m_c.Tabla +
                               QStringLiteral(" where ltrim(rtrim(") + C + QStringLiteral(")) <> '' and ltrim(rtrim(") +
                               C + QStringLiteral(")) not like '%[^0-9]%' "));
        QStringList existentes;
        for (; !codigos->Eof(); codigos->MoveNext())
            existentes << codigos->value(0).toText();
        r.codigo = SiguienteCodigo(existentes, m_largo);
        const QString descripcion = m_utilidades.QuitarCaracteres(m_utilidades.AjustarLargo(texto, 50),
                                                                  QStringLiteral(","), QStringLiteral("'"));
        r.sentencia = sentenciaAlta(r.codigo, descripcion);
        m_cn.BeginTrans();
        enTransaccion = true;
        int64_t escritas = 0;
        Ejecutar(m_cn, r.sentencia, &escritas);
        if (escritas < 1) {
            m_cn.RollbackTrans();
            r.fin = Fin::SinFila;
            return r;
        }
        if (const QString lote = lotePlantillas(r.codigo); !lote.isEmpty())
            Ejecutar(m_cn, lote);
        m_cn.CommitTrans();
        r.fin = Fin::Hecha;
    } catch (const DbError& e) {
        if (enTransaccion) {
            try {
                m_cn.RollbackTrans();
            } catch (const DbError&) {
                // The failure reported is the one that stopped the addition.
            }
        }
        r.fin = Fin::Error;
        r.error = platform::ErrObject(e);
    }
    return r;
}

} // namespace controls::busqueda
