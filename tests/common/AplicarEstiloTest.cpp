#include "common/AplicarEstilo.h"
#include "common/FrmMsgBox.h"
#include "common/Lbf_CtrlDisplay.h"
#include "platform/core/Runtime.h"
#include "platform/util/Dll_ApiWindows.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using common::AplicarEstilo;
using common::Color;
using common::RGB;

// A command bar as the styling sees it: a style number property and the
// routine that applies it, both recorded.
class BarraPrueba : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Theme READ theme WRITE setTheme)

public:
    explicit BarraPrueba(QWidget* parent = nullptr) : QWidget(parent)
    {
        setProperty("tipoControl", QStringLiteral("UtilVek"));
    }
    int theme() const { return m_theme; }
    void setTheme(int t) { m_theme = t; }
    Q_INVOKABLE void ApplyColorStyle(int estilo) { aplicados.push_back(estilo); }

    std::vector<int> aplicados;

private:
    int m_theme = 0;
};

// A grid with some of the fixed-cell colour properties (one as a QColor, two
// as 24-bit numbers) and without GridColorFixed.
class GrillaPrueba : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor BackColorFixed MEMBER backColorFixed)
    Q_PROPERTY(qlonglong ForeColorFixed MEMBER foreColorFixed)
    Q_PROPERTY(qlonglong GridColor MEMBER gridColor)

public:
    explicit GrillaPrueba(QWidget* parent = nullptr) : QWidget(parent)
    {
        setProperty("tipoControl", QStringLiteral("MSFlexGrid"));
    }
    QColor backColorFixed;
    qlonglong foreColorFixed = -1;
    qlonglong gridColor = -1;
};

// A user control of the program: its parts are its own.
class ControlUsuario : public QWidget
{
    Q_OBJECT

public:
    explicit ControlUsuario(QWidget* parent = nullptr) : QWidget(parent), caja(new QLineEdit(this)) {}
    QLineEdit* caja;
};

