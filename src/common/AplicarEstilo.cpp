#include "common/AplicarEstilo.h"

#include "platform/core/ProgramWide.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_ApiWindows.h"
#include "platform/util/Dll_ArchivoIni.h"
#include "platform/ui/Colors.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>

#include <cmath>
#include <initializer_list>
#include <limits>

namespace common {

namespace {

using platform::text::EqualsNoCase;

const QString kArchivoIni = QStringLiteral("cn000pr.ini");

struct Estado
{
    int estilo = 0;
    std::function<QString()> nombreBase;
};

platform::ProgramWide<Estado> g_estado;

Estado& estado()
{
    return g_estado.get();
}

// --- Colours ---------------------------------------------------------------

constexpr Color kBlanco = 0xFFFFFF;
constexpr Color kNegro = 0x000000;
// The desktop's colours (&H800000nn) that stand for a control's colour the form never set.
constexpr Color kSistemaFondoVentana = 0x80000005L;
constexpr Color kSistemaTextoBoton = 0x80000012L;

int rojo(Color c)
{
    return int(c & 0xFF);
}
int verde(Color c)
{
    return int((c >> 8) & 0xFF);
}
int azul(Color c)
{
    return int((c >> 16) & 0xFF);
}

bool esColorDeSistema(Color c)
{
    return (c & 0x80000000L) != 0;
}

QColor toQColor(Color c)
{
    return platform::ui::toQColor(platform::ui::OleColor(c));
}

Color toColor(const QColor& q)
{
    return RGB(q.red(), q.green(), q.blue());
}

// --- Properties by name ----------------------------------------------------

bool tienePropiedad(const QObject* o, const char* nombre)
{
    return o->metaObject()->indexOfProperty(nombre) >= 0;
}

// Writes a colour into a property the control declares, as a QColor or as
// the 24-bit number, whichever the property holds.
void escribirColor(QObject* o, const char* nombre, Color c)
{
    const int i = o->metaObject()->indexOfProperty(nombre);
    if (i < 0) {
        return;
    }
    if (o->metaObject()->property(i).metaType() == QMetaType::fromType<QColor>()) {
        const QColor q = toQColor(c);
        if (q.isValid()) {
            o->setProperty(nombre, q);
        }
    } else {
        o->setProperty(nombre, QVariant::fromValue(qlonglong(c)));
    }
}

// A control's colour: its own property when it declares one, else the
// palette role when the program set it, else `porDefecto` (the desktop's colour
// that the control shows when nobody chose one).
Color colorDe(const QWidget* w, const char* propiedad, QPalette::ColorRole rol, Color porDefecto)
{
    if (tienePropiedad(w, propiedad)) {
        const QVariant v = w->property(propiedad);
        if (v.metaType() == QMetaType::fromType<QColor>()) {
            return toColor(v.value<QColor>());
        }
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        return ok ? Color(n) : porDefecto;
    }
    if (w->testAttribute(Qt::WA_SetPalette) && w->palette().isBrushSet(QPalette::Active, rol)) {
        return toColor(w->palette().color(rol));
    }
    return porDefecto;
}

// Sets a control's colour: its own property when it declares one, else the
// given palette roles.
void asignarColor(QWidget* w, const char* propiedad, std::initializer_list<QPalette::ColorRole> roles, Color c)
{
    if (tienePropiedad(w, propiedad)) {
        escribirColor(w, propiedad, c);
        return;
    }
    const QColor q = toQColor(c);
    if (!q.isValid()) {
        return;
    }
    QPalette p = w->palette();
    for (QPalette::ColorRole rol : roles) {
        const bool texto = rol == QPalette::WindowText || rol == QPalette::Text || rol == QPalette::ButtonText;
        if (texto) {
            // A disabled control keeps the platform's grey text, so it still reads as disabled.
            p.setColor(QPalette::Active, rol, q);
            p.setColor(QPalette::Inactive, rol, q);
        } else {
            p.setColor(rol, q);
        }
    }
    w->setPalette(p);
}

void fondo(QWidget* w, std::initializer_list<QPalette::ColorRole> roles, Color c)
{
    asignarColor(w, "BackColor", roles, c);
}

void texto(QWidget* w, std::initializer_list<QPalette::ColorRole> roles, Color c)
{
    asignarColor(w, "ForeColor", roles, c);
}

// --- Settings --------------------------------------------------------------

// The numeric value at the start of a text, read as Val reads
// it: blanks are skipped, then an optional sign, digits and one decimal
// point; the first other character ends the number; no digits read 0.
double valorNumerico(const QString& s)
{
    QString numero;
    bool punto = false;
    for (QChar ch : s) {
        if (ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r') {
            continue;
        }
        if ((ch == u'-' || ch == u'+') && numero.isEmpty()) {
            numero += ch;
        } else if (ch.isDigit() && ch.unicode() < 128) {
            numero += ch;
        } else if (ch == u'.' && !punto) {
            punto = true;
            numero += ch;
        } else {
            break;
        }
    }
    bool ok = false;
    const double v = numero.toDouble(&ok);
    return ok ? v : 0.0;
}

// Halves to the even neighbour.
double redondeoPar(double v)
{
    const double piso = std::floor(v);
    const double resto = v - piso;
    if (resto > 0.5) {
        return piso + 1;
    }
    if (resto < 0.5) {
        return piso;
    }
    return std::fmod(piso, 2.0) == 0.0 ? piso : piso + 1;
}

struct Ajustes
{
    QString fuente;
    QString tamano;
    QString estilo;
};

Ajustes leerAjustes()
{
    QString base;
    if (const auto& fuenteNombre = estado().nombreBase) {
        try {
            base = fuenteNombre();
        } catch (...) {
            base.clear();
        }
    }
    const QString prefijo = platform::Dll_ApiWindows::shared().NombreUsuarioWindows().toUpper() + u'_' + base.toUpper();
    const platform::Dll_ArchivoIni& ini = platform::Dll_ArchivoIni::shared();
    Ajustes a;
    a.fuente = platform::text::Trim(
        ini.LeerValor(kArchivoIni, prefijo + QStringLiteral("Font"), QStringLiteral("Font"), "Segoe UI"));
    a.tamano = platform::text::Trim(
        ini.LeerValor(kArchivoIni, prefijo + QStringLiteral("FontSize"), QStringLiteral("FontSize"), "9"));
    a.estilo = ini.LeerValor(kArchivoIni, prefijo + QStringLiteral("Styles"), QStringLiteral("Styles"), "4");
    return a;
}

// --- Walking the controls --------------------------------------------------

bool tipoEs(const QString& tipo, const char* nombre)
{
    return tipo.compare(QLatin1String(nombre), Qt::CaseInsensitive) == 0;
}

// Qt's plain containers (pages, panels, scroll areas) hold a form's controls
// without being controls of their own. Typed controls and the program's user
// controls are not entered: their parts are theirs, except for the two
// container controls, frames and tab controls.
bool seEntraEn(const QWidget* w, const QString& tipo)
{
    if (!tipo.isEmpty()) {
        return tipoEs(tipo, "Frame") || tipoEs(tipo, "SSTab");
    }
    const QMetaObject* mo = w->metaObject();
    return mo == &QWidget::staticMetaObject || mo == &QFrame::staticMetaObject ||
           mo == &QStackedWidget::staticMetaObject || mo == &QScrollArea::staticMetaObject ||
           mo == &QSplitter::staticMetaObject;
}

void reunirControles(QWidget* contenedor, QList<QWidget*>& controles)
{
    for (QObject* o : contenedor->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow()) {
            continue;
        }
        const QString tipo = NombreTipoControl(w);
        if (!tipo.isEmpty()) {
            controles.append(w);
        }
        if (seEntraEn(w, tipo)) {
            reunirControles(w, controles);
        }
    }
}

bool esVentanaPrincipal(const QWidget* form)
{
    return EqualsNoCase(form->objectName(), u"FRMMDI");
}

void aplicarFuente(QWidget* w, const QString& tipo, const Ajustes& a)
{
    static const char* const tipos[] = {"CommandButton", "Label", "TextBox",  "CheckBox",   "OptionButton", "ComboBox",
                                        "ListBox",       "SSTab", "ListView", "MSFlexGrid", "Frame"};
    bool conFuente = false;
    for (const char* t : tipos) {
        conFuente = conFuente || tipoEs(tipo, t);
    }
    QFont f = w->font();
    if (!conFuente || EqualsNoCase(f.family(), u"Marlett") || f.pointSizeF() > 12) {
        return;
    }
    if (!a.fuente.isEmpty()) {
        f.setFamily(a.fuente);
    }
    bool ok = false;
    const double tamano = a.tamano.toDouble(&ok);
    if (ok && tamano > 0) {
        f.setPointSizeF(tamano);
    }
    w->setFont(f);
}

// The flat look of a text field: a single plain line around it. Qt draws a
// line edit's frame as a single line already and has no raised look to turn
// off, so a line edit only keeps its frame on.
void aplicarPlano(QWidget* w)
{
    if (auto* marco = qobject_cast<QFrame*>(w)) {
        marco->setFrameStyle(QFrame::Box | QFrame::Plain);
        marco->setLineWidth(1);
    } else if (auto* linea = qobject_cast<QLineEdit*>(w)) {
        linea->setFrame(true);
    }
}

void estilizarEtiqueta(QWidget* w, const Paleta& c)
{
    static const char16_t* const fijas[] = {u"LblDescAux", u"LblTotal", u"LblVuelto"};
    for (const char16_t* nombre : fijas) {
        if (EqualsNoCase(w->objectName(), nombre)) {
            return;
        }
    }
    if (colorDe(w, "ForeColor", QPalette::WindowText, kSistemaTextoBoton) != kBlanco) {
        texto(w, {QPalette::WindowText}, c[3]);
        w->setAutoFillBackground(false);
    } else if (w->autoFillBackground()) {
        const Color fondoActual = colorDe(w, "BackColor", QPalette::Window, kColorCaraBoton);
        texto(w, {QPalette::WindowText}, EsColorOscuro(fondoActual) ? kBlanco : kNegro);
    } else {
        fondo(w, {QPalette::Window}, kNegro);
        w->setAutoFillBackground(true);
        texto(w, {QPalette::WindowText}, kBlanco);
    }
}

void estilizarBoton(QPushButton* b, bool plano, const Paleta& c)
{
    if (!plano) {
        texto(b, {QPalette::ButtonText}, c[6]);
        return;
    }
    Color cara = c[5];
    switch (ClaseDeBoton(b)) {
    case 1:
        cara = MezclarColor(c[5], kVerdeAceptar, 0.55f);
        break;
    case 2:
        cara = MezclarColor(c[5], kRojoCancelar, 0.55f);
        break;
    default:
        break;
    }
    b->setFlat(true);
    b->setBackgroundRole(QPalette::Button);
    b->setAutoFillBackground(true);
    fondo(b, {QPalette::Button}, cara);
    texto(b, {QPalette::ButtonText}, EsColorOscuro(cara) ? kBlanco : kNegro);
}

void aplicarColores(QWidget* w, const QString& tipo, bool plano, const Paleta& c)
{
    if (tipoEs(tipo, "Label")) {
        estilizarEtiqueta(w, c);
    } else if (tipoEs(tipo, "Frame")) {
        fondo(w, {QPalette::Window}, DentroDeSSTab(w) ? kColorCaraBoton : c[0]);
        w->setAutoFillBackground(true);
        texto(w, {QPalette::WindowText}, c[4]);
    } else if (tipoEs(tipo, "TextBox")) {
        if (colorDe(w, "BackColor", QPalette::Base, kSistemaFondoVentana) != kBlanco) {
            fondo(w, {QPalette::Base}, c[2]);
            texto(w, {QPalette::Text}, c[3]);
        }
        if (plano) {
            aplicarPlano(w);
        }
    } else if (tipoEs(tipo, "ComboBox")) {
        // A combo shows its field with the base colours when editable and
        // with the button colours when not.
        fondo(w, {QPalette::Base, QPalette::Button}, c[2]);
        texto(w, {QPalette::Text, QPalette::ButtonText}, c[3]);
    } else if (tipoEs(tipo, "ListBox") || tipoEs(tipo, "ListView")) {
        fondo(w, {QPalette::Base}, c[2]);
        texto(w, {QPalette::Text}, c[3]);
    } else if (tipoEs(tipo, "CheckBox") || tipoEs(tipo, "OptionButton")) {
        fondo(w, {QPalette::Window}, DentroDeSSTab(w) ? kColorCaraBoton : c[0]);
        w->setAutoFillBackground(true);
        texto(w, {QPalette::WindowText}, c[3]);
    } else if (tipoEs(tipo, "CommandButton")) {
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            estilizarBoton(b, plano, c);
        }
    } else if (tipoEs(tipo, "SSTab")) {
        fondo(w, {QPalette::Window}, kColorCaraBoton);
        texto(w, {QPalette::WindowText}, c[3]);
    } else if (tipoEs(tipo, "MSFlexGrid")) {
        fondo(w, {QPalette::Base}, c[2]);
        escribirColor(w, "BackColorFixed", c[1]);
        texto(w, {QPalette::Text}, c[3]);
        escribirColor(w, "ForeColorFixed", c[3]);
        escribirColor(w, "GridColor", c[7]);
        escribirColor(w, "GridColorFixed", c[8]);
    }
}

