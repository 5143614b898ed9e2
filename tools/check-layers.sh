#!/usr/bin/env bash
# The build gives each subsystem only its own and its dependencies' include folders, so an
# include of a subsystem above it fails to compile. What the compiler cannot see is checked here:
# a "../" path climbs out of a folder into any other, and an angle-bracket include of a project
# header hides it among the system's.
set -euo pipefail
cd "$(dirname "$0")/.."
project='(platform|app|skin|profiles|clips|conversion|preview|windows)/|dero_[a-z_]*\.h'
status=0
while IFS= read -r hit; do
    echo "$hit: include climbs out of its folder"
    status=1
done < <(grep -rnE '^\s*#\s*include\s*["<][^">]*\.\./' src libs tools tests bench \
             --include='*.h' --include='*.cpp' --include='*.c' || true)
while IFS= read -r hit; do
    echo "$hit: project header in angle brackets"
    status=1
done < <(grep -rnE "^\s*#\s*include\s*<(${project})" src libs tools tests bench \
             --include='*.h' --include='*.cpp' --include='*.c' || true)
exit $status
