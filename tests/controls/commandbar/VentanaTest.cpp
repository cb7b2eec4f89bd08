// The bar as a host window shows it: laid out at the size the host's layout
// gives it.
#include "BarraPrueba.h"

#include "support/TextFit.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

using commandbar_tests::BarraTest;
using controls::UtilVek;
using A = controls::UtilVekAcceso;

namespace {

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

} // namespace
