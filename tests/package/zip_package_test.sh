#!/usr/bin/env bash
# The Windows .zip of this build, unpacked into a scratch folder and run
# under Wine: its files, the programs formatting the examples from the
# unpacked folder as shipped, and from anywhere once Setup.cmd has run.
# Usage: zip_package_test.sh <cpack> <build folder> <examples folder> <version> <wine>
set -uo pipefail
Cpack=$1 Build=$2 Examples=$3 Version=$4 Wine=$5
. "$(dirname "$0")/package_support.sh"
export WINEDEBUG=-all

# Windows_Path <path>: the path as Wine shows it, on drive Z:.
Windows_Path() {
  local Full
  Full=$(realpath -m "$1")
  echo "Z:${Full//\//\\}"
}

"$Cpack" -G ZIP --config "$Build/CPackConfig.cmake" -B "$Scratch/package" >"$Scratch/cpack.txt" 2>&1 ||
  Stop "cpack -G ZIP:"$'\n'"$(cat "$Scratch/cpack.txt")"
Top=Quorvel-$Version-win64
[[ -f "$Scratch/package/$Top.zip" ]] || Stop "no $Top.zip in: $(ls "$Scratch/package")"
Expect_Equal "the .zip's files" \
  "$Top/Quorvel.exe
$Top/Quorvel.ini
$Top/Setup.cmd
$Top/quorvel-server.exe" \
  "$(unzip -Z1 "$Scratch/package/$Top.zip" | grep -v '/$' | LC_ALL=C sort)"
mkdir -p "$Scratch/unpacked" && unzip -q "$Scratch/package/$Top.zip" -d "$Scratch/unpacked" ||
  Stop "unzip"
Folder=$Scratch/unpacked/$Top
Ini=$Folder/Quorvel.ini
grep -qxF $'Server=quorvel-server.exe\r' "$Ini" || Fail "the .zip's Quorvel.ini does not name quorvel-server.exe"

# Use_Pipe <name>: this run's own pipe name in the unpacked Quorvel.ini.
Use_Pipe() {
  sed -i "s|^Pipename=.*\r\$|Pipename=$1\r|" "$Ini"
}

# Format <run name> <folder to run in>: formats the examples into a scratch
# folder of that name with the unpacked Quorvel.exe and its Quorvel.ini.
Format() {
  local Output=$Scratch/$1
  mkdir -p "$Output"
  (cd "$2" && "$Wine" "$Folder/Quorvel.exe" "$(Windows_Path "$Examples")\\*" "$(Windows_Path "$Output")" \
    >"$Output.txt" 2>&1)
  Expect_Equal "status of the $1 run" 0 $?
  grep -qxF "Configuration file: $(Windows_Path "$Ini")"$'\r' "$Output.txt" ||
    Fail "the $1 run did not use the unpacked Quorvel.ini:"$'\n'"$(cat "$Output.txt")"
  Check_Formatted "$Examples" "$Output" "$Output.txt"
}

cp "$Ini" "$Scratch/shipped.ini"
Pipe=quorvel-zip-$$-$RANDOM
# As shipped, the server is found from the unpacked folder.
Use_Pipe "$Pipe-shipped"
Format shipped "$Folder"

# Setup.cmd names the server by its full path, so any folder will do.
(cd "$Folder" && "$Wine" cmd /c Setup.cmd >"$Scratch/setup.txt" 2>&1) || Fail "Setup.cmd failed"
Server=$(Windows_Path "$Folder/quorvel-server.exe")
grep -qxF "Server=$Server"$'\r' "$Ini" ||
  Fail "Setup.cmd did not name $Server:"$'\n'"$(cat "$Ini")"
diff <(grep -v '^Server=' "$Scratch/shipped.ini") <(grep -v '^Server=' "$Ini") >/dev/null ||
  Fail "Setup.cmd wrote other lines than the shipped Quorvel.ini's:"$'\n'"$(cat "$Ini")"
grep -qF "Quorvel.ini now names $Server" "$Scratch/setup.txt" ||
  Fail "Setup.cmd said:"$'\n'"$(cat "$Scratch/setup.txt")"
Use_Pipe "$Pipe-set-up"
mkdir -p "$Scratch/elsewhere"
Format set-up "$Scratch/elsewhere"

Finish
