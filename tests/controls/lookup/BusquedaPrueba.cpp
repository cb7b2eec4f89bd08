#include "BusquedaPrueba.h"

#include "demo/DemoBuilder.h"
#include "platform/db/Connection.h"
#include "support/ForwardingBackend.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace busqueda_tests {

namespace {

using namespace platform::db;

class Grabadora : public testing_support::ForwardingBackend
{
public:
    Grabadora(std::unique_ptr<Backend> inner, std::shared_ptr<Grabacion> g)
        : ForwardingBackend(std::move(inner)), m_g(std::move(g))
    {
    }
    ResultSet execute(const QString& sql, std::vector<ErrorInfo>& errors) override
    {
        anotar(sql, errors);
        if (m_g->insertSinFilas && sql.trimmed().startsWith(QStringLiteral("INSERT"), Qt::CaseInsensitive)) {
            ResultSet nada;
            nada.recordsAffected = 0;
            return nada;
        }
        return ForwardingBackend::execute(sql, errors);
    }
    ResultSet executeProcedure(const QString& name, const std::vector<ProcedureParameter>& parameters,
                               std::vector<ErrorInfo>& errors) override
    {
        anotar(QStringLiteral("call ") + name, errors);
        return ForwardingBackend::executeProcedure(name, parameters, errors);
    }

private:
    void anotar(const QString& texto, std::vector<ErrorInfo>& errors)
    {
        m_g->sentencias << texto;
        if (m_g->fallar > 0) {
            --m_g->fallar;
            ErrorInfo e{adErr::Generic, QStringLiteral("General network error."), QStringLiteral("prueba"),
                        QStringLiteral("08S01"), 11};
            errors.push_back(e);
            throw DbError(e);
        }
    }

    std::shared_ptr<Grabacion> m_g;
};

} // namespace

std::shared_ptr<Grabacion> grabar()
{
    auto g = std::make_shared<Grabacion>();
    setBackendWrapper([g](std::unique_ptr<Backend> inner) { return std::make_unique<Grabadora>(std::move(inner), g); });
    return g;
}

QStringList filas(const QString& conexion, const QString& sql)
{
    platform::db::Connection cn;
    cn.Open(conexion);
    QStringList out;
    const auto rs = cn.Execute(sql);
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList campos;
        for (int i = 0; i < rs->FieldCount(); ++i)
            campos << rs->value(i).toText();
        out << campos.join(u'|');
    }
    return out;
}

void ejecutar(const QString& conexion, const QString& sql)
{
    platform::db::Connection cn;
    cn.Open(conexion);
    cn.Execute(sql);
}

Caja abrirCaja(const QString& conexion, const QString& tabla, const QString& usuario)
{
    Caja c;
    c.b = std::make_unique<controls::BusquedaCodigo>();
    c.b->show();
    c.b->setConnString(conexion);
    c.b->Usuario = usuario;
    controls::BusquedaCodigo* b = c.b.get();
    QObject::connect(b, &controls::BusquedaCodigo::CodigoElegido, b,
                     [elegidos = c.elegidos, b] { *elegidos << b->codigo; });
    QString tb = tabla;
    c.disponible = b->BusquedaDisponible(tb);
    return c;
}

QStringList lineas(controls::BusquedaCodigo& b)
{
    QStringList out;
    for (int i = 0; i < b.LstBusqueda->count(); ++i)
        out << b.LstBusqueda->item(i)->text();
    return out;
}

QStringList codigos(controls::BusquedaCodigo& b)
{
    QStringList out;
    for (int i = 0; i < b.LstBusqueda->count(); ++i)
        out << b.LstBusqueda->item(i)->data(Qt::UserRole).toString();
    return out;
}

void teclear(controls::BusquedaCodigo& b, const QString& texto)
{
    QTest::keyClicks(b.TxtBusqueda, texto);
}

} // namespace busqueda_tests
