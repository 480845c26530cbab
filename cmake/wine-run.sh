#!/bin/sh
# Runs a Windows program under Wine in the project's own prefix; the exit status passes through.
. "$(dirname "$0")/wine-env.sh"
exec wine "$@"
