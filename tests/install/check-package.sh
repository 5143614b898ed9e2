#!/usr/bin/env bash
# Builds the Debian package from a build tree, installs it with apt-get as a user would, runs
# the installed program and dero-encode as a fresh user, then purges the package and looks for
# anything left behind. Installing needs root; the check is skipped without it.
#   bash tests/install/check-package.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
name=dero-video-converter
fail() { echo "FAILED: $*" >&2; exit 1; }

if [ "$(id -u)" -ne 0 ]; then
    echo "package check skipped: installing a package needs root"
    exit 0
fi
# Two checks on one machine would install and purge the same package under each other.
exec 9> /var/lock/dero-package-check.lock
flock 9
if dpkg-query -W -f='${db:Status-Status}' "$name" 2> /dev/null | grep -qv '^not-installed$'; then
    echo "package check skipped: $name is already on this machine, and the check would purge it"
    exit 0
fi

started=$SECONDS
scratch=$(mktemp -d)
# apt reads the package as its own unprivileged user.
chmod 755 "$scratch"
user=dero-check-$$
installed=""
cleanup() {
    if [ -n "$installed" ]; then
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$name" > /dev/null 2>&1 || true
    fi
    userdel -r "$user" > /dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# The build tree's own install rules, packaged without building anything again.
(cd "$build" && cpack -G DEB -B "$scratch/package" > "$scratch/cpack.log") ||
    { cat "$scratch/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$scratch"/package/${name}_*_amd64.deb)
lintian --fail-on error "$deb" || fail "lintian reports errors"

touch "$scratch/before-install"
installed=yes
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" \
    > "$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log" >&2; fail "apt-get install"; }
dpkg -L "$name" | grep -vx /. | sort > "$scratch/owned"
grep -qx /usr/share/man/man1/dero-encode.1.gz "$scratch/owned" || fail "no manual page"
appstreamcli validate --no-net /usr/share/metainfo/*.metainfo.xml > "$scratch/appstream.log" ||
    { cat "$scratch/appstream.log" >&2; fail "appstreamcli validate"; }
desktop-file-validate /usr/share/applications/$name.desktop || fail "desktop-file-validate"

sleep 1
touch "$scratch/before-run"
useradd --create-home --home-dir "$scratch/home" --shell /bin/bash "$user"
install -o "$user" -m 755 "$here/package-user-steps.sh" "$scratch/home/steps.sh"
install -d -o "$user" -m 700 "$scratch/runtime"
runuser -u "$user" -- env -i HOME="$scratch/home" USER="$user" LOGNAME="$user" \
    PATH=/usr/bin:/bin LANG=C.UTF-8 XDG_RUNTIME_DIR="$scratch/runtime" \
    xvfb-run -a -s "-screen 0 1280x1024x24" bash "$scratch/home/steps.sh" ||
    fail "the installed package did not run as a user"
written=$(find /usr -xdev \( -newer "$scratch/before-run" -o -cnewer "$scratch/before-run" \) \
    -print)
[ -z "$written" ] || fail "written under /usr while the user ran the program: $written"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$name" > "$scratch/apt.log" 2>&1 ||
    { cat "$scratch/apt.log" >&2; fail "apt-get purge"; }
installed=""
if dpkg-query -W -f='${db:Status-Status}' "$name" 2> /dev/null | grep -qv '^not-installed$'; then
    fail "dpkg still knows $name after the purge"
fi
left=()
folders=()
while IFS= read -r path; do
    if [ -d "$path" ] && [ ! -L "$path" ]; then
        folders+=("$path")
    elif [ -e "$path" ] || [ -L "$path" ]; then
        left+=("$path")
    fi
done < "$scratch/owned"
[ ${#left[@]} -eq 0 ] || fail "left after the purge: ${left[*]}"
# A folder may stay only when another package owns it too.
if [ ${#folders[@]} -gt 0 ]; then
    orphans=$(dpkg-query -S "${folders[@]}" 2>&1 > /dev/null | sed -n 's/.*matching pattern //p')
    [ -z "$orphans" ] || fail "folders left after the purge: $orphans"
fi
echo "package: installed, ran as $user, purged without a trace ($((SECONDS - started)) s)"
