#!/usr/bin/env bash
# Fails when a subsystem includes a header of a subsystem above it. The order, lowest first:
# platform, app, skin, then profiles and clips (side by side), conversion, preview, windows.
set -euo pipefail
cd "$(dirname "$0")/../src"
declare -A allowed=(
    [platform]="platform"
    [app]="platform app"
    [skin]="platform app skin"
    [profiles]="platform app skin profiles"
    [clips]="platform app skin clips"
    [conversion]="platform app skin profiles clips conversion"
    [preview]="platform app skin clips preview"
    [windows]="platform app skin profiles clips conversion preview windows"
)
status=0
for subsystem in "${!allowed[@]}"; do
    [ -d "$subsystem" ] || continue
    while IFS=: read -r file line include; do
        used=${include#*\"}
        used=${used%%/*}
        # The entry routine sits above every subsystem: it builds the windows.
        [ "$file" = "app/main.cpp" ] && continue
        if [[ " ${allowed[$subsystem]} " != *" $used "* ]]; then
            echo "$file:$line: $subsystem must not include $used (${include})"
            status=1
        fi
    done < <(grep -nH '^#include "[a-z_]*/' "$subsystem"/*.h "$subsystem"/*.cpp 2>/dev/null || true)
done
exit $status
