#pragma once

#include "platform/db/Types.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// The SQL Server errors that the embedded engine raises itself, in the
// translator and in the functions it registers, each with the native number,
// SQLSTATE and ADO number the provider reports for it.
namespace platform::db::sqlite {

struct ServerError
{
    int32_t native;
    int32_t number;
    const char* sqlState;
    const char* text; // SQL Server's message; %1, %2 ... stand for the values
};

namespace serverError {

inline constexpr ServerError NestedTooDeeply{
    191, adErr::Syntax, "42000",
    "Some part of your SQL statement is nested too deeply. Rewrite the query or break it up into smaller queries."};
inline constexpr ServerError TopWithOffset{10741, adErr::Syntax, "42000",
                                           "A TOP can not be used in the same query or sub-query as a OFFSET."};
inline constexpr ServerError NegativeOffset{10742, adErr::Syntax, "42000",
                                            "The offset specified in a OFFSET clause may not be negative."};
inline constexpr ServerError FetchNotPositive{
    10744, adErr::Syntax, "42000", "The number of rows provided for a FETCH clause must be greater then zero."};
inline constexpr ServerError NotADate{241, adErr::TypeMismatch, "22007",
                                      "Conversion failed when converting date and/or time from character string."};
inline constexpr ServerError DateOutOfRange{
    242, adErr::TypeMismatch, "22007",
    "The conversion of a varchar data type to a datetime data type resulted in an out-of-range value."};
inline constexpr ServerError DateOverflow{517, adErr::TypeMismatch, "22008",
                                          "Adding a value to a '%1' column caused an overflow."};
inline constexpr ServerError DateDiffOverflow{535, adErr::TypeMismatch, "22003",
                                              "The datediff function resulted in an overflow. The number of dateparts "
                                              "separating two date/time instances is too large. Try to use datediff "
                                              "with a less precise datepart."};
inline constexpr ServerError NotMoney{235, adErr::TypeMismatch, "22018",
                                      "Cannot convert a char value to money. The char value has incorrect syntax."};
inline constexpr ServerError NotAWholeNumber{245, adErr::TypeMismatch, "22018",
                                             "Conversion failed when converting the %1 value '%2' to data type %3."};
inline constexpr ServerError ValueOverflow{220, adErr::TypeMismatch, "22003",
                                           "Arithmetic overflow error for data type %1, value = %2."};
inline constexpr ServerError IntOverflow{248, adErr::TypeMismatch, "22003",
                                         "The conversion of the %1 value '%2' overflowed an int column."};
inline constexpr ServerError ShortIntOverflow{
    244, adErr::TypeMismatch, "22003",
    "The conversion of the %1 value '%2' overflowed an %3 column. Use a larger integer column."};
inline constexpr ServerError NotANumber{8114, adErr::TypeMismatch, "22018", "Error converting data type %1 to %2."};
inline constexpr ServerError ArithmeticOverflow{8115, adErr::TypeMismatch, "22003",
                                                "Arithmetic overflow error converting %1 to data type %2."};
inline constexpr ServerError DivideByZero{8134, adErr::TypeMismatch, "22012", "Divide by zero error encountered."};
inline constexpr ServerError BadOperandType{8117, adErr::Syntax, "42000",
                                            "Operand data type %1 is invalid for %2 operator."};
inline constexpr ServerError NoRoomForMoney{234, adErr::TypeMismatch, "22003",
                                            "There is insufficient result space to convert a money value to %1."};
inline constexpr ServerError BadStyle{281, adErr::Syntax, "42000",
                                      "%1 is not a valid style number when converting from %2 to a character string."};
inline constexpr ServerError SyntaxNearKeyword{156, adErr::Syntax, "42000", "Incorrect syntax near the keyword '%1'."};
inline constexpr ServerError BadLengthLeft{537, adErr::Syntax, "42000",
                                           "Invalid length parameter passed to the LEFT or SUBSTRING function."};
inline constexpr ServerError BadLengthRight{536, adErr::Syntax, "42000",
                                            "Invalid length parameter passed to the RIGHT function."};
inline constexpr ServerError BadDatePart{155, adErr::Syntax, "42000", "'%1' is not a recognized datepart option."};
inline constexpr ServerError IdentityGiven{
    544, adErr::Syntax, "23000",
    "Cannot insert explicit value for identity column in table '%1' when IDENTITY_INSERT is set to OFF."};
inline constexpr ServerError IdentityUpdated{8102, adErr::Syntax, "42000", "Cannot update identity column '%1'."};
inline constexpr ServerError ConcatArguments{189, adErr::Syntax, "42000",
                                             "The concat function requires 2 to 254 arguments."};
inline constexpr ServerError UnknownFunction{195, adErr::Syntax, "42000",
                                             "'%1' is not a recognized built-in function name."};

} // namespace serverError

// The message of `error` with its values in place of %1, %2 ...
QString serverMessage(const ServerError& error, const QStringList& values = {});

// The error whose message `text` is (as serverMessage() wrote it), or nullptr.
const ServerError* serverErrorOf(const QString& text);

} // namespace platform::db::sqlite
