// The stored column layout on the demo data base: per program start line,
// login and grid, read back on the next load, a failed write leaving the
// stored layout as it was, values with apostrophes, the layouts stored under
// the key that held the password, and stored values that are no columns of the
// grid's statement.
#include "GridPrueba.h"

#include "common/MensajeError.h"
#include "data/DB_Dll.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/db/Connection.h"
#include "platform/ui/FlexGrid.h"
#include "support/DemoServer.h"

#include <QFile>

#include <gtest/gtest.h>

#include <ostream>

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

// What a hostile writer stores under another user's key, and the entry the
// grid names in the error log when it leaves the layout unused.
struct CasoHostil
{
    const char* nombre;
    const char* valor;
    const char* rechazada;
};

void PrintTo(const CasoHostil& caso, std::ostream* os)
{
    *os << caso.nombre;
}

class DisenoHostil : public DisenoGuardado, public ::testing::WithParamInterface<CasoHostil>
{
protected:
    // Stored as the writer wrote it, under ana's key for this program start line.
    void guardarCrudo(const QString& valor)
    {
        platform::db::Connection directa;
        directa.Open(m_conexion);
        directa.Execute(
            QStringLiteral("INSERT INTO TA_CONFIG_FORM (FORMULARIO,USUARIO,TIPOOBJETO,NOMBRE,PROPIEDAD,DATAFIELD,"
                           "VALOR) VALUES (%1,'ana','@BkDbGrid','@BKDBGRID','CamposSel','@BkDbGrid',%2)")
                .arg(platform::text::SqlQuoted(formulario(
                         QStringLiteral("@Server=./srv; @DbName=BKDEMO; @Usuario=ana; @Password=; @Caja=1"))),
                     platform::text::SqlQuoted(valor)));
    }
    QStringList usuarios()
    {
        platform::db::Connection directa;
        directa.Open(m_conexion);
        QStringList out;
        auto rs = directa.Execute(QStringLiteral("SELECT NOMBRE, Password FROM TA_USUARIOS ORDER BY NOMBRE"));
        for (; !rs->Eof(); rs->MoveNext()) {
            out << rs->value(0).toText() + u'|' + rs->value(1).toText();
        }
        return out;
    }
    // The grid's lines of the error log, from the routine's name on.
    static QStringList rechazosRegistrados()
    {
        QFile f(common::ArchivoBkErr());
        QStringList out;
        if (f.open(QIODevice::ReadOnly)) {
            for (const QString& linea : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"))) {
                if (linea.contains(QStringLiteral(" Rutina: - LeerCampos "))) {
                    out << linea.mid(20);
                }
            }
        }
        return out;
    }
};

TEST_P(DisenoHostil, UnDisenoQueNoSonColumnasDeLaConsultaNoSeUsaYSeRegistra)
{
    const CasoHostil& caso = GetParam();
    const QStringList antes = usuarios();
    ASSERT_EQ(antes.size(), 3);
    guardarCrudo(QString::fromUtf8(caso.valor));

    auto sentencias = grid_tests::grabarSentencias();
    auto g = grilla(QStringLiteral("ana"));
    g->LoadBkDBGrid();
    EXPECT_EQ(grid_tests::titulos(*g->MsFlexGrid), kTodas);
    EXPECT_EQ(g->MsFlexGrid->Rows(), 6);
    EXPECT_EQ(g->CamposSel(), QString());
    for (const QString& sentencia : sentencias->lista) {
        EXPECT_FALSE(sentencia.contains(QStringLiteral("TA_USUARIOS"), Qt::CaseInsensitive)) << sentencia.toStdString();
    }
    g.reset();
    EXPECT_EQ(usuarios(), antes);
    EXPECT_EQ(rechazosRegistrados(),
              QStringList{QStringLiteral("Rutina: - LeerCampos Mensaje No se usa el diseño de columnas guardado "
                                         "@BKDBGRID de ana: ") +
                          QString::fromUtf8(caso.rechazada) +
                          QStringLiteral(" no es una columna de la consulta. Respondio : ")});
}

INSTANTIATE_TEST_SUITE_P(
    LeerCampos, DisenoHostil,
    ::testing::Values(CasoHostil{"OtraSentencia", "ID FROM V_MV_PreciosHis; DELETE FROM TA_USUARIOS; SELECT ID",
                                 "ID FROM V_MV_PreciosHis; DELETE FROM TA_USUARIOS; SELECT ID"},
                      CasoHostil{"PasswordEnCadaFila",
                                 "[IdArticulo]|(SELECT TOP 1 Password FROM TA_USUARIOS) AS [Usuario]|ID",
                                 "(SELECT TOP 1 Password FROM TA_USUARIOS) AS [Usuario]"},
                      CasoHostil{"PasswordComoAlias",
                                 "[IdArticulo]|[Usuario] = (SELECT TOP 1 Password FROM TA_USUARIOS)|ID",
                                 "[Usuario] = (SELECT TOP 1 Password FROM TA_USUARIOS)"},
                      CasoHostil{"PasswordEnLaFecha",
                                 "CONVERT(NVARCHAR|(SELECT TOP 1 Password FROM TA_USUARIOS)|103)AS[FechaHora]|ID",
                                 "CONVERT(NVARCHAR,(SELECT TOP 1 Password FROM TA_USUARIOS),103)AS[FechaHora]"},
                      CasoHostil{"ColumnaDeOtraTabla", "[IdArticulo]|Password FROM TA_USUARIOS --|ID",
                                 "Password FROM TA_USUARIOS --"},
                      CasoHostil{"ColumnaQueYaNoEsta", "[IdArticulo]|[Descuento]|ID", "[Descuento]"}),
    [](const ::testing::TestParamInfo<CasoHostil>& caso) { return std::string(caso.param.nombre); });

TEST_F(DisenoGuardado, UnDisenoDeColumnasDeLaConsultaSeUsaComoElSelectorLoEscribe)
{
    grabar(QStringLiteral("ana"), QStringLiteral(" CONVERT(NVARCHAR,[FechaHora],103) AS [FechaHora], [Costo], ID"));
    auto g = grilla(QStringLiteral("ana"));
    g->LoadBkDBGrid();
    EXPECT_EQ(grid_tests::titulos(*g->MsFlexGrid), (QStringList{"FechaHora", "Costo", "ID"}));
    g.reset();

    // Letter case aside, as the data base compares names.
    grabar(QStringLiteral("ana"), QStringLiteral("[idarticulo], precio1, id"));
    EXPECT_EQ(titulosAlCargar(QStringLiteral("ana")), (QStringList{"IdArticulo", "Precio1", "ID"}));
}

} // namespace
