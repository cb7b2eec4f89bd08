// The step runner of the procedures' error handlers.
#include "common/Pasos.h"

#include "platform/db/Types.h"
#include "platform/ui/ControlError.h"
#include "platform/ui/Operator.h"

#include <gtest/gtest.h>

#include <vector>

using common::Accion;
using platform::db::DbError;
using platform::ui::ControlError;

namespace {

// A run of four steps where step 1 fails the first `fallas` times it runs;
// `accion` is the handler's answer. Records every step that ran.
struct Corrida
{
    std::vector<int> pasos;
    int fallos = 0;
    bool completo = false;
};

Corrida correr(int fallas, Accion accion)
{
    Corrida c;
    c.completo = common::EjecutarPasos<DbError>(
        4,
        [&](int i) {
            c.pasos.push_back(i);
            if (i == 1 && c.fallos < fallas) {
                throw DbError(5, QStringLiteral("falla"));
            }
            return i + 1;
        },
        [&](const DbError& e) {
            EXPECT_EQ(e.number(), 5);
            ++c.fallos;
            return accion;
        });
    return c;
}

} // namespace

TEST(Pasos, TheHandlersAnswerRetriesGoesOnOrLeaves)
{
    struct Caso
    {
        Accion accion;
        std::vector<int> pasos;
        bool completo;
    };
    const Caso casos[] = {
        {Accion::Reintentar, {0, 1, 1, 1, 2, 3}, true},
        {Accion::Siguiente, {0, 1, 2, 3}, true},
        {Accion::Salir, {0, 1}, false},
    };
    for (const Caso& caso : casos) {
        const Corrida c = correr(caso.accion == Accion::Reintentar ? 2 : 1, caso.accion);
        EXPECT_EQ(c.pasos, caso.pasos) << int(caso.accion);
        EXPECT_EQ(c.completo, caso.completo) << int(caso.accion);
    }
}

TEST(Pasos, AStepSkipsAheadOrEndsTheRunByTheNumberItReturns)
{
    std::vector<int> pasos;
    const bool completo = common::EjecutarPasos<DbError>(
        5,
        [&](int i) {
            pasos.push_back(i);
            return i == 0 ? 3 : 9;
        },
        [](const DbError&) { return Accion::Salir; });
    EXPECT_TRUE(completo);
    EXPECT_EQ(pasos, (std::vector<int>{0, 3}));
}

TEST(Pasos, OnlyTheNamedErrorsReachTheHandlerEachAsItsOwnType)
{
    std::vector<int> vistos;
    const auto manejo = [&](const auto& e) {
        vistos.push_back(e.number());
        return Accion::Siguiente;
    };
    const bool completo = common::EjecutarPasos<DbError, ControlError>(
        2,
        [](int i) -> int {
            if (i == 0) {
                throw DbError(7, QStringLiteral("datos"));
            }
            throw ControlError(30009, QStringLiteral("fila"));
        },
        manejo);
    EXPECT_TRUE(completo);
    EXPECT_EQ(vistos, (std::vector<int>{7, 30009}));

    EXPECT_THROW(common::EjecutarPasos<DbError>(
                     1, [](int) -> int { throw ControlError(9, QStringLiteral("x")); }, manejo),
                 ControlError);
}

TEST(Pasos, WhatTheHandlerRaisesGoesToTheCaller)
{
    const auto correrUno = [] {
        common::EjecutarPasos<DbError, ControlError>(
            1, [](int) -> int { throw ControlError(9, QStringLiteral("x")); },
            [](const auto&) -> Accion { throw DbError(3, QStringLiteral("en el manejo")); });
    };
    EXPECT_THROW(correrUno(), DbError);
}

TEST(Pasos, WithoutErrorsEveryFailingStepIsSkipped)
{
    std::vector<int> pasos;
    common::EjecutarPasosSinErrores<DbError>(3, [&](int i) {
        pasos.push_back(i);
        if (i == 1) {
            throw DbError(5, QStringLiteral("falla"));
        }
        return i + 1;
    });
    EXPECT_EQ(pasos, (std::vector<int>{0, 1, 2}));
}

TEST(Pasos, TheDialogsRetryAndIgnoreBecomeActionsAndAnyOtherAnswerLeaves)
{
    namespace msgbox = platform::msgbox;
    EXPECT_EQ(common::AccionDeRespuesta(msgbox::Retry), Accion::Reintentar);
    EXPECT_EQ(common::AccionDeRespuesta(msgbox::Ignore), Accion::Siguiente);
    for (const int otra : {0, int(msgbox::Abort), int(msgbox::OK), int(msgbox::Cancel), int(msgbox::No)}) {
        EXPECT_EQ(common::AccionDeRespuesta(otra), Accion::Salir) << otra;
    }
}
