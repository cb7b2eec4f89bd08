// What becomes of the workbook: shown, previewed or saved; an empty result;
// failures; a cancel in the banner; progress in a picture box.
#include "ExportarPrueba.h"

#include "common/Dll_Display.h"
#include "common/Lbf_CtrlDisplay.h"
#include "common/PictureBox.h"
#include "export/ModExportarExcel.h"
#include "platform/core/Operator.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

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
    // A temporary folder that is a file: nothing can be created in it.
    escribir(enCarpeta(QStringLiteral("archivo")), "x");
    qputenv("TMPDIR", enCarpeta(QStringLiteral("archivo")).toUtf8());
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
