#include "app/BarraEstado.h"
#include "app/FechaServidor.h"

#include "ArranqueSoporte.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Runtime.h"
#include "platform/ui/StatusBar.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace arranque_tests;
using platform::ui::Panel;
using platform::ui::StatusBar;

// A bar with the main window's seven panels, 1000 pixels (15000 twips) wide.
std::unique_ptr<StatusBar> BarraPrincipal()
{
    auto barra = std::make_unique<StatusBar>();
    for (const char* clave : {"VERSION", "SERVER", "BASEDEDATOS", "USUARIO", "CAJA"}) {
        barra->AddPanel(QString::fromUtf8(clave));
    }
    barra->AddPanel().setStyle(Panel::Style::Date);
    barra->AddPanel(QStringLiteral("MENSAJE"));
    barra->resize(1000, 20);
    return barra;
}

class BarraEstado : public ::testing::Test
{
protected:
    void SetUp() override
    {
        servidor = ConstruirServidorDemo();
        AbrirPrincipal(servidor);
        // The demo user is an administrator; the bar works on the real tables.
        data::gDbPrincipal().gEsAdmin = true;
        common::valoresCorrida().UsuarioActual = QStringLiteral("demo");
    }

    int CajasConCodigo(const QString& condicion) const
    {
        return int(Filas(servidor, QStringLiteral("SELECT IdCajas FROM V_TA_Cajas WHERE ") + condicion).size());
    }

    // The cash boxes with a text key: into the demo's whole-number key a code
    // that is no number fails to convert, as on SQL Server.
    void CajasConClaveDeTexto() const
    {
        Ejecutar(servidor, QStringLiteral("DROP VIEW SS_V_TA_CAJAS"));
        Ejecutar(servidor, QStringLiteral("DROP TABLE V_TA_Cajas"));
        Ejecutar(servidor, QStringLiteral("CREATE TABLE V_TA_Cajas (IdCajas varchar(12) NOT NULL PRIMARY KEY, "
                                          "Descripcion varchar(50))"));
        Ejecutar(servidor, QStringLiteral("CREATE VIEW SS_V_TA_CAJAS AS SELECT * FROM V_TA_Cajas"));
    }

    QString servidor;
};

TEST_F(BarraEstado, FillsTheSevenPanels)
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.27"));
    auto barra = BarraPrincipal();
    app::CargarBarraEstado(*barra, QStringLiteral("Listo"));
    QCoreApplication::setApplicationVersion(QString());

    EXPECT_EQ(barra->Panels(QStringLiteral("VERSION")).Text(), QStringLiteral("V.1.0.27"));
    EXPECT_EQ(barra->Panels(QStringLiteral("SERVER")).Text(), QStringLiteral("Srv: ") + servidor);
    EXPECT_EQ(barra->Panels(QStringLiteral("BASEDEDATOS")).Text(), QStringLiteral("Db: BKDEMO"));
    EXPECT_EQ(barra->Panels(QStringLiteral("USUARIO")).Text(), QStringLiteral("Uid: demo"));
    EXPECT_EQ(barra->Panels(QStringLiteral("CAJA")).Text(), QStringLiteral("1 CAJA PRINCIPAL"));
    EXPECT_EQ(barra->Panels(6).style(), Panel::Style::Date);
    EXPECT_EQ(barra->Panels(6).Text(), QString());
    EXPECT_EQ(barra->Panels(QStringLiteral("MENSAJE")).Text(), QStringLiteral("Listo"));
    for (const char* clave : {"SERVER", "BASEDEDATOS", "USUARIO", "CAJA"}) {
        const Panel& panel = barra->Panels(QString::fromUtf8(clave));
        EXPECT_EQ(panel.ToolTipText(), panel.Text()) << clave;
    }
    const int anchos[] = {750, 2250, 2250, 2250, 1500, 1500, 4500};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(barra->Panels(i + 1).Width(), anchos[i]) << "panel " << i + 1;
    }
    EXPECT_EQ(CajasConCodigo(QStringLiteral("IdCajas = 1")), 1);
}

TEST_F(BarraEstado, WithoutACurrentUserTheDataBaseLoginIsShown)
{
    common::valoresCorrida().UsuarioActual.clear();
    auto barra = BarraPrincipal();
    app::CargarBarraEstado(*barra, QString());
    EXPECT_EQ(barra->Panels(QStringLiteral("USUARIO")).Text(), QStringLiteral("Uid: BKDEMO"));
}

TEST_F(BarraEstado, ALaterCallChangesOnlyTheMessage)
{
    auto barra = BarraPrincipal();
    app::CargarBarraEstado(*barra, QString());
    common::valoresCorrida().CajaActual = QStringLiteral("7");
    data::gDbPrincipal().gServidor = QStringLiteral("otro");
    barra->resize(2000, 20);

    app::CargarBarraEstado(*barra, QStringLiteral("Segundo"));
    EXPECT_EQ(barra->Panels(QStringLiteral("MENSAJE")).Text(), QStringLiteral("Segundo"));
    EXPECT_EQ(barra->Panels(QStringLiteral("SERVER")).Text(), QStringLiteral("Srv: ") + servidor);
    EXPECT_EQ(barra->Panels(QStringLiteral("CAJA")).Text(), QStringLiteral("1 CAJA PRINCIPAL"));
    EXPECT_EQ(barra->Panels(7).Width(), 4500);
    EXPECT_EQ(CajasConCodigo(QStringLiteral("IdCajas = 7")), 0);
}

