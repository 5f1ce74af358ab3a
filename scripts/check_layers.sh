#!/usr/bin/env bash
# Fails when a source file includes a subsystem above its own in the order of
# docs/design.md (platform, measure, scale, view, output, shell). The window's
# interface in shell/ (F_main.h, wiring.h, dialogs.h) may be included by any
# subsystem but platform.
set -euo pipefail
cd "$(dirname "$0")/../src"
order=(platform measure scale view output shell)
rank() { local i; for i in "${!order[@]}"; do [[ ${order[$i]} == "$1" ]] && echo "$i" && return; done; echo -1; }
bad=0
for sub in "${order[@]}"; do
    own=$(rank "$sub")
    while IFS=: read -r file _ target; do
        dep=${target%%/*}
        [[ $dep == "$sub" ]] && continue
        [[ $sub != platform && $target =~ ^shell/(F_main|wiring|dialogs)\.h$ ]] && continue
        if (( $(rank "$dep") < 0 || $(rank "$dep") > own )); then
            echo "$file includes $target: $sub may not include $dep" >&2
            bad=1
        fi
    done < <(grep -rHoE '#include "[a-z_]+/[^"]+"' "$sub" | sed -E 's/#include "([^"]+)"/\1/' | sed -E 's/:([^:]*)$/::\1/')
done
exit "$bad"
