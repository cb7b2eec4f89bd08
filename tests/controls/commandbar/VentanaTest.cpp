// The bar as a host window shows it: laid out at the size the host's layout
// gives it, its built-in icons inside their boxes, captions and badges whole,
// the border and marks of an item without icon, and no seam across an item.
#include "BarraPrueba.h"

#include "support/TextFit.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QTest>

#include <algorithm>
#include <functional>
#include <optional>

using commandbar_tests::BarraTest;
using commandbar_tests::qcolor;
using controls::UtilVek;
using platform::ui::rgb;
using A = controls::UtilVekAcceso;

namespace {

const char* const kClavesPorDefecto[] = {"NUEVO",    "BORRAR",    "REPORTE",       "CONSULTAR", "PLANILLA",
                                         "CANCELAR", "GRABAR",    "CERRAR",        "CLIENTE",   "PEDIDO",
                                         "REMITO",   "CAJERO",    "UNIDADNEGOCIO", "IMPORTAR",  "PROCESARIA",
                                         "PANTALLA", "IMPRESORA", "COMPARTIR",     "AJUSTES"};

// The bar in a host window's layout, the window `ancho` x `alto` pixels.
class Ventana
{
public:
    Ventana(int ancho, int alto) : barra(new UtilVek)
    {
        auto* capa = new QHBoxLayout(&m_ventana);
        capa->setContentsMargins(0, 0, 0, 0);
        capa->addWidget(barra);
        m_ventana.resize(ancho, alto);
        m_ventana.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_ventana));
    }
    void redimensionar(int ancho, int alto)
    {
        m_ventana.resize(ancho, alto);
        QCoreApplication::processEvents();
    }
    QImage imagen() const { return barra->grab().toImage(); }

private:
    QWidget m_ventana;

public:
    UtilVek* barra;
};

// A host window's size for the bar, and what it makes of the bar.
struct Tamano
{
    const char* caso;
    int ancho;
    int alto;
};

// The pixels of a control of the bar, as far as they lie on the bar.
QRect pixeles(const UtilVek& barra, const controls::utilvek::ControlPintado& c)
{
    return controls::utilvek::aPixeles(c.Left, c.Top, c.Width, c.Height, 15).intersected(barra.rect());
}

// The rectangle of the pixels of `zona` that `tinta` takes; null without any.
QRect tintaEn(const QImage& imagen, const QRect& zona, const std::function<bool(const QColor&)>& tinta)
{
    QRect hallada;
    for (int y = zona.top(); y <= zona.bottom(); ++y) {
        for (int x = zona.left(); x <= zona.right(); ++x) {
            if (tinta(imagen.pixelColor(x, y))) {
                hallada |= QRect(x, y, 1, 1);
            }
        }
    }
    return hallada;
}

// Text and icon strokes, their smoothed edges included: far lighter than the
// colours of the bar's first style.
bool clara(const QColor& c)
{
    return std::min({c.red(), c.green(), c.blue()}) > 160;
}

// The caption of item i shows whole: its text is the item's (its lines and
// fixed blanks read as blanks), and on the screen it lies inside its label,
// clear of the label's sides, as wide as its widest line.
void esperarTituloEntero(const UtilVek& barra, const QImage& imagen, int i)
{
    const auto& texto = A::texto(barra, i);
    SCOPED_TRACE(::testing::Message() << "caption of " << A::key(barra, i).toStdString());
    ASSERT_TRUE(texto.Visible);
    QString leido = texto.Caption;
    leido.replace(u'\n', u' ').replace(QChar(0x00A0), u' ');
    EXPECT_EQ(leido, A::caption(barra, i));
    const QRect zona = pixeles(barra, texto);
    const QRect tinta = tintaEn(imagen, zona, clara);
    ASSERT_FALSE(tinta.isNull()) << "drawn";
    int masAncha = 0;
    for (const QString& linea : texto.Caption.split(u'\n')) {
        masAncha = std::max(masAncha, QFontMetrics(texto.Font).tightBoundingRect(linea).width());
    }
    EXPECT_GE(tinta.width(), masAncha - 2);
    EXPECT_GT(tinta.left(), zona.left());
    EXPECT_LT(tinta.right(), zona.right());
    EXPECT_LT(tinta.bottom(), zona.bottom());
}

