#include "shell/unload.h"

#include "shell/F_main.h"

void F_main_Unload(F_main& f) {
}
