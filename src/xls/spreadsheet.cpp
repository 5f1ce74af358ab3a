#include "xls/spreadsheet.h"

// Out of line so the vtables live in one translation unit.
SpreadsheetSheet::~SpreadsheetSheet() = default;
SpreadsheetApp::~SpreadsheetApp() = default;
