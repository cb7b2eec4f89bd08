#include "data/frmAcceso.h"

#include "common/AplicarEstilo.h"
#include "common/Formatos.h"
#include "common/MensajeError.h"
#include "common/Pasos.h"
#include "common/ValoresCorrida.h"
#include "data/ConexionesRegistradas.h"
#include "data/DB_Dll.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/db/Connection.h"
#include "platform/ui/Twips.h"
#include "platform/util/Dll_Utilidades.h"
#include "platform/util/FileNameCase.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>

#include <algorithm>
#include <optional>
#include <utility>

namespace data {

namespace text = platform::text;
namespace msgbox = platform::msgbox;
using platform::ui::twipsToPixels;

namespace {

const QString kPaginaFabricante = QStringLiteral("https://www.torvane.example");

void ubicar(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

QLabel* etiqueta(QWidget* padre, const QString& nombre, const QString& texto, int left, int top, int width, int height)
{
    auto* label = new QLabel(texto, padre);
    label->setObjectName(nombre);
    ubicar(label, left, top, width, height);
    return label;
}

QLineEdit* caja(QWidget* padre, const QString& nombre, const QString& tooltip, int left, int top, int width, int height)
{
    auto* box = new QLineEdit(padre);
    box->setObjectName(nombre);
    box->setToolTip(tooltip);
    ubicar(box, left, top, width, height);
    return box;
}

QPushButton* boton(QWidget* padre, const QString& nombre, const QString& texto, int left, int top, int width,
                   int height)
{
    auto* button = new QPushButton(texto, padre);
    button->setObjectName(nombre);
    // Enter on a focused button clicks it (see eventFilter); no button is the
    // dialog's default, so Enter in a box only moves the focus.
    button->setAutoDefault(false);
    button->setDefault(false);
    ubicar(button, left, top, width, height);
    return button;
}

// Str() of a number: a leading blank for a number that is not negative.
QString textoNumero(int32_t numero)
{
    return numero < 0 ? QString::number(numero) : u' ' + QString::number(numero);
}

// The registering trap's message for an error that stops the registration.
void mostrarErrorRegistro(const platform::ErrObject& error)
{
    platform::op().MsgBox(QStringLiteral("SQL Server start failed.  ") + u'\r' + QStringLiteral("SQL-DMO error:  ") +
                              textoNumero(error.Number) + u' ' + error.Description,
                          msgbox::OKOnly);
}

constexpr int32_t kErrorArchivo = 75;

// The port that the port box's text gives: digits only, 1433 for an empty
// box or 0; nullopt for any other text or a number above 65535.
std::optional<int> PuertoTecleado(const QString& texto)
{
    const QString digitos = text::Trim(texto);
    const bool soloDigitos =
        std::all_of(digitos.begin(), digitos.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!soloDigitos || digitos.size() > 5) {
        return std::nullopt;
    }
    const int puerto = digitos.isEmpty() ? 0 : digitos.toInt();
    if (puerto > 65535) {
        return std::nullopt;
    }
    return puerto == 0 ? 1433 : puerto;
}

} // namespace

frmAcceso::frmAcceso(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAcceso"));
    setWindowTitle(QStringLiteral("Control de Acceso"));
    setModal(true);
    setFixedSize(twipsToPixels(8685), twipsToPixels(4695));

    Label1[2] = etiqueta(this, QStringLiteral("Label1_2"), QStringLiteral("Control de Acceso"), 240, 120, 4200, 375);
    QFont titulo = Label1[2]->font();
    titulo.setBold(true);
    titulo.setPointSize(12);
    Label1[2]->setFont(titulo);
    Label7 = etiqueta(this, QStringLiteral("Label7"), QStringLiteral("TORVANE"), 6480, 120, 1965, 375);
    QFont marca(QStringLiteral("Tahoma"));
    marca.setBold(true);
    marca.setPointSize(14);
    Label7->setFont(marca);
    Label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    ubicar(Line1, 120, 570, 8445, 30);

    Label1[0] = etiqueta(this, QStringLiteral("Label1_0"), QStringLiteral("AUTENTICACION"), 240, 720, 4215, 255);
    framAcceso = new QFrame(this);
    framAcceso->setObjectName(QStringLiteral("framAcceso"));
    framAcceso->setFrameShape(QFrame::StyledPanel);
    ubicar(framAcceso, 240, 1000, 4215, 2415);

    Label2 = etiqueta(framAcceso, QStringLiteral("Label2"), QStringLiteral("Usuario"), 120, 210, 1260, 255);
    TxtUserId = caja(framAcceso, QStringLiteral("TxtUserId"), QStringLiteral("Ingrese el nombre de usuario"), 1440, 180,
                     2595, 315);
    TxtUserId->setText(QStringLiteral(" "));
    Label3 = etiqueta(framAcceso, QStringLiteral("Label3"), QStringLiteral("Contrasena"), 120, 630, 1260, 255);
    TxtUserPassword = caja(framAcceso, QStringLiteral("TxtUserPassword"), QStringLiteral("Ingrese la contrasena"), 1440,
                           600, 2595, 315);
    TxtUserPassword->setEchoMode(QLineEdit::Password);
    Label4 = etiqueta(framAcceso, QStringLiteral("Label4"), QStringLiteral("Base de datos"), 120, 1050, 1260, 255);
    TxtDbName = caja(framAcceso, QStringLiteral("TxtDbName"), QStringLiteral("ingrese el nombre de la base de datos"),
                     1440, 1020, 2595, 315);
    Label5 = etiqueta(framAcceso, QStringLiteral("Label5"), QStringLiteral("Servidor"), 120, 1470, 1260, 255);
    TxtServidor = caja(framAcceso, QStringLiteral("TxtServidor"),
                       QStringLiteral("ingrese el nombre del servidor e instancia"), 1440, 1440, 2595, 315);
    Label6 = etiqueta(framAcceso, QStringLiteral("Label6"), QStringLiteral("Plataforma"), 120, 1890, 1260, 255);
    CboPlataformaDB = new QComboBox(framAcceso);
    CboPlataformaDB->setObjectName(QStringLiteral("CboPlataformaDB"));
    CboPlataformaDB->addItems({QStringLiteral("SQL Server"), QStringLiteral("ORACLE")});
    ubicar(CboPlataformaDB, 1440, 1860, 2595, 315);

    bcAceptar = boton(this, QStringLiteral("bcAceptar"), QStringLiteral("Conectar"), 1320, 3600, 1455, 435);
    bcCancelar = boton(this, QStringLiteral("bcCancelar"), QStringLiteral("Cancelar"), 3000, 3600, 1455, 435);

    Label1[1] =
        etiqueta(this, QStringLiteral("Label1_1"), QStringLiteral("Conexiones registradas"), 4680, 720, 3765, 255);
    lstBases = new QListWidget(this);
    lstBases->setObjectName(QStringLiteral("lstBases"));
    lstBases->setFont(QFont(QStringLiteral("Segoe UI")));
    ubicar(lstBases, 4680, 1000, 3765, 1935);
    CmdRegistrar = boton(this, QStringLiteral("CmdRegistrar"), QStringLiteral("Registrar"), 4680, 3030, 1815, 375);
    TxtPuerto = caja(this, QStringLiteral("TxtPuerto"), QStringLiteral("Ingrese el Puerto "), 6600, 3060, 1845, 315);
    TxtPuerto->setText(QStringLiteral("1433"));
    CmdLineaComando =
        boton(this, QStringLiteral("CmdLineaComando"), QStringLiteral("Crear Acceso Directo"), 4680, 3600, 3765, 435);

    Label8 = etiqueta(this, QStringLiteral("Label8"), kPaginaFabricante, 240, 4290, 8205, 255);
    Label8->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label8->setCursor(Qt::PointingHandCursor);
    QFont enlace = Label8->font();
    enlace.setUnderline(true);
    Label8->setFont(enlace);
    Label8->setStyleSheet(QStringLiteral("color: #0000ff;"));

    setTabOrder(TxtUserId, TxtUserPassword);
    setTabOrder(TxtUserPassword, TxtDbName);
    setTabOrder(TxtDbName, TxtServidor);
    setTabOrder(TxtServidor, CboPlataformaDB);
    setTabOrder(CboPlataformaDB, bcAceptar);
    setTabOrder(bcAceptar, bcCancelar);
    setTabOrder(bcCancelar, lstBases);
    setTabOrder(lstBases, CmdRegistrar);
    setTabOrder(CmdRegistrar, TxtPuerto);
    setTabOrder(TxtPuerto, CmdLineaComando);

    for (QObject* control :
         std::initializer_list<QObject*>{TxtUserId, TxtUserPassword, TxtDbName, TxtServidor, bcAceptar, bcCancelar,
                                         CmdRegistrar, CmdLineaComando, lstBases, Label8}) {
        control->installEventFilter(this);
    }

    connect(bcAceptar, &QPushButton::clicked, this, &frmAcceso::bcAceptar_Click);
    connect(bcCancelar, &QPushButton::clicked, this, &frmAcceso::bcCancelar_Click);
    connect(CmdRegistrar, &QPushButton::clicked, this, &frmAcceso::CmdRegistrar_Click);
    connect(CmdLineaComando, &QPushButton::clicked, this, &frmAcceso::CmdLineaComando_Click);
    connect(lstBases, &QListWidget::currentRowChanged, this, [this](int fila) {
        if (fila >= 0) {
            lstBases_Click();
        }
    });
    connect(lstBases, &QListWidget::itemClicked, this, &frmAcceso::lstBases_Click);
    connect(lstBases, &QListWidget::itemDoubleClicked, this, &frmAcceso::lstBases_DblClick);
    connect(TxtUserPassword, &QLineEdit::textChanged, this, [this] { MensajeInicial(TxtUserPassword); });
    connect(TxtDbName, &QLineEdit::textChanged, this, [this] { MensajeInicial(TxtDbName); });
    connect(TxtServidor, &QLineEdit::textChanged, this, [this] { MensajeInicial(TxtServidor); });

    Form_Load();
}

void frmAcceso::Form_Load()
{
    if (QScreen* pantalla = QGuiApplication::primaryScreen()) {
        const QRect area = pantalla->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    llenarlist();
    MensajeInicial(TxtUserId);
    MensajeInicial(TxtUserPassword);
    MensajeInicial(TxtDbName);
    MensajeInicial(TxtServidor);
    common::AplicarEstilo(this, true, -1);
}

bool frmAcceso::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched == TxtUserId) {
        MensajeInicial(TxtUserId);
    } else if (event->type() == QEvent::MouseButtonRelease && watched == Label8) {
        Label8_Click();
        return true;
    } else if (event->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(event);
        const bool enter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
        if (watched == lstBases) {
            if (tecla->key() != Qt::Key_Tab && tecla->key() != Qt::Key_Backtab && lstBases->currentItem()) {
                AsignarDatosBase();
            }
            return false;
        }
        if (enter) {
            if (watched == TxtUserId) {
                TxtUserPassword->setFocus();
            } else if (watched == TxtUserPassword) {
                TxtDbName->setFocus();
            } else if (watched == TxtDbName) {
                TxtServidor->setFocus();
            } else if (watched == TxtServidor) {
                bcAceptar->setFocus();
            } else if (auto* button = qobject_cast<QPushButton*>(watched)) {
                button->click();
            } else {
                return false;
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAcceso::reject()
{
    bcCancelar_Click();
}

QString frmAcceso::ClaveTecleada() const
{
    return ClaveConexion(TxtDbName->text(), TxtServidor->text());
}

void frmAcceso::MensajeInicial(QLineEdit* ObjTxt)
{
    QString hint;
    const QString nombre = ObjTxt->objectName();
    if (nombre == u"TxtUserId") {
        hint = QStringLiteral("Ingrese el usuario");
    } else if (nombre == u"TxtDbName") {
        hint = QStringLiteral("ingrese el nombre de la base de datos");
    } else if (nombre == u"TxtServidor") {
        hint = QStringLiteral("ingrese el nombre del servidor e instancia");
    }
    ObjTxt->setPlaceholderText(hint);
    const QString actual = ObjTxt->text();
    // The hint is shown, never held: a blank box or one that holds the hint
    // text reads as empty.
    if (!actual.isEmpty() && (text::Trim(actual).isEmpty() || actual == hint)) {
        ObjTxt->clear();
    }
}

void frmAcceso::bcAceptar_Click()
{
    const QString clave = ClaveTecleada();
    BaseServidor.clear();
    DatosBase(clave);
    common::ValoresCorrida& valores = common::valoresCorrida();
    valores.UsuarioActual = TxtUserId->text();
    valores.ClaveActual = TxtUserPassword->text();
    if (text::Trim(BaseServidor).isEmpty()) {
        BaseServidor = TxtServidor->text();
        BaseNombre = TxtDbName->text();
        BaseUsuario = TxtUserId->text();
        BasePassword = TxtUserPassword->text();
    }
    Aceptar = true;
    RegistrarBases();
    done(QDialog::Accepted);
}

void frmAcceso::bcCancelar_Click()
{
    Aceptar = false;
    done(QDialog::Rejected);
}

void frmAcceso::lstBases_Click()
{
    AsignarDatosBase();
}

void frmAcceso::lstBases_DblClick()
{
    AsignarDatosBase();
    bcAceptar_Click();
}

void frmAcceso::Label8_Click()
{
    common::AbrirConShell(kPaginaFabricante, platform::Variant(true));
}

void frmAcceso::AsignarDatosBase()
{
    const QListWidgetItem* fila = lstBases->currentItem();
    DatosBase(text::Trim(fila ? fila->text() : QString()));
    if (BaseServidor.contains(u':')) {
        Puerto = platform::Variant(BaseServidor.mid(BaseServidor.indexOf(u':') + 1));
        const QString servidor = text::Trim(BaseServidor.toUpper());
        BaseServidor = servidor.left(servidor.indexOf(u':'));
    }
    TxtServidor->setText(BaseServidor);
    TxtDbName->setText(BaseNombre);
    TxtPuerto->setText(Puerto.toText());
    TxtUserId->clear();
    TxtUserPassword->clear();
}

void frmAcceso::RegistrarBases()
{
    if (!common::ExisteArchivo(RutaBases())) {
        CmdRegistrar_Click();
    }
}

void frmAcceso::CmdRegistrar_Click()
{
    Registrar();
}

bool ErrorPasadoPorAlto(int32_t numero)
{
    return numero == 3704 || numero == 1056 || numero == 440 || numero == 20480 || numero == int32_t(0x80070420);
}

namespace {

// The steps of a registration, in their order.
enum class PasoRegistro {
    Clave,      // the key; a key already in the file stops here
    Puerto,     // the port of the dialog
    Recortar,   // the boxes trimmed
    Probar,     // the connection tried with the data base's own login
    Grabar,     // written when that login worked
    ConUsuario, // else tried with the typed log-in, and written when it works
    Odbc,       // the registering program, when the program folder has one
    Lista,      // the list shows the new key
    Fin
};

} // namespace

bool frmAcceso::Registrar()
{
    platform::Operator& op = platform::op();
    QString clave;
    QString servidor;
    QString base;
    bool conecta = false;
    bool registrada = false;
    // The registering program is told the main connection's data base, or
    // the typed one when the typed log-in was tried.
    std::optional<QString> baseOdbc;
    const auto grabar = [&] {
        QString error;
        if (!GrabarConexionEnBases(clave, base, base, base, servidor, &error)) {
            throw platform::Error(kErrorArchivo, error);
        }
        registrada = true;
    };
    PasoRegistro actual = PasoRegistro::Clave;
    const auto paso = [&](PasoRegistro p) {
        actual = p;
        switch (p) {
        case PasoRegistro::Clave:
            // A comma or a line break would shift or split the record.
            if (!ValorValidoEnBases(TxtDbName->text()) || !ValorValidoEnBases(TxtServidor->text())) {
                op.MsgBox(QStringLiteral("El nombre de la base de datos y el del servidor no pueden contener comas "
                                         "ni saltos de linea: la conexion no se registro."),
                          msgbox::Information, QStringLiteral("Atencion"));
                return PasoRegistro::Fin;
            }
            clave = ClaveTecleada();
            BaseServidor.clear();
            DatosBase(clave);
            if (!text::Trim(BaseServidor).isEmpty()) {
                op.MsgBox(QStringLiteral("La conexion que intenta registrar ya existe "), msgbox::Information,
                          QStringLiteral("Atencion"));
                return PasoRegistro::Fin;
            }
            break;
        case PasoRegistro::Puerto: {
            // The port stays in the dialog; a port reaches a connection only
            // when it is typed into the server box after a colon.
            const std::optional<int> puerto = PuertoTecleado(TxtPuerto->text());
            if (!puerto) {
                op.MsgBox(QStringLiteral("El puerto debe contener solo digitos (un numero de 0 a 65535): la "
                                         "conexion no se registro."),
                          msgbox::Information, QStringLiteral("Atencion"));
                return PasoRegistro::Fin;
            }
            Puerto = platform::Variant(*puerto);
            TxtPuerto->setText(QString::number(*puerto));
            break;
        }
        case PasoRegistro::Recortar:
            for (QLineEdit* box : {TxtServidor, TxtUserId, TxtUserPassword, TxtDbName}) {
                box->setText(text::Trim(box->text()));
            }
            servidor = TxtServidor->text();
            base = TxtDbName->text();
            break;
        case PasoRegistro::Probar:
            // Both tries run on connections of their own: the program's are not touched.
            conecta =
                ExisteBaseDeDatos(servidor, base.toUpper(), base.toUpper(), base.toUpper(), QStringLiteral("SQLOLEDB"));
            break;
        case PasoRegistro::Grabar:
            if (conecta) {
                grabar();
                return PasoRegistro::Odbc;
            }
            break;
        case PasoRegistro::ConUsuario: {
            if (conecta) {
                break;
            }
            DB_Dll prueba;
            prueba.gServidor = servidor;
            prueba.gUsuario = TxtUserId->text();
            prueba.gUserPassWord = TxtUserPassword->text();
            prueba.gDBName = base;
            prueba.OpenServerADODB(false, 3, QString(), false, false);
            if (prueba.gCnn && prueba.gCnn->State() == platform::db::adStateOpen) {
                try {
                    prueba.gCnn->Close();
                } catch (const platform::db::DbError&) {
                }
            }
            baseOdbc = prueba.gDBName;
            if (!prueba.gOpenFlag) {
                op.MsgBox(QStringLiteral("NO SE PUDO CONECTAR AL SERVIDOR ") + servidor +
                              QStringLiteral(" VERIFIQUE EL NOMBRE DE USUARIO Y PASSWORD INGRESADO"),
                          msgbox::Information, QStringLiteral("AVISO AL OPERADOR"));
                return PasoRegistro::Fin;
            }
            grabar();
            break;
        }
        case PasoRegistro::Odbc: {
            const QString programaOdbc =
                platform::Dll_Utilidades::shared().CarpetaConBarra(platform::Runtime::instance().programFolder()) +
                QStringLiteral("ODBC.exe");
            if (common::ExisteArchivo(programaOdbc)) {
                const QString argumento = QStringLiteral("Server=") + servidor + QStringLiteral(";DB=") +
                                          baseOdbc.value_or(gDbPrincipal().gDBName) + u';';
                if (!QProcess::startDetached(platform::resolveFileNoCase(programaOdbc), {argumento})) {
                    throw platform::Error(kErrorArchivo, QStringLiteral("No se pudo iniciar ") + programaOdbc);
                }
            }
            break;
        }
        case PasoRegistro::Lista:
            llenarlist();
            break;
        case PasoRegistro::Fin:
            break;
        }
        return common::Siguiente(p);
    };
    // The errors of starting a server are passed over: the next step runs.
    // Any other one is shown, and the registration goes on with the
    // registering program and the list (a step among those goes on with the
    // one after it).
    PasoRegistro reanudar = PasoRegistro::Fin;
    const auto alFallar = [&](const platform::Error& e) {
        if (ErrorPasadoPorAlto(e.number())) {
            return common::Accion::Siguiente;
        }
        mostrarErrorRegistro(platform::ErrObject(e));
        reanudar = actual < PasoRegistro::Odbc ? PasoRegistro::Odbc : common::Siguiente(actual);
        return common::Accion::Salir;
    };
    PasoRegistro desde = PasoRegistro::Clave;
    while (!common::EjecutarPasos(desde, PasoRegistro::Fin, paso, alFallar) && reanudar != PasoRegistro::Fin) {
        desde = std::exchange(reanudar, PasoRegistro::Fin);
    }
    return registrada;
}

bool frmAcceso::ExisteBaseDeDatos(const QString& Servidor, const QString& Dbname, const QString& Usuario,
                                  const QString& Password, const QString& Proveedor)
{
    const QString cadena = QStringLiteral("PROVIDER=") + Proveedor + u';' + QStringLiteral("Server=") +
                           ValorCadenaConexion(Servidor) + u';' + QStringLiteral("Database =") +
                           ValorCadenaConexion(Dbname) + u';' + QStringLiteral("UId=") + ValorCadenaConexion(Usuario) +
                           u';' + QStringLiteral("Pwd=") + ValorCadenaConexion(Password) + u';';
    platform::db::Connection conexion;
    try {
        conexion.Open(cadena, QString(), QString(), platform::db::adCmdUnspecified);
    } catch (const platform::db::DbError&) {
        return false;
    }
    try {
        conexion.Close();
    } catch (const platform::db::DbError&) {
        return false;
    }
    return true;
}

bool frmAcceso::EjecutarCmdRegDB(const QString& Archivo, QString& ErrDevuelto)
{
    const QStringList partes = QProcess::splitCommand(Archivo);
    if (partes.isEmpty()) {
        ErrDevuelto = QStringLiteral("Error al ejecutar el comando");
        return false;
    }
    QProcess proceso;
    proceso.start(partes.first(), partes.mid(1));
    if (!proceso.waitForStarted()) {
        ErrDevuelto = QStringLiteral("Error al ejecutar el comando");
        return false;
    }
    while (proceso.state() != QProcess::NotRunning) {
        QCoreApplication::processEvents();
        proceso.waitForFinished(20);
    }
    return true;
}

void frmAcceso::llenarlist()
{
    lstBases->clear();
    for (;;) {
        QString error;
        const std::optional<QList<ConexionRegistrada>> registros = LeerConexionesRegistradas(&error);
        if (!registros) {
            if (common::MensajeError(platform::ErrObject(kErrorArchivo, error), std::nullopt,
                                     QStringLiteral("FormLoad")) == msgbox::Retry) {
                continue;
            }
            break;
        }
        for (const ConexionRegistrada& registro : *registros) {
            if (!text::Trim(registro.Clave).isEmpty()) {
                lstBases->addItem(registro.Clave);
            }
        }
        break;
    }
    if (lstBases->count() > 0) {
        lstBases->setCurrentRow(0);
    }
}

void frmAcceso::DatosBase(const QString& Nombre)
{
    QString error;
    const std::optional<QList<ConexionRegistrada>> registros = LeerConexionesRegistradas(&error);
    if (!registros) {
        common::MensajeError(platform::ErrObject(kErrorArchivo, error), std::nullopt, QStringLiteral("DatosBase"));
        return;
    }
    const QString buscado = text::Trim(Nombre);
    for (const ConexionRegistrada& registro : *registros) {
        if (text::Trim(registro.Clave) == buscado) {
            BaseServidor = registro.Servidor;
            BaseNombre = registro.Base;
            BaseUsuario = registro.Usuario;
            BasePassword = platform::Dll_Utilidades::shared().Desencriptar(registro.Password);
            return;
        }
    }
}

void frmAcceso::CmdLineaComando_Click()
{
    platform::Operator& op = platform::op();
    const QString titulo = QStringLiteral("Acceso Directo");
    const QString carpeta = CarpetaEscritorio();
    QString nombre = text::Trim(QGuiApplication::applicationDisplayName());
    if (nombre.isEmpty()) {
        nombre = platform::Runtime::instance().programName();
    }
    const QString ruta =
        platform::Dll_Utilidades::shared().CarpetaConBarra(carpeta) + nombre + QStringLiteral(".desktop");
    const QString programa =
        platform::Dll_Utilidades::shared().CarpetaConBarra(platform::Runtime::instance().programFolder()) +
        platform::Runtime::instance().programName();
    if (QFileInfo::exists(ruta)) {
        op.MsgBox(QStringLiteral("El acceso directo ya existe."), msgbox::Information, titulo);
        return;
    }
    // The parameter text is split at ";" when the program starts: a value
    // holding one would start it on another connection; a NUL would cut it.
    for (const QLineEdit* box : {TxtServidor, TxtDbName, TxtUserId}) {
        const QString valor = box->text();
        if (valor.contains(u';') || valor.contains(u'\r') || valor.contains(u'\n') || valor.contains(QChar(u'\0'))) {
            op.MsgBox(QStringLiteral("El servidor, la base de datos y el usuario no pueden contener \";\", saltos de "
                                     "linea ni caracteres nulos: el acceso directo no se creo."),
                      msgbox::Information, titulo);
            return;
        }
    }
    const QString argumentos = ParametrosAccesoDirecto(TxtServidor->text(), TxtDbName->text(), TxtUserId->text());
    auto mostrarError = [&op](const QString& descripcion) {
        op.MsgBox(QStringLiteral("Se ha producido un error: ") + descripcion, msgbox::Critical,
                  QStringLiteral("Error"));
    };
    if (!QDir().mkpath(carpeta)) {
        mostrarError(QStringLiteral("No se puede crear la carpeta ") + carpeta);
        return;
    }
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) ||
        archivo.write(ContenidoAccesoDirecto(nombre, programa, argumentos).toUtf8()) < 0 || !archivo.commit()) {
        mostrarError(archivo.errorString());
        return;
    }
    // Desktops start only entries that the user may run.
    QFile::setPermissions(ruta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                    QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    op.MsgBox(QStringLiteral("Acceso directo creado correctamente en el escritorio."), msgbox::Information, titulo);
}

void DialogoAcceso::MostrarModal()
{
    auto* form = new frmAcceso();
    m_form = form;
    form->TxtDbName->setText(TxtDbName);
    form->TxtServidor->setText(TxtServidor);
    form->TxtUserId->setText(TxtUserId);
    form->TxtUserPassword->setText(TxtUserPassword);
    form->CboPlataformaDB->setCurrentIndex(
        CboPlataformaDB >= 0 && CboPlataformaDB < form->CboPlataformaDB->count() ? CboPlataformaDB : 0);
    form->setWindowModality(Qt::ApplicationModal);
    form->exec();
    TxtDbName = form->TxtDbName->text();
    TxtServidor = form->TxtServidor->text();
    TxtUserId = form->TxtUserId->text();
    TxtUserPassword = form->TxtUserPassword->text();
    CboPlataformaDB = form->CboPlataformaDB->currentIndex();
    Aceptar = form->Aceptar;
    m_form = nullptr;
    delete form;
}

void DialogoAcceso::Ocultar()
{
    if (m_form && m_form->isVisible()) {
        m_form->hide();
    }
}

void InstalarDialogoAcceso()
{
    InstalarDialogoConexion(std::make_unique<DialogoAcceso>());
}

} // namespace data
