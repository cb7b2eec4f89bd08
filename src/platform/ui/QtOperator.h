#pragma once

#include "platform/ui/Operator.h"

namespace platform {

// Asks through Qt's standard dialogs.
class QtOperator final : public Operator
{
public:
    int MsgBox(const QString& prompt, int style, const QString& title) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> OpenFile(const QString& title, const QString& filter, const QString& folder) override;
    std::optional<QString> SaveFile(const QString& title, const QString& filter, const QString& suggestedName) override;
};

// "Description|*.ext|..." as Qt's "Description (*.ext);;...".
QString qtFileFilter(const QString& systemFilter);

} // namespace platform