// The faces the texts are drawn in: the program's stand-ins for the design's
// faces, and Qt's own fall-back where nothing stands in.
struct Fuentes
{
    const char* nombre;
    bool delPrograma;
};
const Fuentes kFuentes[] = {{"the program's faces", true}, {"Qt's fall-back faces", false}};

using VentanaTest = BarraTest;

TEST_F(VentanaTest, ADefaultBarInAWideStripShowsEveryItemInOneRow)
{
    testing_support::DesignFonts fuentes;
    Ventana ventana(760, 90);
    UtilVek& barra = *ventana.barra;
    ASSERT_EQ(barra.size(), QSize(760, 90));
    const auto enFila = [&](const char* caso) {
        SCOPED_TRACE(caso);
        const QImage imagen = ventana.imagen();
        std::optional<QRect> anterior;
        for (int i = 0; i < A::itemCount(barra); ++i) {
            if (!A::visible(barra, i)) {
                continue;
            }
            SCOPED_TRACE(A::key(barra, i).toStdString());
            const QRect caja = pixeles(barra, A::caja(barra, i));
            ASSERT_FALSE(caja.isEmpty()) << "on the bar";
            EXPECT_LE(caja.right(), 759);
            EXPECT_FALSE(tintaEn(imagen, caja, clara).isNull()) << "its icon";
            if (anterior) {
                EXPECT_EQ(caja.top(), anterior->top()) << "one row";
                EXPECT_GT(caja.left(), anterior->right());
            }
            anterior = caja;
            esperarTituloEntero(barra, imagen, i);
        }
    };
    enFila("at first");
    ventana.redimensionar(110, 560);
    ASSERT_EQ(barra.size(), QSize(110, 560));
    const QImage columna = ventana.imagen();
    for (int i = 0; i < A::itemCount(barra); ++i) {
        if (A::visible(barra, i)) {
            SCOPED_TRACE(A::key(barra, i).toStdString());
            EXPECT_EQ(A::caja(barra, i).Left, 120) << "a column once the host makes the bar tall";
            EXPECT_FALSE(pixeles(barra, A::caja(barra, i)).isEmpty());
            esperarTituloEntero(barra, columna, i);
        }
    }
    ventana.redimensionar(760, 90);
    enFila("and a row again");
}

TEST_F(VentanaTest, EveryBuiltInIconFitsItsBox)
{
    testing_support::DesignFonts fuentes;
    for (const Tamano& caso : {Tamano{"a column", 110, 1200}, Tamano{"a row", 1300, 90}}) {
        SCOPED_TRACE(caso.caso);
        Ventana ventana(caso.ancho, caso.alto);
        UtilVek& barra = *ventana.barra;
        barra.setImpresoraCheckable(false);
        for (const char* clave : kClavesPorDefecto) {
            barra.SetItemVisible(QString::fromLatin1(clave), true);
        }
        const QImage imagen = ventana.imagen();
        for (int i = 0; i < A::itemCount(barra); ++i) {
            SCOPED_TRACE(A::key(barra, i).toStdString());
            const QRect caja = pixeles(barra, A::caja(barra, i));
            const QColor fondo = qcolor(A::caja(barra, i).BackColor);
            const QRect icono = tintaEn(imagen, caja, [&](const QColor& c) { return c != fondo; });
            ASSERT_FALSE(icono.isNull());
            EXPECT_GT(icono.top(), caja.top()) << "not cut at the top";
            EXPECT_LT(icono.bottom(), caja.bottom()) << "not cut at the bottom";
            EXPECT_GT(icono.left(), caja.left());
            EXPECT_LT(icono.right(), caja.right());
            EXPECT_GE(std::max(icono.width(), icono.height()), 20) << "still an icon, not a dot";
        }
    }
}

