#pragma once

#include "platform/core/Operator.h"

namespace platform {

// Asks through Qt's standard dialogs. The timed message is a form in the
// program's own look, above this layer: the program's operator derives from
// this class and shows it.
class QtOperator : public Operator
{
public:
    int MsgBox(const QString& prompt, int style, const QString& title) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> OpenFile(const QString& title, const QString& filter, const QString& folder) override;
    std::optional<QString> SaveFile(const QString& title, const QString& filter, const QString& suggestedName) override;
};

// "Description|*.ext|..." as Qt's "Description (*.ext *.EXT);;...": each
// pattern also in lower and upper case, so that the file names it stands for
// are found whatever their case.
QString qtFileFilter(const QString& filter);

} // namespace platform
