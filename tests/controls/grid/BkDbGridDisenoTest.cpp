// The stored column layout on the demo data base: per program start line,
// login and grid, read back on the next load, a failed write leaving the
// stored layout as it was, values with apostrophes, and the layouts stored
// under the key that held the password.
#include "GridPrueba.h"

#include "data/DB_Dll.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/db/Connection.h"
#include "platform/ui/FlexGrid.h"
#include "support/DemoServer.h"

#include <gtest/gtest.h>

namespace {

using controls::BkDbGrid;
using A = controls::BkDbGridAcceso;

const QString kLinea = QStringLiteral("@Server=./srv; @DbName=BKDEMO; @Usuario=ana; @Password=muy secreta; @Caja=1");

class DisenoGuardado : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_conexion = testing_support::demoServer();
        platform::Runtime::instance().setCommandLine(kLinea);
    }
    // A grid of the history, logged in as `usuario`, with the column chooser shown.
    std::unique_ptr<BkDbGrid> grilla(const QString& usuario, const QString& nombre = {}, bool columnas = true)
    {
        auto g =
            grid_tests::grillaConectada(m_conexion, 5, QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE ID <= 11"));
        data::gDbPrincipal().gUsuario = usuario;
        g->pOnlyObjectName = nombre;
        g->setColumnas(columnas);
        return g;
    }
    QStringList titulosAlCargar(const QString& usuario, const QString& nombre = {}, bool columnas = true)
    {
        auto g = grilla(usuario, nombre, columnas);
        g->LoadBkDBGrid();
        return grid_tests::titulos(*g->MsFlexGrid);
    }
    void grabar(const QString& usuario, const QString& camposSel, const QString& nombre = {})
    {
        auto g = grilla(usuario, nombre);
        g->LoadBkDBGrid();
        g->setCamposSel(camposSel);
        g->GrabaCampos();
    }
    // The stored rows: form, user, name (trimmed) and value.
    QStringList filas()
    {
        platform::db::Connection directa;
        directa.Open(m_conexion);
        QStringList out;
        auto rs = directa.Execute(
            QStringLiteral("SELECT FORMULARIO, USUARIO, NOMBRE, VALOR FROM TA_CONFIG_FORM ORDER BY ID"));
        for (; !rs->Eof(); rs->MoveNext()) {
            QStringList fila;
            for (int i = 0; i < 4; ++i) {
                fila << platform::text::Trim(rs->value(i).toText());
            }
            out << fila.join(u'|');
        }
        return out;
    }
    QString formulario(const QString& linea) { return platform::Runtime::instance().programName() + linea; }

    QString m_conexion;
};

const QStringList kTodas = {"ID",      "FechaHora", "IdArticulo", "idLista", "Costo",   "Precio1", "Precio2",
                            "Precio3", "Precio4",   "Precio5",    "Precio6", "Precio7", "Precio8", "Usuario"};

TEST_F(DisenoGuardado, ElDisenoGuardadoVuelveParaEseUsuarioYEsaGrillaSolamente)
{
    ASSERT_EQ(titulosAlCargar(QStringLiteral("ana")), kTodas);
    grabar(QStringLiteral("ana"), QStringLiteral("[IdArticulo], [Precio1], ID"));
    const QString sinPassword =
        formulario(QStringLiteral("@Server=./srv; @DbName=BKDEMO; @Usuario=ana; @Password=; @Caja=1"));
    EXPECT_EQ(filas(), (QStringList{sinPassword + QStringLiteral("|ana|@BKDBGRID|[IdArticulo]|[Precio1]|ID")}));

    auto g = grilla(QStringLiteral("ana"));
    g->LoadBkDBGrid();
    // Read as "[IdArticulo],[Precio1],ID"; the page statement keeps its separators as "|".
    EXPECT_EQ(g->CamposSel(), QStringLiteral("[IdArticulo]|[Precio1]|ID"));
    EXPECT_EQ(grid_tests::titulos(*g->MsFlexGrid), (QStringList{"IdArticulo", "Precio1", "ID"}));
    g.reset();

    EXPECT_EQ(titulosAlCargar(QStringLiteral("bruno")), kTodas);
    EXPECT_EQ(titulosAlCargar(QStringLiteral("ana"), QStringLiteral("OtraGrilla")), kTodas);
    // Without the chooser's button the layout is not read.
    EXPECT_EQ(titulosAlCargar(QStringLiteral("ana"), QString(), false), kTodas);
    platform::Runtime::instance().setCommandLine(QStringLiteral("@Caja=2"));
    EXPECT_EQ(titulosAlCargar(QStringLiteral("ana")), kTodas);
    // Letter case of the login does not matter to the data base's comparison.
    platform::Runtime::instance().setCommandLine(kLinea);
    EXPECT_EQ(titulosAlCargar(QStringLiteral("ANA")), (QStringList{"IdArticulo", "Precio1", "ID"}));
}

