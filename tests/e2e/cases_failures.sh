# cases_failures.sh - saves and reads that fail: a clear message, the input unchanged,
# no output file that looks like a good model, and a failure exit status.

# Runs the program without root's power to read and write anything; an ordinary user
# has none to give up.
AS_NOBODY=""
[ "$(id -u)" = 0 ] && AS_NOBODY="setpriv --reuid=65534 --regid=65534 --clear-groups"

if [ "$WINDOWS" = 0 ]; then
  begin "the output folder is read-only"
  mkdir ro
  model example ro/m.pmx
  cp ro/m.pmx m.orig
  chmod 755 "$CASE_DIR"
  chmod 644 ro/m.pmx
  chmod 555 ro
  PREFIX_SAVED=$PREFIX
  PREFIX=$AS_NOBODY
  run ro/m.pmx
  PREFIX=$PREFIX_SAVED
  chmod 755 ro
  expect_line "Cannot open WR file : ro/m-new.pmx.part"
  expect_line "New PMX save failed. "
  expect_status 1
  expect_no_file ro/m-new.pmx
  expect_same ro/m.pmx m.orig
  finish

  begin "the disk fills up during the save"
  model bones5000 m.pmx
  cp m.pmx m.orig
  size_kb=$(( $(stat -c %s m.pmx) / 1024 / 2 ))
  raw=$( (ulimit -f "$size_kb"; trap '' XFSZ; exec "./$PROG_NAME" m.pmx </dev/null 2>/dev/null); echo "status=$?")
  STATUS=${raw##*status=}
  OUT=${raw%status=*}
  printf '%s\n' "$OUT" | grep -qxE 'File (buffered )?writing error\.\(or Disk full\)' || fail "no disk-full message"
  expect_line "New PMX save failed. "
  expect_status 1
  expect_no_file m-new.pmx
  expect_same m.pmx m.orig
  finish

  begin "the input is a folder without models"
  mkdir folder.pmx
  run -ND2 folder.pmx
  expect_line "No PMX/PMD model in folder folder.pmx (subfolders included). "
  expect_no_line " -- could not open in UTF-16. (***) "
  expect_status 0
  expect_no_file folder-new.pmx
  finish

  begin "the input is a device"
  run -ND2 /dev/null
  expect_line "Error code 2. "
  expect_status 2
  finish

  begin "the input cannot be read"
  model example m.pmx
  chmod 755 "$CASE_DIR"
  chmod 000 m.pmx
  PREFIX_SAVED=$PREFIX
  PREFIX=$AS_NOBODY
  run m.pmx
  PREFIX=$PREFIX_SAVED
  expect_line " -- could not open in UTF-16. (***) "
  expect_status 255
  expect_no_file m-new.pmx
  finish

  if [ -f "$TOOLS/nwinject.so" ]; then
    begin "the input is truncated between the reading and the writing pass"
    model example m.pmx
    NW_INJECT_TRIGGER=m-new NW_INJECT_PATH=m.pmx NW_INJECT_SIZE=1000 \
      LD_PRELOAD="$TOOLS/nwinject.so" run m.pmx
    expect_line "New PMX save failed. "
    expect_status 1
    expect_no_file m-new.pmx
    [ "$(stat -c %s m.pmx)" = 1000 ] || fail "the injection did not happen"
    finish

    begin "a PMD source that changes between the reading and the writing pass is not saved"
    pmdmodel pmd m.pmd
    cp m.pmd m.orig
    cp m.pmd other.pmd
    printf 'X' | dd of=other.pmd bs=1 seek=7 conv=notrunc 2>/dev/null  # its Japanese name
    NW_INJECT_TRIGGER=m-new NW_INJECT_PATH=m.pmd NW_INJECT_SIZE=move:other.pmd \
      LD_PRELOAD="$TOOLS/nwinject.so" run m.pmd
    expect_line "Err: the source file changed after it was read. "
    expect_line "New PMX save failed. "
    expect_status 1
    expect_no_file m-new.pmd
    [ -z "$(ls | grep 'part$')" ] || fail "a temporary file was left"
    # Cut exactly where its English section starts.
    cp m.orig m.pmd
    NW_INJECT_TRIGGER=m-new NW_INJECT_PATH=m.pmd NW_INJECT_SIZE=$ENGLISH_AT \
      LD_PRELOAD="$TOOLS/nwinject.so" run m.pmd
    expect_line "Err: the source file changed after it was read. "
    expect_status 1
    expect_no_file m-new.pmd
    [ "$(stat -c %s m.pmd)" = "$ENGLISH_AT" ] || fail "the injection did not happen"
    finish

    begin "the input is removed between the reading and the writing pass"
    model example m.pmx
    NW_INJECT_TRIGGER=m-new NW_INJECT_PATH=m.pmx NW_INJECT_SIZE=delete \
      LD_PRELOAD="$TOOLS/nwinject.so" run m.pmx
    expect_line "Cannot open RD file : m.pmx"
    expect_line "New PMX save failed. "
    expect_status 1
    expect_no_file m-new.pmx
    finish
  fi
fi
