# Shared by the package tests: a scratch folder removed at exit, failure
# reports, and the checks that a folder of formatted examples is right.

Scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-package.XXXXXX")
trap 'rm -rf "$Scratch"' EXIT
Failures=0

# Fail <message>: reports a failed check; the test goes on and fails at the end.
Fail() {
  echo "FAILED: $*" >&2
  Failures=$((Failures + 1))
}

# Stop <message>: reports a failure after which nothing more can be checked.
Stop() {
  echo "FAILED: $*" >&2
  exit 1
}

# Finish: the test's status.
Finish() {
  if ((Failures > 0)); then
    echo "$Failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}

# Expect_Equal <what> <expected> <actual>
Expect_Equal() {
  if [[ "$2" != "$3" ]]; then
    Fail "$1: expected [$2], got [$3]"
  fi
}

# Tokens_Only <file>: the text without blanks and line ends, in lower case:
# what formatting must leave as it was.
Tokens_Only() {
  tr -d ' \t\r\n' <"$1" | tr '[:upper:]' '[:lower:]'
}

# Check_Formatted <examples folder> <output folder> <run output file>: every
# example was formatted into the output folder, its tokens kept, its layout
# changed, every line ended by CR LF.
Check_Formatted() {
  local Examples=$1 Output=$2 Run=$3 Source Name Count=0
  for Source in "$Examples"/*.ad[bs]; do
    Name=${Source##*/}
    Count=$((Count + 1))
    if [[ ! -f "$Output/$Name" ]]; then
      Fail "$Name was not formatted; the run said:"$'\n'"$(cat "$Run")"
      continue
    fi
    Expect_Equal "tokens of $Name" "$(Tokens_Only "$Source")" "$(Tokens_Only "$Output/$Name")"
    if cmp -s "$Source" "$Output/$Name"; then
      Fail "$Name is unchanged, though laid out badly on purpose"
    fi
    if LC_ALL=C grep -qv $'\r$' "$Output/$Name"; then
      Fail "$Name has a line not ended by CR LF"
    fi
  done
  ((Count >= 4)) || Fail "only $Count examples found in $Examples"
}