// Hands the command bar's style to a command-bar control: Theme, then
// ApplyColorStyle(int) with the same number, each only where the control has it.
void estilizarBarra(QWidget* w, int barra)
{
    if (tienePropiedad(w, "Theme")) {
        w->setProperty("Theme", barra);
    }
    const QMetaObject* mo = w->metaObject();
    for (int i = 0; i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        if (m.name() == "ApplyColorStyle" && m.parameterCount() == 1 && m.parameterType(0) == QMetaType::Int) {
            m.invoke(w, Qt::DirectConnection, Q_ARG(int, barra));
            return;
        }
    }
}

QWidget* hijoPorNombre(QWidget* form, QStringView nombre)
{
    const QList<QWidget*> hijos = form->findChildren<QWidget*>();
    for (QWidget* w : hijos) {
        if (EqualsNoCase(w->objectName(), nombre)) {
            return w;
        }
    }
    return nullptr;
}

void ponerTexto(QWidget* w, const QString& t)
{
    if (tienePropiedad(w, "text")) {
        w->setProperty("text", t);
    }
}

} // namespace

Paleta PaletaDeEstilo(int estilo, bool ventanaPrincipal)
{
    switch (estilo) {
    case 0:
        return {RGB(239, 245, 250), RGB(214, 228, 240), RGB(255, 255, 255), RGB(34, 48, 62),   RGB(78, 94, 110),
                RGB(216, 229, 242), RGB(28, 44, 60),    RGB(210, 222, 234), RGB(184, 202, 218)};
    case 1:
        if (ventanaPrincipal) {
            return {RGB(38, 40, 42), RGB(52, 54, 58),    RGB(47, 50, 54), RGB(238, 238, 238), RGB(190, 194, 198),
                    RGB(64, 67, 72), RGB(245, 245, 245), RGB(70, 74, 80), RGB(88, 92, 98)};
        }
        return {RGB(205, 208, 211), RGB(184, 188, 192), RGB(242, 243, 244), RGB(0, 0, 0),      RGB(20, 20, 20),
                RGB(218, 220, 222), RGB(0, 0, 0),       RGB(198, 202, 206), RGB(170, 176, 182)};
    case 2:
        return {RGB(242, 241, 225), RGB(220, 218, 200), RGB(255, 255, 244), RGB(58, 56, 46),   RGB(95, 92, 76),
                RGB(224, 221, 205), RGB(54, 52, 42),    RGB(212, 208, 188), RGB(188, 184, 164)};
    case 3:
        return {RGB(238, 238, 244), RGB(222, 222, 232), RGB(255, 255, 255), RGB(48, 48, 62),   RGB(86, 86, 104),
                RGB(220, 220, 232), RGB(42, 42, 56),    RGB(210, 210, 222), RGB(188, 188, 206)};
    case 4:
        return {RGB(235, 236, 238), RGB(218, 220, 222), RGB(255, 255, 255), RGB(42, 44, 46),   RGB(88, 90, 92),
                RGB(218, 221, 224), RGB(36, 38, 40),    RGB(210, 212, 214), RGB(188, 192, 196)};
    default:
        return {RGB(244, 245, 247), RGB(232, 235, 239), RGB(255, 255, 255), RGB(38, 42, 46),   RGB(86, 90, 96),
                RGB(224, 229, 234), RGB(34, 38, 42),    RGB(214, 219, 224), RGB(190, 198, 206)};
    }
}

