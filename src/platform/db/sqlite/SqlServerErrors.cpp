#include "platform/db/sqlite/SqlServerErrors.h"

namespace platform::db::sqlite {

namespace {

const ServerError* const kAll[] = {
    &serverError::NestedTooDeeply,    &serverError::TopWithOffset,     &serverError::NotADate,
    &serverError::DateOutOfRange,     &serverError::DateOverflow,      &serverError::DateDiffOverflow,
    &serverError::NotMoney,           &serverError::NotAWholeNumber,   &serverError::NotANumber,
    &serverError::ArithmeticOverflow, &serverError::DivideByZero,      &serverError::NoRoomForMoney,
    &serverError::BadStyle,           &serverError::BadDatePart,       &serverError::BadLengthLeft,
    &serverError::BadLengthRight,     &serverError::SyntaxNearKeyword, &serverError::IntOverflow,
    &serverError::ShortIntOverflow,   &serverError::ValueOverflow,
};

// Whether `text` has the fixed words of the message before its first value
// and after its last one.
bool hasMessageOf(const QString& text, const ServerError& error)
{
    const QLatin1String pattern(error.text);
    const qsizetype first = pattern.indexOf(QLatin1Char('%'));
    if (first < 0)
        return text == pattern;
    qsizetype last = pattern.lastIndexOf(QLatin1Char('%')) + 1;
    while (last < pattern.size() && QChar(pattern[last]).isDigit())
        ++last;
    return text.startsWith(pattern.left(first)) && text.endsWith(pattern.mid(last)) &&
           text.size() >= first + pattern.size() - last;
}

} // namespace

QString serverMessage(const ServerError& error, const QStringList& values)
{
    QString text = QString::fromLatin1(error.text);
    for (qsizetype i = 0; i < values.size(); ++i)
        text.replace(QStringLiteral("%%1").arg(i + 1), values[i]);
    return text;
}

const ServerError* serverErrorOf(const QString& text)
{
    for (const ServerError* error : kAll) {
        if (hasMessageOf(text, *error))
            return error;
    }
    return nullptr;
}

} // namespace platform::db::sqlite
