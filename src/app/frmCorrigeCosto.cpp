#include "app/frmCorrigeCosto.h"

#include "app/BarraEstado.h"
#include "app/Configuracion.h"
#include "app/Inicio.h"
#include "common/AplicarEstilo.h"
#include "common/FhOcx.h"
#include "controls/grid/BkDbGrid.h"
#include "data/DB_Dll.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/db/Types.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PropertyBag.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Twips.h"
#include "platform/util/Dll_Utilidades.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace app {

namespace ui = platform::ui;
namespace db = platform::db;
using platform::Variant;
using platform::text::SqlQuoteInner;
using platform::text::Trim;

namespace {

// The form's size until its controls are laid out on it.
constexpr int kAnchoTwips = 15000;
constexpr int kAltoTwips = 9000;

// The first item of CmbLista: the article master.
const QString kItemMaestro = QStringLiteral("    \u00A6 Maestro Articulos");

QRect tw(int left, int top, int width, int height)
{
    return QRect(ui::twipsToPixels(left), ui::twipsToPixels(top), ui::twipsToPixels(width), ui::twipsToPixels(height));
}

QLabel* etiqueta(QWidget* padre, const QString& nombre, const QString& texto, const QRect& lugar)
{
    auto* label = new QLabel(texto, padre);
    label->setObjectName(nombre);
    label->setGeometry(lugar);
    return label;
}

QPushButton* boton(QWidget* padre, const QString& nombre, const QString& texto, const QRect& lugar)
{
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(nombre);
    b->setGeometry(lugar);
    return b;
}

// A date-time of the record set in one of the program's patterns; a value
// that is not a date comes back as its text.
QString textoFechaHora(const Variant& valor, const QString& patron)
{
    if (const std::optional<platform::DateTime> fecha = valor.toDate()) {
        return fecha->format(patron);
    }
    return Trim(valor.toText());
}

// An amount in the pattern "0.00", with the locale's decimal sign; Null gives "".
QString textoImporte(const Variant& valor)
{
    const std::optional<platform::Currency> importe = valor.toCurrency();
    if (!importe) {
        return Trim(valor.toText());
    }
    QString texto = importe->rounded(2).toFixed(2);
    texto.replace(u'.', QLocale().decimalPoint());
    return texto;
}

} // namespace

frmCorrigeCosto::frmCorrigeCosto(QWidget* parent, PasoArranque arranque)
    : QWidget(parent), sbStatusBar(new ui::StatusBar(this)), m_arranque(std::move(arranque))
{
    setObjectName(QStringLiteral("frmCorrigeCosto"));
    setWindowTitle(QStringLiteral("Corrige Costo y precios"));

    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->AddPanel(QStringLiteral("VERSION"));
    sbStatusBar->AddPanel(QStringLiteral("SERVER"));
    sbStatusBar->AddPanel(QStringLiteral("BASEDEDATOS"));
    sbStatusBar->AddPanel(QStringLiteral("USUARIO"));
    sbStatusBar->AddPanel(QStringLiteral("CAJA"));
    sbStatusBar->AddPanel().setStyle(ui::Panel::Style::Date);
    sbStatusBar->AddPanel(QStringLiteral("MENSAJE"));

    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("areaControles"));
    crearControles(area);

    auto* disposicion = new QVBoxLayout(this);
    disposicion->setContentsMargins(0, 0, 0, 0);
    disposicion->addWidget(area, 1);
    disposicion->addWidget(sbStatusBar);

    // The load reads the bar's width before the form is shown, as the form
    // has it at its design size.
    resize(ui::twipsToPixels(kAnchoTwips), ui::twipsToPixels(kAltoTwips));
    disposicion->activate();
}

frmCorrigeCosto::~frmCorrigeCosto() = default;