void AplicarEstilo(QWidget* form, bool plano, int estilo)
{
    if (!form) {
        return;
    }
    Estado& s = estado();
    const Ajustes ajustes = leerAjustes();
    // The style is a 16-bit number: a setting outside that range leaves the
    // last style in force.
    const double leido = redondeoPar(valorNumerico(ajustes.estilo));
    if (leido >= std::numeric_limits<int16_t>::min() && leido <= std::numeric_limits<int16_t>::max()) {
        s.estilo = int(leido);
    }
    if (estilo >= 0) {
        s.estilo = estilo;
    }
    const int barra = EstiloDeBarra(s.estilo);
    const bool principal = esVentanaPrincipal(form);
    const Paleta colores = PaletaDeEstilo(s.estilo, principal);

    MostrarProgresoInicio(QStringLiteral("Aplicando estilo liviano..."), true);

    fondo(form, {QPalette::Window}, colores[0]);
    form->setAutoFillBackground(true);

    if (!principal) {
        QList<QWidget*> controles;
        reunirControles(form, controles);
        for (QWidget* w : controles) {
            const QString tipo = NombreTipoControl(w);
            aplicarFuente(w, tipo, ajustes);
            aplicarColores(w, tipo, plano, colores);
        }
    }

    const QList<QWidget*> todos = form->findChildren<QWidget*>();
    for (QWidget* w : todos) {
        const QString tipo = NombreTipoControl(w);
        if (tipoEs(tipo, "UtilVekBar") || tipoEs(tipo, "UtilVek")) {
            estilizarBarra(w, barra);
        }
    }
}

