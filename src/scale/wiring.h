// SPDX-License-Identifier: MIT
#pragma once
// Connects the events of the elements scale handles to its handlers; the
// program calls it once, before start-up (app/main_window.cpp).

class F_main;

void wire_scale(F_main& f);
