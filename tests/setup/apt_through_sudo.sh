#!/usr/bin/env bash
# build.sh as a user with sudo, on a machine missing a package: apt-get must
# run through sudo for both update and install, and still see
# DEBIAN_FRONTEND=noninteractive although sudo clears the environment.
# Stand-ins for id, dpkg-query, sudo and apt-get record what would run.
#   apt_through_sudo.sh SOURCE_DIR
set -uo pipefail
source_dir=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bin=$tmp/bin log=$tmp/apt.log
mkdir "$bin"

stub() { printf '#!/bin/sh\n%s\n' "$2" >"$bin/$1"; chmod +x "$bin/$1"; }
stub id 'echo 1000'
stub dpkg-query 'exit 1'
# Like sudo's env_reset: only a plain PATH survives.
stub sudo "exec env -i PATH='$bin:/usr/bin:/bin' SUDO_USER=tester \"\$@\""
# Records the call, then stops build.sh before it builds anything.
stub apt-get "echo \"\${SUDO_USER:-no-sudo} DEBIAN_FRONTEND=\${DEBIAN_FRONTEND:-} \$1\" >>'$log'; [ \"\$1\" = update ]"

PATH=$bin:$PATH "$source_dir/build.sh" run >/dev/null 2>&1
expected="tester DEBIAN_FRONTEND=noninteractive update
tester DEBIAN_FRONTEND=noninteractive install"
if [ "$(cat "$log" 2>/dev/null)" != "$expected" ]; then
    echo "FAIL: apt-get ran as"
    cat "$log" 2>/dev/null
    echo "expected:"
    echo "$expected"
    exit 1
fi
echo PASS
