# Sourced by the printing checks.
# Where cups-pdf puts the jobs of the user running this script.
output_folder() {
    local queue conf out user home
    queue=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
    conf=/etc/cups/cups-pdf.conf
    [ -n "$queue" ] && [ -f "/etc/cups/cups-pdf-$queue.conf" ] && conf="/etc/cups/cups-pdf-$queue.conf"
    out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' "$conf" 2>/dev/null | tail -n 1)
    [ -n "$out" ] || out='/var/spool/cups-pdf/${USER}'
    user=$(id -un)
    home=$(getent passwd "$user" | cut -d: -f6)
    out=${out//'${HOME}'/$home}
    out=${out//'${USER}'/$user}
    echo "${out%/}"
}
