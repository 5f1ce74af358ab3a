#pragma once

class F_main;

// "Open picture": asks for a file and shows it, at 100% or, with the zoom
// lock ticked, at the zoom in force.
void open_picture(F_main& f);
