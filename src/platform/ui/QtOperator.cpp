#include "platform/ui/QtOperator.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

int QtOperator::MsgBox(const QString& prompt, int style, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setText(prompt);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    switch (style & 0x70) {
    case msgbox::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case msgbox::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case msgbox::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case msgbox::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Choice
    {
        QMessageBox::StandardButton button;
        int answer;
    };
    QList<Choice> choices;
    switch (style & 0x7) {
    case msgbox::OKCancel:
        choices = {{QMessageBox::Ok, msgbox::OK}, {QMessageBox::Cancel, msgbox::Cancel}};
        break;
    case msgbox::AbortRetryIgnore:
        choices = {{QMessageBox::Abort, msgbox::Abort},
                   {QMessageBox::Retry, msgbox::Retry},
                   {QMessageBox::Ignore, msgbox::Ignore}};
        break;
    case msgbox::YesNoCancel:
        choices = {
            {QMessageBox::Yes, msgbox::Yes}, {QMessageBox::No, msgbox::No}, {QMessageBox::Cancel, msgbox::Cancel}};
        break;
    case msgbox::YesNo:
        choices = {{QMessageBox::Yes, msgbox::Yes}, {QMessageBox::No, msgbox::No}};
        break;
    case msgbox::RetryCancel:
        choices = {{QMessageBox::Retry, msgbox::Retry}, {QMessageBox::Cancel, msgbox::Cancel}};
        break;
    default:
        choices = {{QMessageBox::Ok, msgbox::OK}};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& c : choices) {
        buttons |= c.button;
    }
    box.setStandardButtons(buttons);
    const int defaultIndex = (style & msgbox::DefaultButton3) ? 2 : (style & msgbox::DefaultButton2) ? 1 : 0;
    if (defaultIndex < choices.size()) {
        box.setDefaultButton(choices[defaultIndex].button);
    }
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Choice& c : choices) {
        if (c.button == clicked) {
            return c.answer;
        }
    }
    // Closed with the window's own button: the answer of Escape.
    return choices.size() == 1 ? msgbox::OK : (style & 0x7) == msgbox::YesNo ? msgbox::No : msgbox::Cancel;
}

std::optional<QString> QtOperator::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), title.isEmpty() ? QApplication::applicationName() : title,
                              prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

std::optional<QString> QtOperator::OpenFile(const QString& title, const QString& filter, const QString& folder)
{
    const QString path =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), title, folder, qtFileFilter(filter));
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

std::optional<QString> QtOperator::SaveFile(const QString& title, const QString& filter, const QString& suggestedName)
{
    const QString path =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), title, suggestedName, qtFileFilter(filter));
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

QString qtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // The desktop's own dialogs match patterns with regard to case:
        // "*.MDB" alone would hide "ventas.mdb".
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            for (const QString& variant :
                 {pattern.trimmed(), pattern.trimmed().toLower(), pattern.trimmed().toUpper()}) {
                if (!patterns.contains(variant)) {
                    patterns << variant;
                }
            }
        }
        out << parts[i].trimmed() + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return out.join(QStringLiteral(";;"));
}

} // namespace platform
