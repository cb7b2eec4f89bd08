#pragma once

#include "platform/db/Types.h"

#include <QString>

#include <cstdint>

namespace platform {

// The run-time error that a handler caught: number, description and source,
// as the system's error dialogs show and log them. A data-platform error
// converts to it directly.
struct ErrObject
{
    int32_t Number = 0;
    QString Description;
    QString Source;

    ErrObject() = default;
    ErrObject(int32_t number, const QString& description, const QString& source = {})
        : Number(number), Description(description), Source(source)
    {
    }
    ErrObject(const db::ErrorInfo& info) : Number(info.Number), Description(info.Description), Source(info.Source) {}
    ErrObject(const db::DbError& error) : ErrObject(error.info()) {}
};

} // namespace platform