TEST_F(BarraEstado, AMissingCashBoxIsAddedOnce)
{
    common::valoresCorrida().CajaActual = QStringLiteral("7");
    auto barra = BarraPrincipal();
    app::CargarBarraEstado(*barra, QString());
    EXPECT_EQ(barra->Panels(QStringLiteral("CAJA")).Text(), QStringLiteral("7 CAJA 7"));

    auto otraBarra = BarraPrincipal();
    app::CargarBarraEstado(*otraBarra, QString());
    EXPECT_EQ(otraBarra->Panels(QStringLiteral("CAJA")).Text(), QStringLiteral("7 CAJA 7"));
    EXPECT_EQ(CajasConCodigo(QStringLiteral("IdCajas = 7")), 1);
}

TEST_F(BarraEstado, AnEmptyCashBoxIsTheFirst)
{
    common::valoresCorrida().CajaActual.clear();
    auto barra = BarraPrincipal();
    app::CargarBarraEstado(*barra, QString());
    EXPECT_EQ(common::valoresCorrida().CajaActual, QStringLiteral("1"));
    EXPECT_EQ(barra->Panels(QStringLiteral("CAJA")).Text(), QStringLiteral("1 CAJA PRINCIPAL"));
}

TEST_F(BarraEstado, CashBoxCodesStoredWithFourDigitsAreFoundAndNotAddedAgain)
{
    Ejecutar(servidor, QStringLiteral("DROP VIEW SS_V_TA_CAJAS"));
    Ejecutar(servidor, QStringLiteral("DROP TABLE V_TA_Cajas"));
    Ejecutar(servidor, QStringLiteral("CREATE TABLE V_TA_Cajas (IdCajas varchar(4) NOT NULL PRIMARY KEY, "
                                      "Descripcion varchar(50))"));
    Ejecutar(servidor, QStringLiteral("CREATE VIEW SS_V_TA_CAJAS AS SELECT * FROM V_TA_Cajas"));
    Ejecutar(servidor, QStringLiteral("INSERT INTO V_TA_Cajas (IdCajas, Descripcion) VALUES ('0003', 'CAJA NORTE')"));

    common::valoresCorrida().CajaActual = QStringLiteral("3");
    auto barra = BarraPrincipal();
    app::CargarBarraEstado(*barra, QString());
    EXPECT_EQ(barra->Panels(QStringLiteral("CAJA")).Text(), QStringLiteral("3 CAJA NORTE"));

    common::valoresCorrida().CajaActual = QStringLiteral("5");
    for (int inicio = 0; inicio < 2; ++inicio) {
        auto otra = BarraPrincipal();
        app::CargarBarraEstado(*otra, QString());
        EXPECT_EQ(otra->Panels(QStringLiteral("CAJA")).Text(), QStringLiteral("5 CAJA 5"));
    }
    EXPECT_EQ(Filas(servidor, QStringLiteral("SELECT IdCajas FROM V_TA_Cajas ORDER BY IdCajas")),
              (QList<QStringList>{{QStringLiteral("0003")}, {QStringLiteral("0005")}}));
}

TEST_F(BarraEstado, AnApostropheInTheCashBoxCannotBreakTheInsert)
{
    CajasConClaveDeTexto();
    common::valoresCorrida().CajaActual = QStringLiteral("8'9");
    auto barra = BarraPrincipal();
    app::CargarBarraEstado(*barra, QString());
    EXPECT_EQ(Filas(servidor, QStringLiteral("SELECT Descripcion FROM V_TA_Cajas WHERE Descripcion LIKE 'CAJA 8%'")),
              (QList<QStringList>{{QStringLiteral("CAJA 8'9")}}));
}

TEST_F(BarraEstado, ACashBoxHoldingTheAdministratorMarkerIsStoredAsTyped)
{
    CajasConClaveDeTexto();
    common::valoresCorrida().CajaActual = QStringLiteral("4@Admin_x");
    auto barra = BarraPrincipal();
    app::CargarBarraEstado(*barra, QString());
    EXPECT_EQ(Filas(servidor, QStringLiteral("SELECT IdCajas, Descripcion FROM V_TA_Cajas WHERE Descripcion LIKE "
                                             "'CAJA 4%'")),
              (QList<QStringList>{{QStringLiteral("4@Admin_x"), QStringLiteral("CAJA 4@Admin_x")}}));
}

TEST_F(BarraEstado, ABarWithoutThePanelsIsLeftAsItIs)
{
    StatusBar barra;
    barra.AddPanel(QStringLiteral("OTRO"));
    app::CargarBarraEstado(barra, QStringLiteral("Mensaje"));
    EXPECT_EQ(barra.Panels(1).Text(), QString());
}

TEST_F(BarraEstado, TheServerDateComesToTheWholeSecond)
{
    const platform::DateTime fecha = app::FechaServidor();
    ASSERT_TRUE(fecha.isValid());
    EXPECT_EQ(fecha.time().msec(), 0);
    EXPECT_GT(fecha.date().year(), 2000);
}

TEST(BarraEstadoFecha, WithoutAnAnswerFromTheServerTheClockIsUsed)
{
    platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2025, 5, 6), QTime(7, 8, 9, 500)); });
    // No connection can be made: the instance has no connection values.
    data::gDbPrincipal().SinMensajes = true;
    common::valoresCorrida().UsaFechaDia = true;
    EXPECT_EQ(app::FechaServidor(), platform::DateTime(QDate(2025, 5, 6), QTime(7, 8, 9)));
}

} // namespace
