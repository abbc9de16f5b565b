#!/usr/bin/env bash
# A private CUPS scheduler for the printing tests: its own configuration,
# spool and socket under DIR, two queues that write what they print to files
# (pdf-a, the default, and pdf-b). Nothing of the system's printing changes.
#   cupsd-fixture.sh start DIR   -> exit 0 when the scheduler and queues are up,
#                                   77 when cupsd cannot run here (tests skip)
#   cupsd-fixture.sh stop DIR
set -u
action=${1:?start or stop}
dir=${2:?folder}
sock="$dir/cups.sock"

stop() {
    if [ -f "$dir/cupsd.pid" ]; then
        kill "$(cat "$dir/cupsd.pid")" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$(cat "$dir/cupsd.pid")" 2>/dev/null
        rm -f "$dir/cupsd.pid"
    fi
}

if [ "$action" = stop ]; then
    stop
    exit 0
fi

# Skipped on a developer's machine without root; on CI printing must be tested.
unavailable() {
    echo "cupsd-fixture: $*" >&2
    echo "$*" > "$dir/unavailable"
    [ "${CI:-}" = true ] && exit 1
    exit 77
}

stop
rm -rf "$dir"
mkdir -p "$dir"/{spool,tmp,cache,state,log,out,ppd}
command -v cupsd >/dev/null 2>&1 || unavailable "cupsd is not installed"
[ "$(id -u)" -eq 0 ] || unavailable "cupsd needs root to run its backends; run the tests as root (CI does)"
chmod 0777 "$dir/out" "$dir/tmp"
chmod 0755 "$dir"

cat > "$dir/cupsd.conf" <<CONF
Listen $sock
Browsing Off
WebInterface No
LogLevel warn
DefaultAuthType None
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
cat > "$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
FileDevice Yes
ServerBin /usr/lib/cups
DataDir /usr/share/cups
CONF

cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" > "$dir/log/cupsd.out" 2>&1 &
echo $! > "$dir/cupsd.pid"
for _ in $(seq 100); do
    [ -S "$sock" ] && lpstat -h "$sock" -r >/dev/null 2>&1 && break
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || unavailable "cupsd did not start: $(tail -n 3 "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null | tr '\n' ' ')"
    sleep 0.1
done
[ -S "$sock" ] || { stop; unavailable "cupsd did not open $sock"; }

# The queues hand the PDF that Qt sends on unchanged to their file device.
cat > "$dir/passthrough" <<'FILTER'
#!/bin/sh
if [ -n "$6" ]; then exec cat "$6"; else exec cat; fi
FILTER
chmod 0755 "$dir/passthrough"
cat > "$dir/vistrel-pdf.ppd" <<PPD
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "VISTREL.PPD"
*Manufacturer: "Vistrel"
*Product: "(Vistrel test queue)"
*ModelName: "Vistrel test queue"
*ShortNickName: "Vistrel test queue"
*NickName: "Vistrel test queue"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*cupsFilter: "application/pdf 0 $dir/passthrough"
*OpenUI *PageSize/Media Size: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4: "18 18 577 824"
*DefaultPaperDimension: A4
*PaperDimension A4: "595 842"
PPD
for q in pdf-a pdf-b; do
    lpadmin -h "$sock" -p "$q" -E -v "file://$dir/out/$q.pdf" -P "$dir/vistrel-pdf.ppd" >/dev/null 2>&1 ||
        { stop; unavailable "lpadmin could not create queue $q"; }
done
lpadmin -h "$sock" -d pdf-a >/dev/null 2>&1 || { stop; unavailable "lpadmin could not set the default"; }
exit 0
