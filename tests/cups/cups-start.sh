#!/bin/bash
# Start a private CUPS scheduler for the test suite and create test queues.
#
# Usage: cups-start.sh DIR
#
# The scheduler listens only on the domain socket DIR/cups.sock (no TCP port,
# no browsing, no DNS-SD). Clients reach it with CUPS_SERVER=DIR/cups.sock;
# the system's own /etc/cups and /run/cups are never used. Jobs are written
# to files in DIR/out/. Logs are in DIR/log/. See README.md beside this file.
#
# Quiet on success; on failure prints the reason and the tail of the
# scheduler's error log and exits non-zero.
set -u

die() {
    echo "cups-start: $*" >&2
    exit 1
}

if [ $# -ne 1 ] || [ -z "$1" ]; then
    echo "usage: cups-start.sh DIR" >&2
    exit 2
fi

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
CUPSD=/usr/sbin/cupsd
[ -x "$CUPSD" ] || die "$CUPSD not found (install the Debian package 'cups')"
for tool in lpadmin lpstat; do
    command -v "$tool" >/dev/null || die "$tool not found (install 'cups-client')"
done

mkdir -p -- "$1" || die "cannot create $1"
DIR=$(cd "$1" && pwd)
SOCK=$DIR/cups.sock
# A domain socket path must fit in sockaddr_un.sun_path (108 bytes with NUL).
if [ "${#SOCK}" -gt 107 ]; then
    die "socket path is ${#SOCK} bytes, more than the 107 a domain socket allows: $SOCK (use a shorter build folder)"
fi

# A scheduler left over from an earlier run is stopped first.
bash "$HERE/cups-stop.sh" "$DIR" || die "cannot stop the earlier scheduler in $DIR"

rm -rf -- "${DIR:?}/state" "${DIR:?}/out" "${DIR:?}/log" "${DIR:?}/client" "${DIR:?}/home"
rm -f -- "$DIR/cupsd.conf" "$DIR/cups-files.conf" "$DIR/cups.sock" "$DIR/state-path"
mkdir -p "$DIR/out" "$DIR/log" "$DIR/client" "$DIR/home" \
    || die "cannot create folders in $DIR"

# As root, cupsd runs filters as an unprivileged user ("User root" is
# refused), and that user must reach the PPDs, spool and temp files. When the
# build tree lies below a folder it cannot enter (such as /root), the state
# goes into a private folder under /tmp whose path is kept in DIR/state-path.
if [ "$(id -u)" -eq 0 ]; then
    RUN_USER="lp"
    RUN_GROUP="lp"
    getent passwd "$RUN_USER" >/dev/null || die "user $RUN_USER does not exist"
    getent group "$RUN_GROUP" >/dev/null || die "group $RUN_GROUP does not exist"
    SYSTEM_GROUP=root
    mkdir -p "$DIR/state" || die "cannot create $DIR/state"
    chmod 0755 "$DIR/state" || die "cannot set the mode of $DIR/state"
    if setpriv --reuid="$RUN_USER" --regid="$RUN_GROUP" --clear-groups \
        test -x "$DIR/state" 2>/dev/null; then
        STATE=$DIR/state
    else
        rmdir "$DIR/state"
        STATE=$(mktemp -d /tmp/lamello-cups.XXXXXXXX) || die "cannot create a folder in /tmp"
        chmod 0755 "$STATE"
    fi
else
    RUN_USER=$(id -un)
    RUN_GROUP=$(id -gn)
    SYSTEM_GROUP=$RUN_GROUP
    mkdir -p "$DIR/state" || die "cannot create $DIR/state"
    STATE=$DIR/state
fi
echo "$STATE" >"$DIR/state-path"
mkdir -p "$STATE/etc/ppd" "$STATE/spool/tmp" "$STATE/cache" "$STATE/run" \
    || die "cannot create folders in $STATE"

# Client side: CUPS_SERVERROOT=DIR/client keeps clients away from the
# system's /etc/cups (client.conf, lpoptions, and ppd/NAME.ppd, which libcups
# reads directly for a local server); HOME=DIR/home keeps the user's
# ~/.cups/lpoptions, which can override the default destination, out too.
# The ppd link lets libcups read our PPDs directly, so that lpoptions -l
# works over the domain socket as well.
ln -s "$STATE/etc/ppd" "$DIR/client/ppd" || die "cannot create $DIR/client/ppd"

cat >"$DIR/cups-files.conf" <<EOF
# Private scheduler for the test suite, written by cups-start.sh.
ServerRoot $STATE/etc
RequestRoot $STATE/spool
TempDir $STATE/spool/tmp
CacheDir $STATE/cache
StateDir $STATE/run
ErrorLog $DIR/log/error_log
AccessLog $DIR/log/access_log
PageLog $DIR/log/page_log
Printcap $STATE/run/printcap
User $RUN_USER
Group $RUN_GROUP
SystemGroup $SYSTEM_GROUP
LogFileGroup $RUN_GROUP
CreateSelfSignedCerts no
FileDevice Yes
EOF

cat >"$DIR/cupsd.conf" <<EOF
# Private scheduler for the test suite, written by cups-start.sh.
LogLevel warn
MaxLogSize 0
Listen $SOCK
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
ErrorPolicy abort-job
DefaultPaperSize A4
PreserveJobHistory Yes
PreserveJobFiles No
# Only clients that can open the socket reach the scheduler: no passwords.
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

# setsid and closed standard streams: CTest waits for the fixture's output
# pipes to close, so the scheduler must not inherit them.
setsid env -u CUPS_SERVER -u CUPS_SERVERROOT "$CUPSD" -f -c "$DIR/cupsd.conf" -s "$DIR/cups-files.conf" \
    </dev/null >"$DIR/log/cupsd.out" 2>&1 &
PID=$!
echo "$PID" >"$DIR/cupsd.pid"

export CUPS_SERVER=$SOCK CUPS_SERVERROOT=$DIR/client HOME=$DIR/home
unset LPDEST PRINTER

show_logs() {
    local f
    for f in "$DIR/log/cupsd.out" "$DIR/log/error_log"; do
        if [ -s "$f" ]; then
            echo "--- last lines of $f:" >&2
            tail -n 20 "$f" >&2
        fi
    done
}

fail() {
    echo "cups-start: $*" >&2
    show_logs
    bash "$HERE/cups-stop.sh" "$DIR"
    exit 1
}

ready=no
for _ in $(seq 1 200); do
    if ! kill -0 "$PID" 2>/dev/null; then
        fail "cupsd exited at start"
    fi
    if [ -S "$SOCK" ] && lpstat -r 2>/dev/null | grep -q 'scheduler is running'; then
        ready=yes
        break
    fi
    sleep 0.1
done
[ "$ready" = yes ] || fail "cupsd did not answer on $SOCK within 20 s"

# Generic PostScript printer (sample driver): 12 pt margins on every side.
PS_MODEL=drv:///sample.drv/generic.ppd
# HP LaserJet (sample driver): 18 pt left/right, 36 pt top/bottom margins.
LJ_MODEL=drv:///sample.drv/laserjet.ppd

# add_queue NAME MODEL
add_queue() {
    local name=$1 model=$2 out
    # lpadmin warns that printer drivers are deprecated; that is expected.
    if ! out=$(lpadmin -p "$name" -E -v "file://$DIR/out/$name.prn" -m "$model" \
        -D "Lamello test queue $name" -o PageSize=A4 -o media-default=A4 \
        -o printer-error-policy=abort-job 2>&1); then
        fail "lpadmin could not create queue $name: $out"
    fi
    # -E on lpadmin -p enables the queue; make sure it also accepts jobs.
    out=$(cupsenable "$name" 2>&1) || fail "cupsenable $name: $out"
    out=$(cupsaccept "$name" 2>&1) || fail "cupsaccept $name: $out"
}

add_queue Warsztat "$PS_MODEL"
add_queue Biuro_PDF "$PS_MODEL"
add_queue wirtualna_pdf "$PS_MODEL"
add_queue Etykiety_Pdf "$PS_MODEL"
add_queue Magazyn "$LJ_MODEL"

# A PDF queue that keeps the job's bytes: its only filter copies the PDF the
# program sent, unchanged, to DIR/out/Archiwum.prn, so a test can read the
# printed pages back with poppler. (A raw queue would keep the bytes too, but
# CUPS runs nothing for a raw job on a file: device and writes no file.)
# A4 with 6 mm (17 pt) margins all round.
mkdir -p "$STATE/bin" || fail "cannot create $STATE/bin"
cat >"$STATE/bin/passthrough" <<'EOS'
#!/bin/sh
# CUPS filter: the document unchanged (argument 6, or standard input).
if [ -n "$6" ]; then exec cat -- "$6"; fi
exec cat
EOS
chmod 0755 "$STATE/bin/passthrough" || fail "cannot make the passthrough filter executable"
cat >"$DIR/archiwum.ppd" <<EOS
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "ARCHIWUM.PPD"
*Manufacturer: "Lamello"
*Product: "(Archiwum)"
*ModelName: "Lamello Archiwum"
*ShortNickName: "Lamello Archiwum"
*NickName: "Lamello Archiwum"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/pdf application/vnd.cups-raw 0 $STATE/bin/passthrough"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "17 17 578 825"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
EOS
out=$(lpadmin -p Archiwum -E -v "file://$DIR/out/Archiwum.prn" -P "$DIR/archiwum.ppd" \
    -D "Lamello test queue Archiwum (PDF kept as sent)" -o printer-error-policy=abort-job 2>&1) \
    || fail "lpadmin could not create queue Archiwum: $out"
out=$(cupsenable Archiwum 2>&1) || fail "cupsenable Archiwum: $out"
out=$(cupsaccept Archiwum 2>&1) || fail "cupsaccept Archiwum: $out"

out=$(lpadmin -d Etykiety_Pdf 2>&1) || fail "lpadmin -d Etykiety_Pdf: $out"

# Check the result as a client sees it.
default=$(lpstat -d 2>/dev/null)
case $default in
    *": Etykiety_Pdf") ;;
    *) fail "default destination is not Etykiety_Pdf: $default" ;;
esac
for name in Warsztat Biuro_PDF wirtualna_pdf Etykiety_Pdf Magazyn Archiwum; do
    lpstat -a "$name" 2>/dev/null | grep -q 'accepting requests' \
        || fail "queue $name does not accept jobs"
    lpoptions -p "$name" -l 2>/dev/null | grep -q '^PageSize/.*\*A4\b' \
        || fail "queue $name does not default to A4 paper"
done

exit 0
