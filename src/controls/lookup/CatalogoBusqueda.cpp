#include "controls/lookup/CatalogoBusqueda.h"

#include "platform/core/Text.h"

#include <QStringList>

namespace controls::busqueda {

namespace {

using platform::text::EqualsNoCase;
using platform::text::InStr;
using platform::text::Left;
using platform::text::Mid;
using platform::text::SqlQuoteInner;
using platform::text::Trim;

enum class Efecto {
    Ninguno,
    Telefonos,    // the table becomes the telephones' derived table
    Comprobantes, // the caller's name becomes "VT_TA_Cpte"
    Articulos,    // stops when the article look-up is disabled
};

// A rule for one table name: its description and code columns.
struct Regla
{
    const char* nombre;
    const char* descripcion;
    const char* codigo;
    Efecto efecto = Efecto::Ninguno;
};

// The rules for single names, in the order of the rule list. The families
// below name other tables, so no name is matched by both.
const Regla kNombres[] = {
    {"vt_clientes", "Razon_Social", "Codigo"},
    {"vt_proveedores", "Razon_Social", "Codigo"},
    {"VT_CLIENTES_TEL", "TELEFONO", "CODIGO", Efecto::Telefonos},
    {"V_TA_Cpte", "Descripcion", "Codigo", Efecto::Comprobantes},
    {"TA_COMPROBANTES", "Descripcion", "Codigo", Efecto::Comprobantes},
    {"V_TA_PERCEPCION", "DESCRIPCION", "IDPERCEPCION"},
    {"V_TA_RETENCIONES", "DESCRIPCION", "IDRETENCION"},
    {"V_TA_UNIDADNEGOCIO", "DESCRIPCION", "CODIGO"},
    {"V_ta_PoliticaPrecios", "Descripcion", "codigo"},
    {"V_TA_CATEGORIAARTICULO", "DESCRIPCION", "idcategoria"},
    {"P_SINDICATOS", "Descripcion", "IdSindicato"},
    {"P_TA_Funciones", "DESCRIPCION", "IDFunciones"},
    {"P_MA_Clientes", "RAZON_SOCIAL", "IDCLIENTE"},
    {"TA_Cpte", "DESCRIPCION", "CODIGO"},
    {"V_MA_MANTENIMIENTOS", "DESCRIPCION", "CODIGO"},
    {"V_TA_VENDEDORES", "NOMBRE", "idvendedor"},
    {"V_MA_ARTICULOS", "DESCRIPCION", nullptr, Efecto::Articulos},
    {"V_MV_COTIZAR", "COT_OBSERVACIONES", "IDARTICULO"},
    {"MA_ARTICULOS", "DESCRIPCION", nullptr},
    {"MA_MODELOS", "NOMBRE", "NOMBRE"},
    {"MA_CHOFERES", "APELLIDO", "CODIGO"},
    {"MA_DESTINATARIOS", "NOMBRE", "CODIGO"},
    {"MA_VEHICULOS", "PATENTE,TIPO_VEHICULO,MARCA,MODELO,TIPO", "PATENTE"},
    {"MV_EJERCICIOS", "DESCRIPCION", "PERIODO"},
    {"TA_USUARIOS", "NOMBRE", "NOMBRE"},
};

// A family member: its code column is derived from the name unless given.
struct Miembro
{
    const char* nombre;
    const char* codigo = nullptr;
};

const Miembro kFamiliaVTA[] = {
    {"V_TA_ORIGEN"},
    {"V_TA_DESTINO"},
    {"V_TA_CATEGORIA"},
    {"V_TA_CPRA_VTA", "IDCOND_CPRA_VTA"},
    {"V_TA_MotivoStock"},
    {"V_TA_Rubros"},
    {"V_TA_TipoArticulo", "IDTIPO"},
    {"V_TA_Unidad"},
    {"V_TA_Tareas"},
    {"V_TA_Tecnicos"},
    {"V_TA_Deposito"},
    {"V_TA_MotivoCpra"},
    {"V_TA_MotivoVta"},
    {"V_TA_Bancos"},
    {"V_TA_Cajas", "IDCajas"},
};

const Miembro kFamiliaP[] = {
    {"P_TA_EstadoCivil"},  {"P_TA_Parentesco"},   {"P_TA_ESTADOPOSTULANTE"}, {"P_TA_TITULOs"},
    {"P_TA_IDIOMAS"},      {"P_TA_Areas"},        {"P_TA_EstadoBusqueda"},   {"P_TA_Grupos"},
    {"P_TA_MotivoEgreso"}, {"P_TA_ObraSocial"},   {"P_TA_ZONARESIDENCIA"},   {"P_MA_Empresas"},
    {"P_TA_FormasDePago"}, {"P_TA_CentroMedico"}, {"P_TA_Categorizacion"},   {"P_TA_CONOCIMIENTOS"},
    {"P_TA_NIVELESTUDIO"},
};

const Miembro kFamiliaTA[] = {
    {"TA_Rubros"}, {"TA_TipoArticulo", "IDTIPO"}, {"TA_MotivoStock"}, {"TA_Deposito"}, {"TA_Categoria"},
};

template <std::size_t N> const Miembro* miembro(const Miembro (&familia)[N], const QString& nombre)
{
    for (const Miembro& m : familia)
        if (EqualsNoCase(nombre, QString::fromLatin1(m.nombre)))
            return &m;
    return nullptr;
}

// The first six characters in capitals.
QString inicio(const QString& nombre)
{
    return Left(nombre, 6).toUpper();
}

bool empieza(const QString& nombre, const char* prefijo)
{
    return nombre.startsWith(QLatin1String(prefijo), Qt::CaseInsensitive);
}

void columnas(Catalogo& c, const QString& descripcion, const QString& codigo)
{
    c.CampoDescripcion = descripcion;
    c.CampoCodigo = codigo;
}

// The rule list: the first rule that matches `nombre` sets the catalogue.
void primerPaso(QString& TB, const QString& nombre, Catalogo& c, Decision& d, bool deshabilitado, const QString& Cuenta)
{
    for (const Regla& r : kNombres) {
        if (!EqualsNoCase(nombre, QString::fromLatin1(r.nombre)))
            continue;
        if (r.efecto == Efecto::Articulos && deshabilitado) {
            d.disponible = false;
            d.detenida = true;
            return;
        }
        const QString prefijo = empieza(nombre, "V_MA_") ? QStringLiteral("V_MA_") : QStringLiteral("MA_");
        columnas(c, QString::fromLatin1(r.descripcion),
                 r.codigo ? QString::fromLatin1(r.codigo) : CodigoDerivado(nombre, prefijo));
        if (r.efecto == Efecto::Telefonos) {
            c.Tabla = TablaTelefonos(Cuenta);
            TB = c.Tabla;
        } else if (r.efecto == Efecto::Comprobantes) {
            TB = QStringLiteral("VT_TA_Cpte");
        }
        return;
    }
    if (const Miembro* m = miembro(kFamiliaVTA, nombre)) {
        columnas(c, EqualsNoCase(nombre, u"V_TA_Tecnicos") ? QStringLiteral("NOMBRE") : QStringLiteral("DESCRIPCION"),
                 m->codigo ? QString::fromLatin1(m->codigo) : CodigoDerivado(nombre, QStringLiteral("V_TA_")));
        return;
    }
    if (miembro(kFamiliaP, nombre)) {
        // The part from the sixth character on; P_TA_Areas keeps its final S.
        QString parte = Mid(nombre, 6);
        if (!EqualsNoCase(nombre, u"P_TA_Areas") && parte.endsWith(u's', Qt::CaseInsensitive))
            parte.chop(1);
        columnas(
            c, EqualsNoCase(nombre, u"P_MA_Empresas") ? QStringLiteral("NombreEmpresa") : QStringLiteral("Descripcion"),
            QStringLiteral("ID") + parte);
        return;
    }
    if (const Miembro* m = miembro(kFamiliaTA, nombre)) {
        columnas(c, QStringLiteral("DESCRIPCION"),
                 m->codigo ? QString::fromLatin1(m->codigo) : CodigoDerivado(nombre, QStringLiteral("TA_")));
        return;
    }
    const qsizetype ta = InStr(nombre, u"TA_");
    if (ta == 1 || ta == 5) {
        columnas(c, QStringLiteral("DESCRIPCION"), QStringLiteral("CODIGO"));
        QString tabla = nombre;
        if (empieza(tabla, "FIS_"))
            tabla = Mid(tabla, 5);
        if (EqualsNoCase(tabla, u"TA_COMPROBANTES_1"))
            tabla = QStringLiteral("TA_COMPROBANTES");
        c.Tabla = tabla;
        TB = tabla;
        return;
    }
    if (empieza(nombre, "MA_")) {
        static const QStringList razonSocial = {QStringLiteral("MA_PRO"), QStringLiteral("MA_VEN"),
                                                QStringLiteral("MA_TRA"), QStringLiteral("MA_CON"),
                                                QStringLiteral("MA_AGE"), QStringLiteral("MA_CLI")};
        columnas(c,
                 razonSocial.contains(inicio(nombre)) ? QStringLiteral("Razon_Social") : QStringLiteral("Descripcion"),
                 QStringLiteral("Codigo"));
        return;
    }
    if (empieza(nombre, "[MA")) {
        if (inicio(nombre) == u"[MA_CA")
            columnas(c, QStringLiteral("nombre"), QStringLiteral("Codigo"));
        return;
    }
    if (empieza(nombre, "MV_")) {
        if (inicio(nombre) == u"MV_PRO")
            columnas(c, QStringLiteral("ASUNTO"), QStringLiteral("ID"));
        return;
    }
    if (EqualsNoCase(nombre, u"SERIE") || EqualsNoCase(nombre, u"MPAGO")) {
        columnas(c, QStringLiteral("Descripcion"), QStringLiteral("CodigoOpcional"));
        c.Tabla = QStringLiteral("VT_MP_PAGOS");
    } else if (EqualsNoCase(nombre, u"TC")) {
        columnas(c, QStringLiteral("DESCRIPCION"), QStringLiteral("CODIGO"));
        c.Tabla = QStringLiteral("TA_COMPROBANTES");
        TB = c.Tabla;
    } else if (EqualsNoCase(nombre, u"V_TA_MOTIVOS")) {
        columnas(c, QStringLiteral("DESCRIPCION"), QStringLiteral("CODIGO"));
        c.Tabla = TB;
    } else if (EqualsNoCase(nombre, u"FECHA")) {
        d.fecha = true;
    } else {
        d.disponible = false;
    }
}

// The second step, by the table the first one left.
void segundoPaso(const QString& pasado, Catalogo& c, Decision& d)
{
    c.CondicionExtra.clear();
    const QString& t = c.Tabla;
    if (EqualsNoCase(t, u"MA_CUENTAS_CAJAYBANCO")) {
        c.Tabla = QStringLiteral("MA_CUENTAS");
        c.CondicionExtra =
            QStringLiteral("and (MEDIODEPAGO='' or MEDIODEPAGO IS NULL) and titulo = 0 AND CAJAYBANCO = 1");
        d.disponible = true;
    } else if (EqualsNoCase(t, u"MA_CUENTAS")) {
        c.CondicionExtra = QStringLiteral(" and Dada_De_Baja = 0 ");
        d.disponible = true;
    } else if (EqualsNoCase(t, u"MA_CUENTAS/SOLOIMPUTABLES")) {
        c.Tabla = QStringLiteral("MA_CUENTAS");
        c.CondicionExtra = QStringLiteral(
            " and (TIPOVISTA IS NULL OR TIPOVISTA = '') AND (MEDIODEPAGO IS NULL OR MEDIODEPAGO = '' OR "
            "MEDIODEPAGO = 'RI' OR MEDIODEPAGO = 'RG' OR MEDIODEPAGO = 'RB')  AND TITULO = 0 AND Dada_De_Baja = 0 ");
        d.disponible = true;
    } else if (EqualsNoCase(t, u"VT_PROVEEDORES") || EqualsNoCase(t, u"VT_CLIENTES")) {
        c.CondicionExtra = QStringLiteral("and Dada_De_Baja = 0");
        d.filtroVendedor = true;
    } else if (EqualsNoCase(t, u"V_MA_ARTICULOS") || EqualsNoCase(t, u"VT_MA_ARTICULOS")) {
        c.CondicionExtra = QStringLiteral("and SUSPENDIDO = 0");
        d.disponible = true;
    } else if (EqualsNoCase(t, u"MA_CONTACTOS")) {
        columnas(c, QStringLiteral("Nombre_y_Apellido"), QStringLiteral("IdContacto"));
        d.disponible = true;
    } else if (EqualsNoCase(t, u"V_TA_FAMILIAS")) {
        columnas(c, QStringLiteral("DESCRIPCION"), QStringLiteral("IDFAMILIA"));
        c.Tabla = pasado;
        d.disponible = true;
    }
}

} // namespace

QString CodigoDerivado(const QString& nombre, const QString& prefijo)
{
    const qsizetype en = InStr(nombre, prefijo);
    QString parte = en > 0 ? Mid(nombre, en + prefijo.size()) : nombre;
    if (parte.endsWith(u's', Qt::CaseInsensitive))
        parte.chop(1);
    return QStringLiteral("ID") + parte;
}

QString TablaTelefonos(const QString& Cuenta)
{
    const QString p = QStringLiteral(
        "TELEFONO IS NOT NULL AND TELEFONO NOT LIKE '%[a-zA-Z]%' AND "
        "(LEN(TELEFONO) - LEN(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE("
        "TELEFONO,'0',''),'1',''),'2',''),'3',''),'4',''),'5',''),'6',''),'7',''),'8',''),'9',''))) >= 6");
    return QStringLiteral("(SELECT CODIGO, (TELEFONO + ISNULL(' - ' + NULLIF(LTRIM(RTRIM(RAZON_SOCIAL)), ''), '')) "
                          "AS TELEFONO FROM VT_CLIENTES WHERE ") +
           p +
           QStringLiteral(" UNION SELECT DISTINCT IDCOMPROBANTE AS CODIGO, (TELEFONO + ISNULL(' - ' + "
                          "NULLIF(LTRIM(RTRIM(NOMBRE)), ''), '')) AS TELEFONO FROM V_MV_CPTE WHERE CUENTA = '") +
           SqlQuoteInner(Trim(Cuenta)) + QStringLiteral("' AND ") + p + QStringLiteral(") AS X");
}

Decision AplicarReglas(QString& TB, Catalogo& c, bool DeshabilitarBCArticulos, const QString& Cuenta)
{
    const QString pasado = TB;
    const QString nombre = Trim(TB);
    c.Tabla = nombre;
    Decision d;
    primerPaso(TB, nombre, c, d, DeshabilitarBCArticulos, Cuenta);
    if (!d.detenida)
        segundoPaso(pasado, c, d);
    return d;
}

} // namespace controls::busqueda