TEST_F(VentanaTest, TheCaptionsOfTheBuiltInSetsAndABadgeUpTo99PlusShowWhole)
{
    for (const Fuentes& f : kFuentes) {
        SCOPED_TRACE(f.nombre);
        std::optional<testing_support::DesignFonts> fuentes;
        if (f.delPrograma) {
            fuentes.emplace();
        }
        Ventana fila(1300, 90);
        for (const char* clave : kClavesPorDefecto) {
            fila.barra->SetItemVisible(QString::fromLatin1(clave), true);
        }
        fila.barra->SetItemBadge(QStringLiteral("NUEVO"), 120);
        fila.barra->SetItemBadge(QStringLiteral("BORRAR"), 7);
        fila.barra->SetItemAttention(QStringLiteral("REPORTE"), true, int32_t(rgb(0, 170, 60)));
        fila.barra->SetItemBadge(QStringLiteral("REPORTE"), 100);
        const QImage imagen = fila.imagen();
        for (int i = 0; i < A::itemCount(*fila.barra); ++i) {
            esperarTituloEntero(*fila.barra, imagen, i);
        }
        for (const int i : {0, 1, 2}) {
            const auto& insignia = A::insignia(*fila.barra, i);
            SCOPED_TRACE(insignia.Caption.toStdString());
            ASSERT_TRUE(insignia.Visible);
            const QRect zona = pixeles(*fila.barra, insignia);
            // White on a blue or green without red.
            const QRect tinta = tintaEn(imagen, zona, [](const QColor& c) { return c.red() > 100; });
            EXPECT_GE(tinta.width(), QFontMetrics(insignia.Font).tightBoundingRect(insignia.Caption).width() - 2);
            EXPECT_GT(tinta.left(), zona.left()) << "inside the badge";
            EXPECT_LT(tinta.right(), zona.right());
            EXPECT_LE(zona.right(), pixeles(*fila.barra, A::caja(*fila.barra, i)).right()) << "on its box";
        }

        Ventana columna(110, 560);
        columna.barra->LoadDefaultItemsReportes();
        const QImage reportes = columna.imagen();
        for (int i = 0; i < A::itemCount(*columna.barra); ++i) {
            esperarTituloEntero(*columna.barra, reportes, i);
        }
    }
}

