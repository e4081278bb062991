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
#include "progress/frmAzmoonGozashte.h"
#include "progress/frmEshtebahat.h"
#include "progress/frmGozareshMorabi.h"
#include "progress/frmLeitner.h"
#include "progress/frmPishraft.h"
#include "settings/frmTanzimat.h"

#include <iterator>

namespace {
template <typename Form> ChildForm* make(QWidget* parent) {
    return new Form(parent);
}

// The signs window's list holds the sign categories in the order of the buttons Command3,
// Command5, Command1, Command2, Command4: each button picks its own by position.
constexpr CategoryButton kSignButtons[] = {
    {"Command1", 2}, {"Command2", 3}, {"Command3", 0}, {"Command4", 4}, {"Command5", 1},
};

// Command10 and mnuMorooreSoalat open the same window: the button runs the menu entry's action.
constexpr ChildWindowEntry kChildWindows[] = {
    {ChildWindow::Soalat, "frmSoalat", make<frmSoalat>, "Command10", "mnuMorooreSoalat", {}},
    {ChildWindow::Tabloha, "frmTabloha", make<frmTabloha>, nullptr, "mnuMorooreTabloha", kSignButtons},
    {ChildWindow::SoalatOLD, "frmSoalatOLD", make<frmSoalatOLD>, nullptr, "mnuSoalatOLD", {}},
    {ChildWindow::Azmoon, "frmAzmoon", make<frmAzmoon>, "Command6", "mnu32", {}},
    // The mistakes exam is opened by the mistakes review only.
    {ChildWindow::AzmooneEshtebahat, "frmAzmooneEshtebahat", NewMistakesExam, nullptr, nullptr, {}},
    {ChildWindow::Viraiesh, "frmViraiesh", make<frmViraiesh>, nullptr, "mnuViraiesh", {}},
    {ChildWindow::Tanzimat, "frmTanzimat", make<frmTanzimat>, "Command9", "mnuTanzimat", {}},
    {ChildWindow::Nokat, "frmNokat", make<frmNokat>, nullptr, "mnuNokat", {}},
    {ChildWindow::Rahnama, "frmRahnama", make<frmRahnama>, "Command7", "mnu41", {}},
    {ChildWindow::DarbareMa, "frmDarbareMa", make<frmDarbareMa>, nullptr, "mnu42", {}},
    // The enlarged picture is opened by the about window only.
    {ChildWindow::DarbareMa2, "frmDarbareMa2", make<frmDarbareMa2>, nullptr, nullptr, {}},
    {ChildWindow::Pishraft, "frmPishraft", make<frmPishraft>, nullptr, "mnuPishraft", {}},
    {ChildWindow::Eshtebahat, "frmEshtebahat", make<frmEshtebahat>, nullptr, "mnuEshtebahat", {}},
    // A past exam is opened from the progress window's list only.
    {ChildWindow::AzmoonGozashte, "frmAzmoonGozashte", make<frmAzmoonGozashte>, nullptr, nullptr, {}},
    {ChildWindow::Leitner, "frmLeitner", make<frmLeitner>, nullptr, "mnuLeitner", {}},
    {ChildWindow::AzmooneShafahi, "frmAzmooneShafahi", NewOralExam, nullptr, "mnuAzmooneShafahi", {}},
    {ChildWindow::GozareshMorabi,
     "frmGozareshMorabi",
     make<frmGozareshMorabi>,
     nullptr,
     "mnuGozareshMorabi",
     {}},
};

// A row out of its place would open one window for another.
constexpr bool InEnumOrder() {
    for (int i = 0; i < int(std::size(kChildWindows)); ++i) {
        if (int(kChildWindows[i].window) != i)
            return false;
    }
    return true;
}
static_assert(InEnumOrder(), "the rows of kChildWindows follow ChildWindow's order");
} // namespace

std::span<const ChildWindowEntry> ChildWindows() {
    return kChildWindows;
}

const ChildWindowEntry& ChildWindowEntryOf(ChildWindow window) {
    return kChildWindows[static_cast<int>(window)];
}

std::optional<ChildWindow> ChildWindowNamed(const QString& name) {
    for (const ChildWindowEntry& entry : kChildWindows) {
        if (name == QLatin1String(entry.name))
            return entry.window;
    }
    return std::nullopt;
}
