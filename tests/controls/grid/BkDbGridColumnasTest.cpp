// The column chooser on the demo data base: choosing, moving and unchecking
// columns changes the grid's statement and headings, the choice survives a
// reload through the stored layout, the empty choice, the hidden access keys,
// closing without change and the close icon's highlight.
#include "GridPrueba.h"

#include "controls/grid/FrmCampos.h"
#include "data/DB_Dll.h"
#include "platform/core/Runtime.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/ListView.h"
#include "support/DemoServer.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

using controls::BkDbGrid;
using controls::FrmCampos;
using grid_tests::hijo;
using platform::ui::ListView;
using A = controls::BkDbGridAcceso;

const QStringList kSinClave = {"FechaHora", "IdArticulo", "idLista", "Costo",   "Precio1", "Precio2", "Precio3",
                               "Precio4",   "Precio5",    "Precio6", "Precio7", "Precio8", "Usuario"};

// The entries of the chooser's list, a "*" after each checked one.
QStringList lista(FrmCampos& f)
{
    auto* l = f.findChild<ListView*>(QStringLiteral("LstLista"));
    QStringList out;
    for (int i = 1; i <= l->ItemCount(); ++i) {
        out << l->Item(i).Text() + (l->Item(i).Checked() ? QStringLiteral("*") : QString());
    }
    return out;
}

void marcar(FrmCampos& f, const QString& texto, bool marcada = true)
{
    auto* l = f.findChild<ListView*>(QStringLiteral("LstLista"));
    for (int i = 1; i <= l->ItemCount(); ++i) {
        if (l->Item(i).Text() == texto) {
            l->Item(i).setChecked(marcada);
        }
    }
}

void elegir(FrmCampos& f, const QString& texto)
{
    auto* l = f.findChild<ListView*>(QStringLiteral("LstLista"));
    for (int i = 1; i <= l->ItemCount(); ++i) {
        if (l->Item(i).Text() == texto) {
            l->setSelectedItem(&l->Item(i));
        }
    }
}

void pulsar(FrmCampos& f, const char* nombre, int veces = 1)
{
    for (int i = 0; i < veces; ++i) {
        f.findChild<QAbstractButton*>(QString::fromLatin1(nombre))->click();
    }
}

class Columnas : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_conexion = testing_support::demoServer();
        sentencias = grid_tests::grabarSentencias();
        platform::Runtime::instance().setCommandLine(QStringLiteral("@Caja=1"));
    }
    std::unique_ptr<BkDbGrid> grilla()
    {
        auto g =
            grid_tests::grillaConectada(m_conexion, 5, QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE ID <= 11"));
        g->setColumnas(true);
        g->LoadBkDBGrid();
        return g;
    }
    // Presses "Columnas" and runs `accion` on the chooser once it is shown;
    // what the chooser shows on arrival is kept in `alAbrir`.
    void elegirColumnas(BkDbGrid& g, std::function<void(FrmCampos&)> accion)
    {
        QTimer reloj;
        reloj.setInterval(5);
        QObject::connect(&reloj, &QTimer::timeout, [&] {
            auto* f = dynamic_cast<FrmCampos*>(QApplication::activeModalWidget());
            if (!f) {
                return;
            }
            reloj.stop();
            alAbrir = lista(*f);
            accion(*f);
            if (f->isVisible()) {
                pulsar(*f, "ImgCancelar");
            }
        });
        reloj.start();
        hijo<QPushButton>(g, "cmdColumnas")->click();
    }

    QString m_conexion;
    std::shared_ptr<grid_tests::Sentencias> sentencias;
    QStringList alAbrir;
};

