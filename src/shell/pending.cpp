// Procedures of this folder still being built.
#include "shell/layout.h"

void lay_out_window(F_main&) {}
