// arranque: the program as its main() runs it, with a robot at the screen
// that answers each modal window from a list of steps, so that a test can
// start the program as a process and watch how it ends.
//
// Environment:
//   ARRANQUE_CARPETA  the program folder (the tests' own, not this one's);
//   ARRANQUE_PASOS    the steps, separated by "|", one per modal window:
//                     for a message box the answer ("Si", "No", "Aceptar",
//                     "Cancelar", "Abortar", "Reintentar", "Ignorar"); for
//                     the connection dialog "Cancelar" or
//                     "Conectar:<user>:<password>".
// Each window is written to standard output as one line "VENTANA <title> |
// <text>" (a dialog's text is its object name), for a message box followed by
// " | " and its buttons' texts. A window when no step is
// left ends the process with status 99.
#include "app/Programa.h"
#include "data/frmAcceso.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"

#include <QApplication>
#include <QHash>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kSinPasos = 99;

// One line per window: the line breaks of a message become blanks.
void escribir(const QString& linea)
{
    std::fputs((platform::text::FoldLineBreaks(linea) + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

[[noreturn]] void fallar(const QString& motivo)
{
    escribir(QStringLiteral("INESPERADA ") + motivo);
    std::_Exit(kSinPasos);
}

void responderMensaje(QMessageBox& box, const QString& paso)
{
    static const QHash<QString, QMessageBox::StandardButton> botones = {
        {QStringLiteral("Si"), QMessageBox::Yes},         {QStringLiteral("No"), QMessageBox::No},
        {QStringLiteral("Aceptar"), QMessageBox::Ok},     {QStringLiteral("Cancelar"), QMessageBox::Cancel},
        {QStringLiteral("Abortar"), QMessageBox::Abort},  {QStringLiteral("Reintentar"), QMessageBox::Retry},
        {QStringLiteral("Ignorar"), QMessageBox::Ignore},
    };
    QAbstractButton* boton = box.button(botones.value(paso, QMessageBox::NoButton));
    if (!boton) {
        fallar(QStringLiteral("paso ") + paso + QStringLiteral(" sin boton"));
    }
    boton->click();
}

void responderAcceso(data::frmAcceso& dialogo, const QString& paso)
{
    const QStringList partes = paso.split(u':');
    if (partes.value(0) == u"Cancelar") {
        dialogo.bcCancelar->click();
    } else if (partes.value(0) == u"Conectar" && partes.size() == 3) {
        dialogo.TxtUserId->setText(partes[1]);
        dialogo.TxtUserPassword->setText(partes[2]);
        dialogo.bcAceptar->click();
    } else {
        fallar(QStringLiteral("paso ") + paso + QStringLiteral(" para el dialogo de conexion"));
    }
}

// Looks at the screen every few milliseconds and answers the modal window
// that is up, once.
class Robot : public QObject
{
public:
    explicit Robot(QStringList pasos) : m_pasos(std::move(pasos))
    {
        connect(&m_reloj, &QTimer::timeout, this, &Robot::mirar);
        m_reloj.start(20);
    }

private:
    void mirar()
    {
        QWidget* ventana = QApplication::activeModalWidget();
        if (!ventana || ventana == m_ultima || !ventana->isVisible()) {
            return;
        }
        m_ultima = ventana;
        auto* box = qobject_cast<QMessageBox*>(ventana);
        QString linea = QStringLiteral("VENTANA ") + ventana->windowTitle() + QStringLiteral(" | ");
        if (box) {
            QStringList botones;
            for (QAbstractButton* boton : box->buttons()) {
                botones << boton->text();
            }
            linea += box->text() + QStringLiteral(" | ") + botones.join(u' ');
        } else {
            linea += ventana->objectName();
        }
        escribir(linea);
        if (m_pasos.isEmpty()) {
            fallar(QStringLiteral("sin pasos"));
        }
        const QString paso = m_pasos.takeFirst();
        if (box) {
            responderMensaje(*box, paso);
        } else if (auto* acceso = dynamic_cast<data::frmAcceso*>(ventana)) {
            responderAcceso(*acceso, paso);
        } else {
            fallar(QStringLiteral("ventana ") + ventana->objectName());
        }
    }

    QStringList m_pasos;
    QTimer m_reloj;
    QPointer<QWidget> m_ultima;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication aplicacion(argc, argv);
    platform::Runtime::instance().setProgramFolder(qEnvironmentVariable("ARRANQUE_CARPETA"));
    const QString pasos = qEnvironmentVariable("ARRANQUE_PASOS");
    Robot robot(pasos.isEmpty() ? QStringList() : pasos.split(u'|'));
    app::EjecutarPrograma();
}