void frmCorrigeCosto::crearControles(QWidget* area)
{
    FhOcx1 = new common::FhOcx(area);
    FhOcx1->setObjectName(QStringLiteral("FhOcx1"));
    FhOcx1->move(ui::twipsToPixels(120), ui::twipsToPixels(120));

    const char* tags[2] = {"HoraDesde", "HoraHasta"};
    const char* rotulos[2] = {"Hora Desde", "Hasta"};
    const int izquierdas[2] = {5040, 7080};
    for (int i = 0; i < 2; ++i) {
        QLabel* rotulo = etiqueta(area, QStringLiteral("lblHora_%1").arg(i), QString::fromLatin1(rotulos[i]),
                                  tw(izquierdas[i], 150, i == 0 ? 1020 : 540, 285));
        txtfields[i] = new QLineEdit(area);
        txtfields[i]->setObjectName(QStringLiteral("txtfields_%1").arg(i));
        txtfields[i]->setProperty("Tag", QString::fromLatin1(tags[i]));
        txtfields[i]->setMaxLength(5);
        txtfields[i]->setGeometry(tw(izquierdas[i] + (i == 0 ? 1080 : 600), 120, 780, 345));
        rotulo->setBuddy(txtfields[i]);
    }
    // "Hasta" alone does not tell the hour from the date control's "Hasta".
    txtfields[1]->setAccessibleName(QStringLiteral("Hora hasta"));

    QLabel* rotuloClase =
        etiqueta(area, QStringLiteral("lblClasePrecio"), QStringLiteral("Clase de precio"), tw(120, 640, 1320, 285));
    cmbPrecio = new QComboBox(area);
    cmbPrecio->setObjectName(QStringLiteral("cmbPrecio"));
    cmbPrecio->setEditable(true);
    cmbPrecio->setGeometry(tw(1500, 600, 1800, 345));
    rotuloClase->setBuddy(cmbPrecio);

    QLabel* rotuloLista =
        etiqueta(area, QStringLiteral("lblListaPrecio"), QStringLiteral("Lista de precio"), tw(3480, 640, 1320, 285));
    CmbLista = new QComboBox(area);
    CmbLista->setObjectName(QStringLiteral("CmbLista"));
    CmbLista->setEditable(true);
    CmbLista->setGeometry(tw(4860, 600, 3600, 345));
    rotuloLista->setBuddy(CmbLista);

    Frame1 = new QGroupBox(area);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(tw(120, 1020, 8340, 480));
    const char* reglas[3] = {"Solo si el precio anterior es mayor", "Solo si el precio anterior es menor", "Todos"};
    const int lugares[3][2] = {{120, 3240}, {3420, 3240}, {6780, 1440}};
    for (int i = 0; i < 3; ++i) {
        OptSolosi[i] = new QRadioButton(QString::fromUtf8(reglas[i]), Frame1);
        OptSolosi[i]->setObjectName(QStringLiteral("OptSolosi_%1").arg(i));
        OptSolosi[i]->setGeometry(tw(lugares[i][0], 120, lugares[i][1], 285));
    }

    cmdRecargar = boton(area, QStringLiteral("cmdRecargar"), QStringLiteral("&Cargar"), tw(8640, 600, 1320, 420));

    QLabel* rotuloListado =
        etiqueta(area, QStringLiteral("lblListado"),
                 QStringLiteral("Productos modificados en este rango de fechas y hora"), tw(120, 1620, 6000, 285));
    lstListado = new ui::ListView(area);
    lstListado->setObjectName(QStringLiteral("lstListado"));
    rotuloListado->setBuddy(lstListado);
    // Lists take no name from their label for the accessibility interface.
    lstListado->setAccessibleName(rotuloListado->text());
    lstListado->setGeometry(tw(120, 1920, 9840, 2400));
    lstListado->AddColumnHeader(QStringLiteral("Fecha y hora"), 2100, ui::ListView::ColumnAlignment::Left);
    lstListado->AddColumnHeader(QStringLiteral("Cant. registros"), 1400, ui::ListView::ColumnAlignment::Right);
    lstListado->AddColumnHeader(QStringLiteral("Primera Hora"), 2100, ui::ListView::ColumnAlignment::Center);
    lstListado->AddColumnHeader(QStringLiteral("Última hora"), 2100, ui::ListView::ColumnAlignment::Center);
    lstListado->AddColumnHeader(QStringLiteral("Precio máx"), 1000, ui::ListView::ColumnAlignment::Right);
    lstListado->AddColumnHeader(QStringLiteral("Costo máx"), 1000, ui::ListView::ColumnAlignment::Right);

    Label2 = etiqueta(area, QStringLiteral("Label2"), QString(), tw(10080, 120, 4800, 1680));
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setWordWrap(true);

    cmdCorregir =
        boton(area, QStringLiteral("cmdCorregir"), QStringLiteral("&Corregir precios"), tw(10080, 1920, 2280, 450));
    CmdBorrarMarca = boton(area, QStringLiteral("CmdBorrarMarca"), QStringLiteral("&Borrar marca modificado"),
                           tw(12480, 1920, 2400, 450));
    // What this button is to do was never settled: it offers no action.
    CmdBorrarMarca->setEnabled(false);
    cmdSalir = boton(area, QStringLiteral("cmdSalir"), QStringLiteral("&Salir"), tw(10080, 2460, 2280, 450));

    lblMensaje = etiqueta(area, QStringLiteral("lblMensaje"), QString(), tw(10080, 3000, 4800, 1320));
    lblMensaje->setWordWrap(true);
    lblMensaje->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    BkDbGrid1 = new controls::BkDbGrid(area);
    BkDbGrid1->setObjectName(QStringLiteral("BkDbGrid1"));
    BkDbGrid1->setGeometry(tw(120, 4440, 14760, 3960));
    // The grid's stored properties on this form.
    ui::PropertyBag guardadas;
    guardadas.WriteProperty(QStringLiteral("SQL"), QString());
    guardadas.WriteProperty(QStringLiteral("PrimaryKey"), QStringLiteral("ID"));
    guardadas.WriteProperty(QStringLiteral("PageSize"), 4000);
    guardadas.WriteProperty(QStringLiteral("AnchoColFijo"), false);
    guardadas.WriteProperty(QStringLiteral("CamposSel"), QString());
    guardadas.WriteProperty(QStringLiteral("Campos"), QString());
    guardadas.WriteProperty(QStringLiteral("OrdinalSel"), QString());
    guardadas.WriteProperty(QStringLiteral("Columnas"), false);
    guardadas.WriteProperty(QStringLiteral("OcultarOrdenar"), false);
    guardadas.WriteProperty(QStringLiteral("OrderBy"), QString());
    guardadas.WriteProperty(QStringLiteral("OrdenSent"), 0);
    guardadas.WriteProperty(QStringLiteral("FormatDate"), 103);
    BkDbGrid1->ReadProperties(guardadas);

    connect(cmbPrecio, &QComboBox::activated, this, &frmCorrigeCosto::cmbPrecio_Click);
    connect(cmdRecargar, &QPushButton::clicked, this, &frmCorrigeCosto::CargarFechasModificadas);
    connect(lstListado, &ui::ListView::ItemClick, this, &frmCorrigeCosto::lstListado_ItemClick);
    connect(cmdCorregir, &QPushButton::clicked, this, &frmCorrigeCosto::cmdCorregir_Click);
    connect(cmdSalir, &QPushButton::clicked, this, &frmCorrigeCosto::cmdSalir_Click);
}

