#!/usr/bin/env bash
# A private CUPS server for the printing tests: `start DIR` runs cupsd in the
# foreground mode under DIR (config, spool, logs, and a socket DIR/cups.sock),
# with two raw queues and a driver queue whose backend copies every job to
# DIR/capture;
# `stop DIR` ends it. Works as root and as a normal user; every wait is bounded.
set -euo pipefail

cmd=${1:?start or stop}
dir=${2:?folder}
sock="$dir/cups.sock"

stop_server() {
    if [ -f "$dir/cupsd.pid" ]; then
        pid=$(cat "$dir/cupsd.pid")
        if kill "$pid" 2>/dev/null; then
            for _ in $(seq 1 100); do
                kill -0 "$pid" 2>/dev/null || break
                sleep 0.05
            done
            kill -9 "$pid" 2>/dev/null || true
        fi
        rm -f "$dir/cupsd.pid"
    fi
}

case "$cmd" in
stop)
    stop_server
    exit 0
    ;;
start) ;;
*) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac

command -v cupsd >/dev/null || { echo "cupsd is missing: run scripts/setup" >&2; exit 1; }
stop_server
rm -rf "$dir"
mkdir -p "$dir"/{spool/tmp,cache,state,log,capture,serverbin/backend}
dir=$(cd "$dir" && pwd)
sock="$dir/cups.sock"

# The system's filters and helpers, and our capture backend.
for sub in daemon filter cgi-bin driver monitor notifier; do
    [ -e "/usr/lib/cups/$sub" ] && ln -s "/usr/lib/cups/$sub" "$dir/serverbin/$sub"
done
cat >"$dir/serverbin/backend/capture" <<'BACKEND'
#!/bin/sh
# capture:/folder - writes each job to /folder/<queue>-<job id>, whole or not at all.
[ $# -eq 0 ] && exit 0
folder=${DEVICE_URI#capture:}
name=$(printf '%s-%06d' "$PRINTER" "$1")
if [ $# -ge 6 ]; then cat "$6"; else cat; fi >"$folder/.$name" || exit 1
chmod 0644 "$folder/.$name"
mv "$folder/.$name" "$folder/$name"
BACKEND

if [ "$(id -u)" -eq 0 ]; then
    # cupsd runs backends as root only when they are private to root; the
    # capture folder stays writable for any filter user.
    chmod 0700 "$dir/serverbin/backend/capture"
    chmod 1777 "$dir/capture"
    chmod 0755 "$dir" "$dir/serverbin" "$dir/serverbin/backend"
    user_lines=$'User lp\nGroup lp\nSystemGroup root'
else
    chmod 0755 "$dir/serverbin/backend/capture"
    user_lines="User $(id -un)
Group $(id -gn)
SystemGroup $(id -gn)"
fi

cat >"$dir/cups-files.conf" <<CONF
$user_lines
ServerRoot $dir
ServerBin $dir/serverbin
DataDir /usr/share/cups
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
FileDevice No
Sandboxing Relaxed
FatalErrors config
CONF

cat >"$dir/cupsd.conf" <<CONF
Listen $sock
LogLevel warn
ErrorPolicy abort-job
PreserveJobFiles No
MaxJobs 0
Browsing No
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF

cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
echo $! >"$dir/cupsd.pid"

export CUPS_SERVER="$sock"
up=0
for _ in $(seq 1 200); do
    # The exit status, not the text, which is in the machine's language.
    if [ -S "$sock" ] && lpstat -o >/dev/null 2>&1; then up=1; break; fi
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || break
    sleep 0.05
done
if [ $up -ne 1 ]; then
    echo "cupsd did not start:" >&2
    cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
    stop_server
    exit 1
fi

# An office printer's driver queue: PDF passes through to the backend, and
# the pages come in the sizes the document asks for.
cat >"$dir/office.ppd" <<'PPD'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "OFFICE.PPD"
*Manufacturer: "Test"
*Product: "(Office)"
*ModelName: "Test Office"
*ShortNickName: "Test Office"
*NickName: "Test Office"
*PSVersion: "(3010.000) 0"
*ColorDevice: False
*cupsFilter: "application/pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "18 18 577 824"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
PPD

# "receipt" is the register's raw queue, "office" the machine's default
# printer (a driver queue), "spare" a second raw queue to choose in dialogs.
# Each command's status is checked; none of their texts is read, since they
# come in the machine's language.
for q in receipt office spare; do
    if [ "$q" = office ]; then model=(-P "$dir/office.ppd"); else model=(-m raw); fi
    lpadmin -p "$q" -E -v "capture:$dir/capture" "${model[@]}" -o printer-error-policy=abort-job >>"$dir/log/lpadmin.out" 2>&1
    lpstat -p "$q" >/dev/null
done
lpadmin -d office
lpstat -p receipt office spare >/dev/null
echo "cups test server at $sock"
