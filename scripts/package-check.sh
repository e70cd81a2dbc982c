#!/usr/bin/env bash
# Makes the Debian package from a build folder (default: build) and checks it as Debian checks its
# own: lintian finds no error or warning, the manual page is in it, and the installed program is
# hardened (hardening-check). It validates the desktop entry and AppStream metainfo, installs the
# package with apt-get, opens the installed sample file with the installed program (offscreen,
# unattended) and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

rm -f "$build"/aurelant_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$PWD/$build"/aurelant_*.deb)
echo "Built $deb"

lintian --fail-on error,warning "$deb"
echo "lintian found no error or warning."
if ! dpkg-deb --contents "$deb" | grep " \./usr/share/man/man1/aurelant\.1\.gz$" >/dev/null; then
    echo "The package lacks the manual page aurelant.1." >&2
    exit 1
fi

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "$deb" >/dev/null
remove() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -o DPkg::Lock::Timeout=600 aurelant \
        >/dev/null
}
trap remove EXIT

# Debian 12's C library start files are not built for CET, so the linker marks no program of this
# release as CET-ready, not even apt: hardening-check's control-flow test cannot pass here. The
# program's own code is built for CET all the same, which shows as its thousands of endbr64
# landing pads (a build without -fcf-protection has only the start files' two).
# hardening-check's stack-clash test knows the probes of variable-sized frames only: for this
# program, whose probes are those of large fixed frames, it says "unknown", which is no failure.
hardening-check --nocfprotection /usr/bin/aurelant
if [ "$(objdump -d /usr/bin/aurelant | grep -c endbr64)" -lt 100 ]; then
    echo "The installed program is not built for CET (-fcf-protection)." >&2
    exit 1
fi
desktop-file-validate /usr/share/applications/org.aurelant.Aurelant.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.aurelant.Aurelant.metainfo.xml

# The program opens files in place, so it gets a copy of the sample, in a folder with a blank.
work=$(mktemp -d)
trap 'rm -rf "$work"; remove' EXIT
mkdir "$work/my prices"
sample="$work/my prices/sample-prices.csv"
cp /usr/share/aurelant/samples/sample-prices.csv "$sample"
records=$(($(wc -l <"$sample") - 1)) # all but the header line
shown=$(QT_QPA_PLATFORM=offscreen AURELANT_UNATTENDED=1 timeout 60 aurelant "$sample" \
    2>"$work/messages")
expected="Aurelant's Prices V2.46 - $sample
Aurelant's Prices - File:${sample^^}
$records records found"
if [ "$shown" != "$expected" ]; then
    echo "The installed program did not open its sample file. It showed:" >&2
    echo "$shown" >&2
    cat "$work/messages" >&2
    exit 1
fi
if grep -q "^Aurelant: " "$work/messages"; then
    echo "The installed program complained about its sample file:" >&2
    cat "$work/messages" >&2
    exit 1
fi
echo "The installed program opened its sample file: $records records."