void frmCorrigeCosto::Form_Load()
{
    if (m_arranque) {
        m_arranque();
    } else {
        QString cadenaConexion;
        VerificaConexion(false, QString(), cadenaConexion, platform::db::adUseClient);
    }
    CargarBarraEstado(*sbStatusBar, QString());

    platform::Dll_Utilidades::shared().ServicioFormulario(this);

    Label2->setText(QStringList{QStringLiteral("            Corrección de precios: "),
                                QStringLiteral(" \u2022 Recorre el historial del rango (Primera\u2013Última hora). "),
                                QStringLiteral(" \u2022 Para cada artículo toma el último precio previo al rango."),
                                QStringLiteral(" \u2022 Elija la clase de precio y opcionalmente la lista."),
                                QStringLiteral(" \u2022 Registra en un .TXT todos los artículos modificados.")}
                        .join(QStringLiteral("\r\n")));

    cmbPrecio->addItem(QStringLiteral("Costo"));
    for (int i = 1; i <= 8; ++i) {
        cmbPrecio->addItem(QStringLiteral("Precio %1").arg(i));
    }

    QString valorAux;
    ClasePrecio = ClaseValida(Cfg(QStringLiteral("ClaseDePrecioDefault"), valorAux, QStringLiteral("DATOS")));
    cmbPrecio->setCurrentText(QStringLiteral("Precio ") + ClasePrecio);

    CmbLista->clear();
    CmbLista->addItem(kItemMaestro);
    data::DB_Dll& principal = data::gDbPrincipal();
    data::RecordsetPtr rs = std::make_shared<db::Recordset>();
    principal.AbrirRecordset(QStringLiteral("select * from v_ma_precioscab where tipolista = 'v'"), rs, nullptr,
                             db::adOpenForwardOnly, db::adLockReadOnly, db::adCmdUnspecified, true);
    if (rs->State() == db::adStateOpen) {
        const platform::Dll_Utilidades& util = platform::Dll_Utilidades::shared();
        for (; !rs->Eof(); rs->MoveNext()) {
            CmbLista->addItem(util.CodigoConCeros(rs->value(QStringLiteral("idLista")), 4) +
                              QStringLiteral("   \u00A6 ") + rs->value(QStringLiteral("Nombre")).toText());
        }
    }
    principal.CierraRecordset(rs);
    CmbLista->setCurrentIndex(-1);
    CmbLista->setEditText(QString());

    common::AplicarEstilo(this, true, -1);
}