TEST_F(VentanaTest, AnItemWithoutIconShowsItsBorderItsTickAndItsMark)
{
    testing_support::DesignFonts fuentes;
    for (const Tamano& caso :
         {Tamano{"a column", 110, 560}, Tamano{"a row, whose boxes start above the bar", 760, 90}}) {
        SCOPED_TRACE(caso.caso);
        Ventana ventana(caso.ancho, caso.alto);
        UtilVek& barra = *ventana.barra;
        barra.ClearItems();
        barra.AddItem(QStringLiteral("PROPIO"), QStringLiteral("Propio"), QString(), true);
        barra.SetItemChecked(QStringLiteral("PROPIO"), true);
        barra.AddItem(QStringLiteral("LIBRE"), QStringLiteral("Libre"), QString(), true);
        barra.AddItem(QStringLiteral("AVISO"), QStringLiteral("Aviso"));
        barra.SetItemAttention(QStringLiteral("AVISO"), true, int32_t(rgb(0, 170, 60)));
        barra.AddItem(QStringLiteral("SIMPLE"), QStringLiteral("Dos palabras"));
        barra.AddItem(QStringLiteral("IMPRESORA"), QStringLiteral("Impresora"), QString(), true);
        const QImage imagen = ventana.imagen();
        const auto negro = [](const QColor& c) { return c == QColor(Qt::black); };
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(A::key(barra, i).toStdString());
            ASSERT_FALSE(A::ItemHasIcon(barra, i));
            const QRect caja = pixeles(barra, A::caja(barra, i));
            for (const QRect& lado :
                 {QRect(caja.left(), caja.top(), 1, caja.height()), QRect(caja.right(), caja.top(), 1, caja.height()),
                  QRect(caja.left(), caja.top(), caja.width(), 1),
                  QRect(caja.left(), caja.bottom(), caja.width(), 1)}) {
                EXPECT_EQ(tintaEn(imagen, lado, negro), lado) << "its border, all round";
            }
            esperarTituloEntero(barra, imagen, i);
        }
        // The check box: a light-grey square at the box's top right.
        const auto cuadro = [&](int i) {
            const QRect caja = pixeles(barra, A::caja(barra, i));
            return QRect(caja.right() - 17, caja.top(), 18, 18);
        };
        const QColor gris = qcolor(rgb(238, 238, 238));
        for (const int i : {0, 1, 4}) {
            SCOPED_TRACE(A::key(barra, i).toStdString());
            const QRect cuadrado = tintaEn(imagen, cuadro(i), [&](const QColor& c) { return c == gris; });
            EXPECT_GE(cuadrado.width(), 14) << "its square, whole";
            EXPECT_GE(cuadrado.height(), 14);
            EXPECT_GT(cuadrado.top(), cuadro(i).top());
            if (i < 2) {
                const QRect alLado(pixeles(barra, A::caja(barra, i)).left() + 1, cuadrado.top(),
                                   cuadrado.left() - pixeles(barra, A::caja(barra, i)).left() - 2, cuadrado.height());
                EXPECT_TRUE(tintaEn(imagen, alLado, clara).isNull()) << "the caption keeps clear of the square";
            }
        }
        const auto blanco = [](const QColor& c) { return c == QColor(Qt::white); };
        EXPECT_FALSE(tintaEn(imagen, cuadro(0), blanco).isNull()) << "checked: a white tick";
        EXPECT_TRUE(tintaEn(imagen, cuadro(1), blanco).isNull()) << "unchecked: no white tick";
        const QRect aviso = pixeles(barra, A::caja(barra, 2));
        const QRect marca = tintaEn(imagen, aviso, [](const QColor& c) { return c == QColor(0, 170, 60); });
        EXPECT_GE(marca.height(), 8) << "the attention mark, whole";
        EXPECT_GT(marca.top(), aviso.top());
        EXPECT_LT(marca.right(), aviso.right());
    }
}

TEST_F(VentanaTest, NoSeamOfTheBarsColourCrossesAPressedOrDisabledItem)
{
    testing_support::DesignFonts fuentes;
    Ventana ventana(100, 534);
    UtilVek& barra = *ventana.barra;
    barra.SetItemEnabled(QStringLiteral("BORRAR"), false);
    const auto& grabar = A::caja(barra, 6);
    QTest::mousePress(&barra, Qt::LeftButton, {},
                      QPoint(int((grabar.Left + grabar.Width / 2) / 15), int((grabar.Top + grabar.Height / 2) / 15)));
    const QImage imagen = ventana.imagen();
    for (const int i : {1, 6}) {
        SCOPED_TRACE(A::key(barra, i).toStdString());
        const QColor item = qcolor(A::caja(barra, i).BackColor);
        ASSERT_NE(item, qcolor(barra.NormalBackColor()));
        // Down the item's left margin, from the top of its box to the bottom of its caption.
        const QRect caja = pixeles(barra, A::caja(barra, i));
        const QRect texto = pixeles(barra, A::texto(barra, i));
        for (int y = caja.top(); y <= texto.bottom(); ++y) {
            EXPECT_EQ(imagen.pixelColor(caja.left() + 2, y), item) << "row " << y;
        }
    }
    QTest::mouseRelease(&barra, Qt::LeftButton);
}

} // namespace
