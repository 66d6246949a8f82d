# Sourced by the end-to-end runners: their first argument, the Windows build to
# test, becomes MQ_BUILD_DIR; the rest are left for unittest, run from here.
if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [unittest arguments]" >&2
    exit 2
fi
MQ_BUILD_DIR=$(cd "$1" && pwd)
export MQ_BUILD_DIR
shift
cd "$(dirname "$0")"
