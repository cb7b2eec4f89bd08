#include "common/ValoresCorrida.h"

#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

TEST(ValoresCorrida, StartUpValuesAndReset)
{
    common::ValoresCorrida& v = common::valoresCorrida();
    EXPECT_EQ(v.CajaActual, QStringLiteral("1"));
    EXPECT_EQ(v.TiempoEsperaComandos, 45);
    EXPECT_TRUE(v.UsuarioActual.isEmpty());
    EXPECT_TRUE(v.DecimalesMoneda.isEmpty());
    EXPECT_FALSE(v.ConfidencialidadActiva);
    EXPECT_FALSE(v.UsaFechaDia);
    EXPECT_EQ(v.CondicionIvaEmpresa, 0);
    EXPECT_TRUE(v.TablaConfiguracion.isEmpty());

    v.CajaActual = QStringLiteral("7");
    v.TiempoEsperaComandos = 90;
    EXPECT_EQ(common::valoresCorrida().CajaActual, QStringLiteral("7"));
    platform::Runtime::instance().reset();
    EXPECT_EQ(common::valoresCorrida().CajaActual, QStringLiteral("1"));
    EXPECT_EQ(common::valoresCorrida().TiempoEsperaComandos, 45);
}
