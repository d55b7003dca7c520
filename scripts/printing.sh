# Sourced by the test command: makes sure a CUPS scheduler runs and that its
# default queue is a cups-pdf queue, for the tests that print for real.
# Test runs on one machine share the scheduler: each holds a shared lock on
# the users' lock for as long as it runs; starting and stopping happen under
# the control lock; the last run out stops the scheduler when a test run
# started it (its process id is in the pid file).
PENNARO_CUPS_USERS=${TMPDIR:-/tmp}/pennaro-cups-users.lock
PENNARO_CUPS_CONTROL=${TMPDIR:-/tmp}/pennaro-cups-control.lock
PENNARO_CUPS_PID_FILE=${TMPDIR:-/tmp}/pennaro-cupsd.pid
PENNARO_CUPS_HOLDER=""

SUDO_CUPS=""
[ "$(id -u)" -eq 0 ] || SUDO_CUPS="sudo"

# Waits (a few seconds at most) for a process to end; one that nobody reaps
# stays a zombie, which counts as ended.
wait_for_end() {
    local i
    for i in $(seq 100); do
        kill -0 "$1" 2>/dev/null || return 0
        [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" = Z ] && return 0
        sleep 0.05
    done
}

cups_running() {
    lpstat -r 2>/dev/null | grep -q "is running"
}

start_cups_scheduler() {
    cups_running && return 0
    $SUDO_CUPS /usr/sbin/cupsd -f </dev/null >/dev/null 2>&1 9>&- &
    echo $! >"$PENNARO_CUPS_PID_FILE"
    local i
    for i in $(seq 100); do
        cups_running && return 0
        sleep 0.1
    done
    echo "printing: the CUPS scheduler did not start" >&2
    return 1
}

ensure_pdf_queue() {
    local default queue
    default=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
    if [ -n "$default" ] && lpstat -v "$default" 2>/dev/null | grep -q ': cups-pdf:'; then
        return 0
    fi
    queue=$(lpstat -v 2>/dev/null | sed -n 's/^device for \([^:]*\): cups-pdf:.*/\1/p' | head -n 1)
    if [ -z "$queue" ]; then
        queue=PDF
        $SUDO_CUPS lpadmin -p "$queue" -v cups-pdf:/ -E \
            -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || return 1
    fi
    $SUDO_CUPS lpadmin -d "$queue"
}

start_printing() {
    if [ ! -x /usr/sbin/cupsd ]; then
        echo "printing: no CUPS scheduler installed (scripts/setup.sh installs it)" >&2
        return 0
    fi
    local ready
    ready=$(mktemp -u)
    PENNARO_CUPS_HOLDER=$(
        (
            flock -x 9
            start_cups_scheduler && ensure_pdf_queue \
                || echo "printing: no cups-pdf default queue; the printing tests will fail" >&2
            # This run's hold on the scheduler, taken before the control
            # lock is given back.
            bash -c 'exec 8>>"$1"; flock -s 8; : >"$2"; exec sleep infinity' _ \
                "$PENNARO_CUPS_USERS" "$ready" </dev/null >/dev/null 2>&1 9>&- &
            echo $!
            for i in $(seq 200); do
                [ -e "$ready" ] && break
                sleep 0.05
            done
        ) 9>>"$PENNARO_CUPS_CONTROL"
    )
    rm -f "$ready"
}

stop_printing() {
    [ -n "$PENNARO_CUPS_HOLDER" ] || return 0
    (
        flock -x 9
        kill "$PENNARO_CUPS_HOLDER" 2>/dev/null || true
        wait_for_end "$PENNARO_CUPS_HOLDER"
        # Other runs still holding the scheduler keep it.
        flock -xn 8 || exit 0
        pid=$(cat "$PENNARO_CUPS_PID_FILE" 2>/dev/null || true)
        [ -n "$pid" ] || exit 0
        rm -f "$PENNARO_CUPS_PID_FILE"
        # The scheduler itself, or the sudo that started it.
        case "$(cat "/proc/$pid/comm" 2>/dev/null)" in
        cupsd | sudo)
            $SUDO_CUPS kill "$pid" 2>/dev/null || true
            wait_for_end "$pid"
            ;;
        esac
    ) 9>>"$PENNARO_CUPS_CONTROL" 8>>"$PENNARO_CUPS_USERS"
    PENNARO_CUPS_HOLDER=""
}
