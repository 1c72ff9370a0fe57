# cases_integrity.sh - never the wrong file, never a partial model: names that the ANSI
# code page only approximates, saves cut off or raced, the last output name, numbers.

# The byte that tells a model's text encoding (0 UTF-16, 1 UTF-8).
encoding() { od -An -tu1 -j9 -N1 "$1" | tr -d ' '; }

begin "the 100th output name is taken when the 99 before it exist"
model example m.pmx
: > m-new.pmx
for k in $(seq 1 98); do : > "m-new($k).pmx"; done
run m.pmx
expect_status 0
[ -s "m-new(99).pmx" ] || fail "m-new(99).pmx not written"
finish

begin "numbers clamp at 32 bits on every build"
model filled m.pmx
run -D2147483648 -M-2147483649 m.pmx
expect_line "Info.displayLevel = -1. "
expect_line "Conv.mode = 0. "
expect_status 0
finish

if [ "$WINDOWS" = 0 ]; then
  begin "a name with a wave dash is read and saved through its UTF-16 name"
  model example 'ミク〜改.pmx'
  cp 'ミク〜改.pmx' orig
  run 'ミク〜改.pmx'
  expect_status 0
  expect_no_line " Do you like to continue? "
  expect_file 'ミク〜改-new.pmx'
  expect_same 'ミク〜改.pmx' orig
  finish

  begin "of two look-alike names, the one named is read"
  model example 'd−.pmx'   # U+2212 MINUS SIGN
  model utf8 'd－.pmx'     # U+FF0D FULLWIDTH HYPHEN-MINUS, code page 932's 0x817C
  run -ND2 'd−.pmx'
  expect_status 0
  expect_file 'd−-new.pmx'
  expect_no_file 'd－-new.pmx'
  [ "$(encoding 'd−-new.pmx')" = 0 ] || fail "the output is not a copy of d−.pmx"
  finish

  begin "the first of LC_ALL, LC_MESSAGES, LANG that is set decides the language"
  model filled m.pmx
  { LC_ALL=en_US.UTF-8 LANG=ja_JP.UTF-8 run m.pmx; } 2>/dev/null  # no such locale here: quiet
  console_body | grep -qx ' on SYSTEM (English mode) ' || fail "not in English mode"
  finish

  if [ -f "$TOOLS/nwinject.so" ]; then
    begin "a save killed midway leaves no partial model; the next run saves cleanly"
    model bones5000 m.pmx
    cp m.pmx m.orig
    NW_INJECT_KILL=300000 LD_PRELOAD="$TOOLS/nwinject.so" run m.pmx
    expect_status 137
    expect_no_file m-new.pmx
    [ -s m-new.pmx.part ] || fail "the kill came before the save began"
    run m.pmx
    expect_status 0
    expect_file m-new.pmx
    expect_no_file m-new.pmx.part
    expect_no_file "m-new(1).pmx"
    expect_same m.pmx m.orig
    finish

    begin "a file that takes the output name during the save is never replaced: the next name is"
    model example m.pmx
    NW_INJECT_TRIGGER=m-new.pmx.part NW_INJECT_PATH=m-new.pmx NW_INJECT_SIZE=create \
      LD_PRELOAD="$TOOLS/nwinject.so" run m.pmx
    expect_line "The name was taken meanwhile; writing to: m-new(1).pmx "
    expect_line "Save OK. "
    expect_status 0
    [ "$(cat m-new.pmx)" = taken ] || fail "the other file was replaced"
    expect_file "m-new(1).pmx"
    expect_no_file m-new.pmx.part
    finish
  fi
fi

# Wine takes its ANSI code page from the locale: 932 under a Japanese one.
if [ "$WINDOWS" = 1 ] && [ -f /usr/share/i18n/locales/ja_JP ]; then
  begin "under code page 932, a name with a wave dash is saved through its UTF-16 name"
  mkdir loc && localedef -i ja_JP -f UTF-8 loc/ja_JP.UTF-8 2>/dev/null
  model example 'ミク〜改.pmx'
  LOCPATH=$CASE_DIR/loc LC_ALL= LANG=ja_JP.UTF-8 run 'ミク〜改.pmx'
  expect_status 0
  # The ANSI form, in code page 932, with '?' for the wave dash.
  printf '%s\n' "$OUT" | iconv -f cp932 -t utf-8 | grep -qxF 'Cannot open RD file : ミク?改.pmx' \
    || fail "the ANSI form is not the exact one"
  expect_file 'ミク〜改-new.pmx'
  finish
fi