QString frmCorrigeCosto::ClaseValida(const QString& texto)
{
    const QString clase = Trim(texto);
    if (platform::text::EqualsNoCase(clase, u"Costo")) {
        return QStringLiteral("Costo");
    }
    if (clase.size() == 1 && clase.at(0) >= u'1' && clase.at(0) <= u'8') {
        return clase;
    }
    return QStringLiteral("1");
}

void frmCorrigeCosto::cmbPrecio_Click()
{
    const QString texto = cmbPrecio->currentText();
    const qsizetype blanco = texto.indexOf(u' ');
    ClasePrecio = ClaseValida(blanco < 0 ? texto : texto.mid(blanco));
}

QString frmCorrigeCosto::CodigoLista() const
{
    QString codigo = CmbLista->currentText().left(4);
    codigo.remove(u' ');
    if (platform::text::EqualsNoCase(codigo, u"0000")) {
        codigo.clear();
    }
    return codigo;
}

bool frmCorrigeCosto::RangoDelItem(const ui::ListItem& item, platform::DateTime& primera,
                                   platform::DateTime& ultima) const
{
    const QString patron = QStringLiteral("dd/MM/yyyy HH:mm:ss");
    const QDateTime desde = QDateTime::fromString(Trim(item.SubItems(2)), patron);
    const QDateTime hasta = QDateTime::fromString(Trim(item.SubItems(3)), patron);
    if (!desde.isValid() || !hasta.isValid()) {
        return false;
    }
    primera = platform::DateTime(desde.date(), desde.time());
    ultima = platform::DateTime(hasta.date(), hasta.time());
    return true;
}

QString frmCorrigeCosto::FiltroListaDetalle() const
{
    return CorreccionPrecios::FiltroLista(CodigoLista());
}

bool frmCorrigeCosto::EsFechaValida(const QString& texto)
{
    if (texto.size() != 10 || texto.at(2) != u'/' || texto.at(5) != u'/') {
        return false;
    }
    const QString rearmada = texto.left(2) + u'/' + texto.mid(3, 2) + u'/' + texto.right(4);
    return QDate::fromString(rearmada, QStringLiteral("dd/MM/yyyy")).isValid();
}

bool frmCorrigeCosto::EsHoraValida(const QString& texto)
{
    if (texto.size() != 5 || texto.at(2) != u':') {
        return false;
    }
    const auto dosDigitos = [](QStringView parte) {
        return parte.size() == 2 && parte.at(0).isDigit() && parte.at(1).isDigit() ? parte.toInt() : -1;
    };
    const int horas = dosDigitos(QStringView(texto).left(2));
    const int minutos = dosDigitos(QStringView(texto).right(2));
    return horas >= 0 && horas <= 23 && minutos >= 0 && minutos <= 59;
}

