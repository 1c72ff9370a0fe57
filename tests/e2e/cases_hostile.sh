# cases_hostile.sh - what a planted file, a second run, a signal or an odd name can do
# to a save: never write into anything that exists, never lose a model, tell the truth.

# expected PATH ARGS...: the copy a run with ARGS makes of the model at PATH in a clean
# folder, as ref-STEM-new (the yardstick of a run that was disturbed).
expected() {
  local m
  m=$(basename "$1")
  mkdir -p ref && cp "$1" "ref/$m" && shift && (cd ref && $PREFIX "../$PROG_NAME" "$@" "$m" </dev/null >/dev/null 2>&1)
  mv "ref/${m%.pmx}-new.pmx" "ref-${m%.pmx}-new" && rm -rf ref
}

# saved_as: the file the last run said it saved the model to.
saved_as() {
  printf '%s\n' "$1" | sed -n -e 's/^Writing to  : \(.*\) $/\1/p' \
    -e 's/^The name was taken meanwhile; writing to: \(.*\) $/\1/p' | tail -1
}

begin "a planted .part link to a file outside the folder is left alone"
mkdir pk
model example pk/m.pmx
expected pk/m.pmx -ND2
printf 'notes\n' > notes.txt
ln -s ../notes.txt pk/m-new.pmx.part
run -ND2 pk/m.pmx
expect_status 0
[ "$(cat notes.txt)" = notes ] || fail "the file behind the link was written"
[ -L pk/m-new.pmx.part ] || fail "the link was replaced"
[ -f pk/m-new.pmx ] && [ ! -L pk/m-new.pmx ] || fail "the output is not a plain file"
expect_same pk/m-new.pmx ref-m-new
expect_no_file pk/m-new.pmx.1.part
finish

begin "a plain leftover .part of a run that was cut off is replaced"
model example m.pmx
expected m.pmx -ND2
printf 'half a model' > m-new.pmx.part
run -ND2 m.pmx
expect_status 0
expect_same m-new.pmx ref-m-new
expect_no_file m-new.pmx.part
expect_no_file m-new.pmx.1.part
finish

