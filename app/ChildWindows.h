#pragma once

#include <QString>
#include <optional>
#include <span>

class ChildForm;
class QWidget;

// Every window the main window opens as its child, one instance of each at most.
enum class ChildWindow {
    Soalat,
    Tabloha,
    SoalatOLD,
    Azmoon,
    AzmooneEshtebahat,
    Viraiesh,
    Tanzimat,
    Nokat,
    Rahnama,
    DarbareMa,
    DarbareMa2,
    Pishraft,
    Eshtebahat,
    AzmoonGozashte,
    Leitner,
    AzmooneShafahi,
    GozareshMorabi,
};

// A strip button that opens the signs window on the category at a position of its list.
struct CategoryButton {
    const char* button;
    int listIndex;
};

// What the main window knows of one child window.
struct ChildWindowEntry {
    ChildWindow window;
    const char* name; // the window's objectName: how the other windows ask for it
    ChildForm* (*create)(QWidget* parent);
    const char* button;    // the strip button that opens it, or null
    const char* menuEntry; // the menu entry that opens it (its shortcut with it), or null
    std::span<const CategoryButton> categoryButtons; // buttons that open it on a category
};

// The table, one row per ChildWindow, in the enum's order.
std::span<const ChildWindowEntry> ChildWindows();
const ChildWindowEntry& ChildWindowEntryOf(ChildWindow window);
// The window of that objectName; none for a name no window has.
std::optional<ChildWindow> ChildWindowNamed(const QString& name);
