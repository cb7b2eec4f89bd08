// What becomes of the workbook: shown, previewed or saved; an empty result;
// failures; a cancel in the banner; progress in a picture box.
#include "ExportarPrueba.h"

#include "common/Dll_Display.h"
#include "common/Lbf_CtrlDisplay.h"
#include "common/PictureBox.h"
#include "export/ModExportarExcel.h"
#include "platform/core/Operator.h"
#include "platform/xlsx/Workbook.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include <cerrno>

#include <sys/stat.h>

namespace {

using exportacion::ExportarExcelPorRS;
using exportar_tests::Exportar;
using exportar_tests::texto;
using testing_support::XlsxSheet;

const QString kTodo = QStringLiteral("SELECT * FROM ARTICULOS ORDER BY ID");

QByteArray contenido(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void escribir(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The files of the test's folder (its data base folder aside).
QStringList archivos()
{
    return QDir(testing_support::testFolder()).entryList(QDir::Files | QDir::Hidden);
}

// Presses the banner's cancel button the first time its third line shows `texto`.
class CancelaEnCartel : public QObject
{
public:
    explicit CancelaEnCartel(const QString& texto) : m_texto(texto) { qApp->installEventFilter(this); }
    ~CancelaEnCartel() override { qApp->removeEventFilter(this); }
    bool pulsado = false;
    // The banner's caption and lines when it was pressed.
    QStringList visto;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (!pulsado && e->type() == QEvent::Paint) {
            common::Lbf_CtrlDisplay* cartel = common::CartelEspera().ventana();
            if (cartel && o == cartel->LblCtrol[2] && cartel->LblCtrol[2]->text() == m_texto) {
                pulsado = true;
                visto = QStringList{cartel->windowTitle(), cartel->LblCtrol[0]->text(), cartel->LblCtrol[1]->text()};
                cartel->CmdDisplayCancelar->click();
            }
        }
        return false;
    }

private:
    QString m_texto;
};

} // namespace

TEST_F(Exportar, ShownPreviewedOrSavedAsAsked)
{
    struct Caso
    {
        bool preview;
        const char* nombre;
        bool abierto;
        bool guardado;
    };
    const Caso casos[] = {
        {true, "", true, false},
        {false, "", true, false},
        // Previewed, never saved: the file of that name stays as it was.
        {true, "articulos.xlsx", true, false},
        {false, "articulos.xlsx", false, true},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.preview ? "preview " : "") + c.nombre);
        const QString nombre = c.nombre[0] ? enCarpeta(QString::fromLatin1(c.nombre)) : QString();
        if (!nombre.isEmpty()) {
            escribir(nombre, "el libro de ayer");
        }
        escritorio->opened.clear();
        ExportarExcelPorRS(kTodo, c.preview, QString(), QString(), nombre, nullptr, 0, QString());
        EXPECT_EQ(escritorio->opened.size(), c.abierto ? 1 : 0);
        if (c.abierto) {
            EXPECT_EQ(texto(abierto(), "A2"), QStringLiteral("A01"));
            EXPECT_TRUE(escritorio->opened.value(0).toLocalFile().endsWith(QStringLiteral(".xlsx")));
        }
        if (c.guardado) {
            EXPECT_EQ(leer(nombre).at("A2").value.toString(), QStringLiteral("A01"));
        } else if (!nombre.isEmpty()) {
            EXPECT_EQ(contenido(nombre), QByteArray("el libro de ayer"));
        }
        if (!nombre.isEmpty()) {
            QFile::remove(nombre);
        }
    }
    // Nothing half-written is left beside a saved workbook.
    for (const QString& f : archivos()) {
        EXPECT_TRUE(f.startsWith(QStringLiteral("Libro-")) || f == QStringLiteral("BKERR.LOG")) << f.toStdString();
    }
}

