#!/usr/bin/env bash
# Runs one test program in a home of its own: HOME, XDG_CONFIG_HOME, XDG_RUNTIME_DIR and
# TMPDIR point into a fresh temporary folder that is removed afterwards, so no test reads or
# writes a real user's files. Qt draws offscreen unless the caller chose a platform.
set -u
# The program is named from the caller's folder; the run happens in the temporary one.
program=$1
shift
if [[ $program == */* ]]; then
    program=$(realpath "$program") || exit 1
fi
root=$(mktemp -d "${TMPDIR:-/tmp}/kuvo-test.XXXXXX") || exit 1
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/home" "$root/config" "$root/runtime" "$root/tmp"
chmod 700 "$root/runtime"
export HOME="$root/home" XDG_CONFIG_HOME="$root/config" XDG_RUNTIME_DIR="$root/runtime"
export TMPDIR="$root/tmp"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" QT_QUICK_BACKEND=software
cd "$root/tmp" || exit 1
"$program" "$@"
