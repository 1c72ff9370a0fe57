# cases_driver.sh - arguments, probes, options, output names and exit status.

begin "no model and no terminal: the dialog is cancelled, usage, status 0"
run
expect_status 0
if [ "$WINDOWS" = 0 ]; then
  { printf '%s\n' "Namewright  V1.06" " on SYSTEM (English mode) " "" \
      "No dropped PMX file detected. " " Please select PMX file(s). " "" \
      "Canceled File-Open Dialog Box. (stat=0000)."; usage_lines; } > expected.txt
  expect_console expected.txt
else
  expect_line "No dropped PMX file detected. "
  expect_line "Usage "
  expect_line "   Namewright <pmxFileName>.pmx "
fi
finish

begin "-h and --help print the usage and what can be named; options alone are a run without a model"
model example m.pmx
{ printf '%s\n' "Namewright  V1.06" " on SYSTEM (English mode) "; usage_lines; } > expected.txt
helps=(-h --help)
[ "$WINDOWS" = 1 ] && helps+=(/?)
for h in "${helps[@]}"; do
  run "$h" m.pmx
  expect_status 0
  expect_console expected.txt
done
expect_no_file m-new.pmx
run -F -ND2
expect_status 0
expect_line "No dropped PMX file detected. "
usage_lines > usage.txt
printf '%s\n' "$OUT" | tail -n "$(wc -l < usage.txt)" | cmp -s - usage.txt || fail "no usage after the options"
finish

begin "probe lines for a readable and a missing model; a missing model fails the run"
model example a.pmx
run -ND2 a.pmx missing.pmx
expect_line " -- correctly opened in ANSI or UTF-8. "
expect_line " -- could not open in ANSI or UTF-8. "
expect_line " -- could not open in UTF-16. (***) "
expect_line "Re-opening in UTF-16. "
expect_line "pmdinforead err -1. "
expect_line "Error code -1. "
expect_line ": cannot open file. "
expect_status 255
expect_file a-new.pmx
expect_no_file missing-new.pmx
finish

begin "an unknown option letter is reported in both passes and applies everywhere"
model example a.pmx
run a.pmx -X -ND2
# The option error line has no line end of its own: count it where it stands.
[ "$(printf '%s\n' "$OUT" | grep -o 'Option error: <X> 58' | wc -l)" = 2 ] || fail "option error not seen twice"
[ "$(printf '%s\n' "$OUT" | grep -o 'Cancel.displaying.dialogue = 2 $' | wc -l)" = 2 ] || fail "-ND2 not seen twice"
expect_status 0
finish

begin "more than 511 arguments: the first 511 are taken"
model example a.pmx
args=()
for i in $(seq 1 520); do args+=("-F0"); done
run "${args[@]}" a.pmx
expect_line "Too many command line parameters."
expect_no_file a-new.pmx
expect_status 0
finish

begin "two dropped files are processed in order, each with its own -new file"
model example a.pmx
model utf8 b.pmx
cp a.pmx a.orig
cp b.pmx b.orig
run a.pmx b.pmx
expect_status 0
expect_file a-new.pmx
expect_file b-new.pmx
expect_same a.pmx a.orig
expect_same b.pmx b.orig
expect_count 2 "Save OK. "
finish

begin "an existing -new file moves the output to -new(1), then -new(10)"
model example m.pmx
run m.pmx
expect_file m-new.pmx
run m.pmx
expect_file "m-new(1).pmx"
expect_same m-new.pmx "m-new(1).pmx"
for k in 2 3 4 5 6 7 8 9; do cp m-new.pmx "m-new($k).pmx"; done
run m.pmx
expect_file "m-new(10).pmx"
finish

begin "all hundred output names taken: nothing written, failure status"
model example m.pmx
: > m-new.pmx
for k in $(seq 1 99); do : > "m-new($k).pmx"; done
run m.pmx
expect_line "New PMX save failed. "
expect_line "Error code 1. "
expect_status 1
[ "$(find . -name 'm-new*' -size +0 | wc -l)" = 0 ] || fail "a -new file was written"
finish

begin "a model without the .PMX extension is read when the question is suppressed"
model example a.bin
run -ND2 a.bin
expect_status 0
expect_file a-new.bin
expect_line "Save OK. "
finish

begin "the extension check takes .PmX and .pmx2 as PMX files"
model example a.PmX
model example b.pmx2
run a.PmX b.pmx2
expect_status 0
expect_file a-new.PmX
expect_file b-new.pmx2
finish

begin "modsetup.ini beside the program applies before the models"
model example a.bin
printf -- '-ND2\n' > modsetup.ini
run a.bin
expect_line " -- modsetup.ini read-in. "
expect_status 0
expect_file a-new.bin
finish

begin "a missing model has no name on disk: the extension question is put, and declined"
run missing.pmx
expect_line " -- could not open in UTF-16. (***) "
expect_line "The conversion for this file was skipped (or aborted). "
expect_status 16
finish

begin "a path longer than 259 characters is refused with a clear message"
long=$(printf 'd%.0s' $(seq 1 130))
mkdir -p "$long/$long"
model example "$long/$long/m.pmx"
run -ND2 "$long/$long/m.pmx"
expect_line "Path too long (259 characters at most): $long/$long/m.pmx "
expect_status 255
expect_no_file "$long/$long/m-new.pmx"
finish

if [ "$WINDOWS" = 0 ]; then
  begin "started through PATH, the program still finds its own folder's setup file"
  mkdir sub
  model example sub/a.bin
  printf -- '-ND2\n' > modsetup.ini
  raw=$(cd sub && PATH="$CASE_DIR:$PATH" setsid "$PROG_NAME" a.bin </dev/null 2>/dev/null; echo "status=$?")
  STATUS=${raw##*status=}
  OUT=${raw%status=*}
  expect_line " -- modsetup.ini read-in. "
  expect_status 0
  expect_file sub/a-new.bin
  finish
fi