namespace {

Color colorOf(const QColor& q)
{
    return RGB(q.red(), q.green(), q.blue());
}

Color rol(const QWidget* w, QPalette::ColorRole r)
{
    return colorOf(w->palette().color(r));
}

QString usuario()
{
    return platform::Dll_ApiWindows::shared().NombreUsuarioWindows().toUpper();
}

// Writes cn000pr.ini into the program folder with the three styling entries
// for data base `base`; an empty value leaves its key out.
void escribirAjustes(const QString& base, const QString& fuente, const QString& tamano, const QString& estilo)
{
    const QString prefijo = usuario() + u'_' + base.toUpper();
    QString texto = QStringLiteral("[OTRO_USUARIOStyles]\r\nStyles=3\r\n");
    if (!fuente.isNull()) {
        texto += QStringLiteral("[%1Font]\r\nFont=%2\r\n").arg(prefijo, fuente);
    }
    if (!tamano.isNull()) {
        texto += QStringLiteral("[%1FontSize]\r\nFontSize=%2\r\n").arg(prefijo, tamano);
    }
    if (!estilo.isNull()) {
        texto += QStringLiteral("[%1Styles]\r\nStyles=%2\r\n").arg(prefijo, estilo);
    }
    QFile f(testing_support::testFolder() + QStringLiteral("/cn000pr.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(texto.toUtf8());
}

void escribirEstilo(const QString& estilo)
{
    escribirAjustes(QString(), QString(), QString(), estilo);
}

// A plain form with one control of each kind the tests look at.
struct Formulario
{
    explicit Formulario(const QString& nombre = QStringLiteral("frmPrueba"))
    {
        form = std::make_unique<QWidget>();
        form->setObjectName(nombre);
        etiqueta = new QLabel(QStringLiteral("Desde"), form.get());
        caja = new QLineEdit(form.get());
        boton = new QPushButton(QStringLiteral("Listar"), form.get());
        barra = new BarraPrueba(new QWidget(form.get()));
    }
    std::unique_ptr<QWidget> form;
    QLabel* etiqueta;
    QLineEdit* caja;
    QPushButton* boton;
    BarraPrueba* barra;
};

} // namespace

TEST(AplicarEstilo, WithoutSettingsFileUsesSegoeUi9AndStyle4)
{
    Formulario f;
    AplicarEstilo(f.form.get(), true, -1);

    EXPECT_EQ(common::EstiloActual(), 4);
    EXPECT_EQ(rol(f.form.get(), QPalette::Window), RGB(235, 236, 238));
    EXPECT_TRUE(f.form->autoFillBackground());
    EXPECT_EQ(f.etiqueta->font().family(), QStringLiteral("Segoe UI"));
    EXPECT_EQ(f.etiqueta->font().pointSizeF(), 9.0);
    EXPECT_EQ(f.caja->font().family(), QStringLiteral("Segoe UI"));
    EXPECT_EQ(rol(f.caja, QPalette::Base), RGB(255, 255, 255));
    EXPECT_EQ(rol(f.caja, QPalette::Text), RGB(42, 44, 46));
    EXPECT_EQ(f.barra->theme(), 5);
    EXPECT_EQ(f.barra->aplicados, std::vector<int>{5});
}

TEST(AplicarEstilo, StyleEntryIsReadAsItsNumericValue)
{
    struct Caso
    {
        const char* texto;
        int estilo;
        Color fondo;
        int barra;
    };
    const Caso casos[] = {
        {"abc", 0, RGB(239, 245, 250), 1}, {" 2 ", 2, RGB(242, 241, 225), 3}, {"3x", 3, RGB(238, 238, 244), 4},
        {"1", 1, RGB(205, 208, 211), 2},   {"7", 7, RGB(244, 245, 247), 2},   {"-1", -1, RGB(244, 245, 247), 2},
        {"2.5", 2, RGB(242, 241, 225), 3}, {"3.5", 4, RGB(235, 236, 238), 5},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.texto);
        escribirEstilo(QString::fromUtf8(c.texto));
        Formulario f;
        AplicarEstilo(f.form.get(), true, -1);
        EXPECT_EQ(common::EstiloActual(), c.estilo);
        EXPECT_EQ(rol(f.form.get(), QPalette::Window), c.fondo);
        EXPECT_EQ(f.barra->theme(), c.barra);
        EXPECT_EQ(f.barra->aplicados, std::vector<int>{c.barra});
    }
}

TEST(AplicarEstilo, SettingsComeFromTheSectionsOfUserAndDataBase)
{
    common::DefinirNombreBaseEstilo([] { return QStringLiteral("Demo"); });
    escribirAjustes(QStringLiteral("DEMO"), QStringLiteral("  DejaVu Sans  "), QStringLiteral(" 11 "),
                    QStringLiteral("2"));
    Formulario f;
    AplicarEstilo(f.form.get(), true, -1);
    EXPECT_EQ(f.etiqueta->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(f.etiqueta->font().pointSizeF(), 11.0);
    EXPECT_EQ(common::EstiloActual(), 2);

    // Another data base's sections are not this one's.
    common::DefinirNombreBaseEstilo([] { return QStringLiteral("OTRA"); });
    Formulario g;
    AplicarEstilo(g.form.get(), true, -1);
    EXPECT_EQ(g.etiqueta->font().family(), QStringLiteral("Segoe UI"));
    EXPECT_EQ(common::EstiloActual(), 4);
}

TEST(AplicarEstilo, ResetOfTheProgramDropsTheDataBaseNameAndTheStyle)
{
    escribirAjustes(QString(), QString(), QString(), QStringLiteral("3"));
    common::DefinirNombreBaseEstilo([] { return QStringLiteral("DEMO"); });
    Formulario f;
    AplicarEstilo(f.form.get(), true, 2);
    EXPECT_EQ(common::EstiloActual(), 2);

    platform::Runtime& rt = platform::Runtime::instance();
    rt.reset();
    rt.setProgramFolder(testing_support::testFolder());
    rt.setExitHandler([](int status) { throw platform::ProgramExit{status}; });
    testing_support::installScriptedOperator();

    EXPECT_EQ(common::EstiloActual(), 0);
    Formulario g;
    AplicarEstilo(g.form.get(), true, -1);
    EXPECT_EQ(common::EstiloActual(), 3);
}

TEST(AplicarEstilo, StyleArgumentReplacesTheSettingsNumber)
{
    escribirEstilo(QStringLiteral("2"));
    Formulario f;
    AplicarEstilo(f.form.get(), true, 0);
    EXPECT_EQ(common::EstiloActual(), 0);
    EXPECT_EQ(rol(f.form.get(), QPalette::Window), RGB(239, 245, 250));
    EXPECT_EQ(f.barra->theme(), 1);
}

TEST(AplicarEstilo, MainWindowInStyle1IsDarkAndOnlyItsCommandBarsAreStyled)
{
    for (const char* nombre : {"FRMMDI", "frmMdi"}) {
        SCOPED_TRACE(nombre);
        escribirEstilo(QStringLiteral("1"));
        Formulario f(QString::fromUtf8(nombre));
        f.etiqueta->setFont(QFont(QStringLiteral("Courier"), 10));
        AplicarEstilo(f.form.get(), true, -1);

        EXPECT_EQ(rol(f.form.get(), QPalette::Window), RGB(38, 40, 42));
        EXPECT_EQ(f.etiqueta->font().family(), QStringLiteral("Courier"));
        EXPECT_FALSE(f.etiqueta->testAttribute(Qt::WA_SetPalette));
        EXPECT_FALSE(f.boton->isFlat());
        EXPECT_EQ(f.barra->theme(), 2);
        EXPECT_EQ(f.barra->aplicados, std::vector<int>{2});
    }
}

TEST(AplicarEstilo, ButtonFacesFollowTheKindOfButton)
{
    // Style 4: face (218, 221, 224); mixed 0.55 towards green or red.
    const Color verde = RGB(123, 187, 138);
    const Color rojo = RGB(206, 131, 132);
    const Color neutro = RGB(218, 221, 224);
    struct Caso
    {
        const char* caption;
        bool cancel;
        bool porDefecto;
        Color cara;
    };
    const Caso casos[] = {
        {"GRABAR Y SALIR", false, false, verde}, {"&Conectar", false, false, verde}, {"&Cancelar", false, false, rojo},
        {"Cerrar Sistema", false, false, rojo},  {"Listar", false, false, neutro},   {"Listar", false, true, verde},
        {"&Aceptar", true, true, rojo},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.caption);
        Formulario f;
        f.boton->setText(QString::fromUtf8(c.caption));
        if (c.cancel) {
            f.boton->setProperty("Cancel", true);
        }
        f.boton->setDefault(c.porDefecto);
        AplicarEstilo(f.form.get(), true, -1);
        EXPECT_TRUE(f.boton->isFlat());
        EXPECT_TRUE(f.boton->autoFillBackground());
        EXPECT_EQ(rol(f.boton, QPalette::Button), c.cara);
        EXPECT_EQ(rol(f.boton, QPalette::ButtonText), RGB(0, 0, 0));
    }
}

TEST(AplicarEstilo, ButtonsWithoutTheFlatFlagOnlyGetTheirTextColour)
{
    Formulario f;
    f.boton->setText(QStringLiteral("&Grabar"));
    AplicarEstilo(f.form.get(), false, -1);
    EXPECT_FALSE(f.boton->isFlat());
    EXPECT_EQ(rol(f.boton, QPalette::ButtonText), RGB(36, 38, 40));
    EXPECT_FALSE(f.boton->palette().isBrushSet(QPalette::Active, QPalette::Button));
}

TEST(AplicarEstilo, DisabledButtonKeepsThePlatformsDisabledText)
{
    Formulario f;
    f.boton->setText(QStringLiteral("&Borrar"));
    f.boton->setEnabled(false);
    const QColor antes = f.boton->palette().color(QPalette::Disabled, QPalette::ButtonText);
    AplicarEstilo(f.form.get(), true, -1);
    EXPECT_EQ(f.boton->palette().color(QPalette::Active, QPalette::ButtonText), QColor(0, 0, 0));
    EXPECT_EQ(f.boton->palette().color(QPalette::Disabled, QPalette::ButtonText), antes);
}

TEST(AplicarEstilo, LabelsGetColoursByTheirTextAndKeepLargeFonts)
{
    Formulario f;
    f.etiqueta->setFont(QFont(QStringLiteral("Courier"), 14));
    auto blanca = [&](const QString& nombre, bool opaca, QColor fondo) {
        auto* l = new QLabel(nombre, f.form.get());
        l->setObjectName(nombre);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        p.setColor(QPalette::Window, fondo);
        l->setPalette(p);
        l->setAutoFillBackground(opaca);
        return l;
    };
    QLabel* opacaOscura = blanca(QStringLiteral("lblA"), true, QColor(20, 20, 90));
    QLabel* opacaClara = blanca(QStringLiteral("lblB"), true, QColor(250, 250, 200));
    QLabel* transparente = blanca(QStringLiteral("lblC"), false, QColor(250, 250, 200));
    QLabel* total = blanca(QStringLiteral("lbltotal"), false, QColor(250, 250, 200));
    auto* marlett = new QLabel(QStringLiteral("r"), f.form.get());
    marlett->setFont(QFont(QStringLiteral("Marlett"), 8));

    AplicarEstilo(f.form.get(), true, -1);

    EXPECT_EQ(f.etiqueta->font().family(), QStringLiteral("Courier"));
    EXPECT_EQ(f.etiqueta->font().pointSizeF(), 14.0);
    EXPECT_EQ(rol(f.etiqueta, QPalette::WindowText), RGB(42, 44, 46));
    EXPECT_FALSE(f.etiqueta->autoFillBackground());

    EXPECT_EQ(rol(opacaOscura, QPalette::WindowText), RGB(255, 255, 255));
    EXPECT_EQ(rol(opacaClara, QPalette::WindowText), RGB(0, 0, 0));
    EXPECT_TRUE(opacaClara->autoFillBackground());

    EXPECT_TRUE(transparente->autoFillBackground());
    EXPECT_EQ(rol(transparente, QPalette::Window), RGB(0, 0, 0));
    EXPECT_EQ(rol(transparente, QPalette::WindowText), RGB(255, 255, 255));

    EXPECT_FALSE(total->autoFillBackground());
    EXPECT_EQ(rol(total, QPalette::Window), RGB(250, 250, 200));
    EXPECT_EQ(total->font().family(), QStringLiteral("Segoe UI"));

    EXPECT_EQ(marlett->font().family(), QStringLiteral("Marlett"));
    EXPECT_EQ(marlett->font().pointSizeF(), 8.0);
}

TEST(AplicarEstilo, WhiteTextBoxKeepsItsColoursButTurnsFlat)
{
    Formulario f;
    auto* blanca = new QPlainTextEdit(f.form.get());
    QPalette p = blanca->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, QColor(10, 20, 30));
    blanca->setPalette(p);
    auto* coloreada = new QPlainTextEdit(f.form.get());
    QPalette q = coloreada->palette();
    q.setColor(QPalette::Base, QColor(255, 255, 200));
    coloreada->setPalette(q);