TEST_F(Columnas, ElegirYMoverCambianLaSentenciaYLosTitulosYElOrdenSobreviveALaRecarga)
{
    auto g = grilla();
    sentencias->lista.clear();
    QStringList movidas;
    elegirColumnas(*g, [&](FrmCampos& f) {
        marcar(f, QStringLiteral("IdArticulo"));
        marcar(f, QStringLiteral("Precio1"));
        marcar(f, QStringLiteral("FechaHora"));
        elegir(f, QStringLiteral("Precio1"));
        pulsar(f, "ImgSube", 4);
        movidas = lista(f);
        pulsar(f, "CmdAplica");
    });
    EXPECT_EQ(alAbrir, kSinClave);
    EXPECT_EQ(movidas, (QStringList{"Precio1*", "FechaHora*", "IdArticulo*", "idLista", "Costo", "Precio2", "Precio3",
                                    "Precio4", "Precio5", "Precio6", "Precio7", "Precio8", "Usuario"}));

    EXPECT_TRUE(sentencias->lista.contains(
        QStringLiteral("SELECT TOP 1 [Precio1], [FechaHora], [IdArticulo], [ID] FROM V_MV_PreciosHis")));
    const QStringList paginas = sentencias->queEmpiezan(QStringLiteral("SELECT  [Precio1]"));
    ASSERT_EQ(paginas.size(), 1);
    EXPECT_TRUE(paginas.at(0).startsWith(
        QStringLiteral("SELECT  [Precio1], CONVERT(NVARCHAR,[FechaHora],103) AS [FechaHora], [IdArticulo], ID ")))
        << paginas.at(0).toStdString();
    EXPECT_EQ(grid_tests::titulos(*g->MsFlexGrid), (QStringList{"Precio1", "FechaHora", "IdArticulo", "ID"}));
    EXPECT_EQ(g->OrdinalSel(), QStringLiteral("1|2|3|"));
    EXPECT_EQ(g->OrdenSent(), 0);
    EXPECT_EQ(grid_tests::entradas(hijo<QComboBox>(*g, "CboFiltroCampo")),
              (QStringList{"Todos", "Precio1", "FechaHora", "IdArticulo"}));
    EXPECT_EQ(sentencias->queEmpiezan(QStringLiteral("INSERT INTO TA_CONFIG_FORM")).size(), 1);

    // Reopened, the choice comes first, checked, in its order.
    elegirColumnas(*g, [](FrmCampos&) {});
    EXPECT_EQ(alAbrir, (QStringList{"Precio1*", "FechaHora*", "IdArticulo*", "idLista", "Costo", "Precio2", "Precio3",
                                    "Precio4", "Precio5", "Precio6", "Precio7", "Precio8", "Usuario"}));
    g.reset();

    auto otra = grilla();
    EXPECT_EQ(grid_tests::titulos(*otra->MsFlexGrid), (QStringList{"Precio1", "FechaHora", "IdArticulo", "ID"}));
}

TEST_F(Columnas, DesmarcarUnaColumnaLaQuitaYMoverLaBajaConSuMarca)
{
    auto g = grilla();
    elegirColumnas(*g, [&](FrmCampos& f) {
        marcar(f, QStringLiteral("IdArticulo"));
        marcar(f, QStringLiteral("Costo"));
        marcar(f, QStringLiteral("Usuario"));
        pulsar(f, "CmdAplica");
    });
    ASSERT_EQ(grid_tests::titulos(*g->MsFlexGrid), (QStringList{"IdArticulo", "Costo", "Usuario", "ID"}));

    QStringList movidas;
    elegirColumnas(*g, [&](FrmCampos& f) {
        marcar(f, QStringLiteral("Costo"), false);
        elegir(f, QStringLiteral("IdArticulo"));
        pulsar(f, "ImgBaja", 2);
        movidas = lista(f);
        pulsar(f, "CmdAplica");
    });
    EXPECT_EQ(movidas.mid(0, 4), (QStringList{"Costo", "Usuario*", "IdArticulo*", "FechaHora"}));
    EXPECT_EQ(grid_tests::titulos(*g->MsFlexGrid), (QStringList{"Usuario", "IdArticulo", "ID"}));
}

