#pragma once
// What the resource tests and the gallery need to open the dialog templates
// on their own: the window classes the templates name, and a way to open a
// template without showing it.
#include <windows.h>

namespace res_testing {

// Registers the common controls' date pickers and, unless the real grid
// class is registered already, a stand-in "MFCGridCtrl": a white table with
// the header row of the main window's first view.
void RegisterStandInControls();

// Creates a dialog from template `template_id` without showing it (the
// templates are visible ones, and mapping windows is slow under Wine).
// Returns null when the template does not open.
HWND CreateHidden(int template_id, DLGPROC proc, LPARAM param = 0);

}  // namespace res_testing