int EstiloActual()
{
    return estado().estilo;
}

int EstiloDeBarra(int estilo)
{
    switch (estilo) {
    case 0:
        return 1;
    case 2:
        return 3;
    case 3:
        return 4;
    case 4:
        return 5;
    default:
        return 2;
    }
}

void MostrarProgresoInicio(const QString& texto, bool procesarEventos)
{
    QString t = platform::text::Trim(texto);
    if (t.isEmpty()) {
        t = QStringLiteral("...");
    }
    const QList<QWidget*> formularios = QApplication::topLevelWidgets();
    for (QWidget* f : formularios) {
        if (EqualsNoCase(f->objectName(), u"frmsplash")) {
            f->setWindowTitle(QStringLiteral("ORVO GESTION - ") + t);
            if (QWidget* version = hijoPorNombre(f, u"lblVersion")) {
                ponerTexto(version, t);
                version->setVisible(true);
                version->repaint();
            }
            f->repaint();
        } else if (EqualsNoCase(f->objectName(), u"frmmdi")) {
            if (QWidget* descripcion = hijoPorNombre(f, u"LblDescBotonera")) {
                ponerTexto(descripcion, t);
                descripcion->repaint();
            }
        }
    }
    if (procesarEventos) {
        QCoreApplication::processEvents();
    }
}

