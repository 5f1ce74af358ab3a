#pragma once
// The scroll bars move the picture area inside the viewport.

class F_main;

void update_scroll_bars(F_main& f);
void HS_main_Change(F_main& f);
void VS_main_Change(F_main& f);
