// SPDX-License-Identifier: MIT
#pragma once

class F_main;

// Tooltips on the panel's controls: what each does and which keys act on it.
void set_tooltips(F_main& f);