bool DentroDeSSTab(const QWidget* control)
{
    if (!control) {
        return false;
    }
    const QWidget* contenedor = control->parentWidget();
    for (int nivel = 0; nivel < 15 && contenedor; ++nivel) {
        if (tipoEs(NombreTipoControl(contenedor), "SSTab")) {
            return true;
        }
        if (contenedor->isWindow()) {
            return false;
        }
        contenedor = contenedor->parentWidget();
    }
    return false;
}

int ClaseDeBoton(const QPushButton* boton)
{
    if (!boton) {
        return 0;
    }
    if (boton->property("Cancel").toBool()) {
        return 2;
    }
    if (boton->isDefault()) {
        return 1;
    }
    const QString caption = boton->text().toUpper();
    for (const char* palabra : {"ACEPTAR", "CARGAR", "GUARDAR", "GRABAR", "CONFIRMAR", "CONECTAR"}) {
        if (caption.contains(QLatin1String(palabra))) {
            return 1;
        }
    }
    for (const char* palabra : {"CANCELAR", "BORRAR", "ELIMINAR", "SALIR", "CERRAR"}) {
        if (caption.contains(QLatin1String(palabra))) {
            return 2;
        }
    }
    return 0;
}

Color MezclarColor(Color a, Color b, float fraccion)
{
    const auto canal = [fraccion](int x, int y) {
        const float v = float(x) + float(y - x) * fraccion;
        const double r = redondeoPar(double(v));
        return r < 0 ? 0 : (r > 255 ? 255 : int(r));
    };
    return RGB(canal(rojo(a), rojo(b)), canal(verde(a), verde(b)), canal(azul(a), azul(b)));
}

