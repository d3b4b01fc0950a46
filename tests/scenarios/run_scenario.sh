#!/usr/bin/env bash
# Runs one scenario: NAME.uis in a fresh folder prepared by NAME.setup (if any), compares the
# transcript with NAME.out, then runs NAME.check (if any) in the folder to look at the files.
set -uo pipefail
UISCRIPT=$1
script=$2
uiscript=$UISCRIPT
base=${script%.uis}
lib=$(cd "$(dirname "$0")" && pwd)/lib.sh
work=$(mktemp -d)/store  # a folder of a fixed name: reports name it
mkdir -p "$work"
trap 'rm -rf "$(dirname "$work")"' EXIT
cd "$work" || exit 1
export SCENARIO_LIB=$lib
# A build for another system runs its programs through RUN_WITH (wine, for Windows): the set-up,
# the checks and the transcript's driver call them through small wrappers of the same names.
if [[ -n ${RUN_WITH:-} ]]; then
  bin=$(dirname "$work")/bin
  mkdir -p "$bin"
  for tool in uiscript holdlock; do
    var=${tool^^}
    [[ -n ${!var:-} ]] || continue
    printf '#!/usr/bin/env bash\nexec %s %q "$@"\n' "$RUN_WITH" "${!var}" > "$bin/$tool"
    chmod +x "$bin/$tool"
    export "$var=$bin/$tool"
  done
  uiscript=$bin/uiscript
fi
export UISCRIPT=$uiscript
if [[ -f $base.setup ]]; then
  bash -euo pipefail -c "source '$lib'; source '$base.setup'" || { echo "setup failed"; exit 1; }
fi
"$uiscript" "$script" > transcript.txt 2> stderr.txt
code=$?
status=0
expected=$base.out
# On another system the lines listed in windows-differences.txt read as listed there.
if [[ -n ${RUN_WITH:-} ]]; then
  scenarios=$(cd "$(dirname "$0")" && pwd)
  name=${base#"$scenarios"/}
  expected=$(dirname "$work")/expected.out
  cp "$base.out" "$expected"
  trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; printf '%s' "${s%"${s##*[![:space:]]}"}"; }
  while IFS='|' read -r who from to _; do
    [[ $(trim "$who") == "$name" ]] || continue
    FROM=$(trim "$from") TO=$(trim "$to") perl -pi -e 's/\Q$ENV{FROM}\E/$ENV{TO}/g' "$expected"
  done < <(grep -v '^#' "$scenarios/windows-differences.txt")
fi
if ! diff -u "$expected" transcript.txt; then
  echo "transcript differs from $base.out"
  status=1
fi
expected_code=0
[[ -f $base.code ]] && expected_code=$(cat "$base.code")
if [[ $code -ne $expected_code ]]; then
  echo "uiscript exited $code, expected $expected_code"; cat stderr.txt
  status=1
fi
if [[ -f $base.check ]]; then
  bash -euo pipefail -c "source '$lib'; source '$base.check'" || { echo "file check failed"; status=1; }
fi
exit $status