TEST_F(Exportar, AnEmptyResultProducesNothingAndKeepsTheFileOfThatName)
{
    const QString nombre = enCarpeta(QStringLiteral("articulos.xlsx"));
    escribir(nombre, "el libro de ayer");
    ExportarExcelPorRS(QStringLiteral("SELECT * FROM ARTICULOS WHERE ID > 100"), false, QStringLiteral("Vacío"),
                       QString(), nombre, nullptr, 0, QString());
    EXPECT_EQ(contenido(nombre), QByteArray("el libro de ayer"));
    EXPECT_TRUE(escritorio->opened.isEmpty());
    EXPECT_EQ(common::CartelEspera().ventana(), nullptr);
    EXPECT_EQ(archivos(), QStringList{QStringLiteral("articulos.xlsx")});
}

TEST_F(Exportar, AWorkbookThatCannotBeSavedIsReportedAndTheOldFileKept)
{
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK, QStringLiteral("No se pudo guardar el libro de Excel en "));
    const QString nombre = enCarpeta(QStringLiteral("no-existe/articulos.xlsx"));
    ExportarExcelPorRS(kTodo, false, QString(), QString(), nombre, nullptr, 0, QString());
    EXPECT_EQ(op.pending(), 0u);
    EXPECT_FALSE(QFile::exists(nombre));
    EXPECT_TRUE(escritorio->opened.isEmpty());
    EXPECT_TRUE(contenido(enCarpeta(QStringLiteral("BKERR.LOG"))).contains("ExportarExcelPorRS"));

    // A read-only file is not replaced either.
    const QString fijo = enCarpeta(QStringLiteral("fijo/articulos.xlsx"));
    QDir().mkpath(enCarpeta(QStringLiteral("fijo")));
    escribir(fijo, "el libro de ayer");
    QFile::setPermissions(enCarpeta(QStringLiteral("fijo")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (!QFileInfo(enCarpeta(QStringLiteral("fijo"))).isWritable()) {
        op.answerMsgBox(platform::msgbox::OK, QStringLiteral("No se pudo guardar el libro de Excel en "));
        ExportarExcelPorRS(kTodo, false, QString(), QString(), fijo, nullptr, 0, QString());
        EXPECT_EQ(op.pending(), 0u);
        EXPECT_EQ(contenido(fijo), QByteArray("el libro de ayer"));
    }
    QFile::setPermissions(enCarpeta(QStringLiteral("fijo")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(Exportar, AWorkbookThatCannotBeCreatedIsReported)
{
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK, QStringLiteral("No se pudo crear el libro de Excel"));
    // A cache folder that is a file: the private folder of workbooks cannot be made in it.
    escribir(enCarpeta(QStringLiteral("archivo")), "x");
    qputenv("XDG_CACHE_HOME", enCarpeta(QStringLiteral("archivo")).toUtf8());
    ExportarExcelPorRS(kTodo, true, QString(), QString(), QString(), nullptr, 0, QString());
    EXPECT_EQ(op.pending(), 0u);
    EXPECT_TRUE(escritorio->opened.isEmpty());
}

TEST_F(Exportar, ACancelInTheBannerKeepsTheHeadAndTheRowsWrittenSoFar)
{
    for (const bool guardar : {false, true}) {
        SCOPED_TRACE(guardar ? "saved" : "previewed");
        escritorio->opened.clear();
        const QString nombre = guardar ? enCarpeta(QStringLiteral("cancelado.xlsx")) : QString();
        // The row counter counts the heading row too: "4 de 3" at the third record.
        CancelaEnCartel cancela(QStringLiteral("4 de 3"));
        ExportarExcelPorRS(kTodo, !guardar, QStringLiteral("Lista"), QString(), nombre, nullptr, 0,
                           QStringLiteral("Cantidad"));
        EXPECT_TRUE(cancela.pulsado);
        EXPECT_EQ(cancela.visto, (QStringList{"Exportando a Excel", "Exportando a Excel", "Espere Por Favor"}));
        const XlsxSheet h = guardar ? leer(nombre) : abierto();
        EXPECT_EQ(texto(h, "B1"), QStringLiteral("Lista"));
        EXPECT_EQ(texto(h, "A2"), QStringLiteral("Codigo"));
        EXPECT_EQ(texto(h, "A3"), QStringLiteral("A01"));
        EXPECT_EQ(texto(h, "I4"), QStringLiteral("con blancos"));
        // Neither the third record nor the totals.
        EXPECT_EQ(h.maxRow, 4);
        EXPECT_EQ(common::CartelEspera().ventana(), nullptr);
    }
}

TEST_F(Exportar, WithAPictureBoxTheProgressIsPaintedThereAndNoBannerShows)
{
    common::PictureBox caja;
    caja.resize(300, 20);
    bool cartelVisto = false;
    class Vigia : public QObject
    {
    public:
        explicit Vigia(bool& visto) : m_visto(visto) {}
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Show && qobject_cast<common::Lbf_CtrlDisplay*>(o)) {
                m_visto = true;
            }
            return false;
        }

    private:
        bool& m_visto;
    } vigia(cartelVisto);
    qApp->installEventFilter(&vigia);
    ExportarExcelPorRS(kTodo, true, QStringLiteral("Lista"), QString(), QString(), &caja, 0, QString());
    qApp->removeEventFilter(&vigia);
    EXPECT_FALSE(cartelVisto);
    EXPECT_EQ(texto(abierto(), "A3"), QStringLiteral("A01"));
    // The last report is 100 %: the bar covers the whole picture in its
    // inverting red, so no pixel keeps the background colour.
    const QImage& picture = caja.picture();
    const QRgb fondo = caja.palette().color(QPalette::Window).rgb();
    int deFondo = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            deFondo += picture.pixel(x, y) == fondo;
        }
    }
    EXPECT_EQ(deFondo, 0);
}

