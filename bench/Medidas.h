#pragma once

#include "platform/core/Operator.h"

#include <optional>

namespace bench {

// Answers every question with Abort (or a cancel) and prints it, so that a
// failure shows in the output instead of waiting for a person.
class AbortingOperator final : public platform::Operator
{
public:
    int MsgBox(const QString& prompt, int, const QString&) override;
    void TimedMsgBox(const QString& prompt, int, const QString&, int) override;
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> OpenFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> SaveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

// Resident set size in kB, and its peak since the start or the last
// resetPeakKb(), from /proc/self/status; -1 when unknown.
long residentKb();
long peakKb();
void resetPeakKb();

} // namespace bench
