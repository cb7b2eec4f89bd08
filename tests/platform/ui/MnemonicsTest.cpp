#include "platform/ui/Mnemonics.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A window whose "C" is shared by two buttons and a label with a buddy, in
// this focus order: a box, "&Cargar", "&Salir", the label's combo, "&Corregir".
struct Ventana
{
    Ventana()
    {
        auto* layout = new QVBoxLayout(&window);
        box = new QLineEdit(&window);
        cargar = new QPushButton(QStringLiteral("&Cargar"), &window);
        salir = new QPushButton(QStringLiteral("&Salir"), &window);
        auto* label = new QLabel(QStringLiteral("&Clase de precio"), &window);
        combo = new QComboBox(&window);
        label->setBuddy(combo);
        corregir = new QPushButton(QStringLiteral("&Corregir precios"), &window);
        for (QWidget* w :
             {static_cast<QWidget*>(box), static_cast<QWidget*>(cargar), static_cast<QWidget*>(salir),
              static_cast<QWidget*>(label), static_cast<QWidget*>(combo), static_cast<QWidget*>(corregir)}) {
            layout->addWidget(w);
        }
        for (QPushButton* b : {cargar, salir, corregir}) {
            QObject::connect(b, &QPushButton::clicked, [this, b] { pulsados << b->text(); });
        }
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Alt with `key`, pressed where the focus is; the control that has the focus after it.
    QWidget* alt(Qt::Key key)
    {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        return QApplication::focusWidget();
    }

    QWidget window;
    QLineEdit* box;
    QPushButton* cargar;
    QPushButton* salir;
    QComboBox* combo;
    QPushButton* corregir;
    QStringList pulsados;
};

} // namespace

TEST(Mnemonics, ASharedMnemonicMovesTheFocusToTheNextOfItsControls)
{
    const auto cycling = platform::ui::installMnemonicCycling();
    Ventana v;
    const QList<QWidget*> ronda = {v.cargar, v.combo, v.corregir};
    // From each control of the ring, and again from each, the next one.
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        for (qsizetype i = 0; i < ronda.size(); ++i) {
            ronda[i]->setFocus();
            EXPECT_EQ(v.alt(Qt::Key_C), ronda[(i + 1) % ronda.size()]) << "from " << i;
        }
    }
    v.box->setFocus();
    EXPECT_EQ(v.alt(Qt::Key_C), v.cargar);
    v.salir->setFocus();
    EXPECT_EQ(v.alt(Qt::Key_C), v.combo);
    EXPECT_TRUE(v.pulsados.isEmpty());
}

TEST(Mnemonics, AMnemonicOfOneButtonStillPressesIt)
{
    const auto cycling = platform::ui::installMnemonicCycling();
    Ventana v;
    v.box->setFocus();
    v.alt(Qt::Key_S);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !v.pulsados.isEmpty(); }));
    EXPECT_EQ(v.pulsados, QStringList{QStringLiteral("&Salir")});
}
