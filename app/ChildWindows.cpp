#include "app/ChildWindows.h"

#include "browse/frmSoalat.h"
#include "browse/frmSoalatOLD.h"
#include "browse/frmTabloha.h"
#include "editor/frmViraiesh.h"
#include "exam/frmAzmoon.h"
#include "info/frmDarbareMa.h"
#include "info/frmDarbareMa2.h"
#include "info/frmNokat.h"
#include "info/frmRahnama.h"
#include "progress/frmEshtebahat.h"
#include "progress/frmPishraft.h"
#include "settings/frmTanzimat.h"

ChildForm* CreateChildWindow(const QString& name, QWidget* parent) {
    if (name == QLatin1String("frmSoalat"))
        return new frmSoalat(parent);
    if (name == QLatin1String("frmTabloha"))
        return new frmTabloha(parent);
    if (name == QLatin1String("frmSoalatOLD"))
        return new frmSoalatOLD(parent);
    if (name == QLatin1String("frmAzmoon"))
        return new frmAzmoon(parent);
    if (name == QLatin1String("frmViraiesh"))
        return new frmViraiesh(parent);
    if (name == QLatin1String("frmTanzimat"))
        return new frmTanzimat(parent);
    if (name == QLatin1String("frmNokat"))
        return new frmNokat(parent);
    if (name == QLatin1String("frmRahnama"))
        return new frmRahnama(parent);
    if (name == QLatin1String("frmDarbareMa"))
        return new frmDarbareMa(parent);
    if (name == QLatin1String("frmDarbareMa2"))
        return new frmDarbareMa2(parent);
    if (name == QLatin1String("frmPishraft"))
        return new frmPishraft(parent);
    if (name == QLatin1String("frmEshtebahat"))
        return new frmEshtebahat(parent);
    if (name == QLatin1String("frmAzmooneEshtebahat"))
        return NewMistakesExam(parent);
    return nullptr;
}
