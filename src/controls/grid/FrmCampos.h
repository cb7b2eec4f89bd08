#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

namespace platform::ui {
class ListView;
}

namespace controls {

// The column chooser of the grid: every column of the grid's query in a list
// with a check box, moved up and down, applied or closed without change. The
// grid fills gCampos, gCamposSel and gOrdinalSel, shows the form modally and
// reads the results back; the form is discarded after each opening.
//
// Loading and applying skip a failing step; nothing is raised.
class FrmCampos : public QDialog
{
    Q_OBJECT

public:
    explicit FrmCampos(QWidget* parent = nullptr);

    // In: every column, each followed by "|", the key column last. Consumed by the load.
    QString gCampos;
    // In: the current choice, bracketed names joined by "," (the key last).
    // Out: the checked columns in list order joined by ", " and the key column; empty when none is checked.
    QString gCamposSel;
    // Out: every entry in its displayed order joined by ", " and the key column.
    QString gCamposOrden;
    // In: one position per entry of the current choice, each followed by "|".
    // Out: the 1-based positions of the checked entries, each followed by "|".
    QString gOrdinalSel;
    // True when the form was closed without applying.
    bool Cancelar = false;

protected:
    void showEvent(QShowEvent* event) override;
    // Escape and the window's close are the close icon.
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void crearControles();
    void Form_Load();
    void ImgSube_Click();
    void ImgBaja_Click();
    void CmdAll_Click();
    void CmdAplica_Click();
    void ImgCancelar_Click();
    void ImgCancelar_MouseMove();
    void Form_MouseMove();
    void Label1_MouseMove();
    void cmdTodos_Click();
    void cmdAplicar_Click();
    void ImgSubir_Click();
    void ImgBajar_Click();
    void ImgSubir_MouseDown();
    void ImgBajar_MouseDown();
    // Moves the entry selected in LstLista one place up (-1) or down (+1),
    // with its check mark; `seleccionar` selects it at its new place.
    void moverEntrada(int paso, bool seleccionar);
    // The three results from a list of (text, checked) entries in order,
    // whose positions count from `primera`; the form closes.
    void aplicar(const QList<std::pair<QString, bool>>& entradas, int primera);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    platform::ui::ListView* LstLista = nullptr;
    QToolButton* ImgSube = nullptr;
    QToolButton* ImgBaja = nullptr;
    QPushButton* CmdAll = nullptr;
    QPushButton* CmdAplica = nullptr;
    QToolButton* ImgCancelar = nullptr;
    QFrame* Shape1 = nullptr;
    // A second set outside the client area: only its access keys reach it.
    QListWidget* LstCampos = nullptr;
    QPushButton* cmdTodos = nullptr;
    QPushButton* cmdAplicar = nullptr;
    QToolButton* ImgSubir = nullptr;
    QToolButton* ImgBajar = nullptr;
    QFrame* shpSubir = nullptr;
    QFrame* shpBajar = nullptr;

    // The last entry of gCampos (the key column), kept out of the list.
    QString UltimoCampo;
    bool m_cargado = false;
};

} // namespace controls
