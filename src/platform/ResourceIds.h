// The numbering of resources and controls. Every window has one header beside it, `<window>_res.h`,
// included by its dialog template, its binding and the end-to-end tests, with one range of
// numbers of its own; names are IDD_<WINDOW> for its template and IDC_<WINDOW>_<RECORD> for a
// control, the record's name in capitals (a fixed control without a record gets a descriptive
// name). The dialog manager's IDOK and IDCANCEL (1 and 2) lie below every range.
//
//      1 -  999   the program's pictures (resources/resource.h, one script for all icons)
//   1000 - 1099   the configuration window        ui/main_res.h
//   1100 - 1199   the options window              ui/Settings_res.h
//   1200 - 1299   the about box                   ui/About_res.h
//   1300 - 1399   the chooser                     scan/fileMonitor_res.h
//   3000 - 3999   the player wizard               ui/PlayerWizard_res.h
//
// Menu commands are numbered apart from these (platform/win32/Menu.h). Each header checks at
// compile time that its numbers are distinct and within its range.
#pragma once

#include <initializer_list>

namespace vexamo {

// The dialog manager's own buttons, which Enter and Escape press.
constexpr int IdOk = 1, IdCancel = 2;

constexpr bool DistinctIds(std::initializer_list<int> ids) {
    for (const int* a = ids.begin(); a != ids.end(); ++a)
        for (const int* b = a + 1; b != ids.end(); ++b)
            if (*a == *b) return false;
    return true;
}

constexpr bool IdsWithin(std::initializer_list<int> ids, int first, int last) {
    for (int id : ids)
        if (id < first || id > last) return false;
    return true;
}

}  // namespace vexamo
