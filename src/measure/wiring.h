// SPDX-License-Identifier: MIT
#pragma once
// Connects the events of the elements measure handles to its handlers, and
// Ctrl+C (copy_result); the program calls it once, before start-up, first of
// all (app/main_window.cpp).

class F_main;

void wire_measure(F_main& f);
