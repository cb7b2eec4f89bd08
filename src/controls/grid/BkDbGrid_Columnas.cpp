// The "Columnas" button: the column chooser's choice becomes the grid's
// select list, is stored as the layout and shown.
#include "controls/grid/BkDbGrid.h"

#include "common/Pasos.h"
#include "controls/grid/FrmCampos.h"
#include "platform/db/Connection.h"

#include <QPushButton>

#include <memory>

namespace controls {

namespace pasos = common;
using platform::db::adCmdUnspecified;
using platform::db::adLockReadOnly;
using platform::db::adOpenForwardOnly;

void BkDbGrid::cmdColumnas_Click()
{
    using pasos::Omitir;
    ConsultaPaginada& q = m_consulta;
    data::DB_Dll& db = data::gDbPrincipal();

    auto frm = std::make_unique<FrmCampos>();
    Omitir([&] { frm->gCampos = q.CamposParaElegir(); });
    frm->gOrdinalSel = q.OrdinalSel;
    frm->gCamposSel = q.CamposSelNombres;
    frm->setWindowModality(Qt::ApplicationModal);
    frm->exec();
    if (frm->Cancelar) {
        return;
    }

    data::RecordsetPtr rs;
    std::vector<ConsultaPaginada::CampoProbado> campos;
    Omitir([&] {
        db.AbrirRecordset(q.SentenciaEleccion(frm->gCamposSel), rs, nullptr, adOpenForwardOnly, adLockReadOnly,
                          adCmdUnspecified, true);
    });
    Omitir([&] {
        if (rs && rs->State() == platform::db::adStateOpen) {
            for (int i = 0; i < rs->FieldCount(); ++i) {
                platform::db::Field campo = rs->Fields(i);
                campos.push_back({campo.Name(), campo.Type()});
            }
        }
    });
    db.CierraRecordset(rs);
    q.AplicarEleccion(campos);
    q.OrdinalSel = frm->gOrdinalSel;
    q.Campos = frm->gCamposOrden;
    frm.reset();

    Omitir([&] { CargarCampos(); });
    if (!cmdColumnas->isHidden()) {
        Omitir([&] { GrabaCampos(); });
    }
    Omitir([&] {
        setOrdenSent(0);
        CargarGrid();
    });
}

} // namespace controls
