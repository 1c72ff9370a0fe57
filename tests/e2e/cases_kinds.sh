# cases_kinds.sh - the English names of the model, materials, rigid bodies, joints and
# soft bodies, filled with the shipped settings or the option -O. The other cases run
# without a setup file: they see the plain engine.

DATA_DIR="$HERE/../../data"
KINDS_LINE="Number of vacant English model/material/rigid-body/joint/soft-body names"

# The English names written for the other kinds, one a line.
kind_names() {
  printf '%s\n' "$OUT" | grep -E '^\((model|material [0-9]+|rigid body [0-9]+|joint [0-9]+|soft body [0-9]+)\) ' \
    | grep -F ' => ' | sed 's/.* => \(.*\) $/\1/'
}

begin "the shipped settings fill every kind with ASCII names and keep the rest"
cp "$DATA_DIR/modsetup.ini" "$DATA_DIR/alias.ini" "$DATA_DIR/namedict.txt" .
model kinds k.pmx
model kinds8 k8.pmx
cp k.pmx k.orig
run -ND2 k.pmx k8.pmx
expect_status 0
expect_line "Fill.everyKind = ON "
expect_count 2 "$KINDS_LINE: 8 "
expect_count 2 "2 Soft-bodies."
expect_file k-new.pmx
expect_file k8-new.pmx
expect_same k.pmx k.orig
[ "$(kind_names | wc -l)" = 16 ] || fail "expected 16 filled names, saw $(kind_names | wc -l)"
kind_names | LC_ALL=C grep -qv '^[!-~][ -~]*$' && fail "a filled name is empty or not printable ASCII"
# The bytes nobody knows after the soft bodies are still the last ones.
cmp -s <(tail -c 2 k.pmx) <(tail -c 2 k-new.pmx) || fail "trailing bytes changed"
run -ND2 k-new.pmx k8-new.pmx
expect_count 2 "$KINDS_LINE: 0 "
expect_count 2 "Number of vacant English bone/morph/frame names: 0 "
expect_no_file k-new-new.pmx
expect_no_file k8-new-new.pmx
finish

begin "a model whose only vacant names are materials: saved with -O, not without"
model materials m.pmx
run -ND2 m.pmx
expect_status 0
expect_line "Number of vacant English bone/morph/frame names: 0 "
printf '%s\n' "$OUT" | grep -qF "$KINDS_LINE" && fail "the other kinds were counted without -O"
expect_no_file m-new.pmx
run -ND2 -O m.pmx
expect_status 0
expect_line "Fill.everyKind = ON "
expect_line "$KINDS_LINE: 2 "
expect_line "Save OK. "
expect_file m-new.pmx
[ "$(kind_names | wc -l)" = 2 ] || fail "expected the 2 material names filled"
finish

begin "-O0 on the command line turns the shipped setting off"
cp "$DATA_DIR/modsetup.ini" .
model materials m.pmx
run -ND2 -O0 m.pmx
expect_status 0
expect_line "Fill.everyKind = ON "
expect_line "Fill.everyKind = OFF "
expect_no_file m-new.pmx
finish

begin "an English name Shift-JIS cannot hold stays as the author wrote it"
cp "$DATA_DIR/modsetup.ini" "$DATA_DIR/alias.ini" "$DATA_DIR/namedict.txt" .
"$TOOLS/nwmkmodel" author a.pmx >/dev/null || fail "nwmkmodel author failed"
cp a.pmx a.orig
run a.pmx
expect_status 0
expect_line "$KINDS_LINE: 1 "
expect_same a-new.pmx a.pmx.want
expect_same a.pmx a.orig
finish

begin "each count and each box names the kinds it counts"
model materials m.pmx
run -ND2 -O m.pmx
expect_line "Number of vacant English bone/morph/frame names: 0 "
expect_line "$KINDS_LINE: 2 "
expect_line " Added English model/material/rigid-body/joint/soft-body names, "
expect_no_line " Added English bone/morph/frame names, "
expect_status 0
# A PMD's own name is one of the other kinds.
pmdmodel pmdnoname p.pmd
run -ND2 -O p.pmd
expect_line "Number of vacant English bone/morph/frame names: 8 "
expect_line "$KINDS_LINE: 1 "
expect_line " Added English bone/morph/frame names, "
expect_line " Added English model/material/rigid-body/joint/soft-body names, "
expect_status 0
finish