    AplicarEstilo(f.form.get(), true, 1);

    EXPECT_EQ(rol(blanca, QPalette::Base), RGB(255, 255, 255));
    EXPECT_EQ(rol(blanca, QPalette::Text), RGB(10, 20, 30));
    EXPECT_EQ(blanca->frameShape(), QFrame::Box);
    EXPECT_EQ(blanca->frameShadow(), QFrame::Plain);
    EXPECT_EQ(rol(coloreada, QPalette::Base), RGB(242, 243, 244));
    EXPECT_EQ(rol(coloreada, QPalette::Text), RGB(0, 0, 0));
    EXPECT_EQ(coloreada->frameShadow(), QFrame::Plain);
}

TEST(AplicarEstilo, FlatLineEditShowsTheFieldColourInItsFrame)
{
    escribirEstilo(QStringLiteral("2"));
    Formulario f;
    f.caja->setFrame(false);
    f.caja->resize(120, 24);
    AplicarEstilo(f.form.get(), true, -1);
    EXPECT_TRUE(f.caja->hasFrame());
    EXPECT_EQ(colorOf(f.caja->grab().toImage().pixelColor(60, 12)), RGB(255, 255, 244));
}

TEST(AplicarEstilo, TextBoxesKeepTheirFrameWithoutTheFlatFlag)
{
    Formulario f;
    auto* texto = new QPlainTextEdit(f.form.get());
    const QFrame::Shadow antes = texto->frameShadow();
    AplicarEstilo(f.form.get(), false, -1);
    EXPECT_EQ(texto->frameShadow(), antes);
    EXPECT_EQ(rol(texto, QPalette::Base), RGB(255, 255, 255));
    EXPECT_EQ(rol(texto, QPalette::Text), RGB(42, 44, 46));
}

