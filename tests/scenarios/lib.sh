# Helpers for scenario set-up and checks: exact bytes, written and compared.

# Text padded with blanks (or cut) to a width.
pad() { printf '%-*.*s' "$2" "$2" "$1"; }
# N NUL bytes.
nuls() { head -c "$1" /dev/zero; }
# Lines ended by CR LF.
crlf() { local l; for l in "$@"; do printf '%s\r\n' "$l"; done; }
# A main program that can be found in the folder (nothing runs under the script).
main_program() { printf '#!/bin/sh\n' > velmaron.exe; chmod +x velmaron.exe; }
# The standard hand-over of customer 12.
handover12() { crlf "Ann Smith" "12 Main St" "\"Anytown, ST 12345\"" "12" > apptrans.dat; }

# Fails unless the file holds exactly these bytes (given as printf format).
expect_bytes() {
  local file=$1 fmt=$2
  if ! cmp -s "$file" <(printf "$fmt"); then
    echo "bytes of $file differ:"; od -c "$file" | head -20; echo "expected:"; printf "$fmt" | od -c | head -20
    return 1
  fi
}
expect_file() { [[ -e $1 ]] || { echo "missing $1"; return 1; }; }
expect_no_file() { [[ ! -e $1 ]] || { echo "unexpected $1"; return 1; }; }
# Fails unless record N (from 1) of length L in the file equals the bytes on standard input.
expect_record() {
  local file=$1 n=$2 len=$3
  if ! cmp -s <(dd if="$file" bs="$len" skip=$((n - 1)) count=1 2>/dev/null) -; then
    echo "record $n of $file differs:"; dd if="$file" bs="$len" skip=$((n - 1)) count=1 2>/dev/null | od -c | head; return 1
  fi
}
# A 2 x 1 pixel 24-bit bitmap standing in for the store logo.
logo_bmp() {
  printf 'BM\x3e\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00\x08\x00\x00\x00\x13\x0b\x00\x00\x13\x0b\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\xff\xff\xff\x00\x00' > "${1:-anytown1.bmp}"
}
# A store Appraise starts in without complaint: alignment, border, logo, main program.
appraise_store() {
  crlf 48 70 70 70 450 35 1000 40 2600 35 2300 60 50 " " " " " " " " " " " " " " " " " " > align.fa1
  crlf 50 > bordsize.dat
  logo_bmp
  main_program
}
