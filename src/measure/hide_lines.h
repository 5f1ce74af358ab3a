// SPDX-License-Identifier: MIT
#pragma once

class F_main;

void Check_hideline_Click(F_main& f);