TEST_F(Columnas, MoverFueraDeLaListaOSinEleccionNoHaceNada)
{
    auto g = grilla();
    QStringList resultado;
    elegirColumnas(*g, [&](FrmCampos& f) {
        pulsar(f, "ImgSube");
        elegir(f, QStringLiteral("FechaHora"));
        pulsar(f, "ImgSube");
        elegir(f, QStringLiteral("Usuario"));
        pulsar(f, "ImgBaja");
        resultado = lista(f);
    });
    EXPECT_EQ(resultado, kSinClave);
}

TEST_F(Columnas, CerrarSinAplicarNoCambiaNada)
{
    auto g = grilla();
    sentencias->lista.clear();
    elegirColumnas(*g, [&](FrmCampos& f) {
        marcar(f, QStringLiteral("IdArticulo"));
        elegir(f, QStringLiteral("IdArticulo"));
        pulsar(f, "ImgBaja");
        pulsar(f, "ImgCancelar");
    });
    EXPECT_TRUE(sentencias->lista.isEmpty());
    EXPECT_TRUE(g->CamposSel().isEmpty());
    EXPECT_EQ(grid_tests::titulos(*g->MsFlexGrid), QStringList{"ID"} + kSinClave);
}

TEST_F(Columnas, SinColumnasMarcadasVienenTodasConLaClaveUnaVez)
{
    auto g = grilla();
    elegirColumnas(*g, [](FrmCampos& f) { pulsar(f, "CmdAplica"); });
    EXPECT_EQ(grid_tests::titulos(*g->MsFlexGrid), kSinClave + QStringList{"ID"});
    EXPECT_EQ(g->CamposSel().count(QStringLiteral("ID")), 1) << g->CamposSel().toStdString();
    EXPECT_TRUE(g->OrdinalSel().isEmpty());
}

TEST_F(Columnas, LasTeclasDeLosBotonesOcultosAplicanLaEleccionVacia)
{
    for (const Qt::Key tecla : {Qt::Key_T, Qt::Key_A}) {
        auto g = grilla();
        elegirColumnas(*g, [&](FrmCampos& f) {
            marcar(f, QStringLiteral("IdArticulo"));
            // An access key presses its button as a click does, a moment later.
            f.activateWindow();
            if (QTest::qWaitForWindowActive(&f)) {
                QTest::keyClick(&f, tecla, Qt::AltModifier);
                (void)QTest::qWaitFor([&] { return !f.isVisible(); });
            }
        });
        EXPECT_EQ(grid_tests::titulos(*g->MsFlexGrid), kSinClave + QStringList{"ID"}) << tecla;
    }
}

TEST_F(Columnas, TodosMarcaCadaColumnaYAplica)
{
    auto g = grilla();
    elegirColumnas(*g, [](FrmCampos& f) { pulsar(f, "CmdAll"); });
    EXPECT_EQ(grid_tests::titulos(*g->MsFlexGrid), kSinClave + QStringList{"ID"});
    EXPECT_EQ(g->OrdinalSel(), QStringLiteral("1|2|3|4|5|6|7|8|9|10|11|12|13|"));
}

TEST_F(Columnas, ElIconoDeCerrarSeResaltaAlPasarPorEncima)
{
    auto g = grilla();
    bool encima = false;
    bool fuera = true;
    elegirColumnas(*g, [&](FrmCampos& f) {
        auto* icono = f.findChild<QToolButton*>(QStringLiteral("ImgCancelar"));
        auto* cuadro = f.findChild<QFrame*>(QStringLiteral("Shape1"));
        QMouseEvent sobreIcono(QEvent::MouseMove, QPointF(2, 2), icono->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                               Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(icono, &sobreIcono);
        encima = !cuadro->isHidden();
        QMouseEvent sobreForm(QEvent::MouseMove, QPointF(5, 100), f.mapToGlobal(QPointF(5, 100)), Qt::NoButton,
                              Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&f, &sobreForm);
        fuera = !cuadro->isHidden();
    });
    EXPECT_TRUE(encima);
    EXPECT_FALSE(fuera);
}

} // namespace
