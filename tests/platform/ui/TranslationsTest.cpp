#include "platform/ui/Translations.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

// The texts of a message box's standard buttons, in the order given.
QStringList buttonTexts(const QList<QMessageBox::StandardButton>& buttons)
{
    QMessageBox box;
    QMessageBox::StandardButtons all;
    for (QMessageBox::StandardButton b : buttons) {
        all |= b;
    }
    box.setStandardButtons(all);
    QStringList texts;
    for (QMessageBox::StandardButton b : buttons) {
        texts << box.button(b)->text().remove(u'&');
    }
    return texts;
}

const QList<QMessageBox::StandardButton> kButtons = {QMessageBox::Yes,   QMessageBox::No,    QMessageBox::Ok,
                                                     QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore,
                                                     QMessageBox::Cancel};

} // namespace

TEST(Translations, SpanishGivesSpanishStandardButtonsWhileInstalled)
{
    {
        const auto translator = platform::ui::installQtTranslations(QLocale(QLocale::Spanish, QLocale::Argentina));
        ASSERT_NE(translator, nullptr);
        EXPECT_EQ(buttonTexts(kButtons),
                  (QStringList{"Sí", "No", "Aceptar", "Interrumpir", "Reintentar", "Ignorar", "Cancelar"}));
    }
    EXPECT_EQ(buttonTexts({QMessageBox::Yes, QMessageBox::Cancel}), (QStringList{"Yes", "Cancel"}));
}

TEST(Translations, ALanguageQtDoesNotSpeakInstallsNothing)
{
    EXPECT_EQ(platform::ui::installQtTranslations(QLocale(QLocale::Welsh, QLocale::UnitedKingdom)), nullptr);
    EXPECT_EQ(buttonTexts({QMessageBox::Yes}), QStringList{"Yes"});
}
