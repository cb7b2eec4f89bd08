#pragma once

#include "platform/ui/QtOperator.h"

namespace common {

// The program's operator, which main() installs: Qt's standard dialogs, and
// the timed message as a fresh FrmMsgBox shown modally.
class ProgramOperator final : public platform::QtOperator
{
public:
    void TimedMsgBox(const QString& prompt, int style, const QString& title, int waitSeconds) override;
};

} // namespace common