TEST(AplicarEstilo, CheckBoxOnATabPageGetsTheButtonFace)
{
    Formulario f;
    auto* tab = new QTabWidget(f.form.get());
    auto* pagina = new QWidget;
    tab->addTab(pagina, QStringLiteral("Uno"));
    auto* marco = new QGroupBox(QStringLiteral("Marco"), pagina);
    auto* enTab = new QCheckBox(QStringLiteral("Activo"), marco);
    auto* enForm = new QCheckBox(QStringLiteral("Activo"), f.form.get());
    auto* opcion = new QRadioButton(QStringLiteral("Todos"), f.form.get());

    AplicarEstilo(f.form.get(), true, -1);

    const Color cara = colorOf(QApplication::palette().color(QPalette::Button));
    EXPECT_TRUE(common::DentroDeSSTab(enTab));
    EXPECT_EQ(rol(enTab, QPalette::Window), cara);
    EXPECT_TRUE(enTab->autoFillBackground());
    EXPECT_EQ(rol(enTab, QPalette::WindowText), RGB(42, 44, 46));
    EXPECT_FALSE(common::DentroDeSSTab(enForm));
    EXPECT_EQ(rol(enForm, QPalette::Window), RGB(235, 236, 238));
    EXPECT_EQ(rol(opcion, QPalette::Window), RGB(235, 236, 238));
    EXPECT_EQ(rol(marco, QPalette::Window), cara);
    EXPECT_EQ(rol(marco, QPalette::WindowText), RGB(88, 90, 92));
    EXPECT_EQ(rol(tab, QPalette::Window), cara);
    EXPECT_EQ(rol(tab, QPalette::WindowText), RGB(42, 44, 46));
    EXPECT_EQ(enTab->font().family(), QStringLiteral("Segoe UI"));
}

