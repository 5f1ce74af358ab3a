#pragma once

class F_main;

// Runs however the main window closes: the open workbook is saved and closed,
// the tutorial window goes with the main window.
void F_main_Unload(F_main& f);
