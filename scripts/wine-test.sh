#!/bin/sh
# Runs a test program under Wine (the session's loader). Now and then Wine's
# own loader dies of a signal while a program ends (a fault of a Windows
# program ends it with an exit code instead, never a signal); such a case
# runs once more, and says so in its output.
loader=${WINELOADER:-wine}
"$loader" "$@"
rc=$?
if [ "$rc" -gt 128 ] && [ "$rc" -lt 160 ]; then
    echo "Wine itself ended with signal $((rc - 128)); running the case once more" >&2
    exec "$loader" "$@"
fi
exit "$rc"
