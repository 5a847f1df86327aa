#!/usr/bin/env bash
# The Debian package of this build, unpacked into a scratch root (never into
# the system): its fields and files, and the installed programs formatting
# the examples together, as the build's own programs do.
# Usage: deb_package_test.sh <cpack> <build folder> <examples folder> <version>
set -uo pipefail
Cpack=$1 Build=$2 Examples=$3 Version=$4
. "$(dirname "$0")/package_support.sh"

"$Cpack" -G DEB --config "$Build/CPackConfig.cmake" -B "$Scratch/package" >"$Scratch/cpack.txt" 2>&1 ||
  Stop "cpack -G DEB:"$'\n'"$(cat "$Scratch/cpack.txt")"
Packages=("$Scratch"/package/*.deb)
((${#Packages[@]} == 1)) && [[ -f ${Packages[0]} ]] || Stop "not one .deb: ${Packages[*]}"
Deb=${Packages[0]}

# The control fields.
Field() { dpkg-deb --field "$Deb" "$1"; }
Expect_Equal Package quorvel "$(Field Package)"
Expect_Equal Version "$Version" "$(Field Version)"
Expect_Equal Maintainer "Quorvel developers" "$(Field Maintainer)"
Expect_Equal Section devel "$(Field Section)"
if command -v dpkg >/dev/null; then
  Expect_Equal Architecture "$(dpkg --print-architecture)" "$(Field Architecture)"
fi
Depends=$(Field Depends)
Depended_On=$(tr ',|' '\n\n' <<<"$Depends" | awk '{ print $1 }')
for Library in libc6 libstdc++6; do
  grep -qxF "$Library" <<<"$Depended_On" || Fail "Depends does not name $Library: [$Depends]"
done
[[ -n "$(Field Description)" ]] || Fail "no Description"

# The files, owned by root, the programs executable by all.
Expect_Equal "the package's files" \
  "-rw-r--r-- root/root ./usr/bin/Quorvel.ini
-rwxr-xr-x root/root ./usr/bin/quorvel
-rwxr-xr-x root/root ./usr/bin/quorvel-server
-rw-r--r-- root/root ./usr/share/man/man1/quorvel-server.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/quorvel.1.gz" \
  "$(dpkg-deb --contents "$Deb" | awk '$1 !~ /^d/ { print $1, $2, $6 }' | LC_ALL=C sort -k3)"

Root=$Scratch/root
dpkg-deb --extract "$Deb" "$Root" || Stop "dpkg-deb --extract"
Bin=$Root/usr/bin
Ini=$Bin/Quorvel.ini
for Line in "[Quv_Client]" "Pipename=Quorvel" "Pipelength=1000" "Server=/usr/bin/quorvel-server"; do
  grep -qxF "$Line"$'\r' "$Ini" || Fail "the installed Quorvel.ini has no line $Line"
done

# Stripped, the client keeps the version strings that name its log's
# registry key and its log's first record.
if command -v readelf >/dev/null; then
  Strings=$(readelf -p .quorvel_version "$Bin/quorvel" 2>&1)
  for Word in "]  Quorvel" "]  $Version"; do
    grep -qF "$Word" <<<"$Strings" || Fail "the installed quorvel's version strings lack $Word: $Strings"
  done
fi

# The manual page: sound troff that covers the command line, every key and
# the exit status; quorvel-server(1) shows it too.
Page=$(gzip -dc "$Root/usr/share/man/man1/quorvel.1.gz") || Fail "quorvel.1.gz is not gzip"
for Word in SYNOPSIS Overwrite Quv_Client Pipename Pipelength Server Compiler Path Units Errors \
  Timeout "EXIT STATUS" "Quorvel $Version" "Log Limit" registry/user.reg registry/machine.reg; do
  grep -qF "$Word" <<<"$Page" || Fail "the manual page does not mention $Word"
done
Expect_Equal quorvel-server.1 ".so man1/quorvel.1" \
  "$(gzip -dc "$Root/usr/share/man/man1/quorvel-server.1.gz")"
if command -v groff >/dev/null; then
  Expect_Equal "groff's warnings on quorvel.1" "" "$(groff -man -ww -z -Tutf8 <<<"$Page" 2>&1)"
fi

# The installed client finds the installed Quorvel.ini beside itself; its
# Server line is pointed into the scratch root (nothing is at
# /usr/bin/quorvel-server), and the pipe name is this run's own.
Pipe=quorvel-deb-$$-$RANDOM
sed -i -e "s|^Server=/usr/bin/quorvel-server\r\$|Server=$Bin/quorvel-server\r|" \
  -e "s|^Pipename=Quorvel\r\$|Pipename=$Pipe-installed\r|" "$Ini"
mkdir -p "$Scratch/tree/installed" "$Scratch/tree/built"
cd "$Scratch/tree" || Stop "cd"
"$Bin/quorvel" "$Examples/*" installed >installed.txt 2>&1
Expect_Equal "status of the installed quorvel" 0 $?
grep -qxF "Configuration file: $Ini"$'\r' installed.txt ||
  Fail "the installed quorvel did not use the Quorvel.ini beside it:"$'\n'"$(cat installed.txt)"
Check_Formatted "$Examples" installed installed.txt

# The same sources through the build's own programs give the same bytes.
printf '[Quv_Client]\r\nPipename=%s\r\nServer=%s\r\n' "$Pipe-built" "$Build/bin/quorvel-server" >built.ini
"$Build/bin/quorvel" built.ini "$Examples/*" built >built.txt 2>&1
Expect_Equal "status of the built quorvel" 0 $?
diff -r built installed >/dev/null || Fail "the installed programs format differently from the built ones"

Finish
