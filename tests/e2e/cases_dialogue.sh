# cases_dialogue.sh - the extension question, answered by a box that cannot be shown
# (no terminal, or a headless Windows): a refusal.

begin "the question declined for the only file ends the run with status 16"
model example a.bin
cp a.bin a.orig
run a.bin
expect_status 16
if [ "$WINDOWS" = 0 ]; then
  {
    printf '%s\n' "Namewright  V1.06" " on SYSTEM (English mode) "
    printf '%s\n' " -- correctly opened in ANSI or UTF-8. " ""
    printf '%s\n' " Model: " "   a.bin " " does not have extension \".PMX\" in the file name. "
    printf '%s\n' " Do you like to continue? " "The conversion for this file was skipped (or aborted). "
    printf '%s\n' " " "No file was modified. " "" "Error code 16. "
  } > expected.txt
  expect_console expected.txt
else
  expect_line "The conversion for this file was skipped (or aborted). "
  expect_line "No file was modified. "
  expect_line "Error code 16. "
fi
expect_no_file a-new.bin
expect_same a.bin a.orig
finish

begin "the question declined for the first of two files: the second is not touched"
model example a.bin
model example b.pmx
run a.bin b.pmx
expect_status 16
expect_line "The conversion for this file was skipped (or aborted). "
expect_no_line "No file was modified. "
expect_no_file a-new.bin
expect_no_file b-new.pmx
finish

begin "-ND alone still asks"
model example a.bin
run -ND a.bin
expect_status 16
expect_line "Cancel.displaying.dialogue = 1 "
finish