TEST_F(DisenoGuardado, UnaEscrituraFallidaDejaElDisenoAnterior)
{
    grabar(QStringLiteral("ana"), QStringLiteral("[IdArticulo], ID"));
    const QStringList antes = filas();
    ASSERT_EQ(antes.size(), 1);

    auto sentencias = grid_tests::grabarSentencias();
    sentencias->fallaQueEmpieza = QStringLiteral("INSERT INTO TA_CONFIG_FORM");
    grabar(QStringLiteral("ana"), QStringLiteral("[Precio2], ID"));
    ASSERT_EQ(sentencias->queEmpiezan(QStringLiteral("DELETE TA_CONFIG_FORM")).size(), 2);
    ASSERT_EQ(sentencias->queEmpiezan(QStringLiteral("INSERT INTO TA_CONFIG_FORM")).size(), 1);
    sentencias->fallaQueEmpieza.clear();

    EXPECT_EQ(filas(), antes);
    EXPECT_EQ(titulosAlCargar(QStringLiteral("ana")), (QStringList{"IdArticulo", "ID"}));

    // Written twice, one row holds the last layout.
    grabar(QStringLiteral("ana"), QStringLiteral("[Precio2], ID"));
    grabar(QStringLiteral("ana"), QStringLiteral("[Precio3], ID"));
    ASSERT_EQ(filas().size(), 1);
    EXPECT_TRUE(filas().at(0).endsWith(QStringLiteral("|[Precio3]|ID")));
}

TEST_F(DisenoGuardado, LosValoresConApostrofesSeGuardanYSeLeen)
{
    grabar(QStringLiteral("o'neil"), QStringLiteral("[Precio1], ID"), QStringLiteral("Grilla d'Ana"));
    EXPECT_EQ(filas().size(), 1);
    EXPECT_EQ(titulosAlCargar(QStringLiteral("o'neil"), QStringLiteral("Grilla d'Ana")),
              (QStringList{"Precio1", "ID"}));
}

TEST_F(DisenoGuardado, ElDisenoGuardadoConLaPasswordSeLeeUnaVezYSeGuardaSinElla)
{
    platform::db::Connection directa;
    directa.Open(m_conexion);
    directa.Execute(QStringLiteral("INSERT INTO TA_CONFIG_FORM (FORMULARIO,USUARIO,TIPOOBJETO,NOMBRE,PROPIEDAD,"
                                   "DATAFIELD,VALOR) VALUES ('%1','ana','@BkDbGrid','@BKDBGRID','CamposSel',"
                                   "'@BkDbGrid','[IdArticulo]|ID')")
                        .arg(formulario(kLinea)));

    auto g = grilla(QStringLiteral("ana"));
    g->LoadBkDBGrid();
    EXPECT_EQ(grid_tests::titulos(*g->MsFlexGrid), (QStringList{"IdArticulo", "ID"}));
    g->GrabaCampos();
    g.reset();

    const QStringList guardadas = filas();
    ASSERT_EQ(guardadas.size(), 1);
    EXPECT_FALSE(guardadas.at(0).contains(QStringLiteral("secreta")));
    EXPECT_TRUE(guardadas.at(0).endsWith(QStringLiteral("|ana|@BKDBGRID|[IdArticulo]|ID")));
    EXPECT_EQ(titulosAlCargar(QStringLiteral("ana")), (QStringList{"IdArticulo", "ID"}));
}

} // namespace
