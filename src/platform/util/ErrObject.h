#pragma once

#include "platform/core/Error.h"

#include <QString>

#include <cstdint>

namespace platform {

// The run-time error that a handler caught: number, description and source,
// as the error dialogs show and log them. Built from the platform's Error.
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
    ErrObject(const ErrorInfo& info) : Number(info.Number), Description(info.Description), Source(info.Source) {}
    ErrObject(const Error& error) : ErrObject(error.info()) {}
    // The error with `defaultSource` as its source when it names none (a
    // control's error names no source; its handler names the control).
    ErrObject(const Error& error, const QString& defaultSource) : ErrObject(error.info())
    {
        if (Source.isEmpty()) {
            Source = defaultSource;
        }
    }
};

} // namespace platform