bool EsColorOscuro(Color color)
{
    if (esColorDeSistema(color)) {
        const QColor q = toQColor(color);
        if (!q.isValid()) {
            return false;
        }
        color = toColor(q);
    }
    return 0.299 * rojo(color) + 0.587 * verde(color) + 0.114 * azul(color) < 140;
}

QString NombreTipoControl(const QWidget* control)
{
    if (!control) {
        return {};
    }
    const QVariant propio = control->property("tipoControl");
    if (propio.isValid()) {
        return propio.toString();
    }
    if (qobject_cast<const QPushButton*>(control)) {
        return QStringLiteral("CommandButton");
    }
    if (qobject_cast<const QLabel*>(control)) {
        return QStringLiteral("Label");
    }
    if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QPlainTextEdit*>(control) ||
        qobject_cast<const QTextEdit*>(control)) {
        return QStringLiteral("TextBox");
    }
    if (qobject_cast<const QCheckBox*>(control)) {
        return QStringLiteral("CheckBox");
    }
    if (qobject_cast<const QRadioButton*>(control)) {
        return QStringLiteral("OptionButton");
    }
    if (qobject_cast<const QComboBox*>(control)) {
        return QStringLiteral("ComboBox");
    }
    if (qobject_cast<const QListView*>(control)) {
        return QStringLiteral("ListBox");
    }
    if (qobject_cast<const QTabWidget*>(control)) {
        return QStringLiteral("SSTab");
    }
    if (qobject_cast<const QGroupBox*>(control)) {
        return QStringLiteral("Frame");
    }
    return {};
}

void DefinirNombreBaseEstilo(std::function<QString()> nombreBase)
{
    estado().nombreBase = std::move(nombreBase);
}

} // namespace common