void frmCorrigeCosto::CargarFechasModificadas()
{
    const QString hoy = platform::now().format(QStringLiteral("dd/mm/yyyy"));
    QString desde = Trim(FhOcx1->Fh_Desde);
    QString hasta = Trim(FhOcx1->Fh_Hasta);
    if (desde.isEmpty()) {
        desde = hoy;
    }
    if (hasta.isEmpty()) {
        hasta = hoy;
    }
    QString horaDesde = Trim(txtfields[0]->text());
    QString horaHasta = Trim(txtfields[1]->text());
    if (horaDesde.isEmpty()) {
        horaDesde = QStringLiteral("00:00");
    }
    if (horaHasta.isEmpty()) {
        horaHasta = QStringLiteral("23:59");
    }

    if (!EsFechaValida(desde) || !EsFechaValida(hasta)) {
        platform::op().MsgBox(QStringLiteral("Formato de fecha inválido (DD/MM/AAAA)"), platform::msgbox::Exclamation);
        return;
    }
    if (!EsHoraValida(horaDesde) || !EsHoraValida(horaHasta)) {
        platform::op().MsgBox(QStringLiteral("Formato de hora inválido (HH:MM)"), platform::msgbox::Exclamation);
        return;
    }

    const QString inicio = QStringLiteral("'") + desde + u' ' + horaDesde + QStringLiteral(":00'");
    // The range ends before the next minute: a change recorded in the last
    // minute's last second belongs to it whatever its milliseconds, and one
    // at the next minute's first does not, on every date-time type.
    const platform::DateTime ultimoMinuto(QDate::fromString(hasta, QStringLiteral("dd/MM/yyyy")),
                                          QTime::fromString(horaHasta, QStringLiteral("HH:mm")));
    const QString fin = QStringLiteral("'") +
                        ultimoMinuto.addMSecs(60 * 1000).format(QStringLiteral("dd/mm/yyyy hh:nn:ss")) +
                        QStringLiteral(".000'");

    const QString codigo = CodigoLista();
    const QString filtro = codigo.isEmpty()
                               ? QString()
                               : QStringLiteral(" and idlista = '") +
                                     SqlQuoteInner(platform::Dll_Utilidades::shared().CodigoConCeros(codigo, 4)) +
                                     QStringLiteral("' ");

    const QString clase = ClaseValida(ClasePrecio);
    QString sql;
    if (platform::text::EqualsNoCase(clase, u"Costo")) {
        sql = QStringLiteral("SELECT ") +
              QStringLiteral("DATEADD(MINUTE, DATEDIFF(MINUTE, 0, FechaHora), 0) AS FechaGrupo, ") +
              QStringLiteral("COUNT(*) AS CantidadRegistros, ") + QStringLiteral("MIN(FechaHora) AS PrimeraHora, ") +
              QStringLiteral("MAX(FechaHora) AS UltimaHora, MAX(") + clase + QStringLiteral(") AS Precio, ") +
              QStringLiteral("MAX(Costo) AS Costo, idLista ") + QStringLiteral("FROM V_MV_PreciosHis ") +
              QStringLiteral("WHERE FechaHora >= ") + inicio + QStringLiteral(" AND FechaHora < ") + fin +
              QStringLiteral(" ") + filtro +
              QStringLiteral("GROUP BY DATEADD(MINUTE, DATEDIFF(MINUTE, 0, FechaHora), 0), idLista ") +
              QStringLiteral("ORDER BY FechaGrupo DESC;");
    } else {
        sql = QStringLiteral("SELECT ") +
              QStringLiteral("DATEADD(MINUTE, DATEDIFF(MINUTE, 0, FechaHora), 0) AS FechaGrupo, ") +
              QStringLiteral("COUNT(*) AS CantidadRegistros, ") + QStringLiteral("MIN(FechaHora) AS PrimeraHora, ") +
              QStringLiteral("MAX(FechaHora) AS UltimaHora, ") + QStringLiteral("MAX(Precio") + clase +
              QStringLiteral(" ) AS Precio, ") + QStringLiteral("MAX(Costo ) AS Costo, idLista  ") +
              QStringLiteral("FROM V_MV_PreciosHis ") + QStringLiteral("WHERE FechaHora >= ") + inicio +
              QStringLiteral(" AND FechaHora < ") + fin + QStringLiteral(" ") + filtro +
              QStringLiteral("GROUP BY DATEADD(MINUTE, DATEDIFF(MINUTE, 0, FechaHora), 0), idLista  ") +
              QStringLiteral("ORDER BY FechaGrupo DESC;");
    }

    data::DB_Dll& principal = data::gDbPrincipal();
    data::RecordsetPtr rs = std::make_shared<db::Recordset>();
    principal.AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, db::adCmdUnspecified, true);
    lstListado->ClearItems();
    if (rs->State() == db::adStateOpen) {
        const QString patron = QStringLiteral("dd/mm/yyyy hh:nn:ss");
        for (; !rs->Eof(); rs->MoveNext()) {
            ui::ListItem& item = lstListado->AddItem(textoFechaHora(rs->value(QStringLiteral("FechaGrupo")), patron));
            item.setSubItems(1, rs->value(QStringLiteral("CantidadRegistros")).toText());
            item.setSubItems(2, textoFechaHora(rs->value(QStringLiteral("PrimeraHora")), patron));
            item.setSubItems(3, textoFechaHora(rs->value(QStringLiteral("UltimaHora")), patron));
            const Variant precio = rs->value(QStringLiteral("Precio"));
            item.setSubItems(4, textoImporte(precio));
            item.setSubItems(5, textoImporte(rs->value(QStringLiteral("Costo"))));
            // A group whose price is missing or zero stands out.
            const std::optional<platform::Currency> importe = precio.toCurrency();
            if (precio.isBlank() || !importe || *importe == platform::Currency()) {
                item.setBold(true);
                item.setForeColor(255);
                for (int i = 1; i <= 5; ++i) {
                    item.setSubItemForeColor(i, 255);
                }
            }
        }
    }
    principal.CierraRecordset(rs);
}