TEST_F(Exportar, ASecondExportStartedMeanwhileDoesNothing)
{
    // A second click while the first export yields to window events.
    int segundas = 0;
    QTimer segunda;
    segunda.setSingleShot(true);
    QObject::connect(&segunda, &QTimer::timeout, [&] {
        ++segundas;
        ExportarExcelPorRS(kTodo, true, QString(), QString(), QString(), nullptr, 0, QString());
    });
    segunda.start(0);
    ExportarExcelPorRS(kTodo, true, QString(), QString(), QString(), nullptr, 0, QStringLiteral("Cantidad"));
    EXPECT_EQ(segundas, 1);
    ASSERT_EQ(escritorio->opened.size(), 1);
    const XlsxSheet h = abierto();
    EXPECT_EQ(h.maxRow, 5);
    EXPECT_EQ(texto(h, "B5"), QStringLiteral("=SUM(B2:B4)"));
}

TEST_F(Exportar, AShownWorkbookIsPrivateAndThoseOfDaysBeforeAreRemoved)
{
    ExportarExcelPorRS(kTodo, true, QString(), QString(), QString(), nullptr, 0, QString());
    ASSERT_EQ(escritorio->opened.size(), 1);
    const QString primero = escritorio->opened.value(0).toLocalFile();
    const QFileInfo libro(primero);
    // In the user's own cache folder, not in the temporary folder every user shares.
    EXPECT_EQ(libro.absolutePath(),
              QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/libros"));
    EXPECT_TRUE(libro.absolutePath().startsWith(testing_support::testFolder() + QStringLiteral("/cache/")));
    struct stat archivo
    {
    };
    struct stat carpeta
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(primero).constData(), &archivo), 0);
    ASSERT_EQ(::stat(QFile::encodeName(libro.absolutePath()).constData(), &carpeta), 0);
    EXPECT_EQ(archivo.st_mode & 0777, 0600u);
    EXPECT_EQ(carpeta.st_mode & 0777, 0700u);

    // Workbooks of two days and of two hours ago; the next export removes the first.
    const QString viejo = libro.absolutePath() + QStringLiteral("/Libro-viejo1.xlsx");
    const QString reciente = libro.absolutePath() + QStringLiteral("/Libro-recie.xlsx");
    const QString ajeno = libro.absolutePath() + QStringLiteral("/notas.txt");
    for (const auto& [path, horas] : {std::pair{viejo, 48}, std::pair{reciente, 2}, std::pair{ajeno, 48}}) {
        escribir(path, "x");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            f.setFileTime(QDateTime::currentDateTime().addSecs(-3600 * horas), QFileDevice::FileModificationTime));
    }
    ExportarExcelPorRS(kTodo, true, QString(), QString(), QString(), nullptr, 0, QString());
    ASSERT_EQ(escritorio->opened.size(), 2);
    EXPECT_FALSE(QFile::exists(viejo));
    EXPECT_TRUE(QFile::exists(reciente));
    EXPECT_TRUE(QFile::exists(ajeno));
    // The spreadsheet application may still hold the last ones.
    EXPECT_TRUE(QFile::exists(primero));
    EXPECT_TRUE(QFile::exists(escritorio->opened.value(1).toLocalFile()));
}

