// Every control of the main form that the user works with has a name for the
// accessibility interface (screen readers, automation): buttons from their
// caption or, where they show an icon or a sign, from their tool tip; boxes
// and lists from the label that stands for them or a name of their own.
#include "CorrigeCostoSoporte.h"

#include "app/frmCorrigeCosto.h"

#include <QAccessible>
#include <QAccessibleInterface>

#include <gtest/gtest.h>

#include <algorithm>

using corrige_tests::FormularioDemo;

namespace {

// Roles of the controls a user acts on; their parts (a list's items, a
// table's cells, a combo box's drop-down list) are named by their own contents.
bool esInteractivo(const QAccessibleInterface& control)
{
    switch (control.role()) {
    case QAccessible::Button:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Table:
        return true;
    default:
        // A control of our own that takes the keyboard (the grid) is one too.
        return control.state().focusable;
    }
}

// A name that says what the control is: at least one letter, so that a sign
// such as "|<" or "▲" read aloud does not count.
bool nombraAlgo(const QString& nombre)
{
    return std::any_of(nombre.begin(), nombre.end(), [](QChar c) { return c.isLetter(); });
}

// The name a screen reader gives the control. On this desktop Qt names a
// combo box by its current text and hands over the label that stands for it
// as a relation, which is what the reader says; a combo box without a label
// is named by the name it was given, which Qt reads on the other desktops.
QString nombreDe(QAccessibleInterface& control)
{
    if (control.role() != QAccessible::ComboBox) {
        return control.text(QAccessible::Name);
    }
    for (const auto& [etiqueta, relacion] : control.relations(QAccessible::Label)) {
        if (etiqueta) {
            return etiqueta->text(QAccessible::Name);
        }
    }
    const auto* caja = qobject_cast<const QWidget*>(control.object());
    return caja ? caja->accessibleName() : QString();
}

// The visible interactive controls under `raiz` without a name that says
// what they are, as "objectName (role): name".
void sinNombre(QAccessibleInterface* raiz, QStringList& faltan)
{
    for (int i = 0; i < raiz->childCount(); ++i) {
        QAccessibleInterface* hijo = raiz->child(i);
        if (!hijo || !hijo->isValid() || hijo->state().invisible) {
            continue;
        }
        if (esInteractivo(*hijo)) {
            const QString nombre = nombreDe(*hijo);
            if (!nombraAlgo(nombre)) {
                const QString objeto = hijo->object() ? hijo->object()->objectName() : QString();
                faltan << QStringLiteral("%1 (%2): \"%3\"").arg(objeto).arg(int(hijo->role()), 0, 16).arg(nombre);
            }
            continue;
        }
        sinNombre(hijo, faltan);
    }
}

} // namespace

TEST(Accesibilidad, CadaControlDelFormularioTieneNombre)
{
    FormularioDemo demo;
    app::frmCorrigeCosto& form = *demo.form;
    // One group shown in the grid, so that the grid's page and order controls are on.
    ASSERT_NO_FATAL_FAILURE(corrige_tests::MostrarUnGrupo(form));

    QAccessibleInterface* ventana = QAccessible::queryAccessibleInterface(&form);
    ASSERT_NE(ventana, nullptr);
    QStringList faltan;
    sinNombre(ventana, faltan);
    EXPECT_TRUE(faltan.isEmpty()) << faltan.join(u'\n').toStdString();
}