TEST(AplicarEstilo, TabControlSearchStopsAtTheWindowAndAfterFifteenLevels)
{
    QTabWidget tab;
    auto* pagina = new QWidget;
    tab.addTab(pagina, QStringLiteral("Uno"));
    QWidget* w = pagina;
    for (int i = 0; i < 12; ++i) {
        w = new QWidget(w);
    }
    EXPECT_TRUE(common::DentroDeSSTab(w));
    w = new QWidget(new QWidget(w));
    EXPECT_FALSE(common::DentroDeSSTab(w));

    QWidget ventana;
    auto* caja = new QCheckBox(&ventana);
    EXPECT_FALSE(common::DentroDeSSTab(caja));
    EXPECT_FALSE(common::DentroDeSSTab(&ventana));
    EXPECT_FALSE(common::DentroDeSSTab(nullptr));
}

TEST(AplicarEstilo, FieldsListsAndGridsGetTheFieldColours)
{
    escribirEstilo(QStringLiteral("2"));
    Formulario f;
    auto* combo = new QComboBox(f.form.get());
    auto* lista = new QListWidget(f.form.get());
    auto* grilla = new GrillaPrueba(f.form.get());
    auto* arbol = new QTreeWidget(f.form.get());
    arbol->setFont(QFont(QStringLiteral("Courier"), 10));

    AplicarEstilo(f.form.get(), true, -1);

    EXPECT_EQ(rol(combo, QPalette::Base), RGB(255, 255, 244));
    EXPECT_EQ(rol(combo, QPalette::Text), RGB(58, 56, 46));
    EXPECT_EQ(combo->font().family(), QStringLiteral("Segoe UI"));
    EXPECT_EQ(rol(lista, QPalette::Base), RGB(255, 255, 244));
    EXPECT_EQ(rol(lista, QPalette::Text), RGB(58, 56, 46));
    EXPECT_EQ(rol(grilla, QPalette::Base), RGB(255, 255, 244));
    EXPECT_EQ(rol(grilla, QPalette::Text), RGB(58, 56, 46));
    EXPECT_EQ(colorOf(grilla->backColorFixed), RGB(220, 218, 200));
    EXPECT_EQ(grilla->foreColorFixed, RGB(58, 56, 46));
    EXPECT_EQ(grilla->gridColor, RGB(212, 208, 188));
    EXPECT_EQ(grilla->font().family(), QStringLiteral("Segoe UI"));
    // A widget with no type of its own is left as it is.
    EXPECT_EQ(arbol->font().family(), QStringLiteral("Courier"));
    EXPECT_FALSE(arbol->testAttribute(Qt::WA_SetPalette));
}

