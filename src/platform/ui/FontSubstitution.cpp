#include "platform/ui/FontSubstitution.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace platform::ui {

void useDesignFonts()
{
    struct Substitute
    {
        const char* face;
        const char* with;
    };
    static const Substitute substitutes[] = {
        {"Arial", "Liberation Sans"},         {"Segoe UI", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"}, {"Microsoft Sans Serif", "Liberation Sans"},
        {"Tahoma", "Liberation Sans"},        {"Verdana", "Liberation Sans"},
        {"Helvetica", "Liberation Sans"},     {"Calibri", "Carlito"},
    };
    const QStringList installed = QFontDatabase::families();
    for (const Substitute& s : substitutes) {
        const QString face = QString::fromLatin1(s.face);
        if (!installed.contains(face, Qt::CaseInsensitive)) {
            QFont::insertSubstitution(face, QString::fromLatin1(s.with));
        }
    }
    QFont font(QStringLiteral("Segoe UI"));
    font.setPointSize(9);
    QApplication::setFont(font);
}

} // namespace platform::ui
