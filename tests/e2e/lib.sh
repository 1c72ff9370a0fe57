# lib.sh - shared setup of the end-to-end tests: a temporary folder per case holding a
# copy of the program, runs with captured console output and exit status, checks.
#
# Variables set by run.sh: PROGRAM (the built program), TOOLS (folder of nwmkmodel),
# PREFIX (a command to run the program under, e.g. wine, or empty), WINDOWS (1 when the
# program is the Windows build).

passed=0
failed=0
case_name=""
case_ok=1

# begin NAME: a fresh folder with the program (when PROGRAM is set) in it; the working
# directory moves there.
begin() {
  case_name=$1
  case_ok=1
  CASE_DIR=$(mktemp -d "${TMPDIR:-/tmp}/nw-e2e.XXXXXX")
  if [ -n "${PROGRAM:-}" ]; then
    cp "$PROGRAM" "$CASE_DIR/"
    PROG_NAME=$(basename "$PROGRAM")
  fi
  cd "$CASE_DIR" || exit 2
}

finish() {
  cd / || exit 2
  if [ "$case_ok" = 1 ]; then
    passed=$((passed + 1))
    echo "ok   $case_name"
    rm -rf "$CASE_DIR"
  else
    failed=$((failed + 1))
    echo "FAIL $case_name (files kept in $CASE_DIR)"
  fi
}

fail() {
  case_ok=0
  echo "  $case_name: $*" >&2
}

# model KIND FILE: a generated test model.
model() { "$TOOLS/nwmkmodel" "$1" "$2" >/dev/null || fail "nwmkmodel $1 failed"; }
# pmdmodel KIND FILE: a generated PMD model; sets ENGLISH_AT to where its English
# section starts.
pmdmodel() {
  local line
  line=$("$TOOLS/nwmkmodel" "$1" "$2") || fail "nwmkmodel $1 failed"
  ENGLISH_AT=${line##* at }
}

# run ARGS...: runs the program in the case folder with no input and no terminal;
# sets OUT (console text, CR removed) and STATUS.
run() {
  local raw
  if [ -n "$PREFIX" ]; then
    raw=$(setsid $PREFIX "./$PROG_NAME" "$@" </dev/null 2>/dev/null; echo "status=$?")
  else
    raw=$(setsid "./$PROG_NAME" "$@" </dev/null 2>/dev/null; echo "status=$?")
  fi
  STATUS=${raw##*status=}
  OUT=$(printf '%s' "${raw%status=*}" | tr -d '\r')
  printf '%s\n' "$OUT" > "$CASE_DIR/console.txt"
}

# The console without the banner's system line, which names the machine.
console_body() { printf '%s\n' "$OUT" | sed '2s/^ on .* (\(.*\)) $/ on SYSTEM (\1) /'; }

expect_status() { [ "$STATUS" = "$1" ] || fail "exit status $STATUS, expected $1"; }

# expect_line TEXT: some console line is exactly TEXT (trailing blanks included).
expect_line() { printf '%s\n' "$OUT" | grep -qxF -- "$1" || fail "no line '$1'"; }
expect_no_line() { ! printf '%s\n' "$OUT" | grep -qxF -- "$1" || fail "unexpected line '$1'"; }
# expect_count N TEXT: TEXT appears as a whole line N times.
expect_count() {
  local n
  n=$(printf '%s\n' "$OUT" | grep -cxF -- "$2")
  [ "$n" = "$1" ] || fail "line '$2' seen $n times, expected $1"
}
# expect_console FILE: the whole console text, system line normalised, equals FILE.
expect_console() {
  console_body > "$CASE_DIR/console.norm"
  cmp -s "$CASE_DIR/console.norm" "$1" || { fail "console differs from $1"; diff "$1" "$CASE_DIR/console.norm" >&2 | head -20; }
}
# The usage lines and the list after them, as the program prints them in English.
usage_lines() {
  printf '%s\n' "Usage " "   Namewright <pmxFileName>.pmx " "What can be named: " \
    "   model.pmx, model.pmd  a PMX 2.0/2.1 or PMD model; its copy: model-new.pmx " \
    "   folder                every model in it and in its subfolders " \
    "   model.names.csv       a names table, applied to model.pmx/.pmd beside it " \
    "Options (also in modsetup.ini; a 0 after the letter turns one off): " \
    "   -O     also the names of the model, materials, rigid bodies, joints, soft bodies " \
    "   -F     replace existing English names too, in a model with something to fill " \
    "   -ND2   do not ask about a file without .pmx or .pmd " \
    "   -D<n>  show more while reading (1 or 2) " \
    "   -h, --help  this text "
}

expect_file() { [ -f "$1" ] || fail "missing file $1"; }
expect_no_file() { [ ! -e "$1" ] || fail "unexpected file $1"; }
expect_same() { cmp -s "$1" "$2" || fail "$1 and $2 differ"; }
expect_differ() { ! cmp -s "$1" "$2" || fail "$1 and $2 are identical"; }

summary() {
  echo "e2e: $passed passed, $failed failed"
  [ "$failed" = 0 ]
}