namespace {

struct Causa
{
    const char* nombre;
    bool preview;
    const char* destino; // the name to save under, in the test's folder
    int errorDelSistema; // the error every write meets, 0 for the disk's own
    const char* mensaje; // what the error dialog says after the error number
};

// The save's failures and what the common error dialog says of them.
const Causa kCausas[] = {
    {"disk_full", false, "articulos.xlsx", ENOSPC,
     "(61) No se pudo guardar el libro de Excel en %1: no queda espacio en el disco."},
    {"quota", false, "articulos.xlsx", EDQUOT,
     "(61) No se pudo guardar el libro de Excel en %1: no queda espacio en el disco."},
    {"no_permission", false, "articulos.xlsx", EACCES,
     "(70) No se pudo guardar el libro de Excel en %1: no tiene permiso para escribir en esa carpeta."},
    {"read_only_disk", false, "articulos.xlsx", EROFS,
     "(70) No se pudo guardar el libro de Excel en %1: no tiene permiso para escribir en esa carpeta."},
    {"no_folder", false, "no-existe/articulos.xlsx", 0,
     "(76) No se pudo guardar el libro de Excel en %1: la carpeta no existe."},
    {"shown_disk_full", true, "", ENOSPC, "(61) No se pudo escribir el libro de Excel: no queda espacio en el disco."},
};

class CausaDelFallo : public Exportar, public ::testing::WithParamInterface<Causa>
{
};

} // namespace

TEST_P(CausaDelFallo, NamedInTheErrorDialog)
{
    const Causa& c = GetParam();
    const QString nombre = c.destino[0] ? enCarpeta(QString::fromLatin1(c.destino)) : QString();
    if (c.errorDelSistema == 0) {
        ASSERT_FALSE(QFileInfo::exists(QFileInfo(nombre).absolutePath()));
    } else if (!nombre.isEmpty()) {
        escribir(nombre, "el libro de ayer");
    }
    platform::xlsx::workbookSettings().simulatedWriteError = c.errorDelSistema;
    auto& op = testing_support::scriptedOperator();
    const QString mensaje =
        QStringLiteral("Ha ocurrido el Siguiente Error ") + QString::fromUtf8(c.mensaje).arg(nombre);
    op.answerMsgBox(platform::msgbox::OK, mensaje);
    ExportarExcelPorRS(kTodo, c.preview, QString(), QString(), nombre, nullptr, 0, QString());
    EXPECT_EQ(op.pending(), 0u);
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked().front().prompt, mensaje);
    EXPECT_TRUE(escritorio->opened.isEmpty());
    if (c.errorDelSistema != 0 && !nombre.isEmpty()) {
        EXPECT_EQ(contenido(nombre), QByteArray("el libro de ayer"));
    }
    // Nothing of the failed workbook is left behind.
    EXPECT_TRUE(QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/libros"))
                    .entryList(QDir::Files)
                    .isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Exportar, CausaDelFallo, ::testing::ValuesIn(kCausas),
                         [](const ::testing::TestParamInfo<Causa>& caso) { return std::string(caso.param.nombre); });