TEST(AplicarEstilo, PartsOfComboBoxesAndUserControlsAreNotStyled)
{
    Formulario f;
    auto* combo = new QComboBox(f.form.get());
    combo->setEditable(true);
    auto* propio = new ControlUsuario(f.form.get());
    AplicarEstilo(f.form.get(), true, -1);
    EXPECT_TRUE(combo->lineEdit()->styleSheet().isEmpty());
    EXPECT_FALSE(propio->caja->testAttribute(Qt::WA_SetPalette));
    EXPECT_FALSE(propio->caja->testAttribute(Qt::WA_SetFont));
}

TEST(AplicarEstilo, ControlsDeclareTheirTypeOrTakeItFromTheirClass)
{
    QWidget form;
    struct Caso
    {
        QWidget* w;
        const char* tipo;
    };
    auto* propio = new QWidget(&form);
    propio->setProperty("tipoControl", QStringLiteral("ListView"));
    const Caso casos[] = {
        {new QPushButton(&form), "CommandButton"},
        {new QLabel(&form), "Label"},
        {new QLineEdit(&form), "TextBox"},
        {new QPlainTextEdit(&form), "TextBox"},
        {new QTextEdit(&form), "TextBox"},
        {new QCheckBox(&form), "CheckBox"},
        {new QRadioButton(&form), "OptionButton"},
        {new QComboBox(&form), "ComboBox"},
        {new QListWidget(&form), "ListBox"},
        {new QListView(&form), "ListBox"},
        {new QTabWidget(&form), "SSTab"},
        {new QGroupBox(&form), "Frame"},
        {propio, "ListView"},
        {new QTreeWidget(&form), ""},
        {new QWidget(&form), ""},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(common::NombreTipoControl(c.w), QString::fromUtf8(c.tipo)) << c.tipo;
    }
}

TEST(AplicarEstilo, EstiloDeBarraMapsStylesToCommandBarStyles)
{
    const std::pair<int, int> casos[] = {{-1, 2}, {0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 2}, {32767, 2}};
    for (auto [estilo, barra] : casos) {
        EXPECT_EQ(common::EstiloDeBarra(estilo), barra) << estilo;
    }
}

