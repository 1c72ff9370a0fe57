# cases_pmd.sh - PMD models: told by their first bytes, saved as "-new.pmd" with only
# the English section changed or added, broken ones never saved, mixed with PMX in a
# folder.

begin "a PMD model gets a -new.pmd copy; only its English section differs"
pmdmodel pmd m.pmd
cp m.pmd m.orig
run m.pmd
expect_status 0
expect_line "PMD 1.0: correctly read-in: OK. "
expect_line "Number of vacant English bone/morph/frame names: 8 "
expect_line "Save OK. "
expect_line " m-new.pmd "
expect_file m-new.pmd
expect_same m.pmd m.orig
cmp -s -n "$ENGLISH_AT" m.pmd m-new.pmd || fail "bytes before the English section changed"
[ "$(stat -c %s m.pmd)" = "$(stat -c %s m-new.pmd)" ] || fail "the copy's size differs"
expect_differ m.pmd m-new.pmd
# Nothing is left to fill in the copy: it is reported correct and not copied again.
run m-new.pmd
expect_line "Number of vacant English bone/morph/frame names: 0 "
expect_no_file m-new-new.pmd
expect_status 0
finish

begin "a PMD's vacant English model name is filled with -O only"
pmdmodel pmdnoname m.pmd
run -ND2 m.pmd
expect_line "Number of vacant English bone/morph/frame names: 8 "
rm -f m-new.pmd
run -ND2 -O m.pmd
expect_line "Number of vacant English bone/morph/frame names: 8 "
expect_line "Number of vacant English model/material/rigid-body/joint/soft-body names: 1 "
expect_line "Save OK. "
expect_status 0
finish

begin "a broken PMD is reported and never saved, with the statuses of PMX"
pmdmodel pmdtruncated t.pmd
run t.pmd
expect_line "Err: file ended inside morph 1. "
expect_no_file t-new.pmd
expect_no_file t-new.pmd.part
expect_status 3
printf 'Pmd\001\002' > bad.pmd
run bad.pmd
expect_line "Err: file ended inside the header. "
expect_status 3
printf 'Pxd' > notpmd.pmd
run notpmd.pmd
expect_no_file notpmd-new.pmd
expect_status 2
finish

begin "the format comes from the first bytes: a PMD named .pmx, and another name after the question"
pmdmodel pmd a.pmx
model example b.PMD
pmdmodel pmd c.dat
run a.pmx b.PMD
expect_line "PMD 1.0: correctly read-in: OK. "
expect_line "PMX 2.0: correctly read-in: OK. "
expect_file a-new.pmx
expect_file b-new.PMD
expect_status 0
run -ND2 c.dat
expect_file c-new.dat
expect_status 0
finish

begin "a folder with PMX and PMD models takes both, earlier outputs left out; a PMD gets its English section"
mkdir -p pack/sub
model example pack/a.pmx
pmdmodel pmd pack/b.pmd
pmdmodel pmdnoenglish pack/sub/C.PMD
cp pack/b.pmd pack/b-new.pmd
printf 'x' > pack/notes.txt
run pack
expect_line "PMX/PMD models in folder pack: 3 "
expect_file pack/a-new.pmx
expect_file "pack/b-new(1).pmd"
expect_file pack/sub/C-new.PMD
# The flag, model name, comment, 7 bones, 3 morphs after the base morph, 3 frames.
[ "$(stat -c %s pack/sub/C-new.PMD)" = $(($(stat -c %s pack/sub/C.PMD) + 1 + 20 + 256 + 20 * 10 + 50 * 3)) ] \
  || fail "the section added has another size"
cmp -s -n "$ENGLISH_AT" pack/sub/C.PMD pack/sub/C-new.PMD || fail "bytes before the section changed"
expect_no_file pack/b-new-new.pmd
expect_line " Saved with English names added: 3 "
expect_status 0
finish
