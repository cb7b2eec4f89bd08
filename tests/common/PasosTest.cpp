// The step runner of the procedures' error handlers.
#include "common/Pasos.h"

#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/db/Types.h"
#include "platform/ui/ControlError.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using common::Accion;
using platform::db::DbError;
using platform::ui::ControlError;

namespace {

// The steps of a small procedure, named as a procedure names its own.
enum class Paso { Abrir, Leer, Grabar, Cerrar, Fin };

// A run of the four steps where Leer fails the first `fallas` times it runs;
// `accion` is the handler's answer. Records every step that ran.
struct Corrida
{
    std::vector<Paso> pasos;
    int fallos = 0;
    bool completo = false;
};

Corrida correr(int fallas, Accion accion)
{
    Corrida c;
    c.completo = common::EjecutarPasos(
        Paso::Abrir, Paso::Fin,
        [&](Paso paso) {
            c.pasos.push_back(paso);
            if (paso == Paso::Leer && c.fallos < fallas) {
                throw DbError(5, QStringLiteral("falla"));
            }
            return common::Siguiente(paso);
        },
        [&](const platform::Error& e) {
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
        std::vector<Paso> pasos;
        bool completo;
    };
    const Caso casos[] = {
        {Accion::Reintentar, {Paso::Abrir, Paso::Leer, Paso::Leer, Paso::Leer, Paso::Grabar, Paso::Cerrar}, true},
        {Accion::Siguiente, {Paso::Abrir, Paso::Leer, Paso::Grabar, Paso::Cerrar}, true},
        {Accion::Salir, {Paso::Abrir, Paso::Leer}, false},
    };
    for (const Caso& caso : casos) {
        const Corrida c = correr(caso.accion == Accion::Reintentar ? 2 : 1, caso.accion);
        EXPECT_EQ(c.pasos, caso.pasos) << int(caso.accion);
        EXPECT_EQ(c.completo, caso.completo) << int(caso.accion);
    }
}

TEST(Pasos, AStepSkipsAheadOrEndsTheRunByTheStepItReturns)
{
    std::vector<Paso> pasos;
    const bool completo = common::EjecutarPasos(
        Paso::Abrir, Paso::Fin,
        [&](Paso paso) {
            pasos.push_back(paso);
            return paso == Paso::Abrir ? Paso::Cerrar : Paso::Fin;
        },
        [](const platform::Error&) { return Accion::Salir; });
    EXPECT_TRUE(completo);
    EXPECT_EQ(pasos, (std::vector<Paso>{Paso::Abrir, Paso::Cerrar}));
}

TEST(Pasos, ErrorsOfEveryLayerReachTheOneHandlerAndOtherExceptionsGoToTheCaller)
{
    std::vector<int> vistos;
    const auto manejo = [&](const platform::Error& e) {
        vistos.push_back(e.number());
        return Accion::Siguiente;
    };
    const bool completo = common::EjecutarPasos(
        0, 3,
        [](int i) -> int {
            if (i == 0) {
                throw DbError(7, QStringLiteral("datos"));
            }
            if (i == 1) {
                throw ControlError(30009, QStringLiteral("fila"));
            }
            throw platform::Error(91, QStringLiteral("objeto"));
        },
        manejo);
    EXPECT_TRUE(completo);
    EXPECT_EQ(vistos, (std::vector<int>{7, 30009, 91}));

    EXPECT_THROW(common::EjecutarPasos(
                     0, 1, [](int) -> int { throw std::runtime_error("x"); }, manejo),
                 std::runtime_error);
    EXPECT_THROW(common::EjecutarPasos(
                     0, 1, [](int) -> int { throw platform::ProgramExit{0}; }, manejo),
                 platform::ProgramExit);
}

TEST(Pasos, WhatTheHandlerRaisesGoesToTheCaller)
{
    const auto correrUno = [] {
        common::EjecutarPasos(
            0, 1, [](int) -> int { throw ControlError(9, QStringLiteral("x")); },
            [](const platform::Error&) -> Accion { throw DbError(3, QStringLiteral("en el manejo")); });
    };
    EXPECT_THROW(correrUno(), DbError);
}

TEST(Pasos, WithoutErrorsEveryFailingStepIsSkipped)
{
    std::vector<Paso> pasos;
    common::EjecutarPasosSinErrores(Paso::Abrir, Paso::Grabar, [&](Paso paso) {
        pasos.push_back(paso);
        if (paso == Paso::Abrir) {
            throw DbError(5, QStringLiteral("falla"));
        }
        return common::Siguiente(paso);
    });
    EXPECT_EQ(pasos, (std::vector<Paso>{Paso::Abrir, Paso::Leer}));

    bool despues = false;
    common::Omitir([] { throw ControlError(35600, QStringLiteral("indice")); });
    common::Omitir([&] { despues = true; });
    EXPECT_TRUE(despues);
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

TEST(Pasos, ConManejoReportsAFailedStepWithTheRoutinesSourceAndActsOnTheAnswer)
{
    namespace msgbox = platform::msgbox;
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(msgbox::Retry).answerMsgBox(msgbox::Ignore).answerMsgBox(msgbox::Abort);
    std::vector<int> pasos;
    int intentos = 0;
    const bool completo = common::ConManejo(QStringLiteral("BkDbGrid"), QStringLiteral("CargarGrid"),
                                            {[&] {
                                                 pasos.push_back(0);
                                                 if (++intentos == 1) {
                                                     throw ControlError(30009, QStringLiteral("Invalid Row Value"));
                                                 }
                                                 return true;
                                             },
                                             [&] {
                                                 pasos.push_back(1);
                                                 throw DbError(3704, QStringLiteral("cerrado"));
                                                 return true;
                                             },
                                             [&] {
                                                 pasos.push_back(2);
                                                 throw DbError(3709, QStringLiteral("sin conexion"));
                                                 return true;
                                             },
                                             [&] {
                                                 pasos.push_back(3);
                                                 return true;
                                             }});
    EXPECT_FALSE(completo);
    EXPECT_EQ(pasos, (std::vector<int>{0, 0, 1, 2}));
    ASSERT_EQ(op.asked().size(), 3);
    // A control's error names no source: the routine's own stands for it.
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("BkDbGrid - CargarGrid Aviso al operador!!! - 2 "));
    EXPECT_EQ(op.asked()[1].title, QStringLiteral("ADODB - CargarGrid Aviso al operador!!! - 2 "));

    std::vector<int> dejados;
    EXPECT_FALSE(common::ConManejo(QStringLiteral("BkDbGrid"), std::nullopt,
                                   {[&] {
                                        dejados.push_back(0);
                                        return false;
                                    },
                                    [&] {
                                        dejados.push_back(1);
                                        return true;
                                    }}));
    EXPECT_EQ(dejados, std::vector<int>{0});
}