TEST(AplicarEstilo, MezclarColorRoundsHalvesToEven)
{
    struct Caso
    {
        Color a;
        Color b;
        float fraccion;
        Color esperado;
    };
    const Caso casos[] = {
        {RGB(0, 0, 0), RGB(1, 3, 5), 0.5f, RGB(0, 2, 2)},
        {RGB(10, 10, 10), RGB(20, 16, 12), 0.25f, RGB(12, 12, 10)},
        {RGB(218, 221, 224), common::kVerdeAceptar, 0.55f, RGB(123, 187, 138)},
        {RGB(100, 100, 100), RGB(200, 50, 0), 0.0f, RGB(100, 100, 100)},
        {RGB(100, 100, 100), RGB(200, 50, 0), 1.0f, RGB(200, 50, 0)},
        {RGB(200, 50, 10), RGB(250, 10, 20), 2.0f, RGB(255, 0, 30)},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(common::MezclarColor(c.a, c.b, c.fraccion), c.esperado) << std::hex << c.esperado;
    }
}

TEST(AplicarEstilo, EsColorOscuroBelowLuminance140)
{
    const std::pair<Color, bool> casos[] = {
        {RGB(139, 139, 139), true}, {RGB(141, 141, 141), false}, {RGB(255, 0, 0), true},      {RGB(0, 255, 0), false},
        {RGB(0, 0, 255), true},     {RGB(0, 0, 0), true},        {RGB(255, 255, 255), false},
    };
    for (auto [color, oscuro] : casos) {
        EXPECT_EQ(common::EsColorOscuro(color), oscuro) << std::hex << color;
    }
    const bool caraOscura = QApplication::palette().color(QPalette::Button).lightnessF() < 0.5;
    EXPECT_EQ(common::EsColorOscuro(common::kColorCaraBoton), caraOscura);
}

TEST(AplicarEstilo, ProgressTextGoesToSplashAndMainWindow)
{
    QWidget splash;
    splash.setObjectName(QStringLiteral("FrmSplash"));
    auto* version = new QLabel(&splash);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->hide();
    QWidget mdi;
    mdi.setObjectName(QStringLiteral("frmMDI"));
    auto* descripcion = new QLabel(&mdi);
    descripcion->setObjectName(QStringLiteral("LblDescBotonera"));

    common::MostrarProgresoInicio(QStringLiteral("  Conectando  "), false);
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("ORVO GESTION - Conectando"));
    EXPECT_EQ(version->text(), QStringLiteral("Conectando"));
    EXPECT_FALSE(version->isHidden());
    EXPECT_EQ(descripcion->text(), QStringLiteral("Conectando"));

    common::MostrarProgresoInicio(QStringLiteral("   "), true);
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("ORVO GESTION - ..."));

    Formulario f;
    AplicarEstilo(f.form.get(), true, -1);
    EXPECT_EQ(version->text(), QStringLiteral("Aplicando estilo liviano..."));
}

TEST(AplicarEstilo, BannerAndMessageBoxStyleThemselvesOnLoad)
{
    escribirEstilo(QStringLiteral("3"));
    common::Lbf_CtrlDisplay banner;
    EXPECT_EQ(rol(&banner, QPalette::Window), RGB(238, 238, 244));
    // Styled before its caption is set: a plain face.
    EXPECT_TRUE(banner.CmdDisplayCancelar->isFlat());
    EXPECT_EQ(rol(banner.CmdDisplayCancelar, QPalette::Button), RGB(220, 220, 232));

    common::FrmMsgBox caja;
    caja.show();
    EXPECT_EQ(rol(&caja, QPalette::Window), RGB(238, 238, 244));
    EXPECT_EQ(rol(caja.CmdAceptar, QPalette::Button),
              common::MezclarColor(RGB(220, 220, 232), common::kVerdeAceptar, 0.55f));
    EXPECT_EQ(caja.LblMensaje->font().family(), QStringLiteral("Segoe UI"));
    caja.hide();
}

#include "AplicarEstiloTest.moc"