void frmCorrigeCosto::lstListado_ItemClick(ui::ListItem*)
{
    ui::ListItem* item = lstListado->SelectedItem();
    platform::DateTime primera;
    platform::DateTime ultima;
    if (item == nullptr || !RangoDelItem(*item, primera, ultima)) {
        return;
    }
    const QString sql = QStringLiteral("SELECT * ") + QStringLiteral("FROM V_MV_PreciosHis ") +
                        QStringLiteral("WHERE FechaHora >= '") + CorreccionPrecios::InicioDelRango(primera) +
                        QStringLiteral("' AND FechaHora < '") + CorreccionPrecios::LimiteDelRango(ultima) +
                        QStringLiteral("' ") + FiltroListaDetalle() + QStringLiteral(" ");

    BkDbGrid1->setPageSize(2000);
    BkDbGrid1->pConnString = data::gDbPrincipal().gConnString;
    BkDbGrid1->setSql(sql);
    try {
        BkDbGrid1->LoadBkDBGrid();
    } catch (const db::DbError& error) {
        platform::op().MsgBox(error.info().Description, platform::msgbox::Critical);
    }
}

void frmCorrigeCosto::cmdCorregir_Click()
{
    ui::ListItem* item = lstListado->SelectedItem();
    if (item == nullptr) {
        platform::op().MsgBox(QStringLiteral("No hay un ítem seleccionado."), platform::msgbox::Exclamation);
        return;
    }
    EjecutarCorreccion(*item);
}

void frmCorrigeCosto::cmdSalir_Click()
{
    if (m_corrida) {
        // The run may be waiting for a lock inside a statement: it stops once
        // that statement is done, and then the program ends.
        m_salirPedido = true;
        m_corrida->Detener();
        return;
    }
    platform::Runtime::instance().exitProgram(0);
}

void frmCorrigeCosto::closeEvent(QCloseEvent* event)
{
    if (m_corrida) {
        event->ignore();
        cmdSalir_Click();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace app
