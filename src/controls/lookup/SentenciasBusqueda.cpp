#include "controls/lookup/SentenciasBusqueda.h"

#include "platform/core/Text.h"

namespace controls::busqueda {

using platform::text::EqualsNoCase;
using platform::text::SqlQuoteInner;
using platform::text::Trim;

ConsultaBusqueda SentenciaBusqueda(const Catalogo& c, const QString& Buscar, const QString& lista)
{
    const QString b = SqlQuoteInner(QString(Buscar).replace(u' ', u'%'));
    const QString& D = c.CampoDescripcion;
    const QString& C = c.CampoCodigo;
    ConsultaBusqueda q;
    if (!Trim(lista).isEmpty()) {
        q.sql = QStringLiteral("select top 100 DESCRIPCION, v_ma_articulos.IDarticulo from v_ma_articulos inner join "
                               "v_ma_precios on v_ma_articulos.idarticulo = v_ma_precios.idarticulo and idlista = '") +
                SqlQuoteInner(lista) + QStringLiteral("'   where (v_ma_articulos.idarticulo like '%") + b +
                QStringLiteral("%' or Descripcion like '%") + b + QStringLiteral("%')  ") + c.CondicionExtra +
                QStringLiteral(" order by DESCRIPCION ");
        q.descripcion = QStringList{QStringLiteral("DESCRIPCION")};
        q.codigo = QStringLiteral("IDarticulo");
    } else if (EqualsNoCase(c.Tabla, u"MA_MODELOS")) {
        q.sql = QStringLiteral("select top 100 NOMBRE from MA_MODELOS where NOMBRE like '%") + b +
                QStringLiteral("%'  GROUP BY NOMBRE ");
        q.descripcion = QStringList{QStringLiteral("NOMBRE")};
        q.codigo = QStringLiteral("NOMBRE");
    } else if (D.contains(u',')) {
        // A LIKE cannot take a list of columns: the code column is searched
        // and the columns are shown together.
        q.descripcion = D.split(u',', Qt::SkipEmptyParts);
        for (QString& column : q.descripcion)
            column = Trim(column);
        QString select = q.descripcion.join(u',');
        if (!q.descripcion.contains(Trim(C), Qt::CaseInsensitive))
            select += u',' + C;
        q.sql = QStringLiteral("select top 100 ") + select + QStringLiteral(" from ") + c.Tabla +
                QStringLiteral(" where (") + C + QStringLiteral(" like '%") + b + QStringLiteral("%' )  ") +
                c.CondicionExtra + QStringLiteral(" order by ") + q.descripcion.front();
        q.codigo = C;
    } else {
        q.sql = QStringLiteral("select top 100 ") + D + u',' + C + QStringLiteral(" from ") + c.Tabla +
                QStringLiteral(" where (") + D + QStringLiteral(" like '%") + b + QStringLiteral("%' or ") + C +
                QStringLiteral(" like '%") + b + QStringLiteral("%' )  ") + c.CondicionExtra +
                QStringLiteral(" order by ") + D;
        q.descripcion = QStringList{D};
        q.codigo = C;
    }
    return q;
}

QString SentenciaVendedor(const QString& Usuario)
{
    return QStringLiteral("SELECT * FROM ta_USUARIOS where LTRIM(RTRIM(NOMBRE)) = '") + SqlQuoteInner(Usuario) + u'\'';
}

QString SentenciaTarea(const QString& tarea, const QString& Usuario)
{
    return QStringLiteral("SELECT tarea FROM ta_tareas where tarea = '") + tarea + QStringLiteral("' and usuario = '") +
           SqlQuoteInner(Usuario) + u'\'';
}

} // namespace controls::busqueda
