#pragma once

#include "platform/db/Command.h"
#include "platform/db/Connection.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace controls::busqueda {

// Runs one statement through a fresh command on the look-up box's
// connection; the command goes when the statement has run. Raises DbError.
inline std::shared_ptr<platform::db::Recordset> Ejecutar(platform::db::Connection& cn, const QString& sql,
                                                         int64_t* afectadas = nullptr)
{
    platform::db::Command cmd;
    cmd.setActiveConnection(&cn);
    cmd.setCommandText(sql);
    return cmd.Execute(afectadas, platform::db::adCmdUnspecified);
}

} // namespace controls::busqueda