if [ "$WINDOWS" = 0 ]; then
  begin "a .part that is a link or a hard link to the input never truncates it"
  model example m.pmx
  cp m.pmx m.orig
  expected m.pmx -ND2
  ln -s m.pmx m-new.pmx.part
  run -ND2 m.pmx
  expect_status 0
  expect_same m.pmx m.orig
  expect_same m-new.pmx ref-m-new
  rm m-new.pmx m-new.pmx.part
  ln m.pmx m-new.pmx.part
  run -ND2 m.pmx
  expect_status 0
  expect_same m.pmx m.orig
  expect_same m-new.pmx.part m.orig
  expect_same m-new.pmx ref-m-new
  finish

  begin "a FIFO or a folder named like the .part does not stop the save"
  model example m.pmx
  expected m.pmx -ND2
  mkfifo m-new.pmx.part
  mkdir m-new.pmx.1.part
  raw=$(timeout 20 setsid "./$PROG_NAME" -ND2 m.pmx </dev/null 2>/dev/null; echo "status=$?")
  STATUS=${raw##*status=}
  expect_status 0
  expect_same m-new.pmx ref-m-new
  [ -p m-new.pmx.part ] && [ -d m-new.pmx.1.part ] || fail "the pipe or the folder was touched"
  expect_no_file m-new.pmx.2.part
  finish

  begin "-new.pmx taken by a dangling link or by a folder: the next free name is used"
  model example m.pmx
  ln -s nowhere m-new.pmx
  mkdir "m-new(1).pmx"
  run -ND2 m.pmx
  expect_status 0
  expect_line "Writing to  : m-new(2).pmx "
  expect_file "m-new(2).pmx"
  [ -L m-new.pmx ] && [ ! -e nowhere ] || fail "the dangling link was followed"
  finish

  begin "a stem of 245 bytes: the temporary name fits wherever the output name fits"
  stem=$(printf 'a%.0s' $(seq 1 245))
  model example "$stem.pmx"
  run -ND2 "$stem.pmx"
  expect_status 0
  expect_file "$stem-new.pmx"
  [ -z "$(ls | grep 'part$')" ] || fail "a temporary file was left"
  finish

  begin "a long output name whose shortened temporary name is taken: the next one is used"
  stem=$(printf 'a%.0s' $(seq 1 245))
  model example "$stem.pmx"
  # "<stem>-new.pmx.part" is too long for the file system; its shortened form is taken.
  mkdir "$stem-ne.part"
  run -ND2 "$stem.pmx"
  expect_status 0
  expect_file "$stem-new.pmx"
  [ -d "$stem-ne.part" ] && [ -z "$(ls -A "$stem-ne.part")" ] || fail "the folder was touched"
  [ "$(ls | grep -c 'part$')" = 1 ] || fail "a temporary file was left"
  finish

  begin "a file-size limit fails the save without a signal"
  model bones5000 m.pmx
  raw=$( (ulimit -f 100; exec "./$PROG_NAME" -ND2 m.pmx </dev/null 2>/dev/null); echo "status=$?")
  STATUS=${raw##*status=}
  OUT=${raw%status=*}
  printf '%s\n' "$OUT" | grep -qxE 'File (buffered )?writing error\.\(or Disk full\)' || fail "no disk-full message"
  expect_line "New PMX save failed. "
  expect_status 1
  expect_no_file m-new.pmx
  [ -z "$(ls | grep 'part$')" ] || fail "a temporary file was left"
  finish

  begin "a console that goes away does not stop the saves"
  model example a.pmx
  model example b.pmx
  setsid "./$PROG_NAME" -ND2 a.pmx b.pmx </dev/null 2>/dev/null | head -1 >/dev/null
  STATUS=${PIPESTATUS[0]}
  expect_status 0
  expect_file a-new.pmx
  expect_file b-new.pmx
  [ -z "$(ls | grep 'part$')" ] || fail "a temporary file was left"
  finish

  begin "a name that is not UTF-8 is refused, never read as its U+FFFD twin"
  model example $'bad\xff.pmx'
  model example 'bad�.pmx'
  mkdir pk
  model example $'pk/a\xfe.pmx'
  model example 'pk/a�.pmx'
  model example $'pk/b\xff.pmx'
  mkdir '?' && model example '?/x.pmx'  # what a '?' stand-in would name
  run -ND2 $'bad\xff.pmx' pk
  expect_line 'The name is not valid UTF-8, so no path can name it: bad\xFF.pmx '
  expect_line 'Name is not valid UTF-8, left out: pk/a\xFE.pmx '
  expect_line 'Name is not valid UTF-8, left out: pk/b\xFF.pmx '
  expect_no_file 'bad�-new.pmx'
  expect_no_file '?/x-new.pmx'
  printf '%s\n' "$OUT" | grep -q '^PMX/PMD models in folder bad' && fail "the bad name was taken for a folder"
  expect_file 'pk/a�-new.pmx'
  expect_line " Failed: 2 "
  expect_status 255
  finish

  begin "every model of a folder of 600 is processed"
  mkdir big
  model filled big/m000.pmx
  for i in $(seq 1 599); do cp big/m000.pmx "big/m$(printf '%03d' "$i").pmx"; done
  model example after.pmx
  run big after.pmx
  expect_no_line "Too many command line parameters."
  [ "$(printf '%s\n' "$OUT" | grep -c '^Reading from: big/')" = 600 ] || fail "not 600 models read"
  expect_line "PMX/PMD models in folder big: 600 "
  expect_line " Models from folders: 600 "
  expect_file after-new.pmx
  expect_status 0
  finish

  begin "a model named three ways is processed once"
  mkdir pk
  model example pk/a.pmx
  run pk pk/a.pmx ./pk
  expect_count 1 "Save OK. "
  expect_line "Already processed in this run: pk/a.pmx "
  expect_line "Already processed in this run: ./pk/a.pmx "
  expect_file pk/a-new.pmx
  expect_no_file "pk/a-new(1).pmx"
  expect_status 0
  finish

  if [ "$(id -u)" != 0 ] || command -v setpriv >/dev/null; then
    begin "an unreadable subfolder is a failure, never 'no model'"
    mkdir -p pk/sub
    model example pk/sub/m.pmx
    chmod 755 "$CASE_DIR" pk
    chmod 000 pk/sub
    PREFIX_SAVED=$PREFIX
    [ "$(id -u)" = 0 ] && PREFIX="setpriv --reuid=65534 --regid=65534 --clear-groups"
    run pk
    PREFIX=$PREFIX_SAVED
    chmod 755 pk/sub
    expect_line "Folder could not be read: pk/sub/ "
    expect_no_line "No PMX/PMD model in folder pk (subfolders included). "
    expect_line " Failed: 1 "
    expect_status 255
    finish
  else
    echo "skip an unreadable subfolder (root without setpriv)"
  fi
fi

# Two runs on one model at once, as a double drop starts them: each copy is one run's
# model, and each run that says it saved names the file that holds its model.
if [ "$WINDOWS" = 0 ] && [ -x "$TOOLS/../bench/nwbigmodel" ]; then
  begin "two runs at once on a large model keep their copies apart"
  "$TOOLS/../bench/nwbigmodel" 700000 utf16 m.pmx >/dev/null
  expected m.pmx -ND2
  mv ref-m-new ref-plain
  expected m.pmx -ND2 -F
  mv ref-m-new ref-forced
  ( setsid "./$PROG_NAME" -ND2 m.pmx </dev/null >one.txt 2>&1; echo $? > one.status ) &
  sleep 0.01
  ( setsid "./$PROG_NAME" -ND2 -F m.pmx </dev/null >two.txt 2>&1; echo $? > two.status ) &
  wait
  [ "$(cat one.status)" = 0 ] && [ "$(cat two.status)" = 0 ] || fail "a run failed"
  one=$(saved_as "$(cat one.txt)")
  two=$(saved_as "$(cat two.txt)")
  [ -n "$one" ] && [ -n "$two" ] && [ "$one" != "$two" ] || fail "the runs name '$one' and '$two'"
  expect_same "$one" ref-plain
  expect_same "$two" ref-forced
  [ -z "$(ls | grep 'part$')" ] || fail "a temporary file was left"
  finish
elif [ "$WINDOWS" = 1 ]; then
  begin "two runs at once keep their copies apart"
  model bones5000 m.pmx
  expected m.pmx -ND2
  mv ref-m-new ref-plain
  expected m.pmx -ND2 -F
  mv ref-m-new ref-forced
  ( setsid $PREFIX "./$PROG_NAME" -ND2 m.pmx </dev/null 2>/dev/null | tr -d '\r' >one.txt ) &
  ( setsid $PREFIX "./$PROG_NAME" -ND2 -F m.pmx </dev/null 2>/dev/null | tr -d '\r' >two.txt ) &
  wait
  one=$(saved_as "$(cat one.txt)")
  two=$(saved_as "$(cat two.txt)")
  [ -n "$one" ] && [ -n "$two" ] && [ "$one" != "$two" ] || fail "the runs name '$one' and '$two'"
  expect_same "$one" ref-plain
  expect_same "$two" ref-forced
  [ -z "$(ls | grep 'part$')" ] || fail "a temporary file was left"
  finish
fi
